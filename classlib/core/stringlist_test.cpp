#include "classlib/core/stringlist.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>

#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/core/streams.h"

namespace {

using testing::StrEq;
using testing::ThrowsMessage;
using Lines = std::vector<std::string>;

Lines LinesOf(const TStrings& list) {
    Lines lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
    return lines;
}

void Fill(TStrings& list, std::initializer_list<const char*> lines) {
    for (const char* s : lines) list.Add(s);
}

const auto kSortedError = ThrowsMessage<EListError>(StrEq("Operation bei sortierten Listen nicht zul\xE4ssig"));
const auto kDuplicateError = ThrowsMessage<EListError>(StrEq("Stringliste erlaubt keine Duplikate"));

TObject* const kTag1 = reinterpret_cast<TObject*>(0x1000);
TObject* const kTag2 = reinterpret_cast<TObject*>(0x2000);

TEST(TStringList, ItemsCarryObjectsThroughEdits) {
    TStringList list;
    list.AddObject("one", kTag1);
    list.Add("three");
    list.InsertObject(1, "two", kTag2);
    list.Append("four");
    list.Put(0, "ONE");
    list.Move(3, 0);
    list.Exchange(1, 2);
    EXPECT_EQ(LinesOf(list), (Lines{"four", "two", "ONE", "three"}));
    EXPECT_EQ(list.Objects(2), kTag1);
    EXPECT_EQ(list.IndexOfObject(kTag2), 1);
    EXPECT_EQ(list.IndexOf("one"), 2);  // CompareText: case does not count
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("one"), -1);
}

TEST(TStringList, BadIndexesRaiseAndChangeNothing) {
    TStringList list;
    Fill(list, {"a", "b"});
    EXPECT_THAT([&] { list.Strings(2); },
                ThrowsMessage<EListError>(StrEq("Listenindex \xFC" "berschreitet das Maximum (2)")));
    EXPECT_THROW(list.Insert(3, "x"), EListError);
    EXPECT_THROW(list.Move(0, 2), EListError);
    EXPECT_THROW(list.Put(-1, "x"), EListError);
    EXPECT_THROW(list.Exchange(0, 5), EListError);
    EXPECT_THROW(list.SetCapacity(1), EListError);
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b"}));
}

TEST(TStringList, NamesAndValues) {
    TStringList list;
    Fill(list, {"plain", "Width=10", "Path=C:\\a=b", "width=99"});
    EXPECT_EQ(list.Names(0), "");
    EXPECT_EQ(list.Names(2), "Path");
    EXPECT_EQ(list.IndexOfName("plain"), -1);
    EXPECT_EQ(list.Values("path"), "C:\\a=b");  // everything after the first '='
    list.SetValue("width", "20");
    list.SetValue("Height", "5");
    list.SetValue("Path", "");
    EXPECT_EQ(LinesOf(list), (Lines{"plain", "width=20", "width=99", "Height=5"}));
}

TEST(TStringList, SetValueOnASortedListLeavesNoEmptyItem) {
    TStringList list;
    list.SetSorted(true);
    list.SetValue("b", "2");
    list.SetValue("a", "1");
    EXPECT_EQ(LinesOf(list), (Lines{"a=1", "b=2"}));
    EXPECT_THAT([&] { list.SetValue("a", "9"); }, kSortedError);  // in place would break the order
    EXPECT_EQ(LinesOf(list), (Lines{"a=1", "b=2"}));
}

TEST(TStringList, TextBreaksLines) {
    TStringList list;
    list.SetText("crlf\r\nlf\ncr\rlast");
    EXPECT_EQ(LinesOf(list), (Lines{"crlf", "lf", "cr", "last"}));
    list.SetText("\n\r");
    EXPECT_EQ(LinesOf(list), (Lines{"", ""}));  // LF then CR: two breaks
    list.SetText("one\r\n\r\n");
    EXPECT_EQ(LinesOf(list), (Lines{"one", ""}));  // the final break adds no line
    EXPECT_EQ(list.Text(), "one\r\n\r\n");
    list.SetText("");
    EXPECT_EQ(list.Text(), "");
}

TEST(TStringList, TextAndCommaTextAreBinarySafe) {
    const Lines lines{std::string("a\0b", 3), "\xFC\xFF\x80\x01"};
    TStringList list, copy;
    for (const std::string& s : lines) list.Add(s);
    copy.SetText(list.Text());
    EXPECT_EQ(LinesOf(copy), lines);
    copy.SetCommaText(list.CommaText());
    EXPECT_EQ(LinesOf(copy), lines);
}

TEST(TStringList, CommaTextQuotesWhatWouldNotSurvive) {
    TStringList list, copy;
    Fill(list, {"plain", "two words", "a,b", "say \"hi\"", "", "\xE4\xF6\xFC"});
    EXPECT_EQ(list.CommaText(), "plain,\"two words\",\"a,b\",\"say \"\"hi\"\"\",\"\",\xE4\xF6\xFC");
    copy.SetCommaText(list.CommaText());
    EXPECT_EQ(LinesOf(copy), LinesOf(list));

    list.SetCommaText("  a b,\"c \"\"d\"\"\" ,, e ,");
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c \"d\"", "", "e", ""}));
    list.SetCommaText("\"unclosed, still one");
    EXPECT_EQ(LinesOf(list), (Lines{"unclosed, still one"}));

    list.SetDelimiter(';');
    list.SetQuoteChar('\'');
    list.SetDelimitedText("a,b;'it''s'");
    EXPECT_EQ(LinesOf(list), (Lines{"a,b", "it's"}));
    EXPECT_EQ(list.DelimitedText(), "a,b;'it''s'");
}

TEST(TStringList, EventsFireAroundEachChangeAndOnceForAnUpdate) {
    TStringList list;
    int changing = 0, changed = 0;
    list.OnChanging = [&](TObject* sender) { changing += sender == &list; };
    list.OnChange = [&](TObject*) { ++changed; };
    list.Add("a");
    list.PutObject(0, kTag1);
    EXPECT_EQ(changing, 2);
    list.BeginUpdate();
    list.BeginUpdate();
    Fill(list, {"b", "c"});
    list.EndUpdate();
    EXPECT_EQ(changed, 2);  // still inside the outer update
    list.EndUpdate();
    EXPECT_EQ(changing, 3);
    EXPECT_EQ(changed, 3);
    list.SetText("x\ny\nz");
    list.Sort();
    EXPECT_EQ(changed, 5);
    list.EndUpdate();  // unmatched: ignored, later changes still report
    list.Add("w");
    EXPECT_EQ(changed, 6);
}

TEST(TStringList, AVetoFromOnChangingLeavesTheList) {
    TStringList list;
    Fill(list, {"b", "a"});
    list.OnChanging = [](TObject*) { throw EAbort("veto"); };
    EXPECT_THROW(list.Add("c"), EAbort);
    EXPECT_THROW(list.Sort(), EAbort);
    EXPECT_THROW(list.SetText("x"), EAbort);
    EXPECT_EQ(LinesOf(list), (Lines{"b", "a"}));
}

TEST(TStringList, SortedListsKeepOrderAndFindByBinarySearch) {
    TStringList list;
    Fill(list, {"pear", "Apple", "fig"});
    list.SetSorted(true);
    EXPECT_EQ(list.Add("banana"), 1);
    EXPECT_EQ(LinesOf(list), (Lines{"Apple", "banana", "fig", "pear"}));
    int index = -1;
    EXPECT_TRUE(list.Find("FIG", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list.Find("cherry", index));
    EXPECT_EQ(index, 2);  // where it would go
    EXPECT_FALSE(list.Find("zucchini", index));
    EXPECT_EQ(index, 4);
    EXPECT_EQ(list.IndexOf("PEAR"), 3);

    TStringList unsorted;  // no order to search by: searched through
    Fill(unsorted, {"z", "a"});
    EXPECT_TRUE(unsorted.Find("A", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(unsorted.Find("m", index));
    EXPECT_EQ(index, 2);
}

TEST(TStringList, DuplicatesDecideForSortedLists) {
    TStringList list;
    list.SetSorted(true);
    Fill(list, {"b", "a"});
    EXPECT_EQ(list.Add("B"), 1);  // dupIgnore: the existing index, nothing added
    list.SetDuplicates(dupAccept);
    list.Add("A");
    list.SetDuplicates(dupError);
    EXPECT_THAT([&] { list.Add("b"); }, kDuplicateError);
    EXPECT_EQ(list.Count(), 3);
    TStringList unsorted;
    unsorted.SetDuplicates(dupError);  // only sorted lists check
    Fill(unsorted, {"x", "x"});
    EXPECT_EQ(unsorted.Count(), 2);
}

TEST(TStringList, SortedListsRefuseToPlaceItems) {
    TStringList list;
    Fill(list, {"c", "a", "b"});
    list.SetSorted(true);
    EXPECT_THAT([&] { list.Insert(0, "z"); }, kSortedError);
    EXPECT_THAT([&] { list.Put(0, "z"); }, kSortedError);
    EXPECT_THAT([&] { list.Exchange(0, 2); }, kSortedError);
    EXPECT_THAT([&] { list.Move(0, 2); }, kSortedError);
    list.CustomSort([](TStringList* l, int i, int j) { return -l->Strings(i).compare(l->Strings(j)); });
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c"}));
}

TEST(TStringList, CaseSensitivityResortsASortedList) {
    TStringList list;
    Fill(list, {"b", "B", "a", "A"});
    list.SetSorted(true);
    list.SetDuplicates(dupAccept);
    list.SetCaseSensitive(true);
    EXPECT_EQ(LinesOf(list), (Lines{"A", "B", "a", "b"}));
    int index = -1;
    EXPECT_TRUE(list.Find("a", index));
    EXPECT_EQ(index, 2);
}

TEST(TStringList, CustomSortComparesByIndexAndMovesObjectsAlong) {
    TStringList list;
    list.AddObject("ccc", kTag1);
    list.AddObject("a", kTag2);
    list.Add("bb");
    list.CustomSort([](TStringList* l, int i, int j) {
        return static_cast<int>(l->Strings(i).size()) - static_cast<int>(l->Strings(j).size());
    });
    EXPECT_EQ(LinesOf(list), (Lines{"a", "bb", "ccc"}));
    EXPECT_EQ(list.Objects(0), kTag2);
    EXPECT_EQ(list.Objects(2), kTag1);
}

TEST(TStringList, WholeContentReplacementIsAllOrNothing) {
    TStringList list, source;
    list.SetSorted(true);
    list.SetDuplicates(dupError);
    Fill(list, {"keep", "me"});
    EXPECT_THAT([&] { list.SetText("x\ny\nX"); }, kDuplicateError);
    EXPECT_THROW(list.SetCommaText("p,q,p"), EListError);
    Fill(source, {"d", "d"});
    EXPECT_THROW(list.Assign(&source), EListError);
    EXPECT_EQ(LinesOf(list), (Lines{"keep", "me"}));

    list.SetDuplicates(dupIgnore);
    list.SetText("b\na\nB\nc");
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c"}));  // the first of equal lines stays
}

TEST(TStringList, AssignAndEquals) {
    TStringList source, dest;
    source.AddObject("x", kTag1);
    source.AddObject("y", kTag2);
    Fill(dest, {"old"});
    dest.Assign(&source);
    EXPECT_EQ(dest.Objects(1), kTag2);
    EXPECT_TRUE(dest.Equals(&source));
    dest.Assign(&dest);
    dest.AddStrings(&dest);
    EXPECT_EQ(LinesOf(dest), (Lines{"x", "y", "x", "y"}));
    EXPECT_EQ(dest.Objects(3), kTag2);
    source.Put(1, "Y");
    EXPECT_FALSE(source.Equals(&dest));  // exact bytes, and the count
    EXPECT_FALSE(source.Equals(nullptr));

    TOwned<TPersistent> other = MakeOwned<TPersistent>();
    EXPECT_THAT([&] { dest.Assign(other.get()); },
                ThrowsMessage<EConvertError>(StrEq("TPersistent kann nicht zu TStringList zugewiesen werden")));
}

TEST(TStringList, ClassInformation) {
    const TClassInfo& info = TStringList::StaticClass();
    EXPECT_TRUE(info.InheritsFrom(TStrings::StaticClass()));
    EXPECT_FALSE(TStrings::StaticClass().CanCreate());
    TOwned<TObject> made(info.CreateInstance(nullptr));
    EXPECT_EQ(made->ClassName(), "TStringList");
    EXPECT_NE(dynamic_cast<TStringList*>(made.get()), nullptr);
}

TEST(TStringList, StreamsAndFilesCarryEveryByte) {
    TStringList list, loaded;
    list.Add(std::string("t\0o", 3));
    list.Add("\xE4nderung");
    TStringStream stream;
    list.SaveToStream(stream);
    EXPECT_EQ(stream.DataString(), std::string("t\0o\r\n\xE4nderung\r\n", 15));

    TStringStream source("skip\nfrom\rhere");
    source.SetPosition(5);
    loaded.LoadFromStream(source);
    EXPECT_EQ(LinesOf(loaded), (Lines{"from", "here"}));

    std::string path = (std::filesystem::temp_directory_path() / "quillory_stringlist_test.txt").string();
    list.SaveToFile(path);
    loaded.LoadFromFile(path);
    std::filesystem::remove(path);
    EXPECT_TRUE(loaded.Equals(&list));
    EXPECT_THROW(loaded.LoadFromFile(path), EFOpenError);
}

// Claims more bytes than it holds, as a truncated file would.
class TShortStream : public TStream {
public:
    explicit TShortStream(std::string data) : data_(std::move(data)) {}
    int32_t Read(void* buffer, int32_t count) override {
        size_t n = std::min(static_cast<size_t>(count), data_.size() - position_);
        position_ += data_.copy(static_cast<char*>(buffer), n, position_);
        return static_cast<int32_t>(n);
    }
    int32_t Write(const void*, int32_t) override { return 0; }
    int64_t Seek(int64_t, TSeekOrigin) override { return static_cast<int64_t>(position_); }
    int64_t Size() override { return static_cast<int64_t>(data_.size()) + 10; }

private:
    std::string data_;
    size_t position_ = 0;
};

TEST(TStringList, ATruncatedStreamRaisesAndLeavesTheList) {
    TStringList list;
    Fill(list, {"keep"});
    TShortStream stream("new\ntext");
    EXPECT_THROW(list.LoadFromStream(stream), EReadError);
    EXPECT_EQ(LinesOf(list), (Lines{"keep"}));
}

// Records the properties an object defines.
class TDefinitionRecorder : public TFiler {
public:
    explicit TDefinitionRecorder(TStream& stream) : TFiler(stream) {}
    void DefineProperty(const std::string& name, TReaderProc read, TWriterProc write, bool hasData) override {
        names.push_back(name);
        stored = hasData;
        complete = read && write;
    }
    void DefineBinaryProperty(const std::string& name, TStreamProc, TStreamProc, bool) override {
        names.push_back(name);
    }
    Lines names;
    bool stored = false, complete = false;
};

bool StoresStrings(TStrings& list, TPersistent* ancestor = nullptr) {
    TMemoryStream stream;
    TDefinitionRecorder filer(stream);
    filer.SetAncestor(ancestor);
    list.DefineProperties(&filer);
    EXPECT_EQ(filer.names, (Lines{"Strings"}));
    EXPECT_TRUE(filer.complete);
    return filer.stored;
}

TEST(TStrings, FilesItemsWhenThereAreAnyOrTheyDifferFromTheAncestor) {
    TStringList list, ancestor;
    EXPECT_FALSE(StoresStrings(list));
    list.Add("a");
    EXPECT_TRUE(StoresStrings(list));
    ancestor.Add("a");
    EXPECT_FALSE(StoresStrings(list, &ancestor));
    ancestor.Put(0, "A");
    EXPECT_TRUE(StoresStrings(list, &ancestor));
    list.Clear();
    EXPECT_TRUE(StoresStrings(list, &ancestor));  // emptied against a filled ancestor
    TOwned<TPersistent> stranger = MakeOwned<TPersistent>();
    EXPECT_TRUE(StoresStrings(list, stranger.get()));
}

// The least a descendant supplies, plus objects.
class TPlainStrings : public TStrings {
public:
    int Count() const override { return static_cast<int>(items.size()); }
    std::string Strings(int index) const override {
        CheckIndex(index);
        return items[static_cast<size_t>(index)].String;
    }
    TObject* Objects(int index) const override {
        CheckIndex(index);
        return items[static_cast<size_t>(index)].Object;
    }
    void PutObject(int index, TObject* object) override {
        CheckIndex(index);
        items[static_cast<size_t>(index)].Object = object;
    }
    void Insert(int index, const std::string& s) override {
        if (index < 0 || index > Count()) throw EListError("insert");
        items.insert(items.begin() + index, TStringItem{s, nullptr});
    }
    void Delete(int index) override {
        CheckIndex(index);
        items.erase(items.begin() + index);
    }
    void Clear() override { items.clear(); }
    std::vector<TStringItem> items;
};

TEST(TStrings, DefaultsWorkThroughTheAbstractOperations) {
    TPlainStrings list;
    list.AddObject("a", kTag1);
    Fill(list, {"b", "c"});
    list.Put(0, "A");
    EXPECT_EQ(list.Objects(0), kTag1);  // Put keeps the object
    list.Exchange(0, 2);
    list.Move(0, 1);
    EXPECT_EQ(LinesOf(list), (Lines{"b", "c", "A"}));
    EXPECT_EQ(list.IndexOfObject(kTag1), 2);
    EXPECT_THROW(list.Move(0, 3), EListError);  // checked before the item leaves
    EXPECT_EQ(LinesOf(list), (Lines{"b", "c", "A"}));
    list.AddStrings(&list);
    EXPECT_EQ(list.Count(), 6);
    list.SetCommaText("x,y");
    EXPECT_EQ(list.Text(), "x\r\ny\r\n");
}

}  // namespace
