#include "classlib/gui/hint_window.h"

#include "classlib/core/class_builder.h"
#include "classlib/gui/application.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/gui/scoped_win32.h"

const TClassInfo& THintWindow::StaticClass() {
    static const TClassInfo info =
        DefineClass<THintWindow>("THintWindow", &TCustomControl::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
    SetVisibleQuietly(false);
    SetParentColor(false);
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
    SetParentFont(false);
}

void THintWindow::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP | WS_BORDER;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    p.WndParent = Application ? Application->Handle() : nullptr;
    p.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint, void*) {
    RECT r{0, 0, maxWidth, 0};
    TWindowDC dc(Handle());
    TSelectedObject font(dc, FontHandle(*Font()));
    DrawTextA(dc, hint.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    r.right += 6;
    r.bottom += 2;
    return r;
}

void THintWindow::ActivateHint(TRect rect, const std::string& hint) {
    SetCaption(hint);
    HandleNeeded();
    SetWindowPos(Handle(), HWND_TOPMOST, rect.left, rect.top, RectWidth(rect), RectHeight(rect),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Invalidate();
}

void THintWindow::ActivateHintData(TRect rect, const std::string& hint, void*) {
    ActivateHint(rect, hint);
}

void THintWindow::ReleaseHint() {
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

void THintWindow::Paint() {
    TCanvas* c = Canvas();
    c->Font().Assign(Font());
    c->Brush().SetColor(Color());
    TRect r = ClientRect();
    c->FillRect(r);
    r.left += 2;
    r.top += 2;
    SetBkMode(c->Handle(), TRANSPARENT);
    std::string text = Caption();
    DrawTextA(c->Handle(), text.c_str(), -1, &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

