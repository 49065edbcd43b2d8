#pragma once
#include <memory>
#include <string>
#include <vector>

// What the catalogue knows of one listed component or package: its category, its
// identity and the texts registered under its "CapeDescription" key. All fields are
// empty when a record is made.
struct CAPETreeItemTag {
    std::string CATID;   // the category the record was made for
    std::string ProgID;  // for a package of a manager: the package name
    std::string CLSID;   // braced upper-case; for a package, its manager's
    std::string Name;    // "Name", or ProgID when that is missing or empty
    std::string Description;
    std::string CapeVersion;
    std::string ComponentVersion;
    std::string VendorURL;
    std::string HelpURL;
    std::string About;
};
using CAPETREEITEM = CAPETreeItemTag*;

// The records of one catalogue; tree items point at them and never free them.
using RecordList = std::vector<std::unique_ptr<CAPETreeItemTag>>;
