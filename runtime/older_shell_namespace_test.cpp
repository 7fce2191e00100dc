#include "runtime/older_shell_namespace.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "classlib/core/scratch_folder_test.h"
#include "classlib/core/strutils.h"
#include "classlib/gui/application.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/menus.h"
#include "classlib/testing/gui_testing.h"
#include "player/play_form.h"
#include "runtime/dir_mon.h"
#include "runtime/older_shell_unit.h"
#include "runtime/runtime_classes.h"
#include "shell/namespace_pieces.h"
#include "shell/namespace_pieces_test_support.h"
#include "classlib/gui/scoped_win32.h"

namespace {

TOwned<TOlderShellNamespace> NewShell(TComponent* owner = nullptr) {
    return TOwned<TOlderShellNamespace>(New<TOlderShellNamespace>(owner));
}

std::set<std::string> Enumerate(TOlderShellNamespace& shell) {
    return EnumeratedNames(shell);
}

std::string Message(const std::function<void()>& work) {
    return RaisedMessage<EShellNamespaceError>(work);
}

bool SameObject(const ITEMIDLIST* a, const ITEMIDLIST* b) {
    return SameShellObject(OlderShellDesktop(), a, b);
}

// A form's window procedure that notes every message and hands it on.
struct TRecorder {
    std::function<void(TMessage&)> next;
    std::vector<UINT>* seen;
    void operator()(TMessage& message) {
        seen->push_back(message.Msg);
        if (message.Msg != WM_DRAWITEM && message.Msg != WM_MEASUREITEM) next(message);
    }
};

class OlderShellFolder : public ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        MakeFile("a.txt");
        MakeFile("b.doc");
        MakeFile("README");
        ASSERT_TRUE(CreateDirectoryA(scratch.Path("sub").c_str(), nullptr));
    }
};

}  // namespace

TEST(OlderShellNamespace, StartsOnMyComputerWithTheMaskStar) {
    auto shell = NewShell();
    EXPECT_EQ(shell->Folder(), "");
    EXPECT_EQ(shell->Filter(), "*");
    EXPECT_FALSE(shell->FileSystemOnly());
    EXPECT_EQ(shell->Version(), "TShellNamespace V2.3");
    EXPECT_EQ(shell->ObjectIDList(), nullptr);
    ITEMIDLIST* drivesList = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drivesList)));
    TTaskMemory<ITEMIDLIST> drives(drivesList);
    EXPECT_TRUE(SameObject(shell->FolderIDList(), drives.get()));
    EXPECT_EQ(shell->FileMonitor(), nullptr);
}

TEST(OlderShellNamespace, FilterIsNeverEmpty) {
    auto shell = NewShell();
    shell->SetFilter("");
    EXPECT_EQ(shell->Filter(), "*");
    shell->SetFilter("*.txt");
    EXPECT_EQ(shell->Filter(), "*.txt");
    shell->SetFilter("a;;b;");
    EXPECT_EQ(shell->Filter(), "a;;b");
}

TEST(OlderShellNamespace, ItsOwnMasks) {
    EXPECT_TRUE(OlderMaskMatches("readme.txt", "*.TXT"));
    EXPECT_FALSE(OlderMaskMatches("readme", "*.*"));
    EXPECT_TRUE(OlderMaskMatches("abc", "a?c"));
    EXPECT_TRUE(OlderMaskMatches("ABC", "a?c"));
    EXPECT_FALSE(OlderMaskMatches("ac", "a?c"));
}

TEST_F(OlderShellFolder, FoldersObjectsAndFilteredEnumeration) {
    auto shell = NewShell();
    shell->SetFolder(scratch.Folder());
    EXPECT_TRUE(SameText(shell->Folder(), scratch.Folder()));
    EXPECT_EQ(Enumerate(*shell), (std::set<std::string>{"a.txt", "b.doc", "README", "sub"}));
    shell->SetFilter("*.*");
    EXPECT_EQ(Enumerate(*shell), (std::set<std::string>{"a.txt", "b.doc", "sub"}));
    shell->SetFilter("*.TXT");
    EXPECT_EQ(Enumerate(*shell), (std::set<std::string>{"a.txt", "sub"}));

    std::string missing = scratch.Folder() + "nowhere";
    EXPECT_EQ(Message([&] { shell->SetFolder(missing); }), "Cannot Find Folder: " + missing);
    EXPECT_TRUE(SameText(shell->Folder(), scratch.Folder()));

    shell->SetObjectName(scratch.Path("b.doc"));
    EXPECT_EQ(shell->ObjectName(), "b.doc");
    EXPECT_FALSE(shell->ObjectIsFolder());
    EXPECT_EQ(Message([&] { shell->SetObjectName("nothing.here"); }),
              "Error! Cannot find Object \"nothing.here\" in Folder \"" + shell->Folder() + "\"");
    EXPECT_EQ(shell->ObjectName(), "b.doc");

    shell->SetObjectName("C:\\");
    EXPECT_TRUE(SameText(shell->ObjectName(), "C:\\"));
    EXPECT_EQ(shell->Folder(), "");
    EXPECT_TRUE(shell->ObjectIsFolder());
}

TEST_F(OlderShellFolder, SettingTheCurrentFolderListAgainStartsTheFolderAfresh) {
    auto shell = NewShell();
    shell->SetFolder(scratch.Folder());
    shell->SetObjectName("b.doc");
    ASSERT_EQ(shell->ObjectName(), "b.doc");
    ASSERT_TRUE(shell->Next());  // an enumeration stands on some object

    shell->SetFolderIDList(shell->FolderIDList());
    EXPECT_EQ(shell->ObjectIDList(), nullptr);
    EXPECT_EQ(shell->ObjectName(), "");
    EXPECT_TRUE(SameObject(shell->AbsoluteObjectIDList(), shell->FolderIDList()));
    EXPECT_TRUE(SameText(shell->Folder(), scratch.Folder()));
    // The enumeration starts again at the first object.
    EXPECT_EQ(Enumerate(*shell), (std::set<std::string>{"a.txt", "b.doc", "README", "sub"}));
}

TEST_F(OlderShellFolder, AFileChangeHandlerWatchesTheFolderOnTheMainThread) {
    auto shell = NewShell();
    shell->SetFolder(scratch.Folder());
    int changes = 0;
    DWORD thread = 0;
    shell->SetOnFileChange(TNotifyEvent([&](TObject* sender) {
        EXPECT_EQ(sender, shell.get());
        thread = GetCurrentThreadId();
        ++changes;
    }));
    ASSERT_NE(shell->FileMonitor(), nullptr);
    EXPECT_TRUE(shell->FileMonitor()->Running());
    // Files are made until the worker has armed its notification and seen one.
    int made = 0;
    EXPECT_TRUE(PumpUntil([&] {
        if (changes == 0) MakeFile("new" + std::to_string(made++) + ".txt");
        return changes > 0;
    }, 10000));
    EXPECT_EQ(thread, GetCurrentThreadId());

    shell->SetOnFileChange(nullptr);
    EXPECT_EQ(shell->FileMonitor(), nullptr);
    EXPECT_FALSE(static_cast<bool>(shell->OnFileChange));
}

TEST(OlderShellNamespace, TheHookForwardsEveryMessageAndGoesWithTheComponent) {
    std::vector<UINT> seen;  // outlives the form, whose last messages it notes
    auto form = MakeOwned<TForm>(nullptr);
    form->WindowProc = TRecorder{form->WindowProc, &seen};
    TOlderShellNamespace* shell = New<TOlderShellNamespace>(form.get());
    shell->Loaded();
    ASSERT_TRUE(shell->HooksOwner());
    EXPECT_EQ(form->WindowProc.target<TRecorder>(), nullptr);

    // Without a context menu the menu messages pass unchanged (the owner-draw
    // ones straight into the procedure: their records stay out of the form).
    form->HandleNeeded();
    for (UINT message : {UINT(WM_DRAWITEM), UINT(WM_MEASUREITEM)}) {
        seen.clear();
        TMessage m{message, 0, 0, 0};
        form->WindowProc(m);
        EXPECT_EQ(seen, std::vector<UINT>{message});
    }
    TMenuHandle popup(CreatePopupMenu());
    for (UINT message : {UINT(WM_INITMENUPOPUP), UINT(WM_USER + 7)}) {
        seen.clear();
        SendMessageA(form->Handle(), message, reinterpret_cast<WPARAM>(popup.Get()), 0);
        EXPECT_EQ(seen, std::vector<UINT>{message});
    }
    popup.Reset();
    SendMessageA(form->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("through the hook"));
    EXPECT_EQ(form->Caption(), "through the hook");

    shell->Free();
    EXPECT_NE(form->WindowProc.target<TRecorder>(), nullptr);
    seen.clear();
    SendMessageA(form->Handle(), WM_USER + 8, 0, 0);
    EXPECT_EQ(seen, std::vector<UINT>{WM_USER + 8});
}

TEST(OlderShellNamespace, TheRuntimesPlayerCarriesItHooked) {
    RegisterRuntimeClasses();
    auto player = MakeOwned<TPlayForm>(nullptr);
    auto* shell = dynamic_cast<TOlderShellNamespace*>(player->FindComponent("ShellNamespace1"));
    ASSERT_NE(shell, nullptr);
    EXPECT_EQ(shell->Filter(), "*");
    EXPECT_FALSE(shell->FileSystemOnly());
    EXPECT_EQ(shell->Folder(), "");
    EXPECT_TRUE(shell->HooksOwner());
    EXPECT_EQ(shell->FileMonitor(), nullptr);
    // Destroying the player removes the hook before the component goes.
}

TEST(OlderShellNamespace, WithoutTheShellCreationRaisesAndLeavesTheOwnerClean) {
    ExpectCreationWithoutTheUnitRaises<TOlderShellNamespace>(StopOlderShellUnit, StartOlderShellUnit);
}

TEST(OlderShellNamespace, TheUnitKeepsItsMenuItemsFromStartToEnd) {
    ExpectUnitMenuItems(OlderShellMenuItem, kOlderShellMenuItemCount, StopOlderShellUnit, StartOlderShellUnit);
}
