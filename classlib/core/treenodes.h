// The tree-node model: a forest of captioned nodes with images, a selection
// and per-node data. It works without any window; a tree view mirrors it
// into a control through TTreeNodesOwner.
#pragma once
#include <cstdint>
#include <deque>
#include <exception>
#include <string>
#include <vector>

#include "classlib/core/object.h"
#include "classlib/core/persistent.h"

class TStream;
class TTreeNode;
class TTreeNodes;

// Where MoveTo puts a node, relative to the destination.
enum TNodeAttachMode {
    naAdd,            // last sibling of the destination
    naAddFirst,       // first sibling of the destination
    naAddChild,       // last child of the destination
    naAddChildFirst,  // first child of the destination
    naInsert          // just before the destination
};

// The control (or test double) a TTreeNodes reports to. Every call has an
// empty default.
class TTreeNodesOwner {
public:
    virtual ~TTreeNodesOwner() = default;

    // After the selection changed, from the user or from code; node may be
    // nullptr.
    virtual void DoChange(TTreeNode* node) {}
    // Once for every node removed (Delete, Clear, destruction), children
    // before their parent, while the node is still whole: its Text, Data
    // and Parent are readable, and it is still linked in the tree.
    virtual void DoDeletion(TTreeNode* node) {}

    // Mirror hooks for a view.
    virtual void NodeInserted(TTreeNode* node) {}   // linked in; parents come before children
    virtual void NodeRemoving(TTreeNode* node) {}   // about to be unlinked; after its DoDeletion
    virtual void NodeChanged(TTreeNode* node) {}    // text, images, data or focus
    virtual void NodeMoved(TTreeNode* node) {}      // after MoveTo, with its subtree
    virtual void SelectionSet(TTreeNode* node) {}   // before DoChange
    virtual void NodeExpanded(TTreeNode* node) {}   // expanded or collapsed
    virtual void NodeMadeVisible(TTreeNode* node) {}  // after MakeVisible expanded its ancestors
    virtual void UpdatingChanged(bool updating) {}  // first BeginUpdate, last EndUpdate
    // Starts editing the node's text in place; false when there is no view.
    virtual bool EditNodeText(TTreeNode* node) { return false; }
};

class TTreeNode : public TPersistent {
    DECLARE_CLASS(TTreeNode, TPersistent)
public:
    ~TTreeNode() override;

    TTreeNodes* Owner() const { return owner_; }

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    // Not owned: whoever sets it frees it, typically in DoDeletion.
    void* Data() const { return data_; }
    void SetData(void* data);
    int32_t ImageIndex() const { return image_index_; }
    void SetImageIndex(int32_t index);
    int32_t SelectedIndex() const { return selected_index_; }
    void SetSelectedIndex(int32_t index);
    int32_t StateIndex() const { return state_index_; }
    void SetStateIndex(int32_t index);
    int32_t OverlayIndex() const { return overlay_index_; }
    void SetOverlayIndex(int32_t index);
    bool Expanded() const { return expanded_; }
    void SetExpanded(bool expanded);
    bool Selected() const;
    // true selects this node; false clears the selection if it is this node.
    void SetSelected(bool selected);
    bool Focused() const { return focused_; }
    void SetFocused(bool focused);
    // True from the start of the node's deletion on.
    bool Deleting() const { return deleting_; }

    // Navigation. Parent() is nullptr for top-level nodes; GetNext/GetPrev
    // walk the whole forest in pre-order.
    TTreeNode* Parent() const;
    TTreeNode* getFirstChild() const;
    TTreeNode* GetLastChild() const;
    TTreeNode* getNextSibling() const;
    TTreeNode* getPrevSibling() const;
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int index) const;  // EListError outside 0..Count()-1
    int Index() const;                 // among its siblings
    int AbsoluteIndex() const;         // in pre-order over the forest
    int Level() const;                 // 0 for top-level nodes
    bool HasChildren() const { return !children_.empty(); }
    // The first top-level node (and not being deleted).
    bool IsFirstNode() const;

    // Expands every ancestor (and a view scrolls the node into sight).
    void MakeVisible();
    bool EditText();
    // Removes the node and its subtree.
    void Delete();
    void DeleteChildren();
    // Moves the node with its subtree; identity, data and selection stay and
    // no deletion is reported. A null destination means the top level.
    // Moving into its own subtree, into another tree or into (or out of) a
    // subtree being deleted raises EInvalidOperation and changes nothing.
    void MoveTo(TTreeNode* destination, TNodeAttachMode mode);

    // Copies Text, Data and the four image indexes from another node; not
    // its children, not the selection.
    void Assign(const TPersistent* source) override;

private:
    friend class TTreeNodes;
    explicit TTreeNode(TTreeNodes* owner) : owner_(owner) {}
    bool IsRoot() const;
    void NotifyChanged();

    TTreeNodes* owner_;
    TTreeNode* parent_ = nullptr;  // the hidden root above top-level nodes
    // A deque, so that deleting a run of children from the front is linear;
    // the siblings are linked besides, so that navigation needs no search.
    std::deque<TOwned<TTreeNode>> children_;
    TTreeNode* prev_sibling_ = nullptr;
    TTreeNode* next_sibling_ = nullptr;
    std::string text_;
    void* data_ = nullptr;
    int32_t image_index_ = 0;
    int32_t selected_index_ = 0;
    int32_t state_index_ = -1;
    int32_t overlay_index_ = -1;
    bool expanded_ = false;
    bool focused_ = false;
    bool linked_ = false;    // in its parent's children
    bool deleting_ = false;  // its deletion has begun
    bool notified_ = false;  // DoDeletion was fired
    TOwned<TTreeNode> next_removed_;  // chain of unlinked nodes awaiting release
};

class TTreeNodes : public TPersistent {
    DECLARE_CLASS(TTreeNodes, TPersistent)
public:
    explicit TTreeNodes(TTreeNodesOwner* owner = nullptr);
    ~TTreeNodes() override;
    // Removes every node, reporting each (DoDeletion) while the owner is
    // still there.
    void BeforeDestruction() override;

    TTreeNodesOwner* Owner() const { return owner_; }
    // The owner when it is a persistent object (for name paths).
    TPersistent* GetOwner() const override;

    // New nodes. A null sibling or parent means the top level.
    TTreeNode* Add(TTreeNode* sibling, const std::string& text);  // last sibling
    TTreeNode* AddObject(TTreeNode* sibling, const std::string& text, void* data);
    TTreeNode* AddFirst(TTreeNode* sibling, const std::string& text);  // first sibling
    TTreeNode* AddObjectFirst(TTreeNode* sibling, const std::string& text, void* data);
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);  // last child
    TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data);
    TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& text);  // first child
    TTreeNode* AddChildObjectFirst(TTreeNode* parent, const std::string& text, void* data);
    TTreeNode* Insert(TTreeNode* sibling, const std::string& text);  // just before sibling
    TTreeNode* InsertObject(TTreeNode* sibling, const std::string& text, void* data);

    // Removes node and its subtree. Null and nodes already being deleted
    // are ignored. When the selection lies in the subtree it first becomes
    // nullptr (DoChange(nullptr)); then DoDeletion runs for every node.
    // Handlers may delete, clear or select other nodes; an exception from a
    // handler is raised again once the deletion is complete.
    void Delete(TTreeNode* node);
    void Clear();

    int Count() const { return count_; }  // all nodes
    TTreeNode* Item(int index) const;      // by AbsoluteIndex; EListError outside
    TTreeNode* GetFirstNode() const;

    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return update_count_ > 0; }

    TTreeNode* Selected() const { return selected_; }
    // Selects node (nullptr clears); DoChange when the selection changed.
    void SetSelected(TTreeNode* node);

    // Copies the whole forest of another TTreeNodes, node by node.
    void Assign(const TPersistent* source) override;

    // Binary property "Data": the design-time nodes of a layout.
    void DefineProperties(TFiler* filer) override;
    // Replaces the forest by the one in stream. The data is checked whole
    // before anything changes: bad data raises EReadError, tree unchanged.
    void ReadData(TStream& stream);
    // Raises EWriteError, writing nothing, when a text exceeds 255 bytes.
    void WriteData(TStream& stream) const;

private:
    friend class TTreeNode;
    class TBusy;

    TTreeNode* Link(TOwned<TTreeNode> node, TTreeNode* parent, size_t index);
    TTreeNode* AddNode(TTreeNode* relative, TNodeAttachMode mode, const std::string& text, void* data);
    void Place(TTreeNode* relative, TNodeAttachMode mode, TTreeNode*& parent, size_t& index) const;
    void CheckMember(const TTreeNode* node) const;
    void CheckParent(const TTreeNode* parent) const;
    void ChangeSelection(TTreeNode* node);
    void MoveNode(TTreeNode* node, TTreeNode* destination, TNodeAttachMode mode);
    void DeleteNodes(const std::vector<TTreeNode*>& nodes);
    void RemoveSubtree(TTreeNode* top, std::exception_ptr& error);
    void FinishNode(TTreeNode* node, std::exception_ptr& error);
    void Unlink(TTreeNode* node);
    // Links children_[index] of parent with its neighbours there.
    static void JoinSiblings(TTreeNode* parent, size_t index);
    // Takes node out of its siblings' links (not out of children_).
    static void SeparateSiblings(TTreeNode* node);
    void ReleaseRemoved();
    void RemoveAllQuietly() noexcept;

    TTreeNodesOwner* owner_;
    TOwned<TTreeNode> root_;
    TTreeNode* selected_ = nullptr;
    int count_ = 0;
    int update_count_ = 0;
    int busy_ = 0;                // nesting of deletions in progress
    TOwned<TTreeNode> removed_;   // unlinked nodes, released when busy_ drops to 0
    TTreeNode* last_removed_ = nullptr;  // the end of that chain
};
