#pragma once

// A host mistake the library explains: asking for the chosen component's CLSID
// before anything was chosen. The library shows its error box (screenshot by the
// host's WindowWatcher) and writes the trace entry. Returns 0 when the call failed
// as it should.
int runErrorDemo();
