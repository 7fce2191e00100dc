#include "unicode/text/byte_order_mark.h"

#include "classlib/core/streams.h"

TTextEncoding DetectByteOrderMark(TStream& stream) {
    int64_t remaining = stream.Size() - stream.Position();
    uint8_t mark[3];
    if (remaining >= 2) {
        stream.ReadBuffer(mark, 2);
        if (mark[0] == 0xFF && mark[1] == 0xFE) return teUtf16LE;
        if (mark[0] == 0xFE && mark[1] == 0xFF) return teUtf16BE;
        stream.Seek(-2, soCurrent);
    }
    if (remaining >= 3) {
        stream.ReadBuffer(mark, 3);
        if (mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF) return teUtf8;
        stream.Seek(-3, soCurrent);
    }
    return teAnsi;
}
