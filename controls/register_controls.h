// Makes the extended controls known to the layout reader by class name.
#pragma once

// The controls both programs' layouts name.
void RegisterControlClasses();
// The controls only the editor's windows carry (the themed button with its
// visual-style binding, the shadowed label, the image button); kept apart
// so that the runtime links none of them.
void RegisterEditorControlClasses();
