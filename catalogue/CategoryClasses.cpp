#include "catalogue/CategoryClasses.h"

#include <comcat.h>

#include "support/ComPtr.h"
#include "support/ErrorReport.h"

void forEachClassOfCategory(const std::wstring& catid, const wchar_t* server,
                            const std::function<void(const CLSID&)>& visit)
{
    if (catid.find(L'{') == std::wstring::npos)
        return;
    ComPtr<ICatInformation> categories;
    if (FAILED(createInterface(CLSID_StdComponentCategoriesMgr, nullptr, kAnyServerContext, IID_ICatInformation,
                               categories.putVoid(), server))) {
        SetErrorInfo(0, nullptr);  // explained already; not to be taken for a later failure's
        return;
    }

    CATID category = GUID_NULL;
    CLSIDFromString(catid.c_str(), &category);
    ComPtr<IEnumGUID> classes;
    // 0xFFFFFFFF required categories: the manager ignores what classes require.
    if (FAILED(categories->EnumClassesOfCategories(1, &category, static_cast<ULONG>(-1), nullptr, classes.put())) ||
        !classes)
        return;

    CLSID clsid;
    ULONG fetched = 0;
    while (classes->Next(1, &clsid, &fetched) == S_OK)
        visit(clsid);
}
