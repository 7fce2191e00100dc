// TApplication: the program's hidden application window (its title is the
// task bar's), form creation, the message loop, exception reporting and
// hints. Created by ClassLibStartup at the program's entry.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "classlib/gui/graphic_control.h"
#include "classlib/gui/hint_window.h"
#include "classlib/gui/scoped_win32.h"

class TCustomForm;
class TBasicAction;

using TExceptionEvent = TEvent<void(TObject* Sender, const std::exception& E)>;
using TMessageEvent = TEvent<void(MSG& Msg, bool& Handled)>;
using TIdleEvent = TEvent<void(TObject* Sender, bool& Done)>;
// Sees a message of the application window before the window does; true
// when it has handled it (the message's Result is returned).
using TWindowHook = std::function<bool(TMessage& message)>;

class TApplication : public TComponent {
    DECLARE_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;
    void BeforeDestruction() override;

    void Initialize() {}
    HWND Handle() const { return window_.Get(); }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    TCustomForm* MainForm() const { return main_form_; }
    const std::string& HelpFile() const { return help_file_; }
    void SetHelpFile(const std::string& file) { help_file_ = file; }
    bool HelpCommand(UINT command, ULONG_PTR data);

    // Creates a form owned by the application; ref is set before the form's
    // layout and OnCreate run. The first form becomes the main form.
    template <class T>
    void CreateForm(T*& ref) {
        T* form = new T(this);
        ref = form;
        try {
            form->AfterConstruction();
        } catch (...) {
            ref = nullptr;
            form->Free();
            throw;
        }
        FormCreated(form);
    }

    // Shows the main form and runs the message loop until Terminate.
    void Run();
    // Asks the loop to end (posts the quit message); also before Run.
    void Terminate();
    bool Terminated() const { return terminated_; }
    void ProcessMessages();
    // Handles one message, or waits for one when none is queued.
    void HandleMessage();
    // Reports the exception being handled (call from a catch block):
    // EAbort silently, others through OnException or the message box.
    void HandleException(TObject* sender);
    void ShowException(const std::exception& e);
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    std::vector<HWND> DisableTaskWindows(HWND except);
    void EnableTaskWindows(const std::vector<HWND>& windows);

    bool ShowHint() const { return show_hint_; }
    void SetShowHint(bool value);
    int HintPause() const { return hint_pause_; }
    void SetHintPause(int ms) { hint_pause_ = ms; }
    void HintMouseMessage(TControl* control, TMessage& message);
    void CancelHint();
    // The class of the hint window (a creatable descendant of
    // THintWindow); CM_HINTSHOW may choose another for one hint.
    const TClassInfo* HintWindowClass() const { return hint_window_class_; }
    void SetHintWindowClass(const TClassInfo* value);
    // Hints of controls with an action show its shortcut too.
    bool HintShortCuts() const { return hint_short_cuts_; }
    void SetHintShortCuts(bool value) { hint_short_cuts_ = value; }
    // The status-line hint (what the mouse or a menu points at); a change
    // runs OnHint, or else a THintAction carrying it, which the application
    // offers to the forms (a status bar can show it).
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    // The modeless dialog whose messages the loop lets the dialog handle.
    HWND DialogHandle() const { return dialog_handle_; }
    void SetDialogHandle(HWND value) { dialog_handle_ = value; }
    // Hooks see every message of the application window first, in the
    // order they were added, WM_CREATE of a window made later included.
    // The number identifies the hook for UnhookMainWindow.
    int HookMainWindow(TWindowHook hook);
    void UnhookMainWindow(int hook);
    // The control under the mouse as the last message or idle time saw it.
    TControl* MouseControl() const { return mouse_control_; }
    // An action no client handled: the active form's controls, then the
    // main form's, are offered it. True when one took it.
    bool DispatchAction(TBasicAction* action, bool execute);

    // Bookkeeping kept in step by controls and forms.
    void ControlDestroying(TControl* control);
    void MainFormDestroying() { main_form_ = nullptr; }
    void ReleaseLater(TCustomForm* form);

    TExceptionEvent OnException;
    TMessageEvent OnMessage;
    TIdleEvent OnIdle;
    TNotifyEvent OnHint;

private:
    void FormCreated(TCustomForm* form);
    bool ProcessMessage(MSG& msg);
    bool IsKeyMsg(MSG& msg);
    void Idle();
    void UpdateMouseControl(TControl* control);
    void UpdateFormActions();
    void ShowHintNow();
    static LRESULT CALLBACK WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    TOwnedWindow window_;
    std::string title_;
    std::string help_file_;
    bool help_opened_ = false;
    TCustomForm* main_form_ = nullptr;
    bool terminated_ = false;
    bool show_hint_ = true;
    int hint_pause_ = 500;
    int hint_hide_pause_ = 2500;
    const TClassInfo* hint_window_class_ = &THintWindow::StaticClass();
    bool hint_short_cuts_ = true;
    TControl* hint_control_ = nullptr;
    TControl* mouse_control_ = nullptr;
    THintWindow* hint_window_ = nullptr;
    std::vector<TCustomForm*> to_release_;
    std::string hint_;
    HWND dialog_handle_ = nullptr;
    std::vector<std::pair<int, TWindowHook>> hooks_;
    int next_hook_ = 1;
};

extern TApplication* Application;

// Start-up and shut-down of the visual layer (the application object, the
// screen, common controls, system colours), called from program entries.
void ClassLibStartup();
void ClassLibShutdown();
