#pragma once
#include <string>

// The Component Manager's choice, as its owner reads it back after the dialog: the
// chosen record's texts and its parent's (a package's manager). All empty until a
// record is chosen or preset; remoteServer always stays empty (the catalogue is that
// of the local machine).
struct ComponentSelection {
    std::string selAlias;        // record Name
    std::string selParentAlias;  // parent record Name
    std::string selProgID;       // record ProgID (a package name for a package)
    std::string selDescription;
    std::string selComponentVersion;
    std::string selVendorURL;
    std::string selHelpURL;
    std::string selAbout;
    std::string selCLSID;
    std::string selCATID;
    std::string selParentProgID;  // parent record ProgID
    std::string remoteServer;
    std::string selCapeVersion;
};
