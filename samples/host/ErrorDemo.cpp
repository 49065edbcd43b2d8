#include "ErrorDemo.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>

#include "QnShowCOCATIDs11.h"

#include "HostRef.h"

int runErrorDemo()
{
    std::printf("== A reported error: GetItemCLSID before any component was chosen\n");
    HostRef<ICCAPEGUI> gui;
    HRESULT hr = CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui.putVoid());
    if (FAILED(hr)) {
        std::printf("  the object cannot be created (0x%08lX)\n", static_cast<unsigned long>(hr));
        return 1;
    }
    BSTR clsid = nullptr;
    hr = gui->GetItemCLSID(&clsid);
    std::printf("  GetItemCLSID returned 0x%08lX%s\n", static_cast<unsigned long>(hr),
                FAILED(hr) ? " (the failure the box explained)" : "");
    SysFreeString(clsid);
    return FAILED(hr) ? 0 : 1;
}
