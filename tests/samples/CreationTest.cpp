// Creating the registered samples by ProgID, the interfaces each promises, and the
// package list and packages of the sample Property Package Manager.
#include <gtest/gtest.h>

#include "CapeOpen.h"
#include "SampleObjects.h"
#include "SampleParameters.h"
#include "support/ComPtr.h"
#include "support/UniqueBstr.h"
#include "support/VariantHolder.h"

using namespace samplestest;

namespace {

struct Promise {
    const wchar_t* progId;
    std::vector<IID> interfaces;
    std::vector<IID> absent;
};

}  // namespace

TEST(SampleCreation, EverySampleAnswersTheInterfacesItPromises)
{
    const Promise promises[] = {
        {L"Tarnwick.Mixer",
         {IID_ICapeUnit, IID_ICapeUtilities, IID_ICapeIdentification, IID_IDispatch, IID_ISupportErrorInfo,
          IID_ISampleParameters, IID_IPersistStreamInit},
         {IID_IPersistStorage, IID_IPersistStream, IID_ICapeThermoPropertyPackageManager}},
        {L"Tarnwick.Heater",
         {IID_ICapeUnit, IID_ICapeUtilities, IID_ICapeIdentification, IID_IDispatch, IID_ISampleParameters,
          IID_IPersistStorage},
         {IID_IPersistStreamInit, IID_IPersistStream}},
        {L"Oskvale.PackageManager",
         {IID_ICapeThermoPropertyPackageManager, IID_ICapeUtilities, IID_ICapeIdentification, IID_IDispatch},
         {IID_ICapeUnit, IID_ICapeThermoPropertyRoutine}},
        {L"Lindqvarn.PropertyPackage",
         {IID_ICapeThermoPropertyRoutine, IID_ICapeThermoEquilibriumRoutine, IID_ICapeThermoMaterialContext,
          IID_ICapeThermoCompounds, IID_ICapeThermoPhases, IID_ICapeUtilities, IID_ICapeIdentification,
          IID_IDispatch, IID_IPersistStream},
         {IID_ICapeUnit, IID_ICapeThermoPropertyPackageManager, IID_IPersistStreamInit, IID_IPersistStorage}},
    };
    for (const Promise& promise : promises) {
        SCOPED_TRACE(testing::PrintToString(promise.progId));
        ComPtr<IUnknown> object = createByProgId(promise.progId);
        ASSERT_TRUE(object) << "the sample should be creatable by its ProgID";
        for (const IID& iid : promise.interfaces)
            EXPECT_TRUE(answers(object.get(), iid)) << "missing promised interface " << testing::PrintToString(iid.Data1);
        for (const IID& iid : promise.absent)
            EXPECT_FALSE(answers(object.get(), iid)) << "unexpected interface " << testing::PrintToString(iid.Data1);

        // COM identity: every interface leads back to the same IUnknown.
        ComPtr<IDispatch> dispatch;
        ASSERT_EQ(S_OK, object.queryInterface(IID_IDispatch, dispatch));
        ComPtr<IUnknown> identity;
        ASSERT_EQ(S_OK, dispatch.queryInterface(IID_IUnknown, identity));
        EXPECT_EQ(object.get(), identity.get()) << "IUnknown should be the same through every interface";
    }
}

TEST(SampleCreation, UnitParametersAreCheckedByNameAndBounds)
{
    ComPtr<IUnknown> object = createByProgId(L"Tarnwick.Heater");
    ComPtr<ISampleParameters> parameters;
    ASSERT_EQ(S_OK, object.queryInterface(IID_ISampleParameters, parameters));
    UniqueBstr outlet(L"outletTemperature");
    double value = 0;
    ASSERT_EQ(S_OK, parameters->GetParameter(outlet.get(), &value));
    EXPECT_DOUBLE_EQ(298.15, value);
    EXPECT_EQ(S_OK, parameters->SetParameter(outlet.get(), 450.0));
    EXPECT_EQ(static_cast<HRESULT>(0x80040507), parameters->SetParameter(outlet.get(), -3.0))
        << "a value below the bound should be refused with ECapeOutOfBoundsHR";
    EXPECT_EQ(S_OK, parameters->GetParameter(outlet.get(), &value));
    EXPECT_DOUBLE_EQ(450.0, value) << "a refused value should change nothing";
    UniqueBstr unknown(L"colour");
    EXPECT_EQ(static_cast<HRESULT>(0x80040506), parameters->SetParameter(unknown.get(), 1.0));
    EXPECT_NE(std::wstring::npos, errorDescription().find(L"colour")) << "the error object should name the parameter";
}

TEST(SampleManager, ListsItsThreePackagesAsAnArrayOfBstr)
{
    ComPtr<IUnknown> object = createByProgId(L"Oskvale.PackageManager");
    ComPtr<ICapeThermoPropertyPackageManager> manager;
    ASSERT_EQ(S_OK, object.queryInterface(IID_ICapeThermoPropertyPackageManager, manager));
    VariantHolder list;
    ASSERT_EQ(S_OK, manager->GetPropertyPackageList(&list));
    ASSERT_EQ(VT_ARRAY | VT_BSTR, list.vt) << "the list should be a SAFEARRAY of BSTR";
    EXPECT_EQ(1u, SafeArrayGetDim(list.parray));
    LONG lower = -1;
    SafeArrayGetLBound(list.parray, 1, &lower);
    EXPECT_EQ(0, lower);
    EXPECT_EQ((std::vector<std::wstring>{L"Natural Gas", L"Aromatics", L"Air and Water"}), stringsOf(list));
}

TEST(SampleManager, CreatesEachListedPackageByName)
{
    ComPtr<IUnknown> object = createByProgId(L"Oskvale.PackageManager");
    ComPtr<ICapeThermoPropertyPackageManager> manager;
    ASSERT_EQ(S_OK, object.queryInterface(IID_ICapeThermoPropertyPackageManager, manager));
    for (const wchar_t* name : {L"Natural Gas", L"Aromatics", L"Air and Water"}) {
        SCOPED_TRACE(testing::PrintToString(name));
        UniqueBstr packageName(name);
        ComPtr<IDispatch> package;
        ASSERT_EQ(S_OK, manager->GetPropertyPackage(packageName.get(), package.put()));
        ASSERT_TRUE(package);
        for (const IID& iid : {IID_ICapeThermoPropertyRoutine, IID_ICapeThermoMaterialContext, IID_ICapeUtilities,
                               IID_ICapeThermoCompounds, IID_ICapeThermoPhases})
            EXPECT_TRUE(answers(package.get(), iid)) << testing::PrintToString(iid.Data1);
        ComPtr<ICapeIdentification> identification;
        ASSERT_EQ(S_OK, package.queryInterface(IID_ICapeIdentification, identification));
        UniqueBstr componentName;
        ASSERT_EQ(S_OK, identification->get_ComponentName(componentName.put()));
        EXPECT_EQ(name, componentName.text()) << "a package is named after its list entry";
        ComPtr<ICapeUtilities> utilities;
        ASSERT_EQ(S_OK, package.queryInterface(IID_ICapeUtilities, utilities));
        EXPECT_EQ(S_OK, utilities->Initialize());
        EXPECT_EQ(S_OK, utilities->Terminate());
    }
}

TEST(SampleManager, RefusesAnUnknownPackageWithAnErrorObject)
{
    ComPtr<IUnknown> object = createByProgId(L"Oskvale.PackageManager");
    ComPtr<ICapeThermoPropertyPackageManager> manager;
    ASSERT_EQ(S_OK, object.queryInterface(IID_ICapeThermoPropertyPackageManager, manager));
    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(S_OK, object.queryInterface(IID_ISupportErrorInfo, support));
    EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID_ICapeThermoPropertyPackageManager));
    UniqueBstr name(L"natural gas");
    ComPtr<IDispatch> package;
    EXPECT_EQ(static_cast<HRESULT>(0x80040506), manager->GetPropertyPackage(name.get(), package.put()))
        << "names match exactly, so another letter case is unknown";
    EXPECT_FALSE(package) << "no package on failure";
    EXPECT_NE(std::wstring::npos, errorDescription().find(L"natural gas"));
}
