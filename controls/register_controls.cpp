#include "controls/register_controls.h"

#include "classlib/core/typinfo.h"
#include "controls/browse_folder_dialog.h"
#include "controls/ex_speed_button.h"
#include "controls/file_dir_edit.h"

void RegisterControlClasses() {
    RegisterClass(TExSpeedButton::StaticClass());
    RegisterClass(TFilenameEdit::StaticClass());
    RegisterClass(TDirectoryEdit::StaticClass());
    RegisterClass(TBrowseFolderDlg::StaticClass());
}
