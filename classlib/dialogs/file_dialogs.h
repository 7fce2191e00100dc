// TOpenDialog and TSaveDialog: the system's dialogs for choosing files to
// open or to save.
#pragma once
#include <string>

#include "classlib/dialogs/common_dialog.h"
#include "classlib/core/stringlist.h"

enum TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
    ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
    ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
    ofEnableIncludeNotify, ofEnableSizing
};
DECLARE_ENUM_TYPE(TOpenOption)
using TOpenOptions = TSet<TOpenOption>;

constexpr TOpenOptions DefaultOpenOptions{ofHideReadOnly, ofEnableSizing};

// Old-style dialogs showed the file name in an edit or a combo box; kept,
// not shown.
enum TFileEditStyle { fsEdit, fsComboBox };
DECLARE_ENUM_TYPE(TFileEditStyle)

// The platform's OFN_* flags for the options.
uint32_t OpenOptionFlags(TOpenOptions options);

class TOpenDialog : public TCommonDialog {
    DECLARE_CLASS(TOpenDialog, TCommonDialog)
public:
    explicit TOpenDialog(TComponent* owner);

    // On confirmation FileName, Files, FilterIndex and the options
    // ofReadOnly and ofExtensionDifferent take the dialog's answer.
    bool Execute() override;

    // Appended by the dialog to a name typed without extension; no dot.
    const std::string& DefaultExt() const { return default_ext_; }
    void SetDefaultExt(const std::string& value) { default_ext_ = value; }
    TFileEditStyle FileEditStyle() const { return file_edit_style_; }
    void SetFileEditStyle(TFileEditStyle value) { file_edit_style_ = value; }
    // The file shown at the start and, after confirmation, the file chosen
    // (the first one of a multi-selection) with its full path.
    const std::string& FileName() const { return file_name_; }
    void SetFileName(const std::string& value) { file_name_ = value; }
    // "Description|pattern|Description|pattern"; patterns may list several
    // masks separated by semicolons.
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& value) { filter_ = value; }
    // 1-based index of the filter shown (and chosen).
    int32_t FilterIndex() const { return filter_index_; }
    void SetFilterIndex(int32_t value) { filter_index_ = value; }
    const std::string& InitialDir() const { return initial_dir_; }
    void SetInitialDir(const std::string& value) { initial_dir_ = value; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions value) { options_ = value; }
    // Empty: the system's caption.
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& value) { title_ = value; }

    // The files chosen, with full paths (one unless ofAllowMultiSelect).
    TStrings* Files() const { return files_.get(); }
    // Names the program remembers for old-style dialogs; kept, not shown.
    TStrings* HistoryList() const { return history_.get(); }
    void SetHistoryList(TStrings* value) { history_->Assign(value); }

protected:
    virtual TCommonDialogKind Kind() const { return cdkOpen; }

private:
    std::string default_ext_;
    TFileEditStyle file_edit_style_ = fsEdit;
    std::string file_name_;
    std::string filter_;
    int32_t filter_index_ = 1;
    std::string initial_dir_;
    TOpenOptions options_ = DefaultOpenOptions;
    std::string title_;
    TOwned<TStringList> files_;
    TOwned<TStringList> history_;
};

class TSaveDialog : public TOpenDialog {
    DECLARE_CLASS(TSaveDialog, TOpenDialog)
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

protected:
    TCommonDialogKind Kind() const override { return cdkSave; }
};

// The dialogs for pictures: the filter starts with the registered picture
// formats.
class TOpenPictureDialog : public TOpenDialog {
    DECLARE_CLASS(TOpenPictureDialog, TOpenDialog)
public:
    explicit TOpenPictureDialog(TComponent* owner);
};

class TSavePictureDialog : public TOpenPictureDialog {
    DECLARE_CLASS(TSavePictureDialog, TOpenPictureDialog)
public:
    explicit TSavePictureDialog(TComponent* owner) : TOpenPictureDialog(owner) {}

protected:
    TCommonDialogKind Kind() const override { return cdkSave; }
};
