// The classes the editor's layouts may name, registered once at start.
#pragma once

void RegisterEditorClasses();
