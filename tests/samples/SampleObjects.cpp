#include "SampleObjects.h"

#include "CapeOpen.h"
#include "support/UniqueBstr.h"

namespace samplestest {

ComPtr<IUnknown> createByProgId(const wchar_t* progId)
{
    ComPtr<IUnknown> object;
    CLSID clsid{};
    if (SUCCEEDED(CLSIDFromProgID(progId, &clsid)))
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.putVoid());
    return object;
}

bool answers(IUnknown* object, REFIID iid)
{
    ComPtr<IUnknown> answer;
    return object && SUCCEEDED(object->QueryInterface(iid, answer.putVoid())) && answer;
}

ComPtr<IUnknown> managerPackage(const wchar_t* name)
{
    auto manager = as<ICapeThermoPropertyPackageManager>(createByProgId(L"Oskvale.PackageManager"),
                                                         IID_ICapeThermoPropertyPackageManager);
    ComPtr<IDispatch> package;
    UniqueBstr packageName(name);
    if (manager)
        manager->GetPropertyPackage(packageName.get(), package.put());
    return ComPtr<IUnknown>(package.get());
}

std::vector<std::wstring> stringsOf(const VARIANT& list)
{
    std::vector<std::wstring> result;
    if (list.vt != (VT_ARRAY | VT_BSTR) || SafeArrayGetDim(list.parray) != 1)
        return result;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(list.parray, 1, &lower);
    SafeArrayGetUBound(list.parray, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        UniqueBstr text;
        SafeArrayGetElement(list.parray, &i, text.put());
        result.push_back(text.text());
    }
    return result;
}

std::vector<double> doublesOf(const VARIANT& list)
{
    std::vector<double> result;
    if (list.vt != (VT_ARRAY | VT_R8) || SafeArrayGetDim(list.parray) != 1)
        return result;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(list.parray, 1, &lower);
    SafeArrayGetUBound(list.parray, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        double value = 0;
        SafeArrayGetElement(list.parray, &i, &value);
        result.push_back(value);
    }
    return result;
}

std::wstring errorDescription()
{
    ComPtr<IErrorInfo> info;
    UniqueBstr text;
    if (GetErrorInfo(0, info.put()) == S_OK)
        info->GetDescription(text.put());
    return text.text();
}

}  // namespace samplestest
