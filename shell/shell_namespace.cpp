#include "shell/shell_namespace.h"

#include <iterator>
#include <optional>

#include "classlib/core/class_builder.h"
#include "classlib/core/strutils.h"
#include "classlib/gui/application.h"
#include "classlib/gui/wincontrol.h"
#include "shell/error_mode.h"
#include "shell/namespace_pieces.h"
#include "shell/shell_helpers.h"
#include "shell/shell_namespace_unit.h"
#include "unicode/text/platform_flags.h"
#include "unicode/text/wide_paths.h"
#include "unicode/wide_sysutils.h"

DEFINE_ENUM_TYPE(TQarShellFolder, "SF_FILESYSTEMFOLDER", "SF_BITBUCKET", "SF_CONTROLS", "SF_DESKTOP",
                 "SF_DESKTOPDIRECTORY", "SF_DRIVES", "SF_FONTS", "SF_NETHOOD", "SF_NETWORK", "SF_PERSONAL",
                 "SF_PRINTERS", "SF_PROGRAMS", "SF_RECENT", "SF_SENDTO", "SF_STARTMENU", "SF_STARTUP", "SF_TEMPLATES",
                 "SF_FAVORITES", "SF_COMMON_STARTMENU", "SF_COMMON_STARTUP", "SF_COMMON_DESKTOPDIRECTORY",
                 "SF_APPDATA", "SF_PRINTHOOD", "SF_COMMON_FAVORITES", "SF_INTERNET_CACHE", "SF_COOKIES", "SF_HISTORY",
                 "SF_COMMON_PROGRAMS")

namespace {

constexpr int kCsidls[] = {17, 10, 3, 0, 16, 17, 20, 19, 18, 5, 4, 2, 8, 9, 11, 7, 21, 6, 22, 24, 25, 26, 27, 31,
                           32, 33, 34, 23};
constexpr int kShellFolderCount = static_cast<int>(std::size(kCsidls));

// Folders, non-folders and hidden objects.
constexpr SHCONTF kEnumFlags = static_cast<SHCONTF>(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);

// The desktop's comparison of two absolute lists: true for the same object.
bool SameList(const ITEMIDLIST* a, const ITEMIDLIST* b) {
    return SameShellObject(ShellDesktopFolder(), a, b);
}

std::wstring PathOfList(const ITEMIDLIST* list) {
    wchar_t path[MAX_PATH] = {};
    if (!list || !SHGetPathFromIDListW(list, path)) return std::wstring();
    return path;
}

bool EndsInBackslash(const std::wstring& s) {
    return !s.empty() && s.back() == L'\\';
}

// "\\server\share..." with a backslash after the server name.
bool IsUncPath(const std::wstring& s) {
    return s.size() > 3 && s[0] == L'\\' && s[1] == L'\\' && s.find(L'\\', 2) != std::wstring::npos;
}

// Enumerating a server once makes the shell connect to it, so its shares
// can be parsed afterwards.
void ConnectToServer(const std::wstring& uncPath) {
    std::wstring server = uncPath.substr(0, uncPath.find(L'\\', 2));
    TItemIdList list = PathToItemIdList(nullptr, server);
    IShellFolder* desktop = ShellDesktopFolder();
    if (!list || !desktop) return;
    TComPtr<IShellFolder> folder;
    if (FAILED(desktop->BindToObject(list.get(), nullptr, IID_IShellFolder, folder.PutVoid())) || !folder) return;
    TComPtr<IEnumIDList> items;
    HWND window = Application ? Application->Handle() : nullptr;
    if (folder->EnumObjects(window, kEnumFlags, items.Put()) != S_OK || !items) return;
    ITEMIDLIST* item = nullptr;
    ULONG fetched = 0;
    items->Next(1, &item, &fetched);
    AdoptItemIdList(item).reset();
}

}  // namespace

int ShellFolderCsidl(TQarShellFolder folder) {
    int ordinal = static_cast<int>(folder);
    return ordinal >= 0 && ordinal < kShellFolderCount ? kCsidls[ordinal] : -1;
}

TItemIdList SpecialFolderList(TQarShellFolder folder) {
    if (folder == SF_DESKTOP) return ItemIdListCopy(EmptyItemIdList());
    int csidl = ShellFolderCsidl(folder);
    ITEMIDLIST* list = nullptr;
    if (csidl < 0) return nullptr;
    const HRESULT result = SHGetSpecialFolderLocation(nullptr, csidl, &list);
    TItemIdList owned = AdoptItemIdList(list);
    if (FAILED(result)) return nullptr;
    return owned;
}

TQarShellFolder SpecialFolderOfList(const ITEMIDLIST* list) {
    if (!list) return SF_FILESYSTEMFOLDER;
    // Ordinal 0 stands for the same folder as SF_DRIVES and is never tried.
    for (int ordinal = 1; ordinal < kShellFolderCount; ++ordinal) {
        try {
            TItemIdList candidate = SpecialFolderList(static_cast<TQarShellFolder>(ordinal));
            if (SameList(candidate.get(), list)) return static_cast<TQarShellFolder>(ordinal);
        } catch (...) {
        }
    }
    return SF_FILESYSTEMFOLDER;
}

const TClassInfo& TShellNamespace::StaticClass() {
    static const TClassInfo info =
        DefineClass<TShellNamespace>("TShellNamespace", &TComponent::StaticClass(), [](auto& c) {
            c.Creatable();
            PROPERTY(c, Filter);
            PROPERTY(c, Folder);
            PROPERTY(c, ObjectName);
            PROPERTY(c, FileSystemOnly).Default(false);
            READONLY_PROPERTY(c, MultiObjects);
            PROPERTY(c, ShowErrorMessages).Default(true);
            PROPERTY(c, ShowContextMenuOnTop).Default(false);
            PROPERTY(c, SpecialFolder).Default(SF_DRIVES);
            PROPERTY(c, Version).Stored(false);
            EVENT(c, OnRename);
            EVENT(c, OnContextMenuSelect);
        });
    return info;
}

TShellNamespace::TShellNamespace(TComponent* owner)
    : TComponent(owner), multi_objects_(MakeOwned<TFileNames>()), filters_(MakeOwned<TFileNames>()) {}

void TShellNamespace::AfterConstruction() {
    inherited::AfterConstruction();
    // Binding may raise: done here, a failure frees the component whole
    // (detached from its owner).
    SetFolder(std::wstring());
}

TShellNamespace::~TShellNamespace() = default;

void TShellNamespace::Loaded() {
    inherited::Loaded();
    loaded_ = true;
}

void TShellNamespace::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
}

std::string TShellNamespace::Version() const {
    return ClassName() + " V5.4";
}

// --- filter ----------------------------------------------------------------

std::wstring TShellNamespace::Filter() const {
    if (filters_->Count() == 0) return L"*";
    std::wstring joined;
    for (int i = 0; i < filters_->Count(); ++i) {
        if (i > 0) joined += L';';
        joined += filters_->Strings(i);
    }
    return joined;
}

void TShellNamespace::SetFilter(const std::wstring& value) {
    filters_->Clear();
    if (value.empty() || value == L"*") return;
    std::wstring rest = value.back() == L';' ? value : value + L';';
    // Every piece up to a ";" is a mask, an empty one included.
    for (std::size_t start = 0, end; (end = rest.find(L';', start)) != std::wstring::npos; start = end + 1)
        filters_->Add(rest.substr(start, end - start));
}

// --- folder ----------------------------------------------------------------

void TShellNamespace::ReleaseContextMenu() {
    for (auto& slot : context_menu_) slot.Reset();
}

void TShellNamespace::SetFolderIDList(const ITEMIDLIST* list) {
    if (list && list == folder_list_.get()) {
        enumerator_.Reset();
        return;
    }
    // The new folder is bound before anything of the old one goes, so a
    // list the shell cannot bind leaves the component as it was.
    TComPtr<IShellFolder> folder;
    if (list) {
        IShellFolder* desktop = ShellDesktopFolder();
        if (!desktop) throw EShellNamespaceError("ShellNamespace.SetFolderIDList: no desktop folder");
        if (SameList(list, EmptyItemIdList())) {
            folder = TComPtr<IShellFolder>::Share(desktop);
        } else {
            HRESULT result = desktop->BindToObject(list, nullptr, IID_IShellFolder, folder.PutVoid());
            if (!folder)
                throw EShellNamespaceError(
                    "ShellNamespace.SetFolderIDList: Desktop.BindToObject: Could not get IShellFolder interface. (" +
                    WideToAnsi(SystemErrorText(static_cast<uint32_t>(result))) + ")");
        }
    }
    TItemIdList copy = list ? ItemIdListCopy(list) : nullptr;
    if (list && !copy) throw EOutOfMemory("ShellNamespace.SetFolderIDList: out of memory");
    ReleaseContextMenu();
    folder_list_.reset();
    if (!list) return;
    enumerator_.Reset();
    folder_ = std::move(folder);
    folder_list_ = std::move(copy);
    SetObjectIDList(nullptr);
    std::wstring path = PathOfList(folder_list_.get());
    folder_text_ = path.empty() ? path : WideIncludeTrailingBackslash(path);
}

void TShellNamespace::SetFolder(const std::wstring& value) {
    if (!value.empty() && WideSameText(value, Folder())) return;
    std::wstring old = folder_text_;
    folder_text_ = value;
    TItemIdList list = PathToItemIdList(nullptr, value);
    if (!list && IsUncPath(value)) {
        ConnectToServer(value);
        list = PathToItemIdList(nullptr, value);
    }
    if (!list) {
        folder_text_ = old;
        throw EShellNamespaceError(WideToAnsi(SystemErrorText(ERROR_PATH_NOT_FOUND) + L"\r\n" + value));
    }
    if (!folder_text_.empty() && !EndsInBackslash(folder_text_)) folder_text_ += L'\\';
    SetShellFolderKeepingText(*this, folder_text_, old, list.get());
}

std::wstring TShellNamespace::Folder() const {
    if (ItemIdListCount(folder_list_.get()) == 2 && !folder_text_.empty()) {
        std::wstring target;
        {
            TErrorModeScope errorMode(SEM_FAILCRITICALERRORS);
            target = UnicodePlatform ? ResolveShellLinkW(folder_text_) : ResolveShellLinkA(folder_text_);
        }
        if (!target.empty()) folder_text_ = WideIncludeTrailingBackslash(target);
    }
    return folder_text_;
}

TQarShellFolder TShellNamespace::SpecialFolder() const {
    return SpecialFolderOfList(folder_list_.get());
}

void TShellNamespace::SetSpecialFolder(TQarShellFolder value) {
    if (ComponentState().Contains(csLoading) && value == SF_FILESYSTEMFOLDER) return;
    try {
        TItemIdList list = SpecialFolderList(value);
        if (list) SetFolderIDList(list.get());
    } catch (...) {
    }
}

void TShellNamespace::SelectFolderInParent() {
    SelectShellFolderInParent<TTaskIdLists>(*this, folder_list_.get(), [this] { SetSpecialFolder(SF_DESKTOP); });
}

HWND TShellNamespace::OwnerWindow() const {
    if (!show_error_messages_) return nullptr;
    if (auto* control = dynamic_cast<TWinControl*>(Owner()); control && loaded_) return control->Handle();
    return Application ? Application->Handle() : nullptr;
}

// --- object ----------------------------------------------------------------

void TShellNamespace::ObjectChanged() {
    absolute_object_list_.reset();
    object_cache_.fill(0);
    object_value_ = -1;
}

void TShellNamespace::SetObjectIDList(const ITEMIDLIST* list) {
    SetShellObjectList<TTaskIdLists>(object_list_, list);
    ObjectChanged();
}

const ITEMIDLIST* TShellNamespace::AbsoluteObjectIDList() const {
    return CachedAbsoluteList<TTaskIdLists>(absolute_object_list_, folder_list_.get(), object_list_.get());
}

uint32_t TShellNamespace::ObjectAttributes(uint32_t mask) const {
    return ShellObjectAttributes(folder_.Get(), object_list_.get(), mask);
}

bool TShellNamespace::ObjectIsFolder() const {
    if (!file_system_only_) return ObjectAttributes(SFGAO_FOLDER) != 0;
    uint32_t attributes = ObjectAttributes(SFGAO_FOLDER | SFGAO_FILESYSANCESTOR);
    return (attributes & SFGAO_FOLDER) &&
           (ShellSystemFlags().OldShell || (attributes & SFGAO_FILESYSANCESTOR));
}

std::wstring TShellNamespace::ObjectNetworkName() const {
    return NetworkRemoteName(folder_.Get(), object_list_.get());
}

TQarShellFolder TShellNamespace::ObjectSpecialFolder() const {
    return SpecialFolderOfList(AbsoluteObjectIDList());
}

std::wstring TShellNamespace::ObjectDisplayName() const {
    std::wstring name;
    if (folder_ && object_list_) {
        STRRET text{};
        if (SUCCEEDED(folder_->GetDisplayNameOf(object_list_.get(), SHGDN_NORMAL, &text)))
            name = StrRetToWideString(object_list_.get(), text);
    }
    return name.empty() ? ObjectName() : name;
}

std::wstring TShellNamespace::ObjectName() const {
    if (!folder_ || !object_list_) return std::wstring();
    WIN32_FIND_DATAW found{};
    std::wstring name;
    if (SUCCEEDED(SHGetDataFromIDListW(folder_.Get(), object_list_.get(), SHGDFIL_FINDDATA, &found, sizeof(found))))
        name = found.cFileName;
    const ITEMIDLIST* absolute = AbsoluteObjectIDList();
    if (name.empty() && ItemIdListCount(absolute) > 1) {
        std::wstring path = PathOfList(absolute);
        std::wstring drive = WideExtractFileDrive(path);
        bool driveRoot = !path.empty() && path.size() == drive.size() + 1 && path.compare(0, drive.size(), drive) == 0;
        if (driveRoot) name = path;
        else name = WideExtractFileName(path);
    }
    if (name.empty()) name = ObjectNetworkName();
    return name;
}

void TShellNamespace::RaiseNotFound(const std::wstring& name) const {
    throw EShellNamespaceError(
        WideToAnsi(L"Error! Cannot find Object \"" + name + L"\" in Folder \"" + Folder() + L"\""));
}

void TShellNamespace::SetObjectName(const std::wstring& value) {
    if (value.empty()) {
        SetObjectIDList(nullptr);
        return;
    }
    std::wstring name = value;
    if (name.size() > 3 && EndsInBackslash(name)) name.pop_back();

    if (name.find(L'\\') == std::wstring::npos) {
        TItemIdList parsed;
        if (folder_) {
            std::optional<TErrorModeScope> errorMode;
            if (!show_error_messages_) errorMode.emplace(SEM_FAILCRITICALERRORS);
            parsed = PathToItemIdList(folder_.Get(), name);
        }
        if (parsed) {
            SetObjectIDList(parsed.get());
            return;
        }
        // The search starts at the first object, whatever an enumeration had
        // reached.
        FindShellObject<TTaskIdLists>(
            *this, enumerator_,
            [&] { return WideSameText(ObjectDisplayName(), name) || WideSameText(ObjectName(), name); },
            [&] { RaiseNotFound(name); });
        return;
    }

    std::wstring drive = WideExtractFileDrive(name);
    if (!drive.empty() && (name == drive || name == drive + L"\\")) {
        SetFolder(name);
        SelectFolderInParent();
        return;
    }
    SetFolder(WideExtractFilePath(name));
    SetObjectName(WideExtractFileName(name));
}

// --- enumeration -----------------------------------------------------------

std::wstring TShellNamespace::ObjectNameForRules() const {
    std::wstring name = ObjectName();
    return name.empty() ? ObjectDisplayName() : name;
}

bool TShellNamespace::PassesFileSystemRule() const {
    if (!file_system_only_ || ObjectAttributes(SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR) != 0) return true;
    std::wstring name = ObjectNameForRules();
    if (WideUpperCase(name.substr(0, 7)) == L"RECYCLE") return true;
    TQarShellFolder object = ObjectSpecialFolder();
    if (object == SF_DRIVES || object == SF_NETWORK) return true;
    if (SpecialFolder() != SF_NETWORK) return false;
    return !name.empty();
}

bool TShellNamespace::PassesFilter() const {
    if (filters_->Count() == 0 || ObjectIsFolder()) return true;
    std::wstring name = ObjectName();
    for (int i = 0; i < filters_->Count(); ++i)
        if (MatchesFileMask(name, filters_->Strings(i))) return true;
    return false;
}

bool TShellNamespace::Next() {
    if (!enumerator_) {
        if (!folder_) return false;
        HRESULT result;
        {
            TErrorModeScope errorMode(show_error_messages_ ? 0 : SEM_FAILCRITICALERRORS);
            result = folder_->EnumObjects(OwnerWindow(), kEnumFlags, enumerator_.Put());
        }
        if (FAILED(result) || !enumerator_) {
            enumerator_.Reset();
            return false;
        }
    }
    auto fetch = [this] {
        ITEMIDLIST* item = nullptr;
        ULONG fetched = 0;
        const HRESULT result = enumerator_->Next(1, &item, &fetched);
        TItemIdList owned = AdoptItemIdList(item);
        if (result != S_OK || !owned) return false;
        SetObjectIDList(owned.get());
        return true;
    };
    for (;;) {
        try {
            if (!fetch()) break;
            if (PassesFileSystemRule() && PassesFilter()) return true;
        } catch (...) {
            // The object that failed is passed over without the rules.
            try {
                if (fetch()) return true;
            } catch (...) {
            }
            break;
        }
    }
    enumerator_.Reset();
    return false;
}
