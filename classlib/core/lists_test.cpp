#include "classlib/core/lists.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "classlib/core/exceptions.h"

namespace {

using testing::StrEq;
using testing::ThrowsMessage;
using Items = std::vector<void*>;

int a = 1, b = 2, c = 3, d = 4;

Items ItemsOf(const TList& list) {
    Items items;
    for (int i = 0; i < list.Count(); ++i) items.push_back(list.Items(i));
    return items;
}

TEST(TList, EditsKeepOrder) {
    TList list;
    EXPECT_EQ(list.Add(&a), 0);
    EXPECT_EQ(list.Add(&c), 1);
    list.Insert(1, &b);
    list.Insert(3, &d);  // at Count: appends
    list.Move(0, 2);
    EXPECT_EQ(ItemsOf(list), (Items{&b, &c, &a, &d}));
    list.Move(3, 0);
    list.Exchange(1, 3);
    list.Delete(0);
    EXPECT_EQ(ItemsOf(list), (Items{&a, &c, &b}));
    EXPECT_EQ(list.First(), &a);
    EXPECT_EQ(list.Last(), &b);
}

TEST(TList, BadIndexRaisesListErrorAndChangesNothing) {
    TList list;
    list.Add(&a);
    EXPECT_THAT([&] { list.Items(1); },
                ThrowsMessage<EListError>(StrEq("Listenindex \xFC" "berschreitet das Maximum (1)")));
    EXPECT_THAT([&] { list.Insert(-1, &b); },
                ThrowsMessage<EListError>(StrEq("Listenindex \xFC" "berschreitet das Maximum (-1)")));
    EXPECT_THROW(list.Insert(2, &b), EListError);
    EXPECT_THROW(list.Delete(1), EListError);
    EXPECT_THROW(list.SetItems(1, &b), EListError);
    EXPECT_THROW(list.Exchange(0, 1), EListError);
    EXPECT_THROW(list.Move(0, 1), EListError);
    EXPECT_THAT([&] { list.SetCapacity(0); },
                ThrowsMessage<EListError>(StrEq("Listenkapazit\xE4t \xFC" "berschreitet das Maximum (0)")));
    EXPECT_EQ(ItemsOf(list), (Items{&a}));
    TList empty;
    EXPECT_THROW(empty.First(), EListError);
    EXPECT_THROW(empty.Last(), EListError);
}

TEST(TList, SearchRemoveExtractPack) {
    TList list;
    for (void* p : Items{&a, nullptr, &b, &a, nullptr}) list.Add(p);
    EXPECT_EQ(list.Remove(&a), 0);  // the first occurrence only
    EXPECT_EQ(list.Remove(&c), -1);
    EXPECT_EQ(list.Extract(&b), &b);
    EXPECT_EQ(list.Extract(&b), nullptr);
    list.Pack();
    EXPECT_EQ(ItemsOf(list), (Items{&a}));
}

TEST(TList, SortIsStableAndSurvivesContradictoryComparisons) {
    struct Entry {
        int key, seq;
    };
    std::vector<Entry> entries;
    for (int i = 0; i < 40; ++i) entries.push_back({(i * 7) % 5, i});
    TList list;
    for (Entry& e : entries) list.Add(&e);
    list.Sort([](void* x, void* y) { return static_cast<Entry*>(x)->key - static_cast<Entry*>(y)->key; });
    for (int i = 1; i < list.Count(); ++i) {
        auto* prev = static_cast<Entry*>(list.Items(i - 1));
        auto* cur = static_cast<Entry*>(list.Items(i));
        ASSERT_TRUE(prev->key < cur->key || (prev->key == cur->key && prev->seq < cur->seq));
    }
    // "Always less" contradicts itself; every item must stay.
    list.Sort([](void*, void*) { return -1; });
    Items sorted = ItemsOf(list), expected;
    for (Entry& e : entries) expected.push_back(&e);
    std::sort(sorted.begin(), sorted.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected);
}

class TRecordingList : public TList {
public:
    std::vector<std::pair<void*, TListNotification>>* log = nullptr;

protected:
    void Notify(void* item, TListNotification action) override { log->push_back({item, action}); }
};

TEST(TList, NotifiesEveryItemThatComesOrGoes) {
    std::vector<std::pair<void*, TListNotification>> log;
    auto* list = New<TRecordingList>();
    list->log = &log;
    list->Add(&a);
    list->Add(nullptr);  // nothing to tell
    list->Insert(0, &b);
    list->SetItems(0, &c);
    list->Extract(&a);
    list->Add(&d);
    list->Free();  // clears first, from the end
    using Log = std::vector<std::pair<void*, TListNotification>>;
    EXPECT_EQ(log, (Log{{&a, lnAdded}, {&b, lnAdded}, {&b, lnDeleted}, {&c, lnAdded}, {&a, lnExtracted},
                        {&d, lnAdded}, {&d, lnDeleted}, {&c, lnDeleted}}));
}

// Counts destructions; optionally leaves a list on its way out.
class TTracked : public TObject {
public:
    TTracked(int& freed, TObjectList* home = nullptr) : freed_(freed), home_(home) {}
    ~TTracked() override {
        ++freed_;
        if (home_) home_->Remove(this);
    }

private:
    int& freed_;
    TObjectList* home_;
};

TEST(TObjectList, OwnedObjectsAreFreedWhenTheyLeave) {
    int freed = 0;
    auto* list = New<TObjectList>();
    auto* kept = New<TTracked>(freed);
    for (TTracked* o : {New<TTracked>(freed), kept, New<TTracked>(freed), New<TTracked>(freed)}) list->Add(o);
    list->Delete(0);
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(list->Extract(kept), kept);  // handed back, not freed
    list->SetItems(0, kept);               // the replaced one goes
    EXPECT_EQ(freed, 2);
    list->Remove(list->Last());
    EXPECT_EQ(freed, 3);
    list->Free();
    EXPECT_EQ(freed, 4);
}

TEST(TObjectList, WithoutOwnershipNothingIsFreed) {
    int freed = 0;
    TTracked one(freed), two(freed);
    {
        TObjectList list(false);
        list.Add(&one);
        list.Add(&two);
        list.Delete(0);
    }
    EXPECT_EQ(freed, 0);
}

TEST(TObjectList, ObjectsLeavingTheListWhileFreedAreSafe) {
    int freed = 0;
    {
        TObjectList list;  // not made with New: the destructor clears
        for (int i = 0; i < 3; ++i) list.Add(New<TTracked>(freed, &list));
        list.Delete(1);
        EXPECT_EQ(list.Count(), 2);
    }
    EXPECT_EQ(freed, 3);
}

}  // namespace
