#include "classlib/comctrls/treeview.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "classlib/gui/callback_barrier.h"
#include "classlib/core/class_builder.h"
#include "classlib/gui/application.h"
#include "classlib/core/scoped_count.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/strutils.h"

namespace {

constexpr DWORD kTreeStyleMask = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS |
                                 TVS_SHOWSELALWAYS | TVS_FULLROWSELECT | TVS_TRACKSELECT | TVS_SINGLEEXPAND |
                                 TVS_DISABLEDRAGDROP;

// The next node of top's subtree in pre-order; nullptr after its last.
TTreeNode* NextInSubtree(TTreeNode* node, const TTreeNode* top) {
    if (TTreeNode* child = node->getFirstChild()) return child;
    while (node != top) {
        if (TTreeNode* sibling = node->getNextSibling()) return sibling;
        node = node->Parent();
    }
    return nullptr;
}

LPARAM WindowColor(TColor color, TColor systemDefault) {
    return color == systemDefault ? static_cast<LPARAM>(-1) : static_cast<LPARAM>(ColorToRGB(color));
}

}  // namespace

const TClassInfo& TCustomTreeView::StaticClass() {
    static const TClassInfo info =
        DefineClass<TCustomTreeView>("TCustomTreeView", &TWinControl::StaticClass(), [](auto& c) {
            PROPERTY(c, AutoExpand).Default(false).Hidden();
            PROPERTY(c, BorderStyle, BorderStyleType()).Default(bsSingle).Hidden();
            PROPERTY(c, HideSelection).Default(true).Hidden();
            PROPERTY(c, HotTrack).Default(false).Hidden();
            PROPERTY(c, Images).Hidden();
            PROPERTY(c, Indent).Hidden();
            PROPERTY(c, ReadOnly).Default(false).Hidden();
            PROPERTY(c, RowSelect).Default(false).Hidden();
            PROPERTY(c, ShowButtons).Default(true).Hidden();
            PROPERTY(c, ShowLines).Default(true).Hidden();
            PROPERTY(c, ShowRoot).Default(true).Hidden();
            EVENT(c, OnChange).Hidden();
            EVENT(c, OnChanging).Hidden();
            EVENT(c, OnCollapsed).Hidden();
            EVENT(c, OnCollapsing).Hidden();
            EVENT(c, OnDeletion).Hidden();
            EVENT(c, OnEdited).Hidden();
            EVENT(c, OnEditing).Hidden();
            EVENT(c, OnExpanded).Hidden();
            EVENT(c, OnExpanding).Hidden();
            PROPERTY(c, Items).Hidden();
        });
    return info;
}

const TClassInfo& TTreeView::StaticClass() {
    static const TClassInfo info = DefineClass<TTreeView>("TTreeView", &TCustomTreeView::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("Align", "AutoExpand", "BorderStyle", "Color", "Ctl3D", "DragCursor", "DragMode", "Enabled",
                     "Font", "HideSelection", "HotTrack", "Images", "Indent", "ParentColor", "ParentCtl3D",
                     "ParentFont", "ParentShowHint", "ReadOnly", "RowSelect", "ShowButtons", "ShowHint",
                     "ShowLines", "ShowRoot", "TabOrder", "TabStop", "Visible", "OnChange", "OnChanging",
                     "OnClick", "OnCollapsed", "OnCollapsing", "OnDblClick", "OnDeletion", "OnEdited", "OnEditing",
                     "OnEnter", "OnExit", "OnExpanding", "OnExpanded", "OnKeyDown", "OnKeyPress", "OnKeyUp",
                     "OnMouseDown", "OnMouseMove", "OnMouseUp", "Items");
        c.Publish("ParentColor").Default(false);
        c.Publish("TabStop").Default(true);
    });
    return info;
}

TCustomTreeView::TCustomTreeView(TComponent* owner)
    : TWinControl(owner),
      items_(MakeOwned<TTreeNodes>(static_cast<TTreeNodesOwner*>(this))),
      images_link_(std::make_unique<TChangeLink>()) {
    // The window tracks the mouse itself (drag detection).
    SetControlStyle(ControlStyle() - csCaptureMouse + csDisplayDragImage + csReflector);
    SetBounds(Left(), Top(), 121, 97);
    SetTabStop(true);
    SetParentColor(false);
    images_link_->OnChange = [this](TObject*) { ApplyImages(); };
}

TCustomTreeView::~TCustomTreeView() = default;

void TCustomTreeView::BeforeDestruction() {
    Destroying();
    // The window goes first, so that the nodes are not taken out of it one
    // by one; then every node is reported.
    pending_.clear();
    if (HandleAllocated()) DestroyWindowHandle();
    window_items_.clear();
    try {
        items_->Clear();
    } catch (...) {
        ReportException(this);
    }
    SetImages(nullptr);
    TWinControl::BeforeDestruction();
}

// --- properties -------------------------------------------------------------

DWORD TCustomTreeView::TreeStyles() const {
    DWORD s = TVS_DISABLEDRAGDROP;
    if (show_buttons_) s |= TVS_HASBUTTONS;
    if (show_lines_) s |= TVS_HASLINES;
    if (show_root_) s |= TVS_LINESATROOT;
    if (!read_only_) s |= TVS_EDITLABELS;
    if (!hide_selection_) s |= TVS_SHOWSELALWAYS;
    if (row_select_) s |= TVS_FULLROWSELECT;
    if (hot_track_) s |= TVS_TRACKSELECT;
    if (auto_expand_) s |= TVS_SINGLEEXPAND;
    return s;
}

void TCustomTreeView::SetStyleFlag(bool& flag, bool value) {
    if (flag == value) return;
    flag = value;
    if (!handle_) return;
    DWORD style = static_cast<DWORD>(GetWindowLongA(handle_, GWL_STYLE));
    SetWindowLongA(handle_, GWL_STYLE, static_cast<LONG>((style & ~kTreeStyleMask) | TreeStyles()));
    Invalidate();
}

int32_t TCustomTreeView::Indent() const {
    if (handle_) return static_cast<int32_t>(SendMessageA(handle_, TVM_GETINDENT, 0, 0));
    return indent_;
}

void TCustomTreeView::SetIndent(int32_t indent) {
    indent_ = indent;
    if (handle_) SendMessageA(handle_, TVM_SETINDENT, static_cast<WPARAM>(indent), 0);
}

void TCustomTreeView::SetBorderStyle(TBorderStyle style) {
    if (border_style_ == style) return;
    border_style_ = style;
    RecreateWnd();
}

void TCustomTreeView::SetImages(TCustomImageList* images) {
    if (images_ == images) return;
    RelinkImageList(this, images_, images, images_link_.get());
    ApplyImages();
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == images_) SetImages(nullptr);
}

void TCustomTreeView::ApplyImages() {
    if (!WindowReady()) return;
    HIMAGELIST list = images_ ? images_->Handle() : nullptr;
    SendMessageA(handle_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
    Invalidate();
}

void TCustomTreeView::ApplyColors() {
    if (!WindowReady()) return;
    SendMessageA(handle_, TVM_SETBKCOLOR, 0, WindowColor(Color(), clWindow));
    SendMessageA(handle_, TVM_SETTEXTCOLOR, 0, WindowColor(Font()->Color(), clWindowText));
}

// --- the window ---------------------------------------------------------------

void TCustomTreeView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TREEVIEWA);
    p.Style |= TreeStyles();
    if (border_style_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
    p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTreeView::CreateWnd() {
    window_dying_ = false;
    redraw_off_ = false;
    pending_.clear();
    window_items_.clear();
    TWinControl::CreateWnd();
    {
        TScopedCount sync(window_sync_);
        SendMessageA(handle_, TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
        ApplyColors();
        ApplyImages();
        // In order, each item goes after its siblings' items made so far.
        for (TTreeNode* node = items_->GetFirstNode(); node; node = node->GetNext()) InsertItem(node, true);
        for (TTreeNode* node = items_->GetFirstNode(); node; node = node->GetNext())
            if (node->Expanded() && node->HasChildren()) ExpandItem(node);
    }
    SyncSelection();
}

void TCustomTreeView::DestroyWnd() {
    if (handle_) indent_ = Indent();
    pending_.clear();
    TWinControl::DestroyWnd();
    window_items_.clear();
}

LRESULT TCustomTreeView::ItemMessage(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return CallWindowProcA(DefWndProc() ? DefWndProc() : DefWindowProcA, handle_, msg, wParam, lParam);
}

HTREEITEM TCustomTreeView::WindowItem(const TTreeNode* node) const {
    auto it = node ? window_items_.find(node) : window_items_.end();
    return it == window_items_.end() ? nullptr : it->second;
}

TTreeNode* TCustomTreeView::NodeOfItem(HTREEITEM item) const {
    if (!item || !handle_) return nullptr;
    TVITEMA tv{};
    tv.mask = TVIF_HANDLE | TVIF_PARAM;
    tv.hItem = item;
    if (!ItemMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
    // Only nodes of this tree that are in the window count.
    auto* node = reinterpret_cast<TTreeNode*>(tv.lParam);
    return WindowItem(node) == item ? node : nullptr;
}

TCustomTreeView::TItemPlace TCustomTreeView::PlaceOf(TTreeNode* node, bool appending) const {
    TTreeNode* parent = node->Parent();
    TItemPlace place{node, parent ? WindowItem(parent) : TVI_ROOT, TVI_LAST};
    // The window looks up every item handle it is given among all its
    // items; the last place takes no handle, which keeps filling a large
    // tree linear.
    if (appending || !node->getNextSibling()) return place;
    TTreeNode* previous = node->getPrevSibling();
    place.After = previous ? WindowItem(previous) : TVI_FIRST;
    return place;
}

HTREEITEM TCustomTreeView::InsertItem(const TItemPlace& place) {
    TTreeNode* node = place.Node;
    TVINSERTSTRUCTA is{};
    is.hParent = place.Parent;
    is.hInsertAfter = place.After;
    if (!is.hParent || !is.hInsertAfter) return nullptr;
    std::string text = node->Text();
    is.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    is.item.pszText = text.data();
    is.item.iImage = node->ImageIndex();
    is.item.iSelectedImage = node->SelectedIndex();
    is.item.lParam = reinterpret_cast<LPARAM>(node);
    auto item = reinterpret_cast<HTREEITEM>(ItemMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
    if (item) window_items_[node] = item;
    return item;
}

bool TCustomTreeView::IsPending(const TTreeNode* node) const {
    auto it = window_items_.find(node);
    return it != window_items_.end() && !it->second;
}

void TCustomTreeView::InsertPendingItems() {
    if (pending_.empty()) return;
    std::vector<TTreeNode*> nodes;
    nodes.swap(pending_);
    // A node that got no item is no longer waiting either.
    TScopeExit forgetUnplaced([&] {
        for (TTreeNode* node : nodes)
            if (IsPending(node)) window_items_.erase(node);
    });
    if (!WindowReady()) return;
    // The parents whose children wait, shallowest first; each parent's
    // children are gone through once, in order.
    std::vector<std::pair<int, TTreeNode*>> parents;
    std::unordered_set<const TTreeNode*> seen;
    for (TTreeNode* node : nodes) {
        if (!IsPending(node)) continue;
        TTreeNode* parent = node->Parent();
        if (seen.insert(parent).second) parents.emplace_back(parent ? parent->Level() : -1, parent);
    }
    std::stable_sort(parents.begin(), parents.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    TScopedCount sync(window_sync_);
    for (const auto& [level, parent] : parents) {
        HTREEITEM parentItem = parent ? WindowItem(parent) : TVI_ROOT;
        if (!parentItem) continue;  // in a subtree being moved, which is put in whole
        TTreeNode* first = parent ? parent->getFirstChild() : items_->GetFirstNode();
        // Items after the last sibling that has one go at the end.
        TTreeNode* lastShown = nullptr;
        for (TTreeNode* c = first; c; c = c->getNextSibling())
            if (WindowItem(c)) lastShown = c;
        bool shownAhead = lastShown != nullptr;
        HTREEITEM after = TVI_FIRST;
        for (TTreeNode* c = first; c; c = c->getNextSibling()) {
            if (HTREEITEM item = WindowItem(c)) {
                after = item;
                if (c == lastShown) shownAhead = false;
            } else if (IsPending(c)) {
                if (HTREEITEM item = InsertItem(TItemPlace{c, parentItem, shownAhead ? after : TVI_LAST}))
                    after = item;
            }
        }
        // A collapsed item cannot show children it did not have.
        if (parent && parent->Expanded()) ExpandItem(parent);
    }
}

void TCustomTreeView::InsertSubtree(TTreeNode* top) {
    for (TTreeNode* node = top; node; node = NextInSubtree(node, top)) InsertItem(node, node != top);
}

void TCustomTreeView::ExpandSubtree(TTreeNode* top) {
    for (TTreeNode* node = top; node; node = NextInSubtree(node, top))
        if (node->Expanded() && node->HasChildren()) ExpandItem(node);
}

void TCustomTreeView::ForgetSubtree(TTreeNode* top) {
    for (TTreeNode* node = top; node; node = NextInSubtree(node, top)) window_items_.erase(node);
}

void TCustomTreeView::ExpandItem(TTreeNode* node) {
    HTREEITEM item = WindowItem(node);
    if (!item) return;
    bool shown =
        (ItemMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    if (shown == node->Expanded()) return;
    TScopedCount expanding(model_expanding_);
    SendMessageA(handle_, TVM_EXPAND, node->Expanded() ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
}

void TCustomTreeView::SyncSelection() {
    if (!WindowReady()) return;
    HTREEITEM wanted = WindowItem(Selected());
    auto shown = reinterpret_cast<HTREEITEM>(ItemMessage(TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (shown == wanted) return;
    TScopedCount sync(window_sync_);
    SendMessageA(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(wanted));
}

// --- the model's changes ----------------------------------------------------------

void TCustomTreeView::DoChange(TTreeNode* node) {
    // A tree emptied on its way out changes no selection anybody could use;
    // the handlers' other controls may be gone already.
    if (ComponentState().Contains(csDestroying)) return;
    if (OnChange) OnChange(this, node);
}

void TCustomTreeView::DoDeletion(TTreeNode* node) {
    if (OnDeletion) OnDeletion(this, node);
}

void TCustomTreeView::NodeInserted(TTreeNode* node) {
    if (!WindowReady()) return;
    if (redraw_off_) {
        window_items_[node] = nullptr;
        pending_.push_back(node);
        return;
    }
    InsertPendingItems();
    {
        TScopedCount sync(window_sync_);
        InsertItem(node, false);
    }
    // A collapsed item cannot show children it did not have.
    if (TTreeNode* parent = node->Parent(); parent && parent->Expanded()) ExpandItem(parent);
}

void TCustomTreeView::NodeRemoving(TTreeNode* node) {
    InsertPendingItems();
    auto it = window_items_.find(node);
    if (it == window_items_.end()) return;
    HTREEITEM item = it->second;
    window_items_.erase(it);
    if (!WindowReady()) return;
    // Children go first; the item of a parent being deleted as well takes
    // theirs with it, in one message for the whole subtree.
    if (TTreeNode* parent = node->Parent(); parent && parent->Deleting()) return;
    {
        TScopedCount sync(window_sync_);
        ItemMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    }
    SyncSelection();
}

void TCustomTreeView::NodeChanged(TTreeNode* node) {
    // A waiting node's item is made from what the node holds then. A node
    // being deleted (its deletion handler clearing its data) keeps its item
    // as it is until the item goes: the window looks up every item it is
    // given among all its items.
    if (IsPending(node) || node->Deleting()) return;
    InsertPendingItems();
    HTREEITEM item = WindowItem(node);
    if (!WindowReady() || !item) return;
    std::string text = node->Text();
    TVITEMA tv{};
    tv.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = item;
    tv.pszText = text.data();
    tv.iImage = node->ImageIndex();
    tv.iSelectedImage = node->SelectedIndex();
    ItemMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

void TCustomTreeView::NodeMoved(TTreeNode* node) {
    if (!WindowReady()) return;
    // The window cannot move items: the subtree is taken out and put in
    // again at its new place, with its expansion; the selection follows.
    // Waiting items go in once the subtree is out (those in it with it).
    {
        TScopedCount sync(window_sync_);
        if (HTREEITEM item = WindowItem(node))
            ItemMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
        ForgetSubtree(node);
        InsertPendingItems();
        InsertSubtree(node);
        ExpandSubtree(node);
        if (TTreeNode* parent = node->Parent(); parent && parent->Expanded()) ExpandItem(parent);
    }
    SyncSelection();
}

void TCustomTreeView::SelectionSet(TTreeNode*) {
    InsertPendingItems();
    SyncSelection();
}

void TCustomTreeView::NodeExpanded(TTreeNode* node) {
    InsertPendingItems();
    if (WindowReady()) ExpandItem(node);
    if (node->Expanded()) {
        if (OnExpanded) OnExpanded(this, node);
    } else if (OnCollapsed) {
        OnCollapsed(this, node);
    }
}

void TCustomTreeView::NodeMadeVisible(TTreeNode* node) {
    InsertPendingItems();
    if (HTREEITEM item = WindowItem(node); item && WindowReady())
        SendMessageA(handle_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
}

void TCustomTreeView::UpdatingChanged(bool updating) {
    InsertPendingItems();
    if (!WindowReady()) return;
    // The window stops laying out and drawing its items while the model
    // changes, shown or not. WM_SETREDRAW takes the window's visible style
    // with it: a window without it (the control hidden, or hidden during
    // the update) has it taken away again afterwards.
    if (updating) {
        if (redraw_off_) return;
        SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
        redraw_off_ = true;
    } else if (redraw_off_) {
        redraw_off_ = false;
        SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
        if (!Visible()) {
            auto style = static_cast<DWORD>(GetWindowLongA(handle_, GWL_STYLE));
            if (style & WS_VISIBLE) SetWindowLongA(handle_, GWL_STYLE, static_cast<LONG>(style & ~WS_VISIBLE));
        }
        Invalidate();
    }
}

bool TCustomTreeView::EditNodeText(TTreeNode* node) {
    InsertPendingItems();
    HTREEITEM item = WindowItem(node);
    if (!WindowReady() || !item || read_only_) return false;
    if (!Focused() && CanFocus()) SetFocus();
    return SendMessageA(handle_, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item)) != 0;
}

// --- queries ------------------------------------------------------------------

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) {
    InsertPendingItems();
    if (!WindowReady()) return nullptr;
    TVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(handle_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return NodeOfItem(item);
}

TRect TCustomTreeView::NodeRect(TTreeNode* node, bool textOnly) {
    InsertPendingItems();
    HTREEITEM item = WindowItem(node);
    TRect r{0, 0, 0, 0};
    if (!WindowReady() || !item) return r;
    // The message takes the item in the rectangle's first bytes.
    std::memcpy(&r, &item, sizeof item);
    if (!SendMessageA(handle_, TVM_GETITEMRECT, textOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&r)))
        r = TRect{0, 0, 0, 0};
    return r;
}

bool TCustomTreeView::IsEditing() {
    InsertPendingItems();
    return WindowReady() && SendMessageA(handle_, TVM_GETEDITCONTROL, 0, 0) != 0;
}

void TCustomTreeView::AlphaSort(bool recurse) {
    WhileUpdating(*items_, [&] { SortChildren(nullptr, recurse); });
}

void TCustomTreeView::SortChildren(TTreeNode* parent, bool recurse) {
    std::vector<TTreeNode*> children;
    for (TTreeNode* n = parent ? parent->getFirstChild() : items_->GetFirstNode(); n; n = n->getNextSibling())
        children.push_back(n);
    auto before = [](TTreeNode* a, TTreeNode* b) { return lstrcmpiA(a->Text().c_str(), b->Text().c_str()) < 0; };
    if (!std::is_sorted(children.begin(), children.end(), before)) {
        std::vector<TTreeNode*> sorted = children;
        std::stable_sort(sorted.begin(), sorted.end(), before);
        // Appending each in order leaves them in order.
        for (TTreeNode* n : sorted) n->MoveTo(parent, naAddChild);
    }
    if (recurse)
        for (TTreeNode* n : children) SortChildren(n, true);
}

// --- messages ------------------------------------------------------------------

void TCustomTreeView::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CN_NOTIFY: CNNotify(m); return;
    case WM_LBUTTONDOWN: WMLButtonDown(m); return;
    case WM_DESTROY:
        window_dying_ = true;
        pending_.clear();
        break;
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
        TWinControl::Dispatch(m);
        ApplyColors();
        return;
    case CM_WANTSPECIALKEY:
        // Enter and Escape end a label edit rather than press buttons.
        if ((m.WParam == VK_RETURN || m.WParam == VK_ESCAPE) && IsEditing()) {
            m.Result = 1;
            return;
        }
        break;
    }
    TWinControl::Dispatch(m);
}

void TCustomTreeView::WMLButtonDown(TMessage& m) {
    // The window's drag detection runs until the button is released and
    // swallows the release; the control gets one of its own (its Click).
    TWinControl::Dispatch(m);
    if (handle_ && GetKeyState(VK_LBUTTON) >= 0) {
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(handle_, &p);
        Perform(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
}

void TCustomTreeView::CNNotify(TMessage& m) {
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    m.Result = 0;
    if (!WindowReady()) return;
    // The ANSI and wide records have the same layout up to the texts.
    auto* tv = reinterpret_cast<NMTREEVIEWA*>(header);
    auto* display = reinterpret_cast<NMTVDISPINFOA*>(header);
    switch (header->code) {
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW: {
        if (window_sync_) return;
        TTreeNode* node = NodeOfItem(tv->itemNew.hItem);
        if (node == Selected()) return;
        bool allow = true;
        if (OnChanging) OnChanging(this, node, allow);
        m.Result = allow ? FALSE : TRUE;
        return;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
        if (window_sync_) return;
        TTreeNode* node = NodeOfItem(tv->itemNew.hItem);
        if (node != Selected()) items_->SetSelected(node);
        return;
    }
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        if (window_sync_ || model_expanding_) return;
        TTreeNode* node = NodeOfItem(tv->itemNew.hItem);
        if (!node) return;
        bool expanding = (tv->action & TVE_TOGGLE) == TVE_TOGGLE ? !node->Expanded() : (tv->action & TVE_EXPAND) != 0;
        bool allow = true;
        if (expanding && OnExpanding) OnExpanding(this, node, allow);
        if (!expanding && OnCollapsing) OnCollapsing(this, node, allow);
        m.Result = allow ? FALSE : TRUE;
        return;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
        // Also when the window expands on its own (making a selection
        // visible): the model follows.
        TTreeNode* node = NodeOfItem(tv->itemNew.hItem);
        if (!node) return;
        bool expanded = (ItemMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(tv->itemNew.hItem), TVIS_EXPANDED) &
                         TVIS_EXPANDED) != 0;
        node->SetExpanded(expanded);
        return;
    }
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW: {
        TTreeNode* node = NodeOfItem(display->item.hItem);
        bool allow = node && !read_only_;
        if (allow && OnEditing) OnEditing(this, node, allow);
        m.Result = allow ? FALSE : TRUE;
        return;
    }
    case TVN_ENDLABELEDITA: {
        if (TTreeNode* node = NodeOfItem(display->item.hItem); node && display->item.pszText)
            EndLabelEdit(node, display->item.pszText);
        return;
    }
    case TVN_ENDLABELEDITW: {
        auto* wide = reinterpret_cast<NMTVDISPINFOW*>(header);
        if (TTreeNode* node = NodeOfItem(wide->item.hItem); node && wide->item.pszText)
            EndLabelEdit(node, WideToAnsi(wide->item.pszText).c_str());
        return;
    }
    }
}

void TCustomTreeView::EndLabelEdit(TTreeNode* node, const char* text) {
    // The node takes the text (empty too) through the model, which updates
    // the item; the window is told not to.
    std::string s = text;
    if (OnEdited) OnEdited(this, node, s);
    node->SetText(s);
}
