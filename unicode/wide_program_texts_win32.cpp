#include "unicode/wide_program_texts.h"

#include <cstring>
#include <vector>

#include "classlib/gui/win32.h"
#include "unicode/api_wrappers.h"
#include "unicode/code_pages.h"
#include "unicode/text/command_line.h"
#include "unicode/text/utf8.h"
#include "unicode/wide_sysutils.h"

std::wstring WideParamStr(int index) {
    if (index == 0) return WideGetModuleFileName(nullptr);
    return ArgumentOfCommandLine(GetCommandLineW(), index);
}

std::wstring LoadWideResString(const TResStringRec* record) {
    if (!record) return std::wstring();
    if (record->Identifier < 0x10000) {
        const int kBufferUnits = 4097;
        std::vector<wchar_t> buffer(kBufferUnits);
        auto module = static_cast<HINSTANCE>(record->Module ? *record->Module : nullptr);
        int length = ApiLoadString(module, static_cast<UINT>(record->Identifier), buffer.data(), kBufferUnits);
        return std::wstring(buffer.data(), static_cast<size_t>(length > 0 ? length : 0));
    }
    const char* text = reinterpret_cast<const char*>(record->Identifier);
    size_t length = std::strlen(text);
    if (length > 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) return Utf8ToWide(std::string(text + 3, length - 3));
    return WideFromSystemAnsi(std::string(text, length));
}
