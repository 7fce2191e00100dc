#include "classlib/gui/sys_locale.h"

#include "classlib/gui/win32.h"

TSysLocale SysLocale;

void InitSysLocale() {
    SysLocale.FarEast = GetSystemMetrics(SM_DBCSENABLED) != 0;
    SysLocale.MiddleEast = GetSystemMetrics(SM_MIDEASTENABLED) != 0;
}
