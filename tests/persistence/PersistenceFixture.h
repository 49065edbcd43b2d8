#pragma once
// The registered library's automation object with a recording container and a
// component of the test's; every box recorded and answered; the library's trace
// file read back.
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "PersistenceDoubles.h"
#include "QnShowCOCATIDs11.h"
#include "support/ErrorTestGuards.h"
#include "testkit/MessageBoxDriver.h"

namespace persisttest {

class Persistence : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteFileA(traceFile().c_str());
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui.putVoid()));
    }
    void TearDown() override
    {
        gui = nullptr;
        EXPECT_EQ(1u, container.references) << "the object gave the container back";
        for (const PersistentDouble& component : components)
            EXPECT_EQ(1u, component.references) << "the object gave the component back";
        DeleteFileA(traceFile().c_str());
    }

    // A component of the test's that outlives the object.
    PersistentDouble& component(unsigned kinds) { return components.emplace_back(kinds); }
    // setup with the container (or none), then setComponent with component.
    HRESULT host(PersistentDouble& component, bool withContainer = true)
    {
        EXPECT_EQ(S_OK, gui->setup(0, withContainer ? container.asDispatch() : nullptr, 65536));
        return gui->setComponent(component.handedOver());
    }
    static std::string traceFile() { return errortest::productFolder() + "\\QnCOGUI11.trc"; }
    std::string trace() const { return errortest::readFile(traceFile()); }
    bool shown(const std::string& piece) const
    {
        for (const ShownBox& box : boxes.boxes())
            if (box.text.find(piece) != std::string::npos)
                return true;
        return false;
    }

    errortest::DirectoryGuard vendorFolder{errortest::corvatekFolder()};
    errortest::DirectoryGuard productFolder{errortest::productFolder()};
    MessageBoxDriver boxes;
    RecordingContainer container;
    std::deque<PersistentDouble> components;
    ComPtr<ICCAPEGUI> gui;
};

}  // namespace persisttest
