// The runtime's shell-namespace component, the older form of the editor's:
// narrow strings, the shell's own allocator, its own wildcard matcher, a
// directory monitor behind OnFileChange, and a hook on the owner form's
// window procedure that passes shell context-menu messages to the menu.
// Layouts name it "TShellNamespace".
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "classlib/core/component.h"
#include "classlib/core/events.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/stringlist.h"
#include "classlib/gui/messages.h"
#include "runtime/older_shell_unit.h"
#include "shell/com_ptr.h"

CLASSLIB_EXCEPTION(EShellNamespaceError, Exception)

class TDirMon;
class TCustomForm;

using TOnContextMenuSelectEvent = TEvent<void(const std::string& command, bool& execute)>;

class TOlderShellNamespace : public TComponent {
    DECLARE_CLASS(TOlderShellNamespace, TComponent)
public:
    explicit TOlderShellNamespace(TComponent* owner);
    ~TOlderShellNamespace() override;
    void BeforeDestruction() override;

    void AfterConstruction() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // The masks joined by ";"; never empty ("*" at the least).
    std::string Filter() const;
    void SetFilter(const std::string& value);
    // The folder's path with a trailing backslash; empty for virtual folders.
    std::string Folder() const { return folder_text_; }
    // Raises EShellNamespaceError ("Cannot Find Folder: ...") and keeps the
    // folder when the text names none; an empty text selects My Computer.
    void SetFolder(const std::string& value);
    std::string ObjectName() const;
    void SetObjectName(const std::string& value);
    bool FileSystemOnly() const { return file_system_only_; }
    void SetFileSystemOnly(bool value) { file_system_only_ = value; }
    TStringList* MultiObjects() const { return multi_objects_.get(); }
    // Takes the items of value; the list stays the component's own.
    void SetMultiObjects(TStringList* value);
    std::string Version() const;
    void SetVersion(const std::string&) {}

    TNotifyEvent OnRename;
    // Set through SetOnFileChange, which starts a directory monitor on the
    // folder for a handler and stops it for none (a handler a layout binds
    // gets its monitor when loading ends).
    TNotifyEvent OnFileChange;
    TOnContextMenuSelectEvent OnContextMenuSelect;
    void SetOnFileChange(const TNotifyEvent& value);
    // The monitor behind OnFileChange (nullptr without a handler).
    TDirMon* FileMonitor() const { return dir_mon_; }

    void SetFolderIDList(const ITEMIDLIST* list);
    const ITEMIDLIST* FolderIDList() const { return folder_list_.get(); }
    bool Next();
    const ITEMIDLIST* ObjectIDList() const { return object_list_.get(); }
    void SetObjectIDList(const ITEMIDLIST* list);
    const ITEMIDLIST* AbsoluteObjectIDList() const;
    std::string ObjectDisplayName() const;
    bool ObjectIsFolder() const;
    void SelectFolderInParent();
    HWND OwnerWindow() const;

    // The owner form's window procedure runs through the component's hook.
    bool HooksOwner() const { return hooked_form_ != nullptr; }

private:
    void ReleaseFolderSlots();
    void ObjectChanged();
    uint32_t ObjectAttributes(uint32_t mask) const;
    int ObjectSpecialFolder() const;
    int FolderSpecialFolder() const;
    bool PassesFileSystemRule() const;
    bool PassesFilter() const;
    void HookMessage(TMessage& message);
    void Unhook();
    void FileChanged(TObject* sender);
    void StartFileMonitor();

    std::string folder_text_;
    TShellIdList folder_list_;
    TComPtr<IShellFolder> folder_;
    TShellIdList object_list_;
    mutable TShellIdList absolute_object_list_;
    TComPtr<IEnumIDList> enumerator_;
    bool file_system_only_ = false;
    TOwned<TStringList> multi_objects_;
    TOwned<TStringList> filters_;
    TComPtr<IContextMenu2> context_menu_;  // none in this program
    HMENU context_popup_ = nullptr;
    int own_popup_items_ = 0;
    TComPtr<IUnknown> folder_slots_[2];
    uint8_t object_byte_ = 0;
    TCustomForm* hooked_form_ = nullptr;
    std::function<void(TMessage&)> saved_window_proc_;
    TDirMon* dir_mon_ = nullptr;
    bool loaded_ = false;
};

// The component's recursive file-mask rule: "*" any run, "?" one
// character, ASCII letters without regard to case.
bool OlderMaskMatches(const std::string& name, const std::string& mask);
