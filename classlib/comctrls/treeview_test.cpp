#include "classlib/comctrls/treeview.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "classlib/comctrls/comctrls_test_support.h"
#include "classlib/core/filer.h"
#include "classlib/core/scope_exit.h"
#include "classlib/testing/tree_item_recorder.h"

namespace {

// The forest as "text(child,child),text".
std::string ModelShape(const TTreeNodes& nodes) {
    std::function<std::string(const TTreeNode*)> list = [&](const TTreeNode* first) {
        std::string out;
        for (const TTreeNode* n = first; n; n = n->getNextSibling()) {
            if (!out.empty()) out += ",";
            out += n->Text();
            if (n->HasChildren()) out.append("(").append(list(n->getFirstChild())).append(")");
        }
        return out;
    };
    return list(nodes.GetFirstNode());
}

HTREEITEM NextItem(HWND window, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(window, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

struct TItemInfo {
    std::string Text;
    TTreeNode* Node = nullptr;
    int Image = -1, SelectedImage = -1;
    bool Expanded = false;
};

TItemInfo ItemInfo(HWND window, HTREEITEM item) {
    char text[260] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    tv.stateMask = TVIS_EXPANDED;
    SendMessageA(window, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return {text, reinterpret_cast<TTreeNode*>(tv.lParam), tv.iImage, tv.iSelectedImage,
            (tv.state & TVIS_EXPANDED) != 0};
}

// The window's items in the same form; every item must carry its node.
std::string WindowShape(HWND window, HTREEITEM first) {
    std::string out;
    for (HTREEITEM item = first; item; item = NextItem(window, TVGN_NEXT, item)) {
        TItemInfo info = ItemInfo(window, item);
        EXPECT_TRUE(info.Node && info.Node->Text() == info.Text) << info.Text;
        if (!out.empty()) out += ",";
        out += info.Text;
        if (HTREEITEM child = NextItem(window, TVGN_CHILD, item))
            out.append("(").append(WindowShape(window, child)).append(")");
    }
    return out;
}

std::string WindowShape(TTreeView* tree) {
    HWND window = tree->Handle();
    return WindowShape(window, NextItem(window, TVGN_ROOT, nullptr));
}

HTREEITEM FindItem(HWND window, HTREEITEM first, const TTreeNode* node) {
    for (HTREEITEM item = first; item; item = NextItem(window, TVGN_NEXT, item)) {
        if (ItemInfo(window, item).Node == node) return item;
        if (HTREEITEM found = FindItem(window, NextItem(window, TVGN_CHILD, item), node)) return found;
    }
    return nullptr;
}

TItemInfo WindowItem(TTreeView* tree, const TTreeNode* node) {
    HWND window = tree->Handle();
    HTREEITEM item = FindItem(window, NextItem(window, TVGN_ROOT, nullptr), node);
    EXPECT_TRUE(item) << node->Text();
    return item ? ItemInfo(window, item) : TItemInfo{};
}

TTreeNode* WindowSelection(TTreeView* tree) {
    HTREEITEM item = NextItem(tree->Handle(), TVGN_CARET, nullptr);
    return item ? ItemInfo(tree->Handle(), item).Node : nullptr;
}

TTreeView* AddTree(TForm* form) {
    auto* tree = new TTreeView(form);
    tree->SetName("Tree1");
    tree->SetParent(form);
    tree->SetBounds(10, 10, 220, 250);
    return tree;
}

// Two solid 16 x 16 images: red, green.
TImageList* AddImages(TForm* form) {
    auto* images = new TImageList(form);
    images->SetName("Images1");
    TGdiObject strip = MakeBitmap(32, 16, [](int x, int) { return x < 16 ? 0xFF0000 : 0x00FF00; });
    images->Add(AsBitmap(strip), nullptr);
    return images;
}

TEST(TreeView, WindowMirrorsInsertsChangesDeletesAndClear) {
    auto form = MakeTestForm();
    TTreeView* tree = AddTree(form.get());
    ShowAndPump(form.get());
    TTreeNodes* items = tree->Items();

    TTreeNode* a = items->Add(nullptr, "a");
    TTreeNode* b = items->Add(nullptr, "b");
    TTreeNode* a1 = items->AddChild(a, "a1");
    items->AddChild(a, "a2");
    items->AddChildFirst(a, "a0");
    items->AddFirst(b, "first");
    items->Insert(b, "ab");
    EXPECT_EQ(ModelShape(*items), "first,a(a0,a1,a2),ab,b");
    EXPECT_EQ(WindowShape(tree), ModelShape(*items));

    a1->SetText("A1");
    a1->SetImageIndex(3);
    a1->SetSelectedIndex(4);
    TItemInfo info = WindowItem(tree, a1);
    EXPECT_EQ(info.Text, "A1");
    EXPECT_EQ(info.Image, 3);
    EXPECT_EQ(info.SelectedImage, 4);
    a->SetExpanded(true);
    EXPECT_TRUE(WindowItem(tree, a).Expanded);
    // A child added to an expanded node that had none shows at once.
    b->SetExpanded(true);
    items->AddChild(b, "b1");
    EXPECT_TRUE(WindowItem(tree, b).Expanded);

    std::vector<std::string> deleted;
    tree->OnDeletion = [&](TObject*, TTreeNode* node) { deleted.push_back(node->Text()); };
    a->Delete();
    EXPECT_EQ(deleted, (std::vector<std::string>{"a0", "A1", "a2", "a"}));
    EXPECT_EQ(WindowShape(tree), "first,ab,b(b1)");

    deleted.clear();
    items->Clear();
    EXPECT_EQ(deleted, (std::vector<std::string>{"first", "ab", "b1", "b"}));
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETCOUNT, 0, 0), 0);
}

TEST(TreeView, MoveToKeepsNodeDataSubtreeAndSelectionWithoutDeletion) {
    auto form = MakeTestForm();
    TTreeView* tree = AddTree(form.get());
    ShowAndPump(form.get());
    TTreeNodes* items = tree->Items();
    TTreeNode* first = items->Add(nullptr, "first");
    TTreeNode* a = items->Add(nullptr, "a");
    TTreeNode* a1 = items->AddChild(a, "a1");
    TTreeNode* a1x = items->AddChild(a1, "a1x");
    int data = 7;
    a1->SetData(&data);
    a1->SetExpanded(true);
    tree->SetSelected(a1x);

    int deletions = 0, changes = 0;
    tree->OnDeletion = [&](TObject*, TTreeNode*) { ++deletions; };
    tree->OnChange = [&](TObject*, TTreeNode*) { ++changes; };
    a1->MoveTo(first, naInsert);

    EXPECT_EQ(ModelShape(*items), "a1(a1x),first,a");
    EXPECT_EQ(WindowShape(tree), ModelShape(*items));
    EXPECT_EQ(items->GetFirstNode(), a1);
    EXPECT_EQ(a1->Data(), &data);
    EXPECT_EQ(a1->getFirstChild(), a1x);
    EXPECT_EQ(tree->Selected(), a1x);
    EXPECT_EQ(WindowSelection(tree), a1x);
    EXPECT_TRUE(WindowItem(tree, a1).Expanded);
    EXPECT_EQ(deletions, 0);
    EXPECT_EQ(changes, 0);

    // Into another subtree, as a child.
    a1->MoveTo(a, naAddChild);
    EXPECT_EQ(WindowShape(tree), "first,a(a1(a1x))");
    EXPECT_EQ(WindowSelection(tree), a1x);
    EXPECT_EQ(deletions, 0);
}

TEST(TreeView, AlphaSortOrdersModelAndWindow) {
    auto form = MakeTestForm();
    TTreeView* tree = AddTree(form.get());
    ShowAndPump(form.get());
    TTreeNodes* items = tree->Items();
    items->Add(nullptr, "cherry");
    TTreeNode* b = items->Add(nullptr, "Banana");
    items->Add(nullptr, "apple");
    items->AddChild(b, "z");
    TTreeNode* y = items->AddChild(b, "y");
    tree->SetSelected(y);
    int deletions = 0;
    tree->OnDeletion = [&](TObject*, TTreeNode*) { ++deletions; };
    tree->AlphaSort();
    EXPECT_EQ(ModelShape(*items), "apple,Banana(y,z),cherry");
    EXPECT_EQ(WindowShape(tree), ModelShape(*items));
    EXPECT_EQ(WindowSelection(tree), y);
    EXPECT_EQ(deletions, 0);
}

TEST(TreeView, BorderStyleChangeMakesANewWindowWithNodesSelectionAndImages) {
    auto form = MakeTestForm();
    TTreeView* tree = AddTree(form.get());
    TImageList* images = AddImages(form.get());
    tree->SetImages(images);
    TTreeNodes* items = tree->Items();
    TTreeNode* a = items->Add(nullptr, "a");
    items->AddChild(a, "a1");
    TTreeNode* a2 = items->AddChild(a, "a2");
    items->Add(nullptr, "b");
    a2->SetImageIndex(1);
    a->SetExpanded(true);
    tree->SetSelected(a2);
    ShowAndPump(form.get());
    EXPECT_NE(GetWindowLongA(tree->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

    int deletions = 0;
    tree->OnDeletion = [&](TObject*, TTreeNode*) { ++deletions; };
    tree->SetBorderStyle(bsNone);
    DrainMessages();
    ASSERT_TRUE(tree->HandleAllocated());
    EXPECT_EQ(GetWindowLongA(tree->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(WindowShape(tree), "a(a1,a2),b");
    EXPECT_EQ(items->Count(), 4);
    EXPECT_EQ(deletions, 0);
    EXPECT_EQ(tree->Selected(), a2);
    EXPECT_EQ(WindowSelection(tree), a2);
    EXPECT_TRUE(WindowItem(tree, a).Expanded);
    EXPECT_EQ(WindowItem(tree, a2).Image, 1);
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0),
              reinterpret_cast<LRESULT>(images->Handle()));

    // Freeing the image list leaves the tree without images.
    images->Free();
    EXPECT_EQ(tree->Images(), nullptr);
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);
}

// Every node's window item in the model's order: text, images and node.
std::string WindowItems(TTreeView* tree) {
    std::string out;
    for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext()) {
        TItemInfo info = WindowItem(tree, n);
        out += info.Text + ":" + std::to_string(info.Image) + "/" + std::to_string(info.SelectedImage) +
               (info.Node == n ? "" : "(other node)") + " ";
    }
    return out;
}

// The window finds an item handle it is given by searching all its items:
// a large tree filled in an update must give each item in one message,
// with its images and node, at the end wherever that is where it goes,
// and below a parent the window finds among its first items.
TEST(TreeView, FillingInAnUpdateGivesEachItemWholeInOneMessageAtTheEnd) {
    auto form = MakeTestForm();
    TTreeView* tree = AddTree(form.get());
    TTreeItemRecorder recorder;
    ShowAndPump(form.get());
    TTreeNodes* items = tree->Items();
    TTreeNode* root = items->Add(nullptr, "Themes");
    root->SetExpanded(true);
    int records[3] = {};
    recorder.Clear();

    TTreeNode* chosen = nullptr;
    WhileUpdating(*items, [&] {
        for (int c = 0; c < 3; ++c) {
            TTreeNode* category = items->AddChild(root, "Category " + std::to_string(c));
            category->SetImageIndex(0);
            category->SetSelectedIndex(2);
            for (int e = 0; e < 4; ++e) {
                TTreeNode* entry = items->AddChild(category, "Entry " + std::to_string(e));
                entry->SetImageIndex(1);
                entry->SetSelectedIndex(3);
                entry->SetData(&records[c]);
                if (c == 1 && e == 2) chosen = entry;
            }
        }
        items->SetSelected(chosen);
    });

    EXPECT_EQ(recorder.Changes, 0);
    std::set<TTreeNode*> given;
    for (const TTreeItemRecorder::TInsert& insert : recorder.Inserts) {
        auto* node = reinterpret_cast<TTreeNode*>(insert.Param);
        ASSERT_TRUE(node && node->Owner() == items);
        EXPECT_TRUE(given.insert(node).second) << node->Text() << " twice";
        EXPECT_EQ(insert.After, TVI_LAST) << node->Text();
        EXPECT_EQ(insert.Text, node->Text());
        EXPECT_EQ(insert.Mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM),
                  static_cast<UINT>(TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM));
        EXPECT_EQ(insert.Image, node->ImageIndex()) << node->Text();
        EXPECT_EQ(insert.SelectedImage, node->SelectedIndex()) << node->Text();
    }
    EXPECT_EQ(given.size(), 15u);
    // Parents' items come first: the window finds them at once.
    ASSERT_EQ(recorder.Inserts.size(), 15u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(reinterpret_cast<TTreeNode*>(recorder.Inserts[i].Param)->Parent(), root);
    EXPECT_EQ(WindowShape(tree), ModelShape(*items));
    EXPECT_EQ(WindowItems(tree), "Themes:0/0 Category 0:0/2 Entry 0:1/3 Entry 1:1/3 Entry 2:1/3 Entry 3:1/3 "
                                 "Category 1:0/2 Entry 0:1/3 Entry 1:1/3 Entry 2:1/3 Entry 3:1/3 "
                                 "Category 2:0/2 Entry 0:1/3 Entry 1:1/3 Entry 2:1/3 Entry 3:1/3 ");
    EXPECT_EQ(WindowSelection(tree), chosen);
    EXPECT_TRUE(WindowItem(tree, root).Expanded);

    // A new window is filled the same way.
    recorder.Clear();
    tree->SetBorderStyle(bsNone);
    DrainMessages();
    EXPECT_EQ(recorder.Inserts.size(), 16u);
    EXPECT_EQ(recorder.Changes, 0);
    for (const TTreeItemRecorder::TInsert& insert : recorder.Inserts) EXPECT_EQ(insert.After, TVI_LAST);
    EXPECT_EQ(WindowShape(tree), ModelShape(*items));
    EXPECT_EQ(WindowSelection(tree), chosen);

    // Deleting gives each deleted subtree's top item alone: the window
    // deletes the rest with it. The deletion handler freeing each node's
    // data changes no item on its way out either (the window would look up
    // each among all its items).
    recorder.Clear();
    std::vector<std::string> deleted;
    tree->OnDeletion = [&](TObject*, TTreeNode* node) {
        deleted.push_back(node->Text());
        node->SetData(nullptr);
    };
    root->getFirstChild()->Delete();
    EXPECT_EQ(recorder.Deletions, 1);
    EXPECT_EQ(deleted.size(), 5u);
    root->DeleteChildren();
    EXPECT_EQ(recorder.Deletions, 3);
    EXPECT_EQ(recorder.Changes, 0);
    EXPECT_EQ(deleted.size(), 15u);
    EXPECT_EQ(WindowShape(tree), "Themes");
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(WindowSelection(tree), nullptr);
}

// Nodes inserted in an update wait for their items; whatever else happens
// meanwhile finds the window as the model says.
TEST(TreeView, ChangesInAnUpdateKeepWindowAndModelAlike) {
    auto form = MakeTestForm();
    TTreeView* tree = AddTree(form.get());
    ShowAndPump(form.get());
    TTreeNodes* items = tree->Items();
    TTreeNode* x = items->Add(nullptr, "x");
    TTreeNode* y = items->Add(nullptr, "y");
    std::vector<std::string> seen;
    tree->OnDeletion = [&](TObject*, TTreeNode* node) { seen.push_back("deleted " + node->Text()); };
    tree->OnExpanded = [&](TObject*, TTreeNode* node) { seen.push_back("expanded " + node->Text()); };

    WhileUpdating(*items, [&] {
        TTreeNode* a = items->Insert(y, "a");  // between two items
        a->SetImageIndex(4);
        TTreeNode* first = items->AddFirst(x, "first");
        first->SetText("First");
        TTreeNode* c = items->Add(nullptr, "c");
        c->SetSelected(true);
        EXPECT_EQ(WindowSelection(tree), c);
        items->AddChild(c, "gone")->Delete();
        TTreeNode* moved = items->AddChild(c, "moved");
        moved->MoveTo(x, naAddChild);
        TTreeNode* d = items->AddChild(c, "d");
        d->SetSelectedIndex(7);
        c->SetExpanded(true);
        TTreeNode* e = items->AddChildFirst(a, "e");
        e->MakeVisible();
        EXPECT_EQ(WindowItem(tree, e).Node, e);
        items->AddChild(y, "last")->SetImageIndex(5);
        // A waiting subtree moved, and a child added to it afterwards.
        TTreeNode* p = items->Add(nullptr, "p");
        items->AddChild(items->AddChild(p, "p1"), "p2");
        p->MoveTo(y, naInsert);
        items->AddChild(p, "p3")->SetImageIndex(6);
    });

    EXPECT_EQ(ModelShape(*items), "First,x(moved),a(e),p(p1(p2),p3),y(last),c(d)");
    EXPECT_EQ(WindowShape(tree), ModelShape(*items));
    EXPECT_EQ(WindowItems(tree), "First:0/0 x:0/0 moved:0/0 a:4/0 e:0/0 p:0/0 p1:0/0 p2:0/0 p3:6/0 y:0/0 last:5/0 "
                                 "c:0/0 d:0/7 ");
    EXPECT_EQ(WindowSelection(tree), tree->Selected());
    EXPECT_TRUE(WindowItem(tree, items->Item(11)).Expanded);
    EXPECT_TRUE(WindowItem(tree, items->Item(3)).Expanded);
    EXPECT_EQ(seen, (std::vector<std::string>{"deleted gone", "expanded c", "expanded a"}));
}

TEST(TreeView, SelectionFromCodeAndByClickFireOnChangeOnce) {
    auto form = MakeTestForm();
    TTreeView* tree = AddTree(form.get());
    TTreeNode* one = tree->Items()->Add(nullptr, "one");
    TTreeNode* two = tree->Items()->Add(nullptr, "two");
    TTreeNode* three = tree->Items()->Add(nullptr, "three");
    ShowAndPump(form.get());
    // Focus may have selected a node in the window: the model agrees.
    EXPECT_EQ(tree->Selected(), WindowSelection(tree));

    std::vector<TTreeNode*> changes;
    int changing = 0, clicks = 0;
    tree->OnChange = [&](TObject* sender, TTreeNode* node) {
        EXPECT_EQ(sender, tree);
        EXPECT_EQ(tree->Selected(), node);
        changes.push_back(node);
    };
    tree->OnChanging = [&](TObject*, TTreeNode*, bool&) { ++changing; };
    tree->OnClick = [&](TObject*) { ++clicks; };

    tree->SetSelected(two);
    DrainMessages();
    EXPECT_EQ(changes, (std::vector<TTreeNode*>{two}));
    EXPECT_EQ(WindowSelection(tree), two);

    TPoint at = Centre(tree->NodeRect(three, true));
    ClickAt(tree, at.x, at.y);
    EXPECT_EQ(changes, (std::vector<TTreeNode*>{two, three}));
    EXPECT_EQ(tree->Selected(), three);
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(tree->GetNodeAt(at.x, at.y), three);

    // A refused change keeps the selection on both sides.
    tree->OnChanging = [&](TObject*, TTreeNode*, bool& allow) { allow = false; };
    at = Centre(tree->NodeRect(one, true));
    ClickAt(tree, at.x, at.y);
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_EQ(tree->Selected(), three);
    EXPECT_EQ(WindowSelection(tree), three);

    // Clearing from code.
    tree->SetSelected(nullptr);
    EXPECT_EQ(changes.back(), nullptr);
    EXPECT_EQ(WindowSelection(tree), nullptr);
}

TEST(TreeView, StyleFlagsAndColoursReachTheWindow) {
    auto form = MakeTestForm();
    TTreeView* tree = AddTree(form.get());
    tree->SetHideSelection(false);
    ShowAndPump(form.get());
    auto style = [&] { return static_cast<DWORD>(GetWindowLongA(tree->Handle(), GWL_STYLE)); };
    EXPECT_EQ(style() & (TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS),
              DWORD(TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS));
    tree->SetShowLines(false);
    tree->SetReadOnly(true);
    tree->SetRowSelect(true);
    EXPECT_EQ(style() & (TVS_HASLINES | TVS_EDITLABELS), 0u);
    EXPECT_NE(style() & TVS_FULLROWSELECT, 0u);
    tree->SetIndent(30);
    EXPECT_EQ(tree->Indent(), SendMessageA(tree->Handle(), TVM_GETINDENT, 0, 0));
    tree->SetColor(clYellow);
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETBKCOLOR, 0, 0), RGB(255, 255, 0));
    // A new window keeps them.
    tree->SetBorderStyle(bsNone);
    EXPECT_EQ(style() & TVS_HASLINES, 0u);
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETBKCOLOR, 0, 0), RGB(255, 255, 0));
    EXPECT_EQ(tree->Indent(), SendMessageA(tree->Handle(), TVM_GETINDENT, 0, 0));
}

TEST(TreeView, DoubleClickTogglesAndReportsOnce) {
    auto form = MakeTestForm();
    TTreeView* tree = AddTree(form.get());
    TTreeNode* a = tree->Items()->Add(nullptr, "a");
    tree->Items()->AddChild(a, "a1");
    tree->SetReadOnly(true);  // no label editing from the clicks
    ShowAndPump(form.get());
    int doubleClicks = 0;
    tree->OnDblClick = [&](TObject*) { ++doubleClicks; };
    TPoint at = Centre(tree->NodeRect(a, true));
    DoubleClickAt(tree, at.x, at.y);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_TRUE(a->Expanded());
    EXPECT_TRUE(WindowItem(tree, a).Expanded);
    EXPECT_EQ(tree->Selected(), a);
}

TEST(TreeView, KeyboardExpansionAsksAndUpdatesTheModel) {
    auto form = MakeTestForm();
    TTreeView* tree = AddTree(form.get());
    TTreeNode* a = tree->Items()->Add(nullptr, "a");
    tree->Items()->AddChild(a, "a1");
    tree->Items()->Add(nullptr, "b");
    tree->SetSelected(a);
    ShowAndPump(form.get());
    tree->SetFocus();
    DrainMessages();

    int asked = 0;
    std::vector<std::string> events;
    tree->OnExpanding = [&](TObject*, TTreeNode*, bool& allow) { allow = ++asked > 1; };
    tree->OnExpanded = [&](TObject*, TTreeNode* node) { events.push_back("expanded " + node->Text()); };
    tree->OnCollapsed = [&](TObject*, TTreeNode* node) { events.push_back("collapsed " + node->Text()); };
    PressKey(VK_RIGHT);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(a->Expanded());
    EXPECT_FALSE(WindowItem(tree, a).Expanded);
    PressKey(VK_RIGHT);
    EXPECT_TRUE(a->Expanded());
    PressKey(VK_LEFT);
    EXPECT_FALSE(a->Expanded());
    EXPECT_EQ(events, (std::vector<std::string>{"expanded a", "collapsed a"}));
}

TEST(TreeView, LabelEditingAcceptsAnEmptyTextAndOnEditedChangesIt) {
    auto form = MakeTestForm();
    TTreeView* tree = AddTree(form.get());
    tree->Items()->Add(nullptr, "alpha");
    TTreeNode* beta = tree->Items()->Add(nullptr, "beta");
    ShowAndPump(form.get());

    int editing = 0;
    std::vector<std::string> edited;
    tree->OnEditing = [&](TObject*, TTreeNode* node, bool&) { editing += node == beta; };
    tree->OnEdited = [&](TObject*, TTreeNode*, std::string& s) {
        edited.push_back(s);
        if (s == "new") s += "!";
    };

    ASSERT_TRUE(beta->EditText());
    DrainMessages();
    EXPECT_TRUE(tree->IsEditing());
    EXPECT_EQ(editing, 1);
    PressKey(VK_DELETE);  // the whole text is selected
    PressKey(VK_RETURN);
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_EQ(edited, (std::vector<std::string>{""}));
    EXPECT_EQ(beta->Text(), "");
    EXPECT_EQ(WindowItem(tree, beta).Text, "");

    ASSERT_TRUE(beta->EditText());
    DrainMessages();
    TypeText("new");
    PressKey(VK_RETURN);
    EXPECT_EQ(beta->Text(), "new!");
    EXPECT_EQ(WindowItem(tree, beta).Text, "new!");

    // Escape cancels: no OnEdited, text kept.
    ASSERT_TRUE(beta->EditText());
    DrainMessages();
    TypeText("zz");
    PressKey(VK_ESCAPE);
    EXPECT_EQ(edited.size(), 2u);
    EXPECT_EQ(beta->Text(), "new!");

    tree->SetReadOnly(true);
    EXPECT_FALSE(beta->EditText());
}

TEST(TreeView, EveryNodeIsReportedWhenTheTreeViewIsDestroyed) {
    for (bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "shown" : "never shown");
        auto form = MakeTestForm();
        TTreeView* tree = AddTree(form.get());
        TTreeNodes* items = tree->Items();
        TTreeNode* a = items->Add(nullptr, "a");
        TTreeNode* a1 = items->AddChild(a, "a1");
        items->AddChild(a1, "a11");
        items->AddChild(a, "a2");
        items->Add(nullptr, "b");
        tree->SetSelected(a1);
        if (shown) ShowAndPump(form.get());

        std::set<TTreeNode*> reported;
        int childrenFirst = 0;
        tree->OnDeletion = [&](TObject* sender, TTreeNode* node) {
            EXPECT_EQ(sender, tree);
            bool ok = true;
            for (int i = 0; i < node->Count(); ++i) ok = ok && reported.count(node->Item(i)) == 1;
            childrenFirst += ok;
            reported.insert(node);
        };
        form.reset();
        EXPECT_EQ(reported.size(), 5u);
        EXPECT_EQ(childrenFirst, 5);
    }
}

TEST(TreeView, WorksOnANeverShownFormAndFillsANewWindow) {
    auto form = MakeTestForm();
    TTreeView* tree = AddTree(form.get());
    int changes = 0;
    tree->OnChange = [&](TObject*, TTreeNode*) { ++changes; };
    TTreeNode* a = tree->Items()->Add(nullptr, "a");
    TTreeNode* a1 = tree->Items()->AddChild(a, "a1");
    tree->Items()->Add(nullptr, "b");
    a1->MakeVisible();
    tree->SetSelected(a1);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(a->Expanded());
    EXPECT_FALSE(tree->HandleAllocated());
    EXPECT_EQ(tree->GetNodeAt(5, 5), nullptr);

    ShowAndPump(form.get());
    EXPECT_EQ(WindowShape(tree), "a(a1),b");
    EXPECT_EQ(WindowSelection(tree), a1);
    EXPECT_TRUE(WindowItem(tree, a).Expanded);
    EXPECT_EQ(changes, 1);
}

bool HasVisibleStyle(TWinControl* control) {
    return (GetWindowLongA(control->Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

TEST(TreeView, UpdatesFillTheWindowWhetherShownOrNotAndKeepItsVisibility) {
    auto form = MakeTestForm();
    TTreeView* tree = AddTree(form.get());
    auto* hidden = new TTreeView(form.get());
    hidden->SetName("Tree2");
    hidden->SetVisible(false);
    hidden->SetParent(form.get());
    hidden->SetBounds(240, 10, 120, 250);
    TTreeNodes* items = tree->Items();
    // A window whose form is not shown yet.
    tree->HandleNeeded();
    hidden->HandleNeeded();
    ASSERT_TRUE(HasVisibleStyle(tree));
    ASSERT_FALSE(HasVisibleStyle(hidden));
    auto fill = [](TTreeView* t) {
        WhileUpdating(*t->Items(), [&] {
            TTreeNode* a = t->Items()->Add(nullptr, "a");
            for (int i = 0; i < 3; ++i) t->Items()->AddChild(a, "a" + std::to_string(i))->SetImageIndex(i);
            a->SetExpanded(true);
            t->Items()->Add(nullptr, "b")->SetSelectedIndex(5);
        });
    };
    fill(tree);
    fill(hidden);
    for (TTreeView* t : {tree, hidden}) {
        EXPECT_EQ(WindowShape(t), "a(a0,a1,a2),b");
        EXPECT_TRUE(WindowItem(t, t->Items()->GetFirstNode()).Expanded);
        EXPECT_EQ(WindowItem(t, t->Items()->GetFirstNode()->Item(2)).Image, 2);
        EXPECT_EQ(WindowItem(t, t->Items()->GetFirstNode()->getNextSibling()).SelectedImage, 5);
    }
    EXPECT_TRUE(HasVisibleStyle(tree));
    EXPECT_FALSE(HasVisibleStyle(hidden));

    ShowAndPump(form.get());
    EXPECT_TRUE(IsWindowVisible(tree->Handle()));
    EXPECT_FALSE(IsWindowVisible(hidden->Handle()));
    // Shown, the window draws again after the update; hidden during one,
    // it stays hidden.
    WhileUpdating(*items, [&] { items->Add(nullptr, "c"); });
    EXPECT_TRUE(IsWindowVisible(tree->Handle()));
    EXPECT_EQ(WindowShape(tree), "a(a0,a1,a2),b,c");
    WhileUpdating(*items, [&] {
        items->Add(nullptr, "d");
        tree->SetVisible(false);
    });
    EXPECT_FALSE(IsWindowVisible(tree->Handle()));
    EXPECT_FALSE(HasVisibleStyle(tree));
    tree->SetVisible(true);
    DrainMessages();
    EXPECT_TRUE(IsWindowVisible(tree->Handle()));
    EXPECT_EQ(WindowShape(tree), "a(a0,a1,a2),b,c,d");
}

TEST(TreeView, NodesTravelThroughALayout) {
    auto form = MakeTestForm();
    form->SetName("Form1");
    TTreeView* tree = AddTree(form.get());
    tree->SetImages(AddImages(form.get()));
    TTreeNode* a = tree->Items()->Add(nullptr, "Kapitel \xFC" "ber");
    tree->Items()->AddChild(a, "Seite")->SetImageIndex(2);
    tree->Items()->Add(nullptr, "Ende");
    tree->SetShowLines(false);
    std::string text = WriteComponentToText(form.get());
    EXPECT_NE(text.find("Items.Data = {"), std::string::npos);
    EXPECT_NE(text.find("ShowLines = False"), std::string::npos);
    EXPECT_NE(text.find("Images = Images1"), std::string::npos);

    auto copy = MakeTestForm();
    ReadComponentFromText(copy.get(), text);
    auto* read = dynamic_cast<TTreeView*>(copy->FindComponent("Tree1"));
    ASSERT_TRUE(read);
    EXPECT_EQ(ModelShape(*read->Items()), "Kapitel \xFC" "ber(Seite),Ende");
    EXPECT_EQ(read->Items()->Item(1)->ImageIndex(), 2);
    EXPECT_FALSE(read->ShowLines());
    ASSERT_TRUE(read->Images());
    EXPECT_EQ(read->Images(), copy->FindComponent("Images1"));
    EXPECT_EQ(read->Images()->Count(), 2);
    ShowAndPump(copy.get());
    EXPECT_EQ(WindowShape(read), ModelShape(*read->Items()));
}

}  // namespace
