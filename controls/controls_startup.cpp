#include "controls/controls_startup.h"

#include "classlib/core/unit_starts.h"
#include "controls/control_cursors.h"
#include "controls/control_strings.h"
#include "controls/file_dir_edit.h"
#include "controls/year_format.h"

void StartControlUtilities() {
    static TUnitStartCount starts;
    if (!starts.Start()) return;
    RegisterControlCursors();
    DecideYearFormat();
    RegisterControlStrings();
}

void StopControlUtilities() {
    FreeFileEditGlyph();
}
