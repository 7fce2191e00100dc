// TMemo: the system multi-line edit. Lines is a string list view of the
// memo's text: Lines.Text and Text are the same bytes, line breaks
// included, and editing one line leaves the rest of the text as it was.
#pragma once
#include "classlib/core/alignment.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/core/stringlist.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
DECLARE_ENUM_TYPE(TScrollStyle)

class TCustomMemo;

// The lines of a memo (any TStrings use works; objects are not kept).
class TMemoStrings : public TStrings {
    DECLARE_CLASS(TMemoStrings, TStrings)
public:
    explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}
    int Count() const override;
    std::string Strings(int index) const override;
    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    // The memo's text itself; setting it makes every line break a CR LF.
    std::string Text() const override;
    void SetText(const std::string& text) override;

protected:
    void SetUpdateState(bool updating) override;
    void ReplaceItems(std::vector<TStringItem> items) override;

private:
    TCustomMemo* memo_;
};

class TCustomMemo : public TCustomEdit {
    DECLARE_CLASS(TCustomMemo, TCustomEdit)
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* value) { lines_->Assign(value); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TScrollStyle ScrollBars() const { return scroll_bars_; }
    void SetScrollBars(TScrollStyle value);
    // Enter starts a new line (else it goes to the form: default button).
    bool WantReturns() const { return want_returns_; }
    void SetWantReturns(bool value) { want_returns_ = value; }
    // Tab types a tab (else it moves the focus).
    bool WantTabs() const { return want_tabs_; }
    void SetWantTabs(bool value) { want_tabs_ = value; }
    bool WordWrap() const { return word_wrap_; }
    void SetWordWrap(bool value);

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void KeyPress(char& key) override;

private:
    TOwned<TMemoStrings> lines_;
    TAlignment alignment_ = taLeftJustify;
    TScrollStyle scroll_bars_ = ssNone;
    bool want_returns_ = true;
    bool want_tabs_ = false;
    bool word_wrap_ = true;
};

class TMemo : public TCustomMemo {
    DECLARE_CLASS(TMemo, TCustomMemo)
public:
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};
