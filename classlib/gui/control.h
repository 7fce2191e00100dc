// TControl: everything a control has, windowed or not: bounds and
// alignment, visibility, colours and font with their parent rules, caption,
// hint, cursor, mouse handling and the message entry points.
#pragma once
#include <functional>
#include <string>

#include "classlib/core/color.h"
#include "classlib/core/component.h"
#include "classlib/core/events.h"
#include "classlib/core/font.h"
#include "classlib/gui/geometry.h"
#include "classlib/gui/messages.h"
#include "classlib/core/sets.h"

class TControl;
class TWinControl;
class TCustomForm;
class TBasicAction;
class TControlActionLink;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
DECLARE_ENUM_TYPE(TAlign)
enum TMouseButton { mbLeft, mbRight, mbMiddle };
DECLARE_ENUM_TYPE(TMouseButton)
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
DECLARE_ENUM_TYPE(TShiftStateItem)
using TShiftState = TSet<TShiftStateItem>;
enum TControlStyleItem {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
    csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents,
    csDisplayDragImage, csReflector, csActionClient, csMenuEvents
};
using TControlStyle = TSet<TControlStyleItem>;
enum TControlStateItem {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
    csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = TSet<TControlStateItem>;
enum TDragMode { dmManual, dmAutomatic };
DECLARE_ENUM_TYPE(TDragMode)
// How a drag meets a control it passes over.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
DECLARE_ENUM_TYPE(TDragState)
// Forms use all of them; other controls only bsNone and bsSingle.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
DECLARE_ENUM_TYPE(TFormBorderStyle)
using TBorderStyle = TFormBorderStyle;
const TTypeInfo* BorderStyleType();  // bsNone, bsSingle

using TMouseEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TEvent<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char& Key)>;
using TMouseWheelEvent =
    TEvent<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = TEvent<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;

// What a drag carries when the source's OnStartDrag supplies one; the
// handler that makes it frees it (OnEndDrag). Without one, the targets see
// the source control.
class TDragObject : public TObject {
    DECLARE_CLASS(TDragObject, TObject)
public:
    TDragObject() = default;
};

// Drop positions are in the target's client coordinates.
using TDragDropEvent = TEvent<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TDragOverEvent =
    TEvent<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
// Target: the control that took the drop, nullptr when none did.
using TEndDragEvent = TEvent<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TStartDragEvent = TEvent<void(TObject* Sender, TDragObject*& DragObject)>;
// MousePos in client coordinates, (-1, -1) when the keyboard asked; a
// handler that sets Handled keeps the popup menu closed.
using TContextPopupEvent = TEvent<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// The control at a screen point: the windowless child of the window
// under it, or that window's control (nullptr over foreign windows).
TControl* FindDragTarget(TPoint screenPos, bool allowDisabled);

// The parts of a hint "short|long": before and after the first "|"; the
// whole text for both when there is none.
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);

// A control's own WndProc as a window method. WindowProc starts as one, so
// code that puts itself in front of it can tell whether it is still the
// first in the chain.
struct TControlWndProc {
    TControl* Control;
    void operator()(TMessage& message) const;
};

// Shift state from the key-state flags of a mouse message / the keyboard.
TShiftState ShiftStateFromKeys(WPARAM keys);
TShiftState KeyboardShiftState();

class TControl : public TComponent {
    DECLARE_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    void BeforeDestruction() override;

    // Every message reaches the control here; replaceable (subclassing).
    // Starts as TControlWndProc{this}.
    std::function<void(TMessage&)> WindowProc;
    virtual void WndProc(TMessage& message);
    // The message handlers of the class: each class handles its messages
    // and passes the rest (and what it wants inherited) to its base's.
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    TCustomForm* ParentForm() const;

    int32_t Left() const { return left_; }
    int32_t Top() const { return top_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    void SetLeft(int32_t v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int32_t v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int32_t v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int32_t v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.left, r.top, RectWidth(r), RectHeight(r)); }
    virtual TRect ClientRect();
    int32_t ClientWidth() { return RectWidth(ClientRect()); }
    int32_t ClientHeight() { return RectHeight(ClientRect()); }
    void SetClientWidth(int32_t v);
    void SetClientHeight(int32_t v);
    virtual TPoint ClientOrigin();
    TPoint ClientToScreen(TPoint p);
    TPoint ScreenToClient(TPoint p);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to the top showing.
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parent_color_; }
    void SetParentColor(bool value);
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* font) { font_->Assign(font); }
    bool ParentFont() const { return parent_font_; }
    void SetParentFont(bool value);

    // Caption and Text are one value; windowed controls keep it in their
    // window.
    std::string Caption() const { return GetText(); }
    // An action takes the control's caption, hint, switches and click handler.
    void AssignTo(TPersistent* dest) const override;
    void SetCaption(const std::string& value) { SetTextValue(value); }
    std::string Text() const { return GetText(); }
    void SetText(const std::string& value) { SetTextValue(value); }

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    bool ShowHint() const { return show_hint_; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parent_show_hint_; }
    void SetParentShowHint(bool value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    TDragMode DragMode() const { return drag_mode_; }
    void SetDragMode(TDragMode mode) { drag_mode_ = mode; }
    TCursor DragCursor() const { return drag_cursor_; }
    void SetDragCursor(TCursor cursor) { drag_cursor_ = cursor; }

    TControlStyle ControlStyle() const { return control_style_; }
    void SetControlStyle(TControlStyle style) { control_style_ = style; }
    TControlState ControlState() const { return control_state_; }
    void SetControlState(TControlState state) { control_state_ = state; }

    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();
    // True when the point (client coordinates) hits the control.
    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    // Runs OnClick, or else the action through the link.
    virtual void Click();
    virtual void DblClick();

    // The action the control shows and runs (Caption, Enabled, Hint,
    // Visible follow it while they equal its values).
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    TControlActionLink* ActionLink() const { return action_link_.get(); }
    // Lets the action update the control (idle time).
    virtual void InitiateAction();
    // The application offers an action that no client handled: true when
    // this control took it.
    virtual bool ExecuteAction(TBasicAction* action);
    virtual bool UpdateAction(TBasicAction* action);

    // The menu a right click (WM_CONTEXTMENU) shows; published by the
    // controls that want it.
    TPopupMenu* PopupMenu() const { return popup_menu_; }
    void SetPopupMenu(TPopupMenu* menu);

    // Dragging with the left button: DragMode dmAutomatic starts a drag at
    // every left press; dmManual controls call BeginDrag themselves (from
    // OnMouseDown). Without `immediate` the drag starts once the mouse has
    // moved `threshold` pixels (-1: the system's drag distance). The source
    // holds the mouse while the drag runs; the control under the cursor is
    // asked through OnDragOver, and releasing the button drops on it when it
    // accepted. EndDrag ends a running drag here and now: dropping on the
    // current target when `drop` and it accepts, else cancelling.
    void BeginDrag(bool immediate, int threshold = -1);
    void EndDrag(bool drop);
    bool Dragging() const;
    // The control being dragged from (nullptr when no drag runs).
    static TControl* DragSource();

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void ReadState(TReader* reader) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;
    TContextPopupEvent OnContextPopup;

protected:
    // A property setter's usual body: store a changed value and repaint.
    template <class T>
    void ChangeAndInvalidate(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }
    virtual std::string GetText() const { return text_; }
    virtual void SetTextValue(const std::string& value);
    // The text as kept without a window (windowed controls keep theirs in
    // the window once it exists).
    const std::string& StoredText() const { return text_; }
    void SetStoredText(const std::string& value) { text_ = value; }

    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Resize();
    // The drag steps; each fires its event.
    virtual void DoStartDrag(TDragObject*& dragObject);
    virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void DragDrop(TObject* source, int x, int y);
    virtual void DoEndDrag(TObject* target, int x, int y);
    virtual void DoContextPopup(TPoint mousePos, bool& handled);
    virtual void VisibleChanging() {}
    virtual bool CanResize(int32_t& newWidth, int32_t& newHeight);
    // Asks the parent to realign its children.
    void RequestAlign();
    void InvalidateControl(bool isVisible, bool isOpaque);
    // Sets Visible without telling anybody (construction).
    void SetVisibleQuietly(bool visible) { visible_ = visible; }
    // Sets the bounds without telling anybody (used by alignment).
    void UpdateBoundsRect(const TRect& r);

    // The class of the link SetAction makes (a TControlActionLink class).
    virtual const TClassInfo& GetActionLinkClass() const;
    // Takes the action's values; with checkDefaults only where the control
    // still has its own defaults.
    virtual void ActionChange(TObject* sender, bool checkDefaults);
    bool IsCaptionStored() const;
    bool IsHintStored() const;
    bool IsEnabledStored() const;
    bool IsVisibleStored() const;
    void WMContextMenu(TMessage& m);

    bool IsColorStored() const { return !parent_color_; }
    bool IsFontStored() const { return !parent_font_; }
    bool IsShowHintStored() const { return !parent_show_hint_; }

    // Message handlers of TControl.
    void WMMouse(TMessage& m, TMouseButton button, bool down, bool dbl);
    void WMMouseMove(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMVisibleChanged(TMessage& m);
    void CMParentColorChanged(TMessage& m);
    void CMParentFontChanged(TMessage& m);
    void CMParentShowHintChanged(TMessage& m);
    void CMHitTest(TMessage& m);
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);

    friend class TWinControl;

private:
    void FontChanged(TObject*);
    void DoActionChange(TObject* sender);
    void BeginDragAt(bool immediate, int threshold, TPoint at);
    // A mouse message to the source while its drag runs: true when the
    // drag took it.
    bool DragMessage(TMessage& m);
    void DragTo(TPoint at);
    void FinishDrag(bool drop, TPoint at);
    static void ForgetDragControl(TControl* control);

    TWinControl* parent_ = nullptr;
    int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parent_color_ = true;
    TOwned<TFont> font_;
    bool parent_font_ = true;
    std::string text_;
    std::string hint_;
    bool show_hint_ = false;
    bool parent_show_hint_ = true;
    TCursor cursor_ = 0;
    TDragMode drag_mode_ = dmManual;
    TCursor drag_cursor_ = -12;
    TControlStyle control_style_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState control_state_;
    bool font_changing_from_parent_ = false;
    TOwned<TControlActionLink> action_link_;
    TPopupMenu* popup_menu_ = nullptr;
};
