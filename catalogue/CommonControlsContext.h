#pragma once
#include <windows.h>

// While alive, the windows this thread creates are of version 6 of the common
// controls, as the module's manifest (RT_MANIFEST resource
// ISOLATIONAWARE_NOSTATICIMPORT_MANIFEST_RESOURCE_ID, 3) asks: among them the edit
// control that shows a cue text (EM_SETCUEBANNER), which the older edit control
// ignores. The manifest's id keeps the loader from applying it to the module's own
// imports: only the windows made inside this scope change.
//
// A module without the manifest, or a system that cannot make the context, runs
// without it: the dialogs work the same, the cue text is not shown.
class CommonControlsContext {
public:
    explicit CommonControlsContext(HMODULE module);
    ~CommonControlsContext();
    CommonControlsContext(const CommonControlsContext&) = delete;
    CommonControlsContext& operator=(const CommonControlsContext&) = delete;

    bool active() const { return cookie_ != 0; }

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};
