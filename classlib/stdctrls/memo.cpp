#include "classlib/stdctrls/memo.h"

#include "classlib/core/class_builder.h"
#include "classlib/core/lists.h"
#include "classlib/core/resstrings.h"
#include "classlib/stdctrls/text_lines.h"

DEFINE_ENUM_TYPE(TScrollStyle, "ssNone", "ssHorizontal", "ssVertical", "ssBoth")

// --- lines ----------------------------------------------------------------------

const TClassInfo& TMemoStrings::StaticClass() {
    static const TClassInfo info = DefineClass<TMemoStrings>("TMemoStrings", &TStrings::StaticClass(), [](auto&) {});
    return info;
}

int TMemoStrings::Count() const {
    return static_cast<int>(LineSpans(memo_->Text()).size());
}

std::string TMemoStrings::Strings(int index) const {
    std::string text = memo_->Text();
    std::vector<TLineSpan> spans = LineSpans(text);
    if (index < 0 || static_cast<size_t>(index) >= spans.size()) RaiseListError(SListIndexError, index);
    const TLineSpan& span = spans[static_cast<size_t>(index)];
    return text.substr(span.Start, span.End - span.Start);
}

void TMemoStrings::Put(int index, const std::string& s) {
    CheckIndex(index);
    memo_->SetText(ReplaceLine(memo_->Text(), index, s));
}

void TMemoStrings::Insert(int index, const std::string& s) {
    if (index < 0 || index > Count()) RaiseListError(SListIndexError, index);
    memo_->SetText(InsertLine(memo_->Text(), index, s));
}

void TMemoStrings::Delete(int index) {
    CheckIndex(index);
    memo_->SetText(DeleteLine(memo_->Text(), index));
}

void TMemoStrings::Clear() {
    memo_->SetText("");
}

std::string TMemoStrings::Text() const {
    return memo_->Text();
}

void TMemoStrings::SetText(const std::string& text) {
    memo_->SetText(AdjustLineBreaks(text));
}

void TMemoStrings::ReplaceItems(std::vector<TStringItem> items) {
    std::string text;
    for (const TStringItem& item : items) text += item.String + "\r\n";
    memo_->SetText(AdjustLineBreaks(text));
}

void TMemoStrings::SetUpdateState(bool updating) {
    if (!memo_->HandleAllocated()) return;
    SendMessageA(memo_->Handle(), WM_SETREDRAW, updating ? FALSE : TRUE, 0);
    if (!updating) memo_->Refresh();
}

// --- memo -----------------------------------------------------------------------

const TClassInfo& TCustomMemo::StaticClass() {
    static const TClassInfo info = DefineClass<TCustomMemo>("TCustomMemo", &TCustomEdit::StaticClass(), [](auto& c) {
        PROPERTY(c, Alignment).Default(taLeftJustify).Hidden();
        PROPERTY(c, Lines).Hidden();
        PROPERTY(c, ScrollBars).Default(ssNone).Hidden();
        PROPERTY(c, WantReturns).Default(true).Hidden();
        PROPERTY(c, WantTabs).Default(false).Hidden();
        PROPERTY(c, WordWrap).Default(true).Hidden();
    });
    return info;
}

const TClassInfo& TMemo::StaticClass() {
    static const TClassInfo info = DefineClass<TMemo>("TMemo", &TCustomMemo::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("Align", "Alignment", "BorderStyle", "Color", "Ctl3D", "DragCursor", "DragMode", "Enabled",
                     "Font", "HideSelection", "Lines", "MaxLength", "ParentColor", "ParentCtl3D", "ParentFont",
                     "ParentShowHint", "ReadOnly", "ScrollBars", "ShowHint", "TabOrder", "TabStop", "Visible",
                     "WantReturns", "WantTabs", "WordWrap", "OnChange", "OnClick", "OnDblClick", "OnEnter",
                     "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp");
        c.Publish("ParentColor").Default(false);
        c.Publish("TabStop").Default(true);
    });
    return info;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(MakeOwned<TMemoStrings>(this)) {
    SetAutoSize(false);
    SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
    if (scroll_bars_ == value) return;
    scroll_bars_ = value;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value) {
    if (word_wrap_ == value) return;
    word_wrap_ = value;
    RecreateWnd();
}

void TCustomMemo::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    static const DWORD alignments[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    static const DWORD scrollBars[] = {0, WS_HSCROLL, WS_VSCROLL, WS_HSCROLL | WS_VSCROLL};
    // Wrapped lines must not scroll sideways.
    if (word_wrap_) p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    p.Style |= ES_MULTILINE | alignments[alignment_] | scrollBars[scroll_bars_];
}

void TCustomMemo::KeyPress(char& key) {
    TCustomEdit::KeyPress(key);
    if (key == '\r' && !want_returns_) key = 0;
}

void TCustomMemo::Dispatch(TMessage& m) {
    if (m.Msg == WM_GETDLGCODE) {
        TCustomEdit::Dispatch(m);
        if (want_tabs_) m.Result |= DLGC_WANTTAB;
        else m.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
        if (!want_returns_) m.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
        return;
    }
    TCustomEdit::Dispatch(m);
}
