// Document tests that need the system's file-size limit to stand in for a
// full disk.
#include "editor/document/menu_document.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "classlib/core/exceptions.h"
#include "classlib/core/io_result.h"
#include "editor/document/sample_document_test.h"
#include "editor/document/test_folder_test.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// While it lives, no file of this process grows beyond `bytes`: a write
// across the limit comes back short, the next one fails, as on a full disk.
class TDiskFullAt {
public:
    explicit TDiskFullAt(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        signal_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~TDiskFullAt() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, signal_);
    }
    bool Ok() const { return ok_; }

private:
    rlimit saved_{};
    void (*signal_)(int) = SIG_DFL;
    bool ok_ = false;
};

// What a save under a limit did: whether it raised EInOutError, returned
// normally (with its result) or raised something else.
struct TSaveOutcome {
    bool Raised = false;
    std::optional<bool> Returned;
};

TSaveOutcome SaveWithDiskFullAt(TTestHolder& h, const std::string& file, rlim_t bytes) {
    TSaveOutcome outcome;
    TDiskFullAt full(bytes);
    if (!full.Ok()) return outcome;
    try {
        outcome.Returned = WriteMenuDocument(h, file);
    } catch (const EInOutError&) {
        outcome.Raised = true;
    }
    return outcome;
}

}  // namespace

TEST(MenuDocument, AFullDiskAtAnyByteKeepsTheOldDocumentByteForByte) {
    const std::string folder = "disk_full";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    const std::string file = folder + "/doc.qbx";

    TTestHolder old;
    old.AddEntry(old.AddCategory(old.Root(), "Old"), "Kept", "the old text", "old.exe", "");
    ASSERT_TRUE(WriteMenuDocument(old, file));
    const Bytes before = ReadBytes(file);

    TTestHolder h;
    BuildSample(h);
    ASSERT_TRUE(WriteMenuDocument(h, folder + "/measure.qbx"));
    const Bytes wanted = ReadBytes(folder + "/measure.qbx");
    std::filesystem::remove(folder + "/measure.qbx");
    ASSERT_GT(wanted.size(), before.size());

    for (size_t at = 0; at < wanted.size(); ++at) {
        TSaveOutcome outcome = SaveWithDiskFullAt(h, file, at);
        EXPECT_TRUE(outcome.Raised) << "full at byte " << at;
        EXPECT_FALSE(outcome.Returned.has_value()) << "full at byte " << at;
        ASSERT_EQ(ReadBytes(file), before) << "full at byte " << at;
        ASSERT_EQ(FolderContents(folder), std::vector<std::string>{"doc.qbx"}) << "full at byte " << at;
        EXPECT_EQ(IOResult(), 0) << "full at byte " << at;
    }
    // With room for exactly the document, it is saved.
    TSaveOutcome outcome = SaveWithDiskFullAt(h, file, wanted.size());
    EXPECT_FALSE(outcome.Raised);
    EXPECT_EQ(outcome.Returned, std::optional<bool>(true));
    EXPECT_EQ(ReadBytes(file), wanted);
    EXPECT_EQ(FolderContents(folder), std::vector<std::string>{"doc.qbx"});
    std::filesystem::remove_all(folder);
}
