#include "classlib/gui/screen.h"

#include <gtest/gtest.h>

#include "classlib/gui/forms.h"
#include "classlib/testing/gui_testing.h"

namespace {

HCURSOR SystemCursor(LPCSTR id) {
    return LoadCursorA(nullptr, id);
}

TEST(Screen, EachStandardCursorNumberGivesTheSystemsCursor) {
    struct Expected {
        TCursor index;
        LPCSTR id;
    };
    const Expected expected[] = {
        {crDefault, IDC_ARROW},     {crArrow, IDC_ARROW},     {crCross, IDC_CROSS},      {crIBeam, IDC_IBEAM},
        {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},   {crSizeNWSE, IDC_SIZENWSE}, {crSizeWE, IDC_SIZEWE},
        {crUpArrow, IDC_UPARROW},   {crHourGlass, IDC_WAIT},  {crNo, IDC_NO},            {crAppStart, IDC_APPSTARTING},
        {crHelp, IDC_HELP},         {crHandPoint, IDC_HAND},  {crSizeAll, IDC_SIZEALL},  {crDrag, IDC_ARROW},
        {crNoDrop, IDC_NO},         {crHSplit, IDC_SIZEWE},   {crVSplit, IDC_SIZENS},    {crMultiDrag, IDC_ARROW},
        {crSQLWait, IDC_WAIT},
    };
    for (const Expected& e : expected) {
        EXPECT_EQ(Screen->Cursors(e.index), SystemCursor(e.id)) << e.index;
        EXPECT_EQ(Screen->Cursors(e.index), SystemCursor(e.id)) << e.index << ", asked again";
    }
    EXPECT_EQ(Screen->Cursors(crNone), nullptr);
    // A number no cursor was given for shows the default one.
    EXPECT_EQ(Screen->Cursors(-12345), SystemCursor(IDC_ARROW));
}

TEST(Screen, ACursorGivenForAStandardNumberTakesItsPlace) {
    const HCURSOR before = Screen->Cursors(crSizeAll);
    const HCURSOR own = SystemCursor(IDC_CROSS);
    Screen->SetCursors(crSizeAll, own);
    EXPECT_EQ(Screen->Cursors(crSizeAll), own);
    Screen->SetCursors(crSizeAll, before);
    EXPECT_EQ(Screen->Cursors(crSizeAll), SystemCursor(IDC_SIZEALL));
}

TEST(Screen, AControlsCursorIsShownOverIt) {
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(100, 100, 200, 150);
    form->SetCursor(crHandPoint);
    form->Show();
    DrainMessages();
    SetCursor(SystemCursor(IDC_ARROW));
    SendMessageA(form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), SystemCursor(IDC_HAND));
}

}  // namespace
