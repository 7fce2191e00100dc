// The common dialogs and message boxes of the class library.
#pragma once
#include "classlib/dialogs/color_dialog.h"
#include "classlib/dialogs/common_dialog.h"
#include "classlib/dialogs/file_dialogs.h"
#include "classlib/dialogs/font_dialog.h"
#include "classlib/dialogs/message_dialogs.h"
#include "classlib/dialogs/select_directory.h"

// Makes the dialog classes known to layouts; programs call it at start-up.
void RegisterDialogClasses();
