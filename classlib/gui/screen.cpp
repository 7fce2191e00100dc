#include "classlib/gui/screen.h"

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/scoped_win32.h"

TScreen* Screen = nullptr;

namespace {

// The system cursor behind each of the standard cursor numbers; nullptr
// for numbers that are none of them.
LPCSTR StandardCursorId(TCursor index) {
    struct Standard {
        TCursor index;
        LPCSTR id;
    };
    static const Standard standard[] = {
        {crDefault, IDC_ARROW},     {crArrow, IDC_ARROW},     {crCross, IDC_CROSS},      {crIBeam, IDC_IBEAM},
        {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},   {crSizeNWSE, IDC_SIZENWSE}, {crSizeWE, IDC_SIZEWE},
        {crUpArrow, IDC_UPARROW},   {crHourGlass, IDC_WAIT},  {crNo, IDC_NO},            {crAppStart, IDC_APPSTARTING},
        {crHelp, IDC_HELP},         {crHandPoint, IDC_HAND},  {crSizeAll, IDC_SIZEALL},  {crDrag, IDC_ARROW},
        {crNoDrop, IDC_NO},         {crHSplit, IDC_SIZEWE},   {crVSplit, IDC_SIZENS},    {crMultiDrag, IDC_ARROW},
        {crSQLWait, IDC_WAIT},
    };
    for (const Standard& s : standard)
        if (s.index == index) return s.id;
    return nullptr;
}

}  // namespace

const TClassInfo& TScreen::StaticClass() {
    static const TClassInfo info = DefineClass<TScreen>("TScreen", &TComponent::StaticClass(), [](auto&) {});
    return info;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
    pixels_per_inch_ = GetDeviceCaps(TWindowDC(nullptr), LOGPIXELSY);
    SetScreenPixelsPerInch(pixels_per_inch_);
    cursors_[crNone] = nullptr;
}

TScreen::~TScreen() = default;

int32_t TScreen::Width() const {
    return GetSystemMetrics(SM_CXSCREEN);
}

int32_t TScreen::Height() const {
    return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::WorkAreaRect() const {
    RECT r{0, 0, Width(), Height()};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

int32_t TScreen::DesktopLeft() const {
    return GetSystemMetrics(SM_XVIRTUALSCREEN);
}

int32_t TScreen::DesktopTop() const {
    return GetSystemMetrics(SM_YVIRTUALSCREEN);
}

int32_t TScreen::DesktopWidth() const {
    int w = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    return w ? w : Width();
}

int32_t TScreen::DesktopHeight() const {
    int h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return h ? h : Height();
}

void TScreen::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    POINT p;
    GetCursorPos(&p);
    ::SetCursor(Cursors(cursor == crDefault ? crArrow : cursor));
}

HCURSOR TScreen::Cursors(TCursor index) const {
    auto it = cursors_.find(index);
    if (it != cursors_.end()) return it->second;
    // The system's cursors are loaded when first asked for: most of them
    // are never shown, and loading them all slows every start.
    if (LPCSTR id = StandardCursorId(index)) return cursors_[index] = LoadCursorA(nullptr, id);
    return Cursors(crDefault);
}

void TScreen::SetCursors(TCursor index, HCURSOR cursor) {
    cursors_[index] = cursor;
}

void TScreen::AddForm(TCustomForm* form) {
    forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (active_form_ == form) active_form_ = nullptr;
}
