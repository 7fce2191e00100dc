#include "classlib/core/treenodes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <tuple>

#include "classlib/core/exceptions.h"

namespace {

std::string Name(const TTreeNode* node) {
    return node ? node->Text() : "nil";
}

// Records what the model reports; tests plug behaviour into the events.
class TRecordingOwner : public TTreeNodesOwner {
public:
    std::vector<std::string> Log;
    std::function<void(TTreeNode*)> OnChange, OnDeletion;

    void DoChange(TTreeNode* node) override {
        Log.push_back("change " + Name(node));
        if (OnChange) OnChange(node);
    }
    void DoDeletion(TTreeNode* node) override {
        Log.push_back("delete " + Name(node));
        if (OnDeletion) OnDeletion(node);
    }
    void NodeInserted(TTreeNode* node) override { Log.push_back("inserted " + Name(node)); }
    void NodeRemoving(TTreeNode* node) override { Log.push_back("removing " + Name(node)); }
    void NodeChanged(TTreeNode* node) override { Log.push_back("changed " + Name(node)); }
    void NodeMoved(TTreeNode* node) override { Log.push_back("moved " + Name(node)); }
    void SelectionSet(TTreeNode* node) override { Log.push_back("select " + Name(node)); }
    void NodeExpanded(TTreeNode* node) override {
        Log.push_back((node->Expanded() ? "expanded " : "collapsed ") + Name(node));
    }
    void NodeMadeVisible(TTreeNode* node) override { Log.push_back("visible " + Name(node)); }
    void UpdatingChanged(bool updating) override { Log.push_back(updating ? "begin" : "end"); }

    // The entries starting with prefix, in order.
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> r;
        for (const auto& e : Log)
            if (e.compare(0, prefix.size(), prefix) == 0) r.push_back(e);
        return r;
    }
};

using Strings = std::vector<std::string>;

// The forest as "text(child,child)" lists, checking the links on the way.
std::string Shape(const TTreeNodes& nodes) {
    std::function<std::string(const TTreeNode*)> shape = [&](const TTreeNode* node) {
        std::string s = node->Text();
        if (node->HasChildren()) {
            s += "(";
            for (int i = 0; i < node->Count(); ++i) {
                const TTreeNode* child = node->Item(i);
                EXPECT_EQ(child->Parent(), node);
                EXPECT_EQ(child->Index(), i);
                s.append(i ? "," : "").append(shape(child));
            }
            s += ")";
        }
        return s;
    };
    std::string s;
    int walked = 0;
    for (const TTreeNode* n = nodes.GetFirstNode(); n; n = n->getNextSibling())
        s.append(s.empty() ? "" : " ").append(shape(n));
    for (const TTreeNode* n = nodes.GetFirstNode(); n; n = n->GetNext()) {
        EXPECT_EQ(n->AbsoluteIndex(), walked);
        ++walked;
    }
    EXPECT_EQ(walked, nodes.Count());
    return s;
}

// a(a1(a11),a2) b c
struct TSampleTree {
    TRecordingOwner owner;
    TOwned<TTreeNodes> nodes = MakeOwned<TTreeNodes>(&owner);
    TTreeNode* a = nodes->Add(nullptr, "a");
    TTreeNode* a1 = nodes->AddChild(a, "a1");
    TTreeNode* a11 = nodes->AddChild(a1, "a11");
    TTreeNode* a2 = nodes->AddChild(a, "a2");
    TTreeNode* b = nodes->Add(a, "b");
    TTreeNode* c = nodes->Add(nullptr, "c");

    TSampleTree() { owner.Log.clear(); }
};

TEST(TreeNodes, AddingPlacesNodes) {
    TRecordingOwner owner;
    TOwned<TTreeNodes> nodes = MakeOwned<TTreeNodes>(&owner);
    TTreeNode* b = nodes->Add(nullptr, "b");
    nodes->AddFirst(nullptr, "a");
    nodes->Add(b, "d");
    nodes->Insert(nodes->Item(2), "c");
    nodes->Insert(nullptr, "e");
    nodes->AddChild(b, "b2");
    nodes->AddChildFirst(b, "b1");
    nodes->AddFirst(b->GetLastChild(), "b0");
    nodes->Add(b->getFirstChild(), "b3");
    nodes->Insert(b->Item(2), "b15");
    nodes->AddChild(nullptr, "f");
    nodes->AddChildFirst(nullptr, "_");
    EXPECT_EQ(Shape(*nodes), "_ a b(b0,b1,b15,b2,b3) c d e f");
    EXPECT_EQ(owner.Only("inserted").size(), 12u);
    int data = 0;
    EXPECT_EQ(nodes->InsertObject(b, "x", &data)->Data(), &data);
}

TEST(TreeNodes, NavigationInPreOrder) {
    TSampleTree t;
    Strings forward, backward;
    for (TTreeNode* n = t.nodes->GetFirstNode(); n; n = n->GetNext()) forward.push_back(n->Text());
    for (TTreeNode* n = t.c; n; n = n->GetPrev()) backward.push_back(n->Text());
    EXPECT_EQ(forward, (Strings{"a", "a1", "a11", "a2", "b", "c"}));
    EXPECT_EQ(backward, (Strings{"c", "b", "a2", "a11", "a1", "a"}));
    EXPECT_EQ(t.nodes->Item(3), t.a2);
    EXPECT_EQ(t.a11->Level(), 2);
    EXPECT_EQ(t.a2->getPrevSibling(), t.a1);
    EXPECT_EQ(t.a2->getNextSibling(), nullptr);
    EXPECT_TRUE(t.a->IsFirstNode());
    EXPECT_FALSE(t.a1->IsFirstNode()) << "first child, but not at the top level";

    EXPECT_THROW(t.nodes->Item(6), EListError);
    EXPECT_THROW(t.nodes->Item(-1), EListError);
    EXPECT_THROW(t.a->Item(2), EListError);
}

TEST(TreeNodes, NodesOfOtherTreesAreRefused) {
    TSampleTree t;
    TOwned<TTreeNodes> other = MakeOwned<TTreeNodes>();
    TTreeNode* stranger = other->Add(nullptr, "x");
    EXPECT_THROW(t.nodes->AddChild(stranger, "y"), EInvalidOperation);
    EXPECT_THROW(t.nodes->Insert(stranger, "y"), EInvalidOperation);
    EXPECT_THROW(t.nodes->SetSelected(stranger), EInvalidOperation);
    EXPECT_THROW(t.nodes->Delete(stranger), EInvalidOperation);
    EXPECT_THROW(t.a->MoveTo(stranger, naAddChild), EInvalidOperation);
    EXPECT_EQ(Shape(*t.nodes), "a(a1(a11),a2) b c");
    EXPECT_EQ(Shape(*other), "x");
}

TEST(TreeNodes, ExpandingAndMakeVisible) {
    TSampleTree t;
    t.a11->MakeVisible();
    EXPECT_TRUE(t.a1->Expanded());
    EXPECT_TRUE(t.a->Expanded());
    EXPECT_FALSE(t.a11->Expanded());
    t.a->SetExpanded(false);
    t.a->SetExpanded(false);
    EXPECT_EQ(t.owner.Log, (Strings{"expanded a1", "expanded a", "visible a11", "collapsed a"}));
}

TEST(TreeNodes, SelectionReportsEveryChange) {
    TSampleTree t;
    t.nodes->SetSelected(t.a1);
    t.nodes->SetSelected(t.a1);
    EXPECT_TRUE(t.a1->Selected());
    t.b->SetSelected(true);
    t.a1->SetSelected(false);  // not selected: nothing happens
    t.b->SetSelected(false);
    EXPECT_EQ(t.nodes->Selected(), nullptr);
    EXPECT_EQ(t.owner.Log, (Strings{"select a1", "change a1", "select b", "change b", "select nil", "change nil"}));
}

TEST(TreeNodes, AssignCopiesNodeValuesAndTheForest) {
    TSampleTree t;
    int data = 0;
    t.a1->SetData(&data);
    t.a1->SetImageIndex(1);
    t.a1->SetSelectedIndex(2);
    t.a1->SetStateIndex(3);
    t.a1->SetOverlayIndex(4);
    t.nodes->SetSelected(t.a1);
    t.owner.Log.clear();

    // One node: its own values, not its children nor the selection.
    t.c->Assign(t.a1);
    auto values = [](const TTreeNode* n) {
        return std::make_tuple(n->Text(), n->Data(), n->ImageIndex(), n->SelectedIndex(), n->StateIndex(),
                               n->OverlayIndex());
    };
    EXPECT_EQ(values(t.c), values(t.a1));
    EXPECT_FALSE(t.c->HasChildren());
    EXPECT_FALSE(t.c->Selected());
    EXPECT_EQ(t.owner.Log, Strings{"changed a1"});

    // The forest, replacing what was there.
    TRecordingOwner owner;
    TOwned<TTreeNodes> copy = MakeOwned<TTreeNodes>(&owner);
    copy->Add(nullptr, "old");
    copy->Assign(t.nodes.get());
    EXPECT_EQ(Shape(*copy), "a(a1(a11),a2) b a1");
    EXPECT_EQ(values(copy->Item(1)), values(t.a1));
    EXPECT_EQ(copy->Selected(), nullptr);
    EXPECT_EQ(owner.Only("delete"), Strings{"delete old"});
    copy->Assign(copy.get());
    EXPECT_EQ(Shape(*copy), "a(a1(a11),a2) b a1");

    EXPECT_THROW(copy->Assign(t.a), EConvertError);
    EXPECT_THROW(t.a->Assign(copy.get()), EConvertError);
}

TEST(TreeNodes, MoveToEveryMode) {
    TSampleTree t;
    int data = 0;
    t.a1->SetData(&data);
    t.nodes->SetSelected(t.a11);
    t.owner.Log.clear();

    t.a1->MoveTo(t.c, naAddChild);
    EXPECT_EQ(Shape(*t.nodes), "a(a2) b c(a1(a11))");
    t.b->MoveTo(t.c, naAddChildFirst);
    EXPECT_EQ(Shape(*t.nodes), "a(a2) c(b,a1(a11))");
    t.a2->MoveTo(t.a1, naInsert);
    EXPECT_EQ(Shape(*t.nodes), "a c(b,a2,a1(a11))");
    t.b->MoveTo(t.a, naAddFirst);
    EXPECT_EQ(Shape(*t.nodes), "b a c(a2,a1(a11))");
    t.b->MoveTo(t.a11, naAdd);
    EXPECT_EQ(Shape(*t.nodes), "a c(a2,a1(a11,b))");
    t.a1->MoveTo(nullptr, naAddFirst);
    EXPECT_EQ(Shape(*t.nodes), "a1(a11,b) a c(a2)");
    t.a1->MoveTo(nullptr, naAdd);
    EXPECT_EQ(Shape(*t.nodes), "a c(a2) a1(a11,b)");
    t.a->MoveTo(t.a, naAdd);
    EXPECT_EQ(Shape(*t.nodes), "c(a2) a1(a11,b) a");
    t.a->MoveTo(t.a, naInsert);
    EXPECT_EQ(Shape(*t.nodes), "c(a2) a1(a11,b) a");

    EXPECT_EQ(t.a1->Data(), &data);
    EXPECT_EQ(t.nodes->Selected(), t.a11);
    EXPECT_EQ(t.a11->Level(), 1);
    EXPECT_TRUE(t.owner.Only("delete").empty());
    EXPECT_TRUE(t.owner.Only("change").empty());
    EXPECT_EQ(t.owner.Only("moved").size(), 8u);
    EXPECT_EQ(t.nodes->Count(), 6);
}

TEST(TreeNodes, MoveIntoOwnSubtreeIsRefused) {
    TSampleTree t;
    EXPECT_THROW(t.a->MoveTo(t.a11, naAddChild), EInvalidOperation);
    EXPECT_THROW(t.a->MoveTo(t.a11, naInsert), EInvalidOperation);
    EXPECT_THROW(t.a->MoveTo(t.a1, naAdd), EInvalidOperation);
    EXPECT_THROW(t.a->MoveTo(t.a, naAddChild), EInvalidOperation);
    EXPECT_THROW(t.a1->MoveTo(t.a1, naAddChildFirst), EInvalidOperation);
    EXPECT_EQ(Shape(*t.nodes), "a(a1(a11),a2) b c");
    EXPECT_TRUE(t.owner.Log.empty());
}

// ------------------------------------------------------------- deletion

TEST(TreeNodesDeletion, SubtreeChildrenFirstWhileIntact) {
    TSampleTree t;
    int data = 7;
    t.a11->SetData(&data);
    t.owner.Log.clear();
    t.owner.OnDeletion = [&](TTreeNode* node) {
        // Still whole and still in place.
        EXPECT_TRUE(node->Deleting());
        EXPECT_EQ(t.nodes->Count(), 6 - static_cast<int>(t.owner.Only("removing").size()));
        if (node == t.a11) {
            EXPECT_EQ(node->Data(), &data);
            EXPECT_EQ(node->Parent(), t.a1);
            EXPECT_EQ(t.a1->getFirstChild(), node);
            EXPECT_EQ(node->Level(), 2);
        }
    };
    t.a->Delete();
    EXPECT_EQ(t.owner.Log, (Strings{"delete a11", "removing a11", "delete a1", "removing a1", "delete a2",
                                    "removing a2", "delete a", "removing a"}));
    EXPECT_EQ(Shape(*t.nodes), "b c");
    EXPECT_TRUE(t.b->IsFirstNode());
}

TEST(TreeNodesDeletion, SelectionLeavesBeforeDeletionStarts) {
    TSampleTree t;
    t.nodes->SetSelected(t.a11);
    t.owner.Log.clear();
    t.owner.OnDeletion = [&](TTreeNode*) { EXPECT_EQ(t.nodes->Selected(), nullptr); };
    t.a1->Delete();
    EXPECT_EQ(t.owner.Log,
              (Strings{"select nil", "change nil", "delete a11", "removing a11", "delete a1", "removing a1"}));

    // A selection outside the subtree stays, silently; DoChange(nullptr)
    // may select a survivor.
    t.owner.OnDeletion = nullptr;
    t.nodes->SetSelected(t.b);
    t.owner.Log.clear();
    t.a->DeleteChildren();
    EXPECT_EQ(t.owner.Only("change"), Strings{});
    t.owner.OnChange = [&](TTreeNode* node) {
        if (!node) t.nodes->SetSelected(t.c);
    };
    t.b->Delete();
    EXPECT_EQ(t.nodes->Selected(), t.c);
    EXPECT_EQ(Shape(*t.nodes), "a c");
}

TEST(TreeNodesDeletion, ClearAndDestructionReportEveryNode) {
    TSampleTree t;
    t.nodes->SetSelected(t.a2);
    t.owner.Log.clear();
    t.nodes->Clear();
    EXPECT_EQ(t.owner.Only("delete"), (Strings{"delete a11", "delete a1", "delete a2", "delete a", "delete b", "delete c"}));
    EXPECT_EQ(t.owner.Log.front(), "select nil");
    EXPECT_EQ(t.nodes->Count(), 0);
    EXPECT_EQ(t.nodes->GetFirstNode(), nullptr);

    TRecordingOwner owner;
    {
        TOwned<TTreeNodes> nodes = MakeOwned<TTreeNodes>(&owner);
        nodes->AddChild(nodes->Add(nullptr, "x"), "y");
    }
    EXPECT_EQ(owner.Only("delete"), (Strings{"delete y", "delete x"}));
}

TEST(TreeNodesDeletion, DeletingInsideDoDeletion) {
    // Deleting the node being deleted, its parent and an unrelated node from
    // the handler: each node is reported once and the tree stays sound.
    TSampleTree t;
    t.owner.OnDeletion = [&](TTreeNode* node) {
        if (node->Text() == "a11") {
            node->Delete();
            t.a1->Delete();
            t.a->Delete();
            t.c->Delete();
        }
    };
    t.a1->Delete();
    EXPECT_EQ(t.owner.Only("delete"),
              (Strings{"delete a11", "delete a1", "delete a2", "delete a", "delete c"}));
    EXPECT_EQ(t.owner.Only("removing"),
              (Strings{"removing a11", "removing a1", "removing a2", "removing a", "removing c"}));
    EXPECT_EQ(Shape(*t.nodes), "b");
    EXPECT_EQ(t.nodes->Count(), 1);
}

TEST(TreeNodesDeletion, ClearingFromDoChange) {
    TSampleTree t;
    t.owner.OnChange = [&](TTreeNode* node) {
        if (node) t.nodes->Clear();
    };
    t.nodes->SetSelected(t.a1);
    EXPECT_EQ(t.nodes->Count(), 0);
    EXPECT_EQ(t.nodes->Selected(), nullptr);
    EXPECT_EQ(t.owner.Only("delete").size(), 6u);

    // The same while a selected node is being deleted.
    TSampleTree u;
    u.nodes->SetSelected(u.a11);
    u.owner.Log.clear();
    u.owner.OnChange = [&](TTreeNode*) { u.nodes->Clear(); };
    u.a1->Delete();
    EXPECT_EQ(u.nodes->Count(), 0);
    EXPECT_EQ(u.owner.Only("delete"), (Strings{"delete a11", "delete a1", "delete a2", "delete a", "delete b", "delete c"}));
    EXPECT_EQ(Shape(*u.nodes), "");
}

TEST(TreeNodesDeletion, NodesBeingDeletedCannotBeSelectedGrownOrMoved) {
    TSampleTree t;
    t.owner.OnDeletion = [&](TTreeNode* node) {
        if (node == t.a11) {
            EXPECT_THROW(t.nodes->SetSelected(t.a1), EInvalidOperation);
            EXPECT_THROW(t.nodes->AddChild(t.a1, "late"), EInvalidOperation);
            EXPECT_THROW(t.a2->MoveTo(t.b, naAddChild), EInvalidOperation);
            EXPECT_THROW(t.c->MoveTo(t.a2, naAddChild), EInvalidOperation);
            t.nodes->Add(t.a, "sibling");  // beside the subtree is fine
        }
    };
    t.a->Delete();
    EXPECT_EQ(t.nodes->Selected(), nullptr);
    EXPECT_EQ(Shape(*t.nodes), "b c sibling");
}

TEST(TreeNodesDeletion, HandlerErrorsSurfaceAfterTheDeletionCompletes) {
    TSampleTree t;
    t.nodes->SetSelected(t.a1);
    t.owner.OnChange = [&](TTreeNode*) { throw EAbort("change"); };
    t.owner.OnDeletion = [&](TTreeNode* node) { throw EAbort("deletion of " + node->Text()); };
    try {
        t.a->Delete();
        FAIL() << "expected the handler's exception";
    } catch (const EAbort& e) {
        EXPECT_EQ(e.Message(), "change") << "the first error wins";
    }
    EXPECT_EQ(t.owner.Only("delete").size(), 4u);
    EXPECT_EQ(Shape(*t.nodes), "b c");
    EXPECT_EQ(t.nodes->Selected(), nullptr);

    // Destruction swallows them: the nodes go all the same.
    TRecordingOwner owner;
    owner.OnDeletion = [](TTreeNode*) { throw EAbort("x"); };
    {
        TOwned<TTreeNodes> nodes = MakeOwned<TTreeNodes>(&owner);
        nodes->Add(nullptr, "x");
        nodes->Add(nullptr, "y");
    }
    EXPECT_EQ(owner.Only("delete"), (Strings{"delete x", "delete y"}));
}

TEST(TreeNodesDeletion, DeepTreesNeedNoRecursion) {
    TOwned<TTreeNodes> nodes = MakeOwned<TTreeNodes>();
    TTreeNode* node = nullptr;
    for (int i = 0; i < 100000; ++i) node = nodes->AddChild(node, "n");
    EXPECT_EQ(nodes->Count(), 100000);
    TOwned<TTreeNodes> copy = MakeOwned<TTreeNodes>();
    copy->Assign(nodes.get());
    EXPECT_EQ(copy->Count(), 100000);
    nodes->Clear();
    EXPECT_EQ(nodes->Count(), 0);
}

// Walking, moving and deleting siblings takes time in proportion to the
// nodes: with a search per step, 300,000 siblings would take minutes.
TEST(TreeNodesDeletion, ManySiblingsAreWalkedAndDeletedInLinearTime) {
    const auto start = std::chrono::steady_clock::now();
    TRecordingOwner owner;
    int deleted = 0;
    owner.OnDeletion = [&](TTreeNode* node) {
        if (node->getNextSibling() || node->getPrevSibling() || node->IsFirstNode()) ++deleted;
    };
    TOwned<TTreeNodes> nodes = MakeOwned<TTreeNodes>(&owner);
    const int count = 300000;
    TTreeNode* parent = nodes->Add(nullptr, "parent");
    for (int i = 0; i < count; ++i) nodes->AddChild(parent, "n");
    int walked = 0;
    for (TTreeNode* n = nodes->GetFirstNode(); n; n = n->GetNext()) ++walked;
    EXPECT_EQ(walked, count + 1);
    int backwards = 0;
    for (TTreeNode* n = parent->GetLastChild(); n; n = n->getPrevSibling()) ++backwards;
    EXPECT_EQ(backwards, count);

    parent->getFirstChild()->MoveTo(parent, naAddChild);  // first to last
    EXPECT_EQ(parent->GetLastChild()->getPrevSibling()->getNextSibling(), parent->GetLastChild());
    parent->GetLastChild()->Delete();
    nodes->AddChildFirst(parent, "first");
    EXPECT_EQ(parent->getFirstChild()->Text(), "first");
    EXPECT_EQ(parent->getFirstChild()->getNextSibling()->getPrevSibling(), parent->getFirstChild());

    owner.Log.clear();
    parent->DeleteChildren();
    EXPECT_EQ(deleted, count);
    EXPECT_EQ(parent->Count(), 0);
    nodes->Clear();
    EXPECT_EQ(nodes->Count(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace
