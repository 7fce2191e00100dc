// The classes the runtime's layouts may name, registered once at start.
#pragma once

void RegisterRuntimeClasses();
