// Small components, sub-objects and collections that exercise every kind
// of property the filer handles; shared by the streaming tests.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "classlib/core/class_builder.h"
#include "classlib/core/collection.h"
#include "classlib/core/component.h"
#include "classlib/core/filer.h"
#include "classlib/core/strutils.h"

namespace filertest {

// What setters and Loaded did, in order.
inline std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

enum TTestFontStyle { tfsBold, tfsItalic, tfsUnderline, tfsStrikeOut };
enum TTestAlign : int { talNone, talTop, talBottom, talClient };
using TTestFontStyles = TSet<TTestFontStyle>;

constexpr int32_t kTestBlack = 0;
constexpr int32_t kTestRed = 0xFF;
constexpr int32_t kTestBtnFace = static_cast<int32_t>(0x8000000F);

inline bool TestColorToIdent(int32_t value, std::string& ident) {
    if (value == kTestBlack) ident = "clBlack";
    else if (value == kTestRed) ident = "clRed";
    else if (value == kTestBtnFace) ident = "clBtnFace";
    else return false;
    return true;
}

inline bool TestIdentToColor(const std::string& ident, int32_t& value) {
    for (int32_t c : {kTestBlack, kTestRed, kTestBtnFace}) {
        std::string name;
        TestColorToIdent(c, name);
        if (SameText(name, ident)) {
            value = c;
            return true;
        }
    }
    return false;
}

inline const TTypeInfo* TestColorType() {
    static const TTypeInfo info = [] {
        TTypeInfo t = MakeIntegerType("TColor", INT32_MIN, INT32_MAX);
        t.IntToIdent = TestColorToIdent;
        t.IdentToInt = TestIdentToColor;
        return t;
    }();
    return &info;
}

}  // namespace filertest

DECLARE_ENUM_TYPE(filertest::TTestFontStyle)
DECLARE_ENUM_TYPE(filertest::TTestAlign)
inline DEFINE_ENUM_TYPE(filertest::TTestFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
inline DEFINE_ENUM_TYPE(filertest::TTestAlign, "alNone", "alTop", "alBottom", "alClient")

namespace filertest {

class TTestFont : public TPersistent {
    DECLARE_CLASS(TTestFont, TPersistent)
public:
    std::string Name() const { return name_; }
    void SetName(const std::string& v) { name_ = v; }
    int32_t Size() const { return size_; }
    void SetSize(int32_t v) { size_ = v; }
    TTestFontStyles Style() const { return style_; }
    void SetStyle(TTestFontStyles v) { style_ = v; }
    int32_t Color() const { return color_; }
    void SetColor(int32_t v) { color_ = v; }
    void Assign(const TPersistent* source) override {
        auto* f = dynamic_cast<const TTestFont*>(source);
        if (!f) return inherited::Assign(source);
        name_ = f->name_, size_ = f->size_, style_ = f->style_, color_ = f->color_;
    }

private:
    std::string name_;
    int32_t size_ = 8;
    TTestFontStyles style_;
    int32_t color_ = kTestBlack;
};

inline const TClassInfo& TTestFont::StaticClass() {
    static const TClassInfo info = DefineClass<TTestFont>("TTestFont", &TPersistent::StaticClass(), [](auto& c) {
        PROPERTY(c, Name);
        PROPERTY(c, Size).Default(8);
        PROPERTY(c, Style).Default(0);
        PROPERTY(c, Color, TestColorType()).Default(kTestBlack);
    });
    return info;
}

// Files its lines as the defined property "Strings", a list of strings.
class TTestLines : public TPersistent {
    DECLARE_CLASS(TTestLines, TPersistent)
public:
    std::vector<std::string> Items;
    void Assign(const TPersistent* source) override {
        auto* l = dynamic_cast<const TTestLines*>(source);
        if (!l) return inherited::Assign(source);
        Items = l->Items;
    }
    void DefineProperties(TFiler* filer) override {
        filer->DefineProperty(
            "Strings",
            [this](TReader* r) {
                Items.clear();
                r->ReadListBegin();
                while (!r->EndOfList()) Items.push_back(r->ReadString());
                r->ReadListEnd();
            },
            [this](TWriter* w) {
                w->WriteListBegin();
                for (const auto& s : Items) w->WriteString(s);
                w->WriteListEnd();
            },
            !Items.empty());
    }
};

inline const TClassInfo& TTestLines::StaticClass() {
    static const TClassInfo info = DefineClass<TTestLines>("TTestLines", &TPersistent::StaticClass(), [](auto&) {});
    return info;
}

// Raw bytes as the defined binary property "Data".
class TTestGlyph : public TPersistent {
    DECLARE_CLASS(TTestGlyph, TPersistent)
public:
    std::string Bytes;
    void Assign(const TPersistent* source) override {
        auto* g = dynamic_cast<const TTestGlyph*>(source);
        if (!g) return inherited::Assign(source);
        Bytes = g->Bytes;
    }
    void DefineProperties(TFiler* filer) override {
        filer->DefineBinaryProperty(
            "Data",
            [this](TStream* s) {
                Bytes.assign(static_cast<size_t>(s->Size()), '\0');
                s->ReadBuffer(Bytes.data(), static_cast<int32_t>(Bytes.size()));
            },
            [this](TStream* s) { s->WriteBuffer(Bytes.data(), static_cast<int32_t>(Bytes.size())); },
            !Bytes.empty());
    }
};

inline const TClassInfo& TTestGlyph::StaticClass() {
    static const TClassInfo info = DefineClass<TTestGlyph>("TTestGlyph", &TPersistent::StaticClass(), [](auto&) {});
    return info;
}

class TTestControl;

class TTestItem : public TCollectionItem {
    DECLARE_CLASS(TTestItem, TCollectionItem)
public:
    explicit TTestItem(TCollection* collection) : TCollectionItem(collection) {}
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& v) { caption_ = v; }
    int32_t Width() const { return width_; }
    void SetWidth(int32_t v) { width_ = v; }
    TTestControl* Target() const { return target_; }
    void SetTarget(TTestControl* v) { target_ = v; }
    void Assign(const TPersistent* source) override {
        auto* i = dynamic_cast<const TTestItem*>(source);
        if (!i) return inherited::Assign(source);
        caption_ = i->caption_, width_ = i->width_, target_ = i->target_;
    }

private:
    std::string caption_;
    int32_t width_ = 50;
    TTestControl* target_ = nullptr;
};

// A visual-control stand-in: parent and children, logging setters.
class TTestControl : public TComponent {
    DECLARE_CLASS(TTestControl, TComponent)
public:
    explicit TTestControl(TComponent* owner) : TComponent(owner) {}
    void BeforeDestruction() override {
        while (!children_.empty()) children_.back()->Free();
        SetParentComponent(nullptr);
        inherited::BeforeDestruction();
    }

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& v) { caption_ = v, Log().push_back(Name() + ".Caption=" + v); }
    int32_t Width() const { return width_; }
    void SetWidth(int32_t v) { width_ = v, Log().push_back(Name() + ".Width=" + std::to_string(v)); }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    int32_t Color() const { return color_; }
    void SetColor(int32_t v) { color_ = v; }
    TTestAlign Align() const { return align_; }
    void SetAlign(TTestAlign v) { align_ = v; }
    TTestFont* Font() const { return font_.get(); }
    void SetFont(TTestFont* v) { font_->Assign(v); }
    TTestControl* Partner() const { return partner_; }
    void SetPartner(TTestControl* v) { partner_ = v, Log().push_back(Name() + ".Partner=" + (v ? v->Name() : "nil")); }
    TNotifyEvent OnClick;

    TTestControl* Parent() const { return parent_; }
    const std::vector<TTestControl*>& Children() const { return children_; }
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return parent_; }
    void SetParentComponent(TComponent* parent) override {
        if (parent_) {
            auto& siblings = parent_->children_;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        }
        parent_ = dynamic_cast<TTestControl*>(parent);
        if (parent_) parent_->children_.push_back(this);
    }
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) override {
        for (TTestControl* c : children_) proc(c);
    }
    void SetChildOrder(TComponent* child, int order) override {
        auto it = std::find(children_.begin(), children_.end(), child);
        if (it == children_.end()) return;
        TTestControl* c = *it;
        children_.erase(it);
        children_.insert(children_.begin() + std::clamp<int>(order, 0, static_cast<int>(children_.size())), c);
    }
    void Loaded() override {
        inherited::Loaded();
        Log().push_back("Loaded " + Name());
    }

private:
    std::string caption_;
    int32_t width_ = 0;
    bool visible_ = true;
    int32_t color_ = kTestBtnFace;
    TTestAlign align_ = talNone;
    TOwned<TTestFont> font_ = MakeOwned<TTestFont>();
    TTestControl* partner_ = nullptr;
    TTestControl* parent_ = nullptr;
    std::vector<TTestControl*> children_;
};

class TTestButton : public TTestControl {
    DECLARE_CLASS(TTestButton, TTestControl)
public:
    using TTestControl::TTestControl;
    TEvent<void(TObject*, int)> OnChange;
};

class TTestPanel : public TTestControl {
    DECLARE_CLASS(TTestPanel, TTestControl)
public:
    using TTestControl::TTestControl;
};

// Known to layouts only as the class of a published field of TTestForm.
class TFieldOnlyButton : public TTestButton {
    DECLARE_CLASS(TFieldOnlyButton, TTestButton)
public:
    using TTestButton::TTestButton;
};

class TTestForm : public TTestControl {
    DECLARE_CLASS(TTestForm, TTestControl)
public:
    explicit TTestForm(TComponent* owner = nullptr) : TTestControl(owner) {}

    TTestButton* Button1 = nullptr;
    TTestPanel* Panel1 = nullptr;
    TFieldOnlyButton* Special = nullptr;
    int clicks = 0;
    void Button1Click(TObject*) { ++clicks; }
    void OtherClick(TObject*) {}
    void ValueChanged(TObject*, int) {}

    TOwnedCollection* Panels() const { return panels_.get(); }
    void SetPanels(TOwnedCollection* v) { panels_->Assign(v); }
    TTestLines* Lines() const { return lines_.get(); }
    void SetLines(TTestLines* v) { lines_->Assign(v); }
    TTestGlyph* Glyph() const { return glyph_.get(); }
    void SetGlyph(TTestGlyph* v) { glyph_->Assign(v); }
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    int64_t Big() const { return big_; }
    void SetBig(int64_t v) { big_ = v; }
    std::wstring Title() const { return title_; }
    void SetTitle(const std::wstring& v) { title_ = v; }
    char Hotkey() const { return hotkey_; }
    void SetHotkey(char v) { hotkey_ = v; }
    wchar_t WideKey() const { return wide_key_; }
    void SetWideKey(wchar_t v) { wide_key_ = v; }
    uint8_t Level() const { return level_; }
    void SetLevel(uint8_t v) { level_ = v; }

private:
    TOwned<TOwnedCollection> panels_ = MakeOwned<TOwnedCollection>(this, TTestItem::StaticClass());
    TOwned<TTestLines> lines_ = MakeOwned<TTestLines>();
    TOwned<TTestGlyph> glyph_ = MakeOwned<TTestGlyph>();
    double ratio_ = 0;
    int64_t big_ = 0;
    std::wstring title_;
    char hotkey_ = 0;
    wchar_t wide_key_ = 0;
    uint8_t level_ = 0;
};

inline const TClassInfo& TTestItem::StaticClass() {
    static const TClassInfo info = DefineClass<TTestItem>("TTestItem", &TCollectionItem::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Caption);
        PROPERTY(c, Width).Default(50);
        PROPERTY(c, Target);
    });
    return info;
}

inline const TClassInfo& TTestControl::StaticClass() {
    static const TClassInfo info = DefineClass<TTestControl>("TTestControl", &TComponent::StaticClass(), [](auto& c) {
        PROPERTY(c, Caption);
        PROPERTY(c, Width).Default(0);
        PROPERTY(c, Visible).Default(true);
        PROPERTY(c, Color, TestColorType()).Default(kTestBtnFace);
        PROPERTY(c, Align).Default(talNone);
        PROPERTY(c, Font);
        PROPERTY(c, Partner);
        EVENT(c, OnClick);
    });
    return info;
}

inline const TClassInfo& TTestButton::StaticClass() {
    static const TClassInfo info = DefineClass<TTestButton>("TTestButton", &TTestControl::StaticClass(), [](auto& c) {
        c.Creatable();
        EVENT(c, OnChange);
    });
    return info;
}

inline const TClassInfo& TTestPanel::StaticClass() {
    static const TClassInfo info = DefineClass<TTestPanel>("TTestPanel", &TTestControl::StaticClass(),
                                                           [](auto& c) { c.Creatable(); });
    return info;
}

inline const TClassInfo& TFieldOnlyButton::StaticClass() {
    static const TClassInfo info = DefineClass<TFieldOnlyButton>("TFieldOnlyButton", &TTestButton::StaticClass(),
                                                                 [](auto& c) { c.Creatable(); });
    return info;
}

inline const TClassInfo& TTestForm::StaticClass() {
    static const TClassInfo info = DefineClass<TTestForm>("TTestForm", &TTestControl::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Panels);
        PROPERTY(c, Lines);
        PROPERTY(c, Glyph);
        PROPERTY(c, Ratio);
        PROPERTY(c, Big).Default(0);
        PROPERTY(c, Title);
        PROPERTY(c, Hotkey).Default(0);
        PROPERTY(c, WideKey).Default(0);
        PROPERTY(c, Level).Default(0);
        FIELD(c, Button1);
        FIELD(c, Panel1);
        FIELD(c, Special);
        METHOD(c, Button1Click);
        METHOD(c, OtherClick);
        METHOD(c, ValueChanged);
    });
    return info;
}

// Layout classes known by name (TFieldOnlyButton is not).
inline const bool kTestClassesRegistered = [] {
    RegisterClass(TTestButton::StaticClass());
    RegisterClass(TTestPanel::StaticClass());
    RegisterClass(TTestForm::StaticClass());
    return true;
}();

// The bytes of a literal, embedded zeros included.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

// Text with "\n" line breaks as the canonical "\r\n" form.
inline std::string Crlf(const std::string& text) {
    return StringReplaceAll(text, "\n", "\r\n");
}

// A fresh form read from layout text (lines joined with "\r\n").
inline TOwned<TTestForm> FormFromText(const std::string& text) {
    auto form = MakeOwned<TTestForm>();
    ReadComponentFromText(form.get(), text);
    return form;
}

// Reads a binary layout as a new root and into an existing test form; only
// the class library's own exceptions may leave, and those are dropped.
inline void ReadAsRootAndIntoForm(const std::string& binary) {
    try {
        TStringStream stream(binary);
        TOwned<TComponent> root(TReader(stream).ReadRootComponent(nullptr));
    } catch (const Exception&) {
    }
    try {
        auto form = MakeOwned<TTestForm>();
        TStringStream stream(binary);
        TReader(stream).ReadRootComponent(form.get());
    } catch (const Exception&) {
    }
}

}  // namespace filertest
