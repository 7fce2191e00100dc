// The road of one request, driven through the programs' real windows: the
// editor arranges a menu, saves it, builds the menu executable and its
// autorun file; the built executable then shows the menu.
#include <gtest/gtest.h>

#include "classlib/testing/solid_bitmap_file.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "classlib/core/fileutils.h"
#include "classlib/testing/caption_ink.h"
#include "classlib/testing/gui_testing.h"
#include "classlib/core/paths.h"
#include "editor/end_to_end/remote_windows.h"

namespace {

std::string Bin() {
    return IncludeTrailingBackslash(ExtractFilePath(ParamStr(0)));
}

std::string ReadAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The machine a program file is built for (its PE header's first field).
uint16_t PeMachine(const std::string& image) {
    uint32_t pe = 0;
    uint16_t machine = 0;
    if (image.size() < 0x40) return 0;
    memcpy(&pe, image.data() + 0x3C, 4);
    if (image.size() < pe + 6) return 0;
    memcpy(&machine, image.data() + pe + 4, 2);
    return machine;
}

// Saves the picture of the window with its frame; returns it for checks of
// what it shows.
TWindowPixels Screenshot(HWND window, const std::string& name) {
    TWindowPixels pixels = SettledPixels(window, true);
    pixels.SavePng(ScreenshotFolder() + name);
    return pixels;
}

// The font the programs' windows name in their layouts.
HFONT FormsFont() {
    static HFONT font = [] {
        LOGFONTA logFont{};
        logFont.lfHeight = -11;
        logFont.lfCharSet = DEFAULT_CHARSET;
        strcpy(logFont.lfFaceName, "MS Sans Serif");
        return CreateFontIndirectA(&logFont);
    }();
    return font;
}

// A control of the program shows its caption whole in the picture of its
// top-level window (taken with the frame).
testing::AssertionResult ShowsWholeCaptionOf(const TWindowPixels& picture, HWND window, HWND control,
                                             const std::string& caption) {
    if (!control) return testing::AssertionFailure() << "no control shows \"" << caption << "\"";
    RECT outer, inner;
    GetWindowRect(window, &outer);
    GetWindowRect(control, &inner);
    OffsetRect(&inner, -outer.left, -outer.top);
    return ShowsWholeText(picture, TRect(inner), FormsFont(), GetSysColor(COLOR_WINDOWTEXT), caption);
}

// Whether the player's page shows red at the left, where the entry's
// picture lies below its caption.
bool PageShowsRed(HWND player) {
    TWindowPixels window = SettledPixels(player, false);
    HWND page = ChildWindows(player, "TScrollBox").at(0);
    for (int y = 20; y < 150; ++y) {
        POINT p{20, y};
        MapWindowPoints(page, player, &p, 1);
        if (window.At(p.x, p.y) == RGB(255, 0, 0)) return true;
    }
    return false;
}

// Waits until the window is in front and one of its edit controls has the
// keyboard focus.
bool ReadyForTyping(HWND window) {
    return PumpUntil([window] {
        HWND focus = FocusOf(window);
        DWORD_PTR code = 0;
        return GetForegroundWindow() == window && focus && IsChild(window, focus) &&
               SendMessageTimeoutA(focus, WM_GETDLGCODE, 0, 0, SMTO_ABORTIFHUNG, 2000, &code) &&
               (code & DLGC_HASSETSEL);
    });
}

// Presses a key in the program in front and waits until the focus has
// moved on from where it was.
bool MoveFocusWith(HWND window, WORD key) {
    HWND from = FocusOf(window);
    SendKeyPress(key);
    return PumpUntil([&] { return FocusOf(window) != from; });
}

// Answers the message box the program shows with Enter; returns its text.
std::string AnswerBox(DWORD pid, WORD key = VK_RETURN) {
    HWND box = WaitForWindow(pid, "", "#32770", 10000);
    if (!box) return "(no message box)";
    std::string text = MessageBoxText(box);
    SetForegroundWindow(box);
    EXPECT_TRUE(PumpUntil([box] { return GetForegroundWindow() == box && FocusOf(box); }));
    SendKeyPress(key);
    EXPECT_TRUE(PumpUntil([box] { return !IsWindow(box) || !IsWindowVisible(box); })) << "the box closes";
    return text;
}

// The selected item of a tree view of another program.
HTREEITEM SelectedItem(HWND tree) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

// Clicks a tab and waits until its page is up.
void ClickTab(HWND pages, int index) {
    RECT tab = TabRect(pages, index);
    ClickWindow(pages, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    // The page changes while the click is handled: wait for it to end.
    EXPECT_TRUE(PumpUntil([&] { return SendMessageA(pages, TCM_GETCURSEL, 0, 0) == index && Answers(pages); }));
}

// Clicks an edit control and waits until it has the focus.
void ClickIntoEdit(HWND edit) {
    ClickCentre(edit);
    EXPECT_TRUE(PumpUntil([edit] { return FocusOf(edit) == edit; }));
}

class EndToEnd : public testing::Test {
protected:
    void SetUp() override {
        // Test output stays in the folder the test runs in, apart from the shipped files.
        work = IncludeTrailingBackslash(GetCurrentDir()) + "e2e\\";
        for (const char* folder : {"", "pics", "docs", "cd", "side"}) CreateDir(work + folder);
        for (const char* old : {"cd\\menu.exe", "cd\\Pixwell.dll", "cd\\autorun.inf", "menu.qbx", "cd\\appended.exe",
                                "cd\\damaged.exe", "side\\menu.exe", "side\\Pixwell.dll"})
            DeleteFile(work + old);
        WriteSolidBmp(work + "pics\\red.bmp", 40, 30, 255, 0, 0);
        std::ofstream(work + "docs\\readme.txt") << "Read me";
    }
    std::string work;
};

TEST_F(EndToEnd, ArrangeSaveBuildAndRunAMenu) {
    TProgram editor(Bin() + "Quillory.exe", "", Bin());
    HWND main = WaitForWindow(editor.ProcessId(), "Vortel Quillory 1.1 - [noname.qbx]");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(Answers(main));

    // A category below the root, named in place.
    std::vector<HWND> trees = ChildWindows(main, "TTreeView");
    ASSERT_EQ(trees.size(), 1u);
    HWND tree = trees[0];
    HTREEITEM root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    RECT rootRect = TreeItemRect(tree, root);
    auto selectRoot = [&] {
        ClickWindow(tree, rootRect.left + 5, (rootRect.top + rootRect.bottom) / 2);
        EXPECT_TRUE(PumpUntil([&] { return SelectedItem(tree) == root; }));
    };
    selectRoot();
    auto newCategory = [&](const std::string& name, int count) {
        ClickCentre(ChildWithText(main, "New &category"));
        ASSERT_TRUE(PumpUntil([&] { return SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0) != 0; }))
            << "the label is edited in place";
        HWND label = reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
        ASSERT_TRUE(PumpUntil([&] { return FocusOf(main) == label; }));
        EXPECT_TRUE(TypeInto(main, name));
        SendKeyPress(VK_RETURN);
        EXPECT_TRUE(PumpUntil([&] { return TreeCount(tree) == count; }));
    };
    newCategory("Software", 2);

    // An entry in it, through the entry dialog.
    ClickCentre(ChildWithText(main, "&New entry"));
    HWND dialog = WaitForWindow(editor.ProcessId(), "New entry");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ReadyForTyping(dialog));
    EXPECT_TRUE(TypeInto(dialog, "Editor"));
    EXPECT_TRUE(MoveFocusWith(dialog, VK_TAB));
    EXPECT_TRUE(TypeInto(dialog, "A small text editor."));
    EXPECT_TRUE(MoveFocusWith(dialog, VK_TAB));
    EXPECT_TRUE(TypeInto(dialog, work + "pics\\red.bmp"));
    EXPECT_TRUE(MoveFocusWith(dialog, VK_TAB));
    EXPECT_TRUE(TypeInto(dialog, work + "docs\\readme.txt"));
    TWindowPixels shot = Screenshot(dialog, "e2e_entry_dialog.png");
    EXPECT_TRUE(ShowsWholeCaptionOf(shot, dialog, ChildWithText(dialog, "OK"), "OK")) << "OK is offered";
    SendKeyPress(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return TreeCount(tree) == 3; }));

    // A second category with an entry of its own.
    selectRoot();
    newCategory("Docs", 4);
    ClickCentre(ChildWithText(main, "&New entry"));
    dialog = WaitForWindow(editor.ProcessId(), "New entry");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ReadyForTyping(dialog));
    EXPECT_TRUE(TypeInto(dialog, "Manual"));
    SendKeyPress(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return TreeCount(tree) == 5; }));
    shot = Screenshot(main, "e2e_editor_arrangement.png");
    for (const char* caption : {"&New entry", "New &category", "Preview..."})
        EXPECT_TRUE(ShowsWholeCaptionOf(shot, main, ChildWithText(main, caption), caption));

    // The options page: the window title of the menu.
    HWND pages = ChildWindows(main, "TPageControl").at(0);
    ClickTab(pages, 1);
    HWND caption = ChildWithText(main, "Quillory");
    ASSERT_NE(caption, nullptr);
    ClickIntoEdit(caption);
    SendKeyPress(VK_END);
    for (int i = 0; i < 8; ++i) SendKeyPress(VK_BACK);
    EXPECT_TRUE(PumpUntil([&] { return WindowText(caption).empty(); }));
    EXPECT_TRUE(TypeInto(main, "My CD"));
    shot = Screenshot(main, "e2e_editor_options.png");
    for (const char* button : {"&Font of caption", "Font of &main text"})
        EXPECT_TRUE(ShowsWholeCaptionOf(shot, main, ChildWithText(main, button), button));

    // Save as: the real file dialog.
    ClickWindow(main, 255, 13);
    HWND save = WaitForWindow(editor.ProcessId(), "", "#32770");
    ASSERT_NE(save, nullptr);
    ASSERT_TRUE(ReadyForTyping(save));
    EXPECT_TRUE(TypeInto(save, work + "menu.qbx"));
    SendKeyPress(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return FileExists(work + "menu.qbx"); }, 5000));
    PumpUntil([&] { return WindowText(main) == "Vortel Quillory 1.1 - [menu.qbx]"; });
    EXPECT_EQ(WindowText(main), "Vortel Quillory 1.1 - [menu.qbx]");

    // The distribution page: build the executable and the autorun file.
    ClickTab(pages, 2);
    HWND exeName = nullptr;
    for (HWND edit : ChildWindows(main, "TFilenameEdit"))
        if (IsWindowVisible(edit)) exeName = edit;  // the only edit box of the page
    ASSERT_NE(exeName, nullptr);
    ClickIntoEdit(exeName);
    EXPECT_TRUE(TypeInto(main, work + "cd\\menu.exe"));
    HWND panel = GetParent(exeName);
    ClickWindow(panel, 32, 88);  // the image button
    EXPECT_EQ(AnswerBox(editor.ProcessId()), "The exe file could be successfully created.");
    ASSERT_TRUE(PumpUntil([&] { return FileExists(work + "cd\\Pixwell.dll"); }, 5000));
    ClickCentre(ChildWithText(main, "Create autorun.inf...."));
    EXPECT_EQ(AnswerBox(editor.ProcessId()), "File successfully created!");
    shot = Screenshot(main, "e2e_editor_distribute.png");
    for (const char* button : {"&Execute EXE file...", "Create autorun.inf...."})
        EXPECT_TRUE(ShowsWholeCaptionOf(shot, main, ChildWithText(main, button), button));

    EXPECT_EQ(ReadAll(work + "cd\\autorun.inf"), "[autorun]\r\nopen=menu.exe\r\n");
    std::string templateBytes = ReadAll(Bin() + "Playstub.dat");
    std::string built = ReadAll(work + "cd\\menu.exe");
    ASSERT_GT(built.size(), templateBytes.size());
    // The editor builds menus for the machine it runs on, from its own template.
    EXPECT_EQ(PeMachine(built), PeMachine(ReadAll(Bin() + "Quillory.exe")));
    EXPECT_EQ(PeMachine(built), sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386);
    size_t marker = built.find("IQUT");
    ASSERT_NE(marker, std::string::npos);
    int32_t offset;
    memcpy(&offset, built.data() + marker - 4, 4);
    EXPECT_EQ(offset, static_cast<int32_t>(templateBytes.size()));
    EXPECT_EQ(ReadAll(work + "cd\\Pixwell.dll"), ReadAll(Bin() + "Pixwell.dll"));

    // Closing asks first.
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(AnswerBox(editor.ProcessId()), "Hereby you quit the program! All data not saved will be lost!");
    EXPECT_TRUE(editor.WaitForExit(15000));

    // The built menu, started in its own folder as the editor starts it.
    auto checkMenu = [&](const std::string& exe, const std::string& shot) {
        TProgram menu(exe, "", work + "cd");
        HWND player = WaitForWindow(menu.ProcessId(), "My CD", "TPlayForm");
        ASSERT_NE(player, nullptr);
        ASSERT_TRUE(Answers(player));
        HWND tabs = ChildWindows(player, "TTabControl").at(0);
        PumpUntil([&] { return TabCount(tabs) == 2; });
        ASSERT_EQ(TabCount(tabs), 2);
        EXPECT_EQ(TabText(tabs, 0), "Software");
        EXPECT_EQ(TabText(tabs, 1), "Docs");
        HWND playerTree = ChildWindows(player, "TTreeView").at(0);
        EXPECT_EQ(TreeCount(playerTree), 1);
        // Colours and the picture as the window shows them.
        TWindowPixels window = SettledPixels(player, false);
        auto at = [&](HWND child, int x, int y) {
            POINT p{x, y};
            MapWindowPoints(child, player, &p, 1);
            return window.At(p.x, p.y);
        };
        RECT r;
        GetClientRect(playerTree, &r);
        EXPECT_EQ(at(playerTree, r.right - 10, r.bottom - 10), RGB(255, 255, 255)) << "the tree's colour";
        HWND buttonPanel = nullptr;
        for (HWND panel : ChildWindows(player, "TPanel"))
            if (!ChildWindows(panel, "TBitBtn").empty() && ChildWindows(panel, "TBitBtn").size() >= 2) buttonPanel = panel;
        ASSERT_NE(buttonPanel, nullptr);
        EXPECT_EQ(at(buttonPanel, 300, 4), RGB(0xEC, 0xE9, 0xD8)) << "the window's colour";
        EXPECT_TRUE(PageShowsRed(player)) << "the entry's picture";
        TWindowPixels menuShot = Screenshot(player, shot);
        for (const char* button : {"Install/execute", "Copy", "Quit"})
            EXPECT_TRUE(ShowsWholeCaptionOf(menuShot, player, ChildWithText(player, button), button));
        ClickWindow(playerTree, r.right - 10, r.bottom - 10);
        SendKeyPress(VK_ESCAPE);
        EXPECT_TRUE(menu.WaitForExit(15000));
    };
    checkMenu(work + "cd\\menu.exe", "e2e_menu.png");

    // An offset that points into the program itself is refused, not read.
    std::string damaged = built;
    int32_t inside = 0x400;
    memcpy(damaged.data() + marker - 4, &inside, 4);
    std::ofstream(work + "cd\\damaged.exe", std::ios::binary) << damaged;
    {
        TProgram menu(work + "cd\\damaged.exe", "", work + "cd");
        EXPECT_EQ(AnswerBox(menu.ProcessId()), "The Quillory attached to this exe file is damaged!");
        EXPECT_TRUE(menu.WaitForExit(15000));
    }

    // Bytes appended after the document change nothing.
    std::ofstream(work + "cd\\appended.exe", std::ios::binary) << built << "SIGNATURE BLOCK \x01\x02\x03";
    checkMenu(work + "cd\\appended.exe", "e2e_menu_appended.png");
}

// Every program of our layer asks, whenever it is idle, which window lies
// under the mouse pointer; windows of the other programs must not be taken
// for its own.
TEST_F(EndToEnd, ProgramsLiveSideBySideWithTheMouseOverEachOther) {
    TProgram editor(Bin() + "Quillory.exe", "", Bin());
    HWND main = WaitForWindow(editor.ProcessId(), "Vortel Quillory 1.1 - [noname.qbx]");
    ASSERT_NE(main, nullptr);
    SetWindowPos(main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Build a menu and start it from the editor: it opens while the mouse
    // still rests on the editor's button.
    HWND pages = ChildWindows(main, "TPageControl").at(0);
    ClickTab(pages, 2);
    HWND exeName = nullptr;
    for (HWND edit : ChildWindows(main, "TFilenameEdit"))
        if (IsWindowVisible(edit)) exeName = edit;
    ASSERT_NE(exeName, nullptr);
    ClickIntoEdit(exeName);
    EXPECT_TRUE(TypeInto(main, work + "side\\menu.exe"));
    ClickWindow(GetParent(exeName), 32, 88);  // the image button
    ASSERT_EQ(AnswerBox(editor.ProcessId()), "The exe file could be successfully created.");
    ClickCentre(ChildWithText(main, "&Execute EXE file..."));
    HWND player = WaitForWindow(0, "Quillory", "TPlayForm");
    ASSERT_NE(player, nullptr) << "the menu started from the editor";
    TProgram menu(player);
    ASSERT_NE(menu.ProcessId(), editor.ProcessId());
    EXPECT_TRUE(Answers(main) && Answers(player));
    SetWindowPos(player, nullptr, 320, 240, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // A second editor, started with the mouse on the first.
    ASSERT_TRUE(RestMouseOn(main));
    TProgram second(Bin() + "Quillory.exe", "", Bin());
    HWND secondMain = WaitForWindow(second.ProcessId(), "Vortel Quillory 1.1");
    ASSERT_NE(secondMain, nullptr);
    SetWindowPos(secondMain, nullptr, 640, 480, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    struct Shown {
        const char* name;
        HWND window;
        TProgram& program;
    };
    std::vector<Shown> all{{"editor", main, editor}, {"menu", player, menu}, {"second editor", secondMain, second}};
    for (const Shown& under : all) {
        ASSERT_TRUE(RestMouseOn(under.window)) << under.name;
        for (const Shown& idle : all) {
            EXPECT_TRUE(idle.program.Running() && Answers(idle.window))
                << idle.name << " with the mouse over the " << under.name;
        }
    }
    // The first editor still holds its document.
    EXPECT_EQ(WindowText(main), "Vortel Quillory 1.1 - [noname.qbx]");
}

// The document named at the start lies elsewhere than the folder the editor
// starts in, which holds a picture of the same relative name: the preview
// shows the one beside the document, as the built menu will.
TEST_F(EndToEnd, ThePreviewShowsThePicturesBesideTheDocumentNamedAtTheStart) {
    for (const char* folder : {"sample", "sample\\pictures", "start", "start\\pictures"}) CreateDir(work + folder);
    // The sample names its picture "pictures\editor.bmp".
    const std::string samples = Bin() + "..\\..\\..\\samples\\";
    ASSERT_TRUE(CopyFileA((samples + "Sample.qbx").c_str(), (work + "sample\\Sample.qbx").c_str(), FALSE));
    WriteSolidBmp(work + "sample\\pictures\\editor.bmp", 40, 30, 255, 0, 0);
    WriteSolidBmp(work + "start\\pictures\\editor.bmp", 40, 30, 0, 0, 255);

    TProgram editor(Bin() + "Quillory.exe", "\"" + work + "sample\\Sample.qbx\"", work + "start");
    HWND main = WaitForWindow(editor.ProcessId(), "Vortel Quillory 1.1 - [Sample.qbx]");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(Answers(main));
    ClickCentre(ChildWithText(main, "Preview..."));
    HWND player = WaitForWindow(editor.ProcessId(), "", "TPlayForm");
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(Answers(player));
    Screenshot(player, "e2e_preview_started_elsewhere.png");
    EXPECT_TRUE(PageShowsRed(player)) << "the picture beside the document";
    SendKeyPress(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([player] { return !IsWindowVisible(player); }));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(AnswerBox(editor.ProcessId()), "Hereby you quit the program! All data not saved will be lost!");
    EXPECT_TRUE(editor.WaitForExit(15000));
}

TEST_F(EndToEnd, ARuntimeWithoutDocumentSaysSoAndEnds) {
    TProgram runtime(Bin() + "..\\runtime\\Playstub.exe", "", Bin());
    EXPECT_EQ(AnswerBox(runtime.ProcessId()), "There is no Quillory attatched to this exe file!");
    EXPECT_TRUE(runtime.WaitForExit(15000));
}

}  // namespace
