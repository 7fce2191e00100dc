#include "runtime/document_marker.h"

// The signature must stand exactly once in the program image; the build
// checks that and that its first 20 bytes lie in one 2048-byte block.
alignas(64) volatile const unsigned char DocumentMarker[256] = {8, 'Z', 'E', 'B', 'R', 'I', 'Q', 'U', 'T'};
volatile const unsigned char ReversedDocumentMarker[256] = {8, 'T', 'U', 'Q', 'I', 'R', 'B', 'E', 'Z'};

int32_t DocumentOffset = 0;

bool DocumentAttached() {
    for (int i = 1; i <= 8; ++i)
        if (DocumentMarker[9 - i] != ReversedDocumentMarker[i]) return true;
    return false;
}

int32_t MarkerOffset() {
    uint32_t value = 0;
    for (int i = 4; i >= 1; --i) value = (value << 8) | DocumentMarker[i];
    return static_cast<int32_t>(value);
}
