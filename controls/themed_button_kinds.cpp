#include "controls/themed_button_kinds.h"

#include <array>

#include "classlib/core/resstrings.h"
#include "classlib/core/unit_starts.h"
#include "classlib/graphics/bitmap.h"
#include "controls/control_strings.h"

namespace themed_buttons {

namespace {

struct TKindInfo {
    int Caption;  // text number; 0: none
    TModalResult Result;
    bool IsDefault, IsCancel;
    const char* Glyph;
};

const TKindInfo Kinds[ThemedBitBtnKindCount] = {
    {0, mrNone, false, false, nullptr},
    {SOKButton, mrOk, true, false, "BBOKX"},
    {SCancelButton, mrCancel, false, true, "BBCANCELX"},
    {SHelpButtonKind, mrNone, false, false, "BBHELPX"},
    {SYesButton, mrYes, true, false, "BBYESX"},
    {SNoButton, mrNo, false, true, "BBNOX"},
    {SCloseButton, mrNone, false, false, "BBCLOSEX"},
    {SAbortButton, mrAbort, false, false, "BBABORTX"},
    {SRetryButton, mrRetry, false, false, "BBRETRYX"},
    {SIgnoreButton, mrIgnore, false, false, "BBIGNOREX"},
    {SAllButton, mrAll, false, false, "BBALLX"},
};

std::array<TBitmap*, ThemedBitBtnKindCount> kindGlyphs{};
TUnitStartCount themedButtonStarts;

const TKindInfo& Info(TThemedBitBtnKind kind) {
    const int index = static_cast<int>(kind);
    return Kinds[index >= 0 && index < ThemedBitBtnKindCount ? index : 0];
}

void FreeKindGlyphs() {
    for (TBitmap*& glyph : kindGlyphs) {
        if (glyph) glyph->Free();
        glyph = nullptr;
    }
}

}  // namespace

std::string KindCaption(TThemedBitBtnKind kind) {
    const int number = Info(kind).Caption;
    if (!number) return "";
    RegisterControlStrings();
    return LoadStr(number);
}

TModalResult KindModalResult(TThemedBitBtnKind kind) { return Info(kind).Result; }
bool KindIsDefault(TThemedBitBtnKind kind) { return Info(kind).IsDefault; }
bool KindIsCancel(TThemedBitBtnKind kind) { return Info(kind).IsCancel; }
const char* KindGlyphName(TThemedBitBtnKind kind) { return Info(kind).Glyph; }

TBitmap* LoadKindGlyph(TThemedBitBtnKind kind) {
    const char* name = KindGlyphName(kind);
    if (!name) return nullptr;
    TBitmap*& slot = kindGlyphs[static_cast<size_t>(kind)];
    if (!slot) {
        TOwned<TBitmap> glyph(New<TBitmap>());
        glyph->LoadFromResourceName(GetModuleHandleA(nullptr), name);
        slot = glyph.release();
    }
    return slot;
}

}  // namespace themed_buttons

const TTypeInfo* TTypeInfoOf<themed_buttons::TThemedBitBtnKind>::Get() {
    static const TTypeInfo info =
        MakeEnumType("TThemedBitBtnKind", {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose",
                                           "bkAbort", "bkRetry", "bkIgnore", "bkAll"});
    return &info;
}

void StartThemedButtonsUnit() {
    if (!themed_buttons::themedButtonStarts.Start()) return;
    themed_buttons::FreeKindGlyphs();
}

void StopThemedButtonsUnit() {
    if (!themed_buttons::themedButtonStarts.Stop()) return;
    themed_buttons::FreeKindGlyphs();
}
