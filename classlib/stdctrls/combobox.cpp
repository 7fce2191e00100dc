#include "classlib/stdctrls/combobox.h"

#include <algorithm>

#include "classlib/gui/callback_barrier.h"
#include "classlib/core/class_builder.h"
#include "classlib/gui/application.h"
#include "classlib/gui/forms.h"
#include "classlib/core/lists.h"
#include "classlib/core/scoped_count.h"
#include "classlib/core/resstrings.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/stdctrls/window_needs.h"

DEFINE_ENUM_TYPE(TComboBoxStyle, "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
                 "csOwnerDrawVariable")

namespace {

const char* const kComboProp = "QuilloryComboBox";
const char* const kEditProcProp = "QuilloryEditProc";

// The order of sorted combo boxes (CBS_SORT compares like this).
bool SortsBefore(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
}

[[noreturn]] void RaiseInsertError() {
    throw EOutOfMemory("Could not add the entry to the combo box");
}

}  // namespace

// --- items ------------------------------------------------------------------------

const TClassInfo& TComboBoxStrings::StaticClass() {
    static const TClassInfo info =
        DefineClass<TComboBoxStrings>("TComboBoxStrings", &TStrings::StaticClass(), [](auto&) {});
    return info;
}

int TComboBoxStrings::Count() const {
    if (combo_->ItemsInWindow()) return static_cast<int>(SendMessageA(combo_->handle_, CB_GETCOUNT, 0, 0));
    return static_cast<int>(combo_->saved_items_.size());
}

std::string TComboBoxStrings::Strings(int index) const {
    if (combo_->ItemsInWindow()) {
        LRESULT length = SendMessageA(combo_->handle_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (index < 0 || length == CB_ERR) RaiseListError(SListIndexError, index);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        length = SendMessageA(combo_->handle_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                              reinterpret_cast<LPARAM>(text.data()));
        text.resize(length == CB_ERR ? 0 : static_cast<size_t>(length));
        return text;
    }
    CheckIndex(index);
    return combo_->saved_items_[static_cast<size_t>(index)].String;
}

TObject* TComboBoxStrings::Objects(int index) const {
    CheckIndex(index);
    if (combo_->ItemsInWindow())
        return reinterpret_cast<TObject*>(SendMessageA(combo_->handle_, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    return combo_->saved_items_[static_cast<size_t>(index)].Object;
}

void TComboBoxStrings::PutObject(int index, TObject* object) {
    CheckIndex(index);
    if (combo_->ItemsInWindow()) {
        SendMessageA(combo_->handle_, CB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(object));
        return;
    }
    combo_->saved_items_[static_cast<size_t>(index)].Object = object;
}

int TComboBoxStrings::AddObject(const std::string& s, TObject* object) {
    if (combo_->ItemsInWindow()) {
        LRESULT index = SendMessageA(combo_->handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
        if (index < 0) RaiseInsertError();
        SendMessageA(combo_->handle_, CB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(object));
        return static_cast<int>(index);
    }
    auto& items = combo_->saved_items_;
    size_t at = items.size();
    if (combo_->sorted_) {
        at = static_cast<size_t>(std::upper_bound(items.begin(), items.end(), s, [](const std::string& v, const TStringItem& item) {
                                     return SortsBefore(v, item.String);
                                 }) - items.begin());
    }
    items.insert(items.begin() + static_cast<long>(at), TStringItem{s, object});
    if (combo_->saved_index_ >= static_cast<int>(at)) ++combo_->saved_index_;
    return static_cast<int>(at);
}

void TComboBoxStrings::InsertObject(int index, const std::string& s, TObject* object) {
    if (index < 0 || index > Count()) RaiseListError(SListIndexError, index);
    if (combo_->ItemsInWindow()) {
        LRESULT at = SendMessageA(combo_->handle_, CB_INSERTSTRING, static_cast<WPARAM>(index),
                                  reinterpret_cast<LPARAM>(s.c_str()));
        if (at < 0) RaiseInsertError();
        SendMessageA(combo_->handle_, CB_SETITEMDATA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(object));
        return;
    }
    auto& items = combo_->saved_items_;
    items.insert(items.begin() + index, TStringItem{s, object});
    if (combo_->saved_index_ >= index) ++combo_->saved_index_;
}

void TComboBoxStrings::Delete(int index) {
    CheckIndex(index);
    if (combo_->ItemsInWindow()) {
        SendMessageA(combo_->handle_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
        return;
    }
    auto& items = combo_->saved_items_;
    items.erase(items.begin() + index);
    int& selected = combo_->saved_index_;
    if (selected == index) {
        selected = -1;
        if (!combo_->HasEditField()) combo_->SetStoredText("");
    } else if (selected > index) {
        --selected;
    }
}

void TComboBoxStrings::Clear() {
    if (combo_->ItemsInWindow()) {
        std::string text = combo_->Text();
        SendMessageA(combo_->handle_, CB_RESETCONTENT, 0, 0);
        if (combo_->HasEditField()) combo_->SetWindowTextQuietly(text);
        return;
    }
    combo_->saved_items_.clear();
    combo_->saved_index_ = -1;
    if (!combo_->HasEditField()) combo_->SetStoredText("");
}

void TComboBoxStrings::SetUpdateState(bool updating) {
    if (!combo_->HandleAllocated()) return;
    SendMessageA(combo_->handle_, WM_SETREDRAW, updating ? FALSE : TRUE, 0);
    if (!updating) combo_->Refresh();
}

// --- combo box -----------------------------------------------------------------------

const TClassInfo& TCustomComboBox::StaticClass() {
    static const TClassInfo info =
        DefineClass<TCustomComboBox>("TCustomComboBox", &TWinControl::StaticClass(), [](auto& c) {
            PROPERTY(c, Style).Default(csDropDown).Hidden();
            PROPERTY(c, DropDownCount).Default(8).Hidden();
            PROPERTY(c, ItemHeight).Default(16).Hidden();
            PROPERTY(c, ItemIndex).Default(-1).Hidden();
            PROPERTY(c, MaxLength).Default(0).Hidden();
            PROPERTY(c, Sorted).Default(false).Hidden();
            PROPERTY(c, Items).Hidden();
            EVENT(c, OnChange).Hidden();
            EVENT(c, OnDrawItem).Hidden();
            EVENT(c, OnDropDown).Hidden();
            EVENT(c, OnMeasureItem).Hidden();
        });
    return info;
}

const TClassInfo& TComboBox::StaticClass() {
    static const TClassInfo info = DefineClass<TComboBox>("TComboBox", &TCustomComboBox::StaticClass(), [](auto& c) {
        c.Creatable();
        // Style comes before the items, which come last: the list is read
        // into a combo box of its final kind, after the drawing events.
        c.PublishAll("Style", "Color", "Ctl3D", "DragCursor", "DragMode", "DropDownCount", "Enabled", "Font",
                     "ItemHeight", "ItemIndex", "MaxLength", "ParentColor", "ParentCtl3D", "ParentFont",
                     "ParentShowHint", "ShowHint", "Sorted", "TabOrder", "TabStop", "Text", "Visible", "OnChange",
                     "OnClick", "OnDblClick", "OnDrawItem", "OnDropDown", "OnEnter", "OnExit", "OnKeyDown",
                     "OnKeyPress", "OnKeyUp", "OnMeasureItem", "Items");
        c.Publish("ParentColor").Default(false);
        c.Publish("TabStop").Default(true);
    });
    return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), items_(MakeOwned<TComboBoxStrings>(this)), canvas_(std::make_unique<TControlCanvas>(this)) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks, csFixedHeight});
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetParentColor(false);
}

TCustomComboBox::~TCustomComboBox() = default;

bool TCustomComboBox::ItemsInWindow() {
    if (HandleAllocated()) return true;
    if (keep_items_ || !CanCreateHandle(this)) return false;
    HandleNeeded();
    return HandleAllocated();
}

std::vector<TStringItem> TCustomComboBox::WindowItems() const {
    std::vector<TStringItem> items;
    int count = static_cast<int>(SendMessageA(handle_, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(handle_, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
        length = SendMessageA(handle_, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(length > 0 ? static_cast<size_t>(length) : 0);
        auto* object = reinterpret_cast<TObject*>(SendMessageA(handle_, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
        items.push_back({std::move(text), object == reinterpret_cast<TObject*>(CB_ERR) ? nullptr : object});
    }
    return items;
}

int TCustomComboBox::FindExact(const std::string& text) const {
    if (HandleAllocated())
        return static_cast<int>(SendMessageA(handle_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(text.c_str())));
    for (size_t i = 0; i < saved_items_.size(); ++i)
        if (lstrcmpiA(saved_items_[i].String.c_str(), text.c_str()) == 0) return static_cast<int>(i);
    return -1;
}

int TCustomComboBox::ItemIndex() const {
    if (ComponentState().Contains(csLoading) && loading_index_ != -1) return loading_index_;
    if (const_cast<TCustomComboBox*>(this)->ItemsInWindow())
        return static_cast<int>(SendMessageA(handle_, CB_GETCURSEL, 0, 0));
    return saved_index_;
}

void TCustomComboBox::SetItemIndex(int value) {
    if (ComponentState().Contains(csLoading)) {
        // The items follow later in the layout.
        loading_index_ = value;
        return;
    }
    if (ItemsInWindow()) {
        if (ItemIndex() != value) SendMessageA(handle_, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
        return;
    }
    SelectKept(value);
}

void TCustomComboBox::SelectKept(int index) {
    // As the window does: an invalid index selects nothing and clears the text.
    if (index < 0 || index >= static_cast<int>(saved_items_.size())) index = -1;
    saved_index_ = index;
    SetStoredText(index >= 0 ? saved_items_[static_cast<size_t>(index)].String : std::string());
}

void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    // Loading alone makes no window: a form read from its layout gets its
    // windows when it is shown.
    int index = std::exchange(loading_index_, -1);
    if (index != -1) {
        if (HandleAllocated()) SetItemIndex(index);
        else SelectKept(index);
    } else if (!HasEditField() && !StoredText().empty() && !HandleAllocated()) {
        // A list style shows the entry its text names.
        int found = FindExact(StoredText());
        saved_index_ = found;
        if (found < 0) SetStoredText("");
    }
}

void TCustomComboBox::SetTextValue(const std::string& value) {
    if (ComponentState().Contains(csLoading) || HasEditField()) {
        if (GetText() == value) return;
        {
            TScopedCount quiet(quiet_text_);
            TWinControl::SetTextValue(value);
        }
        return;
    }
    // Without an edit field only an entry's text can be shown.
    SetItemIndex(FindExact(value));
}

void TCustomComboBox::SetWindowTextQuietly(const std::string& text) {
    TScopedCount quiet(quiet_text_);
    SetWindowTextA(handle_, text.c_str());
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
    if (style_ == value) return;
    style_ = value;
    if (value == csSimple) SetControlStyle(ControlStyle() - csFixedHeight);
    else SetControlStyle(ControlStyle() + csFixedHeight);
    if (!HandleAllocated() && !HasEditField()) {
        // Without an edit field the text is the selected entry's.
        int index = saved_index_;
        SetStoredText(index >= 0 && index < static_cast<int>(saved_items_.size())
                          ? saved_items_[static_cast<size_t>(index)].String
                          : std::string());
    }
    RecreateWnd();
}

void TCustomComboBox::SetItemHeight(int32_t value) {
    if (value <= 0 || item_height_ == value) return;
    item_height_ = value;
    RecreateWnd();
}

void TCustomComboBox::SetSorted(bool value) {
    if (sorted_ == value) return;
    sorted_ = value;
    if (HandleAllocated()) {
        RecreateWnd();
        return;
    }
    if (!value) return;
    // Keep the selected entry selected where sorting puts it.
    std::vector<size_t> order(saved_items_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) {
        return SortsBefore(saved_items_[a].String, saved_items_[b].String);
    });
    std::vector<TStringItem> sorted;
    int selected = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (static_cast<int>(order[i]) == saved_index_) selected = static_cast<int>(i);
        sorted.push_back(saved_items_[order[i]]);
    }
    saved_items_ = std::move(sorted);
    saved_index_ = selected;
}

void TCustomComboBox::SetDropDownCount(int32_t value) {
    drop_down_count_ = std::max(value, 1);
    AdjustDropDown();
}

void TCustomComboBox::SetMaxLength(int32_t value) {
    if (value < 0) value = 0;
    if (max_length_ == value) return;
    max_length_ = value;
    if (HandleAllocated()) SendMessageA(handle_, CB_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

bool TCustomComboBox::DroppedDown() const {
    return HandleAllocated() && SendMessageA(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value) {
    SendMessageA(Handle(), CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
}

void TCustomComboBox::Clear() {
    SetText("");
    items_->Clear();
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "COMBOBOX");
    static const DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                   CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
    p.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL | styles[style_];
    if (sorted_) p.Style |= CBS_SORT;
}

void TCustomComboBox::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(handle_, CB_LIMITTEXT, static_cast<WPARAM>(max_length_), 0);
    HookEditField();
    std::vector<TStringItem> items = std::move(saved_items_);
    saved_items_.clear();
    int selected = std::exchange(saved_index_, -1);
    // A sorted window places the entries itself: follow the selected one.
    int newSelected = -1;
    for (size_t i = 0; i < items.size(); ++i) {
        LRESULT at = SendMessageA(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i].String.c_str()));
        if (at < 0) {
            // Keep what the window could not take rather than lose it.
            saved_items_.assign(items.begin() + static_cast<long>(i), items.end());
            RaiseInsertError();
        }
        SendMessageA(handle_, CB_SETITEMDATA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(items[i].Object));
        if (static_cast<int>(i) == selected) newSelected = static_cast<int>(at);
        else if (newSelected >= 0 && at <= newSelected) ++newSelected;
    }
    if (newSelected >= 0) SendMessageA(handle_, CB_SETCURSEL, static_cast<WPARAM>(newSelected), 0);
    if (HasEditField()) SetWindowTextQuietly(StoredText());
    ApplyItemHeights();
    AdjustDropDown();
}

void TCustomComboBox::ApplyItemHeights() {
    // A font set after the measuring may have sized the selection field
    // for the font; owner-drawn entries keep their measured height.
    if (style_ != csOwnerDrawFixed && style_ != csOwnerDrawVariable) return;
    SendMessageA(handle_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), measured_field_height_);
    if (style_ == csOwnerDrawFixed) SendMessageA(handle_, CB_SETITEMHEIGHT, 0, item_height_);
}

void TCustomComboBox::DestroyWnd() {
    saved_items_ = WindowItems();
    saved_index_ = static_cast<int>(SendMessageA(handle_, CB_GETCURSEL, 0, 0));
    TWinControl::DestroyWnd();
}

void TCustomComboBox::HookEditField() {
    if (!HasEditField()) return;
    HWND edit = FindWindowExA(handle_, nullptr, "Edit", nullptr);
    if (!edit) return;
    SetPropA(edit, kComboProp, this);
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TCustomComboBox::EditWindowProc)));
    SetPropA(edit, kEditProcProp, reinterpret_cast<HANDLE>(previous));
}

LRESULT CALLBACK TCustomComboBox::EditWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, kEditProcProp));
    auto* combo = static_cast<TCustomComboBox*>(GetPropA(window, kComboProp));
    if (!previous) return DefWindowProcA(window, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(window, kComboProp);
        RemovePropA(window, kEditProcProp);
        return CallWindowProcA(previous, window, msg, wParam, lParam);
    }
    if (combo) {
        // The edit field's focus is the combo box's for the form (active
        // control, OnEnter / OnExit).
        if (msg == WM_SETFOCUS) {
            bool accepted = CallbackBarrier(combo, true, [combo] {
                TCustomForm* form = combo->ParentForm();
                return !form || form->SetFocusedControl(combo);
            });
            if (!accepted) return 0;
        } else if (msg == WM_KILLFOCUS && combo->ControlState().Contains(csFocusing)) {
            return 0;
        }
    }
    return CallWindowProcA(previous, window, msg, wParam, lParam);
}

void TCustomComboBox::AdjustDropDown() {
    if (style_ == csSimple || !HandleAllocated()) return;
    int itemHeight = static_cast<int>(SendMessageA(handle_, CB_GETITEMHEIGHT, 0, 0));
    if (itemHeight <= 0) itemHeight = item_height_;
    // A window taller than the combo box sets the height of its list (which
    // shrinks to fit fewer entries); the combo box itself keeps its height.
    SetWindowPos(handle_, nullptr, 0, 0, Width(), itemHeight * std::max(drop_down_count_, 1) + Height() + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    canvas_->FillRect(rect);
    if (index >= 0) canvas_->TextOut(rect.left + 2, rect.top, items_->Strings(index));
}

void TCustomComboBox::MeasureItem(int index, int& height) {
    if (OnMeasureItem) OnMeasureItem(this, index, height);
}

void TCustomComboBox::CNCommand(TMessage& m) {
    switch (HIWORD(m.WParam)) {
    case CBN_DBLCLK: DblClick(); break;
    case CBN_EDITCHANGE:
        if (quiet_text_ == 0) Change();
        break;
    case CBN_DROPDOWN:
        DropDown();
        break;
    case CBN_SELCHANGE: {
        // The edit field shows the chosen entry before the handlers run.
        int index = ItemIndex();
        if (HasEditField() && index >= 0) SetWindowTextQuietly(items_->Strings(index));
        Click();
        Change();
        break;
    }
    }
}

void TCustomComboBox::CNDrawItem(TMessage& m) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    TOwnerDrawState state = OwnerDrawStateFromFlags(dis->itemState);
    int index = static_cast<int>(dis->itemID);
    {
        TCanvasOnDC attached(*canvas_, dis->hDC);
        canvas_->SetFont(*Font());
        canvas_->Brush().SetStyle(bsSolid);
        canvas_->Brush().SetColor(Color());
        if (index >= 0 && state.Contains(odSelected)) {
            canvas_->Brush().SetColor(clHighlight);
            canvas_->Font().SetColor(clHighlightText);
        }
        if (index >= 0) DrawItem(index, dis->rcItem, state);
        else canvas_->FillRect(dis->rcItem);
        if (state.Contains(odFocused)) ::DrawFocusRect(dis->hDC, &dis->rcItem);
    }
    m.Result = 1;
}

void TCustomComboBox::CNMeasureItem(TMessage& m) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    int height = item_height_;
    if (style_ == csOwnerDrawVariable) MeasureItem(static_cast<int>(mis->itemID), height);
    height = std::max(height, 1);
    mis->itemHeight = static_cast<UINT>(height);
    if (static_cast<int>(mis->itemID) == -1) measured_field_height_ = height;
    m.Result = 1;
}

void TCustomComboBox::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND: CNCommand(m); return;
    case CN_DRAWITEM: CNDrawItem(m); return;
    case CN_MEASUREITEM: CNMeasureItem(m); return;
    case CM_FONTCHANGED:
        TWinControl::Dispatch(m);
        if (HandleAllocated()) {
            ApplyItemHeights();
            AdjustDropDown();
        }
        return;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
        // The edit field and the list take the combo box's colours.
        if (!FindControl(reinterpret_cast<HWND>(m.LParam))) {
            CNCtlColor(m);
            return;
        }
        break;
    }
    TWinControl::Dispatch(m);
}
