#include "inspector/InterfaceProbe.h"

#include <objbase.h>

#include "inspector/ProbeTable.h"
#include "support/ComPtr.h"
#include "support/ErrorReport.h"
#include "support/WideText.h"

namespace {

// The component answers to an interface unless it says E_NOINTERFACE (or answers
// "yes" without an object): any other failure still means that it knows the interface.
bool answers(IUnknown* component, REFIID iid, ComPtr<IUnknown>& got)
{
    return queryInterfaceOf(component, iid, got) != E_NOINTERFACE;
}

void probeInterface(IUnknown* component, const ProbedInterface& entry, ProbeOutput& output)
{
    ComPtr<IUnknown> listed;
    ComPtr<IUnknown> published;
    bool answered = answers(component, entry.listed, listed);
    if (!answered && entry.published)
        answered = answers(component, *entry.published, published);
    if (!answered) {
        output.appendLine(probeLine(entry.name, false));
        return;
    }
    try {
        output.appendLine(probeLine(entry.name, true));
        listed = nullptr;
        published = nullptr;
    } catch (...) {
        output.showMessage("Error");
    }
}

}  // namespace

std::string probeLine(const char* interfaceName, bool answered)
{
    return std::string("QI( ") + interfaceName + (answered ? " ) succeeded" : " ) failed");
}

void probeComponentInterfaces(const std::string& progId, const wchar_t* server, ProbeOutput& output)
{
    // The conversion's result is not looked at: an unknown ProgID (or a package name)
    // leaves CLSID_NULL, whose creation fails below with REGDB_E_CLASSNOTREG and says so.
    CLSID clsid = CLSID_NULL;
    if (FAILED(CLSIDFromProgID(toWide(progId).c_str(), &clsid)))
        clsid = CLSID_NULL;

    ComPtr<IUnknown> component;
    const HRESULT created =
        createInterface(clsid, nullptr, kAnyServerContext, IID_IUnknown, component.putVoid(), server);
    if (created != S_OK) {
        // A success code other than S_OK is refused too; the object it may have
        // delivered is released by its holder.
        if (created == REGDB_E_CLASSNOTREG)
            output.showMessage("The object " + progId + " is not registered in the registration database.");
        else
            output.showMessage("Unexpected error while instantiating " + progId);
        return;
    }
    for (const ProbedInterface& entry : kProbedInterfaces)
        probeInterface(component.get(), entry, output);
}
