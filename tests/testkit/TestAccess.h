#pragma once
// Arranges the automation object's state that a test needs and that only a longer
// road through the library would otherwise set (a chosen item, a held component).
#include <string>

#include "automation/CCCAPEGUI.h"
#include "support/ComPtr.h"

class CCCAPEGUITestAccess {
public:
    static CCCAPEGUI& of(ICCAPEGUI* gui) { return *static_cast<CCCAPEGUI*>(gui); }

    // The object holds these as if createComp had made them.
    static void holdComponents(ICCAPEGUI* gui, IDispatch* component, IDispatch* parent = nullptr)
    {
        of(gui).component = ComPtr<IDispatch>(component);
        of(gui).parent = ComPtr<IDispatch>(parent);
    }
    // The item as the Component Manager would have chosen it: a 1.0 unit operation
    // under the unit operations filter.
    static void chooseItem(ICCAPEGUI* gui, const std::string& progId, const std::string& clsidText)
    {
        CCCAPEGUI& object = of(gui);
        object.itemProgID = progId;
        object.itemCLSIDText = clsidText;
        object.itemCOVersionText = "1.0";
        object.compCOversion = 100;
        object.categoryFilter = 32;
    }
    static void setParentProgId(ICCAPEGUI* gui, const std::string& progId) { of(gui).parentProgID = progId; }
};
