#include "shell/lists/item_id_lists.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Counts the blocks handed out and can be told to fail.
int liveBlocks = 0;
bool failNext = false;
void* CountingAlloc(std::size_t size) {
    if (failNext) {
        failNext = false;
        return nullptr;
    }
    ++liveBlocks;
    // Filled with a pattern, so a block the algebra forgets to clear shows.
    void* block = std::malloc(size);
    if (block) std::memset(block, 0xCD, size);
    return block;
}
void CountingFree(void* block) {
    if (block) --liveBlocks;
    std::free(block);
}
const TItemIdAllocator kAllocator{CountingAlloc, CountingFree};

using Bytes = std::vector<unsigned char>;

// A list of items with the given data lengths; item k is filled with 'a' + k.
Bytes MakeList(std::initializer_list<int> dataLengths) {
    Bytes list;
    int k = 0;
    for (int length : dataLengths) {
        int size = length + 2;
        list.push_back(static_cast<unsigned char>(size & 0xFF));
        list.push_back(static_cast<unsigned char>(size >> 8));
        list.insert(list.end(), length, static_cast<unsigned char>('a' + k++));
    }
    list.push_back(0);
    list.push_back(0);
    return list;
}

struct Block {
    void* data;
    ~Block() { CountingFree(data); }
    Bytes Contents() const { return Bytes(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + IdListSize(data)); }
};

class ItemIdLists : public ::testing::Test {
protected:
    void SetUp() override { liveBlocks = 0; }
    void TearDown() override { EXPECT_EQ(liveBlocks, 0); }
};

}  // namespace

TEST_F(ItemIdLists, SizeAndCount) {
    EXPECT_EQ(IdListSize(nullptr), 0u);
    EXPECT_EQ(IdListCount(nullptr), 0);
    Bytes empty = MakeList({});
    EXPECT_EQ(IdListSize(empty.data()), 2u);
    EXPECT_EQ(IdListCount(empty.data()), 0);
    // An odd item length leaves the next count unaligned.
    Bytes three = MakeList({3, 1, 300});
    EXPECT_EQ(IdListSize(three.data()), three.size());
    EXPECT_EQ(IdListCount(three.data()), 3);
}

TEST_F(ItemIdLists, AllocClearsAndCopyDuplicates) {
    Block block{IdListAlloc(kAllocator, 6)};
    ASSERT_NE(block.data, nullptr);
    EXPECT_EQ(Bytes(static_cast<unsigned char*>(block.data), static_cast<unsigned char*>(block.data) + 6), Bytes(6, 0));

    Bytes list = MakeList({2, 5});
    Block copy{IdListCopy(kAllocator, list.data())};
    EXPECT_EQ(copy.Contents(), list);
    EXPECT_EQ(IdListCopy(kAllocator, nullptr), nullptr);
    failNext = true;
    EXPECT_EQ(IdListCopy(kAllocator, list.data()), nullptr);
}

TEST_F(ItemIdLists, ConcatDropsTheFirstTerminator) {
    Bytes first = MakeList({1, 2}), second = MakeList({3}), empty = MakeList({});
    Block joined{IdListConcat(kAllocator, first.data(), second.data())};
    EXPECT_EQ(IdListSize(joined.data), first.size() + second.size() - 2);
    EXPECT_EQ(IdListCount(joined.data), 3);
    Bytes expected(first.begin(), first.end() - 2);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(joined.Contents(), expected);

    // The empty list adds nothing; a missing list gives a copy of the other.
    Block withEmpty{IdListConcat(kAllocator, empty.data(), second.data())};
    EXPECT_EQ(withEmpty.Contents(), second);
    Block withNil{IdListConcat(kAllocator, first.data(), nullptr)};
    EXPECT_EQ(withNil.Contents(), first);
    Block nilFirst{IdListConcat(kAllocator, nullptr, second.data())};
    EXPECT_EQ(nilFirst.Contents(), second);
    EXPECT_EQ(IdListConcat(kAllocator, nullptr, nullptr), nullptr);
    failNext = true;
    EXPECT_EQ(IdListConcat(kAllocator, first.data(), second.data()), nullptr);
}

TEST_F(ItemIdLists, ItemPicksOneItemOrTheEmptyListAtTheEnd) {
    Bytes list = MakeList({1, 4, 2});
    Block middle{IdListItem(kAllocator, list.data(), 1)};
    Bytes one = MakeList({4});
    one[2] = one[3] = one[4] = one[5] = 'b';
    EXPECT_EQ(middle.Contents(), one);
    Block atEnd{IdListItem(kAllocator, list.data(), 3)};
    ASSERT_NE(atEnd.data, nullptr);
    EXPECT_EQ(IdListSize(atEnd.data), 2u);
    EXPECT_EQ(IdListItem(kAllocator, list.data(), 4), nullptr);
    EXPECT_EQ(IdListItem(kAllocator, list.data(), -1), nullptr);
    EXPECT_EQ(IdListItem(kAllocator, nullptr, 0), nullptr);
    failNext = true;
    EXPECT_EQ(IdListItem(kAllocator, list.data(), 0), nullptr);
}

TEST_F(ItemIdLists, TruncateCutsInPlaceAndKeepsTheBlock) {
    Bytes list = MakeList({1, 4, 2});
    Block none{IdListTruncate(kAllocator, list.data(), 0)};
    EXPECT_EQ(IdListSize(none.data), 2u);
    Block two{IdListTruncate(kAllocator, list.data(), 2)};
    EXPECT_EQ(IdListCount(two.data), 2);
    Bytes firstTwo(list.begin(), list.begin() + 3 + 6);
    firstTwo.push_back(0);
    firstTwo.push_back(0);
    EXPECT_EQ(two.Contents(), firstTwo);
    // Past the cut the block still holds the rest of the original items.
    auto* raw = static_cast<unsigned char*>(two.data);
    EXPECT_EQ(raw[firstTwo.size()], 'c');
    Block all{IdListTruncate(kAllocator, list.data(), 10)};
    EXPECT_EQ(all.Contents(), list);
    EXPECT_EQ(IdListTruncate(kAllocator, nullptr, 1), nullptr);
}
