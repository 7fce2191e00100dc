// Makes the picture classes known to layouts; programs call it at start
// (with RegisterJpegFormat from jpeg.h for JPEG pictures).
#pragma once

void RegisterGraphicClasses();
