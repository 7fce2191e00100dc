// Tree views: a SysTreeView32 window over the tree-node model of
// treenodes.h. The model holds the nodes; the window, while it exists,
// shows them and reports the user's selections, expansions and label edits
// back, so window and model always agree. A new window (first showing,
// RecreateWnd) is filled from the model.
#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "classlib/comctrls/imglist.h"
#include "classlib/core/treenodes.h"
#include "classlib/gui/wincontrol.h"

using TTVChangedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVEditingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = TEvent<void(TObject* Sender, TTreeNode* Node, std::string& S)>;
using TTVExpandingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;

class TCustomTreeView : public TWinControl, public TTreeNodesOwner {
    DECLARE_CLASS(TCustomTreeView, TWinControl)
public:
    explicit TCustomTreeView(TComponent* owner);
    ~TCustomTreeView() override;
    // Reports every node (OnDeletion) while the tree view is still whole.
    void BeforeDestruction() override;

    TTreeNodes* Items() const { return items_.get(); }
    void SetItems(TTreeNodes* items) { items_->Assign(items); }
    TTreeNode* Selected() const { return items_->Selected(); }
    void SetSelected(TTreeNode* node) { items_->SetSelected(node); }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);

    bool HideSelection() const { return hide_selection_; }
    void SetHideSelection(bool value) { SetStyleFlag(hide_selection_, value); }
    bool ReadOnly() const { return read_only_; }
    void SetReadOnly(bool value) { SetStyleFlag(read_only_, value); }
    bool ShowButtons() const { return show_buttons_; }
    void SetShowButtons(bool value) { SetStyleFlag(show_buttons_, value); }
    bool ShowLines() const { return show_lines_; }
    void SetShowLines(bool value) { SetStyleFlag(show_lines_, value); }
    bool ShowRoot() const { return show_root_; }
    void SetShowRoot(bool value) { SetStyleFlag(show_root_, value); }
    bool RowSelect() const { return row_select_; }
    void SetRowSelect(bool value) { SetStyleFlag(row_select_, value); }
    bool HotTrack() const { return hot_track_; }
    void SetHotTrack(bool value) { SetStyleFlag(hot_track_, value); }
    bool AutoExpand() const { return auto_expand_; }
    void SetAutoExpand(bool value) { SetStyleFlag(auto_expand_, value); }
    int32_t Indent() const;
    void SetIndent(int32_t indent);
    // bsSingle: sunken edge. Changing it makes a new window.
    TBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TBorderStyle style);

    // The node at a client position (nullptr when none or no window).
    TTreeNode* GetNodeAt(int x, int y);
    // Where the node is shown (its text only, or the whole row); an empty
    // rectangle while it is not shown.
    TRect NodeRect(TTreeNode* node, bool textOnly);
    bool IsEditing();
    // Orders every sibling list by text (case-insensitive), recursively.
    void AlphaSort(bool recurse = true);

    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

    // After the selection changed, by the user or from code: once each.
    TTVChangedEvent OnChange;
    // Before the user (or the window, collapsing a selected node's parent)
    // moves the selection; AllowChange false keeps it.
    TTVChangingEvent OnChanging;
    // For every node removed, children first; also when the view goes.
    TTVChangedEvent OnDeletion;
    // Label editing: may refuse to start; gets the new text (empty too),
    // which it may change, before the node takes it.
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    // Before the user expands or collapses a node (may refuse), and after
    // any node was expanded or collapsed.
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;

    // TTreeNodesOwner: the model's changes.
    void DoChange(TTreeNode* node) override;
    void DoDeletion(TTreeNode* node) override;
    void NodeInserted(TTreeNode* node) override;
    void NodeRemoving(TTreeNode* node) override;
    void NodeChanged(TTreeNode* node) override;
    void NodeMoved(TTreeNode* node) override;
    void SelectionSet(TTreeNode* node) override;
    void NodeExpanded(TTreeNode* node) override;
    void NodeMadeVisible(TTreeNode* node) override;
    void UpdatingChanged(bool updating) override;
    bool EditNodeText(TTreeNode* node) override;

private:
    bool WindowReady() const { return handle_ && !window_dying_; }
    DWORD TreeStyles() const;
    void SetStyleFlag(bool& flag, bool value);
    void ApplyColors();
    void ApplyImages();
    // The item messages (reading, inserting, changing and deleting items)
    // go straight to the window's own procedure: the control adds nothing
    // to them, and the way through it costs a window-property lookup each.
    LRESULT ItemMessage(UINT msg, WPARAM wParam, LPARAM lParam) const;
    HTREEITEM WindowItem(const TTreeNode* node) const;
    TTreeNode* NodeOfItem(HTREEITEM item) const;
    // Where a node's item goes: below its parent's item, after the item of
    // its previous sibling, first or last. `appending` says that none of
    // its later siblings has an item yet (a tree filled in order).
    struct TItemPlace {
        TTreeNode* Node;
        HTREEITEM Parent;
        HTREEITEM After;
    };
    TItemPlace PlaceOf(TTreeNode* node, bool appending) const;
    HTREEITEM InsertItem(const TItemPlace& place);
    HTREEITEM InsertItem(TTreeNode* node, bool appending) { return InsertItem(PlaceOf(node, appending)); }
    // Puts in the items of the nodes inserted during the update so far.
    void InsertPendingItems();
    bool IsPending(const TTreeNode* node) const;
    void InsertSubtree(TTreeNode* top);
    void ExpandSubtree(TTreeNode* top);
    void ForgetSubtree(TTreeNode* top);
    void ExpandItem(TTreeNode* node);
    void SyncSelection();
    void SortChildren(TTreeNode* parent, bool recurse);
    void CNNotify(TMessage& m);
    void EndLabelEdit(TTreeNode* node, const char* text);
    void WMLButtonDown(TMessage& m);

    TOwned<TTreeNodes> items_;
    // A node waiting for its item maps to no item.
    std::unordered_map<const TTreeNode*, HTREEITEM> window_items_;
    // During an update, the nodes inserted wait for their items until the
    // next change of another kind. The window looks up every item handle
    // it is given among all its items, so the waiting items go in whole
    // (the text, images and data set after the insertion included) in one
    // message each, level by level, so that their parents' items are among
    // the first the window has, and at the end of their siblings wherever
    // that is where they belong.
    std::vector<TTreeNode*> pending_;
    TCustomImageList* images_ = nullptr;
    std::unique_ptr<TChangeLink> images_link_;
    TBorderStyle border_style_ = bsSingle;
    int32_t indent_ = 19;
    bool hide_selection_ = true;
    bool read_only_ = false;
    bool show_buttons_ = true;
    bool show_lines_ = true;
    bool show_root_ = true;
    bool row_select_ = false;
    bool hot_track_ = false;
    bool auto_expand_ = false;
    int window_sync_ = 0;      // the control is restructuring the window
    int model_expanding_ = 0;  // the control expands or collapses an item
    bool window_dying_ = false;
    bool redraw_off_ = false;  // drawing stopped for a model update
};

class TTreeView : public TCustomTreeView {
    DECLARE_CLASS(TTreeView, TCustomTreeView)
public:
    explicit TTreeView(TComponent* owner) : TCustomTreeView(owner) {}
};
