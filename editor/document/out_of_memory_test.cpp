// Reading a document when memory runs out, at every allocation the open
// makes. This test program's allocations go through the counter below, so
// a test can make any one of them fail as a full heap would.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "classlib/core/exceptions.h"
#include "classlib/core/resstrings.h"
#include "editor/document/document_binding.h"
#include "editor/document/menu_document.h"
#include "editor/document/sample_document_test.h"

namespace {

// Allocations still to go before one fails; below 0, none fails.
std::atomic<long> allocations_to_failure{-1};
std::atomic<bool> allocation_failed{false};

// While it lives, the allocation `after` allocations from now fails, once.
class TFailingAllocation {
public:
    explicit TFailingAllocation(long after) {
        allocation_failed = false;
        allocations_to_failure = after;
    }
    ~TFailingAllocation() { allocations_to_failure = -1; }
    TFailingAllocation(const TFailingAllocation&) = delete;
    TFailingAllocation& operator=(const TFailingAllocation&) = delete;

    bool Failed() const { return allocation_failed; }
};

void* Allocate(std::size_t size) {
    if (allocations_to_failure >= 0 && allocations_to_failure-- == 0) {
        allocation_failed = true;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

// A document unlike the sample: more nodes and entries, other settings
// and fonts.
void BuildOther(TTestHolder& h) {
    for (int c = 0; c < 3; ++c) {
        TTreeNode* category = h.AddCategory(h.Root(), "Category " + std::to_string(c));
        for (int e = 0; e < 3; ++e)
            h.AddEntry(h.AddCategory(category, "Inner"), "Entry " + std::to_string(e), "text", "file.exe", "a.bmp");
    }
    TMenuSettings settings;
    settings.Caption = "Other";
    settings.WindowColor = 0x123456;
    h.SetMenuSettings(settings);
    h.CaptionFont().SetName("Courier New");
}

TEST(DocumentMemory, MemoryRunningOutAnywhereInAnOpenIsReportedAndTheOpenDocumentStays) {
    TTestHolder other;
    BuildOther(other);
    const std::string file = "out_of_memory.qbx";
    ASSERT_TRUE(WriteMenuDocument(other, file));
    const TMenuDocument stored = CaptureMenuDocument(other);

    TTestHolder holder;
    BuildSample(holder);
    holder.MenuTree().SetSelected(holder.Root());  // as every open leaves it
    const TMenuDocument open = CaptureMenuDocument(holder);
    const int openCount = holder.MenuTree().Count();

    long failures = 0;
    for (long after = 0;; ++after) {
        bool read = false;
        std::string raised;
        bool failed;
        {
            TFailingAllocation failing(after);
            try {
                read = ReadMenuDocument(holder, file);
            } catch (const EOutOfMemory& e) {
                raised = e.Message();
            } catch (const std::exception& e) {
                raised = std::string("not EOutOfMemory: ") + e.what();
            }
            failed = failing.Failed();
        }
        if (!failed) {
            EXPECT_TRUE(read);
            EXPECT_EQ(CaptureMenuDocument(holder), stored);
            break;
        }
        ++failures;
        ASSERT_EQ(raised, LoadStr(SOutOfMemory)) << "allocation " << after;
        ASSERT_EQ(holder.MenuTree().Count(), openCount) << "allocation " << after;
        ASSERT_EQ(CaptureMenuDocument(holder), open) << "allocation " << after;
    }
    EXPECT_GT(failures, 40);  // the file, the parsed nodes, the tree, the records
    std::remove(file.c_str());
}

}  // namespace
