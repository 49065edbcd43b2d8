// The misbehaving components of TestComponents.dll do what TestFault.h promises, so
// that the library's tests can rely on them.
#include <gtest/gtest.h>

#include "CapeOpen.h"
#include "SampleMachine.h"
#include "components/RegisteredFault.h"
#include "support/ComPtr.h"
#include "support/UniqueBstr.h"
#include "support/VariantHolder.h"

using namespace samplestest;
using testfault::RegisteredFault;
using testfault::TestFault;

namespace {

ComPtr<IUnknown> create(const RegisteredFault& fault, HRESULT* result = nullptr)
{
    ComPtr<IUnknown> object;
    HRESULT hr = CoCreateInstance(fault.clsid(), nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.putVoid());
    if (result)
        *result = hr;
    return object;
}

bool answers(IUnknown* object, REFIID iid)
{
    ComPtr<IUnknown> answer;
    return object && SUCCEEDED(object->QueryInterface(iid, answer.putVoid()));
}

VARTYPE listTypeOf(const RegisteredFault& fault, LONG* count = nullptr)
{
    ComPtr<ICapeThermoPropertyPackageManager> manager;
    create(fault).queryInterface(IID_ICapeThermoPropertyPackageManager, manager);
    VariantHolder list;
    if (!manager || FAILED(manager->GetPropertyPackageList(&list)))
        return VT_ERROR;
    if (count && (list.vt & VT_ARRAY)) {
        LONG lower = 0, upper = -1;
        SafeArrayGetLBound(list.parray, 1, &lower);
        SafeArrayGetUBound(list.parray, 1, &upper);
        *count = upper - lower + 1;
    }
    return list.vt;
}

ComPtr<IDispatch> packageOf(const RegisteredFault& manager)
{
    ComPtr<ICapeThermoPropertyPackageManager> ppm;
    create(manager).queryInterface(IID_ICapeThermoPropertyPackageManager, ppm);
    ComPtr<IDispatch> package;
    UniqueBstr name(L"Faulty Package");
    if (ppm)
        ppm->GetPropertyPackage(name.get(), package.put());
    return package;
}

}  // namespace

TEST(TestFaults, UnitOperationFaultsAreRegisteredAndBuiltAsDocumented)
{
    RegisteredFault noProgId(TestFault::NoProgId);
    ASSERT_EQ(S_OK, noProgId.result());
    LPOLESTR progId = nullptr;
    EXPECT_TRUE(FAILED(ProgIDFromCLSID(noProgId.clsid(), &progId))) << "the class should have no ProgID";
    CoTaskMemFree(progId);
    EXPECT_TRUE(listed(classesOfCategory(catidUnitOperation), noProgId.clsid()));
    EXPECT_TRUE(answers(create(noProgId).get(), IID_ICapeUnit)) << "otherwise a good unit operation";

    RegisteredFault noDescription(TestFault::NoCapeDescription);
    ASSERT_EQ(S_OK, noDescription.result());
    EXPECT_FALSE(keyExists(L"CLSID\\" + noDescription.clsidText() + L"\\CapeDescription"));
    EXPECT_EQ(noDescription.clsidText(), readText(noDescription.progId() + L"\\CLSID", nullptr));

    RegisteredFault withoutUnit(TestFault::UnitWithoutCapeUnit);
    ComPtr<IUnknown> unit = create(withoutUnit);
    ASSERT_TRUE(unit);
    EXPECT_FALSE(answers(unit.get(), IID_ICapeUnit));
    EXPECT_TRUE(answers(unit.get(), IID_ICapeUtilities));

    RegisteredFault otherVersion(TestFault::UnitWithOtherVersionInterface);
    ComPtr<IUnknown> other = create(otherVersion);
    EXPECT_FALSE(answers(other.get(), IID_ICapeUnit));
    EXPECT_TRUE(answers(other.get(), IID_ICapeThermoPropertyPackageManager));
    EXPECT_EQ(L"1.0", readText(L"CLSID\\" + otherVersion.clsidText() + L"\\CapeDescription", L"CapeVersion"));
    EXPECT_TRUE(listed(classesOfCategory(catidUnitOperation), otherVersion.clsid()));
}

TEST(TestFaults, ManagersOfferTheirListInTheDocumentedShape)
{
    RegisteredFault empty(TestFault::ManagerEmptyList), single(TestFault::ManagerListNotArray),
        variants(TestFault::ManagerListOfVariants), good(TestFault::ManagerOfPackageWithoutUtilities);
    LONG count = -1;
    EXPECT_EQ(VT_ARRAY | VT_BSTR, listTypeOf(empty, &count));
    EXPECT_EQ(0, count) << "an array without element";
    EXPECT_EQ(VT_BSTR, listTypeOf(single)) << "a single text, not an array";
    EXPECT_EQ(VT_ARRAY | VT_VARIANT, listTypeOf(variants, &count));
    EXPECT_EQ(2, count);
    EXPECT_EQ(VT_ARRAY | VT_BSTR, listTypeOf(good, &count));
    EXPECT_EQ(1, count);
    EXPECT_TRUE(listed(classesOfCategory(catidPackageManager11), empty.clsid()));
    EXPECT_EQ(L"Faulty Package",
              readText(L"CLSID\\" + good.clsidText() + L"\\PropertyPackages\\Faulty Package\\CapeDescription", L"Name"));
}

TEST(TestFaults, ManagerFaultsFailWhereDocumented)
{
    RegisteredFault failing(TestFault::ManagerCreationFails);
    HRESULT hr = S_OK;
    EXPECT_FALSE(create(failing, &hr));
    EXPECT_EQ(static_cast<HRESULT>(0x80040503), hr) << "creation fails with ECapeLicenceErrorHR";

    RegisteredFault withoutInterface(TestFault::ManagerWithoutManagerInterface);
    ComPtr<IUnknown> manager = create(withoutInterface);
    ASSERT_TRUE(manager);
    ComPtr<IUnknown> answer;
    EXPECT_EQ(E_NOINTERFACE, manager->QueryInterface(IID_ICapeThermoPropertyPackageManager, answer.putVoid()));

    RegisteredFault noPackage(TestFault::ManagerReturnsNoPackage);
    ComPtr<ICapeThermoPropertyPackageManager> ppm;
    ASSERT_EQ(S_OK, create(noPackage).queryInterface(IID_ICapeThermoPropertyPackageManager, ppm));
    UniqueBstr name(L"Faulty Package");
    ComPtr<IDispatch> package;
    EXPECT_EQ(S_OK, ppm->GetPropertyPackage(name.get(), package.put()));
    EXPECT_FALSE(package) << "success without a package";
}

TEST(TestFaults, PackagesLackTheDocumentedInterfaceStandaloneAndFromTheirManager)
{
    struct Case {
        TestFault standalone;
        TestFault manager;
        IID missing[2];
        IID present;
    };
    const Case cases[] = {
        {TestFault::PackageEquilibriumOnly, TestFault::ManagerOfEquilibriumOnlyPackage,
         {IID_ICapeThermoPropertyRoutine, IID_ICapeThermoMaterialContext}, IID_ICapeThermoEquilibriumRoutine},
        {TestFault::PackageWithoutMaterialContext, TestFault::ManagerOfPackageWithoutMaterialContext,
         {IID_ICapeThermoMaterialContext, IID_ICapeThermoMaterialContext}, IID_ICapeThermoPropertyRoutine},
        {TestFault::PackageWithoutUtilities, TestFault::ManagerOfPackageWithoutUtilities,
         {IID_ICapeUtilities, IID_ICapeUtilities}, IID_ICapeThermoPropertyRoutine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<long>(c.standalone));
        RegisteredFault standalone(c.standalone), manager(c.manager);
        EXPECT_TRUE(listed(classesOfCategory(catidPropertyPackage11), standalone.clsid()));
        for (ComPtr<IUnknown> package : {create(standalone), ComPtr<IUnknown>(packageOf(manager).get())}) {
            ASSERT_TRUE(package);
            for (const IID& iid : c.missing)
                EXPECT_FALSE(answers(package.get(), iid));
            EXPECT_TRUE(answers(package.get(), c.present));
            EXPECT_TRUE(answers(package.get(), IID_IDispatch));
        }
    }
}

TEST(TestFaults, PackageInitializeFailsWithAnErrorObject)
{
    RegisteredFault standalone(TestFault::PackageInitializeFails),
        manager(TestFault::ManagerOfPackageWhoseInitializeFails);
    for (ComPtr<IUnknown> package : {create(standalone), ComPtr<IUnknown>(packageOf(manager).get())}) {
        ComPtr<ICapeUtilities> utilities;
        ASSERT_EQ(S_OK, package.queryInterface(IID_ICapeUtilities, utilities));
        EXPECT_EQ(static_cast<HRESULT>(0x8004050F), utilities->Initialize());
        ComPtr<IErrorInfo> info;
        ASSERT_EQ(S_OK, GetErrorInfo(0, info.put())) << "Initialize should leave an error object";
        UniqueBstr description;
        info->GetDescription(description.put());
        EXPECT_EQ(L"The test package refuses to initialise.", description.text());
    }
}

TEST(TestFaults, UnregisteringRemovesTheClassAndItsProgId)
{
    std::wstring clsid, progId;
    {
        RegisteredFault fault(TestFault::ManagerEmptyList);
        ASSERT_EQ(S_OK, fault.result());
        clsid = fault.clsidText();
        progId = fault.progId();
        EXPECT_TRUE(keyExists(progId));
    }
    EXPECT_FALSE(keyExists(L"CLSID\\" + clsid));
    EXPECT_FALSE(keyExists(progId));
}
