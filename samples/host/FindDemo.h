#pragma once
#include <string>

#include "QnShowCOCATIDs11.h"

class WindowWatcher;

// The host's user looks for a component with the find box above the Component
// Manager's tree: the dialog is opened through ShowGUI with the filter of every
// category (32 | 512 | 1024); the user types "mix" into the box, which narrows the tree
// to Tarnwick.Mixer and to the Oskvale manager (its description speaks of
// ideal-mixture packages) with all its packages, and selects the package "Air and
// Water": saved as <folder>\find-narrowed.bmp. Escape in the box brings the whole tree
// back with the package still selected: saved as <folder>\find-cleared.bmp. Accept
// chooses it. The items of both trees are printed. The watcher, when given, names its
// own screenshots "find-box". The sample components must be registered. Returns 0 when
// the narrowed tree held the package, the cleared one more items than the narrowed
// one, and the package came back chosen.
int runFindDemo(ICCAPEGUI* gui, const std::string& folder, WindowWatcher* watcher = nullptr);
