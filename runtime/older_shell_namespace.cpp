#include "runtime/older_shell_namespace.h"

#include <iterator>
#include <utility>
#include <vector>

#include "classlib/core/class_builder.h"
#include "classlib/core/paths.h"
#include "classlib/core/strutils.h"
#include "classlib/gui/application.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/wincontrol.h"
#include "runtime/dir_mon.h"
#include "shell/lists/wildcard.h"
#include "shell/namespace_pieces.h"

namespace {

// The first 23 special folders of the editor's component, by ordinal.
constexpr int kCsidls[] = {17, 10, 3, 0, 16, 17, 20, 19, 18, 5, 4, 2, 8, 9, 11, 7, 21, 6, 22, 24, 25, 26, 27};
constexpr int kDrivesOrdinal = 5;
constexpr int kNetworkOrdinal = 8;
constexpr SHCONTF kEnumFlags = static_cast<SHCONTF>(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);

bool SameList(const ITEMIDLIST* a, const ITEMIDLIST* b) {
    return SameShellObject(OlderShellDesktop(), a, b);
}

TShellIdList CsidlList(int csidl, HWND window = nullptr) {
    ITEMIDLIST* list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(window, csidl, &list)) || !list) return nullptr;
    return TShellIdList(list);
}

int SpecialFolderOfList(const ITEMIDLIST* list) {
    if (!list) return 0;
    for (int ordinal = 1; ordinal < static_cast<int>(std::size(kCsidls)); ++ordinal) {
        TShellIdList candidate = ordinal == 3 ? ShellIdListCopy(OlderEmptyIdList()) : CsidlList(kCsidls[ordinal]);
        if (SameList(candidate.get(), list)) return ordinal;
    }
    return 0;
}

std::string PathOfList(const ITEMIDLIST* list) {
    char path[MAX_PATH] = {};
    if (!list || !SHGetPathFromIDListA(list, path)) return std::string();
    return path;
}

bool EndsInBackslash(const std::string& s) {
    return !s.empty() && s.back() == '\\';
}

}  // namespace

bool OlderMaskMatches(const std::string& name, const std::string& mask) {
    return WildcardMatches(name, mask);
}

const TClassInfo& TOlderShellNamespace::StaticClass() {
    static const TClassInfo info =
        DefineClass<TOlderShellNamespace>("TShellNamespace", &TComponent::StaticClass(), [](auto& c) {
            c.Creatable();
            PROPERTY(c, Filter);
            PROPERTY(c, Folder);
            PROPERTY(c, ObjectName);
            PROPERTY(c, FileSystemOnly).NoDefaultValue();
            PROPERTY(c, MultiObjects);
            PROPERTY(c, Version).Stored(false);
            EVENT(c, OnRename);
            EVENT(c, OnFileChange);
            EVENT(c, OnContextMenuSelect);
        });
    return info;
}

TOlderShellNamespace::TOlderShellNamespace(TComponent* owner)
    : TComponent(owner), multi_objects_(MakeOwned<TStringList>()), filters_(MakeOwned<TStringList>()) {
    filters_->Add("*");
}

void TOlderShellNamespace::AfterConstruction() {
    inherited::AfterConstruction();
    // Binding may raise: done here, a failure frees the component whole.
    SetFolder(std::string());
}

TOlderShellNamespace::~TOlderShellNamespace() = default;

void TOlderShellNamespace::BeforeDestruction() {
    // The form gets its own window procedure back while both are whole.
    Unhook();
    inherited::BeforeDestruction();
}

void TOlderShellNamespace::Loaded() {
    inherited::Loaded();
    if (auto* form = dynamic_cast<TCustomForm*>(Owner()); form && !hooked_form_) {
        saved_window_proc_ = form->WindowProc;
        form->WindowProc = [this](TMessage& message) { HookMessage(message); };
        hooked_form_ = form;
    }
    loaded_ = true;
    if (OnFileChange && !dir_mon_) StartFileMonitor();
}

void TOlderShellNamespace::Unhook() {
    if (!hooked_form_) return;
    if (saved_window_proc_) hooked_form_->WindowProc = std::move(saved_window_proc_);
    saved_window_proc_ = nullptr;
    hooked_form_ = nullptr;
}

void TOlderShellNamespace::HookMessage(TMessage& message) {
    if (context_menu_ && (message.Msg == WM_DRAWITEM || message.Msg == WM_MEASUREITEM ||
                          message.Msg == WM_INITMENUPOPUP)) {
        bool forMenu = message.Msg != WM_INITMENUPOPUP ||
                       (context_popup_ && LOWORD(message.LParam) < GetMenuItemCount(context_popup_) - own_popup_items_);
        if (forMenu) {
            context_menu_->HandleMenuMsg(message.Msg, message.WParam, message.LParam);
            message.Msg = 0;
        }
    }
    if (saved_window_proc_) saved_window_proc_(message);
}

void TOlderShellNamespace::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
}

std::string TOlderShellNamespace::Version() const {
    return ClassName() + " V2.3";
}

void TOlderShellNamespace::SetMultiObjects(TStringList* value) {
    if (value != multi_objects_.get()) multi_objects_->Assign(value);
}

// --- filter ----------------------------------------------------------------

std::string TOlderShellNamespace::Filter() const {
    std::string joined;
    for (int i = 0; i < filters_->Count(); ++i) {
        if (i > 0) joined += ';';
        joined += filters_->Strings(i);
    }
    return joined;
}

void TOlderShellNamespace::SetFilter(const std::string& value) {
    filters_->Clear();
    std::string rest = value.empty() ? "*;" : value;
    if (rest.back() != ';') rest += ';';
    for (std::size_t start = 0, end; (end = rest.find(';', start)) != std::string::npos; start = end + 1)
        filters_->Add(rest.substr(start, end - start));
}

// --- folder ----------------------------------------------------------------

void TOlderShellNamespace::ReleaseFolderSlots() {
    for (auto& slot : folder_slots_) slot.Reset();
}

void TOlderShellNamespace::SetFolderIDList(const ITEMIDLIST* list) {
    // Bound before anything of the old folder goes: a failure keeps it. The
    // current list itself makes its folder new as any other list does (the
    // object goes); it is copied before the old list is freed.
    TComPtr<IShellFolder> folder;
    if (list) {
        IShellFolder* desktop = OlderShellDesktop();
        if (desktop && SameList(list, OlderEmptyIdList())) {
            folder = TComPtr<IShellFolder>::Share(desktop);
        } else if (!desktop || desktop->BindToObject(list, nullptr, IID_IShellFolder, folder.PutVoid()) != S_OK ||
                   !folder) {
            throw EShellNamespaceError("ShellNamespace.SetFolderIDList: Desktop.BindToObject: Could not get Folder");
        }
    }
    TShellIdList copy = ShellIdListCopy(list);
    if (list && !copy) throw EOutOfMemory("ShellNamespace.SetFolderIDList: out of memory");
    ReleaseFolderSlots();
    folder_list_.reset();
    if (!list) return;
    enumerator_.Reset();
    folder_ = std::move(folder);
    folder_list_ = std::move(copy);
    SetObjectIDList(nullptr);
    std::string path = PathOfList(folder_list_.get());
    folder_text_ = path.empty() || EndsInBackslash(path) ? path : path + '\\';
    if (dir_mon_) dir_mon_->SetDirectory(folder_text_);
}

void TOlderShellNamespace::SetFolder(const std::string& value) {
    if (!value.empty() && SameText(value, folder_text_)) return;
    std::string old = folder_text_;
    folder_text_ = value;
    TShellIdList list = value.empty() ? CsidlList(CSIDL_DRIVES, OwnerWindow()) : NarrowPathToIdList(nullptr, value);
    if (!list) {
        folder_text_ = old;
        throw EShellNamespaceError("Cannot Find Folder: " + value);
    }
    if (!folder_text_.empty() && !EndsInBackslash(folder_text_)) folder_text_ += '\\';
    SetShellFolderKeepingText(*this, folder_text_, old, list.get());
}

void TOlderShellNamespace::SelectFolderInParent() {
    SelectShellFolderInParent<TShellMallocIdLists>(*this, folder_list_.get(), [this] {
        SetFolderIDList(OlderEmptyIdList());
        SetObjectIDList(OlderEmptyIdList());
    });
}

HWND TOlderShellNamespace::OwnerWindow() const {
    if (auto* control = dynamic_cast<TWinControl*>(Owner()); control && loaded_) return control->Handle();
    return Application ? Application->Handle() : nullptr;
}

int TOlderShellNamespace::FolderSpecialFolder() const {
    return SpecialFolderOfList(folder_list_.get());
}

// --- object ----------------------------------------------------------------

void TOlderShellNamespace::ObjectChanged() {
    absolute_object_list_.reset();
    object_byte_ = 0;
}

void TOlderShellNamespace::SetObjectIDList(const ITEMIDLIST* list) {
    SetShellObjectList<TShellMallocIdLists>(object_list_, list);
    ObjectChanged();
}

const ITEMIDLIST* TOlderShellNamespace::AbsoluteObjectIDList() const {
    return CachedAbsoluteList<TShellMallocIdLists>(absolute_object_list_, folder_list_.get(), object_list_.get());
}

uint32_t TOlderShellNamespace::ObjectAttributes(uint32_t mask) const {
    return ShellObjectAttributes(folder_.Get(), object_list_.get(), mask);
}

bool TOlderShellNamespace::ObjectIsFolder() const {
    return (ObjectAttributes(SFGAO_FOLDER | SFGAO_HASSUBFOLDER) & SFGAO_FOLDER) != 0;
}

int TOlderShellNamespace::ObjectSpecialFolder() const {
    return SpecialFolderOfList(AbsoluteObjectIDList());
}

std::string TOlderShellNamespace::ObjectName() const {
    if (!folder_ || !object_list_) return std::string();
    std::string path = PathOfList(AbsoluteObjectIDList());
    std::string name;
    if (!path.empty() && path.size() == ExtractFileDrive(path).size() + 1) name = path;
    else name = ExtractFileName(path);
    if (name.empty()) name = NarrowNetworkName(folder_.Get(), object_list_.get());
    return name;
}

std::string TOlderShellNamespace::ObjectDisplayName() const {
    std::string name;
    if (folder_ && object_list_) {
        STRRET text{};
        if (SUCCEEDED(folder_->GetDisplayNameOf(object_list_.get(), SHGDN_NORMAL, &text)))
            name = StrRetToNarrow(object_list_.get(), text);
    }
    return name.empty() ? ObjectName() : name;
}

void TOlderShellNamespace::SetObjectName(const std::string& value) {
    if (value.empty()) {
        SetObjectIDList(nullptr);
        return;
    }
    std::string name = value;
    if (name.size() > 3 && EndsInBackslash(name)) name.pop_back();
    if (name.find('\\') == std::string::npos) {
        TShellIdList parsed = folder_ ? NarrowPathToIdList(folder_.Get(), name) : nullptr;
        if (parsed) {
            SetObjectIDList(parsed.get());
            return;
        }
        FindShellObject<TShellMallocIdLists>(
            *this, enumerator_, [&] { return ObjectDisplayName() == name || ObjectName() == name; },
            [&] {
                throw EShellNamespaceError("Error! Cannot find Object \"" + name + "\" in Folder \"" + folder_text_ +
                                           "\"");
            });
        return;
    }
    if (name.size() < 4) {
        SetFolder(name);
        SelectFolderInParent();
        return;
    }
    SetFolder(ExtractFilePath(name));
    SetObjectName(ExtractFileName(name));
}

// --- enumeration -----------------------------------------------------------

bool TOlderShellNamespace::PassesFileSystemRule() const {
    if (!file_system_only_ || ObjectAttributes(SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR) != 0) return true;
    std::string name = ObjectName();
    if (name.empty()) name = ObjectDisplayName();
    if (UpperCase(name.substr(0, 7)) == "RECYCLE") return true;
    int object = ObjectSpecialFolder();
    return object == kDrivesOrdinal || object == kNetworkOrdinal || FolderSpecialFolder() == kNetworkOrdinal;
}

bool TOlderShellNamespace::PassesFilter() const {
    if (ObjectIsFolder()) return true;
    std::string name = ObjectName();
    for (int i = 0; i < filters_->Count(); ++i)
        if (OlderMaskMatches(name, filters_->Strings(i))) return true;
    return false;
}

bool TOlderShellNamespace::Next() {
    if (!enumerator_) {
        if (!folder_) return false;
        if (FAILED(folder_->EnumObjects(OwnerWindow(), kEnumFlags, enumerator_.Put())) || !enumerator_) {
            enumerator_.Reset();
            return false;
        }
    }
    for (;;) {
        ITEMIDLIST* item = nullptr;
        ULONG fetched = 0;
        if (enumerator_->Next(1, &item, &fetched) != S_OK || !item) {
            TShellMallocFree()(item);
            break;
        }
        TShellIdList owned(item);
        SetObjectIDList(owned.get());
        if (PassesFileSystemRule() && PassesFilter()) return true;
    }
    enumerator_.Reset();
    return false;
}

// --- directory monitor -------------------------------------------------------

void TOlderShellNamespace::SetOnFileChange(const TNotifyEvent& value) {
    if (dir_mon_) {
        TDirMon* old = std::exchange(dir_mon_, nullptr);
        if (old->Running()) old->Stop();
        old->Free();
    }
    OnFileChange = value;
    if (OnFileChange) StartFileMonitor();
}

void TOlderShellNamespace::StartFileMonitor() {
    dir_mon_ = New<TDirMon>(this);
    dir_mon_->SetNotifyFilter(TDirMonType{dmcFileName, dmcDirName});
    dir_mon_->OnDirChange = TNotifyEvent(this, &TOlderShellNamespace::FileChanged);
    dir_mon_->SetDirectory(folder_text_);
}

void TOlderShellNamespace::FileChanged(TObject*) {
    if (OnFileChange) OnFileChange(this);
}
