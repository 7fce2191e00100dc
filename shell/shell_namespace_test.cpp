#include "shell/shell_namespace.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "classlib/gui/application.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/menus.h"
#include "shell/namespace_pieces_test_support.h"
#include "shell/shell_helpers.h"
#include "shell/shell_namespace_unit.h"
#include "shell/shell_test_support.h"
#include "unicode/wide_sysutils.h"

namespace {

TOwned<TShellNamespace> NewShell(TComponent* owner = nullptr) {
    return TOwned<TShellNamespace>(New<TShellNamespace>(owner));
}

// The names of the objects an enumeration passes, from its start.
std::set<std::wstring> Enumerate(TShellNamespace& shell) {
    return EnumeratedNames(shell);
}

std::string Message(const std::function<void()>& work) {
    return RaisedMessage<EShellNamespaceError>(work);
}

// The drive C: as My Computer shows it: its object name and display name.
struct DriveC {
    std::wstring displayName;
    int position = -1;  // among My Computer's objects
};
DriveC FindDriveC() {
    auto shell = NewShell();
    DriveC found;
    for (int i = 0; shell->Next(); ++i) {
        if (WideSameText(shell->ObjectName(), L"C:\\")) {
            found.displayName = shell->ObjectDisplayName();
            found.position = i;
        }
    }
    return found;
}

}  // namespace

TEST(ShellNamespace, StartsOnMyComputerWithoutObject) {
    auto shell = NewShell();
    EXPECT_EQ(shell->Folder(), L"");
    EXPECT_EQ(shell->SpecialFolder(), SF_DRIVES);
    EXPECT_EQ(shell->ObjectIDList(), nullptr);
    EXPECT_EQ(shell->ObjectName(), L"");
    EXPECT_EQ(shell->Filter(), L"*");
    EXPECT_FALSE(shell->FileSystemOnly());
    EXPECT_TRUE(shell->ShowErrorMessages());
    EXPECT_EQ(shell->Version(), "TShellNamespace V5.4");
    shell->SetVersion("other");
    EXPECT_EQ(shell->Version(), "TShellNamespace V5.4");
    EXPECT_TRUE(SameShellObject(shell->FolderIDList(), CsidlList(CSIDL_DRIVES).get()));
}

TEST(ShellNamespace, FilterTextsRoundTrip) {
    auto shell = NewShell();
    shell->SetFilter(L"*.txt;*.doc");
    EXPECT_EQ(shell->Filter(), L"*.txt;*.doc");
    shell->SetFilter(L"*.txt;");
    EXPECT_EQ(shell->Filter(), L"*.txt");
    shell->SetFilter(L"a;;b");
    EXPECT_EQ(shell->Filter(), L"a;;b");
    shell->SetFilter(L"*");
    EXPECT_EQ(shell->Filter(), L"*");
    shell->SetFilter(L"");
    EXPECT_EQ(shell->Filter(), L"*");
}

TEST(ShellNamespace, SpecialFoldersReadBackByTheirOwnOrdinal) {
    auto shell = NewShell();
    shell->SetSpecialFolder(SF_DESKTOP);
    EXPECT_EQ(shell->SpecialFolder(), SF_DESKTOP);
    EXPECT_EQ(ItemIdListSize(shell->FolderIDList()), 2u);
    // SF_FILESYSTEMFOLDER names My Computer too, which reads as SF_DRIVES.
    shell->SetSpecialFolder(SF_FILESYSTEMFOLDER);
    EXPECT_EQ(shell->SpecialFolder(), SF_DRIVES);
    for (TQarShellFolder folder : {SF_BITBUCKET, SF_CONTROLS, SF_FONTS, SF_PERSONAL}) {
        shell->SetSpecialFolder(folder);
        EXPECT_EQ(shell->SpecialFolder(), folder);
    }
    EXPECT_EQ(SpecialFolderOfList(nullptr), SF_FILESYSTEMFOLDER);
}

class ShellNamespaceFolder : public ShellFolderTest {};

TEST_F(ShellNamespaceFolder, FolderTextsSelectFoldersAndKeepTheOldOneOnFailure) {
    auto shell = NewShell();
    std::wstring folder = FolderW();
    shell->SetFolder(folder.substr(0, folder.size() - 1));  // the backslash is added
    EXPECT_TRUE(WideSameText(shell->Folder(), folder));
    EXPECT_EQ(shell->SpecialFolder(), SF_FILESYSTEMFOLDER);

    // The same folder in other letters changes nothing, not even the object.
    shell->SetObjectName(L"a.txt");
    shell->SetFolder(WideUpperCase(folder));
    EXPECT_EQ(shell->ObjectName(), L"a.txt");

    std::wstring missing = folder + L"no such folder";
    EXPECT_EQ(Message([&] { shell->SetFolder(missing); }),
              WideToAnsi(SystemErrorText(ERROR_PATH_NOT_FOUND) + L"\r\n" + missing));
    EXPECT_TRUE(WideSameText(shell->Folder(), folder));
    EXPECT_EQ(shell->ObjectName(), L"a.txt");

    // An empty text always goes back to My Computer.
    shell->SetFolder(L"");
    EXPECT_EQ(shell->SpecialFolder(), SF_DRIVES);
    EXPECT_EQ(shell->ObjectIDList(), nullptr);
}

TEST_F(ShellNamespaceFolder, AFileIsNoFolderAndLeavesTheComponentAsItWas) {
    auto shell = NewShell();
    shell->SetFolder(FolderW());
    std::wstring file = FolderW() + L"a.txt";
    std::string message = Message([&] { shell->SetFolder(file); });
    EXPECT_EQ(message.rfind("ShellNamespace.SetFolderIDList: Desktop.BindToObject: Could not get IShellFolder "
                            "interface. (", 0),
              0u)
        << message;
    EXPECT_TRUE(WideSameText(shell->Folder(), FolderW()));
    // The folder still works.
    EXPECT_EQ(Enumerate(*shell).size(), 4u);
}

TEST_F(ShellNamespaceFolder, PathsSplitIntoFolderAndObject) {
    auto shell = NewShell();
    shell->SetObjectName(FolderW() + L"sub\\");
    EXPECT_TRUE(WideSameText(shell->Folder(), FolderW()));
    EXPECT_EQ(shell->ObjectName(), L"sub");
    EXPECT_TRUE(shell->ObjectIsFolder());

    shell->SetObjectName(FolderW() + L"a.txt");
    EXPECT_EQ(shell->ObjectName(), L"a.txt");
    EXPECT_FALSE(shell->ObjectIsFolder());
    EXPECT_TRUE(SameShellObject(shell->AbsoluteObjectIDList(), PathToItemIdList(nullptr, FolderW() + L"a.txt").get()));

    shell->SetObjectName(L"");
    EXPECT_EQ(shell->ObjectIDList(), nullptr);
}

TEST_F(ShellNamespaceFolder, DriveRootsBecomeObjectsOfMyComputer) {
    auto shell = NewShell();
    shell->SetFolder(FolderW());
    shell->SetObjectName(L"C:\\");
    EXPECT_EQ(shell->SpecialFolder(), SF_DRIVES);
    EXPECT_TRUE(WideSameText(shell->ObjectName(), L"C:\\"));
    EXPECT_TRUE(shell->ObjectIsFolder());

    // The parent of the desktop is the desktop, with no object.
    shell->SetSpecialFolder(SF_DESKTOP);
    shell->SelectFolderInParent();
    EXPECT_EQ(shell->SpecialFolder(), SF_DESKTOP);
    EXPECT_EQ(shell->ObjectIDList(), nullptr);
}

TEST_F(ShellNamespaceFolder, EnumerationFiltersFilesButNeverFolders) {
    auto shell = NewShell();
    shell->SetFolder(FolderW());
    EXPECT_EQ(Enumerate(*shell), (std::set<std::wstring>{L"a.txt", L"b.doc", L"README", L"sub"}));
    shell->SetFilter(L"*.*");
    EXPECT_EQ(Enumerate(*shell), (std::set<std::wstring>{L"a.txt", L"b.doc", L"sub"}));
    shell->SetFilter(L"*.txt;readme");
    EXPECT_EQ(Enumerate(*shell), (std::set<std::wstring>{L"a.txt", L"README", L"sub"}));
    // File-system objects pass the file-system rule.
    shell->SetFileSystemOnly(true);
    EXPECT_EQ(Enumerate(*shell), (std::set<std::wstring>{L"a.txt", L"README", L"sub"}));
}

TEST_F(ShellNamespaceFolder, AMissingObjectRaisesAndKeepsTheOldOne) {
    auto shell = NewShell();
    shell->SetFolder(FolderW());
    shell->SetObjectName(L"a.txt");
    EXPECT_EQ(Message([&] { shell->SetObjectName(L"nothing.here"); }),
              WideToAnsi(L"Error! Cannot find Object \"nothing.here\" in Folder \"" + shell->Folder() + L"\""));
    EXPECT_EQ(shell->ObjectName(), L"a.txt");
    // The failed search left no enumeration behind.
    EXPECT_EQ(Enumerate(*shell).size(), 4u);
}

TEST(ShellNamespace, DisplayNamesAreFoundFromTheFirstObjectWhereverAnEnumerationStands) {
    DriveC drive = FindDriveC();
    ASSERT_GE(drive.position, 0) << "My Computer shows no C:";
    ASSERT_FALSE(drive.displayName.empty());
    auto shell = NewShell();
    // An enumeration already past C:.
    for (int i = 0; i <= drive.position; ++i) ASSERT_TRUE(shell->Next());
    shell->SetObjectName(drive.displayName);
    EXPECT_TRUE(WideSameText(shell->ObjectName(), L"C:\\"));
    EXPECT_EQ(shell->ObjectDisplayName(), drive.displayName);
}

TEST(ShellNamespace, OwnerWindowFollowsErrorMessagesAndTheLoadedOwner) {
    auto form = MakeOwned<TForm>(nullptr);
    TShellNamespace* shell = New<TShellNamespace>(form.get());
    EXPECT_EQ(shell->OwnerWindow(), Application->Handle());
    shell->Loaded();
    EXPECT_EQ(shell->OwnerWindow(), form->Handle());
    shell->SetShowErrorMessages(false);
    EXPECT_EQ(shell->OwnerWindow(), nullptr);
}

TEST(ShellNamespace, FileSystemOnlyKeepsMyComputerAndDropsVirtualObjects) {
    // How many objects of the folder are of the file system, and how many
    // are virtual ones (such as the Control Panel My Computer shows).
    struct Kinds {
        int fileSystem = 0, isVirtual = 0, drives = 0;
    };
    auto kinds = [](TShellNamespace& shell) {
        Kinds found;
        while (shell.Next()) {
            if (shell.ObjectSpecialFolder() == SF_DRIVES) ++found.drives;
            else if (shell.ObjectAttributes(SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR)) ++found.fileSystem;
            else ++found.isVirtual;
        }
        return found;
    };
    auto shell = NewShell();
    Kinds all = kinds(*shell);
    ASSERT_GT(all.isVirtual, 0) << "My Computer shows only file-system objects";
    shell->SetFileSystemOnly(true);
    Kinds fileSystem = kinds(*shell);
    EXPECT_EQ(fileSystem.isVirtual, 0);
    EXPECT_EQ(fileSystem.fileSystem, all.fileSystem);

    // On the desktop My Computer itself stays.
    shell->SetSpecialFolder(SF_DESKTOP);
    EXPECT_EQ(kinds(*shell).drives, 1);
}

TEST(ShellNamespace, WithoutTheShellCreationRaisesAndLeavesTheOwnerClean) {
    ExpectCreationWithoutTheUnitRaises<TShellNamespace>(StopShellNamespaceUnit, StartShellNamespaceUnit);
}

TEST(ShellNamespace, TheUnitKeepsItsMenuItemsFromStartToEnd) {
    ExpectUnitMenuItems(ShellMenuItem, kShellMenuItemCount, StopShellNamespaceUnit, StartShellNamespaceUnit);
}
