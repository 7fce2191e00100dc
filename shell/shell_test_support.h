// Tests' helpers for the shell: a scratch folder of files and subfolders
// with wide names, and comparisons of item-ID lists by the desktop.
#pragma once
#include <string>

#include "classlib/core/scratch_folder_test.h"
#include "shell/item_id_list.h"
#include "shell/namespace_pieces.h"
#include "shell/shell_namespace_unit.h"
#include "unicode/code_pages.h"

inline bool SameShellObject(const ITEMIDLIST* a, const ITEMIDLIST* b) {
    return SameShellObject(ShellDesktopFolder(), a, b);
}

inline TItemIdList CsidlList(int csidl) {
    ITEMIDLIST* list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list))) return nullptr;
    return AdoptItemIdList(list);
}

// The scratch folder holds "a.txt", "b.doc", "README" and the folder "sub".
class ShellFolderTest : public ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        MakeFile("a.txt");
        MakeFile("b.doc");
        MakeFile("README");
        ASSERT_TRUE(CreateDirectoryA(scratch.Path("sub").c_str(), nullptr));
    }
    std::wstring Wide(const std::string& path) const { return WideFromSystemAnsi(path); }
    std::wstring FolderW() const { return Wide(scratch.Folder()); }
};
