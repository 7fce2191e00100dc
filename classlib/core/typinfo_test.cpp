#include "classlib/core/typinfo.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/core/persistent.h"
#include "classlib/core/strutils.h"

namespace {

enum TShade { shLight, shDark, shDeep };
}
DECLARE_ENUM_TYPE(TShade)
DEFINE_ENUM_TYPE(TShade, "shLight", "shDark", "shDeep")

namespace {

class TBase : public TPersistent {
    DECLARE_CLASS(TBase, TPersistent)
public:
    int32_t Width() const { return width_; }
    void SetWidth(int32_t v) { width_ = v; }
    TShade Shade() const { return shade_; }
    void SetShade(TShade v) { shade_ = v; }
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& v) { caption_ = v; }
    TNotifyEvent OnClick;

private:
    int32_t width_ = 0;
    TShade shade_ = shLight;
    std::string caption_;
};

class TDerived : public TBase {
    DECLARE_CLASS(TDerived, TBase)
public:
    bool Flag() const { return flag_; }
    void SetFlag(bool v) { flag_ = v; }
    void Clicked(TObject*) { ++clicks; }
    int clicks = 0;

private:
    bool flag_ = false;
};

}  // namespace

const TClassInfo& TBase::StaticClass() {
    static const TClassInfo info = DefineClass<TBase>("TBase", &TPersistent::StaticClass(), [](auto& c) {
        PROPERTY(c, Width).Default(0);
        PROPERTY(c, Caption);
        PROPERTY(c, Shade).Default(shLight).Hidden();
        EVENT(c, OnClick);
    });
    return info;
}

const TClassInfo& TDerived::StaticClass() {
    static const TClassInfo info = DefineClass<TDerived>("TDerived", &TBase::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Flag).Default(false);
        c.Publish("Shade").Default(shDark);
        c.Publish("Width").Default(10);
        METHOD(c, Clicked);
    });
    return info;
}

TEST(TypInfo, PublishedOrderKeepsAncestorPlaces) {
    std::vector<std::string> names;
    for (const TPropInfo* p : TDerived::StaticClass().Props()) names.push_back(p->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"Width", "Caption", "OnClick", "Flag", "Shade"}));
    EXPECT_EQ(TDerived::StaticClass().FindProp("width")->Default, 10);
    EXPECT_EQ(TBase::StaticClass().FindProp("Width")->Default, 0);
    EXPECT_EQ(TBase::StaticClass().FindProp("Shade"), nullptr);
}

TEST(TypInfo, AccessorsAndEventsByName) {
    TOwned<TDerived> d(static_cast<TDerived*>(TDerived::StaticClass().CreateInstance(nullptr)));
    SetOrdProp(*d, *GetPropInfo(*d, "Width"), 42);
    EXPECT_EQ(d->Width(), 42);
    SetEnumProp(*d, "Shade", "SHDEEP");
    EXPECT_EQ(d->Shade(), shDeep);
    SetStrProp(*d, *GetPropInfo(*d, "Caption"), "Hallo");
    EXPECT_EQ(d->Caption(), "Hallo");
    const TMethodInfo* m = d->ClassType().FindMethod("clicked");
    ASSERT_NE(m, nullptr);
    SetMethodProp(*d, *GetPropInfo(*d, "OnClick"), TMethod{d.get(), m});
    d->OnClick(d.get());
    EXPECT_EQ(d->clicks, 1);
    EXPECT_EQ(GetMethodProp(*d, *GetPropInfo(*d, "OnClick")).Code, m);
}

TEST(TypInfo, RegisteredClassesAreListedOnceInNameOrder) {
    RegisterClass(TDerived::StaticClass());
    RegisterClass(TDerived::StaticClass());
    std::vector<const TClassInfo*> classes = RegisteredClasses();
    EXPECT_EQ(std::count(classes.begin(), classes.end(), &TDerived::StaticClass()), 1);
    for (size_t i = 1; i < classes.size(); ++i)
        EXPECT_LT(StrIComp(classes[i - 1]->Name(), classes[i]->Name()), 0);
}
