#include "catalogue/RegistrationReport.h"

#include <objbase.h>

#include <set>
#include <vector>

#include "catalogue/CategoryTable.h"
#include "catalogue/ClassesRootView.h"
#include "catalogue/RegistrationChecks.h"
#include "support/RegKey.h"

namespace {

const ClassesRootView k64BitView(KEY_WOW64_64KEY);
const ClassesRootView k32BitView(KEY_WOW64_32KEY);

// A class key's name read as a class identifier; false for any other key name.
bool parseClassKey(const std::string& name, CLSID& clsid)
{
    if (name.size() != 38 || name.front() != '{')
        return false;
    const std::wstring wide(name.begin(), name.end());
    return SUCCEEDED(IIDFromString(wide.c_str(), &clsid));
}

std::string braced(REFCLSID clsid)
{
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    return std::string(text, text + wcslen(text));
}

class ReportText {
public:
    // The findings of one checked component.
    void addComponent(const std::string& subject, const CategoryEntry& category, const Findings& findings)
    {
        ++components_;
        addLines(subject, category, findings);
    }
    // Findings that belong to no one component (the list of classes itself).
    void addLines(const std::string& subject, const CategoryEntry& category, const Findings& findings)
    {
        for (const Finding& finding : findings.all()) {
            ++(finding.isError ? errors_ : warnings_);
            text_ += std::string(finding.isError ? "error: " : "warning: ") + subject + " [" + category.displayName +
                     "]: " + finding.text + "\r\n";
        }
    }
    std::string finish() const
    {
        return text_ + std::to_string(components_) + " components checked, " + std::to_string(errors_) + " errors, " +
               std::to_string(warnings_) + " warnings.\r\n";
    }

private:
    std::string text_;
    int components_ = 0;
    int errors_ = 0;
    int warnings_ = 0;
};

// The classes that one view lists under one category, in the registry's order.
struct ViewListing {
    std::vector<CLSID> classes;
    std::set<std::string> keys;  // braced, upper case
};

// The classes of each category of categories in one view: every key under CLSID whose
// "Implemented Categories" holds the CATID. A CLSID key that cannot be listed is
// reported under each category.
std::vector<ViewListing> listClasses(const ClassesRootView& view, std::span<const CategoryEntry> categories,
                                     ReportText& report)
{
    std::vector<ViewListing> listings(categories.size());
    RegKey classes;
    std::vector<std::string> names;
    LONG status = view.open("CLSID", classes);
    if (status == ERROR_SUCCESS)
        status = readSubkeyNames(classes.get(), names);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        Findings findings;
        findings.unreadable(std::string("HKEY_CLASSES_ROOT\\CLSID (") + view.bitness() + " view)", status);
        for (const CategoryEntry& category : categories)
            report.addLines("CLSID", category, findings);
    }
    for (const std::string& name : names) {
        CLSID clsid;
        if (!parseClassKey(name, clsid))
            continue;
        // A class whose categories cannot be read is in none that anyone can list.
        RegKey implemented;
        if (view.open("CLSID\\" + name + "\\Implemented Categories", implemented) != ERROR_SUCCESS)
            continue;
        for (size_t i = 0; i < categories.size(); ++i) {
            RegKey category;
            if (RegOpenKeyExA(implemented.get(), categories[i].catid, 0, KEY_READ, category.put()) != ERROR_SUCCESS)
                continue;
            listings[i].classes.push_back(clsid);
            listings[i].keys.insert(braced(clsid));
        }
    }
    return listings;
}

void checkIn64BitView(REFCLSID clsid, const CategoryEntry& category, ReportText& report)
{
    const std::string key = braced(clsid);
    Findings findings;
    const std::string progId = checkProgId(k64BitView, key, findings);
    const bool serversFound = checkServers(k64BitView, key, findings);
    checkDescription(k64BitView, key, findings);
    checkTypeLibrary(k64BitView, key, findings);
    // A manager without its server file would only fail again, for the same reason.
    if (category.filterFlag == kManagerFilter && serversFound)
        checkManager(clsid, findings);
    report.addComponent(progId.empty() ? key : progId, category, findings);
}

// A class that the 32-bit view lists under the category and the 64-bit view does not.
void checkIn32BitViewOnly(REFCLSID clsid, const CategoryEntry& category, ReportText& report)
{
    const std::string key = braced(clsid);
    Findings findings;
    const std::string progId = readProgId(k32BitView, key, findings);
    RegKey classKey;
    const LONG status = k64BitView.open("CLSID\\" + key, classKey);
    if (status == ERROR_FILE_NOT_FOUND)
        findings.error("registered for 32-bit programs only; this 64-bit host cannot load it "
                       "(install the component's 64-bit version)");
    else if (status != ERROR_SUCCESS)
        findings.unreadable("HKEY_CLASSES_ROOT\\CLSID\\" + key + " (64-bit view)", status);
    else
        findings.warning("listed in this category for 32-bit programs only; its 64-bit registration lacks the "
                         "category, so 64-bit hosts do not list it: reinstall the component");
    report.addComponent(progId.empty() ? key : progId, category, findings);
}

}  // namespace

std::string registrationReport(unsigned long filter)
{
    std::vector<CategoryEntry> categories;
    for (const CategoryEntry& entry : kCategoryTable)
        if (categoryShown(entry, filter))
            categories.push_back(entry);
    return registrationReport(categories);
}

std::string registrationReport(std::span<const CategoryEntry> categories)
{
    ReportText report;
    if (categories.empty())
        return report.finish();
    const std::vector<ViewListing> native = listClasses(k64BitView, categories, report);
    const std::vector<ViewListing> wow = listClasses(k32BitView, categories, report);
    for (size_t i = 0; i < categories.size(); ++i) {
        for (const CLSID& clsid : native[i].classes)
            checkIn64BitView(clsid, categories[i], report);
        for (const CLSID& clsid : wow[i].classes)
            if (!native[i].keys.contains(braced(clsid)))
                checkIn32BitViewOnly(clsid, categories[i], report);
    }
    return report.finish();
}
