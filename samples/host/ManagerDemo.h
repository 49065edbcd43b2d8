#pragma once
#include <string>

#include "QnShowCOCATIDs11.h"

class WindowWatcher;

// The host's component choice: the Component Manager is opened through ShowGUI twice,
// with the filter of the CAPE-OPEN 1.1 thermodynamics (1536) and then with that of
// unit operations (32). Each time the host picks a sample component in the tree as a
// user would (the Oskvale manager's "Natural Gas" package, then Tarnwick.Mixer),
// saves the dialog with the chosen item shown as <folder>\manager-<filter>-chosen.bmp,
// presses Accept and prints what it reads back from the automation object. The
// watcher, when given, names its own screenshots of the dialog after the step.
// The sample components must be registered. Returns 0 when both choices came back.
int runManagerDemo(ICCAPEGUI* gui, const std::string& folder, WindowWatcher* watcher = nullptr);
