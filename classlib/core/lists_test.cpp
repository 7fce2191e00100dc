#include "lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "exceptions.h"

namespace {

int a = 1, b = 2, c = 3, d = 4;

std::vector<void*> ItemsOf(const TList& list) {
    std::vector<void*> items;
    for (int i = 0; i < list.Count(); ++i) items.push_back(list.Items(i));
    return items;
}

template <class F>
std::string ListErrorOf(F action) {
    try {
        action();
    } catch (const EListError& e) {
        return e.Message();
    }
    return "no EListError";
}

TEST(TList, AddInsertDeleteKeepOrder) {
    TList list;
    EXPECT_EQ(list.Add(&a), 0);
    EXPECT_EQ(list.Add(&c), 1);
    list.Insert(1, &b);
    list.Insert(3, &d);  // at Count: appends
    EXPECT_EQ(ItemsOf(list), (std::vector<void*>{&a, &b, &c, &d}));
    list.Delete(0);
    EXPECT_EQ(list.First(), &b);
    EXPECT_EQ(list.Last(), &d);
    list.SetItems(1, &a);
    EXPECT_EQ(ItemsOf(list), (std::vector<void*>{&b, &a, &d}));
}

TEST(TList, BadIndexRaisesListErrorNamingTheIndex) {
    TList list;
    list.Add(&a);
    EXPECT_EQ(ListErrorOf([&] { list.Items(1); }), "Listenindex \xFC" "berschreitet das Maximum (1)");
    EXPECT_EQ(ListErrorOf([&] { list.Items(-1); }), "Listenindex \xFC" "berschreitet das Maximum (-1)");
    EXPECT_EQ(ListErrorOf([&] { list.Insert(2, &b); }), "Listenindex \xFC" "berschreitet das Maximum (2)");
    EXPECT_EQ(ListErrorOf([&] { list.Delete(5); }), "Listenindex \xFC" "berschreitet das Maximum (5)");
    EXPECT_THROW(list.SetItems(1, &b), EListError);
    EXPECT_THROW(list.Exchange(0, 1), EListError);
    EXPECT_THROW(list.Move(0, 1), EListError);
    EXPECT_EQ(ItemsOf(list), (std::vector<void*>{&a}));
    TList empty;
    EXPECT_THROW(empty.First(), EListError);
    EXPECT_THROW(empty.Last(), EListError);
}

TEST(TList, SearchRemoveExtractPack) {
    TList list;
    for (void* p : std::initializer_list<void*>{&a, nullptr, &b, &a, nullptr}) list.Add(p);
    EXPECT_EQ(list.IndexOf(&a), 0);
    EXPECT_EQ(list.IndexOf(&c), -1);
    EXPECT_EQ(list.Remove(&a), 0);  // the first occurrence only
    EXPECT_EQ(list.Remove(&c), -1);
    EXPECT_EQ(list.Extract(&b), &b);
    EXPECT_EQ(list.Extract(&b), nullptr);
    list.Pack();
    EXPECT_EQ(ItemsOf(list), (std::vector<void*>{&a}));
}

TEST(TList, ExchangeAndMoveBothWays) {
    TList list;
    for (void* p : {&a, &b, &c, &d}) list.Add(p);
    list.Move(0, 2);
    EXPECT_EQ(ItemsOf(list), (std::vector<void*>{&b, &c, &a, &d}));
    list.Move(3, 0);
    EXPECT_EQ(ItemsOf(list), (std::vector<void*>{&d, &b, &c, &a}));
    list.Exchange(0, 3);
    EXPECT_EQ(ItemsOf(list), (std::vector<void*>{&a, &b, &c, &d}));
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
    // "Always less" contradicts itself; the list must keep every item.
    list.Sort([](void*, void*) { return -1; });
    std::vector<void*> sorted = ItemsOf(list), expected;
    for (Entry& e : entries) expected.push_back(&e);
    std::sort(sorted.begin(), sorted.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected);
}

TEST(TList, CapacityNeverDropsItems) {
    TList list;
    list.SetCapacity(10);
    EXPECT_GE(list.Capacity(), 10);
    for (void* p : {&a, &b, &c}) list.Add(p);
    EXPECT_EQ(ListErrorOf([&] { list.SetCapacity(2); }),
              "Listenkapazit\xE4t \xFC" "berschreitet das Maximum (2)");
    list.SetCapacity(3);
    EXPECT_EQ(ItemsOf(list), (std::vector<void*>{&a, &b, &c}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
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
    using N = std::vector<std::pair<void*, TListNotification>>;
    EXPECT_EQ(log, (N{{&a, lnAdded}, {&b, lnAdded}, {&b, lnDeleted}, {&c, lnAdded}, {&a, lnExtracted},
                      {&d, lnAdded}, {&d, lnDeleted}, {&c, lnDeleted}}));
}

// Counts its own destructions; optionally leaves a list on its way out.
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
    list->Add(New<TTracked>(freed));
    list->Add(kept);
    list->Add(New<TTracked>(freed));
    list->Add(New<TTracked>(freed));
    list->Delete(0);
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(list->Extract(kept), kept);  // handed back, not freed
    EXPECT_EQ(freed, 1);
    list->SetItems(0, kept);  // the replaced one goes
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
        list.Clear();
        list.Add(&one);
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
