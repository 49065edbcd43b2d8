// What becomes of the component's own answers to InitNew, Load and Save, of a
// "CAPEOPEN" stream that cannot be opened, and of a storage saved without one (the
// component is upgraded: initialised as new, the user told unless warnings are off).
#include "PersistenceFixture.h"

using namespace persisttest;

namespace {

constexpr HRESULT kLoadedAnyway = static_cast<HRESULT>(0x800A02E1);
const char kUpgraded[] = "CAPE-OPEN component of type '' had been persisted using old CAPE-OPEN mechanism. It has "
                         "been succesfully upgraded to be saved through new COM Persistence.";

// What the component answers, the method's result, the calls on the component, the boxes.
struct Row {
    const char* name; unsigned kinds; Step step; HRESULT componentResult, hr; const char* calls;
    std::vector<std::string> boxes;
};

const Row kRows[] = {
    {"StreamInitNewLoadedAnyway", kStreamInit, Step::InitNew, kLoadedAnyway, S_OK, "InitNew", {}},
    {"StorageNewFails", kStorage, Step::InitNew, E_OUTOFMEMORY, E_OUTOFMEMORY, "InitNew",
     {" ERROR: Unexpected error initializing COM persistence (IPersistStorage)\nOut of memory.\r\n(0x8007000E)"}},
    {"StreamInitNewFails", kStreamInit, Step::InitNew, E_OUTOFMEMORY, E_OUTOFMEMORY, "InitNew",
     {" ERROR: Unexpected error initializing COM persistence (IPersistStreamInit)\nOut of memory.\r\n(0x8007000E)"}},
    {"StreamInitLoadedAnyway", kStreamInit, Step::Recall, kLoadedAnyway, S_OK, "Load", {}},
    {"StreamLoadedAnyway", kStream, Step::Recall, kLoadedAnyway, S_OK, "Load", {}},
    {"StorageLoadedAnywayFails", kStorage, Step::Recall, kLoadedAnyway, kLoadedAnyway, "Load",
     {" ERROR: Unexpected error loading COM persistence (IPersistStorage)(0x800A02E1)"}},
    {"StreamDamaged", kStream, Step::Recall, STG_E_DOCFILECORRUPT, STG_E_DOCFILECORRUPT, "Load",
     {" ERROR: Unexpected error loading COM persistence (IPersistStream)(0x80030109)"}},
    {"StreamInitDamaged", kStreamInit, Step::Recall, STG_E_DOCFILECORRUPT, STG_E_DOCFILECORRUPT, "Load",
     {" ERROR: Unexpected error loading COM persistence (IPersistStreamInit)(0x80030109)"}},
    {"StreamHeldOpen", kStreamInit, Step::RecallHeldStream, S_OK, STG_E_ACCESSDENIED, "",
     {" ERROR: Unexpected error (0x80030005)"}},
    {"StreamSaveFails", kStream, Step::Save, STG_E_MEDIUMFULL, STG_E_MEDIUMFULL, "Save",
     {" ERROR: Unexpected error (0x80030070)"}},
    {"StorageSaveFails", kStorage, Step::Save, STG_E_MEDIUMFULL, STG_E_MEDIUMFULL, "Save SaveCompleted",
     {" ERROR: Unexpected error (0x80030070)"}},
    {"StreamlessUpgraded", kStreamInit, Step::RecallStreamless, S_OK, S_OK, "InitNew", {kUpgraded}},
    {"StreamlessStreamUpgraded", kStream, Step::RecallStreamless, S_OK, S_OK, "", {kUpgraded}},
    {"StreamlessUpgradedQuietly", kStreamInit, Step::RecallStreamlessQuietly, S_OK, S_OK, "InitNew", {}},
    {"StreamlessUpgradeFails", kStreamInit, Step::RecallStreamless, E_OUTOFMEMORY, E_OUTOFMEMORY, "InitNew",
     {" ERROR: Unexpected error initializing COM persistence (IPersistStreamInit)\nOut of memory.\r\n(0x8007000E)",
      " ERROR: Unexpected error. Contact support\nOut of memory.\r\n(0x8007000E)"}},
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class ComponentResults : public Persistence, public ::testing::WithParamInterface<Row> {};

TEST_P(ComponentResults, AreReportedAsTheRowSays)
{
    const Row& row = GetParam();
    PersistentComponent& unit = component(row.kinds);
    unit.result = row.componentResult;
    EXPECT_EQ(row.hr, perform(row.step, unit)) << "the method's result";
    EXPECT_EQ(row.calls, unit.calls) << "the calls on the component";
    EXPECT_EQ(row.boxes, boxTexts()) << "the boxes shown";
    EXPECT_TRUE(container->messages.empty()) << "the component's own failures are not the host's";
    if (row.step == Step::Save) {
        EXPECT_EQ("", container->committedStream(L"CAPEOPEN")) << "a failed save reaches no document";
    }
}

INSTANTIATE_TEST_SUITE_P(Persistence, ComponentResults, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
