// Dragging one control onto another: the one drag that can run at a time,
// its threshold, the targets it asks and the drop.
#include "classlib/gui/control.h"

#include <cstdlib>

#include "classlib/core/class_builder.h"
#include "classlib/core/scope_exit.h"
#include "classlib/gui/application.h"
#include "classlib/gui/screen.h"
#include "classlib/gui/wincontrol.h"

const TClassInfo& TDragObject::StaticClass() {
    static const TClassInfo info = DefineClass<TDragObject>("TDragObject", &TObject::StaticClass(), [](auto&) {});
    return info;
}

namespace {

// The one drag that can run at a time.
struct TDragRun {
    TControl* source = nullptr;
    TDragObject* object = nullptr;
    TControl* target = nullptr;
    bool accepted = false;
    // Past the threshold: targets are asked.
    bool active = false;
    TPoint start{0, 0};
    int threshold = 0;
};

TDragRun g_drag;

TObject* DragSourceObject() {
    return g_drag.object ? static_cast<TObject*>(g_drag.object) : g_drag.source;
}

}  // namespace

TControl* FindDragTarget(TPoint screenPos, bool allowDisabled) {
    HWND window = WindowFromPoint(screenPos);
    TWinControl* win = nullptr;
    // Inner windows of system controls (a combo box's edit) are not ours.
    while (window && !(win = FindControl(window))) window = GetParent(window);
    if (!win) return nullptr;
    TControl* child = win->ControlAtPos(win->ScreenToClient(screenPos), allowDisabled);
    return child ? child : win;
}

TControl* TControl::DragSource() {
    return g_drag.source;
}

bool TControl::Dragging() const {
    return g_drag.source == this;
}

void TControl::ForgetDragControl(TControl* control) {
    if (g_drag.target == control) {
        g_drag.target = nullptr;
        g_drag.accepted = false;
    }
    if (g_drag.source == control) {
        g_drag = TDragRun{};
        if (GetCaptureControl() == control) SetCaptureControl(nullptr);
    }
}

void TControl::BeginDrag(bool immediate, int threshold) {
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    BeginDragAt(immediate, threshold, cursor);
}

void TControl::BeginDragAt(bool immediate, int threshold, TPoint at) {
    if (ComponentState().Contains(csDesigning) || g_drag.source) return;
    g_drag = TDragRun{};
    g_drag.source = this;
    g_drag.start = at;
    g_drag.threshold = threshold >= 0 ? threshold : GetSystemMetrics(SM_CXDRAG);
    TDragObject* object = nullptr;
    try {
        DoStartDrag(object);
    } catch (...) {
        if (g_drag.source == this) g_drag = TDragRun{};
        throw;
    }
    // The handler may have ended it already.
    if (g_drag.source != this) return;
    g_drag.object = object;
    SetCaptureControl(this);
    if (immediate) {
        g_drag.active = true;
        DragTo(at);
    }
}

void TControl::EndDrag(bool drop) {
    if (g_drag.source != this) return;
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    FinishDrag(drop, cursor);
}

bool TControl::DragMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_MOUSEMOVE: {
        const TPoint at = ClientToScreen(Point(m.XPos(), m.YPos()));
        if (!g_drag.active) {
            if (std::abs(at.x - g_drag.start.x) < g_drag.threshold && std::abs(at.y - g_drag.start.y) < g_drag.threshold)
                return true;
            g_drag.active = true;
        }
        DragTo(at);
        return true;
    }
    case WM_LBUTTONUP:
        FinishDrag(true, ClientToScreen(Point(m.XPos(), m.YPos())));
        return true;
    case WM_RBUTTONDOWN:
    case WM_CANCELMODE: {
        POINT cursor{0, 0};
        GetCursorPos(&cursor);
        FinishDrag(false, cursor);
        return m.Msg == WM_RBUTTONDOWN;
    }
    }
    return false;
}

void TControl::DragTo(TPoint at) {
    TControl* target = FindDragTarget(at, false);
    TObject* source = DragSourceObject();
    if (target != g_drag.target) {
        if (TControl* old = g_drag.target) {
            g_drag.target = nullptr;
            g_drag.accepted = false;
            const TPoint p = old->ScreenToClient(at);
            bool ignored = false;
            old->DragOver(source, p.x, p.y, dsDragLeave, ignored);
            if (g_drag.source != this) return;
        }
        g_drag.target = target;
        if (target) {
            const TPoint p = target->ScreenToClient(at);
            bool accept = false;
            target->DragOver(source, p.x, p.y, dsDragEnter, accept);
            if (g_drag.source != this) return;
        }
    }
    g_drag.accepted = false;
    if (TControl* current = g_drag.target) {
        const TPoint p = current->ScreenToClient(at);
        bool accept = false;
        current->DragOver(source, p.x, p.y, dsDragMove, accept);
        if (g_drag.source != this) return;
        g_drag.accepted = accept && g_drag.target == current;
    }
    // The source holds the mouse: no WM_SETCURSOR comes to set the cursor.
    if (Screen) ::SetCursor(Screen->Cursors(g_drag.accepted ? DragCursor() : crNoDrop));
}

void TControl::FinishDrag(bool drop, TPoint at) {
    const TDragRun run = g_drag;
    g_drag = TDragRun{};
    if (GetCaptureControl() == this) SetCaptureControl(nullptr);
    TObject* source = run.object ? static_cast<TObject*>(run.object) : this;
    TControl* target = run.active ? run.target : nullptr;
    const bool dropped = drop && target && run.accepted;
    const TPoint sourcePos = ScreenToClient(at);
    TryFinally(
        [&] {
            if (!target) return;
            const TPoint p = target->ScreenToClient(at);
            if (dropped) {
                target->DragDrop(source, p.x, p.y);
            } else {
                bool ignored = false;
                target->DragOver(source, p.x, p.y, dsDragLeave, ignored);
            }
        },
        [&] {
            const TPoint p = dropped ? target->ScreenToClient(at) : sourcePos;
            DoEndDrag(dropped ? target : nullptr, p.x, p.y);
        });
}

void TControl::DoStartDrag(TDragObject*& dragObject) {
    if (OnStartDrag) OnStartDrag(this, dragObject);
}

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    accept = static_cast<bool>(OnDragOver);
    if (OnDragOver) OnDragOver(this, source, x, y, state, accept);
}

void TControl::DragDrop(TObject* source, int x, int y) {
    if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoEndDrag(TObject* target, int x, int y) {
    if (OnEndDrag) OnEndDrag(this, target, x, y);
}
