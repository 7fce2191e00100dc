#include "unicode/text/platform_flags.h"

bool UnicodePlatform = false;
bool XPOrLater = false;

void SetPlatformFlags(unsigned platformId, unsigned majorVersion, unsigned minorVersion) {
    const unsigned kWin32Nt = 2;
    UnicodePlatform = platformId == kWin32Nt;
    XPOrLater = majorVersion > 5 || (majorVersion == 5 && minorVersion >= 1);
}

TScopedPlatformFlags::TScopedPlatformFlags(bool unicodePlatform, bool xpOrLater)
    : saved_unicode_(UnicodePlatform), saved_xp_(XPOrLater) {
    UnicodePlatform = unicodePlatform;
    XPOrLater = xpOrLater;
}

TScopedPlatformFlags::~TScopedPlatformFlags() {
    UnicodePlatform = saved_unicode_;
    XPOrLater = saved_xp_;
}
