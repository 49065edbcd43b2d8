#pragma once
#include <string>

// The values registered under one "CapeDescription" key, read with one open of the
// key; each is exactly what GetRegPath would read for it (empty when the key or the
// value is missing).
struct DescriptionValues {
    std::string Name;
    std::string Description;
    std::string About;
    std::string CapeVersion;
    std::string ComponentVersion;
    std::string VendorURL;
    std::string HelpURL;
};

// keyPath is relative to HKEY_CLASSES_ROOT.
DescriptionValues readDescriptionValues(const std::string& keyPath);
