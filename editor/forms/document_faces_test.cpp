// The faces a new menu document and the editor's windows name must exist
// where the editor runs, so menus look as their authors chose and text
// measures stay stable.
#include <gtest/gtest.h>

#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/win32.h"

namespace {

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceExists(const char* face) {
    LOGFONTA wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExA(TWindowDC(nullptr), &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

TEST(DocumentFaces, TheFacesOfDocumentsAndWindowsExist) {
    for (const char* face : {"Arial", "Arial Black", "Arial Narrow"}) EXPECT_TRUE(FaceExists(face)) << face;
}

}  // namespace
