#include "unicode/text/result_copy.h"

#include "unicode/text/wide_buffers.h"

int CopyAnsiResultToWide(int size, wchar_t* buffer, const std::wstring& result, unsigned convention) {
    int length = static_cast<int>(result.size());
    if (size > length) {
        WideStrLCopy(buffer, result.c_str(), size - 1);
        return length;
    }
    if (convention & rcTruncating) {
        CopyWideChars(buffer, result.data(), size);
        return size;
    }
    if ((convention & rcExactFit) && size == length && size > 0) {
        CopyWideChars(buffer, result.data(), size - 1);
        buffer[size - 1] = 0;
        return length + 1;
    }
    if (size > 0) {
        if (convention & rcClearFirst) {
            buffer[0] = 0;
        } else if ((convention & rcPathPart) && size >= 4) {
            std::wstring window = result.substr(0, static_cast<size_t>(size));
            for (int i = 0; i < size - 1; ++i) {
                if (window.find(L'\\', static_cast<size_t>(i)) == std::wstring::npos) break;
                buffer[i] = result[static_cast<size_t>(i)];
            }
        }
    }
    return length + 1;
}
