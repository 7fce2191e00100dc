// TShellNamespace: a non-visual component standing on one folder of the
// shell namespace and on one object in it. It turns folder paths and special
// folders into shell folders, enumerates a folder's objects through a
// file-mask filter and a file-system-only rule, and names objects.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "classlib/core/component.h"
#include "classlib/core/events.h"
#include "classlib/core/exceptions.h"
#include "shell/com_ptr.h"
#include "shell/file_names.h"
#include "shell/item_id_list.h"

CLASSLIB_EXCEPTION(EShellNamespaceError, Exception)

// The special folders, each standing for one CSIDL value.
enum TQarShellFolder {
    SF_FILESYSTEMFOLDER, SF_BITBUCKET, SF_CONTROLS, SF_DESKTOP, SF_DESKTOPDIRECTORY, SF_DRIVES, SF_FONTS,
    SF_NETHOOD, SF_NETWORK, SF_PERSONAL, SF_PRINTERS, SF_PROGRAMS, SF_RECENT, SF_SENDTO, SF_STARTMENU,
    SF_STARTUP, SF_TEMPLATES, SF_FAVORITES, SF_COMMON_STARTMENU, SF_COMMON_STARTUP, SF_COMMON_DESKTOPDIRECTORY,
    SF_APPDATA, SF_PRINTHOOD, SF_COMMON_FAVORITES, SF_INTERNET_CACHE, SF_COOKIES, SF_HISTORY, SF_COMMON_PROGRAMS
};
DECLARE_ENUM_TYPE(TQarShellFolder)
int ShellFolderCsidl(TQarShellFolder folder);

using TOnContextMenuSelectEvent = TEvent<void(const std::string& command, bool& execute)>;

class TShellNamespace : public TComponent {
    DECLARE_CLASS(TShellNamespace, TComponent)
public:
    explicit TShellNamespace(TComponent* owner);
    ~TShellNamespace() override;

    void AfterConstruction() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // The masks joined by ";", "*" when there are none.
    std::wstring Filter() const;
    void SetFilter(const std::wstring& value);
    // The folder's file-system path with a trailing backslash; empty for a
    // folder without one. A folder that is a shell link reads as its target.
    std::wstring Folder() const;
    // Raises EShellNamespaceError (and keeps the folder) when the text
    // names no folder; an empty text selects My Computer.
    void SetFolder(const std::wstring& value);
    std::wstring ObjectName() const;
    // A bare name in the folder, a drive root, or a whole path (its folder
    // becomes the folder); raises EShellNamespaceError when not found.
    void SetObjectName(const std::wstring& value);
    bool FileSystemOnly() const { return file_system_only_; }
    void SetFileSystemOnly(bool value) { file_system_only_ = value; }
    TFileNames* MultiObjects() const { return multi_objects_.get(); }
    bool ShowErrorMessages() const { return show_error_messages_; }
    void SetShowErrorMessages(bool value) { show_error_messages_ = value; }
    bool ShowContextMenuOnTop() const { return show_context_menu_on_top_; }
    void SetShowContextMenuOnTop(bool value) { show_context_menu_on_top_ = value; }
    TQarShellFolder SpecialFolder() const;
    // Never raises; a folder the shell cannot give leaves the current one.
    void SetSpecialFolder(TQarShellFolder value);
    std::string Version() const;
    void SetVersion(const std::string&) {}

    TNotifyEvent OnRename;
    TOnContextMenuSelectEvent OnContextMenuSelect;

    // Makes the folder of that absolute list current (the list is copied).
    void SetFolderIDList(const ITEMIDLIST* list);
    const ITEMIDLIST* FolderIDList() const { return folder_list_.get(); }
    IShellFolder* ShellFolder() const { return folder_.Get(); }
    // Steps to the next object that passes the rules: true with it current,
    // false at the end (the next call starts again at the first).
    bool Next();

    // The object, relative to the folder (nullptr: none); setting copies.
    const ITEMIDLIST* ObjectIDList() const { return object_list_.get(); }
    void SetObjectIDList(const ITEMIDLIST* list);
    // The folder's list joined with the object's (a copy of the folder's
    // without an object); owned by the component.
    const ITEMIDLIST* AbsoluteObjectIDList() const;
    std::wstring ObjectDisplayName() const;
    bool ObjectIsFolder() const;
    // The asked attribute bits the object has; 0 without an object.
    uint32_t ObjectAttributes(uint32_t mask) const;
    std::wstring ObjectNetworkName() const;
    TQarShellFolder ObjectSpecialFolder() const;
    // Makes the folder's parent the folder and the folder the object.
    void SelectFolderInParent();

    // The window shell dialogs belong to (nullptr without error messages).
    HWND OwnerWindow() const;

private:
    void ReleaseContextMenu();
    void ObjectChanged();
    // The object's file name, or its display name when it has none.
    std::wstring ObjectNameForRules() const;
    bool PassesFileSystemRule() const;
    bool PassesFilter() const;
    [[noreturn]] void RaiseNotFound(const std::wstring& name) const;

    mutable std::wstring folder_text_;
    TItemIdList folder_list_;
    TComPtr<IShellFolder> folder_;
    TItemIdList object_list_;
    mutable TItemIdList absolute_object_list_;
    TComPtr<IEnumIDList> enumerator_;
    bool file_system_only_ = false;
    TOwned<TFileNames> multi_objects_;
    TOwned<TFileNames> filters_;
    std::array<TComPtr<IUnknown>, 2> context_menu_;
    std::array<uint8_t, 260> object_cache_{};
    int32_t object_value_ = -1;
    bool loaded_ = false;
    bool show_error_messages_ = true;
    bool show_context_menu_on_top_ = false;
};

// The special folder an absolute list stands for (SF_FILESYSTEMFOLDER for
// none); a list equal to My Computer's reads SF_DRIVES.
TQarShellFolder SpecialFolderOfList(const ITEMIDLIST* list);
// The absolute list of a special folder; empty when the system has none.
TItemIdList SpecialFolderList(TQarShellFolder folder);
