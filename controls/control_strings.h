// The controls' own texts, by resource number (registered at start-up and
// on first use).
#pragma once

enum TControlString : int {
    SNotImplemented = 61257,  // "Function not yet implemented"
    SDefaultFilter = 61263,   // "All files (*.*)|*.*"
    SBrowse = 61264,          // "Browse"
};

// Registers the texts; safe to call more than once.
void RegisterControlStrings();
