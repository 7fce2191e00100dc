// A popup menu for tests: it records where it was asked to pop up instead
// of tracking the menu (which would wait for the user), and fires OnPopup
// as a shown menu does.
#pragma once
#include <vector>

#include "classlib/gui/geometry.h"
#include "classlib/gui/menus.h"

class TRecordingPopupMenu : public TPopupMenu {
public:
    explicit TRecordingPopupMenu(TComponent* owner) : TPopupMenu(owner) {}
    void Popup(int x, int y) override {
        if (OnPopup) OnPopup(this);
        shown.push_back(Point(x, y));
        Shown();
    }
    std::vector<TPoint> shown;

protected:
    // What a test's menu does once it has been asked.
    virtual void Shown() {}
};
