// TStrings filed in layouts through the real reader and writer.
#include <gtest/gtest.h>

#include "classlib/core/class_builder.h"
#include "classlib/core/filer.h"
#include "classlib/core/stringlist.h"

namespace {

class THolder : public TComponent {
    DECLARE_CLASS(THolder, TComponent)
public:
    explicit THolder(TComponent* owner) : TComponent(owner), items_(MakeOwned<TStringList>()) {}
    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* value) { items_->Assign(value); }

private:
    TOwned<TStringList> items_;
};

}  // namespace

const TClassInfo& THolder::StaticClass() {
    static const TClassInfo info = DefineClass<THolder>("THolder", &TComponent::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Items);
    });
    return info;
}

TEST(StringListFiling, ItemsRoundTripThroughLayoutText) {
    auto holder = MakeOwned<THolder>(nullptr);
    holder->SetName("Holder1");
    holder->Items()->Add("one");
    holder->Items()->Add(std::string("with\0zero", 9));
    holder->Items()->Add("It's \xFC" "ber");
    std::string text = WriteComponentToText(holder.get());
    EXPECT_NE(text.find("Items.Strings = ("), std::string::npos);

    auto copy = MakeOwned<THolder>(nullptr);
    ReadComponentFromText(copy.get(), text);
    ASSERT_EQ(copy->Items()->Count(), 3);
    EXPECT_EQ(copy->Items()->Strings(1), std::string("with\0zero", 9));
    EXPECT_EQ(copy->Items()->Strings(2), "It's \xFC" "ber");
    EXPECT_EQ(WriteComponentToText(copy.get()), text);
}

TEST(StringListFiling, EmptyListsAreNotWritten) {
    auto holder = MakeOwned<THolder>(nullptr);
    holder->SetName("Holder1");
    EXPECT_EQ(WriteComponentToText(holder.get()).find("Items"), std::string::npos);
}
