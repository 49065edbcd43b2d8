#include "catalogue/DescriptionKey.h"

#include "support/RegKey.h"
#include "support/RegistryText.h"

DescriptionValues readDescriptionValues(const std::string& keyPath)
{
    DescriptionValues values;
    RegKey key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return values;
    values.Name = readRegistryText(key.get(), "Name");
    values.Description = readRegistryText(key.get(), "Description");
    values.About = readRegistryText(key.get(), "About");
    values.CapeVersion = readRegistryText(key.get(), "CapeVersion");
    values.ComponentVersion = readRegistryText(key.get(), "ComponentVersion");
    values.VendorURL = readRegistryText(key.get(), "VendorURL");
    values.HelpURL = readRegistryText(key.get(), "HelpURL");
    return values;
}
