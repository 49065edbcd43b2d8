#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

// What creating a component needs that holds no state of the automation object.

// The interface a component of category must answer, for a CAPE-OPEN version
// number. The category is compared as a whole number: a filter that combines bits
// asks only for IDispatch. Unit operations of versions other than 1.0 and 1.1 are
// asked for {678C0AA2-7D66-...}, which no unit operation answers, so that the check
// of the registered version warns about them.
const IID& expectedInterfaceIID(unsigned long category, long version);

// The name a message gives an interface: its registered name, else the library's
// own name for the CAPE-OPEN interfaces it asks for (machines without a registered
// CAPE-OPEN type library have no names), else its braced identifier.
std::string interfaceDisplayName(REFIID iid);

// The messages both creation roads give, filled by fillText: a component that could
// not be created (ProgID, ProgID, interface name), and one that lacks the interface
// its category requires (ProgID, interface name).
inline constexpr std::string_view kCreationFailed = "Error creating CAPE-OPEN component '%s' (ProgId '%s', type '%s')";
inline constexpr std::string_view kInterfaceMissing =
    "The CAPE-OPEN component '%s' does not implement the interface '%s'";

// pattern with each "%s" replaced by the next of values, in order. Nothing is cut:
// a long ProgID appears whole (reporting bounds the final message).
std::string fillText(std::string_view pattern, std::initializer_list<std::string_view> values);

// ICapeUtilities::Initialize on an object that has ICapeUtilities; S_OK for one
// without it (left alone). A failing Initialize's code is returned, its error object
// left on the thread.
HRESULT initializeUtilities(IUnknown* object);
