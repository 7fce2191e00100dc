// Wide properties and wide lists through the real form-stream writer and
// reader.
#include "unicode/wide_filing.h"

#include <gtest/gtest.h>

#include "classlib/core/class_builder.h"
#include "classlib/core/scope_exit.h"
#include "unicode/text/uc_errors.h"
#include "unicode/wide_strings.h"

namespace {

class TWideHolder : public TComponent {
    DECLARE_CLASS(TWideHolder, TComponent)
public:
    explicit TWideHolder(TComponent* owner) : TComponent(owner), items_(MakeOwned<TUcStringList>()) {}

    const std::wstring& P() const { return p_; }
    void SetP(const std::wstring& value) { p_ = value; }
    wchar_t C() const { return c_; }
    void SetC(wchar_t value) { c_ = value; }
    TUcStringList* Items() const { return items_.get(); }
    void SetItems(TUcStringList* value) { items_->Assign(value); }

    void DefineProperties(TFiler* filer) override {
        TComponent::DefineProperties(filer);
        DefineWideProperties(filer, this);
    }

private:
    std::wstring p_;
    wchar_t c_ = 0;
    TOwned<TUcStringList> items_;
};

std::string StreamBytes(TMemoryStream& stream) {
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

std::string Written(TWideHolder* holder) {
    TMemoryStream stream;
    {
        TWriter writer(stream);
        writer.WriteRootComponent(holder);
    }
    return StreamBytes(stream);
}

TOwned<TWideHolder> ReadBack(const std::string& bytes) {
    TMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
    auto holder = MakeOwned<TWideHolder>(nullptr);
    TReader reader(stream);
    reader.ReadRootComponent(holder.get());
    return holder;
}

// A property list as the reader meets it after a component's header.
class TPropertyBytes {
public:
    TPropertyBytes() : writer_(MakeOwned<TWriter>(stream_)) {}
    TWriter& Writer() { return *writer_; }
    // Reads the list into holder; the reader has owner as its owner.
    void ReadInto(TWideHolder* holder, TComponent* owner) {
        writer_->WriteListEnd();
        writer_.reset();
        stream_.SetPosition(0);
        TReader reader(stream_);
        reader.SetOwner(owner);
        reader.ReadProperties(holder);
    }

private:
    TMemoryStream stream_;
    TOwned<TWriter> writer_;
};

bool Contains(const std::string& bytes, const std::string& part) {
    return bytes.find(part) != std::string::npos;
}

}  // namespace

const TClassInfo& TWideHolder::StaticClass() {
    static const TClassInfo info = DefineClass<TWideHolder>("TWideHolder", &TComponent::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, P);
        PROPERTY(c, C);
        PROPERTY(c, Items);
    });
    return info;
}

TEST(WideFiling, WideStringsBeyondSevenBitsGetAUtf7Companion) {
    auto holder = MakeOwned<TWideHolder>(nullptr);
    holder->SetName("Holder1");
    holder->SetP(L"abc");
    EXPECT_FALSE(Contains(Written(holder.get()), "P_UTF7"));

    holder->SetP(L"\u00E9");
    std::string bytes = Written(holder.get());
    size_t published = bytes.find(std::string("\x01P\x12", 3));
    size_t companion = bytes.find(std::string("\x06P_UTF7\x06\x04+AOk"));
    ASSERT_NE(published, std::string::npos);
    ASSERT_NE(companion, std::string::npos);
    EXPECT_LT(published, companion);
}

TEST(WideFiling, WideCharactersAreWrittenAsOneWideUnit) {
    auto holder = MakeOwned<TWideHolder>(nullptr);
    holder->SetName("Holder1");
    holder->SetC(L'\u0416');
    EXPECT_TRUE(Contains(Written(holder.get()), std::string("\x02" "CW\x12\x01\x00\x00\x00\x16\x04", 10)));
    EXPECT_FALSE(Contains(Written(holder.get()), "C_UTF7"));
    EXPECT_EQ(ReadBack(Written(holder.get()))->C(), L'\u0416');
}

TEST(WideFiling, ListsAreWrittenTwiceOnlyWhenAnItemNeedsIt) {
    auto holder = MakeOwned<TWideHolder>(nullptr);
    holder->SetName("Holder1");
    EXPECT_FALSE(Contains(Written(holder.get()), "WideStrings"));
    holder->Items()->Add(L"a");
    holder->Items()->Add(L"b");
    std::string ascii = Written(holder.get());
    EXPECT_TRUE(Contains(ascii, "\x11Items.WideStrings\x01\x06\x01" "a\x06\x01" "b\x00"));
    EXPECT_FALSE(Contains(ascii, "_UTF7"));

    holder->Items()->Add(L"\u65E5\u672C");
    std::string wide = Written(holder.get());
    size_t ansi = wide.find("Items.WideStrings\x01");
    size_t utf7 = wide.find("Items.WideStrings_UTF7\x01");
    ASSERT_NE(ansi, std::string::npos);
    ASSERT_NE(utf7, std::string::npos);
    EXPECT_LT(ansi, utf7);
    EXPECT_TRUE(Contains(wide, "\x06\x07+ZeVnLA"));
}

TEST(WideFiling, TheUtf7CopyOfAListWinsOnReading) {
    auto holder = MakeOwned<TWideHolder>(nullptr);
    holder->SetName("Holder1");
    holder->Items()->Add(L"a");
    holder->Items()->Add(L"\u65E5\u672C");
    auto copy = ReadBack(Written(holder.get()));
    EXPECT_TRUE(copy->Items()->Equals(holder->Items()));

    // Without the UTF companions only the ANSI copy is left.
    TRestore<bool> restore(UtfStreamingAtRunTime);
    UtfStreamingAtRunTime = false;
    auto ansiOnly = ReadBack(Written(holder.get()));
    ASSERT_EQ(ansiOnly->Items()->Count(), 2);
    EXPECT_EQ(ansiOnly->Items()->Strings(1), L"??");
}

TEST(WideFiling, CompanionsAreDecodedOnlyForAReaderWithAnOwner) {
    auto owner = MakeOwned<TComponent>(nullptr);
    for (TComponent* readerOwner : {static_cast<TComponent*>(nullptr), owner.get()}) {
        auto holder = MakeOwned<TWideHolder>(nullptr);
        holder->SetP(L"old");
        holder->SetC(L'o');
        TPropertyBytes props;
        props.Writer().WriteStr("PW");
        props.Writer().WriteString("\xC3\xA9");
        props.Writer().WriteStr("C_UTF7");
        props.Writer().WriteString("+BBY");
        props.ReadInto(holder.get(), readerOwner);
        EXPECT_EQ(holder->P(), readerOwner ? L"\u00E9" : L"old");
        EXPECT_EQ(holder->C(), readerOwner ? L'\u0416' : L'o');
    }
}

TEST(WideFiling, ReadersWithoutOwnerKeepTheItemsAListHas) {
    auto holder = MakeOwned<TWideHolder>(nullptr);
    holder->Items()->Add(L"kept");
    TPropertyBytes props;
    props.Writer().WriteStr("Items.WideStringsW");
    props.Writer().WriteListBegin();
    props.Writer().WriteString("\xC3\xA9");
    props.Writer().WriteListEnd();
    props.ReadInto(holder.get(), nullptr);
    ASSERT_EQ(holder->Items()->Count(), 1);
    EXPECT_EQ(holder->Items()->Strings(0), L"kept");

    // An empty list takes them all the same.
    auto empty = MakeOwned<TWideHolder>(nullptr);
    TPropertyBytes again;
    again.Writer().WriteStr("Items.WideStringsW");
    again.Writer().WriteListBegin();
    again.Writer().WriteString("\xC3\xA9");
    again.Writer().WriteListEnd();
    again.ReadInto(empty.get(), nullptr);
    ASSERT_EQ(empty->Items()->Count(), 1);
    EXPECT_EQ(empty->Items()->Strings(0), L"\u00E9");
}

TEST(WideFiling, OldListFormsAreRead) {
    auto owner = MakeOwned<TComponent>(nullptr);
    auto holder = MakeOwned<TWideHolder>(nullptr);
    TPropertyBytes props;
    props.Writer().WriteStr("Items.Strings");
    props.Writer().WriteListBegin();
    props.Writer().WriteString("\xFC");
    props.Writer().WriteWideString(L"\u0416");
    props.Writer().WriteListEnd();
    props.ReadInto(holder.get(), owner.get());
    ASSERT_EQ(holder->Items()->Count(), 2);
    EXPECT_EQ(holder->Items()->Strings(0), L"\u00FC");
    EXPECT_EQ(holder->Items()->Strings(1), L"\u0416");

    TPropertyBytes text;
    text.Writer().WriteStr("Items.Strings");
    text.Writer().WriteWideString(L"x\r\ny");
    text.ReadInto(holder.get(), owner.get());
    EXPECT_EQ(holder->Items()->Text(), L"x\r\ny\r\n");
}

TEST(WideFiling, BadCompanionValuesAreReadErrors) {
    auto owner = MakeOwned<TComponent>(nullptr);
    auto readC = [&](const std::function<void(TWriter&)>& value) {
        auto holder = MakeOwned<TWideHolder>(nullptr);
        TPropertyBytes props;
        props.Writer().WriteStr("CW");
        value(props.Writer());
        props.ReadInto(holder.get(), owner.get());
        return holder->C();
    };
    EXPECT_EQ(readC([](TWriter& w) { w.WriteWideString(std::wstring()); }), L'\0');
    EXPECT_EQ(readC([](TWriter& w) { w.WriteString("\xFC"); }), L'\u00FC');
    EXPECT_THROW(readC([](TWriter& w) { w.WriteWideString(L"ab"); }), EReadError);
    EXPECT_THROW(readC([](TWriter& w) { w.WriteInteger(65); }), EReadError);

    auto holder = MakeOwned<TWideHolder>(nullptr);
    TPropertyBytes props;
    props.Writer().WriteStr("P_UTF7");
    props.Writer().WriteString("+AOl-");
    EXPECT_THROW(props.ReadInto(holder.get(), owner.get()), EUcGeneralError);
}
