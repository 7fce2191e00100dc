// Driving another program's windows as a person would: starting it,
// finding its windows, reading their texts and common-control contents,
// clicking, typing and answering its message boxes.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "classlib/core/kernel_handle.h"
#include "classlib/gui/win32.h"
#include "classlib/testing/gui_testing.h"

class TProgram {
public:
    TProgram(const std::string& exe, const std::string& arguments, const std::string& folder);
    // A program started by another one, found through its window.
    explicit TProgram(HWND window);
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;
    ~TProgram();
    DWORD ProcessId() const { return process_id_; }
    HANDLE Process() const { return process_.Get(); }
    bool WaitForExit(int timeoutMs);
    bool Running() const;

private:
    DWORD process_id_ = 0;
    TKernelHandle process_, thread_;
};

// A visible top-level window of the process (of any process when 0) whose
// title starts with `title` (any title when empty) and whose class is
// `className` (any when empty); nullptr when none appears in time.
HWND WaitForWindow(DWORD processId, const std::string& title, const std::string& className = "",
                   int timeoutMs = 10000);
// Child windows (all levels) of a class, in window order.
std::vector<HWND> ChildWindows(HWND parent, const std::string& className);
// The first child window (any level) whose text is `text`.
HWND ChildWithText(HWND parent, const std::string& text);
std::string WindowText(HWND window);

// True when the window's program handles messages: two round trips, so it
// has also passed through its idle time between them.
bool Answers(HWND window);
// Rests the mouse pointer on a point where the screen shows the top-level
// window or one of its children; false when it is covered entirely.
bool RestMouseOn(HWND top);

// Clicks a point of the window's client area; brings it to the front first.
// The other program takes the click in its own time: callers wait for the
// effect they need.
void ClickWindow(HWND window, int x, int y);
void ClickCentre(HWND window);
// The window that has the keyboard focus in the program of `window`.
HWND FocusOf(HWND window);
// A key press for the program in front; callers wait for its effect.
void SendKeyPress(WORD key);
// Types the text into the edit control that has the focus in the program of
// `window`; true once the control shows it in place of its selection.
bool TypeInto(HWND window, const std::string& text);
// The window's pixels (client area, or with its frame) once its program has
// painted what was pending and the picture no longer changes.
TWindowPixels SettledPixels(HWND window, bool wholeWindow);

// A message box of the process (text of its static control); "" when none.
std::string MessageBoxText(HWND box);

// Common-control contents read through memory of the other process.
int TabCount(HWND tabs);
std::string TabText(HWND tabs, int index);
RECT TabRect(HWND tabs, int index);
int TreeCount(HWND tree);
RECT TreeItemRect(HWND tree, HTREEITEM item);
