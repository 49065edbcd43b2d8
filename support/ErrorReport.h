#pragma once
#include <windows.h>
#include <string>

// Error texts and error reporting: every failure of the library becomes one text,
// shown in a message box and (as a rule) appended to the trace file.
//
// Contract shared by all callers: report at the place of failure and return the
// code reportError gives back; it is negative for every failure.

// Caption of every box that reportError shows.
inline constexpr const char* kReportCaption = "Pellamy's CAPE-OPEN tool";

// Longest composed message, without its terminating NUL.
inline constexpr size_t kMaxMessageLength = 2399;

// Codes 2..999 are internal codes, not HRESULTs: they report as E_FAIL. The library
// uses two, for failures it finds itself without an HRESULT of their own:
// an unexpected internal failure (a fault caught at a boundary, an array or registry
// value that cannot be read, a package road that broke down);
inline constexpr HRESULT kInternalFailure = 100;
// a persistence failure handed to the host's container: traced, no box of its own.
inline constexpr HRESULT kPersistenceFailure = 101;
// Code 0 is a warning: shown without the error marker, and the work goes on.
inline constexpr HRESULT kWarningCode = 0;
HRESULT normaliseErrorCode(HRESULT code);

// Context, marker, text, the thread's error object (consumed), the system text and
// the code, at most kMaxMessageLength characters. text null reads "??".
std::string composeErrorMessage(HRESULT code, const char* text, const char* context);

// Composes, traces (when traceIt), shows a box owned by owner (or the default
// owner, or system-modal) and returns the normalised code.
HRESULT reportError(HRESULT code, const char* text, const char* context, HWND owner, bool traceIt);
// The same with code E_FAIL.
HRESULT reportError(const char* text, const char* context, HWND owner, bool traceIt);

// The text of a failure that has nothing to add to its code and the callee's error
// object.
inline constexpr const char* kUnexpectedErrorText = "Unexpected error ";
// The text of a failure for want of memory.
inline constexpr const char* kOutOfMemoryText = "Not enough memory";
// reportError(code, kUnexpectedErrorText, no context, default owner, traced).
HRESULT reportUnexpected(HRESULT code);

// Composes and traces, no box; returns the normalised code.
HRESULT traceError(HRESULT code, const char* text, const char* context);

// Readable name of a code: "E_NOINTERFACE ($80004002)", a range or severity/facility.
std::string describeHResult(HRESULT code);

// Box with text, the system's text for code and describeHResult(code). Not traced.
void showHResultMessage(const char* text, HRESULT code);

// Every message box of the library goes through here (but showHResultMessage's).
// owner null: the default owner window; none either: MB_SYSTEMMODAL is added. An
// owner that is no longer a window is dropped (MB_TASKMODAL): the box still shows.
// Returns what MessageBoxA returns (the button pressed).
int showMessage(const char* text, const char* caption, UINT style, HWND owner);

// The application's own box (OK only, exclamation icon) captioned with the module
// base name ("QnCOGUI11" before one is registered); owned by the default owner
// window, system-modal without one. Used by showHResultMessage and the trace of
// failed creations; it does not go through showMessage.
int showApplicationMessage(const char* text);

// The owner of a box the library shows: the innermost of its running dialogs when
// one runs, else requested, else the default owner (null: the box is system-modal).
HWND boxOwner(HWND requested);

// The owner of boxes shown without one; the automation object sets it to its host window.
void setDefaultOwnerWindow(HWND owner);
HWND defaultOwnerWindow();

// The context for "any server that can make the class": in-process server, in-process
// handler, local server, remote server.
inline constexpr DWORD kAnyServerContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// Creates a COM object (remotely when server is given and not empty). On failure
// appends a line to qnshow.txt, shows its own box and returns the failure unchanged;
// a class that answers success without an object fails with E_NOINTERFACE.
HRESULT createInterface(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** out, const wchar_t* server);
// The same creation without a word: no trace line, no box. The caller explains the
// failure (the thread's error object, if the class left one, is still there).
HRESULT createInterfaceQuietly(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** out,
                               const wchar_t* server);

// The registered name of an interface (empty, and success, when not registered).
HRESULT interfaceNameFromIID(REFIID iid, std::string& name);

// A string value under HKEY_CLASSES_ROOT; empty when the key or value is missing.
std::string GetRegPath(const char* subkey, const char* valueName);

// The system's text for GetLastError(), at most kMaxMessageLength characters.
std::string lastErrorText();

// Stores value in out; when the Win32 call failed (zero where non-zero was expected,
// or the reverse) shows "message: <last error text>" captioned with the module name
// and returns E_FAIL. Not traced.
HRESULT checkWin32Result(uintptr_t& out, uintptr_t value, const char* message, bool expectNonZero);
