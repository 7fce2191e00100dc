// The registered-class contract finds the faults it is meant to find.
#include "classlib/testing/class_contract.h"

#include <gtest/gtest.h>

#include "classlib/core/class_builder.h"
#include "classlib/core/component.h"

namespace {

// Declares defaults: one its constructor keeps, one it does not, and two the
// writer never files.
class TDefaultsProbe : public TComponent {
    DECLARE_CLASS(TDefaultsProbe, TComponent)
public:
    explicit TDefaultsProbe(TComponent* owner) : TComponent(owner) {}
    int32_t Kept() const { return kept_; }
    void SetKept(int32_t value) { kept_ = value; }
    int32_t Broken() const { return broken_; }
    void SetBroken(int32_t value) { broken_ = value; }
    int32_t Unstored() const { return unstored_; }
    void SetUnstored(int32_t value) { unstored_ = value; }
    int32_t Computed() const { return 7; }

private:
    int32_t kept_ = 4;
    int32_t broken_ = 0;
    int32_t unstored_ = 0;
};

// Takes a written value back as something else.
class TDriftingProbe : public TComponent {
    DECLARE_CLASS(TDriftingProbe, TComponent)
public:
    explicit TDriftingProbe(TComponent* owner) : TComponent(owner) {}
    int32_t Size() const { return size_; }
    void SetSize(int32_t value) { size_ = value * 2; }

private:
    int32_t size_ = 1;
};

}  // namespace

const TClassInfo& TDefaultsProbe::StaticClass() {
    static const TClassInfo info =
        DefineClass<TDefaultsProbe>("TDefaultsProbe", &TComponent::StaticClass(), [](auto& c) {
            c.Creatable();
            PROPERTY(c, Kept).Default(4);
            PROPERTY(c, Broken).Default(3);
            PROPERTY(c, Unstored).Default(5).Stored(false);
            READONLY_PROPERTY(c, Computed).Default(1);
        });
    return info;
}

const TClassInfo& TDriftingProbe::StaticClass() {
    static const TClassInfo info =
        DefineClass<TDriftingProbe>("TDriftingProbe", &TComponent::StaticClass(), [](auto& c) {
            c.Creatable();
            PROPERTY(c, Size);
        });
    return info;
}

namespace {

TEST(ClassContract, ReportsADeclaredDefaultTheConstructorMisses) {
    EXPECT_EQ(DefaultFaults(TDefaultsProbe::StaticClass()),
              std::vector<std::string>{"TDefaultsProbe.Broken is 0, declared default 3"});
    EXPECT_TRUE(DefaultFaults(TDriftingProbe::StaticClass()).empty());
}

TEST(ClassContract, ReportsALayoutThatReadsBackChanged) {
    std::vector<std::string> faults = RoundTripFaults(TDriftingProbe::StaticClass());
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_NE(faults[0].find("Size = 1"), std::string::npos);
    EXPECT_NE(faults[0].find("Size = 2"), std::string::npos);
    EXPECT_TRUE(RoundTripFaults(TDefaultsProbe::StaticClass()).empty());
}

}  // namespace
