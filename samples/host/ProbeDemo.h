#pragma once
#include <string>

#include "QnShowCOCATIDs11.h"

class WindowWatcher;

// The host's look at a component's interfaces: the Component Manager is opened
// through ShowGUI with the unit operations filter (32); the host selects the sample
// unit operation Tarnwick.Mixer in the tree and right-clicks it as a user would,
// which lists under it the fifteen probe lines. The dialog is saved with the lines
// in view as <folder>\interface-probe.bmp, the lines are printed, and Accept closes
// the dialog. The watcher, when given, names its own screenshots "interface-probe".
// The sample components must be registered. Returns 0 when the fifteen lines came and
// the mixer's unit interface was among the answered ones.
int runProbeDemo(ICCAPEGUI* gui, const std::string& folder, WindowWatcher* watcher = nullptr);
