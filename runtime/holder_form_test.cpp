// The runtime's hidden holder as the program creates it from its layout,
// next to the player window it fills.
#include "runtime/holder_form.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "classlib/comctrls/comctrls.h"
#include "classlib/comctrls/imagelist_gdi.h"
#include "classlib/core/color.h"
#include "classlib/core/treenodes.h"
#include "classlib/dialogs/dialogs.h"
#include "classlib/gui/application.h"
#include "classlib/testing/gui_testing.h"
#include "editor/document/document_binding.h"
#include "editor/document/entry_data.h"
#include "editor/document/menu_document.h"
#include "editor/document/sample_document_test.h"
#include "controls/custom_color_combo_box.h"
#include "player/play_form.h"
#include "runtime/document_marker.h"
#include "runtime/runtime_classes.h"

// The test program is linked with every call of free() routed through
// here (-Wl,--wrap=free), so a test can see which heap blocks are given
// back and how often.
extern "C" void __real_free(void* block);

namespace {

// Counts the frees of a set of heap blocks. While it watches, a watched
// block is only counted, not given back, so its address cannot come back
// from the heap for something else and a second free of it is seen as such;
// the blocks go back to the heap when the watch ends.
class TFreeWatch {
public:
    explicit TFreeWatch(std::vector<const void*> blocks) {
        blocks_ = std::move(blocks);
        frees_ = std::vector<std::atomic<int>>(blocks_.size());
        watching_.store(true, std::memory_order_release);
    }
    ~TFreeWatch() {
        watching_.store(false, std::memory_order_release);
        for (size_t i = 0; i < blocks_.size(); ++i)
            if (frees_[i] > 0) __real_free(const_cast<void*>(blocks_[i]));
        blocks_.clear();
    }
    TFreeWatch(const TFreeWatch&) = delete;
    TFreeWatch& operator=(const TFreeWatch&) = delete;

    int Frees(size_t index) const { return frees_[index]; }
    size_t Size() const { return blocks_.size(); }

    // True when the block is watched (and so is kept).
    static bool Noted(void* block) {
        if (!block || !watching_.load(std::memory_order_acquire)) return false;
        for (size_t i = 0; i < blocks_.size(); ++i)
            if (blocks_[i] == block) {
                ++frees_[i];
                return true;
            }
        return false;
    }

private:
    static inline std::atomic<bool> watching_{false};
    static inline std::vector<const void*> blocks_;
    static inline std::vector<std::atomic<int>> frees_;
};

}  // namespace

extern "C" void __wrap_free(void* block) {
    if (!TFreeWatch::Noted(block)) __real_free(block);
}

namespace {

// An entry of the menu tree and the four heap blocks it owns.
struct TEntryBlocks {
    std::string Caption;
    std::vector<const void*> Blocks;  // record, text, linked file, linked picture
};

std::vector<TEntryBlocks> EntriesOf(TTreeNodes& tree) {
    std::vector<TEntryBlocks> entries;
    for (TTreeNode* node = tree.GetFirstNode(); node; node = node->GetNext()) {
        if (node->ImageIndex() == 0) continue;
        const auto* entry = static_cast<const TEntryData*>(node->Data());
        if (!entry) continue;
        entries.push_back({node->Text(), {entry, entry->Text, entry->LinkedFile, entry->LinkedPicture}});
    }
    return entries;
}

// Watches the blocks of all entries; Frees(caption) is how often each
// block of that entry was freed, all the same or -1 when they differ.
class TEntryFreeWatch {
public:
    explicit TEntryFreeWatch(std::vector<TEntryBlocks> entries) : entries_(std::move(entries)), watch_(AllBlocks()) {}

    int Frees(const std::string& caption) const {
        size_t at = 0;
        for (const TEntryBlocks& e : entries_) {
            if (e.Caption == caption) {
                int first = watch_.Frees(at);
                for (size_t i = 1; i < e.Blocks.size(); ++i)
                    if (watch_.Frees(at + i) != first) return -1;
                return first;
            }
            at += e.Blocks.size();
        }
        ADD_FAILURE() << "no entry " << caption;
        return -1;
    }

private:
    std::vector<const void*> AllBlocks() const {
        std::vector<const void*> all;
        for (const TEntryBlocks& e : entries_) all.insert(all.end(), e.Blocks.begin(), e.Blocks.end());
        return all;
    }

    std::vector<TEntryBlocks> entries_;
    TFreeWatch watch_;
};

TTreeNode* NodeNamed(TTreeNodes& tree, const std::string& text) {
    for (TTreeNode* node = tree.GetFirstNode(); node; node = node->GetNext())
        if (node->Text() == text) return node;
    return nullptr;
}

class HolderFormTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterRuntimeClasses();
        if (!PlayForm) Application->CreateForm(PlayForm);
        if (!CopyFileForm) Application->CreateForm(CopyFileForm);
    }

    // The holder as the program creates it. No document is attached to the
    // test program: the holder says so and asks the program to end; the
    // request is taken back so the tests go on.
    void SetUp() override {
        TScriptedInteraction seam;
        Application->CreateForm(MainForm);
        EXPECT_EQ(seam.Boxes.size(), 1u);
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    void TearDown() override {
        if (MainForm) MainForm->Free();
        MainForm = nullptr;
        TTestHolder empty;
        PlayForm->ApplyDocument(empty);
    }

    // Reads the sample document into the holder as the runtime reads the
    // one attached to it.
    void ReadSample(TColor window = 0xD8E9EC, TColor tree = clWhite, TColor page = clWhite) {
        TTestHolder sample;
        BuildSample(sample);
        TMenuSettings settings = sample.MenuSettings();
        settings.WindowColor = window;
        settings.TreeColor = tree;
        settings.PageColor = page;
        sample.SetMenuSettings(settings);
        std::string file = "holder_sample.qbx";
        ASSERT_TRUE(WriteMenuDocument(sample, file));
        DocumentOffset = 0;
        MainForm->openfile(file);
        std::remove(file.c_str());
        ASSERT_EQ(EntriesOf(MainForm->MenuTree()).size(), 4u);
    }
};

TEST_F(HolderFormTest, DeletedEntriesFreeTheirRecordsExactlyOnce) {
    ASSERT_TRUE(MainForm->TreeView1->OnDeletion);  // bound by the layout
    ReadSample();
    TTreeNodes& tree = MainForm->MenuTree();
    TEntryFreeWatch watch(EntriesOf(tree));

    // The player's copies share the records and free none, also when its
    // tree is rebuilt for another tab or another document.
    MainForm->PreViewBtnClick(nullptr);
    ASSERT_EQ(PlayForm->TreeView1->Items()->Count(), 4);
    PlayForm->TabControl1->SetTabIndex(1);
    PlayForm->TabControl1Change(nullptr);
    TTestHolder empty;
    PlayForm->ApplyDocument(empty);
    for (const char* caption : {"This is a caption", "Second", "Deep", "Last"}) EXPECT_EQ(watch.Frees(caption), 0);

    // One entry alone.
    NodeNamed(tree, "Second")->Delete();
    EXPECT_EQ(watch.Frees("Second"), 1);
    EXPECT_EQ(watch.Frees("This is a caption"), 0);

    // A category with an entry and a nested category holding another.
    NodeNamed(tree, "This is a test")->Delete();
    EXPECT_EQ(watch.Frees("This is a caption"), 1);
    EXPECT_EQ(watch.Frees("Deep"), 1);
    EXPECT_EQ(watch.Frees("Last"), 0);
    EXPECT_EQ(watch.Frees("Second"), 1);

    // The rest goes with the holder at the program's end.
    MainForm->Free();
    MainForm = nullptr;
    for (const char* caption : {"This is a caption", "Second", "Deep", "Last"}) EXPECT_EQ(watch.Frees(caption), 1);
}

TEST_F(HolderFormTest, ClearingTheTreeFreesEveryRecordOnce) {
    ReadSample();
    TTreeNodes& tree = MainForm->MenuTree();
    TEntryFreeWatch watch(EntriesOf(tree));
    tree.Clear();
    for (const char* caption : {"This is a caption", "Second", "Deep", "Last"}) EXPECT_EQ(watch.Frees(caption), 1);
    MainForm->Free();
    MainForm = nullptr;
    for (const char* caption : {"This is a caption", "Second", "Deep", "Last"}) EXPECT_EQ(watch.Frees(caption), 1);
}

// Without a readable document the player shows what the layouts hold: the
// start-up document, the editor's too.
TEST_F(HolderFormTest, TheLayoutsHoldTheStartUpDocument) {
    TMenuDocument held;
    held.Nodes = CaptureMenuDocument(*MainForm).Nodes;
    held.Settings = MainForm->MenuSettings();
    // The player's own copies of the fonts; its shown ones take documents.
    held.CaptionFont = FontRecordOf(*PlayForm->FontDialog3->Font());
    held.MainTextFont = FontRecordOf(*PlayForm->FontDialog4->Font());
    EXPECT_EQ(held, TMenuDocument{});
    EXPECT_EQ(MainForm->MenuTree().GetFirstNode()->Text(), "Themen");
}

TEST_F(HolderFormTest, TheHiddenHolderReadsItsColoursWithoutWindowsAndAWindowGetsAllEntries) {
    ReadSample(0x123456, clWhite, 0x0000FF);
    MainForm->PreViewBtnClick(nullptr);
    // The holder is never shown and needs no windows for its document.
    EXPECT_FALSE(MainForm->HandleAllocated());
    EXPECT_FALSE(MainForm->PrismColorComboBox1->HandleAllocated());
    EXPECT_FALSE(MainForm->TreeView1->HandleAllocated());
    EXPECT_EQ(PlayForm->Color(), 0x123456);
    EXPECT_EQ(PlayForm->TreeView1->Color(), clWhite);
    EXPECT_EQ(PlayForm->ScrollBox1->Color(), 0x0000FF);

    // Made all the same, the colour boxes' windows hold the 17 entries and
    // select the document's colours.
    MainForm->HandleNeeded();
    for (TCustomColorComboBox* box :
         {MainForm->PrismColorComboBox1, MainForm->PrismColorComboBox2, MainForm->PrismColorComboBox3}) {
        ASSERT_TRUE(box->HandleAllocated());
        std::vector<std::string> entries = ComboBoxEntries(box->Handle());
        ASSERT_EQ(entries.size(), 17u);
        const std::vector<std::string> named = {"clBlack", "clMaroon", "clGreen", "clOlive",  "clNavy",  "clPurple",
                                                "clTeal",  "clGray",   "clSilver", "clRed",   "clLime",  "clYellow",
                                                "clBlue",  "clFuchsia", "clAqua",  "clWhite"};
        EXPECT_EQ(std::vector<std::string>(entries.begin(), entries.begin() + 16), named);
        const int selected = static_cast<int>(SendMessageA(box->Handle(), CB_GETCURSEL, 0, 0));
        ASSERT_GE(selected, 0);
        EXPECT_EQ(StringToColor(entries[static_cast<size_t>(selected)]), box->ColorValue());
    }
    EXPECT_EQ(ComboBoxEntries(MainForm->PrismColorComboBox3->Handle())[16], "$00123456");
    EXPECT_EQ(SendMessageA(MainForm->PrismColorComboBox3->Handle(), CB_GETCURSEL, 0, 0), 16);
    EXPECT_EQ(SendMessageA(MainForm->PrismColorComboBox1->Handle(), CB_GETCURSEL, 0, 0), 15);
    EXPECT_EQ(SendMessageA(MainForm->PrismColorComboBox2->Handle(), CB_GETCURSEL, 0, 0), 9);
}

// The pixels of one image of a list, drawn on white.
std::vector<uint32_t> ImagePixels(TImageList* list, int index) {
    TPixelSurface surface(list->Width(), list->Height(), RGB(255, 255, 255));
    list->Draw(surface.Dc(), 0, 0, index);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x) pixels.push_back(surface.At(x, y));
    return pixels;
}

TEST_F(HolderFormTest, TheTreeHasTheFourNodePicturesOfThePlayer) {
    TImageList* images = MainForm->ImageList1;
    ASSERT_EQ(MainForm->TreeView1->Images(), images);
    ASSERT_EQ(images->Count(), 4);
    EXPECT_EQ(images->Width(), 16);
    EXPECT_EQ(images->Height(), 16);
    std::vector<std::vector<uint32_t>> pictures;
    for (int i = 0; i < 4; ++i) {
        pictures.push_back(ImagePixels(images, i));
        // Category, entry, selected category, selected entry: as the player shows them.
        EXPECT_EQ(pictures.back(), ImagePixels(PlayForm->ImageList1, i)) << "image " << i;
        EXPECT_NE(pictures.back(), std::vector<uint32_t>(16 * 16, 0xFFFFFF)) << "image " << i;
        for (int j = 0; j < i; ++j) EXPECT_NE(pictures[static_cast<size_t>(j)], pictures.back()) << j << " and " << i;
    }
}

}  // namespace
