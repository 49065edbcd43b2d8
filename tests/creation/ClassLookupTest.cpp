// Where the class to create comes from: a computer named by serverName, or the
// catalogue's CLSID text when the registry does not resolve the ProgID.
#include "CapeOpen.h"
#include "CreationTest.h"
#include "support/UniqueBstr.h"
#include "testkit/Faults.h"
#include "testkit/TestAccess.h"

using namespace creationtest;

TEST_F(CreationTest, RemoteRoadCreatesOnTheNamedComputer)
{
    choose("Tarnwick.Mixer", "", 32);
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetComputerNameW(computer, &size));
    UniqueBstr server(computer);
    ASSERT_EQ(S_OK, gui->put_serverName(server.get()));
    ComPtr<IDispatch> component;
    ASSERT_EQ(S_OK, gui->createComp(component.put(), nullptr)) << testing::PrintToString(texts());
    EXPECT_TRUE(answers(component.get(), IID_ICapeUnit)) << "the unit made on this computer is handed over";
    EXPECT_EQ(0u, boxes.count()) << "nothing to tell";
}

// The Component Manager lists a class by the ProgID its class key names, even when
// that ProgID has no key of its own; the dialog's choice then carries the class's
// CLSID text, which setProgIds cannot give (it looks ProgIDs up in the registry).
TEST_F(CreationTest, ProgIdUnknownToTheRegistryIsCreatedByTheCataloguesClsid)
{
    testkit::ServedFault unit(testkit::Fault::NoProgId);
    const std::string orphan = "QnTest.Orphan." + unit.clsidText().substr(1, 8);
    ComPtr<ICCAPEGUI> linked;
    ASSERT_EQ(S_OK, CCCAPEGUI::createInstance(nullptr, IID_ICCAPEGUI, linked.putVoid()));
    ASSERT_EQ(S_OK, linked->setup(reinterpret_cast<INT_PTR>(host), nullptr, 32));

    CCCAPEGUITestAccess::chooseItem(linked.get(), orphan, unit.clsidText());
    ComPtr<IDispatch> component;
    EXPECT_EQ(S_OK, linked->createComp(component.put(), nullptr)) << testing::PrintToString(texts());
    EXPECT_TRUE(answers(component.get(), IID_ICapeUnit)) << "the unit of the catalogue's CLSID is handed over";
    EXPECT_EQ(0u, boxes.count()) << "created without a message";
    component = nullptr;
    EXPECT_EQ(S_OK, linked->releaseComponents());

    CCCAPEGUITestAccess::chooseItem(linked.get(), orphan, "");
    EXPECT_EQ(CO_E_CLASSSTRING, linked->createComp(component.put(), nullptr)) << "without a CLSID text it fails";
    EXPECT_EQ(std::vector<std::string>{" ERROR: The component with ProgID '" + orphan +
                                       "' is not correctly registered. It's CLSID does not appear in the "
                                       "registry.(0x800401F3)"},
              texts());
    EXPECT_FALSE(component) << "and hands over nothing";
}
