#include "runtime/holder_form.h"

#include "classlib/core/class_builder.h"
#include "classlib/gui/application.h"
#include "classlib/comctrls/comctrls.h"
#include "classlib/dialogs/dialogs.h"
#include "runtime/document_marker.h"
#include "editor/document/entry_data.h"
#include "classlib/core/fileutils.h"
#include "runtime/image_extent.h"
#include "classlib/platform/interaction.h"
#include "editor/document/menu_document.h"
#include "runtime/older_color_combo_box.h"
#include "classlib/core/paths.h"
#include "player/play_form.h"
#include "classlib/core/random.h"
#include "player/settings_controls.h"
#include "classlib/stdctrls/buttons.h"
#include "classlib/stdctrls/extctrls.h"
#include "classlib/stdctrls/stdctrls.h"
#include "classlib/core/treenodes.h"
#include "classlib/core/file_mode_scope.h"
#include "classlib/core/untyped_file.h"

TMainForm* MainForm = nullptr;

const TClassInfo& TMainForm::StaticClass() {
    static const TClassInfo info = DefineClass<TMainForm>("TMainForm", &TDocumentHolderForm::StaticClass(), [](auto& c) {
        FIELD(c, Panel1);
        FIELD(c, Panel10);
        FIELD(c, Label1);
        FIELD(c, Label2);
        FIELD(c, Label3);
        FIELD(c, Label4);
        FIELD(c, CapFontBtn);
        FIELD(c, MainFontBtn);
        FIELD(c, ImageList1);
        FIELD(c, TaBImages);
        FIELD(c, OpenDialog1);
        FIELD(c, SaveDialog1);
        METHOD(c, FormCreate);
        METHOD(c, openfile);
        METHOD(c, PreViewBtnClick);
    });
    return info;
}

void TMainForm::FormCreate(TObject*) {
    program_dir_ = IncludeTrailingBackslash(ExtractFilePath(ParamStr(0)));
    Application->SetHelpFile(program_dir_ + Application->HelpFile());
    Randomize();
    if (DocumentAttached()) {
        DocumentOffset = MarkerOffset();
        // A document starts behind the program's own image and inside the
        // file; any other offset would read the program as a document.
        std::string self = ParamStr(0);
        int64_t imageEnd = ProgramImageEnd(self);
        int64_t size = -1;
        {
            TUntypedFile file;
            {
                TFileModeScope readOnly(0);
                file.Assign(self);
                file.Reset(1);
            }
            if (IOResult() == 0) size = file.FileSize();
            IOResult();
        }
        if (size >= 0 && (imageEnd < 0 || DocumentOffset < imageEnd || DocumentOffset > size)) {
            Interaction().MessageBox(nullptr, "The Quillory attached to this exe file is damaged!", nullptr,
                                     MB_ICONERROR);
            Application->Terminate();
            return;
        }
        openfile(self);
    } else {
        Interaction().MessageBox(nullptr, "There is no Quillory attatched to this exe file!", nullptr, MB_ICONERROR);
        Application->Terminate();
    }
    if (TTreeNode* selected = TreeView1->Selected()) selected->MakeVisible();
    PreViewBtnClick(this);
}

void TMainForm::openfile(const std::string& fileName) {
    ReadMenuDocument(*this, fileName, DocumentOffset);
}

void TMainForm::PreViewBtnClick(TObject*) {
    Application->SetTitle(CaptionEd->Text());
    PlayForm->ApplyDocument(*this);
}
