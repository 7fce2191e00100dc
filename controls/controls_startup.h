// Start-up of the controls' units, called from the programs' entries
// before any window exists (see the entries for the order).
#pragma once

// Registers the cursors and the texts and decides the year format; runs
// once per process, however often it is called.
void StartControlUtilities();
// Frees what the controls keep for the whole process (the file-edit
// boxes' shared glyph); runs at the end of the program's entry.
void StopControlUtilities();
