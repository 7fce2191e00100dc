// Which kind of Windows the Unicode layer runs on. Set once by the start of
// the wide system utilities, before any window of the layer exists; False
// before that.
#pragma once

// The wide ("W") system functions work (platform 2, the NT family).
extern bool UnicodePlatform;
// Windows XP (5.1) or later.
extern bool XPOrLater;

// Sets both flags from the system's platform identifier and version.
void SetPlatformFlags(unsigned platformId, unsigned majorVersion, unsigned minorVersion);

// Sets the flags for the life of a scope and puts the old values back:
// the way to reach the other platform's branches where the system reports
// the Unicode platform.
class TScopedPlatformFlags {
public:
    TScopedPlatformFlags(bool unicodePlatform, bool xpOrLater);
    ~TScopedPlatformFlags();
    TScopedPlatformFlags(const TScopedPlatformFlags&) = delete;
    TScopedPlatformFlags& operator=(const TScopedPlatformFlags&) = delete;

private:
    bool saved_unicode_;
    bool saved_xp_;
};
