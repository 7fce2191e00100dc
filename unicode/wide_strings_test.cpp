#include "unicode/wide_strings.h"

#include <gtest/gtest.h>

#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/kernel_handle.h"
#include "classlib/core/streams.h"
#include "classlib/core/stringlist.h"
#include "classlib/core/strutils.h"
#include "classlib/gui/win32.h"
#include "unicode/ansi_strings.h"
#include "unicode/code_pages.h"
#include "unicode/text/wide_buffers.h"

namespace {
using Bytes = std::vector<uint8_t>;

TOwned<TUcStringList> List(std::initializer_list<const wchar_t*> items = {}) {
    auto list = MakeOwned<TUcStringList>();
    for (const wchar_t* item : items) list->Add(item);
    return list;
}

std::vector<std::wstring> Items(const TUcStrings& list) {
    std::vector<std::wstring> items;
    for (int i = 0; i < list.Count(); ++i) items.push_back(list.Strings(i));
    return items;
}

std::vector<std::wstring> Expect(std::initializer_list<const wchar_t*> items) {
    return std::vector<std::wstring>(items.begin(), items.end());
}

// A file in the temporary folder, removed at the end.
class TTempFile {
public:
    explicit TTempFile(const std::wstring& stem = L"uc-list-") {
        static int counter = 0;
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        name_ = std::wstring(folder) + stem + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L".txt";
    }
    ~TTempFile() { DeleteFileW(name_.c_str()); }
    const std::wstring& Name() const { return name_; }
    void Write(const Bytes& bytes) const {
        TKernelHandle file(CreateFileW(name_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        if (!bytes.empty()) WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    Bytes Read() const {
        Bytes bytes;
        TKernelHandle file(CreateFileW(name_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!file) return bytes;
        uint8_t buffer[256];
        DWORD got = 0;
        while (ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
            bytes.insert(bytes.end(), buffer, buffer + got);
        return bytes;
    }

private:
    std::wstring name_;
};

struct TNotifications {
    int Changing = 0;
    int Changed = 0;
    void Watch(TUcStringList& list) {
        list.OnChanging = [this](TObject*) { ++Changing; };
        list.OnChange = [this](TObject*) { ++Changed; };
    }
};

const std::wstring kIndexError = L"Der Index der Liste \x00FC" L"berschreitet das Maximum (";

template <class F>
std::string MessageOf(F work) {
    try {
        work();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "(no exception)";
}
}  // namespace

TEST(WideStringListText, LinesEndedByCrLf) {
    auto list = List({L"a", L"", L"b"});
    EXPECT_EQ(list->Text(), L"a\r\n\r\nb\r\n");
    EXPECT_EQ(List()->Text(), std::wstring());
    wchar_t* text = list->GetText();
    EXPECT_EQ(std::wstring(text), L"a\r\n\r\nb\r\n");
    WideStrDispose(text);
}

TEST(WideStringListText, EveryKindOfLineBreak) {
    auto list = List();
    list->SetTextStr(L"a\r\nb\r\n");
    EXPECT_EQ(Items(*list), Expect({L"a", L"b"}));
    list->SetTextStr(L"a\n\rb");
    EXPECT_EQ(Items(*list), Expect({L"a", L"", L"b"}));
    list->SetTextStr(L"a\rb\nc\x2028" L"d\r\n\x2028" L"e");
    EXPECT_EQ(Items(*list), Expect({L"a", L"b", L"c", L"d", L"e"}));
    list->SetTextStr(std::wstring(L"a\r\nb\0c\r\n", 8));
    EXPECT_EQ(Items(*list), Expect({L"a", L"b"}));
    list->SetText(L"x\r\n\r\n");
    EXPECT_EQ(Items(*list), Expect({L"x", L""}));
}

TEST(WideStringListCapacity, GrowsInSteps) {
    auto list = List();
    std::vector<int> capacities;
    for (int i = 0; i < 95; ++i) {
        list->Add(L"x");
        if (capacities.empty() || capacities.back() != list->Capacity()) capacities.push_back(list->Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95}));
    list->SetCapacity(100);
    while (list->Count() < 101) list->Add(L"y");
    EXPECT_EQ(list->Capacity(), 125);
}

TEST(WideStringListCapacity, BelowCountRaisesAndKeepsTheItems) {
    auto list = List({L"a", L"b", L"c"});
    EXPECT_THROW(list->SetCapacity(2), EStringListError);
    EXPECT_EQ(Items(*list), Expect({L"a", L"b", L"c"}));
    list->SetCapacity(3);
    EXPECT_EQ(list->Capacity(), 3);
    list->Clear();
    EXPECT_EQ(list->Capacity(), 0);
}

TEST(WideStringListErrors, IndexErrorsNameTheIndexAndChangeNothing) {
    auto list = List({L"a", L"b"});
    EXPECT_EQ(MessageOf([&] { list->Get(5); }), WideToAnsi(kIndexError + L"5)"));
    EXPECT_EQ(MessageOf([&] { list->Delete(-1); }), WideToAnsi(kIndexError + L"-1)"));
    EXPECT_EQ(MessageOf([&] { list->Exchange(7, 9); }), WideToAnsi(kIndexError + L"7)"));
    EXPECT_EQ(MessageOf([&] { list->Exchange(0, 9); }), WideToAnsi(kIndexError + L"9)"));
    EXPECT_EQ(MessageOf([&] { list->InsertObject(3, L"x", nullptr); }), WideToAnsi(kIndexError + L"3)"));
    EXPECT_THROW(list->Put(2, L"x"), EStringListError);
    EXPECT_THROW(list->PutObject(2, nullptr), EStringListError);
    EXPECT_THROW(list->GetObject(-1), EStringListError);
    EXPECT_EQ(Items(*list), Expect({L"a", L"b"}));
    list->InsertObject(2, L"c", nullptr);
    EXPECT_EQ(Items(*list), Expect({L"a", L"b", L"c"}));
}

TEST(WideStringListErrors, MoveChecksBothPlacesFirst) {
    auto list = List({L"a", L"b", L"c"});
    list->Move(0, 2);
    EXPECT_EQ(Items(*list), Expect({L"b", L"c", L"a"}));
    EXPECT_THROW(list->Move(0, 3), EStringListError);
    EXPECT_EQ(Items(*list), Expect({L"b", L"c", L"a"}));
    list->SetSorted(true);
    EXPECT_THROW(list->Move(0, 1), EStringListError);
    EXPECT_EQ(Items(*list), Expect({L"a", L"b", L"c"}));
}

TEST(WideStringListSorted, PlacingOperationsRaise) {
    auto list = List({L"b", L"a"});
    list->SetSorted(true);
    EXPECT_EQ(Items(*list), Expect({L"a", L"b"}));
    EXPECT_EQ(MessageOf([&] { list->Put(0, L"x"); }), "Operation bei sortierten Stringlisten nicht erlaubt");
    EXPECT_THROW(list->Insert(0, L"x"), EStringListError);
    EXPECT_EQ(list->Add(L"ab"), 1);
    EXPECT_EQ(Items(*list), Expect({L"a", L"ab", L"b"}));
}

TEST(WideStringListSorted, Duplicates) {
    TObject first, second;
    auto list = List({L"a", L"c"});
    list->SetSorted(true);
    list->AddObject(L"B", &first);
    EXPECT_EQ(list->AddObject(L"b", &second), 1);  // ignored: the existing index
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Objects(1), &first);

    list->SetDuplicates(ucDupError);
    EXPECT_EQ(MessageOf([&] { list->Add(L"b"); }), "In der Stringliste sind Duplikate nicht erlaubt");
    EXPECT_EQ(list->Count(), 3);

    list->SetDuplicates(ucDupAccept);
    list->AddObject(L"b", &second);
    list->AddObject(L"b", &second);
    // A new equal item goes before the run of equals.
    EXPECT_EQ(Items(*list), Expect({L"a", L"b", L"b", L"B", L"c"}));
    int index = -1;
    EXPECT_TRUE(list->Find(L"B", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list->Find(L"bb", index));
    EXPECT_EQ(index, 4);
    EXPECT_EQ(list->IndexOf(L"C"), 4);
    EXPECT_EQ(list->IndexOf(L"d"), -1);
}

TEST(WideStringListSorted, SortOrdersUnsortedListsOnly) {
    auto list = List({L"c", L"B", L"a", L"b"});
    TNotifications seen;
    seen.Watch(*list);
    list->Sort();
    EXPECT_EQ(list->Strings(0), L"a");
    EXPECT_EQ(list->Strings(3), L"c");
    EXPECT_EQ(seen.Changing, 1);
    EXPECT_EQ(seen.Changed, 1);

    auto one = List({L"x"});
    TNotifications none;
    none.Watch(*one);
    one->Sort();
    EXPECT_EQ(none.Changing + none.Changed, 0);

    auto sorted = List({L"a", L"b"});
    sorted->SetSorted(true);
    TNotifications quiet;
    quiet.Watch(*sorted);
    sorted->CustomSort([](TUcStringList*, int i, int j) { return j - i; });
    EXPECT_EQ(Items(*sorted), Expect({L"a", L"b"}));
    EXPECT_EQ(quiet.Changing + quiet.Changed, 0);

    auto reversed = List({L"a", L"b", L"c", L"d", L"e"});
    reversed->CustomSort([](TUcStringList* l, int i, int j) { return l->Strings(j).compare(l->Strings(i)); });
    EXPECT_EQ(Items(*reversed), Expect({L"e", L"d", L"c", L"b", L"a"}));
}

TEST(WideStringListSorted, CaseSensitiveOrder) {
    auto list = List({L"b", L"B", L"a"});
    list->SetCaseSensitive(true);
    list->SetSorted(true);
    EXPECT_NE(list->IndexOf(L"B"), list->IndexOf(L"b"));
    EXPECT_EQ(list->IndexOf(L"A"), -1);
}

TEST(WideStringListNotifications, OnePairPerUpdateBracket) {
    auto list = List();
    TNotifications seen;
    seen.Watch(*list);
    list->BeginUpdate();
    list->Add(L"a");
    list->Add(L"b");
    list->BeginUpdate();
    list->Add(L"c");
    list->EndUpdate();
    EXPECT_EQ(seen.Changing, 1);
    EXPECT_EQ(seen.Changed, 0);
    list->EndUpdate();
    EXPECT_EQ(seen.Changing, 1);
    EXPECT_EQ(seen.Changed, 1);
    list->Add(L"d");
    EXPECT_EQ(seen.Changing, 2);
    EXPECT_EQ(seen.Changed, 2);
    list->SetTextStr(L"x\r\ny");
    EXPECT_EQ(seen.Changing, 3);
    EXPECT_EQ(seen.Changed, 3);
    auto empty = List();
    TNotifications none;
    none.Watch(*empty);
    empty->Clear();
    EXPECT_EQ(none.Changing + none.Changed, 0);
}

TEST(WideStringListNotifications, NoneWhileDying) {
    int calls = 0;
    {
        auto list = List({L"a"});
        list->OnChange = [&](TObject*) { ++calls; };
        list->OnChanging = [&](TObject*) { ++calls; };
    }
    EXPECT_EQ(calls, 0);
}

TEST(WideStringListSearch, NamesObjectsAndCase) {
    auto list = List({L"a=1", L"B=2"});
    EXPECT_EQ(list->IndexOfName(L"b"), 1);
    EXPECT_EQ(List({L"b"})->IndexOfName(L"b"), -1);
    list->SetNameValueSeparator(L':');
    EXPECT_EQ(list->IndexOfName(L"b"), -1);
    list->SetNameValueSeparator(L'=');
    list->SetSorted(true);
    EXPECT_EQ(list->IndexOfName(L"B"), 1);
    EXPECT_EQ(list->IndexOfName(L"c"), -1);
    EXPECT_EQ(list->IndexOf(L"A=1"), 0);
    TObject marker;
    auto objects = List({L"x"});
    objects->AddObject(L"y", &marker);
    EXPECT_EQ(objects->IndexOfObject(&marker), 1);
    EXPECT_EQ(objects->IndexOfObject(nullptr), 0);
    EXPECT_EQ(List()->NameValueSeparator(), L'=');
}

TEST(WideStringListAssign, FromWideAndAnsiLists) {
    TObject marker;
    auto source = List({L"\x4E2D"});
    source->AddObject(L"b", &marker);
    source->SetNameValueSeparator(L':');
    auto copy = List({L"old"});
    copy->Assign(source.get());
    EXPECT_TRUE(copy->Equals(source.get()));
    EXPECT_EQ(copy->Objects(1), &marker);
    EXPECT_EQ(copy->NameValueSeparator(), L':');
    EXPECT_FALSE(copy->Equals(List({L"\x4E2D", L"B"}).get()));

    auto ansi = MakeOwned<TStringList>();
    ansi->Add("caf\xE9");
    copy->Assign(ansi.get());
    EXPECT_EQ(Items(*copy), std::vector<std::wstring>{WideFromSystemAnsi("caf\xE9")});

    auto back = MakeOwned<TStringList>();
    back->Assign(List({L"p", L"q"}).get());
    ASSERT_EQ(back->Count(), 2);
    EXPECT_EQ(back->Strings(1), "q");
}

TEST(WideStringListAnsiView, ConvertsWithItsCodePage) {
    auto list = List({L"abc"});
    TAnsiStrings* view = list->AnsiStrings();
    EXPECT_EQ(view->Count(), 1);
    EXPECT_EQ(view->Strings(0), "abc");
    view->Add("x");
    EXPECT_EQ(list->Strings(1), L"x");
    TStringStream in("a\r\n\xE2\x82\xAC");
    view->LoadFromStreamWithCodePage(in, kCodePageUtf8);
    EXPECT_EQ(Items(*list), Expect({L"a", L"\x20AC"}));
    TStringStream out;
    view->SaveToStreamWithCodePage(out, kCodePageUtf7);
    EXPECT_EQ(out.DataString(), "a\r\n+IKw\r\n");
}

TEST(WideStringListFiles, ByteOrderMarksOnLoad) {
    struct Case {
        Bytes bytes;
        std::vector<std::wstring> items;
        TTextEncoding encoding;
    };
    std::vector<Case> cases = {
        {{0xFF, 0xFE, 0x41, 0x00, 0x42, 0x00}, {L"AB"}, teUtf16LE},
        {{0xFE, 0xFF, 0x00, 0x41}, {L"A"}, teUtf16BE},
        {{0xEF, 0xBB, 0xBF, 0x41}, {L"A"}, teUtf8},
        {{0x41, 0x42}, {L"AB"}, teAnsi},
        {{0xFF, 0xFE}, {}, teUtf16LE},
        {{0xFF, 0xFE, 0x41, 0x00, 0x42}, {L"A"}, teUtf16LE},
        {{0x41}, {L"A"}, teAnsi},
        {{0xFE, 0xFF, 0x4E, 0x2D, 0x00, 0x0D, 0x00, 0x0A, 0x00, 0x78}, {L"\x4E2D", L"x"}, teUtf16BE},
    };
    for (const Case& c : cases) {
        TTempFile file;
        file.Write(c.bytes);
        auto list = List({L"old"});
        list->LoadFromFile(file.Name());
        EXPECT_EQ(Items(*list), c.items) << c.bytes.size();
        EXPECT_EQ(list->LastFileEncoding(), c.encoding) << c.bytes.size();
    }
}

TEST(WideStringListFiles, Utf8FileWithAnEmojiLoadsWhole) {
    TTempFile file;
    file.Write({0xEF, 0xBB, 0xBF, 'a', 0xF0, 0x9F, 0x98, 0x80, '\r', '\n', 'b'});
    auto list = List();
    list->LoadFromFile(file.Name());
    EXPECT_EQ(Items(*list), Expect({L"a\xD83D\xDE00", L"b"}));
}

TEST(WideStringListFiles, StreamsWithAndWithoutMarkDetection) {
    auto list = List({L"old"});
    TStringStream one("A");
    list->LoadFromStream(one, false);
    EXPECT_EQ(list->Count(), 0);
    TStringStream again("A");
    list->LoadFromStream(again, true);
    EXPECT_EQ(Items(*list), Expect({L"A"}));
    TStringStream unmarked(std::string("x\0\r\0\n\0y\0", 8));
    list->LoadFromStream(unmarked, false);
    EXPECT_EQ(Items(*list), Expect({L"x", L"y"}));
}

TEST(WideStringListFiles, SavesUtf16WithAMark) {
    TTempFile file;
    List({L"x"})->SaveToFile(file.Name());
    EXPECT_EQ(file.Read(), (Bytes{0xFF, 0xFE, 0x78, 0x00, 0x0D, 0x00, 0x0A, 0x00}));

    TTempFile wideName(L"uc-\x4E2D\x6587-");
    auto list = List({L"\x4E2D", L"caf\x00E9"});
    list->SaveToFile(wideName.Name());
    auto loaded = List();
    loaded->LoadFromFile(wideName.Name());
    EXPECT_TRUE(loaded->Equals(list.get()));

    TStringStream bare;
    List({L"x"})->SaveToStream(bare, false);
    EXPECT_EQ(bare.DataString(), std::string("x\0\r\0\n\0", 6));
}

TEST(WideStringListFiles, FailuresNameTheFileAndKeepTheList) {
    std::wstring missing = L"Z:\\no\\such\\folder\\list.txt";
    auto list = List({L"keep"});
    EXPECT_EQ(MessageOf([&] { list->LoadFromFile(missing); }),
              "Datei " + WideToAnsi(missing) + " kann nicht ge\xF6" "ffnet werden");
    EXPECT_THROW(list->LoadFromFile(missing), EFOpenError);
    EXPECT_EQ(MessageOf([&] { list->SaveToFile(missing); }),
              "Datei " + WideToAnsi(missing) + " kann nicht erstellt werden");
    EXPECT_THROW(list->SaveToFile(missing), EFCreateError);
    EXPECT_EQ(Items(*list), Expect({L"keep"}));
}
