// Tests' checks both shell-namespace components' units must pass, the
// editor's and the runtime's older one.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "classlib/core/exceptions.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/menus.h"

// The names of the objects an enumeration passes, from its start.
template <class Component>
auto EnumeratedNames(Component& shell) {
    std::set<decltype(shell.ObjectName())> names;
    while (shell.Next()) names.insert(shell.ObjectName());
    return names;
}

// The message of the Error that work raises.
template <class Error>
std::string RaisedMessage(const std::function<void()>& work) {
    try {
        work();
    } catch (const Error& e) {
        return e.Message();
    }
    return "(nothing raised)";
}

// Without its unit the component cannot be made: making one on a form
// raises, and the form is left without it (its end frees nothing twice).
template <class Component>
void ExpectCreationWithoutTheUnitRaises(void (*stopUnit)(), void (*startUnit)()) {
    auto form = MakeOwned<TForm>(nullptr);
    stopUnit();
    bool raised = false;
    try {
        New<Component>(form.get());
    } catch (const Exception&) {
        raised = true;
    }
    startUnit();
    EXPECT_TRUE(raised);
    EXPECT_EQ(form->ComponentCount(), 0);
}

// The unit's menu items, `count` of them without owner, live from its start
// to its end.
inline void ExpectUnitMenuItems(TMenuItem* (*item)(int), int count, void (*stopUnit)(), void (*startUnit)()) {
    ASSERT_NE(item(0), nullptr);
    ASSERT_NE(item(count - 1), nullptr);
    EXPECT_EQ(item(count), nullptr);
    EXPECT_EQ(item(0)->Owner(), nullptr);
    EXPECT_NE(item(0), item(1));
    stopUnit();
    EXPECT_EQ(item(0), nullptr) << "freed at the unit's end";
    startUnit();
    EXPECT_NE(item(0), nullptr);
}
