#include "controls/file_dir_edit.h"

#include <shellapi.h>

#include <vector>

#include "classlib/core/class_builder.h"
#include "classlib/core/fileutils.h"
#include "classlib/core/paths.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/strutils.h"
#include "classlib/gui/scoped_win32.h"
#include "controls/browse_folder_dialog.h"
#include "controls/control_strings.h"
#include "controls/path_utils.h"
#include "controls/text_utils.h"

DEFINE_ENUM_TYPE(TFileDialogKind, "dkOpen", "dkSave", "dkOpenPicture", "dkSavePicture")
DEFINE_ENUM_TYPE(TDirDialogKind, "dkLibrary", "dkWin32")

namespace {

// The picture of the boxes' button, loaded on first use.
TBitmap* g_file_edit_glyph = nullptr;

TBitmap* FileEditGlyph() {
    if (!g_file_edit_glyph) {
        TOwned<TBitmap> glyph(New<TBitmap>());
        glyph->LoadFromResourceName(GetModuleHandleA(nullptr), "FEDITBMP");
        g_file_edit_glyph = glyph.release();
    }
    return g_file_edit_glyph;
}

// Runs `body` between the drop handle's queries and DragFinish.
template <class Body>
void WithDrop(HDROP drop, Body body) {
    TDropHandle finish(drop);
    body();
}

}  // namespace

void FreeFileEditGlyph() {
    if (g_file_edit_glyph) g_file_edit_glyph->Free();
    g_file_edit_glyph = nullptr;
}

std::string QuoteFileName(const std::string& name) {
    if (name.find(' ') == std::string::npos || (!name.empty() && name[0] == '"')) return name;
    return '"' + name + '"';
}

// --- TFileDirEdit ------------------------------------------------------------

const TClassInfo& TFileDirEdit::StaticClass() {
    static const TClassInfo info =
        DefineClass<TFileDirEdit>("TFileDirEdit", &TCustomComboEdit::StaticClass(), [](auto& c) {
            PROPERTY(c, AcceptFiles).Default(false);
            EVENT(c, OnBeforeDialog);
            EVENT(c, OnAfterDialog);
            EVENT(c, OnDropFiles);
            c.Publish("OnButtonClick");
        });
    return info;
}

TFileDirEdit::TFileDirEdit(TComponent* owner) : TCustomComboEdit(owner) {
    SetControlState(ControlState() + csCreating);
    TScopeExit created([this] { SetControlState(ControlState() - csCreating); });
    SetGlyphKind(gkDefault);
}

void TFileDirEdit::CreateParams(TCreateParams& params) {
    TCustomComboEdit::CreateParams(params);
    params.Style |= ES_OEMCONVERT;
}

void TFileDirEdit::CreateWnd() {
    TCustomComboEdit::CreateWnd();
    if (accept_files_) RegisterDropTarget(true);
}

void TFileDirEdit::DestroyWnd() {
    RegisterDropTarget(false);
    TCustomComboEdit::DestroyWnd();
}

TBitmap* TFileDirEdit::DefaultBitmap(bool& destroyNeeded) {
    destroyNeeded = false;
    return FileEditGlyph();
}

void TFileDirEdit::SetAcceptFiles(bool value) {
    if (accept_files_ == value) return;
    RegisterDropTarget(value);
    accept_files_ = value;
}

// Only a window that exists at run time registers; a later one does when
// it is created.
void TFileDirEdit::RegisterDropTarget(bool accept) {
    if (ComponentState().Contains(csDesigning) || !HandleAllocated()) return;
    DragAcceptFiles(handle_, accept ? TRUE : FALSE);
}

void TFileDirEdit::DropFiles(HDROP drop) {
    WithDrop(drop, [&] {
        const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        if (count == 0) return;
        ClearFileList();
        for (UINT i = 0; i < count; ++i) {
            // Each name takes the room it needs: names may be longer than
            // the classic path limit.
            const UINT length = DragQueryFileA(drop, i, nullptr, 0);
            std::vector<char> name(length + 1, '\0');
            DragQueryFileA(drop, i, name.data(), length + 1);
            if (name[0]) ReceptFileDir(std::string(name.data()));
            if (!multiple_names_) break;
        }
        if (OnDropFiles) OnDropFiles(this);
    });
}

void TFileDirEdit::Dispatch(TMessage& m) {
    if (m.Msg == WM_DROPFILES) {
        m.Result = 0;
        DropFiles(reinterpret_cast<HDROP>(m.WParam));
        return;
    }
    TCustomComboEdit::Dispatch(m);
}

void TFileDirEdit::DoBeforeDialog(std::string& name, bool& action) {
    if (OnBeforeDialog) OnBeforeDialog(this, name, action);
}

void TFileDirEdit::DoAfterDialog(std::string& name, bool& action) {
    if (OnAfterDialog) OnAfterDialog(this, name, action);
}

void TFileDirEdit::DisableSysErrors() {
    saved_error_mode_ = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

void TFileDirEdit::EnableSysErrors() {
    SetErrorMode(saved_error_mode_);
    saved_error_mode_ = 0;
}

// --- TFilenameEdit -----------------------------------------------------------

namespace {

// What the file-name and folder boxes publish of the combo edit and the
// class library, in their order. The edit mask, the anchors, constraints,
// bidirectional, input-method, drag-kind and docking properties join them
// when the class library's edits and controls have those.
template <class Builder>
void PublishBoxProperties(Builder& c) {
    c.PublishAll("AutoSelect", "ButtonHint", "BorderStyle", "CharCase", "ClickKey", "Color", "Ctl3D",
                 "DirectInput", "DragCursor", "DragMode", "Enabled", "Font", "GlyphKind", "Glyph", "ButtonWidth",
                 "HideSelection", "NumGlyphs", "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint",
                 "PopupMenu", "ReadOnly", "ShowHint", "TabOrder", "TabStop", "Text", "Visible", "OnChange", "OnClick",
                 "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
                 "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag",
                 "OnContextPopup");
    c.Publish("ParentColor").Default(false);
    c.Publish("TabStop").Default(true);
}

}  // namespace

const TClassInfo& TFilenameEdit::StaticClass() {
    static const TClassInfo info =
        DefineClass<TFilenameEdit>("TFilenameEdit", &TFileDirEdit::StaticClass(), [](auto& c) {
            c.Creatable();
            PublishBoxProperties(c);
            PROPERTY(c, DialogKind).Default(dkOpen);
            PROPERTY(c, DefaultExt);
            PROPERTY(c, FileEditStyle).Default(fsEdit);
            PROPERTY(c, FileName).Stored(false);
            PROPERTY(c, Filter).StoredIf(&TFilenameEdit::IsFilterStored);
            PROPERTY(c, FilterIndex).Default(1);
            PROPERTY(c, InitialDir);
            PROPERTY(c, HistoryList);
            PROPERTY(c, DialogOptions).Default(TOpenOptions{ofHideReadOnly}.Bits());
            PROPERTY(c, DialogTitle).StoredIf(&TFilenameEdit::IsTitleStored);
        });
    return info;
}

TFilenameEdit::TFilenameEdit(TComponent* owner) : TFileDirEdit(owner) {
    RegisterControlStrings();
    CreateEditDialog();
}

void TFilenameEdit::CreateEditDialog() {
    TOpenDialog* dialog = nullptr;
    switch (dialog_kind_) {
    case dkOpen: dialog = New<TOpenDialog>(this); break;
    case dkSave: dialog = New<TSaveDialog>(this); break;
    case dkOpenPicture: dialog = New<TOpenPictureDialog>(this); break;
    case dkSavePicture: dialog = New<TSavePictureDialog>(this); break;
    }
    if (TOpenDialog* previous = dialog_) {
        dialog->SetDefaultExt(previous->DefaultExt());
        dialog->SetFileEditStyle(previous->FileEditStyle());
        dialog->SetFileName(previous->FileName());
        dialog->SetFilter(previous->Filter());
        dialog->SetFilterIndex(previous->FilterIndex());
        dialog->SetInitialDir(previous->InitialDir());
        dialog->SetHistoryList(previous->HistoryList());
        dialog->Files()->Assign(previous->Files());
        dialog->SetOptions(previous->Options());
        dialog->SetTitle(previous->Title());
        dialog_ = dialog;
        previous->Free();
    } else {
        dialog->SetTitle(LoadStr(SBrowse));
        dialog->SetFilter(LoadStr(SDefaultFilter));
        dialog->SetOptions(TOpenOptions{ofHideReadOnly});
        dialog_ = dialog;
    }
}

void TFilenameEdit::SetDialogKind(TFileDialogKind value) {
    if (dialog_kind_ == value) return;
    dialog_kind_ = value;
    CreateEditDialog();
}

bool TFilenameEdit::IsFilterStored() const {
    return Filter() != LoadStr(SDefaultFilter);
}

bool TFilenameEdit::IsTitleStored() const {
    return DialogTitle() != LoadStr(SBrowse);
}

std::string TFilenameEdit::ClipFileName(const std::string& text) const {
    if (FileExists(text)) return text;
    // A save box names a file to write, never a program with parameters:
    // blanks belong to the name, whether its folder exists yet or not. A
    // quoted name loses its quotes below.
    const bool saveBox = dialog_kind_ == dkSave || dialog_kind_ == dkSavePicture;
    if (saveBox && !text.empty() && text[0] != '"') return text;
    std::string program, params;
    SplitProgramAndParams(text, program, params);
    return program;
}

std::string TFilenameEdit::FileName() const {
    return ClipFileName(Text());
}

void TFilenameEdit::SetFileName(const std::string& value) {
    if (!value.empty() && !IsValidFileName(ClipFileName(value)))
        throw EComboEditError(Format(LoadStr(SInvalidFileName), {value}));
    SetText(QuoteFileName(value));
    ClearFileList();
}

void TFilenameEdit::SetDialogOptions(TOpenOptions value) {
    if (dialog_->Options() == value) return;
    dialog_->SetOptions(value);
    multiple_names_ = value.Contains(ofAllowMultiSelect);
    if (!multiple_names_) ClearFileList();
}

std::string TFilenameEdit::LongName() {
    return GetLongPathPart(FileName());
}

std::string TFilenameEdit::ShortName() {
    return GetShortPathPart(FileName());
}

void TFilenameEdit::ReceptFileDir(const std::string& name) {
    if (!multiple_names_) {
        SetFileName(name);
        return;
    }
    if (dialog_->Files()->Count() == 0) SetFileName(name);
    dialog_->Files()->Add(name);
}

void TFilenameEdit::ClearFileList() {
    dialog_->Files()->Clear();
}

void TFilenameEdit::ButtonClick() {
    TFileDirEdit::ButtonClick();
    std::string name = FileName();
    bool action = true;
    DoBeforeDialog(name, action);
    if (!action) return;
    try {
        if (IsValidFileName(name)) {
            const std::string folder = ExtractFilePath(name);
            if (IsExistingDirectory(folder)) SetInitialDir(folder);
            const std::string part = ExtractFileName(name);
            if (part.empty() || !IsValidFileName(part)) name.clear();
            dialog_->SetFileName(name);
        }
    } catch (const std::exception&) {
        // The dialog opens anyway, without a preset name.
    }
    dialog_->SetHelpContext(HelpContext());
    {
        DisableSysErrors();
        TScopeExit restore([this] { EnableSysErrors(); });
        action = dialog_->Execute();
    }
    if (action) name = dialog_->FileName();
    if (CanFocus()) SetFocus();
    DoAfterDialog(name, action);
    if (action) {
        SetText(QuoteFileName(name));
        SetInitialDir(ExtractFilePath(dialog_->FileName()));
    }
}

// --- TDirectoryEdit ----------------------------------------------------------

const TClassInfo& TDirectoryEdit::StaticClass() {
    static const TClassInfo info =
        DefineClass<TDirectoryEdit>("TDirectoryEdit", &TFileDirEdit::StaticClass(), [](auto& c) {
            c.Creatable();
            PublishBoxProperties(c);
            PROPERTY(c, DialogKind).Default(dkLibrary);
            PROPERTY(c, DialogText);
            PROPERTY(c, DialogOptions).Default(0);
            PROPERTY(c, InitialDir);
            PROPERTY(c, MultipleDirs).Default(false);
        });
    return info;
}

TDirectoryEdit::TDirectoryEdit(TComponent* owner) : TFileDirEdit(owner) {}

void TDirectoryEdit::ReceptFileDir(const std::string& name) {
    const std::string folder = FileExists(name) ? ExtractFilePath(name) : name;
    if (Text().empty() || !multiple_names_) SetText(folder);
    else SetText(Text() + ";" + folder);
}

std::string TDirectoryEdit::ExpandEach(std::string (*expand)(const std::string&)) {
    const std::string text = Text();
    if (!multiple_names_) return expand(text);
    std::string result;
    for (int position = 1; position <= static_cast<int>(text.size());) {
        std::string item = expand(ExtractDelimitedToken(text, position, ";"));
        if (!result.empty() && !item.empty()) result += ';';
        result += item;
    }
    return result;
}

std::string TDirectoryEdit::LongName() {
    return ExpandEach(&ExpandToLongPath);
}

std::string TDirectoryEdit::ShortName() {
    return ExpandEach(&ExpandToShortPath);
}

void TDirectoryEdit::ButtonClick() {
    TFileDirEdit::ButtonClick();
    std::string folder = Text();
    bool action = true;
    DoBeforeDialog(folder, action);
    if (!action) return;
    // The dialog starts at the root unless the box names a folder.
    const std::string root(1, '\\');
    if (folder.empty()) folder = initial_dir_;
    if (folder.empty() || !IsExistingDirectory(folder)) folder = root;
    {
        DisableSysErrors();
        TScopeExit restore([this] { EnableSysErrors(); });
        // Every platform we run on has the newer controls.
        if (dialog_kind_ == dkWin32) action = BrowseDirectory(folder, dialog_text_, HelpContext());
        else action = SelectDirectory(folder, dialog_options_, HelpContext());
    }
    if (CanFocus()) SetFocus();
    DoAfterDialog(folder, action);
    if (!action) return;
    SetSelText("");
    if (Text().empty() || !multiple_names_) SetText(folder);
    else SetText(Text() + ";" + folder);
    if (!folder.empty() && IsExistingDirectory(folder)) initial_dir_ = folder;
}
