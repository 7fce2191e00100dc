#include "unicode/wide_hints.h"

#include "classlib/core/class_builder.h"
#include "classlib/core/scope_exit.h"
#include "classlib/gui/actions.h"
#include "classlib/gui/application.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/sys_locale.h"
#include "unicode/api_wrappers.h"
#include "unicode/code_pages.h"
#include "unicode/text/platform_flags.h"
#include "unicode/unicode_windows.h"
#include "unicode/wide_captions.h"
#include "unicode/wide_menu_texts.h"

namespace {

// The hint information last marked. Nothing else is ever read as hint
// information: any other address is not wide, without looking at it.
const THintInfo* g_prepared_hint = nullptr;

bool IsUcHintWindowClass(const TClassInfo* windowClass) {
    return windowClass && windowClass->InheritsFrom(TUcCustomHintWindow::StaticClass());
}

// DT_RTLREADING when the window's text reads from right to left. The class
// library keeps no reading order of its own: a right-to-left one shows in
// the window's style (WS_EX_RTLREADING), and counts only on a system set up
// for right-to-left scripts.
UINT ReadingOrderFlags(TWinControl& control) {
    if (!SysLocale.MiddleEast || !control.HandleAllocated()) return 0;
    return (GetWindowLongW(control.Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING) ? DT_RTLREADING : 0;
}

}  // namespace

void PrepareWideHint(THintInfo* info) {
    if (!info) return;
    const TClassInfo* windowClass = info->HintWindowClass;
    bool plain = windowClass == &THintWindow::StaticClass();
    if (!plain && !IsUcHintWindowClass(windowClass)) return;
    if (plain) info->HintWindowClass = &TUcCustomHintWindow::StaticClass();
    info->HintData = info;
    g_prepared_hint = info;
    info->HintStr = SystemAnsiFromWide(WideGetShortHint(ControlWideHintChain(info->HintControl)));
}

bool IsWideHintData(const void* data) {
    if (!data || data != g_prepared_hint) return false;
    auto* info = static_cast<const THintInfo*>(data);
    return info->HintData == data && IsUcHintWindowClass(info->HintWindowClass);
}

std::wstring WideHintText(const THintInfo* info) {
    std::wstring result = WideFromSystemAnsi(info->HintStr);
    if (result.empty()) return result;
    std::wstring shortHint = WideGetShortHint(ControlWideHintChain(info->HintControl));
    if (SystemAnsiFromWide(shortHint) == info->HintStr) return shortHint;
    // A hint that shows the shortcut of the control's action.
    if (Application && Application->HintShortCuts() && info->HintControl) {
        auto* action = dynamic_cast<TCustomAction*>(info->HintControl->Action());
        if (action && action->ShortCut() != 0 &&
            SystemAnsiFromWide(shortHint) + " (" + ShortCutToText(action->ShortCut()) + ")" == info->HintStr)
            return shortHint + L" (" + WideShortCutToText(action->ShortCut()) + L")";
    }
    return result;
}

// --- the Unicode hint window ----------------------------------------------------------------

const TClassInfo& TUcCustomHintWindow::StaticClass() {
    static const TClassInfo info = DefineClass<TUcCustomHintWindow>(
        "TUcCustomHintWindow", &THintWindow::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

void TUcCustomHintWindow::CreateParams(TCreateParams& params) {
    THintWindow::CreateParams(params);
    if (XPOrLater) params.WindowClass.style |= CS_DROPSHADOW;
}

void TUcCustomHintWindow::CreateWindowHandle(const TCreateParams& params) {
    CreateUnicodeWindowHandle(this, params, std::wstring(), false);
}

void TUcCustomHintWindow::Paint() {
    if (paint_blocked_) return;
    if (!UnicodePlatform) {
        THintWindow::Paint();
        return;
    }
    TRect r = ClientRect();
    r.left += 2;
    r.top += 2;
    TCanvas* canvas = Canvas();
    canvas->Font().Assign(Font());
    // Hint text always shows in the system's hint text colour.
    canvas->Font().SetColor(clInfoText);
    SetBkMode(canvas->Handle(), TRANSPARENT);
    std::wstring caption = ControlGetWideText(this);
    ApiDrawText(canvas->Handle(), caption.c_str(), -1, &r, DT_NOPREFIX | DT_WORDBREAK | ReadingOrderFlags(*this));
}

void TUcCustomHintWindow::Dispatch(TMessage& m) {
    if (m.Msg == CM_TEXTCHANGED) {
        if (!activating_) {
            std::wstring caption = ControlGetWideText(this);
            SIZE size{};
            {
                TWindowDC dc(Handle());
                TSelectedObject font(dc, FontHandle(*Font()));
                WideDCTextExtent(dc, caption, size);
            }
            SetWidth(size.cx + 6);
            SetHeight(size.cy + 6);
        }
        return;
    }
    THintWindow::Dispatch(m);
}

void TUcCustomHintWindow::ActivateHint(TRect rect, const std::string& hint) {
    activating_ = true;
    TScopeExit done([this] { activating_ = false; });
    THintWindow::ActivateHint(rect, hint);
}

void TUcCustomHintWindow::ActivateHintData(TRect rect, const std::string& hint, void* data) {
    if (!UnicodePlatform || !IsWideHintData(data)) {
        THintWindow::ActivateHintData(rect, hint, data);
        return;
    }
    {
        paint_blocked_ = true;
        activating_ = true;
        TScopeExit done([this] {
            paint_blocked_ = false;
            activating_ = false;
        });
        ControlSetWideText(this, WideHintText(static_cast<const THintInfo*>(data)));
        THintWindow::ActivateHintData(rect, hint, data);
    }
    Invalidate();
}

TRect TUcCustomHintWindow::CalcHintRect(int maxWidth, const std::string& hint, void* data) {
    if (!UnicodePlatform || !IsWideHintData(data)) return THintWindow::CalcHintRect(maxWidth, hint, data);
    std::wstring text = WideHintText(static_cast<const THintInfo*>(data));
    RECT r{0, 0, maxWidth, 0};
    TWindowDC dc(Handle());
    TSelectedObject font(dc, FontHandle(*Font()));
    ApiDrawText(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | ReadingOrderFlags(*this));
    r.right += 6;
    r.bottom += 2;
    return r;
}

// --- measures --------------------------------------------------------------------------------

BOOL WideDCTextExtent(HDC dc, const std::wstring& text, SIZE& size) {
    size = SIZE{0, 0};
    return GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
}

SIZE WideCanvasTextExtent(TCanvas& canvas, const std::wstring& text) {
    SIZE size{};
    WideDCTextExtent(canvas.Handle(), text, size);
    return size;
}

int WideCanvasTextWidth(TCanvas& canvas, const std::wstring& text) {
    return WideCanvasTextExtent(canvas, text).cx;
}

int WideCanvasTextHeight(TCanvas& canvas, const std::wstring& text) {
    return WideCanvasTextExtent(canvas, text).cy;
}
