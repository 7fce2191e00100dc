#include "classlib/core/component_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "classlib/core/interface_list.h"

namespace {

class TCountedComponent : public TComponent {
public:
    TCountedComponent(int* freed) : TComponent(nullptr), freed_(freed) {}
    ~TCountedComponent() override { ++*freed_; }

private:
    int* freed_;
};

}  // namespace

TEST(ComponentList, DropsComponentsFreedElsewhere) {
    int freed = 0;
    TComponentList list(false);
    auto* a = New<TCountedComponent>(&freed);
    auto* b = New<TCountedComponent>(&freed);
    list.Add(a);
    list.Add(b);
    list.Add(a);
    a->Free();
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0), b);
    list.Clear();  // not owning: b lives on
    EXPECT_EQ(freed, 1);
    b->Free();
    EXPECT_EQ(freed, 2);
}

TEST(ComponentList, OwningListFreesWhatItDeletesButNotWhatItExtracts) {
    int freed = 0;
    auto* kept = New<TCountedComponent>(&freed);
    {
        TComponentList list;
        list.Add(New<TCountedComponent>(&freed));
        list.Add(kept);
        list.Add(New<TCountedComponent>(&freed));
        list.Delete(0);
        EXPECT_EQ(freed, 1);
        EXPECT_EQ(list.Extract(kept), kept);
        EXPECT_EQ(list.Count(), 1);
    }
    EXPECT_EQ(freed, 2);
    kept->Free();  // no longer watched by the list that is gone
    EXPECT_EQ(freed, 3);
}

TEST(ComponentList, AComponentListedTwiceStaysWatchedUntilItsLastPlaceGoes) {
    int freed = 0;
    TComponentList list(false);
    auto* a = New<TCountedComponent>(&freed);
    list.Add(a);
    list.Add(a);
    list.Delete(0);
    a->Free();
    EXPECT_EQ(list.Count(), 0);
}

namespace {

class TFreeCounter : public TInterfacedObject {
public:
    explicit TFreeCounter(std::atomic<int>* freed) : freed_(freed) {}
    ~TFreeCounter() override { ++*freed_; }

private:
    std::atomic<int>* freed_;
};

}  // namespace

TEST(InterfaceList, HoldsOneReferencePerPlace) {
    std::atomic<int> freed{0};
    TInterfaceList list;
    TInterfacePtr<IInterface> a(new TFreeCounter(&freed));
    list.Add(a.Get());
    list.Add(a.Get());
    list.Add(new TFreeCounter(&freed));
    EXPECT_EQ(static_cast<TFreeCounter*>(a.Get())->RefCount(), 3);
    list.Delete(2);
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(list.Remove(a.Get()), 0);
    EXPECT_EQ(list.IndexOf(a.Get()), 0);
    list.Clear();
    EXPECT_EQ(freed, 1);
    a = nullptr;
    EXPECT_EQ(freed, 2);
    EXPECT_THROW(list.Items(0), EListError);
}

TEST(InterfaceList, TakingTheFirstItemUnderTheLockHandsEachItemToOneThread) {
    std::atomic<int> freed{0};
    TInterfaceList queue;
    for (int i = 0; i < 400; ++i) queue.Add(new TFreeCounter(&freed));
    std::vector<int> taken(4, 0);
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w)
        workers.emplace_back([&, w] {
            for (;;) {
                TInterfacePtr<IInterface> item;
                TInterfaceList* list = queue.LockList();
                if (list->Count() > 0) {
                    item = list->First();
                    list->Delete(0);
                }
                queue.UnlockList();
                if (!item) return;
                ++taken[static_cast<size_t>(w)];
            }
        });
    for (auto& t : workers) t.join();
    EXPECT_EQ(taken[0] + taken[1] + taken[2] + taken[3], 400);
    EXPECT_EQ(queue.Count(), 0);
    EXPECT_EQ(freed.load(), 400);
}
