// TWinControl: a control with its own window. The window is created
// lazily, parents first, whenever something needs it (showing, a property
// kept in the window, Handle()); every message reaches the object through
// one window procedure that never lets a C++ exception escape.
#pragma once
#include <string>
#include <vector>

#include "classlib/gui/canvas.h"
#include "classlib/gui/control.h"

class TWinControl;

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSA WindowClass{};
    std::string WinClassName;
};

// The control that owns a window (nullptr for foreign windows).
TWinControl* FindControl(HWND window);
// The control whose window CreateWindowHandle is creating on this thread:
// the first messages of a window, before CreateWindowEx returns, go to it.
// A window procedure that attaches the window itself clears it.
TWinControl* CreationControl();
void SetCreationControl(TWinControl* control);
// The control under capture, windowless ones included.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);

class TWinControl : public TControl {
    DECLARE_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    void BeforeDestruction() override;

    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded();
    // Destroys and creates the window again, keeping the control's state.
    void RecreateWnd();
    void DestroyHandle();
    // A window that is not one of ours hosts this control (top-level use).
    HWND ParentWindow() const { return parent_window_; }
    void SetParentWindow(HWND window);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_[static_cast<size_t>(index)]; }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(const TControl* control) const;
    // The topmost visible windowless child at a client position.
    TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls = false);
    // Sends the message to every child until one sets a result.
    void Broadcast(TMessage& message);
    // Sends the message to every child.
    void NotifyControls(UINT msg);

    // Alignment of the children (alTop ... alClient).
    void Realign();
    void DisableAlign();
    void EnableAlign();
    void AlignControl(TControl* control);
    virtual void AdjustClientRect(TRect& rect);

    int32_t TabOrder() const;
    void SetTabOrder(int32_t order);
    bool TabStop() const { return tab_stop_; }
    void SetTabStop(bool value);
    bool Ctl3D() const { return ctl3d_; }
    void SetCtl3D(bool value);
    bool ParentCtl3D() const { return parent_ctl3d_; }
    void SetParentCtl3D(bool value);
    bool DoubleBuffered() const { return double_buffered_; }
    void SetDoubleBuffered(bool value) { double_buffered_ = value; }
    TBrush& Brush() { return *brush_; }

    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();
    // Windowed children in tab order.
    void GetTabOrderList(std::vector<TWinControl*>& list);
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent);
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    bool Showing() const override;
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
    TRect ClientRect() override;
    TPoint ClientOrigin() override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    void SetChildZOrder(TControl* child, bool topmost);
    // Moves every child by (dx, dy), the aligned ones too, before the
    // layout is brought up to date: the scrolled area's extent is measured
    // from children that all stand where the new scroll position puts them.
    void ScrollBy(int dx, int dy);
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, int order) override;

    void WndProc(TMessage& message) override;
    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // The window class's own procedure (DefWindowProc or the system
    // control's), where DefaultHandler sends what the control leaves.
    // Replaceable: a window made another way, or code in front of the
    // class's procedure, puts its own in.
    WNDPROC DefWndProc() const { return def_wnd_proc_; }
    void SetDefWndProc(WNDPROC proc) { def_wnd_proc_ = proc; }
    // For a CreateWindowHandle that makes the window itself: the window is
    // the control's from now on (marked with the control atom unless the
    // window procedure did so already).
    void AttachCreatedWindow(HWND window);
    // The window is ending without the control's own handling hearing of
    // it (its procedure passes nothing on any more): the control lets go.
    void ForgetWindow();

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;

protected:
    const TClassInfo& GetActionLinkClass() const override;
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateHandle();
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    // Uses a system window class (BUTTON, EDIT, ...) under the class
    // library's class name.
    void CreateSubClass(TCreateParams& params, const char* controlClassName);
    // Creates the window when the control should be on screen.
    void UpdateControlState();
    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void PaintWindow(HDC dc);
    void PaintControls(HDC dc, TControl* first);
    void PaintHandler(TMessage& m);
    std::string GetText() const override;
    void SetTextValue(const std::string& value) override;
    virtual bool DoKeyDown(TMessage& m);
    virtual bool DoKeyPress(TMessage& m);
    virtual bool DoKeyUp(TMessage& m);
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual void DoEnter();
    virtual void DoExit();
    // Sends the child notification back to the child (CN_*); true when the
    // window belongs to one of our controls.
    bool DoControlMsg(HWND child, TMessage& m);

    // Message handlers of TWinControl.
    void WMPaint(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void WMWindowPosChanged(TMessage& m);
    void WMSize(TMessage& m);
    void WMSetFocus(TMessage& m);
    void WMKillFocus(TMessage& m);
    void WMSetCursor(TMessage& m);
    void WMMouseWheel(TMessage& m);
    void WMNCDestroy(TMessage& m);
    void CNKeyDown(TMessage& m);
    void CNKeyUp(TMessage& m);
    void CNChar(TMessage& m);
    void CNSysChar(TMessage& m);
    void CNCtlColor(TMessage& m);
    void CMMouseWheel(TMessage& m);
    void CMDialogKey(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMEnter(TMessage& m);
    void CMExit(TMessage& m);
    void CMColorChanged(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMVisibleChanged(TMessage& m);
    void CMShowHintChanged(TMessage& m);
    void CMCursorChanged(TMessage& m);

    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);

    HWND handle_ = nullptr;

private:
    void UpdateBounds();
    void DoAlign(TAlign align, TRect& rect, TControl* changed);

    WNDPROC def_wnd_proc_ = nullptr;
    HWND parent_window_ = nullptr;
    std::vector<TControl*> controls_;      // all children, in z-order (bottom first)
    std::vector<TWinControl*> tab_list_;   // windowed children in tab order
    int32_t pending_tab_order_ = -1;
    TOwned<TBrush> brush_;
    int align_level_ = 0;
    bool tab_stop_ = false;
    bool ctl3d_ = true;
    bool parent_ctl3d_ = true;
    bool double_buffered_ = false;
};

// The window class atom under which every control window's object is
// stored; also the window procedure our classes use.
LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
