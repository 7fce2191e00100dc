#include "player/copy_with_progress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "classlib/core/file_backend.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/kernel_handle.h"
#include "classlib/core/scope_exit.h"
#include "classlib/gui/forms.h"
#include "classlib/testing/gui_testing.h"
#include "classlib/gui/scoped_win32.h"

namespace {

class TRecorder : public TCopyProgress {
public:
    void SetProStatus(int percent) override { percents.push_back(percent); }
    HWND ProgressWindow() override { return window; }
    std::vector<int> percents;
    HWND window = nullptr;
};

std::string ReadAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(CopyWithProgress, CopiesBlockwiseWithPercentagesAndFileTimes) {
    std::string data;
    for (int i = 0; i < 5000; ++i) data += static_cast<char>(i * 31);
    std::ofstream("copy_source.bin", std::ios::binary) << data;
    FILETIME old{};
    old.dwHighDateTime = 0x01C00000;  // long ago
    SetFileTime(TKernelHandle(CreateFileA("copy_source.bin", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)).Get(),
                &old, &old, &old);

    TScriptedInteraction seam;
    TRecorder progress;
    ASSERT_TRUE(CopyFileWithProgress("copy_source.bin", "copy_target.bin", progress));
    EXPECT_EQ(ReadAll("copy_target.bin"), data);
    EXPECT_EQ(progress.percents, (std::vector<int>{40, 81, 100, 100, 0}));
    EXPECT_TRUE(seam.Boxes.empty());
    FILETIME written{};
    GetFileTime(TKernelHandle(CreateFileA("copy_target.bin", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                          nullptr))
                    .Get(),
                nullptr, nullptr, &written);
    EXPECT_EQ(written.dwHighDateTime, old.dwHighDateTime);
    std::remove("copy_source.bin");
    std::remove("copy_target.bin");
}

TEST(CopyWithProgress, EmptyFilesCopyWithoutComplaint) {
    std::ofstream("copy_empty.bin", std::ios::binary).close();
    TScriptedInteraction seam;
    TRecorder progress;
    EXPECT_TRUE(CopyFileWithProgress("copy_empty.bin", "copy_empty_target.bin", progress));
    EXPECT_TRUE(FileExists("copy_empty_target.bin"));
    EXPECT_EQ(progress.percents, (std::vector<int>{0, 0}));
    EXPECT_TRUE(seam.Boxes.empty());
    std::remove("copy_empty.bin");
    std::remove("copy_empty_target.bin");
}

TEST(CopyWithProgress, FailuresAreReportedAndNothingIsDestroyed) {
    std::ofstream("copy_self.bin", std::ios::binary) << "precious";
    TScriptedInteraction seam;
    TRecorder progress;
    EXPECT_FALSE(CopyFileWithProgress("copy_self.bin", ".\\COPY_SELF.BIN", progress));
    EXPECT_EQ(ReadAll("copy_self.bin"), "precious");
    EXPECT_FALSE(CopyFileWithProgress("copy_self.bin", "no-such-folder\\copy.bin", progress));
    EXPECT_FALSE(CopyFileWithProgress("no-such-source.bin", "copy_new.bin", progress));
    EXPECT_FALSE(FileExists("copy_new.bin"));
    ASSERT_EQ(seam.Boxes.size(), 3u);
    for (const auto& box : seam.Boxes) {
        EXPECT_EQ(box.Text, "Could not copy file!");
        EXPECT_EQ(box.Caption, "Error");
        EXPECT_EQ(box.Flags, unsigned(MB_TASKMODAL | MB_ICONINFORMATION));
    }
    EXPECT_EQ(progress.percents.back(), 0);
    std::remove("copy_self.bin");
}

// Run as an administrator (as the tests are), the system would let the
// copy write the file anyway: the mark alone must keep it.
TEST(CopyWithProgress, ADestinationMarkedReadOnlyIsRefusedAndKept) {
    std::ofstream("copy_fresh.bin", std::ios::binary) << "new content";
    std::ofstream("copy_kept.bin", std::ios::binary) << "kept";
    ASSERT_TRUE(SetFileAttributesA("copy_kept.bin", FILE_ATTRIBUTE_READONLY));
    TScopeExit cleanUp([] {
        SetFileAttributesA("copy_kept.bin", FILE_ATTRIBUTE_NORMAL);
        std::remove("copy_fresh.bin");
        std::remove("copy_kept.bin");
    });
    TScriptedInteraction seam;
    TRecorder progress;
    EXPECT_FALSE(CopyFileWithProgress("copy_fresh.bin", "copy_kept.bin", progress));
    EXPECT_EQ(ReadAll("copy_kept.bin"), "kept");
    EXPECT_NE(GetFileAttributesA("copy_kept.bin") & FILE_ATTRIBUTE_READONLY, 0u) << "still marked read-only";
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "Could not copy file!");
    EXPECT_EQ(seam.Boxes[0].Caption, "Error");
    EXPECT_EQ(progress.percents.back(), 0);
}

TEST(CopyWithProgress, AWriteCutShortAtTheEndOfTheMediumIsAFailure) {
    std::string data(40000, 'd');
    for (size_t i = 0; i < data.size(); i += 7) data[i] = static_cast<char>(i);
    std::ofstream("copy_long.bin", std::ios::binary) << data;
    std::remove("copy_cut.bin");
    std::ofstream("copy_older.bin", std::ios::binary) << "an older copy";
    TScriptedInteraction seam;
    TRecorder progress;
    progress.window = GetDesktopWindow();
    {
        FileBackend::TFileSizeLimitForTesting medium(33 * 1024);
        EXPECT_FALSE(CopyFileWithProgress("copy_long.bin", "copy_cut.bin", progress));
        EXPECT_FALSE(CopyFileWithProgress("copy_long.bin", "copy_older.bin", progress));
    }
    // Nothing that could pass for a copy is left; what was there stays.
    EXPECT_FALSE(FileExists("copy_cut.bin"));
    EXPECT_EQ(ReadAll("copy_older.bin"), "an older copy");
    ASSERT_EQ(seam.Boxes.size(), 2u);
    for (const auto& box : seam.Boxes) {
        EXPECT_EQ(box.Text, "Could not copy file!");
        EXPECT_EQ(box.Owner, GetDesktopWindow()) << "owned by the window the copy works for";
    }
    EXPECT_EQ(progress.percents.back(), 0);

    // With room, the copy takes the older one's place.
    EXPECT_TRUE(CopyFileWithProgress("copy_long.bin", "copy_older.bin", progress));
    EXPECT_EQ(ReadAll("copy_older.bin"), data);
    EXPECT_EQ(seam.Boxes.size(), 2u);
    WIN32_FIND_DATAA found;
    TFileSearch search(FindFirstFileA("~qb*.tmp", &found));
    EXPECT_FALSE(search) << "no side file is left behind";
    std::remove("copy_long.bin");
    std::remove("copy_older.bin");
}

}  // namespace

namespace {

// A window that counts what reaches it.
class TCountingProgress : public TCopyProgress {
public:
    explicit TCountingProgress(HWND window) : window_(window) {}
    void SetProStatus(int) override {}
    HWND ProgressWindow() override { return window_; }

private:
    HWND window_;
};

TEST(CopyWithProgress, BetweenBlocksOnlyPaintingHappens) {
    std::ofstream("copy_big.bin", std::ios::binary) << std::string(20000, 'q');
    auto form = MakeOwned<TForm>(nullptr);
    form->SetBounds(50, 50, 200, 100);
    int clicks = 0;
    form->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    DrainMessages();
    HWND window = form->Handle();
    InvalidateRect(window, nullptr, TRUE);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));

    TScriptedInteraction seam;
    TCountingProgress progress(window);
    ASSERT_TRUE(CopyFileWithProgress("copy_big.bin", "copy_big_target.bin", progress));
    RECT pending;
    EXPECT_FALSE(GetUpdateRect(window, &pending, FALSE)) << "the window was painted during the copy";
    EXPECT_EQ(clicks, 0) << "input waits until the copy is over";
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, window, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE));
    DrainMessages();
    EXPECT_EQ(clicks, 1);
    std::remove("copy_big.bin");
    std::remove("copy_big_target.bin");
}

}  // namespace
