// Unicode windows for the ANSI class library: a control's window created
// from a wide window class, and the trap that stands between that window
// and the class library, translating text and character messages.
#pragma once
#include <string>

#include "classlib/core/component.h"
#include "classlib/gui/wincontrol.h"

// Creates the control's window as a Unicode window of the class
// "<class name>.UnicodeClass" and subclasses it; baseClassName names a
// system class whose procedure does the default work (empty: the plain
// default). libraryFirstProc: the class library's own window procedure
// takes the first message instead of the layer's. Elsewhere than on the
// Unicode platform the window is an ANSI one. Raises the system's error
// when the window or its class cannot be made.
void CreateUnicodeWindowHandle(TWinControl* control, const TCreateParams& params, const std::wstring& baseClassName,
                               bool libraryFirstProc);
// Registers the wide class for params (once per procedure) and gives its name.
void RegisterUnicodeWindowClass(const TCreateParams& params, std::wstring& wideClassName, bool libraryFirstProc);
// Puts the trap between the control's Unicode window and the class
// library and applies the caption (the holder's wide one when there is
// one). Raises EUcInternalError for an ANSI window.
void SubClassUnicodeControl(TWinControl* control, const std::string& ansiCaption, bool libraryFirstProc);

// Stands between a Unicode window and the class library: the window's
// procedure, the control's default procedure and the front of its
// WindowProc. Waits in the pending list while its control has no window.
class TWinControlTrap : public TComponent {
    DECLARE_CLASS(TWinControlTrap, TComponent)
public:
    explicit TWinControlTrap(TWinControl* control);
    ~TWinControlTrap() override;
    void Notification(TComponent* component, TOperation operation) override;

    TWinControl* Control() const { return control_; }
    void Subclass(const std::string& ansiCaption);
    // The window's procedure, the control's default procedure.
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK DefaultProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    friend struct TTrapWindowMethod;
    friend void SubClassUnicodeControl(TWinControl*, const std::string&, bool);
    void WindowMethod(TMessage& message);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    void TakeOverWindowProc();
    bool InWindowProcChain();
    void Unsubclass();
    void FreeWhenIdle();

    TWinControl* control_;
    HWND handle_ = nullptr;
    WNDPROC previous_window_proc_ = nullptr;
    WNDPROC previous_default_proc_ = nullptr;
    std::function<void(TMessage&)> saved_window_method_;
    UINT last_window_message_ = 0;
    int depth_ = 0;
    bool library_first_proc_ = false;
    bool free_pending_ = false;
    bool probe_active_ = false;
    bool probe_hit_ = false;
};

// The trap's entry in front of a control's WindowProc.
struct TTrapWindowMethod {
    TWinControlTrap* Trap;
    void operator()(TMessage& message) const { Trap->WindowMethod(message); }
};

// The atoms "Ambit%.8X" and "ControlOfs%.8X%.8X" and the pending list;
// run by the wide captions' start-up and shut-down.
void StartUnicodeWindows(const std::string& controlAtomName, const std::string& windowAtomName);
void StopUnicodeWindows();
// The atoms as added (0 when not started).
ATOM UcControlAtom();
ATOM UcWindowAtom();
// WM_CHAR codes above 255 cross the ANSI class library as 255 with the
// code in the high 16 bits; the default procedure gets them back.
WPARAM CharToTransportForm(WPARAM wParam);
WPARAM CharFromTransportForm(WPARAM wParam);
