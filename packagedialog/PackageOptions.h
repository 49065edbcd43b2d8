#pragma once
#include <string>

// The options of the property package dialog: what the host sets and reads through
// the automation object, which keeps them, and what the user edits in the dialog.
// The dialog computes nothing from them: it shows them and lets the user change them.
//
// Option fields are booleans in 32-bit integers: zero is false, anything else true
// (the host may store -1). A check box shows checked for any non-zero value; OK
// stores 0 or 1 in every option; Esc and the close box store nothing.
struct PackageOptions {
    int allowSubsets = 0;       // check box 207
    int freeCompounds = 0;      // check box 205, never shown: passes through
    int treatAsHypos = 0;       // check box 202
    int recovLog = 0;           // check box 252
    int recovPopUp = 0;         // check box 253
    int recovTrace = 0;         // check box 251
    int requestLiquid2 = 0;     // check box 263, shown only for the maker's own system
    int doOrderPhases = 0;      // check box 264
    int critPopUp = 0;          // check box 267
    int critLog = 0;            // check box 266
    int critTrace = 0;          // check box 268
    std::string importReport;   // edit 209 (read-only)
    std::string socketVersion;  // edit 235 (read-only)
};
