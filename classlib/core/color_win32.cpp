#include <windows.h>
// The character-set names are macros here; color.h declares them as constants.
#undef ANSI_CHARSET
#undef DEFAULT_CHARSET
#undef SYMBOL_CHARSET
#undef MAC_CHARSET
#undef SHIFTJIS_CHARSET
#undef HANGEUL_CHARSET
#undef JOHAB_CHARSET
#undef GB2312_CHARSET
#undef CHINESEBIG5_CHARSET
#undef GREEK_CHARSET
#undef TURKISH_CHARSET
#undef VIETNAMESE_CHARSET
#undef HEBREW_CHARSET
#undef ARABIC_CHARSET
#undef BALTIC_CHARSET
#undef RUSSIAN_CHARSET
#undef THAI_CHARSET
#undef EASTEUROPE_CHARSET
#undef OEM_CHARSET

#include "classlib/core/color.h"

void InstallWin32SysColors() {
    SetSysColorProvider([](int index) { return static_cast<TColor>(GetSysColor(index)); });
}
