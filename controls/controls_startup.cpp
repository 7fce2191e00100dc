#include "controls/controls_startup.h"

#include "controls/control_cursors.h"
#include "controls/control_strings.h"
#include "controls/file_dir_edit.h"
#include "controls/year_format.h"

void StartControlUtilities() {
    static int started = 0;
    if (started++) return;
    RegisterControlCursors();
    DecideYearFormat();
    RegisterControlStrings();
}

void StopControlUtilities() {
    FreeFileEditGlyph();
}
