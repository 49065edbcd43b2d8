// The direct road: a component created from its ProgID (on this computer or on a
// named one), checked for the interface of its category and for the CAPE-OPEN
// version it was registered with, and handed to the host.
#include <gtest/gtest.h>

#include "CapeOpen.h"
#include "CreationFixture.h"
#include "RegisteredFault.h"
#include "ServedDoubles.h"
#include "automation/BstrText.h"
#include "automation/CCCAPEGUI.h"
#include "automation/Creation.h"
#include "support/AnsiText.h"
#include "support/UniqueBstr.h"

using namespace creationtest;
using testfault::RegisteredFault;
using testfault::TestFault;

namespace {

constexpr long unitOperations = 32;
const char* const notValidated = "which has not been validated with the current version of Corvane Veltrix";

bool answers(const ComPtr<IDispatch>& object, REFIID iid)
{
    ComPtr<IUnknown> answer;
    return object && SUCCEEDED(object.queryInterface(iid, answer));
}

}  // namespace

TEST(ExpectedInterface, TheCategoryIsAWholeNumberAndUnitsDependOnTheVersion)
{
    EXPECT_EQ(IID_ICapeUnit, expectedInterfaceIID(32, 100));
    EXPECT_EQ(IID_ICapeUnit, expectedInterfaceIID(32, 110));
    for (long other : {0L, 90L, 93L, 1000L})
        EXPECT_EQ(IID_ICapeThermoPropertyPackageManager, expectedInterfaceIID(32, other)) << other;
    EXPECT_EQ(IID_ICapeThermoPropertyPackageManager, expectedInterfaceIID(512, 100));
    EXPECT_EQ(IID_ICapeThermoPropertyRoutine, expectedInterfaceIID(1024, 0));
    for (unsigned long combined : {33UL, 1536UL, 65536UL, 0UL})
        EXPECT_EQ(IID_IDispatch, expectedInterfaceIID(combined, 110)) << "filter " << combined;
}

TEST_F(Creation, UnitOperationIsCreatedCheckedAndHandedOver)
{
    choose(L"Tarnwick.Mixer", L"", unitOperations);
    ASSERT_EQ(100, version()) << "registered as CAPE-OPEN 1.0";
    Created created = create();
    ASSERT_EQ(S_OK, created.hr);
    EXPECT_TRUE(answers(created.component, IID_ICapeUnit)) << "the host gets the unit's ICapeUnit";
    EXPECT_FALSE(created.parent) << "the direct road has no parent";
    EXPECT_EQ(0u, boxes.count()) << "nothing to tell";
    LONG type = -1;
    EXPECT_EQ(S_OK, gui->getPersistType(&type));
    EXPECT_EQ(3, type) << "kept by the object, persisted through IPersistStreamInit";
}

TEST_F(Creation, UnitWithoutCapeUnitIsRefusedAndReleased)
{
    RegisteredFault fault(TestFault::UnitWithoutCapeUnit);
    RegisteredInterfaceName name(IID_ICapeUnit, "ICapeUnit");
    ASSERT_EQ(S_OK, fault.result());
    choose(fault.progId(), L"", unitOperations);
    Created created = create();
    EXPECT_EQ(E_NOINTERFACE, created.hr);
    EXPECT_FALSE(created.component);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(0u, boxes.last().text.find(" ERROR: The CAPE-OPEN component '" + toAnsi(fault.progId()) +
                                         "' does not implement the interface 'ICapeUnit'"))
        << boxes.last().text;
    EXPECT_TRUE(shown("(0x80004002)")) << "and its code";
    EXPECT_EQ(0, liveObjects(L"TestComponents.dll")) << "the refused unit has been released";

    // Under every category the same unit needs IDispatch only.
    boxes.clear();
    choose(fault.progId(), L"", 65536);
    created = create();
    EXPECT_EQ(S_OK, created.hr) << testing::PrintToString(texts());
}

TEST_F(Creation, UnitOfAnotherVersionIsRefusedUnderItsRegisteredVersion)
{
    RegisteredFault fault(TestFault::UnitWithOtherVersionInterface);
    ASSERT_EQ(S_OK, fault.result());
    choose(fault.progId(), L"", unitOperations);
    Created created = create();
    EXPECT_EQ(E_NOINTERFACE, created.hr);
    EXPECT_TRUE(shown("' does not implement the interface ''")) << "ICapeUnit is not a registered interface here: "
                                                               << testing::PrintToString(texts());
}

TEST_F(Creation, RegisteredVersionNotImplementedIsAWarningAndCreationGoesOn)
{
    choose(L"Tarnwick.Mixer", L"", unitOperations);
    ASSERT_EQ(S_OK, gui->put_compCOversion(93));
    RegisteredInterfaceName name(IID_ICapeThermoPropertyPackageManager, "ICapeThermoPropertyPackageManager");
    Created created = create();
    ASSERT_EQ(S_OK, created.hr) << testing::PrintToString(texts());
    EXPECT_TRUE(answers(created.component, IID_ICapeUnit)) << "used through the interface it has";
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("The CAPE-OPEN component 'Tarnwick.Mixer' has been registered as being compliant to CAPE-OPEN "
              "version '1.0', but it implements instead version '1.1' of the interface "
              "'ICapeThermoPropertyPackageManager'",
              boxes.last().text)
        << "a warning: no error marker, no code";
}

TEST_F(Creation, NotSupportedVersionWarnsThenChecksTheRegisteredVersion)
{
    choose(L"Tarnwick.Mixer", L"", unitOperations);
    ASSERT_EQ(S_OK, gui->put_compCOversion(1000));
    Created created = create();
    ASSERT_EQ(S_OK, created.hr);
    const std::vector<std::string> shownTexts = texts();
    ASSERT_EQ(2u, shownTexts.size()) << testing::PrintToString(shownTexts);
    EXPECT_EQ(0u, shownTexts[0].find("The component 'Tarnwick.Mixer' implements version '1.0' of the interface ''"))
        << shownTexts[0];
    EXPECT_NE(std::string::npos, shownTexts[0].find(notValidated));
    EXPECT_EQ(0u, shownTexts[1].find("The CAPE-OPEN component 'Tarnwick.Mixer' has been registered"))
        << shownTexts[1];
}

// The Component Manager lists a class by the ProgID its class key names, even when
// that ProgID has no key of its own; choosing it in the dialog gives the object the
// record's CLSID text. setProgIds cannot choose such a class (the catalogue looks
// ProgIDs up through the registry), so the test gives the object the dialog's choice
// directly, on an object of the library linked into the test.
class CCCAPEGUITestAccess {
public:
    static void chooseListed(ICCAPEGUI* gui, const std::string& progId, const std::string& clsidText)
    {
        auto& object = *static_cast<CCCAPEGUI*>(gui);
        object.itemProgID = progId;
        object.itemCLSIDText = clsidText;
        object.itemCOVersionText = "1.0";
        object.compCOversion = 100;
        object.categoryFilter = 32;
    }
};

TEST_F(Creation, ProgIdKnownOnlyThroughTheCatalogueIsCreatedByItsClsid)
{
    RegisteredFault fault(TestFault::NoProgId);
    ASSERT_EQ(S_OK, fault.result());
    const std::string orphan = "QnTest.Orphan." + toAnsi(fault.clsidText().substr(1, 8));
    CLSID unused;
    ASSERT_TRUE(FAILED(CLSIDFromProgID(toWide(orphan).c_str(), &unused)));

    ComPtr<ICCAPEGUI> linked;
    ASSERT_EQ(S_OK, CCCAPEGUI::createInstance(nullptr, IID_ICCAPEGUI, linked.putVoid()));
    CCCAPEGUITestAccess::chooseListed(linked.get(), orphan, toAnsi(fault.clsidText()));
    ComPtr<IDispatch> component;
    EXPECT_EQ(S_OK, linked->createComp(component.put(), nullptr)) << testing::PrintToString(texts());
    EXPECT_TRUE(answers(component, IID_ICapeUnit));
    EXPECT_EQ(0u, boxes.count()) << "created without a message";
    component = nullptr;
    EXPECT_EQ(S_OK, linked->releaseComponents());
}

TEST_F(Creation, NoSelectionNamesAnEmptyProgId)
{
    Created created = create();
    EXPECT_TRUE(FAILED(created.hr));
    EXPECT_FALSE(created.component);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_NE(std::string::npos,
              boxes.last().text.find("The component with ProgID '' is not correctly registered. It's CLSID does "
                                     "not appear in the registry."));
}

TEST_F(Creation, FailedCreationShowsTheSystemBoxThenNamesTheComponent)
{
    RegisteredFault fault(TestFault::ManagerCreationFails);
    ASSERT_EQ(S_OK, fault.result());
    choose(fault.progId(), L"", 512);
    ASSERT_EQ(S_OK, gui->put_compCOversion(100));  // the direct road for a manager
    Created created = create();
    EXPECT_EQ(static_cast<HRESULT>(0x80040503), created.hr) << "the class factory's code";
    const std::vector<std::string> shownTexts = texts();
    ASSERT_EQ(2u, shownTexts.size()) << testing::PrintToString(shownTexts);
    EXPECT_EQ(0u, shownTexts[0].find("Error creating interface")) << shownTexts[0];
    const std::string progId = toAnsi(fault.progId());
    EXPECT_NE(std::string::npos, shownTexts[1].find("Error creating CAPE-OPEN component '" + progId + "' (ProgId '" +
                                                    progId + "', type '')"))
        << shownTexts[1];
    EXPECT_NE(std::string::npos, shownTexts[1].find("The test manager has no licence on this machine."))
        << "with the component's own error information";
}

TEST_F(Creation, LongProgIdsAppearWholeInTheMessages)
{
    // A ProgID is a registry key name (at most 255 characters): two of them exceed
    // 511 characters in one message.
    RegisteredClass unusable(std::string(240, 'L'), {});
    const std::wstring progId(unusable.progId().begin(), unusable.progId().end());
    choose(progId, L"", 65536);
    ASSERT_EQ(S_OK, gui->put_compCOversion(100));
    Created created = create();
    EXPECT_EQ(REGDB_E_CLASSNOTREG, created.hr) << "no server is registered for the class";
    const std::string expected = "Error creating CAPE-OPEN component '" + unusable.progId() + "' (ProgId '" +
                                 unusable.progId() + "', type 'IDispatch')";
    ASSERT_GT(expected.size(), 511u);
    EXPECT_TRUE(shown(expected)) << testing::PrintToString(texts());
}

TEST_F(Creation, RemoteRoadCreatesOnTheNamedComputer)
{
    choose(L"Tarnwick.Mixer", L"", unitOperations);
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetComputerNameW(computer, &size));
    UniqueBstr server(computer);
    ASSERT_EQ(S_OK, gui->put_serverName(server.get()));
    Created created = create();
    ASSERT_EQ(S_OK, created.hr) << testing::PrintToString(texts());
    EXPECT_TRUE(answers(created.component, IID_ICapeUnit));
}

TEST_F(Creation, ComponentWhosePersistenceCannotBeWorkedOutIsNotHandedOver)
{
    {
        ServedClass refusing("QnTest.Refusing", {}, persistenceRefusingComponent());
        choose(refusing.progId(), L"", 65536);
        ASSERT_EQ(S_OK, gui->put_compCOversion(100));  // unknown to the catalogue: no version
        Created created = create();
        EXPECT_EQ(E_FAIL, created.hr);
        EXPECT_FALSE(created.component) << "the host gets nothing to release";
        EXPECT_TRUE(shown("Error saving component through COM persistence")) << testing::PrintToString(texts());
        EXPECT_EQ(S_OK, gui->releaseComponents());
    }
    EXPECT_EQ(0, liveDoubles()) << "the object kept nothing either";
}
