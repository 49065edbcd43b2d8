#pragma once
#include <windows.h>

#include <string>

// The interface probe: creates a registered component and asks it, by QueryInterface,
// for each interface of kProbedInterfaces (ProbeTable.h), one line per interface.
//
// Where its results go. The window that runs the probe (the Component Manager)
// implements this: lines are appended under the probed component's item, boxes are
// owned by that window and carry an OK button and the application's caption.
class ProbeOutput {
public:
    virtual void appendLine(const std::string& line) = 0;
    virtual void showMessage(const std::string& text) = 0;

protected:
    ~ProbeOutput() = default;
};

// Creates the component named progId (on server, or locally when it is null or
// empty) and appends fifteen lines "QI( <name> ) succeeded" or "QI( <name> ) failed".
// A creation that does not give exactly S_OK adds no line and shows one message
// (after createInterface's own box). An exception while a succeeded line is added is
// shown as "Error" and the probe goes on; one while a failed line is added leaves the
// probe to its caller. Nothing is kept: every call creates the component afresh and
// releases everything it got before it returns.
void probeComponentInterfaces(const std::string& progId, const wchar_t* server, ProbeOutput& output);

// "QI( <name> ) succeeded" / "QI( <name> ) failed".
std::string probeLine(const char* interfaceName, bool answered);
