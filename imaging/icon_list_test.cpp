#include "imaging/icon_list.h"

#include <gtest/gtest.h>

#include "classlib/core/class_builder.h"
#include "classlib/core/component.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/icon.h"
#include "classlib/graphics/test_pictures.h"
#include "imaging/codecs/ani_test_files.h"

namespace {

TOwned<TIcon> IconOf(uint32_t rgb, int size = 32) {
    auto icon = MakeOwned<TIcon>();
    TMemoryStream stream;
    SetBytes(stream, ani_test::Bytes(ani_test::IconFile(size, size, 24, rgb)));
    icon->LoadFromStream(stream);
    return icon;
}

std::vector<uint8_t> Written(TIconList& list) {
    TMemoryStream stream;
    list.WriteData(stream);
    return stream.Bytes();
}

std::string Le32(uint32_t v) {
    std::string s;
    ani_test::Put32(s, v);
    return s;
}

// A component that carries an icon list among its properties.
class TIconHolder : public TComponent {
    DECLARE_CLASS(TIconHolder, TComponent)
public:
    explicit TIconHolder(TComponent* owner = nullptr) : TComponent(owner) {}
    TIconList* Icons() const { return icons_.get(); }
    void SetIcons(TIconList* value) { icons_->Assign(value); }

private:
    TOwned<TIconList> icons_ = MakeOwned<TIconList>();
};

const TClassInfo& TIconHolder::StaticClass() {
    static const TClassInfo info = DefineClass<TIconHolder>("TIconHolder", &TComponent::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Icons);
    });
    return info;
}

struct TChangeCounter {
    explicit TChangeCounter(TIconList& list) {
        list.OnChange = [this, &list](TObject* sender) {
            EXPECT_EQ(sender, &list);
            ++count;
        };
    }
    int count = 0;
};

}  // namespace

TEST(IconList, AnEmptyPlaceIsWrittenAsSizeZeroAndReadBackAsNone) {
    TIconList list;
    list.Add(nullptr);
    auto red = IconOf(0xFF0000);
    list.Add(red.get());
    ASSERT_NE(list.Icons(0), nullptr);
    EXPECT_TRUE(list.Icons(0)->Empty());

    const std::vector<uint8_t> redBytes = SavedBytes(*red);
    const std::string expected = Le32(2) + Le32(0) + Le32(static_cast<uint32_t>(redBytes.size())) +
                                 std::string(redBytes.begin(), redBytes.end());
    EXPECT_EQ(Written(list), ani_test::Bytes(expected));

    TIconList copy;
    TMemoryStream stream;
    SetBytes(stream, ani_test::Bytes(expected));
    copy.ReadData(stream);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Icons(0), nullptr);
    ASSERT_NE(copy.Icons(1), nullptr);
    EXPECT_EQ(SavedBytes(*copy.Icons(1)), redBytes);
    // An empty place is written as an empty one again.
    EXPECT_EQ(Written(copy), ani_test::Bytes(expected));

    TIconList none;
    EXPECT_EQ(Written(none), std::vector<uint8_t>(4, 0));
}

TEST(IconList, PlacesAreAddedCopiedMovedAndRemoved) {
    auto red = IconOf(0xFF0000), green = IconOf(0x00FF00), blue = IconOf(0x0000FF);
    TIconList list;
    EXPECT_EQ(list.Add(red.get()), 0);
    EXPECT_NE(list.Icons(0), red.get());  // the list keeps copies
    list.PutIcon(1, green.get());         // at Count: appends
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(SavedBytes(*list.Icons(1)), SavedBytes(*green));
    list.Insert(0, blue.get());
    EXPECT_EQ(SavedBytes(*list.Icons(0)), SavedBytes(*blue));

    TIcon* first = list.Icons(0);
    list.Exchange(0, 2);
    EXPECT_EQ(list.IndexOf(first), 2);
    list.Move(2, 0);
    EXPECT_EQ(list.IndexOf(first), 0);
    EXPECT_EQ(list.IndexOf(blue.get()), -1);
    list.Delete(0);
    EXPECT_EQ(list.IndexOf(first), -1);
    EXPECT_EQ(list.Count(), 2);

    // A place read as empty gets an icon of its own when one is put there.
    list.AddIcon(nullptr);
    list.PutIcon(2, red.get());
    ASSERT_NE(list.Icons(2), nullptr);
    EXPECT_EQ(SavedBytes(*list.Icons(2)), SavedBytes(*red));

    EXPECT_THROW(list.Icons(3), EListError);
    EXPECT_THROW(list.PutIcon(5, red.get()), EListError);
    EXPECT_THROW(list.Insert(7, red.get()), EListError);
    EXPECT_EQ(list.Count(), 3);

    const int system = list.AddResource(nullptr, reinterpret_cast<const char*>(IDI_APPLICATION));
    EXPECT_FALSE(list.Icons(system)->Empty());
    list.InsertResource(0, nullptr, reinterpret_cast<const char*>(IDI_APPLICATION));
    EXPECT_GT(list.Icons(0)->Width(), 0);
}

TEST(IconList, ChangesAreToldOncePerChangeOrBatch) {
    TIconList list;
    TChangeCounter changes(list);
    auto red = IconOf(0xFF0000);
    list.Add(red.get());
    list.Add(red.get());
    EXPECT_EQ(changes.count, 2);

    // A change inside an icon of the list.
    list.Icons(0)->Assign(IconOf(0x00FF00).get());
    EXPECT_EQ(changes.count, 3);

    list.BeginUpdate();
    list.Icons(1)->Assign(nullptr);
    list.BeginUpdate();
    list.Add(nullptr);
    list.EndUpdate();
    EXPECT_EQ(changes.count, 3);
    list.EndUpdate();
    EXPECT_EQ(changes.count, 4);

    list.Clear();
    EXPECT_EQ(changes.count, 5);
    EXPECT_EQ(list.Count(), 0);

}

TEST(IconList, AssignTakesListsIconsAndNothingElse) {
    auto red = IconOf(0xFF0000);
    TIconList source;
    source.Add(red.get());
    source.AddIcon(nullptr);

    TIconList list;
    TChangeCounter changes(list);
    list.Assign(&source);
    EXPECT_EQ(changes.count, 1);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_NE(list.Icons(0), source.Icons(0));
    EXPECT_EQ(SavedBytes(*list.Icons(0)), SavedBytes(*red));
    EXPECT_TRUE(list.Icons(1)->Empty());

    list.Assign(red.get());
    EXPECT_EQ(list.Count(), 1);

    TBitmap bitmap;
    EXPECT_THROW(list.Assign(&bitmap), EConvertError);
    EXPECT_EQ(list.Count(), 1);

    list.Assign(nullptr);
    EXPECT_EQ(list.Count(), 0);
}

TEST(IconList, LayoutsCarryTheIconsOnlyWhenThereAreAny) {
    RegisterClass(TIconHolder::StaticClass());
    auto holder = MakeOwned<TIconHolder>();
    holder->SetName("Holder");
    EXPECT_EQ(WriteComponentToText(holder.get()).find("Icons"), std::string::npos);

    auto blue = IconOf(0x0000FF, 16);
    holder->Icons()->Add(blue.get());
    holder->Icons()->Add(nullptr);
    const std::string text = WriteComponentToText(holder.get());
    EXPECT_NE(text.find("Icons.Icons = {"), std::string::npos) << text;

    auto read = MakeOwned<TIconHolder>();
    ReadComponentFromText(read.get(), text);
    ASSERT_EQ(read->Icons()->Count(), 2);
    EXPECT_EQ(SavedBytes(*read->Icons()->Icons(0)), SavedBytes(*blue));
    EXPECT_EQ(read->Icons()->Icons(1), nullptr);
}

TEST(IconList, AgainstAnAncestorOnlyOtherIconObjectsAreWritten) {
    auto red = IconOf(0xFF0000);
    TIconList list, ancestor;
    list.Add(red.get());
    ancestor.Add(red.get());
    struct TRecorder : TFiler {
        using TFiler::TFiler;
        bool written = false;
        void DefineProperty(const std::string&, TReaderProc, TWriterProc, bool) override {}
        void DefineBinaryProperty(const std::string& name, TStreamProc, TStreamProc, bool hasData) override {
            EXPECT_EQ(name, "Icons");
            written = hasData;
        }
    };
    TMemoryStream stream;
    TRecorder recorder(stream);

    // The same picture in other objects: written.
    recorder.SetAncestor(&ancestor);
    list.DefineProperties(&recorder);
    EXPECT_TRUE(recorder.written);

    // The very same objects: not written.
    recorder.SetAncestor(&list);
    list.DefineProperties(&recorder);
    EXPECT_FALSE(recorder.written);

    // Counts that differ: written when the list has icons.
    ancestor.Add(red.get());
    recorder.SetAncestor(&ancestor);
    list.DefineProperties(&recorder);
    EXPECT_TRUE(recorder.written);
    TIconList empty;
    empty.DefineProperties(&recorder);
    EXPECT_FALSE(recorder.written);
}

TEST(IconList, ADamagedStreamRaisesKeepsWhatWasReadAndEndsTheBatch) {
    auto red = IconOf(0xFF0000, 4), green = IconOf(0x00FF00, 4);
    TIconList source;
    source.Add(red.get());
    source.Add(green.get());
    const std::vector<uint8_t> bytes = Written(source);
    const size_t firstEnd = 4 + 4 + SavedBytes(*red).size();

    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        TIconList list;
        TChangeCounter changes(list);
        TMemoryStream stream;
        SetBytes(stream, std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut));
        try {
            list.ReadData(stream);
            ADD_FAILURE() << "cut at " << cut << " read completely";
        } catch (const EReadError&) {
        } catch (const EInvalidGraphic&) {
        }
        EXPECT_EQ(changes.count, 1) << cut;
        EXPECT_EQ(list.Count(), cut >= firstEnd ? 1 : 0) << cut;
    }

    // A size of 2 GB in a short stream is refused before anything is made.
    TIconList list;
    TMemoryStream stream;
    SetBytes(stream, ani_test::Bytes(Le32(1) + Le32(0x7FFFFFFF) + "abcd"));
    EXPECT_THROW(list.ReadData(stream), EReadError);
    EXPECT_EQ(list.Count(), 0);
}
