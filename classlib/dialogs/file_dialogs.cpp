#include "classlib/dialogs/file_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "classlib/core/class_builder.h"
#include "classlib/dialogs/file_dialog_text.h"
#include "classlib/graphics/picture.h"

DEFINE_ENUM_TYPE(TOpenOption, "ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp",
                 "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",
                 "ofFileMustExist", "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate",
                 "ofNoNetworkButton", "ofNoLongNames", "ofOldStyleDialog", "ofNoDereferenceLinks",
                 "ofEnableIncludeNotify", "ofEnableSizing")

DEFINE_ENUM_TYPE(TFileEditStyle, "fsEdit", "fsComboBox")

const TClassInfo& TOpenDialog::StaticClass() {
    static const TClassInfo info = DefineClass<TOpenDialog>("TOpenDialog", &TCommonDialog::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, DefaultExt);
        PROPERTY(c, FileEditStyle).Default(fsEdit);
        PROPERTY(c, FileName);
        PROPERTY(c, Filter);
        PROPERTY(c, FilterIndex).Default(1);
        PROPERTY(c, InitialDir);
        PROPERTY(c, Options).Default(DefaultOpenOptions.Bits());
        PROPERTY(c, Title);
    });
    return info;
}

const TClassInfo& TSaveDialog::StaticClass() {
    static const TClassInfo info = DefineClass<TSaveDialog>("TSaveDialog", &TOpenDialog::StaticClass(),
                                                            [](auto& c) { c.Creatable(); });
    return info;
}

const TClassInfo& TOpenPictureDialog::StaticClass() {
    static const TClassInfo info = DefineClass<TOpenPictureDialog>(
        "TOpenPictureDialog", &TOpenDialog::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

const TClassInfo& TSavePictureDialog::StaticClass() {
    static const TClassInfo info = DefineClass<TSavePictureDialog>(
        "TSavePictureDialog", &TOpenPictureDialog::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* owner) : TOpenDialog(owner) {
    SetFilter(TPicture::GraphicFilter(TGraphic::StaticClass()));
}

uint32_t OpenOptionFlags(TOpenOptions options) {
    static const struct {
        TOpenOption option;
        uint32_t flag;
    } table[] = {
        {ofReadOnly, OFN_READONLY},
        {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
        {ofHideReadOnly, OFN_HIDEREADONLY},
        {ofNoChangeDir, OFN_NOCHANGEDIR},
        {ofShowHelp, OFN_SHOWHELP},
        {ofNoValidate, OFN_NOVALIDATE},
        {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
        {ofExtensionDifferent, OFN_EXTENSIONDIFFERENT},
        {ofPathMustExist, OFN_PATHMUSTEXIST},
        {ofFileMustExist, OFN_FILEMUSTEXIST},
        {ofCreatePrompt, OFN_CREATEPROMPT},
        {ofShareAware, OFN_SHAREAWARE},
        {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
        {ofNoTestFileCreate, OFN_NOTESTFILECREATE},
        {ofNoNetworkButton, OFN_NONETWORKBUTTON},
        {ofNoLongNames, OFN_NOLONGNAMES},
        {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS},
        {ofEnableIncludeNotify, OFN_ENABLEINCLUDENOTIFY},
        {ofEnableSizing, OFN_ENABLESIZING},
    };
    uint32_t flags = options.Contains(ofOldStyleDialog) ? 0 : OFN_EXPLORER;
    for (const auto& entry : table)
        if (options.Contains(entry.option)) flags |= entry.flag;
    return flags;
}

TOpenDialog::TOpenDialog(TComponent* owner)
    : TCommonDialog(owner), files_(MakeOwned<TStringList>()), history_(MakeOwned<TStringList>()) {}

namespace {

// Room for the file names the dialog returns; a selection beyond it makes
// the dialog fail rather than overflow.
constexpr size_t kSingleFileRoom = 4096;
constexpr size_t kMultiSelectRoom = 32 * 1024;

}  // namespace

bool TOpenDialog::Execute() {
    const bool multiSelect = options_.Contains(ofAllowMultiSelect);
    const std::string filter = PlatformFilter(filter_);
    const std::string defaultExt = PlatformDefaultExt(default_ext_);
    // A long initial name gets the room it needs; two zeros after the room
    // end whatever the dialog leaves there.
    const size_t room = std::max(multiSelect ? kMultiSelectRoom : kSingleFileRoom, file_name_.size() + 1);
    std::vector<char> buffer(room + 2, '\0');
    memcpy(buffer.data(), file_name_.data(), file_name_.size());

    HWND owner = DialogOwnerWindow();
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.hInstance = GetModuleHandleA(nullptr);
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::max(filter_index_, 0));
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(room);
    ofn.lpstrInitialDir = initial_dir_.empty() ? nullptr : initial_dir_.c_str();
    ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.Flags = OpenOptionFlags(options_);
    if (!RunDialog(Kind(), &ofn, owner)) return false;

    std::vector<std::string> files =
        SelectedFiles(buffer.data(), buffer.size(), multiSelect, !options_.Contains(ofOldStyleDialog));
    files_->BeginUpdate();
    files_->Clear();
    for (const std::string& file : files) files_->Add(file);
    files_->EndUpdate();
    file_name_ = files.empty() ? std::string() : files.front();
    filter_index_ = static_cast<int32_t>(ofn.nFilterIndex);
    options_ -= TOpenOptions{ofReadOnly, ofExtensionDifferent};
    if (ofn.Flags & OFN_READONLY) options_ += ofReadOnly;
    if (ofn.Flags & OFN_EXTENSIONDIFFERENT) options_ += ofExtensionDifferent;
    return true;
}
