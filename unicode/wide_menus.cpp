#include "unicode/wide_menus.h"

#include <cstddef>

#include "classlib/core/class_builder.h"
#include "classlib/core/unit_starts.h"
#include "classlib/gui/application.h"
#include "classlib/gui/menu_strings.h"
#include "classlib/gui/sys_locale.h"
#include "unicode/api_wrappers.h"
#include "unicode/code_pages.h"
#include "unicode/text/platform_flags.h"
#include "unicode/text/uc_errors.h"
#include "unicode/uc_application.h"
#include "unicode/wide_actions.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_filing.h"
#include "unicode/wide_hints.h"
#include "unicode/wide_sysutils.h"

TUcPopupList* UcPopupList = nullptr;
std::function<void(const std::wstring&)> WideMenuHintReceiver;

namespace {

TUnitStartCount g_menu_starts;

// The menu item record as the system's oldest layout knows it: without the
// bitmap handle at its end.
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOW, hbmpItem);

// Identity of the item's own measuring in the class library's slot.
const TMethodInfo kOwnMeasure{"OwnMeasureItem", nullptr, nullptr};

bool Win98Plus() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    GetVersionExA(&v);
    return v.dwMajorVersion > 4 || (v.dwMajorVersion == 4 && v.dwMinorVersion > 0);
}

bool Win2K() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    GetVersionExA(&v);
    return v.dwMajorVersion > 4 && v.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

std::wstring MenuItemWideHint(TMenuItem* item) {
    if (auto* uc = dynamic_cast<TUcMenuItem*>(item)) return uc->Hint();
    return WideFromSystemAnsi(item->Hint());
}

void RefreshWideMenu(TMenu* menu) {
    if (!SysLocale.MiddleEast || !menu || menu->Items()->Count() == 0) return;
    if (auto* first = dynamic_cast<TUcMenuItem*>(menu->Items()->Items(0))) first->Refresh(menu);
}

// --- wide menu item ----------------------------------------------------------------------

const TClassInfo& TUcMenuItem::StaticClass() {
    static const TClassInfo info = DefineClass<TUcMenuItem>("TUcMenuItem", &TMenuItem::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Caption).StoredIf(&TUcMenuItem::IsCaptionStored);
        PROPERTY(c, Hint).StoredIf(&TUcMenuItem::IsHintStored);
        c.Event("OnMeasureItem", &TUcMenuItem::UserMeasureItem);
    });
    return info;
}

TUcMenuItem::TUcMenuItem(TComponent* owner) : TMenuItem(owner) {
    OnMeasureItem = OwnMeasureHandler();
}

TMenuMeasureItemEvent TUcMenuItem::OwnMeasureHandler() {
    return TMenuMeasureItemEvent(
        [this](TObject*, TCanvas* canvas, int& width, int& height) { OwnMeasure(canvas, width, height); },
        TMethod{this, &kOwnMeasure});
}

bool TUcMenuItem::SlotHoldsOwnHandler() const {
    return OnMeasureItem && OnMeasureItem.Method() == TMethod{const_cast<TUcMenuItem*>(this), &kOwnMeasure};
}

std::wstring TUcMenuItem::Caption() const {
    std::string ansi = TMenuItem::Caption();
    if (SystemAnsiFromWide(wide_caption_) != ansi &&
        WideSameStrippedCaption(WideFromSystemAnsi(SystemAnsiFromWide(wide_caption_)), WideFromSystemAnsi(ansi)))
        SyncHotKeyPosition(WideFromSystemAnsi(ansi), wide_caption_);
    return WidePropertyValueSync(wide_caption_, ansi);
}

void TUcMenuItem::SetCaption(const std::wstring& value) {
    Caption();
    SetWidePropertyWithAnsiShadow(value, wide_caption_, TMenuItem::Caption(),
                                  [this](const std::string& s) { TMenuItem::SetCaption(s); });
}

std::wstring TUcMenuItem::Hint() const {
    return WidePropertyValueSync(wide_hint_, TMenuItem::Hint());
}

void TUcMenuItem::SetHint(const std::wstring& value) {
    SetWidePropertyWithAnsiShadow(value, wide_hint_, TMenuItem::Hint(),
                                  [this](const std::string& s) { TMenuItem::SetHint(s); });
}

void TUcMenuItem::DefineProperties(TFiler* filer) {
    TMenuItem::DefineProperties(filer);
    DefineWideProperties(filer, this);
}

void TUcMenuItem::Loaded() {
    TMenuItem::Loaded();
    Refresh(GetParentMenu());
}

const TClassInfo& TUcMenuItem::GetActionLinkClass() const {
    return TUcMenuActionLink::StaticClass();
}

void TUcMenuItem::ActionChange(TObject* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (action && ActionHasWideTexts(action)) {
        if (!checkDefaults || Caption().empty()) SetCaption(ActionGetWideCaption(action));
        if (!checkDefaults || Hint().empty()) SetHint(ActionGetWideHint(action));
    }
    TMenuItem::ActionChange(sender, checkDefaults);
}

void TUcMenuItem::MenuChanged(bool rebuild) {
    if (suppress_change_) return;
    TMenuItem::MenuChanged(rebuild);
    TMenu* menu = GetParentMenu();
    RefreshTree(menu);
    // A rebuild wrote the entries of the parent's system menu again, each
    // with its ANSI text: the wide siblings are written again too.
    if (rebuild && Parent())
        for (int i = Parent()->Count() - 1; i >= 0; --i) {
            auto* sibling = dynamic_cast<TUcMenuItem*>(Parent()->Items(i));
            if (sibling && sibling != this && !sibling->ComponentState().Contains(csReading) &&
                !sibling->ComponentState().Contains(csDestroying))
                sibling->Refresh(menu);
        }
    RefreshWideMenu(menu);
}

void TUcMenuItem::RefreshTree(TMenu* menu) {
    for (int i = Count() - 1; i >= 0; --i) {
        TMenuItem* child = Items(i);
        if (child->ComponentState().Contains(csReading) || child->ComponentState().Contains(csDestroying)) continue;
        if (auto* uc = dynamic_cast<TUcMenuItem*>(child)) uc->RefreshTree(menu);
    }
    if (!ComponentState().Contains(csReading) && !ComponentState().Contains(csDestroying)) Refresh(menu);
}

void TUcMenuItem::Refresh(TMenu* menu) {
    if (!SlotHoldsOwnHandler()) {
        if (OnMeasureItem) UserMeasureItem = OnMeasureItem;
        OnMeasureItem = OwnMeasureHandler();
    }
    if (!UnicodePlatform || !Parent() || !menu || ComponentState().Contains(csReading) ||
        ComponentState().Contains(csDestroying) || !Visible())
        return;
    HMENU parentMenu = Parent()->Handle();
    auto readInfo = [&](MENUITEMINFOW& info, wchar_t* buffer) {
        info = {};
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_TYPE;
        info.dwTypeData = buffer;
        info.cch = 80;
        return GetMenuItemInfoW(parentMenu, Command(), FALSE, &info) &&
               !(info.fType & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR));
    };
    MENUITEMINFOW info;
    wchar_t buffer[81] = {};
    if (!readInfo(info, buffer)) return;

    std::wstring text = Caption();
    bool topOfMainMenu = !Parent()->Parent() && dynamic_cast<TMainMenu*>(Parent()->GetParentMenu());
    if (Count() == 0 && ShortCut() != 0 && !topOfMainMenu) text += L'\t' + WideShortCutToText(ShortCut());

    std::wstring current;
    if (int length = GetMenuStringW(parentMenu, Command(), nullptr, 0, MF_BYCOMMAND)) {
        current.assign(static_cast<size_t>(length) + 1, L'\0');
        int copied = GetMenuStringW(parentMenu, Command(), current.data(), length + 1, MF_BYCOMMAND);
        current.resize(static_cast<size_t>(std::max(copied, 0)));
    }
    if (current == text) return;
    if (!readInfo(info, buffer)) return;
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    if (!SetMenuItemInfoW(parentMenu, Command(), FALSE, &info)) RaiseLastSystemError();
    if (Parent() == menu->Items())
        if (auto* mainMenu = dynamic_cast<TMainMenu*>(menu); mainMenu && mainMenu->WindowHandle())
            DrawMenuBar(mainMenu->WindowHandle());
}

// --- measuring and drawing

UINT TUcMenuItem::AlignmentStyle() const {
    if (auto* popup = dynamic_cast<TPopupMenu*>(GetParentMenu())) {
        switch (popup->Alignment()) {
        case paLeft: return DT_LEFT;
        case paRight: return DT_RIGHT;
        case paCenter: return DT_CENTER;
        }
    }
    return DT_LEFT;
}

int TUcMenuItem::WideTextWidth(TCanvas* canvas, const std::wstring& text) {
    TRect r = Rect(0, 0, 0, 0);
    DrawWideText(canvas, text, r, false, AlignmentStyle() | DT_EXPANDTABS | DT_SINGLELINE | DT_NOCLIP | DT_CALCRECT);
    return r.right - r.left;
}

void TUcMenuItem::OwnMeasure(TCanvas* canvas, int& width, int& height) {
    if (!UnicodePlatform || IsLine()) {
        OnMeasureItem = UserMeasureItem;
        struct Restore {
            TUcMenuItem* item;
            ~Restore() { item->OnMeasureItem = item->OwnMeasureHandler(); }
        } restore{this};
        TMenuItem::MeasureItem(canvas, width, height);
        return;
    }
    {
        OnMeasureItem = nullptr;
        struct Restore {
            TUcMenuItem* item;
            ~Restore() { item->OnMeasureItem = item->OwnMeasureHandler(); }
        } restore{this};
        TMenuItem::MeasureItem(canvas, width, height);
        width += WideTextWidth(canvas, Caption()) - WideTextWidth(canvas, WideFromSystemAnsi(TMenuItem::Caption()));
        if (ShortCut() != 0)
            width += WideTextWidth(canvas, WideShortCutToText(ShortCut())) -
                     WideTextWidth(canvas, WideFromSystemAnsi(ShortCutToText(ShortCut())));
    }
    if (UserMeasureItem) UserMeasureItem(this, canvas, width, height);
}

void TUcMenuItem::DrawWideText(TCanvas* canvas, const std::wstring& text, TRect& rect, bool selected, UINT flags) {
    if (!UnicodePlatform || IsLine()) {
        DoDrawText(canvas, SystemAnsiFromWide(text), rect, selected, flags);
        return;
    }
    TMenu* menu = GetParentMenu();
    if (menu && menu->IsRightToLeft()) flags |= DT_RIGHT | DT_RTLREADING;
    std::wstring shown = text;
    if ((flags & DT_CALCRECT) && (shown.empty() || shown == L"&")) shown += L' ';
    if (Default()) {
        TFontStyles style = canvas->Font().Style();
        style.Include(fsBold);
        canvas->Font().SetStyle(style);
    }
    HDC dc = canvas->Handle();
    int oldMode = SetBkMode(dc, TRANSPARENT);
    if (!Enabled()) {
        if (!selected) {
            OffsetRect(&rect, 1, 1);
            SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
            ApiDrawText(dc, shown.c_str(), static_cast<int>(shown.size()), &rect, flags);
            OffsetRect(&rect, -1, -1);
        }
        TColor shadow = ColorToRGB(clBtnShadow);
        SetTextColor(dc, static_cast<COLORREF>(selected && ColorToRGB(clHighlight) == shadow ? ColorToRGB(clBtnHighlight)
                                                                                             : shadow));
    }
    ApiDrawText(dc, shown.c_str(), static_cast<int>(shown.size()), &rect, flags);
    SetBkMode(dc, oldMode);
}

void TUcMenuItem::AdvancedDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state, bool topLevel) {
    TMenu* menu = GetParentMenu();
    bool handlersDraw = menu && (menu->OwnerDraw() || GetImageList()) && (OnAdvancedDrawItem || OnDrawItem);
    if (!UnicodePlatform || IsLine() || handlersDraw) {
        TMenuItem::AdvancedDrawItem(canvas, rect, state, topLevel);
        return;
    }
    // Everything but the texts, drawn by the class library.
    std::string ansiCaption = TMenuItem::Caption();
    std::wstring wideCaption = Caption();
    TShortCut shortCut = ShortCut();
    suppress_change_ = true;
    try {
        TMenuItem::SetCaption("");
        TMenuItem::SetShortCut(0);
        suppress_change_ = false;
        TMenuItem::AdvancedDrawItem(canvas, rect, state, topLevel);
    } catch (...) {
        suppress_change_ = true;
        TMenuItem::SetCaption(ansiCaption);
        TMenuItem::SetShortCut(shortCut);
        suppress_change_ = false;
        throw;
    }
    suppress_change_ = true;
    TMenuItem::SetCaption(ansiCaption);
    TMenuItem::SetShortCut(shortCut);
    suppress_change_ = false;

    bool rightToLeft = menu && menu->IsRightToLeft();
    bool selected = state.Contains(odSelected);
    bool win98Plus = Win98Plus();
    TRect r = rect;
    // The glyph area: this library's items carry no images or bitmaps.
    int glyphLeft = r.left + 1;
    int glyphRight = glyphLeft;
    if (rightToLeft) {
        int left = r.right + r.left - glyphRight;
        glyphRight = r.right + r.left - glyphLeft;
        glyphLeft = left;
    }
    glyphLeft -= 1;
    glyphRight += 2;
    if (selected && !(win98Plus && topLevel)) canvas->Brush().SetColor(clHighlight);
    if (topLevel && win98Plus && !selected) OffsetRect(&r, 0, -1);
    if (rightToLeft) r.right = glyphLeft - 1;
    else r.left = glyphRight + 1;
    r.left += 2;
    r.right -= 1;
    UINT style = AlignmentStyle() | DT_EXPANDTABS | DT_SINGLELINE;
    if (Win2K() && state.Contains(odNoAccel)) style |= DT_HIDEPREFIX;
    if (state.Contains(odDefault)) {
        TFontStyles fontStyle = canvas->Font().Style();
        fontStyle.Include(fsBold);
        canvas->Font().SetStyle(fontStyle);
    }
    TRect measured = r;
    int savedHeight = RectHeight(r);
    int savedRight = r.right;
    DrawWideText(canvas, wideCaption, measured, selected, style | DT_CALCRECT | DT_NOCLIP);
    if (rightToLeft) {
        measured.left = r.left;
        measured.right = r.right;
    }
    r = measured;
    OffsetRect(&r, 0, (savedHeight - RectHeight(measured)) / 2);
    if (selected && topLevel && win98Plus) OffsetRect(&r, 1, 0);
    DrawWideText(canvas, wideCaption, r, selected, style);
    if (shortCut != 0 && !topLevel) {
        std::wstring keys = WideShortCutToText(shortCut);
        if (rightToLeft) {
            r.left = 10;
            r.right = 10 + WideCanvasTextWidth(*canvas, keys);
        } else {
            r.left = r.right;
            r.right = savedRight - 10;
        }
        DrawWideText(canvas, keys, r, selected, DT_RIGHT);
    }
}

// --- popup list ------------------------------------------------------------------------------

const TClassInfo& TUcPopupList::StaticClass() {
    static const TClassInfo info = DefineClass<TUcPopupList>("TUcPopupList", &TPopupList::StaticClass(), [](auto&) {});
    return info;
}

void TUcPopupList::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_MENUSELECT: {
        WORD id = LOWORD(m.WParam);
        bool byHandle = HIWORD(m.WParam) & MF_POPUP;
        for (int i = 0; i < Count(); ++i) {
            uintptr_t value = id;
            if (byHandle)
                value = m.LParam ? reinterpret_cast<uintptr_t>(GetSubMenu(reinterpret_cast<HMENU>(m.LParam), id))
                                 : static_cast<uintptr_t>(-1);
            if (TMenuItem* item = Menus(i)->FindItem(value, byHandle ? fkHandle : fkCommand)) {
                WideMenuHintReceiver(WideGetLongHint(MenuItemWideHint(item)));
                return;
            }
        }
        WideMenuHintReceiver(std::wstring());
        break;
    }
    case WM_ENTERMENULOOP:
        PopupList = saved_;
        for (int i = 0; i < Count(); ++i) RefreshWideMenu(Menus(i));
        break;
    }
    TPopupList::WndProc(m);
}

void StartWideMenus() {
    if (!g_menu_starts.Start()) return;
    if (!WideMenuHintReceiver)
        WideMenuHintReceiver = [](const std::wstring& hint) {
            if (UcApplication) UcApplication->SetWideHint(hint);
            else if (Application) Application->SetHint(SystemAnsiFromWide(hint));
        };
    UcPopupList = New<TUcPopupList>();
}

void StopWideMenus() {
    if (!g_menu_starts.Stop()) return;
    FreeAndNil(UcPopupList);
}

void RegisterWideMenuClasses() {
    RegisterClass(TUcMenuItem::StaticClass());
}
