// A right click on the extended controls opens their PopupMenu, and the
// menus and drag events are among what their layouts file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/gui/menus.h"
#include "classlib/stdctrls/test_support.h"
#include "classlib/testing/recording_popup_menu.h"
#include "controls/ex_label.h"
#include "controls/ex_speed_button.h"
#include "controls/file_dir_edit.h"
#include "controls/prism_color_combo_box.h"

namespace {

// A right click at a client point, sent to the window that takes the
// control's mouse input; the system turns the release into WM_CONTEXTMENU.
void RightClickAt(TControl* control, int x, int y) {
    auto* win = dynamic_cast<TWinControl*>(control);
    TWinControl* receiver = win ? win : control->Parent();
    const TPoint at = receiver->ScreenToClient(control->ClientToScreen(Point(x, y)));
    SendMessageA(receiver->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageA(receiver->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

using PopupMenuOnForm = SharedFormTest;

TEST_F(PopupMenuOnForm, ARightClickOpensTheControlsMenuAtTheCursor) {
    std::vector<TControl*> controls = {
        AddControl<TPrismColorComboBox>(form, 10, 10, 150, 22),
        AddControl<TExLabel>(form, 10, 50, 80, 17),
        AddControl<TFilenameEdit>(form, 10, 80, 150, 21),
        AddControl<TDirectoryEdit>(form, 10, 110, 150, 21),
    };
    DrainMessages();
    for (TControl* control : controls) {
        const std::string name = control->ClassName();
        TOwned<TRecordingPopupMenu> owned(New<TRecordingPopupMenu>(nullptr));
        TRecordingPopupMenu& menu = *owned;
        int popups = 0;
        menu.OnPopup = [&](TObject*) { ++popups; };
        const TPropInfo* prop = control->ClassType().FindProp("PopupMenu");
        ASSERT_NE(prop, nullptr) << name;
        prop->SetObj(*control, &menu);
        EXPECT_EQ(control->PopupMenu(), &menu) << name;
        RightClickAt(control, 6, 5);
        EXPECT_EQ(popups, 1) << name;
        ASSERT_EQ(menu.shown.size(), 1u) << name;
        EXPECT_EQ(menu.shown[0], control->ClientToScreen(Point(6, 5))) << name;
        EXPECT_EQ(menu.PopupComponent(), control) << name;
        // The handler of a control that lists it can keep the menu closed.
        if (control->ClassType().FindProp("OnContextPopup")) {
            control->OnContextPopup = [](TObject*, TPoint, bool& handled) { handled = true; };
            RightClickAt(control, 6, 5);
            EXPECT_EQ(menu.shown.size(), 1u) << name;
            control->OnContextPopup = nullptr;
        }
        control->SetPopupMenu(nullptr);
    }
}

// The names a class publishes, in their stream order.
std::vector<std::string> PublishedNames(const TClassInfo& info) {
    std::vector<std::string> names;
    for (const TPropInfo* prop : info.Props()) names.push_back(prop->Name);
    return names;
}

// The names of `wanted` that the class publishes keep their order there.
void ExpectInOrder(const TClassInfo& info, const std::vector<std::string>& wanted) {
    const std::vector<std::string> names = PublishedNames(info);
    size_t from = 0;
    for (const std::string& name : wanted) {
        auto it = std::find(names.begin() + static_cast<std::ptrdiff_t>(from), names.end(), name);
        ASSERT_NE(it, names.end()) << info.Name() << " publishes " << name << " after the names before it";
        from = static_cast<size_t>(it - names.begin()) + 1;
    }
}

TEST(PublishedDragAndMenus, EachClassFilesThemWhereItsListPutsThem) {
    ExpectInOrder(TPrismColorComboBox::StaticClass(),
                  {"ParentShowHint", "PopupMenu", "ShowHint", "OnDblClick", "OnDragDrop", "OnDragOver",
                   "OnDropDown", "OnEndDrag", "OnEnter", "OnKeyUp", "OnStartDrag"});
    ExpectInOrder(TExLabel::StaticClass(),
                  {"DragCursor", "DragMode", "Enabled", "ParentShowHint", "PopupMenu", "ShadowColor", "OnDblClick",
                   "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseLeave", "OnStartDrag",
                   "OnContextPopup"});
    for (const TClassInfo* info : {&TFilenameEdit::StaticClass(), &TDirectoryEdit::StaticClass()})
        ExpectInOrder(*info, {"DragCursor", "DragMode", "ParentShowHint", "PopupMenu", "ReadOnly", "OnDblClick",
                              "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnMouseUp", "OnStartDrag",
                              "OnContextPopup"});
    ExpectInOrder(TExSpeedButton::StaticClass(),
                  {"Action", "Alignment", "Down", "DropDownMenu", "MenuPosition", "Caption", "DragCursor",
                   "DragMode", "OnMouseEnter", "OnMouseLeave", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver",
                   "OnEndDrag", "OnMouseDown", "OnMouseUp", "OnStartDrag"});
}

}  // namespace
