// The marker through which a menu executable finds its document: a
// 256-byte short string in the program's data that the editor patches when
// it appends a document (its first four characters become the document's
// offset in the file).
#pragma once
#include <cstdint>

// Length byte 8, "ZEBRIQUT", zeros. Volatile: read from the image at run
// time, never folded by the compiler.
extern volatile const unsigned char DocumentMarker[256];
// Length byte 8, "TUQIRBEZ" (the signature backwards), zeros.
extern volatile const unsigned char ReversedDocumentMarker[256];

// The offset at which the attached document starts; set by the holder
// form's start-up.
extern int32_t DocumentOffset;

// True when the marker was patched: it no longer reads the signature
// (compared backwards against the reversed constant).
bool DocumentAttached();
// Characters 1-4 of the marker as a little-endian signed int32.
int32_t MarkerOffset();
