// Makes the extended controls known to the layout reader by class name.
#pragma once

void RegisterControlClasses();
