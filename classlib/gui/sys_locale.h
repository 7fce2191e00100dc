// What the system's locale asks of text layout: double-byte (far-east)
// scripts and right-to-left (middle-east) scripts. Read once at start-up.
#pragma once

struct TSysLocale {
    bool FarEast = false;
    bool MiddleEast = false;
};

// Tests may change it for the life of a test.
extern TSysLocale SysLocale;
void InitSysLocale();
