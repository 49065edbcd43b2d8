// The sample components in a real compound file, through the library and the sample
// host's document container: saved by this process, recalled by another one (this
// test program run again) with the same state, and saved again to the same bytes.
// Whatever the library created of the samples is released: their DLLs' live-object
// counts are back at zero in both processes.
#include <gtest/gtest.h>

#include "DocumentDemo.h"
#include "testkit/ChildProcess.h"
#include "testkit/FileGuards.h"
#include "testkit/Samples.h"

namespace {

const auto* const samples = ::testing::AddGlobalTestEnvironment(new testkit::SamplesRegistered);
const char kDocumentVariable[] = "QN_ROUND_TRIP_DOCUMENT";

struct Sample { DocumentEntry entry; ComponentState state; };

// One of each persistence: IPersistStreamInit, IPersistStorage, IPersistStream (a
// package of the sample manager, and one made by its own ProgID).
const std::vector<Sample> kSamples = {
    {{L"Mixer", {L"Tarnwick.Mixer", L""}, 32},
     {L"M-1", L"Round trip", {{L"pressureDrop", 1234.5}, {L"heatLoss", -0.125}}}},
    {{L"Heater", {L"Tarnwick.Heater", L""}, 32},
     {L"E-2", L"Round trip", {{L"outletTemperature", 377.25}, {L"pressureDrop", 42.0}}}},
    {{L"Gas", {L"Natural Gas", L"Oskvale.PackageManager"}, 512 | 1024}, {L"PP-3", L"Round trip", {}}},
    {{L"Package", {L"Lindqvarn.PropertyPackage", L""}, 1024}, {L"PP-4", L"Round trip", {}}},
};

// What recallComponent fills in: the names of the parameters to read.
ComponentState namesOf(const ComponentState& state)
{
    ComponentState names;
    for (const auto& parameter : state.parameters)
        names.parameters.emplace_back(parameter.first, 0.0);
    return names;
}

// Runs the recall test of this program in a process of its own and waits for it; its
// exit code.
DWORD recallInAnotherProcess(const std::string& path)
{
    testkit::EnvironmentVariable document(kDocumentVariable, path.c_str());
    return testkit::runChildProcess("\"" + testkit::programPath() +
                                    "\" --gtest_also_run_disabled_tests --gtest_filter=SampleDocument.DISABLED_Recall");
}

}  // namespace

TEST(SampleDocument, SurvivesARecallInAnotherProcessByteForByte)
{
    testkit::TemporaryFile file("qn-sample-document.stg", "");
    const std::wstring path(file.path().begin(), file.path().end());
    {
        HostRef<IStorage> root;
        ASSERT_EQ(S_OK, createDocument(path, root)) << "a new compound file";
        for (const Sample& sample : kSamples)
            ASSERT_EQ(S_OK, saveNewComponent(root.get(), sample.entry, sample.state, nullptr))
                << "saved through the library: " << testing::PrintToString(sample.entry.choice.progId);
        ASSERT_EQ(S_OK, root->Commit(STGC_DEFAULT)) << "the document reaches the file";
    }
    EXPECT_EQ(0, testkit::liveSampleObjects()) << "every object the library created of the samples is released";
    EXPECT_EQ(0u, recallInAnotherProcess(file.path())) << "the other process recalled every state and byte";
}

// Run by the test above, in a process of its own. A recall shows nothing: a box fails it.
TEST(SampleDocument, DISABLED_Recall)
{
    char path[MAX_PATH] = {};
    ASSERT_TRUE(GetEnvironmentVariableA(kDocumentVariable, path, MAX_PATH)) << "started by the test above";
    {
        HostRef<IStorage> root;
        ASSERT_EQ(S_OK, openDocument(std::wstring(path, path + strlen(path)), root)) << "the saved file opens";
        for (const Sample& sample : kSamples) {
            ComponentState recalled = namesOf(sample.state);
            bool sameBytes = false;
            ASSERT_EQ(S_OK, recallComponent(root.get(), sample.entry, recalled, &sameBytes, nullptr))
                << "recalled: " << testing::PrintToString(sample.entry.choice.progId);
            EXPECT_TRUE(recalled == sample.state) << "the saved state: " << testing::PrintToString(recalled.name);
            EXPECT_TRUE(sameBytes) << "saving the recalled component gives the saved bytes";
        }
    }
    EXPECT_EQ(0, testkit::liveSampleObjects()) << "every object the library created of the samples is released";
}
