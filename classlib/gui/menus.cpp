#include "classlib/gui/menus.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "classlib/core/class_builder.h"
#include "classlib/core/filer.h"
#include "classlib/gui/application.h"
#include "classlib/gui/callback_barrier.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/menu_strings.h"
#include "classlib/gui/scoped_win32.h"

DEFINE_ENUM_TYPE(TMenuBreak, "mbNone", "mbBreak", "mbBarBreak")
DEFINE_ENUM_TYPE(TPopupAlignment, "paLeft", "paRight", "paCenter")

TPopupList* PopupList = nullptr;

namespace {

// Command identifiers of all items of the process: WM_COMMAND carries 16
// bits, 0 is no command.
class TCommandPool {
public:
    WORD Allocate() {
        for (unsigned n = 0; n < 0xFFFF; ++n) {
            next_ = next_ == 0xFFFF ? 1 : static_cast<WORD>(next_ + 1);
            if (used_.insert(next_).second) return next_;
        }
        throw EOutOfMemory(LoadStr(SOutOfMemory));
    }
    void Release(WORD command) { used_.erase(command); }

private:
    std::set<WORD> used_;
    WORD next_ = 0;
};

// Every popup list that exists: a menu leaves all of them when it goes.
std::vector<TPopupList*>& LivePopupLists() {
    static std::vector<TPopupList*> lists;
    return lists;
}

TCommandPool& CommandPool() {
    static TCommandPool pool;
    return pool;
}

// The system's menu font.
void TakeMenuFont(TFont& font) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
    const LOGFONTA& lf = metrics.lfMenuFont;
    font.SetName(lf.lfFaceName);
    font.SetCharset(lf.lfCharSet);
    font.SetHeight(lf.lfHeight);
    TFontStyles style;
    if (lf.lfWeight >= FW_BOLD) style.Include(fsBold);
    if (lf.lfItalic) style.Include(fsItalic);
    font.SetStyle(style);
}

}  // namespace

std::string StripHotkey(const std::string& text) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') result += '&';
            else continue;
            ++i;
            continue;
        }
        result += text[i];
    }
    return result;
}

// --- menu item ------------------------------------------------------------------

const TClassInfo& TMenuItem::StaticClass() {
    static const TClassInfo info = DefineClass<TMenuItem>("TMenuItem", &TComponent::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Action);
        PROPERTY(c, Break).Default(mbNone);
        PROPERTY(c, Caption).StoredIf(&TMenuItem::IsCaptionStored);
        PROPERTY(c, Checked).Default(false).StoredIf(&TMenuItem::IsCheckedStored);
        PROPERTY(c, Default).Default(false);
        PROPERTY(c, Enabled).Default(true).StoredIf(&TMenuItem::IsEnabledStored);
        PROPERTY(c, GroupIndex).Default(0);
        PROPERTY(c, HelpContext).Default(0).StoredIf(&TMenuItem::IsHelpContextStored);
        PROPERTY(c, Hint).StoredIf(&TMenuItem::IsHintStored);
        PROPERTY(c, ImageIndex).Default(-1).StoredIf(&TMenuItem::IsImageIndexStored);
        PROPERTY(c, RadioItem).Default(false);
        PROPERTY(c, ShortCut).Default(0).StoredIf(&TMenuItem::IsShortCutStored);
        PROPERTY(c, Visible).Default(true).StoredIf(&TMenuItem::IsVisibleStored);
        EVENT(c, OnClick);
        EVENT(c, OnDrawItem);
        EVENT(c, OnAdvancedDrawItem);
        EVENT(c, OnMeasureItem);
    });
    return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(CommandPool().Allocate()) {}

TMenuItem::~TMenuItem() {
    CommandPool().Release(command_);
}

void TMenuItem::BeforeDestruction() {
    Destroying();
    if (parent_) parent_->Remove(this);
    while (!items_.empty()) {
        TMenuItem* child = items_.back();
        items_.pop_back();
        child->parent_ = nullptr;
        child->Free();
    }
    DestroyHandle();
    action_link_.reset();
    TComponent::BeforeDestruction();
}

void TMenuItem::SetCaption(const std::string& value) {
    if (caption_ == value) return;
    caption_ = value;
    MenuChanged(true);
}

void TMenuItem::SetHint(const std::string& value) {
    hint_ = value;
}

void TMenuItem::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    if (value && radio_item_) ClearRadioGroup();
    MenuChanged(false);
}

void TMenuItem::ClearRadioGroup() {
    if (!parent_) return;
    for (TMenuItem* sibling : parent_->items_)
        if (sibling != this && sibling->radio_item_ && sibling->group_index_ == group_index_ && sibling->checked_) {
            sibling->checked_ = false;
            sibling->MenuChanged(false);
        }
}

void TMenuItem::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    MenuChanged(false);
}

void TMenuItem::SetVisible(bool value) {
    if (visible_ == value) return;
    visible_ = value;
    MenuChanged(true);
}

void TMenuItem::SetDefault(bool value) {
    if (default_ == value) return;
    if (value && parent_)
        for (TMenuItem* sibling : parent_->items_)
            if (sibling != this && sibling->default_) {
                sibling->default_ = false;
                sibling->MenuChanged(false);
            }
    default_ = value;
    MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool value) {
    if (radio_item_ == value) return;
    radio_item_ = value;
    if (value && checked_) ClearRadioGroup();
    MenuChanged(false);
}

void TMenuItem::SetGroupIndex(uint8_t value) {
    if (group_index_ == value) return;
    group_index_ = value;
    if (radio_item_ && checked_) ClearRadioGroup();
}

void TMenuItem::SetBreak(TMenuBreak value) {
    if (break_ == value) return;
    break_ = value;
    MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut value) {
    if (short_cut_ == value) return;
    short_cut_ = value;
    MenuChanged(true);
}

void TMenuItem::SetImageIndex(int32_t value) {
    if (image_index_ == value) return;
    image_index_ = value;
    MenuChanged(true);
}

// --- actions of items

TBasicAction* TMenuItem::Action() const {
    return action_link_ ? action_link_->Action() : nullptr;
}

void TMenuItem::SetAction(TBasicAction* value) {
    if (!value) {
        action_link_.reset();
        return;
    }
    if (!action_link_)
        action_link_.reset(static_cast<TMenuActionLink*>(GetActionLinkClass().CreateInstance(this)));
    action_link_->SetAction(value);
    action_link_->OnChange = [this](TObject* sender) { DoActionChange(sender); };
    ActionChange(value, value->ComponentState().Contains(csLoading));
    value->FreeNotification(this);
}

const TClassInfo& TMenuItem::GetActionLinkClass() const {
    return TMenuActionLink::StaticClass();
}

void TMenuItem::DoActionChange(TObject* sender) {
    if (sender == Action()) ActionChange(sender, false);
}

void TMenuItem::ActionChange(TObject* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) return;
    if (!checkDefaults || caption_.empty()) SetCaption(action->Caption());
    if (!checkDefaults || !checked_) SetChecked(action->Checked());
    if (!checkDefaults || enabled_) SetEnabled(action->Enabled());
    if (!checkDefaults || help_context_ == 0) SetHelpContext(action->HelpContext());
    if (!checkDefaults || hint_.empty()) SetHint(action->Hint());
    if (!checkDefaults || image_index_ == -1) SetImageIndex(action->ImageIndex());
    if (!checkDefaults || short_cut_ == 0) SetShortCut(action->ShortCut());
    if (!checkDefaults || visible_) SetVisible(action->Visible());
}

void TMenuItem::InitiateAction() {
    if (action_link_) action_link_->Update();
}

bool TMenuItem::IsCaptionStored() const { return !action_link_ || !action_link_->IsCaptionLinked(); }
bool TMenuItem::IsHintStored() const { return !action_link_ || !action_link_->IsHintLinked(); }
bool TMenuItem::IsCheckedStored() const { return !action_link_ || !action_link_->IsCheckedLinked(); }
bool TMenuItem::IsEnabledStored() const { return !action_link_ || !action_link_->IsEnabledLinked(); }
bool TMenuItem::IsVisibleStored() const { return !action_link_ || !action_link_->IsVisibleLinked(); }
bool TMenuItem::IsShortCutStored() const { return !action_link_ || !action_link_->IsShortCutLinked(); }
bool TMenuItem::IsHelpContextStored() const { return !action_link_ || !action_link_->IsHelpContextLinked(); }
bool TMenuItem::IsImageIndexStored() const { return !action_link_ || !action_link_->IsImageIndexLinked(); }

void TMenuItem::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == Action()) SetAction(nullptr);
}

void TMenuItem::Click() {
    if (!enabled_) return;
    if (OnClick) OnClick(this);
    else if (action_link_ && !ComponentState().Contains(csDesigning)) action_link_->Execute(this);
}

// --- the tree

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError(MenuStr(SMenuIndexError));
    return items_[static_cast<size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TMenuItem::MenuIndex() const {
    return parent_ ? parent_->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(int value) {
    if (!parent_) return;
    TMenuItem* parent = parent_;
    int from = parent->IndexOf(this);
    value = std::clamp(value, 0, parent->Count() - 1);
    if (value == from) return;
    parent->items_.erase(parent->items_.begin() + from);
    parent->items_.insert(parent->items_.begin() + value, this);
    parent->MenuChanged(true);
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->parent_) throw EInvalidOperation(MenuStr(SMenuReinserted));
    if (index < 0 || index > Count()) throw EListError(MenuStr(SMenuIndexError));
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    MenuChanged(true);
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    items_.erase(items_.begin() + index);
    item->parent_ = nullptr;
    if (!ComponentState().Contains(csDestroying)) MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* item) {
    int index = IndexOf(item);
    if (index < 0) throw EListError(MenuStr(SMenuNotFound));
    Delete(index);
}

void TMenuItem::Clear() {
    while (!items_.empty()) {
        TMenuItem* child = items_.back();
        Delete(Count() - 1);
        child->Free();
    }
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
    auto lower = [](std::string s) {
        for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        return s;
    };
    std::string wanted = lower(StripHotkey(caption));
    for (TMenuItem* item : items_)
        if (lower(StripHotkey(item->caption_)) == wanted) return item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_) item = item->parent_;
    return item->menu_;
}

TMenuItem* TMenuItem::FindItem(uintptr_t value, TFindItemKind kind) {
    switch (kind) {
    case fkCommand:
        if (command_ == value) return this;
        break;
    case fkHandle:
        if (handle_ && reinterpret_cast<uintptr_t>(handle_) == value) return this;
        break;
    case fkShortCut:
        if (short_cut_ && short_cut_ == value && items_.empty()) return this;
        break;
    }
    for (TMenuItem* child : items_)
        if (TMenuItem* found = child->FindItem(value, kind)) return found;
    return nullptr;
}

// --- the system menu

std::string TMenuItem::MenuText() const {
    std::string text = caption_;
    bool onMenuBar = parent_ && !parent_->parent_ && parent_->menu_ && parent_->menu_->IsMenuBar();
    if (items_.empty() && short_cut_ && !onMenuBar) {
        std::string keys = ShortCutToText(short_cut_);
        if (!keys.empty()) text += '\t' + keys;
    }
    return text;
}

HMENU TMenuItem::Handle() {
    if (!handle_) {
        handle_ = menu_ && menu_->IsMenuBar() ? CreateMenu() : CreatePopupMenu();
        if (!handle_) throw EOutOfMemory(LoadStr(SOutOfMemory));
        for (TMenuItem* child : items_) child->AppendTo(handle_);
    }
    return handle_;
}

void TMenuItem::DestroyHandle() {
    if (!handle_) return;
    // Submenus belong to their items: take them out before the menu goes.
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
    for (TMenuItem* child : items_) child->DestroyHandle();
    DestroyMenu(handle_);
    handle_ = nullptr;
}

void TMenuItem::FillEntry(MENUITEMINFOA& info, std::string& text) {
    info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_TYPE | MIIM_SUBMENU | MIIM_DATA;
    TMenu* menu = GetParentMenu();
    if (IsLine()) {
        info.fType = MFT_SEPARATOR;
    } else {
        info.fType = MFT_STRING;
        text = MenuText();
        info.dwTypeData = text.data();
        info.cch = static_cast<UINT>(text.size());
    }
    if (menu && menu->OwnerDraw()) {
        info.fType |= MFT_OWNERDRAW;
        info.fType &= ~static_cast<UINT>(MFT_SEPARATOR);
        info.dwTypeData = nullptr;
        info.cch = 0;
    }
    if (break_ == mbBreak) info.fType |= MFT_MENUBREAK;
    if (break_ == mbBarBreak) info.fType |= MFT_MENUBARBREAK;
    if (radio_item_) info.fType |= MFT_RADIOCHECK;
    if (checked_) info.fState |= MFS_CHECKED;
    if (!enabled_) info.fState |= MFS_GRAYED;
    if (default_) info.fState |= MFS_DEFAULT;
    info.wID = command_;
    info.hSubMenu = items_.empty() ? nullptr : Handle();
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
}

void TMenuItem::AppendTo(HMENU menu) {
    if (!visible_) return;
    MENUITEMINFOA info;
    std::string text;
    FillEntry(info, text);
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

void TMenuItem::UpdateEntry() {
    if (!parent_ || !parent_->handle_ || !visible_) return;
    MENUITEMINFOA info;
    std::string text;
    FillEntry(info, text);
    SetMenuItemInfoA(parent_->handle_, command_, FALSE, &info);
}

void TMenuItem::RebuildHandle() {
    if (!handle_) return;
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
    for (TMenuItem* child : items_) child->AppendTo(handle_);
}

void TMenuItem::MenuChanged(bool rebuild) {
    if (ComponentState().Contains(csDestroying)) return;
    if (rebuild) {
        RebuildHandle();
        if (parent_) parent_->RebuildHandle();
    } else {
        UpdateEntry();
    }
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, rebuild);
}

// --- drawing

void TMenuItem::DoDrawText(TCanvas* canvas, const std::string& text, TRect& rect, bool selected, UINT flags) {
    std::string shown = text;
    if ((flags & DT_CALCRECT) && (shown.empty() || shown == "&")) shown += ' ';
    HDC dc = canvas->Handle();
    int oldMode = SetBkMode(dc, TRANSPARENT);
    if (default_) {
        TFontStyles style = canvas->Font().Style();
        style.Include(fsBold);
        canvas->Font().SetStyle(style);
        dc = canvas->Handle();
    }
    if (!enabled_) {
        if (!selected) {
            OffsetRect(&rect, 1, 1);
            SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
            DrawTextA(dc, shown.c_str(), -1, &rect, flags);
            OffsetRect(&rect, -1, -1);
        }
        TColor shadow = ColorToRGB(clBtnShadow);
        SetTextColor(dc, static_cast<COLORREF>(selected && ColorToRGB(clHighlight) == shadow ? ColorToRGB(clBtnHighlight)
                                                                                             : shadow));
    }
    DrawTextA(dc, shown.c_str(), -1, &rect, flags);
    SetBkMode(dc, oldMode);
}

void TMenuItem::AdvancedDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state, bool topLevel) {
    if (OnAdvancedDrawItem) {
        OnAdvancedDrawItem(this, canvas, rect, state);
        return;
    }
    if (OnDrawItem) {
        OnDrawItem(this, canvas, rect, state.Contains(odSelected));
        return;
    }
    bool selected = state.Contains(odSelected);
    canvas->Brush().SetColor(selected ? clHighlight : clMenu);
    canvas->Font().SetColor(selected ? clHighlightText : clMenuText);
    canvas->FillRect(rect);
    if (IsLine()) {
        TRect line = rect;
        line.top += RectHeight(rect) / 2 - 1;
        DrawEdge(canvas->Handle(), &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    // The glyph column: the check mark of checked items.
    TRect glyph = Rect(rect.left + 1, rect.top, rect.left + 1 + (topLevel ? 0 : 16), rect.bottom);
    if (checked_ && !topLevel) {
        TRect mark = glyph;
        int side = std::min(RectWidth(mark), RectHeight(mark));
        mark.top += (RectHeight(mark) - side) / 2;
        mark.bottom = mark.top + side;
        HDC dc = canvas->Handle();
        // The mark is a monochrome mask: black marks on white.
        TGdiObject maskBitmap(CreateBitmap(side, side, 1, 1, nullptr));
        TMemoryDC maskDC(dc);
        TSelectedObject select(maskDC, maskBitmap.Get());
        RECT cell{0, 0, side, side};
        DrawFrameControl(maskDC, &cell, DFC_MENU, radio_item_ ? DFCS_MENUBULLET : DFCS_MENUCHECK);
        COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
        COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
        TGdiObject ink(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(selected ? clHighlightText : clMenuText))));
        {
            TSelectedObject inkSelected(dc, ink.Get());
            // Where the mask is black, paint the text colour.
            BitBlt(dc, mark.left, mark.top, side, side, maskDC, 0, 0, 0x00B8074A);
        }
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBack);
    }
    TRect text = rect;
    text.left = glyph.right + (topLevel ? 6 : 6);
    text.right -= 6;
    UINT flags = DT_LEFT | DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER;
    if (state.Contains(odNoAccel)) flags |= DT_HIDEPREFIX;
    DoDrawText(canvas, caption_, text, selected, flags);
    if (short_cut_ && !topLevel) {
        TRect keys = rect;
        keys.right -= 10;
        DoDrawText(canvas, ShortCutToText(short_cut_), keys, selected, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    }
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
    // A handler measures instead of the item.
    if (OnMeasureItem) {
        OnMeasureItem(this, canvas, width, height);
        return;
    }
    if (IsLine()) {
        width = 10;
        height = 5;
    } else {
        TRect r = Rect(0, 0, 0, 0);
        DoDrawText(canvas, caption_, r, false, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE | DT_NOCLIP);
        width = RectWidth(r) + 16 + 12;
        height = std::max<int>(RectHeight(r) + 4, GetSystemMetrics(SM_CYMENU));
        if (short_cut_ && !(parent_ && !parent_->parent_ && parent_->menu_ && parent_->menu_->IsMenuBar())) {
            TRect k = Rect(0, 0, 0, 0);
            DoDrawText(canvas, ShortCutToText(short_cut_), k, false, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
            width += RectWidth(k) + 15;
        }
    }
}

// --- filing

TComponent* TMenuItem::GetParentComponent() const {
    if (parent_ && parent_->menu_) return parent_->menu_;
    return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (parent_) parent_->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(parent)) menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
}

void TMenuItem::GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) {
    for (TMenuItem* item : items_) proc(item);
}

void TMenuItem::SetChildOrder(TComponent* child, int order) {
    if (auto* item = dynamic_cast<TMenuItem*>(child)) item->SetMenuIndex(order);
}

void TMenuItem::Loaded() {
    TComponent::Loaded();
    if (TBasicAction* action = Action()) ActionChange(action, true);
}

// --- menu action link -------------------------------------------------------------------

const TClassInfo& TMenuActionLink::StaticClass() {
    static const TClassInfo info =
        DefineClass<TMenuActionLink>("TMenuActionLink", &TActionLink::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TMenuActionLink::TMenuActionLink(TObject* client) : TActionLink(client), client_(client) {}

TMenuItem* TMenuActionLink::Client() const {
    auto* item = dynamic_cast<TMenuItem*>(client_);
    if (!item) throw EInvalidCast(MenuStr(SInvalidCast));
    return item;
}

bool TMenuActionLink::IsCaptionLinked() {
    return TActionLink::IsCaptionLinked() && Client()->Caption() == CustomAction()->Caption();
}
bool TMenuActionLink::IsCheckedLinked() {
    return TActionLink::IsCheckedLinked() && Client()->Checked() == CustomAction()->Checked();
}
bool TMenuActionLink::IsEnabledLinked() {
    return TActionLink::IsEnabledLinked() && Client()->Enabled() == CustomAction()->Enabled();
}
bool TMenuActionLink::IsHelpContextLinked() {
    return TActionLink::IsHelpContextLinked() && Client()->HelpContext() == CustomAction()->HelpContext();
}
bool TMenuActionLink::IsHintLinked() {
    return TActionLink::IsHintLinked() && Client()->Hint() == CustomAction()->Hint();
}
bool TMenuActionLink::IsImageIndexLinked() {
    return TActionLink::IsImageIndexLinked() && Client()->ImageIndex() == CustomAction()->ImageIndex();
}
bool TMenuActionLink::IsShortCutLinked() {
    return TActionLink::IsShortCutLinked() && Client()->ShortCut() == CustomAction()->ShortCut();
}
bool TMenuActionLink::IsVisibleLinked() {
    return TActionLink::IsVisibleLinked() && Client()->Visible() == CustomAction()->Visible();
}

void TMenuActionLink::SetCaption(const std::string& value) {
    if (IsCaptionLinked()) Client()->SetCaption(value);
}
void TMenuActionLink::SetChecked(bool value) {
    if (IsCheckedLinked()) Client()->SetChecked(value);
}
void TMenuActionLink::SetEnabled(bool value) {
    if (IsEnabledLinked()) Client()->SetEnabled(value);
}
void TMenuActionLink::SetHelpContext(int32_t value) {
    if (IsHelpContextLinked()) Client()->SetHelpContext(value);
}
void TMenuActionLink::SetHint(const std::string& value) {
    if (IsHintLinked()) Client()->SetHint(value);
}
void TMenuActionLink::SetImageIndex(int32_t value) {
    if (IsImageIndexLinked()) Client()->SetImageIndex(value);
}
void TMenuActionLink::SetShortCut(TShortCut value) {
    if (IsShortCutLinked()) Client()->SetShortCut(value);
}
void TMenuActionLink::SetVisible(bool value) {
    if (IsVisibleLinked()) Client()->SetVisible(value);
}

// --- menus --------------------------------------------------------------------------------

const TClassInfo& TMenu::StaticClass() {
    static const TClassInfo info = DefineClass<TMenu>("TMenu", &TComponent::StaticClass(), [](auto& c) {
        PROPERTY(c, OwnerDraw).Default(false).Hidden();
    });
    return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner) {
    items_ = New<TMenuItem>(this);
    items_->menu_ = this;
}

TMenu::~TMenu() = default;

void TMenu::BeforeDestruction() {
    Destroying();
    if (items_) FreeAndNil(items_);
    TComponent::BeforeDestruction();
}

void TMenu::SetOwnerDraw(bool value) {
    if (owner_draw_ == value) return;
    owner_draw_ = value;
    // Every entry changes its type.
    std::function<void(TMenuItem*)> rebuild = [&](TMenuItem* item) {
        item->RebuildHandle();
        for (TMenuItem* child : item->items_) rebuild(child);
    };
    rebuild(items_);
    MenuChanged(items_, true);
}

TMenuItem* TMenu::FindItem(uintptr_t value, TFindItemKind kind) {
    return items_ ? items_->FindItem(value, kind) : nullptr;
}

bool TMenu::DispatchCommand(WORD command) {
    TMenuItem* item = FindItem(command, fkCommand);
    if (!item || item == items_) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU menu) {
    TMenuItem* item = FindItem(reinterpret_cast<uintptr_t>(menu), fkHandle);
    if (!item) return false;
    for (TMenuItem* child : item->items_) child->InitiateAction();
    if (item != items_) item->Click();
    return true;
}

bool TMenu::IsShortCut(WORD key, TShiftState shift) {
    TShortCut shortCut = ::ShortCut(key, shift);
    if (!shortCut) return false;
    TMenuItem* item = FindItem(shortCut, fkShortCut);
    if (!item) return false;
    // The path to the item must be enabled, and its parents may update it.
    for (TMenuItem* p = item->parent_; p; p = p->parent_) {
        p->InitiateAction();
        if (!p->enabled_ || !p->visible_) return false;
    }
    item->InitiateAction();
    if (!item->enabled_) return false;
    item->Click();
    return true;
}

bool TMenu::DrawItem(DRAWITEMSTRUCT* draw) {
    if (draw->CtlType != ODT_MENU) return false;
    TMenuItem* item = FindItem(draw->itemID, fkCommand);
    if (!item) return false;
    TCanvas canvas;
    canvas.SetHandle(draw->hDC);
    TSavedDC saved(draw->hDC);
    TakeMenuFont(canvas.Font());
    bool topLevel = item->parent_ == items_ && IsMenuBar();
    TRect rect = draw->rcItem;
    CallbackBarrier(this, [&] { item->AdvancedDrawItem(&canvas, rect, OwnerDrawStateFromFlags(draw->itemState), topLevel); });
    canvas.SetHandle(nullptr);
    return true;
}

bool TMenu::MeasureItem(MEASUREITEMSTRUCT* measure) {
    if (measure->CtlType != ODT_MENU) return false;
    TMenuItem* item = FindItem(measure->itemID, fkCommand);
    if (!item) return false;
    TWindowDC screen(nullptr);
    TCanvas canvas;
    canvas.SetHandle(screen);
    TakeMenuFont(canvas.Font());
    int width = static_cast<int>(measure->itemWidth), height = static_cast<int>(measure->itemHeight);
    CallbackBarrier(this, [&] { item->MeasureItem(&canvas, width, height); });
    canvas.SetHandle(nullptr);
    measure->itemWidth = static_cast<UINT>(std::max(width, 0));
    measure->itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
}

void TMenu::MenuChanged(TMenuItem*, bool) {}

void TMenu::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    items_->GetChildren(proc, root);
}

const TClassInfo& TMainMenu::StaticClass() {
    static const TClassInfo info = DefineClass<TMainMenu>("TMainMenu", &TMenu::StaticClass(), [](auto& c) {
        c.Creatable();
        c.Publish("OwnerDraw");
    });
    return info;
}

void TMainMenu::MenuChanged(TMenuItem* item, bool rebuild) {
    TMenu::MenuChanged(item, rebuild);
    if (HWND window = WindowHandle()) DrawMenuBar(window);
}

// --- popup menus ------------------------------------------------------------------------

const TClassInfo& TPopupMenu::StaticClass() {
    static const TClassInfo info = DefineClass<TPopupMenu>("TPopupMenu", &TMenu::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Alignment).Default(paLeft);
        PROPERTY(c, AutoPopup).Default(true);
        c.Publish("OwnerDraw");
        EVENT(c, OnPopup);
    });
    return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {
    if (PopupList) PopupList->Add(this);
}

void TPopupMenu::BeforeDestruction() {
    for (TPopupList* list : LivePopupLists()) list->Remove(this);
    popup_component_ = nullptr;
    TMenu::BeforeDestruction();
}

void TPopupMenu::SetPopupComponent(TComponent* value) {
    if (popup_component_ == value) return;
    popup_component_ = value;
    if (value) value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == opRemove && component == popup_component_) popup_component_ = nullptr;
}

HWND TPopupMenu::WindowHandle() const {
    return PopupList ? PopupList->Window() : nullptr;
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    for (int i = 0; i < Items()->Count(); ++i) Items()->Items(i)->InitiateAction();
    UINT align = alignment_ == paRight ? TPM_RIGHTALIGN : alignment_ == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    HWND owner = WindowHandle();
    TrackPopupMenu(Handle(), align | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
}

// --- popup list ---------------------------------------------------------------------------

const TClassInfo& TPopupList::StaticClass() {
    static const TClassInfo info = DefineClass<TPopupList>("TPopupList", &TObject::StaticClass(), [](auto&) {});
    return info;
}

TPopupList::TPopupList() {
    LivePopupLists().push_back(this);
}

TPopupList::~TPopupList() {
    auto& lists = LivePopupLists();
    lists.erase(std::find(lists.begin(), lists.end(), this));
}

void TPopupList::Add(TPopupMenu* menu) {
    if (std::find(menus_.begin(), menus_.end(), menu) == menus_.end()) menus_.push_back(menu);
}

void TPopupList::Remove(TPopupMenu* menu) {
    auto it = std::find(menus_.begin(), menus_.end(), menu);
    if (it != menus_.end()) menus_.erase(it);
}

HWND TPopupList::Window() {
    if (!window_) {
        static const char* const className = "TPopupListWindow";
        WNDCLASSA wc{};
        wc.lpfnWndProc = WindowProcedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = className;
        WNDCLASSA existing;
        if (!GetClassInfoA(wc.hInstance, className, &existing)) RegisterClassA(&wc);
        window_.Reset(CreateWindowExA(WS_EX_TOOLWINDOW, className, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      wc.hInstance, nullptr));
        if (!window_) throw EOutOfMemory(LoadStr(SOutOfMemory));
        SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    return window_.Get();
}

LRESULT CALLBACK TPopupList::WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* list = reinterpret_cast<TPopupList*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!list) return DefWindowProcA(window, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    CallbackBarrier(nullptr, [&] { list->WndProc(m); });
    return m.Result;
}

void TPopupList::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_COMMAND:
        for (TPopupMenu* menu : std::vector<TPopupMenu*>(menus_))
            if (menu->DispatchCommand(LOWORD(m.WParam))) return;
        break;
    case WM_INITMENUPOPUP:
        for (TPopupMenu* menu : menus_)
            if (menu->DispatchPopup(reinterpret_cast<HMENU>(m.WParam))) return;
        break;
    case WM_DRAWITEM:
        for (TPopupMenu* menu : menus_)
            if (menu->DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam))) {
                m.Result = TRUE;
                return;
            }
        break;
    case WM_MEASUREITEM:
        for (TPopupMenu* menu : menus_)
            if (menu->MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam))) {
                m.Result = TRUE;
                return;
            }
        break;
    case WM_MENUSELECT: {
        TMenuItem* item = nullptr;
        if (auto selected = DecodeMenuSelect(m))
            for (TPopupMenu* menu : menus_)
                if ((item = menu->FindItem(selected->value, selected->kind))) break;
        ShowMenuItemHint(item);
        break;
    }
    }
    DefaultHandler(m);
}

void TPopupList::DefaultHandler(TMessage& m) {
    m.Result = DefWindowProcA(Window(), m.Msg, m.WParam, m.LParam);
}

std::optional<TMenuSelection> DecodeMenuSelect(const TMessage& m) {
    const UINT flags = HIWORD(m.WParam);
    if (flags == 0xFFFF && m.LParam == 0) return std::nullopt;
    if (flags & MF_POPUP)
        return TMenuSelection{
            reinterpret_cast<uintptr_t>(GetSubMenu(reinterpret_cast<HMENU>(m.LParam), LOWORD(m.WParam))), fkHandle};
    return TMenuSelection{LOWORD(m.WParam), fkCommand};
}

void ShowMenuItemHint(TMenuItem* item) {
    if (Application) Application->SetHint(item ? GetLongHint(item->Hint()) : std::string());
}

void StartMenus() {
    RegisterMenuStrings();
    if (!PopupList) PopupList = New<TPopupList>();
}

void StopMenus() {
    FreeAndNil(PopupList);
}

bool IsMenuShortCutKey(TControl* control, WORD key, TShiftState shift) {
    for (TControl* c = control; c; c = c->Parent())
        if (TPopupMenu* menu = c->PopupMenu())
            if (menu->IsShortCut(key, shift)) return true;
    if (TCustomForm* form = control ? control->ParentForm() : nullptr)
        if (TMainMenu* menu = form->Menu()) return menu->IsShortCut(key, shift);
    return false;
}

void RegisterMenuClasses() {
    for (const TClassInfo* info : {&TMenuItem::StaticClass(), &TMainMenu::StaticClass(), &TPopupMenu::StaticClass()})
        RegisterClass(*info);
}
