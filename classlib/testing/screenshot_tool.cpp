// screenshot.exe FILE.png: saves what the screen shows as a PNG picture.
#include "png_writer.h"
#include "screen_capture.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    TCapture screen = CaptureWindow(nullptr, false);
    WritePng(argv[1], screen.Width, screen.Height, screen.Pixels);
    return 0;
}
