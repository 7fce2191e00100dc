// Helpers for tests that drive windows as a person would: pumping
// messages, clicking and typing through real window messages, reading
// pixels, saving screenshots, and answering the interaction seam.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "classlib/gui/geometry.h"
#include "classlib/testing/png_writer.h"
#include "classlib/platform/interaction.h"
#include "classlib/gui/win32.h"

class TControl;
class TWinControl;

// Handles every message queued for this thread before the call (and what
// handling them queues in turn), then lets the thread's visible windows
// paint what is pending: when it returns, the queue is empty and the
// screen shows the windows' current state.
void DrainMessages();
// Pumps until the condition holds or the time-out (which only bounds a
// failure) has passed; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// Input sent with SendInput reaches the thread's queue asynchronously (under
// Wine through the X server). Take a mark before sending, then wait until
// the thread has taken a matching input message from its queue after the
// mark; the queue is drained before returning. False (and a note on the
// error output) when none came in time.
using TInputMark = unsigned long long;
TInputMark MarkInput();
bool WaitForInput(TInputMark mark, const std::function<bool(const MSG&)>& matches, int count = 1,
                  int timeoutMs = 5000);
// Common matches: the release of a key; a mouse message at a screen point.
std::function<bool(const MSG&)> KeyReleased(WORD key);
std::function<bool(const MSG&)> MouseMessageAt(UINT clientMessage, POINT screen);

// Mouse input at a point of the control's client area (windowless controls
// receive it through their parent's window, as real input does).
void ClickAt(TControl* control, int x, int y);
void DoubleClickAt(TControl* control, int x, int y);
void WheelAt(TWinControl* control, int delta);
// Left-button steps at a client point of the control, delivered at once to
// the window that receives the control's mouse input (its own, or its
// parent's for windowless controls); the cursor is placed there as well.
// A held button's capture decides, as with real input, where later steps go.
void MouseDownAt(TControl* control, int x, int y);
void MouseMoveAt(TControl* control, int x, int y);
void MouseUpAt(TControl* control, int x, int y);
// Moves the mouse (real input) to a client point of the control.
void MoveMouseTo(TControl* control, int x, int y);
// Presses or releases the left button where the pointer is.
void MouseButton(bool down);
// Key presses to the window that has the focus.
void PressKey(WORD key);
void TypeText(const std::string& text);

// The window's current pixels (client area), as the screen shows them.
class TWindowPixels {
public:
    explicit TWindowPixels(HWND window, bool wholeWindow = false);
    COLORREF At(int x, int y) const;
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool operator==(const TWindowPixels&) const = default;
    // Saves a PNG picture of what was captured.
    void SavePng(const std::string& fileName) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;  // 0x00RRGGBB, top-down
};

// The entries a combo box's window holds, read from the window itself.
std::vector<std::string> ComboBoxEntries(HWND box);

// The folder test screenshots go to (the build folder's "screenshots").
std::string ScreenshotFolder();

// Answers message boxes, dialogs and modal forms from a script and records
// what was asked. Installed for its lifetime.
class TScriptedInteraction : public TInteraction {
public:
    struct Box {
        std::string Text, Caption;
        bool HasCaption;
        unsigned Flags;
        void* Owner;
    };
    struct Shell {
        std::string Verb, File, Parameters, Directory;
        int Show;
    };
    TScriptedInteraction();
    ~TScriptedInteraction() override;

    int MessageBox(void* owner, const char* text, const char* caption, unsigned flags) override;
    intptr_t ShellExecute(void* owner, const char* verb, const char* file, const char* parameters,
                          const char* directory, int showCommand) override;
    bool ExecuteDialog(TCommonDialogKind kind, void* dialogStruct) override;
    // Recorded as cdkBrowseFolder in Dialogs.
    void* BrowseForFolder(void* browseInfo) override;
    int ShowModal(TObject* form, const std::function<int()>& show) override;

    // Answers, used in order; when they run out: IDOK / false / mrCancel.
    std::deque<int> BoxAnswers;
    std::deque<std::function<bool(TCommonDialogKind, void*)>> DialogAnswers;
    // A folder answer gets the BROWSEINFOA (it may call its callback) and
    // returns an item-ID list from the task allocator, or nullptr (cancel).
    std::deque<std::function<void*(void*)>> FolderAnswers;
    // A modal form answer gets the form and returns the modal result;
    // without one the real modal loop runs.
    std::deque<std::function<int(TObject*)>> ModalAnswers;
    std::vector<Box> Boxes;
    // Called with each box as it is shown, before it is answered: what the
    // program has done by then can be looked at.
    std::function<void(const Box&)> OnBox;
    std::vector<Shell> ShellCalls;
    std::vector<TCommonDialogKind> Dialogs;
    std::vector<TObject*> ModalForms;
};
