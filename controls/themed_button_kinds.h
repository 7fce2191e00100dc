// The kinds of the themed bitmap button: what each gives a button (caption,
// modal result, Default, Cancel) and its glyph, a bitmap resource of the
// program loaded once per kind and kept until the unit shuts down.
#pragma once
#include <string>

#include "classlib/core/typinfo.h"
#include "classlib/gui/forms.h"

class TBitmap;

// Beside the class library's bitmap-button kinds of the same names.
namespace themed_buttons {

enum TThemedBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
constexpr int ThemedBitBtnKindCount = 11;

// The caption, read from the program's texts each time; "" for bkCustom.
std::string KindCaption(TThemedBitBtnKind kind);
TModalResult KindModalResult(TThemedBitBtnKind kind);
bool KindIsDefault(TThemedBitBtnKind kind);
bool KindIsCancel(TThemedBitBtnKind kind);
// "BBOKX" ... "BBALLX"; nullptr for bkCustom.
const char* KindGlyphName(TThemedBitBtnKind kind);

// The kind's glyph (owned by the unit), loaded from the program's bitmap
// resources on first use; nullptr for bkCustom. A missing resource raises
// EResNotFound.
TBitmap* LoadKindGlyph(TThemedBitBtnKind kind);

}  // namespace themed_buttons

template <>
struct TTypeInfoOf<themed_buttons::TThemedBitBtnKind> {
    static const TTypeInfo* Get();
};

// Unit start-up (the glyph slots empty) and shut-down (every loaded glyph
// freed); each runs once. The editor's entry calls them after the
// visual-style binding's.
void StartThemedButtonsUnit();
void StopThemedButtonsUnit();
