#pragma once
// The library as hosts know it: the ids its registration writes, and its automation
// object created through COM from the registered DLL.
#include <string>

#include "QnShowCOCATIDs11.h"
#include "support/ComPtr.h"

namespace testkit {

inline const std::string kLibraryClsid = "{3F6A1D20-7C41-4B8E-9D2A-51C0E7B4A913}";
inline const std::string kLibraryProgId = "QnShowCOCATIDs.CCAPEGUI11";
inline const std::string kCheckClsid = "{07CCC4CE-59F8-4771-A62B-FCBCB3278FB0}";
inline const std::string kCheckProgId = "QnShowCOCATIDs.RegistrationCheck";
inline const std::string kTypeLibraryId = "{5D0C2E71-A9B3-4F16-8C47-2E9B6A0F3D58}";
inline const std::string kGuiIid = "{3F6A1D21-7C41-4B8E-9D2A-51C0E7B4A913}";  // ICCAPEGUI

// The object of the registered library, as a host creates it; null when it cannot be.
inline ComPtr<ICCAPEGUI> registeredObject()
{
    ComPtr<ICCAPEGUI> gui;
    CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui.putVoid());
    return gui;
}

}  // namespace testkit
