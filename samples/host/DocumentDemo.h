#pragma once
// The host's main road with a document: choose a component, create it, initialise it
// as new, give it some state, save it into the document, and, in another process,
// reopen the document, recall the component and check that its state is the one
// saved. QnCOGUI11, the sample components and their DLLs must be registered.
#include <windows.h>
#include <objidl.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "DocumentContainer.h"

// What the host sets and compares of a component: its identification and, for the
// sample unit operations, their parameters (the sample-only ISampleParameters).
struct ComponentState {
    std::wstring name;
    std::wstring description;
    std::vector<std::pair<std::wstring, double>> parameters;
    bool operator==(const ComponentState&) const = default;
};

// One component of a document: its storage's name, how the host chooses it
// (ProgIDs, for setProgIds) and the category filter it gives setup.
struct DocumentEntry {
    std::wstring element;
    HostRecord choice;
    long filter;
};

// Main road for one component into root: a new automation object chooses it,
// creates it, initialises it as new, gives it state, saves it into the element
// (with the host's record of the choice); then everything is released. The caller
// commits root. Steps are printed to log when given. S_OK or the first failure.
HRESULT saveNewComponent(IStorage* root, const DocumentEntry& entry, const ComponentState& state, FILE* log);

// Reopening: a new automation object chooses the component that root records for
// the element, creates it and recalls it (loadStorage with isRecalling); its state
// is read into recalled. When resaved is given, the recalled component is also saved
// into a fresh storage in memory and resaved tells whether that storage holds the
// same bytes as the element in root. Everything is released afterwards.
HRESULT recallComponent(IStorage* root, const DocumentEntry& entry, ComponentState& recalled, bool* resaved, FILE* log);

// The demo's two processes. runDocumentSave writes the Tarnwick Mixer (stream,
// IPersistStreamInit), the Tarnwick Heater (its own storage) and the Natural Gas
// package of the Oskvale manager (stream, IPersistStream), each with a state of its
// own, into a new document at path. runDocumentRecall, run in another process,
// reopens it, recalls the three and prints whether each state is the one saved and
// whether a save of it gives the saved bytes again. Each returns 0 on success.
int runDocumentSave(const std::wstring& path);
int runDocumentRecall(const std::wstring& path);
