// The contract every registered class keeps, checked over a test program's
// whole class registry: a fresh instance holds the defaults its published
// properties declare, and a component's layout text reads back into a fresh
// instance unchanged. A new class gets the check by being registered.
#pragma once
#include <string>
#include <vector>

class TClassInfo;

// Declared defaults a fresh instance does not hold, one line each.
std::vector<std::string> DefaultFaults(const TClassInfo& info);
// For a component class: its layout text, when written, read into a fresh
// instance and written again, differs (or fails); empty otherwise.
std::vector<std::string> RoundTripFaults(const TClassInfo& info);

// Both checks over every registered class that can be created, reported as
// test failures that name the class.
void ExpectRegisteredClassesKeepTheirContract();
