#include <gtest/gtest.h>

#include <cmath>

#include "classlib/core/class_builder.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/core/filer_test_classes.h"

using namespace filertest;

namespace {

// Stored rules, read-only properties, values without defaults, and defined
// properties after the published ones in definition order.
class TProbe : public TComponent {
    DECLARE_CLASS(TProbe, TComponent)
public:
    using TComponent::TComponent;
    int32_t Mode() const { return mode_; }
    void SetMode(int32_t v) { mode_ = v; }
    bool ModeStored() const { return mode_ != 3; }
    int32_t Count() const { return 42; }
    bool Flag() const { return flag_; }
    void SetFlag(bool v) { flag_ = v; }
    std::string Hidden() const { return "x"; }
    void SetHidden(const std::string&) {}
    std::string p, pUtf7;
    void DefineProperties(TFiler* filer) override {
        TComponent::DefineProperties(filer);
        filer->DefineProperty(
            "P", [this](TReader* r) { p = r->ReadString(); }, [this](TWriter* w) { w->WriteString(p); }, !p.empty());
        filer->DefineProperty(
            "P_UTF7", [this](TReader* r) { pUtf7 = r->ReadString(); }, [this](TWriter* w) { w->WriteString(pUtf7); },
            !pUtf7.empty());
    }

private:
    int32_t mode_ = 0;
    bool flag_ = false;
};

// A sub-object that leads back to itself.
class TLoop : public TPersistent {
    DECLARE_CLASS(TLoop, TPersistent)
public:
    TLoop* Self() const { return const_cast<TLoop*>(this); }
    int32_t Value() const { return 1; }
    void SetValue(int32_t) {}
};

class TLoopOwner : public TComponent {
    DECLARE_CLASS(TLoopOwner, TComponent)
public:
    using TComponent::TComponent;
    TLoop* Loop() const { return loop_.get(); }

private:
    TOwned<TLoop> loop_ = MakeOwned<TLoop>();
};

std::string Binary(const std::function<void(TWriter&)>& write) {
    TMemoryStream stream;
    TWriter writer(stream);
    write(writer);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

std::string Descendent(TComponent* root, TComponent* ancestor) {
    return ObjectBinaryToText(Binary([&](TWriter& w) { w.WriteDescendent(root, ancestor); }));
}

}  // namespace

const TClassInfo& TProbe::StaticClass() {
    static const TClassInfo info = DefineClass<TProbe>("TProbe", &TComponent::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Mode).Default(0).StoredIf(&TProbe::ModeStored);
        READONLY_PROPERTY(c, Count);
        PROPERTY(c, Flag);
        PROPERTY(c, Hidden).Stored(false);
    });
    return info;
}

const TClassInfo& TLoop::StaticClass() {
    static const TClassInfo info = DefineClass<TLoop>("TLoop", &TPersistent::StaticClass(), [](auto& c) {
        READONLY_PROPERTY(c, Self);
        PROPERTY(c, Value);
    });
    return info;
}

const TClassInfo& TLoopOwner::StaticClass() {
    static const TClassInfo info = DefineClass<TLoopOwner>("TLoopOwner", &TComponent::StaticClass(),
                                                           [](auto& c) { READONLY_PROPERTY(c, Loop); });
    return info;
}

TEST(Writer, DefaultsAreLeftOut) {
    auto form = MakeOwned<TTestForm>();
    form->SetName("Form1");
    // An empty collection is written: reading it back must empty the
    // collection even where a constructor filled it.
    EXPECT_EQ(WriteComponentToText(form.get()), Crlf("object Form1: TTestForm\n  Panels = <>\nend\n"));
    form->SetColor(12345);
    form->Font()->SetColor(kTestRed);
    form->SetVisible(false);
    EXPECT_EQ(WriteComponentToText(form.get()), Crlf(R"(object Form1: TTestForm
  Visible = False
  Color = 12345
  Font.Color = clRed
  Panels = <>
end
)"));
}

TEST(Writer, StoredRulesAccessAndMissingDefaultsDecide) {
    auto probe = MakeOwned<TProbe>(nullptr);
    probe->SetName("Probe");
    // Flag declares no default: written even when False. Count has no
    // setter, Hidden is never stored.
    EXPECT_EQ(WriteComponentToText(probe.get()), Crlf("object Probe: TProbe\n  Flag = False\nend\n"));
    probe->SetMode(3);
    EXPECT_EQ(WriteComponentToText(probe.get()), Crlf("object Probe: TProbe\n  Flag = False\nend\n"));
    probe->SetMode(4);
    EXPECT_EQ(WriteComponentToText(probe.get()), Crlf("object Probe: TProbe\n  Mode = 4\n  Flag = False\nend\n"));
}

TEST(Writer, PublishedFirstThenDefinedInDefinitionOrder) {
    auto probe = MakeOwned<TProbe>(nullptr);
    probe->SetName("Probe");
    probe->p = "a";
    probe->pUtf7 = "b";
    probe->SetDesignInfo(0x00020001);
    const std::string text = Crlf(R"(object Probe: TProbe
  Flag = False
  Left = 1
  Top = 2
  P = 'a'
  P_UTF7 = 'b'
end
)");
    EXPECT_EQ(WriteComponentToText(probe.get()), text);
    auto copy = MakeOwned<TProbe>(nullptr);
    ReadComponentFromText(copy.get(), text);
    EXPECT_EQ(copy->pUtf7, "b");
    EXPECT_EQ(copy->DesignInfo(), 0x00020001);
}

TEST(Writer, EventsOnlyNamingAPublishedMethodOfTheRoot) {
    auto form = FormFromText(Crlf(R"(object Form1: TTestForm
  OnClick = OtherClick
  object Button1: TTestButton
    OnClick = Button1Click
  end
end
)"));
    auto other = MakeOwned<TTestForm>();
    form->Button1->OnClick = [](TObject*) {};
    form->SetPartner(form->Button1);
    SetMethodProp(*form, *GetPropInfo(*form, "OnClick"),
                  TMethod{other.get(), TTestForm::StaticClass().FindMethod("OtherClick")});
    EXPECT_EQ(WriteComponentToText(form.get()), Crlf(R"(object Form1: TTestForm
  Partner = Button1
  Panels = <>
  object Button1: TTestButton
  end
end
)"));
}

TEST(Writer, ReferencesOnlyToComponentsTheRootCanName) {
    auto form = FormFromText(Crlf("object Form1: TTestForm\n  object Button1: TTestButton\n  end\nend\n"));
    auto other = FormFromText(Crlf("object Form2: TTestForm\n  object Button1: TTestButton\n  end\nend\n"));
    auto* unnamed = New<TTestButton>(form.get());
    form->Button1->SetPartner(other->Button1);
    EXPECT_EQ(WriteComponentToText(form.get()).find("Partner"), std::string::npos);
    form->Button1->SetPartner(unnamed);
    EXPECT_EQ(WriteComponentToText(form.get()).find("Partner"), std::string::npos);
    form->Button1->SetPartner(form.get());
    EXPECT_NE(WriteComponentToText(form.get()).find("    Partner = Form1\r\n"), std::string::npos);
}

TEST(Writer, DescendentKeepsOnlyDifferencesFromItsAncestor) {
    const std::string base = Crlf(R"(object Form1: TTestForm
  Caption = 'Base'
  Width = 100
  Panels = <
    item
      Caption = 'p'
    end>
  object Button1: TTestButton
    Caption = 'b1'
    OnClick = Button1Click
  end
  object Button2: TTestButton
  end
end
)");
    auto ancestor = FormFromText(base);
    auto form = FormFromText(base);
    form->SetCaption("Derived");
    form->Button1->SetCaption("");
    form->Button1->OnClick = nullptr;
    static_cast<TTestButton*>(form->FindComponent("Button2"))->SetWidth(5);
    auto* button3 = New<TTestButton>(form.get());
    button3->SetName("Button3");
    button3->SetParentComponent(form.get());
    form->SetChildOrder(button3, 0);

    std::string text = Descendent(form.get(), ancestor.get());
    EXPECT_EQ(text, Crlf(R"(inherited Form1: TTestForm
  Caption = 'Derived'
  object Button3: TTestButton [0]
  end
  inherited Button1: TTestButton
    Caption = ''
    OnClick = nil
  end
  inherited Button2: TTestButton
    Width = 5
  end
end
)"));
    // The ancestor's layout, then the descendant's, rebuild the form.
    auto rebuilt = FormFromText(base);
    ReadComponentFromText(rebuilt.get(), text);
    EXPECT_EQ(WriteComponentToText(rebuilt.get()), WriteComponentToText(form.get()));

    static_cast<TTestItem*>(form->Panels()->Items(0))->SetWidth(7);
    EXPECT_NE(Descendent(form.get(), ancestor.get()).find("  Panels = <\r\n    item\r\n      Caption = 'p'\r\n"),
              std::string::npos);
}

TEST(Writer, ValuesUseTheSmallestFittingEncoding) {
    EXPECT_EQ(Binary([](TWriter& w) { w.WriteInteger(-128); }), "\x02\x80");
    EXPECT_EQ(Binary([](TWriter& w) { w.WriteInteger(-32768); }), Bytes("\x03\x00\x80"));
    EXPECT_EQ(Binary([](TWriter& w) { w.WriteInteger(32768); }), Bytes("\x04\x00\x80\x00\x00"));
    EXPECT_EQ(Binary([](TWriter& w) { w.WriteInt64(-5); }), "\x02\xFB");
    EXPECT_EQ(Binary([](TWriter& w) { w.WriteInt64(int64_t(1) << 40); }), Bytes("\x13\0\0\0\0\0\x01\0\0"));
    EXPECT_EQ(Binary([](TWriter& w) { w.WriteString(std::string(255, 'a')); }).substr(0, 2), "\x06\xFF");
    EXPECT_EQ(Binary([](TWriter& w) { w.WriteString(std::string(256, 'a')); }).substr(0, 5), Bytes("\x0C\0\x01\0\0"));
    EXPECT_EQ(Binary([](TWriter& w) { w.WriteWideString(L"\x20AC"); }), Bytes("\x12\x01\0\0\0\xAC\x20"));
    EXPECT_EQ(Binary([](TWriter& w) { w.WriteWideChar(L'a'); }), Bytes("\x12\x01\0\0\0a\0"));
    EXPECT_EQ(Binary([](TWriter& w) { w.WriteChar('\0'); }), Bytes("\x06\x01\0"));
    EXPECT_EQ(Binary([](TWriter& w) { w.WriteIdent("true"); }), "\x09");
    EXPECT_EQ(Binary([](TWriter& w) { w.WriteIdent("clRed"); }), "\x07\x05" "clRed");
    EXPECT_EQ(Binary([](TWriter& w) { w.WriteFloat(-2.5); }), Bytes("\x05\0\0\0\0\0\0\0\xA0\x00\xC0"));
}

TEST(Writer, UnwritableValuesRaiseInsteadOfCorrupting) {
    EXPECT_THROW(Binary([](TWriter& w) { w.WriteFloat(std::nan("")); }), EWriteError);
    EXPECT_THROW(Binary([](TWriter& w) { w.WriteFloat(HUGE_VAL); }), EWriteError);
    EXPECT_THROW(Binary([](TWriter& w) { w.WriteStr(std::string(256, 'a')); }), EWriteError);
    auto form = MakeOwned<TTestForm>();
    form->SetAlign(static_cast<TTestAlign>(9));
    EXPECT_THROW(WriteComponentToText(form.get()), EWriteError);
    EXPECT_FALSE(form->ComponentState().Contains(csWriting));
}

TEST(Writer, SubObjectCyclesEnd) {
    auto owner = MakeOwned<TLoopOwner>(nullptr);
    owner->SetName("Owner");
    EXPECT_EQ(WriteComponentToText(owner.get()), Crlf("object Owner: TLoopOwner\n  Loop.Value = 1\nend\n"));
}
