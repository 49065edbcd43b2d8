// Late-bound calls: every sample answers IDispatch for its primary dual interface
// from the type library embedded in its DLL.
#include <gtest/gtest.h>

#include "SampleObjects.h"
#include "support/UniqueBstr.h"
#include "support/VariantHolder.h"

using namespace samplestest;

namespace {

// Calls member by name through IDispatch (no arguments); returns the HRESULT.
HRESULT invokeByName(const ComPtr<IUnknown>& object, const wchar_t* member, WORD flags, VARIANT* result,
                     EXCEPINFO* exception = nullptr)
{
    auto dispatch = as<IDispatch>(object, IID_IDispatch);
    if (!dispatch)
        return E_NOINTERFACE;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(member)};
    HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        return hr;
    DISPPARAMS none{};
    EXCEPINFO ignored{};
    hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &none, result, exception ? exception : &ignored,
                          nullptr);
    if (!exception) {
        SysFreeString(ignored.bstrSource);
        SysFreeString(ignored.bstrDescription);
        SysFreeString(ignored.bstrHelpFile);
    }
    return hr;
}

}  // namespace

TEST(SampleLateBound, EachSamplePublishesTheTypeOfItsPrimaryInterface)
{
    const std::pair<const wchar_t*, const wchar_t*> primaries[] = {
        {L"Tarnwick.Mixer", L"ICapeUnit"},
        {L"Tarnwick.Heater", L"ICapeUnit"},
        {L"Oskvale.PackageManager", L"ICapeThermoPropertyPackageManager"},
        {L"Lindqvarn.PropertyPackage", L"ICapeIdentification"},
    };
    for (const auto& [progId, interfaceName] : primaries) {
        SCOPED_TRACE(testing::PrintToString(progId));
        auto dispatch = as<IDispatch>(createByProgId(progId), IID_IDispatch);
        ASSERT_TRUE(dispatch);
        UINT count = 0;
        ASSERT_EQ(S_OK, dispatch->GetTypeInfoCount(&count));
        ASSERT_EQ(1u, count);
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(S_OK, dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()));
        UniqueBstr name;
        ASSERT_EQ(S_OK, info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr));
        EXPECT_EQ(interfaceName, name.text());
    }
}

TEST(SampleLateBound, MethodsAndPropertiesCanBeCalledByName)
{
    VariantHolder list;
    ASSERT_EQ(S_OK, invokeByName(createByProgId(L"Oskvale.PackageManager"), L"GetPropertyPackageList",
                                 DISPATCH_METHOD, &list));
    EXPECT_EQ((std::vector<std::wstring>{L"Natural Gas", L"Aromatics", L"Air and Water"}), stringsOf(list));

    VariantHolder name;
    ASSERT_EQ(S_OK, invokeByName(createByProgId(L"Lindqvarn.PropertyPackage"), L"ComponentName",
                                 DISPATCH_PROPERTYGET, &name));
    ASSERT_EQ(VT_BSTR, name.vt);
    EXPECT_STREQ(L"Lindqvarn Twelve Compounds", name.bstrVal);

    VariantHolder status;
    ASSERT_EQ(S_OK, invokeByName(createByProgId(L"Tarnwick.Heater"), L"ValStatus", DISPATCH_PROPERTYGET, &status));
    EXPECT_EQ(0, status.lVal) << "CAPE_NOT_VALIDATED";
}

TEST(SampleLateBound, AFailingCallReportsItsErrorObjectAsAnException)
{
    EXCEPINFO exception{};
    VariantHolder nothing;
    EXPECT_EQ(DISP_E_EXCEPTION,
              invokeByName(createByProgId(L"Tarnwick.Mixer"), L"Calculate", DISPATCH_METHOD, &nothing, &exception));
    EXPECT_EQ(static_cast<HRESULT>(0x80040509), exception.scode) << "ECapeNoImplHR";
    EXPECT_NE(nullptr, exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);

    auto dispatch = as<IDispatch>(createByProgId(L"Tarnwick.Mixer"), IID_IDispatch);
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"NoSuchMember")};
    EXPECT_EQ(DISP_E_UNKNOWNNAME, dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
}
