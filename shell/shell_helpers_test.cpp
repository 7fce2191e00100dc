#include "shell/shell_helpers.h"

#include <gtest/gtest.h>

#include "shell/com_ptr.h"
#include "shell/shell_test_support.h"
#include "unicode/wide_sysutils.h"

#include <shlwapi.h>

namespace {

std::wstring SystemText(DWORD code) {
    char buffer[1024] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer, 1023,
                   nullptr);
    return WideFromSystemAnsi(buffer);
}

// Saves a shell link to target at linkPath.
bool MakeShellLink(const std::wstring& linkPath, const std::wstring& target) {
    TComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())))
        return false;
    link->SetPath(target.c_str());
    TComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid()))) return false;
    return SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

}  // namespace

TEST(ShellHelpers, PathsBecomeListsEmptyAndDriveFormsIncluded) {
    TItemIdList drives = PathToItemIdList(nullptr, std::wstring());
    EXPECT_TRUE(SameShellObject(drives.get(), CsidlList(CSIDL_DRIVES).get()));

    const std::wstring driveOnly{L'C', L':'};
    TItemIdList bare = PathToItemIdList(nullptr, driveOnly);
    TItemIdList root = PathToItemIdList(nullptr, L"C:\\");
    ASSERT_TRUE(root);
    EXPECT_TRUE(SameShellObject(bare.get(), root.get()));
    // Relative to My Computer the drive is one item.
    TComPtr<IShellFolder> computer;
    ASSERT_TRUE(SUCCEEDED(ShellDesktopFolder()->BindToObject(drives.get(), nullptr, IID_IShellFolder,
                                                              computer.PutVoid())));
    TItemIdList relative = PathToItemIdList(computer.Get(), driveOnly);
    ASSERT_TRUE(relative);
    EXPECT_EQ(ItemIdListCount(relative.get()), 1);

    SetLastError(0);
    EXPECT_FALSE(PathToItemIdList(nullptr, L"C:\\no such folder here\\nor this"));
    EXPECT_LT(static_cast<HRESULT>(GetLastError()), 0);
}

TEST(ShellHelpers, StarDotStarNeedsADotOtherMasksGoToTheShell) {
    EXPECT_FALSE(MatchesFileMask(L"README", L"*.*"));
    EXPECT_TRUE(MatchesFileMask(L"a.b", L"*.*"));
    EXPECT_TRUE(MatchesFileMask(L".hidden", L"*.*"));
    // Any other spelling is the shell's to decide.
    for (const wchar_t* mask : {L"*.* ", L"*.txt", L"a?c", L"*"}) {
        for (const wchar_t* name : {L"README", L"a.TXT", L"abc"}) {
            EXPECT_EQ(MatchesFileMask(name, mask), PathMatchSpecW(name, mask) != 0) << name << L" " << mask;
        }
    }
}

TEST(ShellHelpers, SystemErrorTextIsTheSystemsMessage) {
    EXPECT_EQ(SystemErrorText(ERROR_PATH_NOT_FOUND), SystemText(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(SystemErrorText(ERROR_ACCESS_DENIED).empty());
    // A code the system has no text for still says which it was.
    EXPECT_NE(SystemErrorText(0x2FFFFFFF).find(L"2FFFFFFF"), std::wstring::npos);
}

TEST(ShellHelpers, StrRetTextsOfEveryKind) {
    STRRET narrow{};
    narrow.uType = STRRET_CSTR;
    lstrcpyA(narrow.cStr, "narrow name");
    EXPECT_EQ(StrRetToWideString(EmptyItemIdList(), narrow), L"narrow name");

    STRRET wide{};
    wide.uType = STRRET_WSTR;
    const wchar_t text[] = L"wide \x4E2D";
    wide.pOleStr = static_cast<wchar_t*>(CoTaskMemAlloc(sizeof(text)));
    memcpy(wide.pOleStr, text, sizeof(text));
    EXPECT_EQ(StrRetToWideString(EmptyItemIdList(), wide), text);

    // The display name the desktop gives for My Computer.
    TItemIdList drives = CsidlList(CSIDL_DRIVES);
    STRRET name{};
    ASSERT_TRUE(SUCCEEDED(ShellDesktopFolder()->GetDisplayNameOf(drives.get(), SHGDN_NORMAL, &name)));
    EXPECT_FALSE(StrRetToWideString(drives.get(), name).empty());
}

TEST(ShellHelpers, NetworkNamesOfLocalObjectsAreEmpty) {
    TItemIdList drives = CsidlList(CSIDL_DRIVES);
    EXPECT_EQ(NetworkRemoteName(ShellDesktopFolder(), drives.get()), L"");
    EXPECT_EQ(NetworkRemoteName(nullptr, drives.get()), L"");
    EXPECT_EQ(NetworkRemoteName(ShellDesktopFolder(), nullptr), L"");
}

class ShellLinks : public ShellFolderTest {};

TEST_F(ShellLinks, LinksResolveToTheirTargetOtherFilesToNothing) {
    std::wstring link = FolderW() + L"to sub.lnk";
    std::wstring target = FolderW() + L"sub";
    ASSERT_TRUE(MakeShellLink(link, target));
    EXPECT_TRUE(WideSameText(ResolveShellLinkW(link), target));
    EXPECT_TRUE(WideSameText(ResolveShellLinkA(link), target));
    EXPECT_EQ(ResolveShellLinkW(FolderW() + L"a.txt"), L"");
    EXPECT_EQ(ResolveShellLinkA(FolderW() + L"a.txt"), L"");
    EXPECT_EQ(ResolveShellLinkW(FolderW() + L"missing.lnk"), L"");
}
