#include "runtime/image_extent.h"

#include <algorithm>
#include <cstring>
#include <vector>

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
    int saved = FileMode;
    FileMode = 0;
    file.Assign(fileName);
    file.Reset(1);
    FileMode = saved;
    if (IOResult() != 0) return -1;
    uint16_t mz = 0;
    int32_t peOffset = 0;
    uint32_t signature = 0;
    if (!ReadAt(file, 0, mz) || mz != 0x5A4D || !ReadAt(file, 0x3C, peOffset) || peOffset < 0 ||
        !ReadAt(file, peOffset, signature) || signature != 0x00004550)
        return -1;
    uint16_t sections = 0, optionalSize = 0;
    if (!ReadAt(file, peOffset + 6, sections) || !ReadAt(file, peOffset + 20, optionalSize)) return -1;
    int64_t table = static_cast<int64_t>(peOffset) + 24 + optionalSize;
    int64_t end = table + 40LL * sections;
    for (uint16_t i = 0; i < sections; ++i) {
        uint32_t rawSize = 0, rawPointer = 0;
        int64_t entry = table + 40LL * i;
        if (!ReadAt(file, entry + 16, rawSize) || !ReadAt(file, entry + 20, rawPointer)) return -1;
        end = std::max<int64_t>(end, static_cast<int64_t>(rawPointer) + rawSize);
    }
    return end;
}
