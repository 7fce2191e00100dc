// The player window as the runtime carries it, from the runtime's layouts.
#include "player/play_form.h"

#include <gtest/gtest.h>

#include "classlib/testing/solid_bitmap_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <map>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "classlib/core/color.h"
#include "classlib/gui/application.h"
#include "classlib/gui/graphics_objects.h"
#include "classlib/gui/scoped_win32.h"
#include "runtime/runtime_classes.h"
#include "classlib/comctrls/comctrls.h"
#include "classlib/dialogs/dialogs.h"
#include "editor/document/entry_data.h"
#include "classlib/testing/caption_ink.h"
#include "classlib/testing/gui_testing.h"
#include "classlib/testing/sent_message_counter.h"
#include "classlib/stdctrls/buttons.h"
#include "classlib/stdctrls/extctrls.h"
#include "classlib/stdctrls/stdctrls.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/paths.h"
#include "controls/file_dir_edit.h"
#include "editor/document/test_holder_test.h"
#include "classlib/core/treenodes.h"

namespace {

// Run inside the player's modal loop: once the form is up with Install
// enabled, a click on Install, then Escape.
void CALLBACK InstallThenEscape(HWND, UINT, UINT_PTR id, DWORD) {
    if (!PlayForm->Showing() || !IsWindowVisible(PlayForm->Handle()) || !PlayForm->InstallBtn->Enabled()) return;
    KillTimer(nullptr, id);
    DrainMessages();
    ClickAt(PlayForm->InstallBtn, 10, 10);
    PressKey(VK_ESCAPE);
}

// Run inside the copy dialog's modal loop, as a person would answer it:
// empties the "To:" box and tries OK with Enter, then types the folder and
// confirms.
struct TCopyDialogDriver {
    static inline std::string folder;
    static inline bool okWhileEmpty = true, closedWhileEmpty = true, okWithFolder = false;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND dialog = CopyFileForm->Handle();
        if (!CopyFileForm->Showing() || !IsWindowVisible(dialog)) return;
        SetForegroundWindow(dialog);
        if (GetForegroundWindow() != dialog) return;
        KillTimer(nullptr, id);
        DrainMessages();
        TDirectoryEdit* box = CopyFileForm->DirectoryEdit1;
        ClickAt(box, 10, box->Height() / 2);
        PumpUntil([box] { return GetFocus() == box->Handle(); });
        PressKey(VK_END);
        for (int i = 0; i < 10 && !box->Text().empty(); ++i) PressKey(VK_BACK);
        okWhileEmpty = CopyFileForm->BitBtn1->Enabled();
        PressKey(VK_RETURN);
        closedWhileEmpty = CopyFileForm->ModalResult() != mrNone;
        TypeText(folder);
        okWithFolder = CopyFileForm->BitBtn1->Enabled();
        PressKey(VK_RETURN);
        if (CopyFileForm->ModalResult() == mrNone) CopyFileForm->SetModalResult(mrCancel);
    }
};

class PlayerTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterRuntimeClasses();
        if (!PlayForm) Application->CreateForm(PlayForm);
        if (!CopyFileForm) Application->CreateForm(CopyFileForm);
        WriteSolidBmp("red.bmp", 40, 30, 255, 0, 0);
        WriteSolidBmp("Red.BMP.bmp", 40, 30, 255, 0, 0);
    }

    // Two categories; the first holds an entry with a picture and a linked
    // file, an entry without either, and a nested category with an entry.
    void BuildDocument() {
        TTreeNode* first = holder.AddCategory(holder.Root(), "Software");
        holder.AddEntry(first, "Editor", "Line one\r\nLine two of a long text that wraps", "setup.exe", "red.bmp");
        holder.AddEntry(first, "Readme", "Nothing linked", "", "");
        TTreeNode* nested = holder.AddCategory(first, "Tools");
        holder.AddEntry(nested, "Deep", "deep", "deep.exe", "red.bmp");
        holder.AddCategory(holder.Root(), "Empty");
    }

    // The holder's document in the shown player window; its tree's items.
    TTreeNodes* ShowDocument() {
        PlayForm->ApplyDocument(holder);
        PlayForm->Show();
        DrainMessages();
        return PlayForm->TreeView1->Items();
    }

    TTestHolder holder;
};

TEST_F(PlayerTest, AppliesTheDocumentAndCopiesTheFirstCategory) {
    BuildDocument();
    TMenuSettings s;
    s.Caption = "My CD";
    s.WindowColor = clBtnFace;
    s.TreeColor = 0x00FFEEDD;
    s.PageColor = 0x00DDEEFF;
    s.Switches = {false, true, true, false, true, false, false};
    holder.SetMenuSettings(s);
    PlayForm->ApplyDocument(holder);

    EXPECT_EQ(PlayForm->Caption(), "My CD");
    EXPECT_FALSE(PlayForm->StatusBar1->Visible());
    EXPECT_FALSE(PlayForm->CopyBtn->Visible());
    EXPECT_EQ(PlayForm->TabControl1->Style(), tsFlatButtons);
    EXPECT_EQ(PlayForm->TreeView1->BorderStyle(), bsNone);
    EXPECT_EQ(PlayForm->ScrollBox1->BorderStyle(), bsNone);
    EXPECT_EQ(PlayForm->TreeView1->Color(), 0x00FFEEDD);
    EXPECT_EQ(PlayForm->ScrollBox1->Color(), 0x00DDEEFF);
    EXPECT_EQ(PlayForm->Panel2->Color(), clBtnFace);

    TStrings* tabs = PlayForm->TabControl1->Tabs();
    ASSERT_EQ(tabs->Count(), 2);
    EXPECT_EQ(tabs->Strings(0), "Software");
    EXPECT_EQ(tabs->Strings(1), "Empty");
    TTreeNodes* copy = PlayForm->TreeView1->Items();
    ASSERT_EQ(copy->Count(), 4);
    TTreeNode* top = copy->GetFirstNode();
    EXPECT_EQ(top->Text(), "Editor");
    EXPECT_EQ(top->Level(), 0);
    EXPECT_EQ(copy->Item(2)->Text(), "Tools");
    EXPECT_EQ(copy->Item(3)->Text(), "Deep");
    EXPECT_EQ(copy->Item(3)->Level(), 1);
    EXPECT_EQ(PlayForm->TreeView1->Selected(), top);
    // The copy shares the records.
    EXPECT_EQ(top->Data(), holder.Root()->getFirstChild()->getFirstChild()->Data());
    EXPECT_EQ(top->SelectedIndex(), 3);

    PlayForm->TabControl1->SetTabIndex(1);
    PlayForm->TabControl1Change(nullptr);
    EXPECT_EQ(copy->Count(), 0);

    // Freeing the copy frees no record.
    PlayForm->TabControl1->SetTabIndex(0);
    PlayForm->TabControl1Change(nullptr);
    PlayForm->TreeView1->Items()->Clear();
    EXPECT_EQ(holder.freed_records, 0);
}

TEST_F(PlayerTest, ADocumentWithoutCategoriesShowsNoTabs) {
    BuildDocument();
    PlayForm->ApplyDocument(holder);
    TTestHolder empty;
    PlayForm->ApplyDocument(empty);
    EXPECT_EQ(PlayForm->TabControl1->Tabs()->Count(), 0);
    EXPECT_EQ(PlayForm->TreeView1->Items()->Count(), 0);
}

TEST_F(PlayerTest, PagesShowCaptionPictureAndTextAndSizeThePage) {
    BuildDocument();
    TTreeNodes* items = ShowDocument();

    // An entry with a picture and a linked file.
    PlayForm->TreeView1->SetSelected(items->Item(0));
    DrainMessages();
    EXPECT_EQ(PlayForm->CurrentFile(), "setup.exe");
    EXPECT_TRUE(PlayForm->InstallBtn->Enabled());
    EXPECT_TRUE(PlayForm->CopyBtn->Enabled());
    SIZE caption{};
    {
        TWindowDC dc(nullptr);
        TSelectedObject font(dc, FontHandle(*PlayForm->FontDialog1->Font()));
        GetTextExtentPoint32A(dc, "Tools", 5, &caption);
    }
    int pictureTop = caption.cy * 2 + 10;
    TWindowPixels page(PlayForm->ScrollBox1->Handle());
    EXPECT_EQ(page.At(20, pictureTop + 5), RGB(255, 0, 0));
    EXPECT_EQ(page.At(55, pictureTop + 5), RGB(255, 255, 255));
    EXPECT_GT(PlayForm->PaintBox1->Height(), pictureTop + 30 + 10);
    page.SavePng(ScreenshotFolder() + "player_entry.png");

    // An entry without links disables both buttons.
    PlayForm->TreeView1->SetSelected(items->Item(1));
    DrainMessages();
    EXPECT_EQ(PlayForm->CurrentFile(), "");
    EXPECT_FALSE(PlayForm->InstallBtn->Enabled());
    EXPECT_FALSE(PlayForm->CopyBtn->Enabled());

    // A category: only its name, the page exactly two lines and ten pixels.
    PlayForm->TreeView1->SetSelected(items->Item(2));
    DrainMessages();
    EXPECT_EQ(PlayForm->PaintBox1->Height(), caption.cy * 2 + 10);
    PlayForm->Hide();
}

TEST_F(PlayerTest, PicturesAreCachedByTheirExactName) {
    BuildDocument();
    TTreeNode* other = holder.AddCategory(holder.Root(), "Cases");
    holder.AddEntry(other, "Same", "", "", "red.bmp");
    holder.AddEntry(other, "Case", "", "", "RED.BMP");
    TTreeNodes* items = ShowDocument();
    PlayForm->TreeView1->SetSelected(items->Item(0));
    DrainMessages();
    int loads = PlayForm->PictureLoads();
    PlayForm->TreeView1->SetSelected(items->Item(3));  // "Deep": the same picture
    DrainMessages();
    EXPECT_EQ(PlayForm->PictureLoads(), loads);

    PlayForm->TabControl1->SetTabIndex(2);
    PlayForm->TabControl1Change(nullptr);
    DrainMessages();
    EXPECT_EQ(PlayForm->PictureLoads(), loads);  // "Same" again
    PlayForm->TreeView1->SetSelected(items->Item(1));
    DrainMessages();
    EXPECT_EQ(PlayForm->PictureLoads(), loads + 1);  // letter case differs: loaded again
    EXPECT_EQ(PlayForm->CachedPictureName(), "RED.BMP");
    PlayForm->Hide();
}

TEST_F(PlayerTest, AnEntryWithoutAPictureAsksTheLibraryForNoneAndDropsTheCachedOne) {
    BuildDocument();
    TTreeNodes* items = ShowDocument();
    PlayForm->TreeView1->SetSelected(items->Item(0));  // "Editor", with red.bmp
    DrainMessages();
    ASSERT_EQ(PlayForm->CachedPictureName(), "red.bmp");
    const int loads = PlayForm->PictureLoads();
    PlayForm->TreeView1->SetSelected(items->Item(1));  // "Readme", no picture
    DrainMessages();
    EXPECT_EQ(PlayForm->PictureLoads(), loads);
    EXPECT_EQ(PlayForm->CachedPicture().Bits, nullptr);
    PlayForm->Hide();
}

TEST_F(PlayerTest, InstallOpensTheLinkedFileAndEscapeQuits) {
    BuildDocument();
    PlayForm->ApplyDocument(holder);
    TScriptedInteraction seam;
    SetTimer(nullptr, 0, 10, InstallThenEscape);
    EXPECT_EQ(PlayForm->ShowModal(), mrCancel);
    ASSERT_EQ(seam.ShellCalls.size(), 1u);
    EXPECT_EQ(seam.ShellCalls[0].Verb, "open");
    EXPECT_EQ(seam.ShellCalls[0].File, "setup.exe");
    EXPECT_EQ(seam.ShellCalls[0].Show, SW_SHOW);
}

TEST_F(PlayerTest, CopyNeedsAFolderAndPutsTheFileInTheOneTyped) {
    std::filesystem::remove_all("copied");
    std::filesystem::create_directories("from");
    std::ofstream("from\\readme.txt") << "Read me";
    holder.AddEntry(holder.AddCategory(holder.Root(), "Docs"), "Readme", "text", "from/readme.txt", "");
    PlayForm->ApplyDocument(holder);
    PlayForm->Show();
    ASSERT_TRUE(PumpUntil([] { return PlayForm->CopyBtn->Enabled(); }));
    TScriptedInteraction seam;
    // Typed with forward slashes, into folders that are not there yet.
    TCopyDialogDriver::folder = IncludeTrailingBackslash(GetCurrentDir()) + "copied/to/here";
    SetTimer(nullptr, 0, 10, &TCopyDialogDriver::Tick);
    PlayForm->CopyBtnClick(nullptr);
    PlayForm->Hide();

    EXPECT_FALSE(TCopyDialogDriver::okWhileEmpty) << "OK is not offered without a folder";
    EXPECT_FALSE(TCopyDialogDriver::closedWhileEmpty) << "Enter does not confirm without a folder";
    EXPECT_TRUE(TCopyDialogDriver::okWithFolder);
    EXPECT_TRUE(seam.Boxes.empty()) << seam.Boxes.front().Text;
    std::vector<std::string> copied;
    std::error_code missing;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("copied", missing))
        copied.push_back(entry.path().lexically_relative("copied").string());
    std::sort(copied.begin(), copied.end());
    EXPECT_EQ(copied, (std::vector<std::string>{"to", "to\\here", "to\\here\\readme.txt"}));
    {
        std::ifstream in("copied\\to\\here\\readme.txt");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "Read me");
    }
    std::filesystem::remove_all("copied");
    std::filesystem::remove_all("from");
}

TEST_F(PlayerTest, WheelScrollsThePageByFiftyPixelsClamped) {
    BuildDocument();
    TTreeNode* longEntry = holder.AddCategory(holder.Root(), "Long");
    std::string words;
    for (int i = 0; i < 600; ++i) words += "word ";
    holder.AddEntry(longEntry, "Long text", words, "", "");
    PlayForm->ApplyDocument(holder);
    PlayForm->TabControl1->SetTabIndex(2);
    PlayForm->TabControl1Change(nullptr);
    PlayForm->Show();
    DrainMessages();
    PlayForm->TreeView1->SetFocus();
    TControlScrollBar* bar = PlayForm->ScrollBox1->VertScrollBar();
    ASSERT_GT(bar->Range(), PlayForm->ScrollBox1->ClientHeight());
    for (int i = 0; i < 3; ++i) WheelAt(PlayForm->TreeView1, -WHEEL_DELTA);
    EXPECT_EQ(bar->Position(), 150);
    bool handled = false;
    for (int i = 0; i < 200; ++i) PlayForm->FormMouseWheelDown(nullptr, TShiftState(), TPoint{}, handled);
    EXPECT_EQ(bar->Position(), bar->Range() - PlayForm->ScrollBox1->ClientHeight());
    PlayForm->Hide();
}

// The first and last picture columns in the rows of the area that differ
// from the colour most of the area shows: where ink lies.
std::pair<int, int> InkColumns(const TWindowPixels& picture, const TRect& area) {
    std::map<COLORREF, int> counts;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) ++counts[picture.At(x, y)];
    COLORREF background = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                              return a.second < b.second;
                          })->first;
    int first = INT_MAX, last = -1;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (picture.At(x, y) != background) first = std::min(first, x), last = std::max(last, x);
    return {first, last};
}

// Ink of the text drawn at `left` shows from and to the columns its own
// ink takes when drawn as typed (no hot-key marks).
void ExpectInkOfTextAsTyped(const std::pair<int, int>& ink, int left, HFONT font, const std::string& text) {
    int start = TextInkStart(font, text, DT_NOPREFIX), end = TextInkWidth(font, text, DT_NOPREFIX);
    // Drawn with hot-key marks the text would be narrower by its "&".
    ASSERT_GT(end - TextInkWidth(font, text), 2);
    EXPECT_NEAR(ink.first, left + start, 1) << text;
    EXPECT_NEAR(ink.second, left + end - 1, 1) << text;
}

TEST_F(PlayerTest, AmpersandsShowAsTypedOnThePageAndTheTabs) {
    TTreeNode* first = holder.AddCategory(holder.Root(), "Software");
    const std::string text = "Ampersands & more";
    holder.AddEntry(first, "Entry", text, "", "");
    holder.AddCategory(holder.Root(), "Tom & Jerry");
    PlayForm->ApplyDocument(holder);
    PlayForm->Show();
    DrainMessages();
    PlayForm->TreeView1->SetSelected(PlayForm->TreeView1->Items()->GetFirstNode());
    DrainMessages();

    // The page: one line of text below the caption.
    TWindowDC screen(nullptr);
    TEXTMETRICA caption{}, body{};
    {
        TSelectedObject font(screen, FontHandle(*PlayForm->FontDialog1->Font()));
        GetTextMetricsA(screen, &caption);
    }
    HFONT bodyFont = FontHandle(*PlayForm->FontDialog2->Font());
    {
        TSelectedObject font(screen, bodyFont);
        GetTextMetricsA(screen, &body);
    }
    int textTop = caption.tmHeight * 2 + 10;
    TWindowPixels page(PlayForm->ScrollBox1->Handle());
    page.SavePng(ScreenshotFolder() + "player_ampersand_page.png");
    ExpectInkOfTextAsTyped(InkColumns(page, Rect(0, textTop, page.Width(), textTop + body.tmHeight)), 10, bodyFont,
                           text);

    // The second tab's caption, inside its frame.
    TTabControl* tabs = PlayForm->TabControl1;
    TRect tab = tabs->TabRect(1);
    TWindowPixels strip(tabs->Handle());
    strip.SavePng(ScreenshotFolder() + "player_ampersand_tabs.png");
    HFONT tabFont = FontHandle(*tabs->Font());
    std::pair<int, int> ink = InkColumns(strip, Rect(tab.left + 3, tab.top + 3, tab.right - 3, tab.bottom - 2));
    int width = TextInkWidth(tabFont, "Tom & Jerry", DT_NOPREFIX) - TextInkStart(tabFont, "Tom & Jerry", DT_NOPREFIX);
    EXPECT_NEAR(ink.second - ink.first + 1, width, 1);
    // The document keeps its text.
    EXPECT_EQ(holder.Root()->Item(1)->Text(), "Tom & Jerry");
    PlayForm->Hide();
}

// Drags the window's vertical scroll-bar thumb with the mouse, as a person
// would, to the point `fraction` of the way down its track (1: past the
// bottom), and waits until the button is released.
void DragThumb(HWND window, double fraction) {
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(window, OBJID_VSCROLL, &bar));
    ASSERT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "no scroll bar shown";
    const RECT& r = bar.rcScrollBar;
    int x = (r.left + r.right) / 2;
    int thumbGrip = (bar.xyThumbTop + bar.xyThumbBottom) / 2;
    int trackTop = r.top + bar.dxyLineButton + thumbGrip - bar.xyThumbTop;
    int trackBottom = r.bottom - bar.dxyLineButton - (bar.xyThumbBottom - thumbGrip);
    int target = fraction >= 1 ? r.bottom + 20 : trackTop + static_cast<int>((trackBottom - trackTop) * fraction);
    auto input = [](DWORD flags, int px, int py) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = MulDiv(px, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = MulDiv(py, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
        return in;
    };
    int grip = r.top + thumbGrip;
    std::vector<INPUT> steps{input(0, x, grip), input(MOUSEEVENTF_LEFTDOWN, x, grip)};
    for (int i = 1; i <= 8; ++i) steps.push_back(input(0, x, grip + (target - grip) * i / 8));
    steps.push_back(input(MOUSEEVENTF_LEFTUP, x, target));
    TInputMark mark = MarkInput();
    SendInput(static_cast<UINT>(steps.size()), steps.data(), sizeof(INPUT));
    ASSERT_TRUE(WaitForInput(mark, [](const MSG& m) {
        return m.message == WM_LBUTTONUP || m.message == WM_NCLBUTTONUP;
    }));
}

// A page of numbered lines ending in a line of its own.
std::string NumberedLines(int count) {
    std::string text;
    for (int i = 1; i < count; ++i) text += "Line " + std::to_string(i) + " of the entry's text\r\n";
    return text + "The very end";
}

class LongPageTest : public PlayerTest, public testing::WithParamInterface<int> {};

TEST_P(LongPageTest, TheWholeTextIsReachableByThumbWheelAndScrollBar) {
    TTreeNode* category = holder.AddCategory(holder.Root(), "Long");
    holder.AddEntry(category, "Long text", NumberedLines(GetParam()), "", "");
    PlayForm->ApplyDocument(holder);
    PlayForm->Show();
    DrainMessages();
    PlayForm->TreeView1->SetFocus();
    TScrollBox* box = PlayForm->ScrollBox1;
    HWND window = box->Handle();
    HFONT font = FontHandle(*PlayForm->FontDialog2->Font());
    COLORREF ink = static_cast<COLORREF>(ColorToRGB(PlayForm->FontDialog2->Font()->Color())) & 0xFFFFFF;
    TEXTMETRICA metrics{};
    {
        TWindowDC screen(nullptr);
        TSelectedObject selected(screen, font);
        GetTextMetricsA(screen, &metrics);
    }
    auto showsLastLine = [&](const char* how) {
        TWindowPixels page(window);
        page.SavePng(ScreenshotFolder() + "player_long_page_" + std::to_string(GetParam()) + "_" + how + ".png");
        TRect bottom = Rect(0, page.Height() - 2 * metrics.tmHeight, page.Width(), page.Height());
        return ShowsWholeText(page, bottom, font, ink, "The very end", DT_NOPREFIX);
    };

    // The wheel scrolls the page.
    WheelAt(PlayForm->TreeView1, -WHEEL_DELTA);
    EXPECT_EQ(PlayForm->PaintBox1->Top(), -50);

    DragThumb(window, 1.0);
    DrainMessages();
    EXPECT_TRUE(showsLastLine("thumb"));

    // Back at the top by the thumb; the bar's own command for its end (what
    // its keys send) reaches the end as well, and the wheel goes on there.
    DragThumb(window, 0.0);
    DrainMessages();
    EXPECT_EQ(PlayForm->PaintBox1->Top(), 0);
    SendMessageA(window, WM_VSCROLL, SB_BOTTOM, 0);
    DrainMessages();
    EXPECT_TRUE(showsLastLine("bottom"));
    int endTop = PlayForm->PaintBox1->Top();
    WheelAt(PlayForm->TreeView1, WHEEL_DELTA);
    EXPECT_EQ(PlayForm->PaintBox1->Top(), endTop + 50);
    PlayForm->Hide();
}

INSTANTIATE_TEST_SUITE_P(Lines, LongPageTest, testing::Values(600, 2200, 20000));

// The tab-control messages applying a document of n top-level categories
// sends.
int TabMessagesForCategories(int n) {
    TTestHolder holder;
    for (int i = 0; i < n; ++i) holder.AddCategory(holder.Root(), "Category " + std::to_string(i));
    TSentMessageCounter counter(PlayForm->TabControl1->Handle(), TCM_FIRST, TCM_FIRST + 0xFF);
    PlayForm->ApplyDocument(holder);
    EXPECT_EQ(PlayForm->TabControl1->Tabs()->Count(), n);
    EXPECT_EQ(SendMessageA(PlayForm->TabControl1->Handle(), TCM_GETITEMCOUNT, 0, 0), n);
    return counter.Count();
}

TEST_F(PlayerTest, ManyCategoriesCostTheTabsLinearWork) {
    TTestHolder empty;
    PlayForm->ApplyDocument(empty);
    int few = TabMessagesForCategories(10);
    int many = TabMessagesForCategories(100);
    // Ten times the categories: about ten times the messages, not a hundred.
    EXPECT_LE(many, 12 * few) << few << " messages for 10 tabs, " << many << " for 100";
    EXPECT_LE(many, 4 * 100);
    PlayForm->ApplyDocument(empty);
}

TEST_F(PlayerTest, ANewlyChosenEntryStartsAtTheTop) {
    TTreeNode* category = holder.AddCategory(holder.Root(), "Long");
    std::string words;
    for (int i = 0; i < 600; ++i) words += "word ";
    holder.AddEntry(category, "Long text", words, "", "");
    holder.AddEntry(category, "Also long", words, "", "");
    TTreeNode* other = holder.AddCategory(holder.Root(), "Other");
    holder.AddEntry(other, "Elsewhere", words, "", "");
    PlayForm->ApplyDocument(holder);
    PlayForm->Show();
    DrainMessages();
    PlayForm->TreeView1->SetFocus();
    TControlScrollBar* bar = PlayForm->ScrollBox1->VertScrollBar();

    // Read down the first entry, then go to the next one with the keyboard.
    for (int i = 0; i < 3; ++i) WheelAt(PlayForm->TreeView1, -WHEEL_DELTA);
    ASSERT_GE(bar->Position(), 150);
    PressKey(VK_DOWN);
    DrainMessages();
    ASSERT_EQ(PlayForm->TreeView1->Selected()->Text(), "Also long");
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(PlayForm->PaintBox1->Top(), 0);

    // The same for the first entry of another tab.
    for (int i = 0; i < 3; ++i) WheelAt(PlayForm->TreeView1, -WHEEL_DELTA);
    ASSERT_GE(bar->Position(), 150);
    TRect tab = PlayForm->TabControl1->TabRect(1);
    ClickAt(PlayForm->TabControl1, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    DrainMessages();
    ASSERT_EQ(PlayForm->TreeView1->Selected()->Text(), "Elsewhere");
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(PlayForm->PaintBox1->Top(), 0);
    PlayForm->Hide();
}

TEST_F(PlayerTest, ProgressBarGrowsInPlaceAndShrinksByRepaint) {
    BuildDocument();
    PlayForm->ApplyDocument(holder);
    PlayForm->Show();
    DrainMessages();
    PlayForm->SetProStatus(60);
    DrainMessages();
    TRect panel = PlayForm->ProgressRect();
    TWindowPixels wide(PlayForm->StatusBar1->Handle());
    int inside = panel.left + (panel.right - panel.left) * 50 / 100;
    EXPECT_EQ(wide.At(inside, (panel.top + panel.bottom) / 2), RGB(0, 0, 0x80));
    PlayForm->SetProStatus(10);
    DrainMessages();
    TWindowPixels narrow(PlayForm->StatusBar1->Handle());
    EXPECT_NE(narrow.At(inside, (panel.top + panel.bottom) / 2), RGB(0, 0, 0x80));
    PlayForm->SetProStatus(0);
    PlayForm->Hide();
}

}  // namespace
