#include "classlib/core/collection.h"

#include <gtest/gtest.h>

#include "classlib/core/class_builder.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/filer_test_classes.h"

using namespace filertest;

namespace {

// Records Update calls: "*" for all items, else the item's caption.
class TRecordingCollection : public TCollection {
public:
    TRecordingCollection() : TCollection(TTestItem::StaticClass()) {}
    std::vector<std::string> updates;
    TTestItem* AddItem(const std::string& caption) {
        auto* item = static_cast<TTestItem*>(Add());
        item->SetCaption(caption);
        return item;
    }
    std::string Captions() const {
        std::string s;
        for (int i = 0; i < Count(); ++i) s += static_cast<TTestItem*>(Items(i))->Caption();
        return s;
    }

protected:
    void Update(TCollectionItem* item) override {
        updates.push_back(item ? static_cast<TTestItem*>(item)->Caption() : "*");
    }
};

// Refuses to copy an item captioned "bad"; counts living instances.
class TPickyItem : public TTestItem {
    DECLARE_CLASS(TPickyItem, TTestItem)
public:
    explicit TPickyItem(TCollection* c) : TTestItem(c) { ++alive; }
    ~TPickyItem() override { --alive; }
    void Assign(const TPersistent* source) override {
        if (static_cast<const TTestItem*>(source)->Caption() == "bad") throw EConvertError("bad");
        TTestItem::Assign(source);
    }
    void Touch() { Changed(false); }
    static inline int alive = 0;
};

}  // namespace

const TClassInfo& TPickyItem::StaticClass() {
    static const TClassInfo info =
        DefineClass<TPickyItem>("TPickyItem", &TTestItem::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TEST(Collection, AddInsertMoveDelete) {
    TRecordingCollection c;
    c.AddItem("a");
    TTestItem* b = c.AddItem("b");
    c.AddItem("c");
    static_cast<TTestItem*>(c.Insert(1))->SetCaption("x");
    EXPECT_EQ(c.Captions(), "axbc");
    EXPECT_EQ(b->Index(), 2);
    b->SetIndex(0);
    EXPECT_EQ(c.Captions(), "baxc");
    b->SetIndex(3);
    EXPECT_EQ(c.Captions(), "axcb");
    c.Delete(1);
    EXPECT_EQ(c.Captions(), "acb");
    EXPECT_THROW(c.Items(3), EListError);
    EXPECT_THROW(c.Delete(-1), EListError);
    EXPECT_THROW(c.Insert(4), EListError);
    EXPECT_THROW(b->SetIndex(3), EListError);
    EXPECT_EQ(c.Captions(), "acb");
}

TEST(Collection, IdsAreUniqueAndNeverReused) {
    TRecordingCollection c;
    TTestItem* a = c.AddItem("a");
    TTestItem* b = c.AddItem("b");
    EXPECT_NE(a->ID(), b->ID());
    int idA = a->ID();
    a->Free();
    EXPECT_EQ(c.FindItemID(idA), nullptr);
    EXPECT_EQ(c.FindItemID(b->ID()), b);
    EXPECT_NE(c.AddItem("c")->ID(), idA);
}

TEST(Collection, UpdatesFollowChangesUnlessUpdating) {
    TRecordingCollection c;
    c.AddItem("a");
    EXPECT_EQ(c.updates, (std::vector<std::string>{"*"}));
    c.BeginUpdate();
    c.AddItem("b");
    c.Delete(0);
    EXPECT_EQ(c.updates.size(), 1u);
    c.EndUpdate();
    EXPECT_EQ(c.updates, (std::vector<std::string>{"*", "*"}));
    c.Clear();
    EXPECT_EQ(c.Count(), 0);
    EXPECT_EQ(c.updates.size(), 3u);  // one for the whole Clear
}

TEST(Collection, ItemChangedReportsItselfOrAll) {
    class TPickyCollection : public TCollection {
    public:
        TPickyCollection() : TCollection(TPickyItem::StaticClass()) {}
        std::vector<TCollectionItem*> updates;

    protected:
        void Update(TCollectionItem* item) override { updates.push_back(item); }
    } c;
    auto* item = static_cast<TPickyItem*>(c.Add());
    c.updates.clear();
    item->Touch();
    item->SetIndex(0);  // no move, no change
    EXPECT_EQ(c.updates, (std::vector<TCollectionItem*>{item}));
}

TEST(Collection, ItemsMoveBetweenCollectionsAndDieWithTheirs) {
    int before = TPickyItem::alive;
    {
        TCollection first(TPickyItem::StaticClass()), second(TPickyItem::StaticClass());
        TCollectionItem* item = first.Add();
        first.Add();
        item->SetCollection(&second);
        EXPECT_EQ(first.Count(), 1);
        EXPECT_EQ(second.Items(0), item);
        EXPECT_EQ(item->Collection(), &second);
        EXPECT_EQ(TPickyItem::alive, before + 2);
    }
    EXPECT_EQ(TPickyItem::alive, before);
}

TEST(Collection, AssignCopiesItemsAndKeepsTargetWhenAnItemFails) {
    TRecordingCollection source;
    source.AddItem("a");
    source.AddItem("b");
    TCollection target(TPickyItem::StaticClass());
    target.Assign(&source);
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(target.Items(1))->Caption(), "b");
    target.Assign(&target);
    EXPECT_EQ(target.Count(), 2);

    source.AddItem("bad");
    source.Items(0)->SetIndex(2);
    int alive = TPickyItem::alive;
    EXPECT_THROW(target.Assign(&source), EConvertError);
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(target.Items(0))->Caption(), "a");
    EXPECT_EQ(TPickyItem::alive, alive);
    EXPECT_THROW(target.Assign(nullptr), EConvertError);
}

TEST(Collection, NamePathsNameOwnerPropertyAndIndex) {
    auto form = MakeOwned<TTestForm>();
    form->SetName("Form1");
    form->Panels()->Add();
    TCollectionItem* second = form->Panels()->Add();
    EXPECT_EQ(form->Panels()->GetOwner(), form.get());
    EXPECT_EQ(second->GetNamePath(), "Form1.Panels[1]");
    EXPECT_EQ(second->DisplayName(), "TTestItem");
}
