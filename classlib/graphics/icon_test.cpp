#include "classlib/graphics/icon.h"

#include <gtest/gtest.h>

#include "classlib/graphics/test_pictures.h"
#include "classlib/gui/scoped_win32.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A 24-bit icon image: the left half transparent, the right half `rgb`.
std::vector<uint8_t> IconImage(int size, uint32_t rgb) {
    std::vector<uint8_t> image;
    const size_t stride = ((size_t(size) * 24 + 31) / 32) * 4, maskStride = ((size_t(size) + 31) / 32) * 4;
    Put32(image, 40);
    Put32(image, size);
    Put32(image, 2 * size);
    Put16(image, 1);
    Put16(image, 24);
    Put32(image, 0);
    Put32(image, static_cast<uint32_t>((stride + maskStride) * size));
    for (int i = 0; i < 4; ++i) Put32(image, 0);
    for (int y = 0; y < size; ++y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = size / 2; x < size; ++x) {
            row[3 * x] = static_cast<uint8_t>(rgb);
            row[3 * x + 1] = static_cast<uint8_t>(rgb >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(rgb >> 16);
        }
        image.insert(image.end(), row.begin(), row.end());
    }
    for (int y = 0; y < size; ++y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < size / 2; ++x) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        image.insert(image.end(), row.begin(), row.end());
    }
    return image;
}

std::vector<uint8_t> IconFile(const std::vector<std::pair<int, uint32_t>>& images) {
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, static_cast<uint32_t>(images.size()));
    std::vector<uint8_t> data;
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (auto [size, rgb] : images) {
        std::vector<uint8_t> image = IconImage(size, rgb);
        file.push_back(static_cast<uint8_t>(size));
        file.push_back(static_cast<uint8_t>(size));
        file.push_back(0);
        file.push_back(0);
        Put16(file, 1);
        Put16(file, 24);
        Put32(file, static_cast<uint32_t>(image.size()));
        Put32(file, offset + static_cast<uint32_t>(data.size()));
        data.insert(data.end(), image.begin(), image.end());
    }
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

void Load(TIcon& icon, const std::vector<uint8_t>& bytes) {
    TMemoryStream in;
    SetBytes(in, bytes);
    icon.LoadFromStream(in);
}

TEST(Icons, TheImageOfTheSystemSizeIsUsedAndDrawnTransparently) {
    const int size = GetSystemMetrics(SM_CXICON);
    std::vector<uint8_t> file = IconFile({{16, 0x0000FF}, {size, 0xFF0000}, {48 == size ? 64 : 48, 0x00FF00}});
    TIcon icon;
    Load(icon, file);
    EXPECT_EQ(icon.Width(), size);
    EXPECT_EQ(icon.Height(), size);
    ASSERT_NE(icon.Handle(), nullptr);

    TMemorySurface surface(size + 4, size + 4, clYellow);
    surface.Canvas().Draw(2, 2, &icon);
    EXPECT_EQ(surface.At(3, 3), 0xFFFF00u);             // transparent half
    EXPECT_EQ(surface.At(size, size), 0xFF0000u);       // the red image
    EXPECT_EQ(surface.At(size + 3, size + 3), 0xFFFF00u);

    // Every image of the file is saved again.
    EXPECT_EQ(SavedBytes(icon), file);
    EXPECT_THROW(icon.SetWidth(5), EInvalidGraphicOperation);
    EXPECT_THROW(icon.SetHeight(5), EInvalidGraphicOperation);
}

TEST(Icons, TruncatedOrCorruptFilesFailAndChangeNothing) {
    std::vector<uint8_t> file = IconFile({{16, 0x0000FF}});
    TIcon icon;
    Load(icon, IconFile({{16, 0xFF0000}}));
    const std::vector<uint8_t> before = SavedBytes(icon);
    int changes = 0;
    icon.OnChange = [&](TObject*) { ++changes; };
    for (size_t cut = 0; cut < file.size(); ++cut)
        EXPECT_THROW(Load(icon, std::vector<uint8_t>(file.begin(), file.begin() + cut)), EInvalidGraphic) << cut;

    auto corrupt = [&](size_t offset, uint32_t value, int size) {
        std::vector<uint8_t> bad = file;
        memcpy(&bad[offset], &value, size);
        EXPECT_THROW(Load(icon, bad), EInvalidGraphic) << offset;
    };
    corrupt(2, 2, 2);          // a cursor file
    corrupt(4, 0, 2);          // no images
    corrupt(18, 3, 4);         // image inside the directory
    corrupt(18, 0x7FFFFFF0, 4);  // image far beyond the end
    corrupt(14, 0, 4);         // empty image
    corrupt(22, 12, 4);        // image header that is none
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(SavedBytes(icon), before);
}

TEST(Icons, HandlesAreSavedAsIconFiles) {
    TIcon source;
    Load(source, IconFile({{32, 0x00FF00}}));
    TIcon adopted;
    int changes = 0;
    adopted.OnChange = [&](TObject*) { ++changes; };
    adopted.SetHandle(CopyIcon(source.Handle()));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(adopted.Width(), 32);
    EXPECT_EQ(adopted.Height(), 32);

    TIcon reloaded;
    Load(reloaded, SavedBytes(adopted));
    TMemorySurface surface(32, 32, clBlue);
    surface.Canvas().Draw(0, 0, &reloaded);
    EXPECT_EQ(surface.At(4, 10), 0x0000FFu);
    EXPECT_EQ(surface.At(20, 10), 0x00FF00u);

    TIcon copy;
    copy.Assign(&adopted);
    EXPECT_FALSE(copy.Empty());
    EXPECT_NE(copy.Handle(), adopted.Handle());
    TIconHandle released(adopted.ReleaseHandle());
    EXPECT_TRUE(adopted.Empty());
    ICONINFO stillThere{};
    EXPECT_TRUE(GetIconInfo(released.Get(), &stillThere)) << "the handle outlives the picture";
    TGdiObject colour(stillThere.hbmColor), mask(stillThere.hbmMask);
    EXPECT_EQ(copy.Width(), 32);
}

}  // namespace
