#include "editor/document/block_string.h"

#include <cstdint>

#include "classlib/core/byte_fields.h"
#include "editor/document/io_errors.h"

void WriteBlockString(TByteWriter& out, const std::string& s) {
    out.Put<int32_t>(static_cast<int32_t>(s.size()));
    out.PutBytes(s);
}

void ReadBlockString(TByteReader& in, std::string& s) {
    const int32_t length = in.Get<int32_t>();
    if (length < 0 || static_cast<size_t>(length) > in.Left()) RaiseEndOfFile();
    s.assign(in.GetBytes(static_cast<size_t>(length)));
}
