// Forms and scrolling containers: TScrollingWinControl with its scroll
// bars, TScrollBox, TCustomForm (layout, showing, modal loop, closing,
// focus) and TForm.
#pragma once
#include <string>

#include "classlib/gui/wincontrol.h"

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollBarInc : int32_t {};

class TScrollingWinControl;
class TMainMenu;

// One scroll bar of a scrolling control. The range follows the children
// (auto range); the position is clamped to what can be scrolled.
class TControlScrollBar : public TPersistent {
    DECLARE_CLASS(TControlScrollBar, TPersistent)
public:
    TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind) : control_(control), kind_(kind) {}
    TScrollBarKind Kind() const { return kind_; }
    int32_t Position() const { return position_; }
    void SetPosition(int32_t value);
    int32_t Range() const { return range_; }
    void SetRange(int32_t value);
    int32_t Increment() const { return increment_; }
    void SetIncrement(int32_t value) { increment_ = value; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool Tracking() const { return tracking_; }
    void SetTracking(bool value) { tracking_ = value; }
    // Whether the bar is shown now (range beyond the client size).
    bool IsScrollBarVisible() const;
    int32_t ScrollPos() const { return IsScrollBarVisible() ? position_ : 0; }
    void Assign(const TPersistent* source) override;

private:
    friend class TScrollingWinControl;
    int32_t ControlSize(bool withBars) const;
    void Update();
    void ScrollMessage(TMessage& m);

    TScrollingWinControl* control_;
    TScrollBarKind kind_;
    int32_t position_ = 0;
    int32_t range_ = 0;
    int32_t increment_ = 8;
    bool visible_ = true;
    bool tracking_ = false;
    bool updating_ = false;
};

class TScrollingWinControl : public TWinControl {
    DECLARE_CLASS(TScrollingWinControl, TWinControl)
public:
    explicit TScrollingWinControl(TComponent* owner);
    ~TScrollingWinControl() override;
    TControlScrollBar* HorzScrollBar() const { return horz_.get(); }
    TControlScrollBar* VertScrollBar() const { return vert_.get(); }
    void SetHorzScrollBar(TControlScrollBar* bar) { horz_->Assign(bar); }
    void SetVertScrollBar(TControlScrollBar* bar) { vert_->Assign(bar); }
    bool AutoScroll() const { return auto_scroll_; }
    void SetAutoScroll(bool value);
    void ScrollInView(TControl* control);
    void Dispatch(TMessage& message) override;
    void AdjustClientRect(TRect& rect) override;

protected:
    void CreateWnd() override;
    void AlignControls(TControl* control, TRect& rect) override;
    // Range from the children's extents (those aligned to the top, left or
    // not at all).
    void CalcAutoRange();
    void UpdateScrollBars();
    friend class TControlScrollBar;

private:
    std::unique_ptr<TControlScrollBar> horz_;
    std::unique_ptr<TControlScrollBar> vert_;
    bool auto_scroll_ = true;
    bool updating_bars_ = false;
};

class TScrollBox : public TScrollingWinControl {
    DECLARE_CLASS(TScrollBox, TScrollingWinControl)
public:
    explicit TScrollBox(TComponent* owner);
    TBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TBorderStyle style);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TBorderStyle border_style_ = bsSingle;
};

enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
    poMainFormCenter, poOwnerFormCenter
};
DECLARE_ENUM_TYPE(TPosition)
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
DECLARE_ENUM_TYPE(TWindowState)
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
DECLARE_ENUM_TYPE(TBorderIcon)
using TBorderIcons = TSet<TBorderIcon>;

using TModalResult = int32_t;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO, mrAll = mrNo + 1,
                       mrNoToAll = mrAll + 1, mrYesToAll = mrNoToAll + 1;
const TTypeInfo* ModalResultType();  // integer with the mr identifiers

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TScrollingWinControl {
    DECLARE_CLASS(TCustomForm, TScrollingWinControl)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    // Reads the layout of the class, then runs OnCreate (an exception there
    // goes to the application's handler and creation goes on).
    void AfterConstruction() override;
    // Runs OnDestroy first.
    void BeforeDestruction() override;

    void Show();
    void Close();
    bool CloseQuery();
    // Shows the form and runs its own message loop until ModalResult is set.
    TModalResult ShowModal();
    // Frees the form once the messages now queued are handled.
    void Release();
    bool Modal() const { return modal_; }
    TModalResult ModalResult() const { return modal_result_; }
    // Takes effect only while the form is shown modally.
    void SetModalResult(TModalResult value);

    TWinControl* ActiveControl() const { return active_control_; }
    void SetActiveControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    bool SetFocusedControl(TWinControl* control);
    void ControlRemoving(TWinControl* control);
    bool Active() const { return active_; }

    TFormBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return border_icons_; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TWindowState WindowState() const { return window_state_; }
    void SetWindowState(TWindowState state);
    bool KeyPreview() const { return key_preview_; }
    void SetKeyPreview(bool value) { key_preview_ = value; }
    int32_t PixelsPerInch() const { return pixels_per_inch_; }
    void SetPixelsPerInch(int32_t value) { pixels_per_inch_ = value; }
    int32_t TextHeight() const { return text_height_; }
    void SetTextHeight(int32_t value) { text_height_ = value; }
    bool Scaled() const { return scaled_; }
    void SetScaled(bool value) { scaled_ = value; }
    bool OldCreateOrder() const { return old_create_order_; }
    void SetOldCreateOrder(bool value) { old_create_order_ = value; }
    int32_t LayoutClientWidth() const;
    int32_t LayoutClientHeight() const;
    void SetLayoutClientWidth(int32_t value);
    void SetLayoutClientHeight(int32_t value);

    // The menu bar of the form's window.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // Lets the actions of the form, its controls and its menu update
    // (the application calls it at idle time for visible forms).
    virtual void UpdateActions();
    // An action no client handled: the focused control, the form and then
    // its other controls are offered it.
    bool DispatchAction(TBasicAction* action, bool execute);
    void Notification(TComponent* component, TOperation operation) override;

    bool Showing() const override;
    // The controls, then (for the layout's root) the owned components
    // without a parent: image lists, menus, dialogs.
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    void Dispatch(TMessage& message) override;
    bool DoKeyDown(TMessage& m) override;
    bool DoKeyPress(TMessage& m) override;
    bool DoKeyUp(TMessage& m) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    // The class whose descendants bring layouts: the layouts of every class
    // below it down to this form's class are read, and one of them must
    // exist (unless the form is of the root class itself).
    virtual const TClassInfo& LayoutRootClass() const;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void VisibleChanging() override;
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    void CMDialogKey(TMessage& m);
    // WM_COMMAND, WM_INITMENUPOPUP, WM_MENUSELECT and the owner-draw
    // messages of the form's menu; true when the menu took the message.
    bool MenuMessage(TMessage& m);
    void CMShowingChanged(TMessage& m);
    void CMVisibleChanged(TMessage& m);

private:
    void CloseModal();
    void PlaceWindow();

    TWinControl* active_control_ = nullptr;
    TWinControl* focused_control_ = nullptr;
    TMainMenu* menu_ = nullptr;
    TFormBorderStyle border_style_ = bsSizeable;
    TBorderIcons border_icons_{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    TWindowState window_state_ = wsNormal;
    TModalResult modal_result_ = mrNone;
    bool modal_ = false;
    bool active_ = false;
    bool key_preview_ = false;
    bool showing_window_ = false;
    bool scaled_ = true;
    bool old_create_order_ = false;
    int32_t pixels_per_inch_ = 96;
    int32_t text_height_ = 13;
    int32_t layout_client_width_ = -1;
    int32_t layout_client_height_ = -1;
};

class TForm : public TCustomForm {
    DECLARE_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// The form's layout text by class name: registered in-memory layouts first
// (tests), then the program's RCDATA resource named after the class.
void RegisterLayout(const std::string& className, const std::string& text);
bool FindLayout(const std::string& className, std::string& text);
