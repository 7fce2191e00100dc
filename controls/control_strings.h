// The controls' own texts, by resource number (registered at start-up and
// on first use).
#pragma once

enum TControlString : int {
    SNotImplemented = 61257,  // "Function not yet implemented"
    // The themed buttons' kind captions.
    SOKButton = 65283,      // "OK"
    SCancelButton = 65284,  // "Cancel"
    SYesButton = 65285,     // "&Yes"
    SNoButton = 65286,      // "&No"
    SHelpButtonKind = 65287,  // "&Help"
    SCloseButton = 65288,   // "&Close"
    SIgnoreButton = 65289,  // "&Ignore"
    SRetryButton = 65290,   // "&Retry"
    SAbortButton = 65291,   // "Abort"
    SAllButton = 65292,     // "&All"
    SDefaultFilter = 61263,   // "All files (*.*)|*.*"
    SBrowse = 61264,          // "Browse"
};

// Registers the texts; safe to call more than once.
void RegisterControlStrings();
