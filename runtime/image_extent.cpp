#include "runtime/image_extent.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "classlib/core/file_mode_scope.h"
#include "classlib/core/untyped_file.h"

namespace {

template <class T>
bool ReadAt(TUntypedFile& file, int64_t offset, T& value) {
    file.Seek(offset);
    int32_t read = 0;
    file.BlockRead(&value, sizeof value, read);
    return IOResult() == 0 && read == static_cast<int32_t>(sizeof value);
}

}  // namespace

int64_t ProgramImageEnd(const std::string& fileName) {
    TUntypedFile file;
    {
        TFileModeScope readOnly(0);
        file.Assign(fileName);
        file.Reset(1);
    }
    if (IOResult() != 0) return -1;
    uint16_t mz = 0;
    int32_t peOffset = 0;
    uint32_t signature = 0;
    if (!ReadAt(file, 0, mz) || mz != 0x5A4D || !ReadAt(file, 0x3C, peOffset) || peOffset < 0 ||
        !ReadAt(file, peOffset, signature) || signature != 0x00004550)
        return -1;
    const int64_t pe = peOffset;
    uint16_t sections = 0, optionalSize = 0, magic = 0;
    if (!ReadAt(file, pe + 6, sections) || !ReadAt(file, pe + 20, optionalSize) || !ReadAt(file, pe + 24, magic))
        return -1;
    // The optional header's fixed part: 96 bytes for 32-bit images (PE32),
    // 112 for 64-bit ones (PE32+, whose image base takes 8 bytes); both keep
    // SizeOfHeaders at 60. The section table follows the whole optional
    // header, data directories included.
    const uint16_t fixedPart = magic == 0x10B ? 96 : magic == 0x20B ? 112 : 0;
    uint32_t headersSize = 0;
    if (fixedPart == 0 || optionalSize < fixedPart || !ReadAt(file, pe + 24 + 60, headersSize)) return -1;
    int64_t table = pe + 24 + optionalSize;
    // Certificates and symbols are not part of the image: a signature added
    // behind the appended document must not move the document's start.
    int64_t end = std::max<int64_t>(table + 40LL * sections, headersSize);
    for (uint16_t i = 0; i < sections; ++i) {
        uint32_t rawSize = 0, rawPointer = 0;
        int64_t entry = table + 40LL * i;
        if (!ReadAt(file, entry + 16, rawSize) || !ReadAt(file, entry + 20, rawPointer)) return -1;
        end = std::max<int64_t>(end, static_cast<int64_t>(rawPointer) + rawSize);
    }
    return end;
}
