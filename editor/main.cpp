// Quillory: the editor of CD menus.
#include "about_box.h"
#include "application.h"
#include "classes_registration.h"
#include "graphics.h"
#include "main_form.h"
#include "new_server_form.h"
#include "play_form.h"
#include "prism_color_combo_box.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ClassLibStartup();
    RegisterProgramClasses();
    RegisterJpegFormat();
    RegisterClass(TPrismColorComboBox::StaticClass());
    Application->Initialize();
    Application->SetTitle("Quillory 1.1");
    Application->CreateForm(MainForm);
    Application->CreateForm(NewServerForm);
    Application->CreateForm(PlayForm);
    Application->CreateForm(CopyFileForm);
    Application->Run();
    ClassLibShutdown();
    return 0;
}
