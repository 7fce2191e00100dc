#include "classlib/core/treenodes.h"

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/strutils.h"

namespace {

const char* const kForeignNode = "Der Knoten geh\xF6rt nicht zu dieser Baumliste";
const char* const kNodeDeleted = "Der Knoten wird gel\xF6scht";
const char* const kMoveIntoOwnSubtree = "Ein Knoten kann nicht in seinen eigenen Unterbaum verschoben werden";

[[noreturn]] void RaiseIndexError(int index) {
    throw EListError(Format(LoadStr(SListIndexError), {index}));
}

// The next node of top's subtree in pre-order; nullptr after its last.
TTreeNode* NextInSubtree(TTreeNode* node, const TTreeNode* top) {
    if (TTreeNode* child = node->getFirstChild()) return child;
    while (node != top) {
        if (TTreeNode* sibling = node->getNextSibling()) return sibling;
        node = node->Parent();
    }
    return nullptr;
}

}  // namespace

// ---------------------------------------------------------------- TTreeNode

const TClassInfo& TTreeNode::StaticClass() {
    static const TClassInfo info = DefineClass<TTreeNode>("TTreeNode", &TPersistent::StaticClass(), [](auto&) {});
    return info;
}

TTreeNode::~TTreeNode() {
    // Unlinked nodes wait in a chain; release it without recursing.
    while (next_removed_) next_removed_ = std::move(next_removed_->next_removed_);
}

bool TTreeNode::IsRoot() const {
    return owner_->root_.get() == this;
}

void TTreeNode::NotifyChanged() {
    if (owner_->owner_ && linked_) owner_->owner_->NodeChanged(this);
}

void TTreeNode::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    NotifyChanged();
}

void TTreeNode::SetData(void* data) {
    if (data == data_) return;
    data_ = data;
    NotifyChanged();
}

void TTreeNode::SetImageIndex(int32_t index) {
    if (index == image_index_) return;
    image_index_ = index;
    NotifyChanged();
}

void TTreeNode::SetSelectedIndex(int32_t index) {
    if (index == selected_index_) return;
    selected_index_ = index;
    NotifyChanged();
}

void TTreeNode::SetStateIndex(int32_t index) {
    if (index == state_index_) return;
    state_index_ = index;
    NotifyChanged();
}

void TTreeNode::SetOverlayIndex(int32_t index) {
    if (index == overlay_index_) return;
    overlay_index_ = index;
    NotifyChanged();
}

void TTreeNode::SetFocused(bool focused) {
    if (focused == focused_) return;
    focused_ = focused;
    NotifyChanged();
}

void TTreeNode::SetExpanded(bool expanded) {
    if (expanded == expanded_) return;
    expanded_ = expanded;
    if (owner_->owner_ && linked_) owner_->owner_->NodeExpanded(this);
}

bool TTreeNode::Selected() const {
    return owner_->selected_ == this;
}

void TTreeNode::SetSelected(bool selected) {
    if (selected) owner_->SetSelected(this);
    else if (Selected()) owner_->SetSelected(nullptr);
}

TTreeNode* TTreeNode::Parent() const {
    return parent_ && !parent_->IsRoot() ? parent_ : nullptr;
}

TTreeNode* TTreeNode::getFirstChild() const {
    return children_.empty() ? nullptr : children_.front().get();
}

TTreeNode* TTreeNode::GetLastChild() const {
    return children_.empty() ? nullptr : children_.back().get();
}

int TTreeNode::Index() const {
    if (!linked_) return -1;
    int index = 0;
    for (const TTreeNode* node = prev_sibling_; node; node = node->prev_sibling_) ++index;
    return index;
}

TTreeNode* TTreeNode::getNextSibling() const {
    return linked_ ? next_sibling_ : nullptr;
}

TTreeNode* TTreeNode::getPrevSibling() const {
    return linked_ ? prev_sibling_ : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!linked_) return nullptr;
    if (TTreeNode* child = getFirstChild()) return child;
    for (const TTreeNode* node = this; node && !node->IsRoot(); node = node->parent_)
        if (TTreeNode* sibling = node->getNextSibling()) return sibling;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
    if (!linked_) return nullptr;
    TTreeNode* node = getPrevSibling();
    if (!node) return Parent();
    while (TTreeNode* last = node->GetLastChild()) node = last;
    return node;
}

TTreeNode* TTreeNode::Item(int index) const {
    if (index < 0 || index >= Count()) RaiseIndexError(index);
    return children_[static_cast<size_t>(index)].get();
}

int TTreeNode::AbsoluteIndex() const {
    if (!linked_) return -1;
    int index = 0;
    for (const TTreeNode* node = GetPrev(); node; node = node->GetPrev()) ++index;
    return index;
}

int TTreeNode::Level() const {
    int level = 0;
    for (const TTreeNode* node = Parent(); node; node = node->Parent()) ++level;
    return level;
}

bool TTreeNode::IsFirstNode() const {
    return linked_ && !deleting_ && !Parent() && !prev_sibling_;
}

void TTreeNode::MakeVisible() {
    for (TTreeNode* node = Parent(); node; node = node->Parent()) node->SetExpanded(true);
    if (owner_->owner_ && linked_) owner_->owner_->NodeMadeVisible(this);
}

bool TTreeNode::EditText() {
    return owner_->owner_ && linked_ ? owner_->owner_->EditNodeText(this) : false;
}

void TTreeNode::Delete() {
    owner_->Delete(this);
}

void TTreeNode::DeleteChildren() {
    std::vector<TTreeNode*> children;
    children.reserve(children_.size());
    for (const auto& child : children_) children.push_back(child.get());
    owner_->DeleteNodes(children);
}

void TTreeNode::MoveTo(TTreeNode* destination, TNodeAttachMode mode) {
    owner_->MoveNode(this, destination, mode);
}

void TTreeNode::Assign(const TPersistent* source) {
    const auto* node = dynamic_cast<const TTreeNode*>(source);
    if (!node) {
        TPersistent::Assign(source);
        return;
    }
    if (node == this) return;
    bool changed = text_ != node->text_ || data_ != node->data_ || image_index_ != node->image_index_ ||
                   selected_index_ != node->selected_index_ || state_index_ != node->state_index_ ||
                   overlay_index_ != node->overlay_index_;
    text_ = node->text_;
    data_ = node->data_;
    image_index_ = node->image_index_;
    selected_index_ = node->selected_index_;
    state_index_ = node->state_index_;
    overlay_index_ = node->overlay_index_;
    if (changed) NotifyChanged();
}

// --------------------------------------------------------------- TTreeNodes

// Keeps unlinked nodes allocated until the outermost deletion ends, so
// handlers and the deletion loops never meet a freed node.
class TTreeNodes::TBusy {
public:
    explicit TBusy(TTreeNodes& nodes) : nodes_(nodes) { ++nodes_.busy_; }
    ~TBusy() {
        if (--nodes_.busy_ == 0) nodes_.ReleaseRemoved();
    }
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;

private:
    TTreeNodes& nodes_;
};

const TClassInfo& TTreeNodes::StaticClass() {
    static const TClassInfo info = DefineClass<TTreeNodes>("TTreeNodes", &TPersistent::StaticClass(), [](auto&) {});
    return info;
}

TTreeNodes::TTreeNodes(TTreeNodesOwner* owner) : owner_(owner), root_(new TTreeNode(this)) {
    root_->linked_ = true;
}

TTreeNodes::~TTreeNodes() {
    // Objects deleted without Free() still report their nodes.
    RemoveAllQuietly();
}

void TTreeNodes::BeforeDestruction() {
    RemoveAllQuietly();
    TPersistent::BeforeDestruction();
}

void TTreeNodes::RemoveAllQuietly() noexcept {
    if (root_->children_.empty()) return;
    try {
        Clear();
    } catch (...) {
        // A handler failed while the object goes away; the nodes are gone
        // all the same and there is nobody left to tell.
    }
}

TPersistent* TTreeNodes::GetOwner() const {
    return dynamic_cast<TPersistent*>(owner_);
}

void TTreeNodes::CheckMember(const TTreeNode* node) const {
    if (!node || node->owner_ != this || !node->linked_ || node->IsRoot())
        throw EInvalidOperation(kForeignNode);
}

void TTreeNodes::CheckParent(const TTreeNode* parent) const {
    if (parent->deleting_) throw EInvalidOperation(kNodeDeleted);
}

void TTreeNodes::Place(TTreeNode* relative, TNodeAttachMode mode, TTreeNode*& parent, size_t& index) const {
    if (relative) CheckMember(relative);
    bool asChild = mode == naAddChild || mode == naAddChildFirst;
    if (!relative) parent = root_.get();
    else parent = asChild ? relative : relative->parent_;
    CheckParent(parent);
    switch (mode) {
    case naAddFirst:
    case naAddChildFirst:
        index = 0;
        break;
    case naInsert:
        index = relative ? static_cast<size_t>(relative->Index()) : parent->children_.size();
        break;
    default:
        index = parent->children_.size();
        break;
    }
}

TTreeNode* TTreeNodes::Link(TOwned<TTreeNode> node, TTreeNode* parent, size_t index) {
    TTreeNode* raw = node.get();
    parent->children_.insert(parent->children_.begin() + static_cast<std::ptrdiff_t>(index), std::move(node));
    JoinSiblings(parent, index);
    raw->parent_ = parent;
    raw->linked_ = true;
    ++count_;
    if (owner_) owner_->NodeInserted(raw);
    return raw;
}

TTreeNode* TTreeNodes::AddNode(TTreeNode* relative, TNodeAttachMode mode, const std::string& text, void* data) {
    TTreeNode* parent;
    size_t index;
    Place(relative, mode, parent, index);
    TOwned<TTreeNode> node(new TTreeNode(this));
    node->text_ = text;
    node->data_ = data;
    return Link(std::move(node), parent, index);
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
    return AddNode(sibling, naAdd, text, nullptr);
}
TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::string& text, void* data) {
    return AddNode(sibling, naAdd, text, data);
}
TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const std::string& text) {
    return AddNode(sibling, naAddFirst, text, nullptr);
}
TTreeNode* TTreeNodes::AddObjectFirst(TTreeNode* sibling, const std::string& text, void* data) {
    return AddNode(sibling, naAddFirst, text, data);
}
TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
    return AddNode(parent, naAddChild, text, nullptr);
}
TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data) {
    return AddNode(parent, naAddChild, text, data);
}
TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::string& text) {
    return AddNode(parent, naAddChildFirst, text, nullptr);
}
TTreeNode* TTreeNodes::AddChildObjectFirst(TTreeNode* parent, const std::string& text, void* data) {
    return AddNode(parent, naAddChildFirst, text, data);
}
TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const std::string& text) {
    return AddNode(sibling, naInsert, text, nullptr);
}
TTreeNode* TTreeNodes::InsertObject(TTreeNode* sibling, const std::string& text, void* data) {
    return AddNode(sibling, naInsert, text, data);
}

TTreeNode* TTreeNodes::GetFirstNode() const {
    return root_->getFirstChild();
}

TTreeNode* TTreeNodes::Item(int index) const {
    if (index < 0 || index >= count_) RaiseIndexError(index);
    TTreeNode* node = GetFirstNode();
    for (int i = 0; i < index && node; ++i) node = node->GetNext();
    if (!node) RaiseIndexError(index);
    return node;
}

void TTreeNodes::BeginUpdate() {
    if (update_count_++ == 0 && owner_) owner_->UpdatingChanged(true);
}

void TTreeNodes::EndUpdate() {
    if (update_count_ == 0) return;
    if (--update_count_ == 0 && owner_) owner_->UpdatingChanged(false);
}

void TTreeNodes::SetSelected(TTreeNode* node) {
    if (node) {
        CheckMember(node);
        if (node->deleting_) throw EInvalidOperation(kNodeDeleted);
    }
    ChangeSelection(node);
}

void TTreeNodes::ChangeSelection(TTreeNode* node) {
    if (node == selected_) return;
    selected_ = node;
    if (!owner_) return;
    owner_->SelectionSet(node);
    owner_->DoChange(node);
}

void TTreeNodes::MoveNode(TTreeNode* node, TTreeNode* destination, TNodeAttachMode mode) {
    CheckMember(node);
    if (node->deleting_) throw EInvalidOperation(kNodeDeleted);
    if (destination) CheckMember(destination);
    bool asChild = mode == naAddChild || mode == naAddChildFirst;
    TTreeNode* parent = !destination ? root_.get() : asChild ? destination : destination->parent_;
    CheckParent(parent);
    for (const TTreeNode* p = parent; p; p = p->parent_)
        if (p == node) throw EInvalidOperation(kMoveIntoOwnSubtree);
    if (mode == naInsert && destination == node) return;

    // The new place first: should that fail, nothing has changed.
    auto& to = parent->children_;
    size_t index = to.size();
    if (mode == naAddFirst || mode == naAddChildFirst) index = 0;
    else if (mode == naInsert && destination) index = static_cast<size_t>(destination->Index());
    to.insert(to.begin() + static_cast<std::ptrdiff_t>(index), TOwned<TTreeNode>());

    auto& from = node->parent_->children_;
    auto it = std::find_if(from.begin(), from.end(), [node](const auto& c) { return c.get() == node; });
    const auto at = static_cast<size_t>(it - from.begin());
    TOwned<TTreeNode> owned = std::move(*it);
    from.erase(it);
    SeparateSiblings(node);
    if (&from == &to && at < index) --index;
    to[index] = std::move(owned);
    JoinSiblings(parent, index);
    node->parent_ = parent;
    if (owner_) owner_->NodeMoved(node);
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node) return;
    if (node->owner_ != this || node->IsRoot()) throw EInvalidOperation(kForeignNode);
    DeleteNodes({node});
}

void TTreeNodes::Clear() {
    std::vector<TTreeNode*> top;
    top.reserve(root_->children_.size());
    for (const auto& node : root_->children_) top.push_back(node.get());
    DeleteNodes(top);
}

void TTreeNodes::DeleteNodes(const std::vector<TTreeNode*>& nodes) {
    std::vector<TTreeNode*> tops;
    tops.reserve(nodes.size());
    for (TTreeNode* node : nodes)
        if (node->linked_ && !node->deleting_) tops.push_back(node);
    if (tops.empty()) return;

    TBusy busy(*this);
    for (TTreeNode* top : tops)
        for (TTreeNode* n = top; n; n = NextInSubtree(n, top)) n->deleting_ = true;

    // From here on nothing allocates; handler exceptions wait until every
    // node is gone, so no node is left half-deleted.
    std::exception_ptr error;
    if (selected_ && selected_->deleting_) {
        try {
            ChangeSelection(nullptr);
        } catch (...) {
            error = std::current_exception();
        }
    }
    for (TTreeNode* top : tops) RemoveSubtree(top, error);
    if (error) std::rethrow_exception(error);
}

void TTreeNodes::RemoveSubtree(TTreeNode* top, std::exception_ptr& error) {
    // Post-order without a stack: a finished node leaves its parent's
    // children, so the parent's first child is always the next to go.
    // Handlers cannot add to or move out of a subtree being deleted.
    TTreeNode* node = top;
    for (;;) {
        while (TTreeNode* child = node->getFirstChild()) node = child;
        TTreeNode* parent = node->parent_;
        FinishNode(node, error);
        if (node == top) return;
        node = parent;
    }
}

void TTreeNodes::FinishNode(TTreeNode* node, std::exception_ptr& error) {
    auto call = [&](auto&& hook) {
        try {
            hook();
        } catch (...) {
            if (!error) error = std::current_exception();
        }
    };
    if (!node->notified_) {
        node->notified_ = true;
        if (owner_) call([&] { owner_->DoDeletion(node); });
    }
    // A nested deletion may have finished the node meanwhile.
    if (!node->linked_) return;
    if (owner_) call([&] { owner_->NodeRemoving(node); });
    if (node->linked_) Unlink(node);
}

void TTreeNodes::Unlink(TTreeNode* node) {
    // Deletion takes children from the front; a single node may be anywhere.
    auto& siblings = node->parent_->children_;
    auto it = siblings.back().get() == node
                  ? siblings.end() - 1
                  : std::find_if(siblings.begin(), siblings.end(), [node](const auto& c) { return c.get() == node; });
    TOwned<TTreeNode> owned = std::move(*it);
    siblings.erase(it);
    SeparateSiblings(node);
    node->linked_ = false;
    --count_;
    // Queued in the order of removal, which is released first: mostly the
    // order the nodes were made in, the order in which the heap frees
    // blocks fastest.
    TTreeNode* raw = owned.get();
    (removed_ ? last_removed_->next_removed_ : removed_) = std::move(owned);
    last_removed_ = raw;
}

void TTreeNodes::JoinSiblings(TTreeNode* parent, size_t index) {
    const auto& siblings = parent->children_;
    TTreeNode* node = siblings[index].get();
    node->prev_sibling_ = index > 0 ? siblings[index - 1].get() : nullptr;
    node->next_sibling_ = index + 1 < siblings.size() ? siblings[index + 1].get() : nullptr;
    if (node->prev_sibling_) node->prev_sibling_->next_sibling_ = node;
    if (node->next_sibling_) node->next_sibling_->prev_sibling_ = node;
}

void TTreeNodes::SeparateSiblings(TTreeNode* node) {
    if (node->prev_sibling_) node->prev_sibling_->next_sibling_ = node->next_sibling_;
    if (node->next_sibling_) node->next_sibling_->prev_sibling_ = node->prev_sibling_;
    node->prev_sibling_ = node->next_sibling_ = nullptr;
}

void TTreeNodes::ReleaseRemoved() {
    while (removed_) {
        TOwned<TTreeNode> node = std::move(removed_);
        removed_ = std::move(node->next_removed_);
    }
    last_removed_ = nullptr;
}

void TTreeNodes::Assign(const TPersistent* source) {
    const auto* nodes = dynamic_cast<const TTreeNodes*>(source);
    if (!nodes) {
        TPersistent::Assign(source);
        return;
    }
    if (nodes == this) return;
    WhileUpdating(*this, [&] {
        Clear();
        // The path from the top level down to the last copied node, as
        // (source, copy) pairs; the source's parent is on it.
        std::vector<std::pair<const TTreeNode*, TTreeNode*>> path;
        for (TTreeNode* from = nodes->GetFirstNode(); from; from = from->GetNext()) {
            while (!path.empty() && path.back().first != from->Parent()) path.pop_back();
            TTreeNode* copy = AddChild(path.empty() ? nullptr : path.back().second, from->Text());
            copy->Assign(from);
            path.emplace_back(from, copy);
        }
    });
}
