// The icon-list bytes of layouts: every place read is written back as it
// was, and a damaged list ends in the read error.
#include <algorithm>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/streams.h"
#include "fuzz/fuzz_support.h"
#include "imaging/codecs/icon_list_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemoryStream in;
    if (size) in.WriteBuffer(data, static_cast<int32_t>(size));
    in.SetPosition(0);
    std::vector<std::vector<uint8_t>> places;
    bool complete = false;
    int32_t count = 0;
    try {
        count = ReadIconListCount(in);
        for (int32_t i = 0; i < count; ++i) places.push_back(ReadIconListPlace(in));
        complete = true;
    } catch (const EReadError&) {
    }
    size_t total = 0;
    for (const auto& place : places) total += 4 + place.size();
    fuzz::Check(total + 4 <= size || places.empty(), "no place beyond the data");
    if (!complete || count < 0) return 0;

    // Places of positive size come back byte for byte.
    bool allFilled = true;
    for (const auto& place : places) allFilled = allFilled && !place.empty();
    if (!allFilled) return 0;
    TMemoryStream out;
    WriteIconListCount(out, count);
    for (const auto& place : places) WriteIconListPlace(out, place);
    fuzz::Check(out.Size() == in.Position() && std::equal(out.Bytes().begin(), out.Bytes().end(), data),
                "written back as read");
    return 0;
}
