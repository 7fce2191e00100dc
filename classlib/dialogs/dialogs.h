// The common dialogs and message boxes of the class library.
#pragma once
#include "color_dialog.h"
#include "common_dialog.h"
#include "file_dialogs.h"
#include "font_dialog.h"
#include "message_dialogs.h"

// Makes the dialog classes known to layouts; programs call it at start-up.
void RegisterDialogClasses();
