// The edit boxes with a browse button for file names (TFilenameEdit: an
// open or save dialog) and folders (TDirectoryEdit: a folder dialog), on
// their common base TFileDirEdit, which shows the file-edit glyph, can take
// names dropped from the shell and wraps its dialog in before/after events
// with the system's error boxes switched off.
#pragma once
#include <cstdint>
#include <string>

#include "classlib/core/exceptions.h"
#include "classlib/dialogs/file_dialogs.h"
#include "classlib/dialogs/select_directory.h"
#include "controls/combo_edit.h"

CLASSLIB_EXCEPTION(EComboEditError, Exception)

using TExecOpenDialogEvent = TEvent<void(TObject* Sender, std::string& Name, bool& Action)>;

class TFileDirEdit : public TCustomComboEdit {
    DECLARE_CLASS(TFileDirEdit, TCustomComboEdit)
public:
    explicit TFileDirEdit(TComponent* owner);

    // Names dropped from the shell go into the box (at run time).
    bool AcceptFiles() const { return accept_files_; }
    void SetAcceptFiles(bool value);

    virtual std::string LongName() = 0;
    virtual std::string ShortName() = 0;

    void Dispatch(TMessage& message) override;

    TNotifyEvent OnDropFiles;
    TExecOpenDialogEvent OnBeforeDialog;
    TExecOpenDialogEvent OnAfterDialog;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    TBitmap* DefaultBitmap(bool& destroyNeeded) override;
    virtual void ReceptFileDir(const std::string& name) = 0;
    virtual void ClearFileList() {}
    virtual void DoBeforeDialog(std::string& name, bool& action);
    virtual void DoAfterDialog(std::string& name, bool& action);
    void DisableSysErrors();
    void EnableSysErrors();

    bool multiple_names_ = false;

private:
    void RegisterDropTarget(bool accept);
    void DropFiles(HDROP drop);

    uint32_t saved_error_mode_ = 0;
    bool accept_files_ = false;
};

enum TFileDialogKind { dkOpen, dkSave, dkOpenPicture, dkSavePicture };
DECLARE_ENUM_TYPE(TFileDialogKind)

class TFilenameEdit : public TFileDirEdit {
    DECLARE_CLASS(TFilenameEdit, TFileDirEdit)
public:
    explicit TFilenameEdit(TComponent* owner);

    // A change makes a new dialog of that kind with the old one's settings.
    TFileDialogKind DialogKind() const { return dialog_kind_; }
    void SetDialogKind(TFileDialogKind value);
    TOpenDialog* Dialog() const { return dialog_; }

    // The text read as a file name: the text itself when it names an
    // existing file, and in a save box always (a target to write, typed
    // with blanks and without quotes); otherwise the program part of the
    // text read as a command line (a program followed by its parameters).
    std::string FileName() const;
    // Shown quoted when it has a blank; raises EComboEditError for an
    // invalid name.
    void SetFileName(const std::string& value);

    const std::string& DefaultExt() const { return dialog_->DefaultExt(); }
    void SetDefaultExt(const std::string& value) { dialog_->SetDefaultExt(value); }
    TFileEditStyle FileEditStyle() const { return dialog_->FileEditStyle(); }
    void SetFileEditStyle(TFileEditStyle value) { dialog_->SetFileEditStyle(value); }
    const std::string& Filter() const { return dialog_->Filter(); }
    void SetFilter(const std::string& value) { dialog_->SetFilter(value); }
    int32_t FilterIndex() const { return dialog_->FilterIndex(); }
    void SetFilterIndex(int32_t value) { dialog_->SetFilterIndex(value); }
    const std::string& InitialDir() const { return dialog_->InitialDir(); }
    void SetInitialDir(const std::string& value) { dialog_->SetInitialDir(value); }
    TStrings* HistoryList() const { return dialog_->HistoryList(); }
    void SetHistoryList(TStrings* value) { dialog_->SetHistoryList(value); }
    TOpenOptions DialogOptions() const { return dialog_->Options(); }
    void SetDialogOptions(TOpenOptions value);
    const std::string& DialogTitle() const { return dialog_->Title(); }
    void SetDialogTitle(const std::string& value) { dialog_->SetTitle(value); }
    // The names of the last multi-name drop or dialog.
    TStrings* DialogFiles() const { return dialog_->Files(); }

    std::string LongName() override;
    std::string ShortName() override;

protected:
    void ButtonClick() override;
    void ReceptFileDir(const std::string& name) override;
    void ClearFileList() override;

private:
    void CreateEditDialog();
    bool IsFilterStored() const;
    bool IsTitleStored() const;
    std::string ClipFileName(const std::string& text) const;

    TOpenDialog* dialog_ = nullptr;
    TFileDialogKind dialog_kind_ = dkOpen;
};

enum TDirDialogKind { dkLibrary, dkWin32 };
DECLARE_ENUM_TYPE(TDirDialogKind)

class TDirectoryEdit : public TFileDirEdit {
    DECLARE_CLASS(TDirectoryEdit, TFileDirEdit)
public:
    explicit TDirectoryEdit(TComponent* owner);

    TDirDialogKind DialogKind() const { return dialog_kind_; }
    void SetDialogKind(TDirDialogKind value) { dialog_kind_ = value; }
    const std::string& DialogText() const { return dialog_text_; }
    void SetDialogText(const std::string& value) { dialog_text_ = value; }
    TSelectDirOpts DialogOptions() const { return dialog_options_; }
    void SetDialogOptions(TSelectDirOpts value) { dialog_options_ = value; }
    const std::string& InitialDir() const { return initial_dir_; }
    void SetInitialDir(const std::string& value) { initial_dir_ = value; }
    // The text holds a ';'-separated list of folders.
    bool MultipleDirs() const { return multiple_names_; }
    void SetMultipleDirs(bool value) { multiple_names_ = value; }

    std::string LongName() override;
    std::string ShortName() override;

protected:
    void ButtonClick() override;
    void ReceptFileDir(const std::string& name) override;

private:
    std::string ExpandEach(std::string (*expand)(const std::string&));

    TSelectDirOpts dialog_options_;
    std::string initial_dir_;
    std::string dialog_text_;
    TDirDialogKind dialog_kind_ = dkLibrary;
};

// Frees the file-edit glyph the boxes share (the controls' shut-down).
void FreeFileEditGlyph();
// The name as the boxes show it: enclosed in double quotes when it has a
// blank and does not begin with one.
std::string QuoteFileName(const std::string& name);
