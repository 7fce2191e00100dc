#include "player/play_form.h"

#include <vector>

#include "classlib/core/class_builder.h"
#include "classlib/gui/application.h"
#include "classlib/comctrls/comctrls.h"
#include "classlib/dialogs/dialogs.h"
#include "editor/document/document_holder.h"
#include "player/draw_dib.h"
#include "player/pixwell_binding.h"
#include "editor/document/entry_data.h"
#include "classlib/core/fileutils.h"
#include "classlib/platform/interaction.h"
#include "classlib/core/paths.h"
#include "classlib/core/scope_exit.h"
#include "classlib/stdctrls/accel.h"
#include "classlib/core/strutils.h"
#include "classlib/stdctrls/buttons.h"
#include "controls/file_dir_edit.h"
#include "classlib/stdctrls/extctrls.h"
#include "classlib/stdctrls/stdctrls.h"
#include "classlib/core/treenodes.h"

TPlayForm* PlayForm = nullptr;
TCopyFileForm* CopyFileForm = nullptr;

const TClassInfo& TPlayForm::StaticClass() {
    static const TClassInfo info = DefineClass<TPlayForm>("TPlayForm", &TForm::StaticClass(), [](auto& c) {
        FIELD(c, TabControl1);
        FIELD(c, TreeView1);
        FIELD(c, Splitter1);
        FIELD(c, ScrollBox1);
        FIELD(c, PaintBox1);
        FIELD(c, Panel1);
        FIELD(c, InstallBtn);
        FIELD(c, CopyBtn);
        FIELD(c, Panel2);
        FIELD(c, QuitBtn);
        FIELD(c, StatusBar1);
        FIELD(c, ImageList1);
        FIELD(c, FontDialog1);
        FIELD(c, FontDialog2);
        FIELD(c, FontDialog3);
        FIELD(c, FontDialog4);
        METHOD(c, StatusBar1DrawPanel);
        METHOD(c, TabControl1Change);
        METHOD(c, FormShow);
        METHOD(c, TreeView1Change);
        METHOD(c, PaintBox1Paint);
        METHOD(c, FormMouseWheelDown);
        METHOD(c, FormMouseWheelUp);
        METHOD(c, QuitBtnClick);
        METHOD(c, InstallBtnClick);
        METHOD(c, CopyBtnClick);
        METHOD(c, FormDestroy);
    });
    return info;
}

const TClassInfo& TCopyFileForm::StaticClass() {
    static const TClassInfo info = DefineClass<TCopyFileForm>("TCopyFileForm", &TForm::StaticClass(), [](auto& c) {
        FIELD(c, Label1);
        FIELD(c, Edit1);
        FIELD(c, Label2);
        FIELD(c, DirectoryEdit1);
        FIELD(c, BitBtn1);
        FIELD(c, BitBtn2);
        FIELD(c, Bevel1);
        METHOD(c, DirectoryEdit1Change);
    });
    return info;
}

void TCopyFileForm::DirectoryEdit1Change(TObject*) {
    BitBtn1->SetEnabled(!Trim(DirectoryEdit1->Text()).empty());
}

TPlayForm::TPlayForm(TComponent* owner) : TForm(owner), progress_(StatusBar1) {}

TPlayForm::~TPlayForm() = default;

void TPlayForm::ApplyDocument(TMenuDocumentHolder& holder) {
    holder_ = &holder;
    TMenuSettings s = holder.MenuSettings();
    SetCaption(s.Caption);
    StatusBar1->SetVisible(s.Switches[msStatusBar]);
    Panel1->SetVisible(s.Switches[msButtonPanel]);
    InstallBtn->SetVisible(s.Switches[msInstallButton]);
    CopyBtn->SetVisible(s.Switches[msCopyButton]);
    QuitBtn->SetVisible(s.Switches[msQuitButton]);
    TabControl1->SetStyle(s.Switches[msTabsStyle] ? tsTabs : tsFlatButtons);
    TBorderStyle border = s.Switches[msBorder3D] ? bsSingle : bsNone;
    TreeView1->SetBorderStyle(border);
    ScrollBox1->SetBorderStyle(border);
    SetColor(s.WindowColor);
    Panel1->SetColor(s.WindowColor);
    Panel2->SetColor(s.WindowColor);
    StatusBar1->SetColor(s.WindowColor);
    TreeView1->SetColor(s.TreeColor);
    ScrollBox1->SetColor(s.PageColor);
    // All tabs in one update of the tab list: the window is brought up to
    // date once, so the work grows with the number of categories, not with
    // its square.
    TStrings* tabs = TabControl1->Tabs();
    WhileUpdating(*tabs, [&] {
        tabs->Clear();
        if (TTreeNode* root = holder.MenuTree().GetFirstNode())
            for (TTreeNode* c = root->getFirstChild(); c; c = c->getNextSibling())
                tabs->Add(LiteralCaption(c->Text()));  // a category's "&" is no hot key
    });
    TabControl1Change(this);
}

void TPlayForm::TabControl1Change(TObject*) {
    TreeView1->Items()->Clear();
    int index = TabControl1->TabIndex();
    if (index >= 0 && holder_) {
        TTreeNode* root = holder_->MenuTree().GetFirstNode();
        TTreeNode* category = root && index < root->Count() ? root->Item(index) : nullptr;
        if (category) CopySubtree(category);
        if (TTreeNode* first = TreeView1->Items()->GetFirstNode()) TreeView1->SetSelected(first);
    }
    PaintBox1->Invalidate();
}

void TPlayForm::CopySubtree(TTreeNode* category) {
    // Pre-order over the category's subtree without recursion: documents
    // may nest deeply. Copied nodes share the entry records; they own none.
    TTreeNodes* items = TreeView1->Items();
    struct Step {
        TTreeNode* source;
        TTreeNode* parent;  // in the copy; nullptr for the top level
    };
    WhileUpdating(*items, [&] {
        std::vector<Step> pending;
        for (TTreeNode* c = category->GetLastChild(); c; c = c->getPrevSibling()) pending.push_back({c, nullptr});
        while (!pending.empty()) {
            Step step = pending.back();
            pending.pop_back();
            TTreeNode* copy = items->AddChild(step.parent, step.source->Text());
            copy->Assign(step.source);
            for (TTreeNode* c = step.source->GetLastChild(); c; c = c->getPrevSibling()) pending.push_back({c, copy});
        }
    });
}

void TPlayForm::FormShow(TObject*) {
    if (TreeView1->CanFocus()) TreeView1->SetFocus();
}

void TPlayForm::TreeView1Change(TObject*, TTreeNode*) {
    // A newly chosen node's page starts at its top, with its caption.
    ScrollBox1->VertScrollBar()->SetPosition(0);
    PaintBox1->Invalidate();
}

int TPlayForm::DrawPicture(const std::string& name, int y) {
    TCanvas* canvas = PaintBox1->Canvas();
    const TDIB* picture = nullptr;
    if (name == cached_picture_name_ && cached_picture_.Bits) {
        picture = &cached_picture_;
    } else {
        FreeCachedPicture();
        // No name, no picture file: the image library is not asked.
        TDIB fresh{};
        if (!name.empty()) {
            ++picture_loads_;
            OpenDib(&fresh, name.c_str(), 0, Handle());
        }
        if (fresh.Bits) {
            cached_picture_ = fresh;
            cached_picture_name_ = name;
            picture = &cached_picture_;
        }
    }
    if (!picture) return y;
    int w = DIBWidth(*picture), h = DIBHeight(*picture);
    DrawDIB(canvas->Handle(), 10, y, w, h, *picture, 0, 0, w, h, true, SRCCOPY, true, nullptr);
    return y + h + 10;
}

void TPlayForm::FreeCachedPicture() {
    if (!cached_picture_.Bits) return;
    deldib(cached_picture_);
    cached_picture_ = TDIB{};
}

void TPlayForm::PaintBox1Paint(TObject*) {
    current_file_.clear();
    TCanvas* canvas = PaintBox1->Canvas();
    TColor page = ScrollBox1->Color();
    canvas->Brush().SetColor(page);
    canvas->Pen().SetColor(page);
    canvas->Rectangle(0, 0, PaintBox1->Width(), PaintBox1->Height());
    TTreeNode* selected = TreeView1->Selected();
    if (selected && selected->ImageIndex() != 0) {
        const auto* entry = static_cast<const TEntryData*>(selected->Data());
        canvas->Font().Assign(FontDialog1->Font());
        canvas->TextOut(10, 10, selected->Text());
        int y = canvas->TextHeight(selected->Text()) * 2 + 10;
        y = DrawPicture(entry ? entry->LinkedPicture : "", y);
        canvas->Font().Assign(FontDialog2->Font());
        RECT r{10, y, PaintBox1->Width() - 10, PaintBox1->Height()};
        const char* text = entry ? entry->Text : "";
        // The text as typed: an "&" in it marks no hot key.
        DrawTextA(canvas->Handle(), text, -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        DrawTextA(canvas->Handle(), text, -1, &r, DT_WORDBREAK | DT_NOPREFIX);
        if (r.bottom != PaintBox1->Height()) PaintBox1->SetHeight(r.bottom);
        current_file_ = entry ? entry->LinkedFile : "";
    } else if (selected) {
        canvas->Font().Assign(FontDialog1->Font());
        canvas->TextOut(10, 10, selected->Text());
        int height = canvas->TextHeight(selected->Text()) * 2 + 10;
        if (PaintBox1->Height() != height) PaintBox1->SetHeight(height);
    }
    InstallBtn->SetEnabled(!current_file_.empty());
    CopyBtn->SetEnabled(!current_file_.empty());
}

void TPlayForm::FormMouseWheelDown(TObject*, TShiftState, TPoint, bool&) {
    TControlScrollBar* bar = ScrollBox1->VertScrollBar();
    bar->SetPosition(bar->Position() + 50);
}

void TPlayForm::FormMouseWheelUp(TObject*, TShiftState, TPoint, bool&) {
    TControlScrollBar* bar = ScrollBox1->VertScrollBar();
    bar->SetPosition(bar->Position() - 50);
}

void TPlayForm::QuitBtnClick(TObject*) {
    Close();
}

void TPlayForm::InstallBtnClick(TObject*) {
    Interaction().ShellExecute(Handle(), "open", current_file_.c_str(), nullptr, nullptr, SW_SHOW);
}

void TPlayForm::CopyBtnClick(TObject*) {
    std::string file = current_file_;
    CopyFileForm->Edit1->SetText(file);
    CopyFileForm->DirectoryEdit1->SetText("c:\\");
    if (CopyFileForm->ShowModal() != mrOk) return;
    std::string folder = CopyFileForm->DirectoryEdit1->Text();
    if (Trim(folder).empty()) return;  // no folder chosen: nothing to copy to
    folder = IncludeTrailingBackslash(folder);
    ForceDirectories(folder);
    CopyFileWithProgress(file, folder + ExtractFileName(file), *this);
}

void TPlayForm::FormDestroy(TObject*) {
    FreeCachedPicture();
}

void TPlayForm::StatusBar1DrawPanel(TStatusBar*, TStatusPanel*, const TRect& rect) {
    progress_.DrawPanel(StatusBar1->Canvas(), rect);
}

void TPlayForm::SetProStatus(int percent) {
    progress_.SetStatus(percent);
}

void TPlayForm::SBarPaintMore() {
    progress_.PaintMore();
}

void TPlayForm::Dispatch(TMessage& m) {
    if (m.Msg == WM_USER) {
        SetProStatus(static_cast<int>(m.WParam));
        return;
    }
    TForm::Dispatch(m);
}
