#include "imaging/codecs/icon_list_stream.h"

#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"
#include "classlib/core/streams.h"

namespace {

std::string Le32(uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
}

}  // namespace

TEST(IconListStream, CountThenSizeAndBytesOfEachPlace) {
    TStringStream out;
    WriteIconListCount(out, 3);
    WriteIconListPlace(out, {});
    WriteIconListPlace(out, {1, 2, 3});
    WriteIconListPlace(out, {9});
    const std::string bytes = Le32(3) + Le32(0) + Le32(3) + "\x01\x02\x03" + Le32(1) + "\x09";
    EXPECT_EQ(out.DataString(), bytes);

    TStringStream in(bytes);
    EXPECT_EQ(ReadIconListCount(in), 3);
    EXPECT_TRUE(ReadIconListPlace(in).empty());
    EXPECT_EQ(ReadIconListPlace(in), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(ReadIconListPlace(in), (std::vector<uint8_t>{9}));
    EXPECT_EQ(in.Position(), in.Size());
}

TEST(IconListStream, ANegativeSizeIsAnEmptyPlace) {
    TStringStream in(Le32(0xFFFFFFF0u) + Le32(1) + "x");
    EXPECT_TRUE(ReadIconListPlace(in).empty());
    EXPECT_EQ(ReadIconListPlace(in), (std::vector<uint8_t>{'x'}));
}

TEST(IconListStream, ASizeBeyondTheDataIsAReadErrorBeforeAnythingIsAllocated) {
    // 2 GB claimed by 8 bytes: refused from the size alone.
    TStringStream in(Le32(0x7FFFFFFF) + "abcd");
    EXPECT_THROW(ReadIconListPlace(in), EReadError);
    TStringStream oneShort(Le32(5) + "abcd");
    EXPECT_THROW(ReadIconListPlace(oneShort), EReadError);
}

TEST(IconListStream, EveryCutGivesTheReadError) {
    const std::string bytes = Le32(2) + Le32(3) + "abc" + Le32(2) + "de";
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        TStringStream in(bytes.substr(0, cut));
        try {
            const int32_t count = ReadIconListCount(in);
            for (int32_t i = 0; i < count; ++i) ReadIconListPlace(in);
            ADD_FAILURE() << "cut at " << cut << " read completely";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), "Stream-Read-Fehler");
        }
    }
}
