// Soak of the host's document road, in one process: each cycle chooses a sample
// component, creates it, initialises it as new, gives it a state of the cycle's own,
// saves it into a document, releases everything, reopens the document, recalls the
// component, compares its state (and the bytes a save of it gives) with what was
// saved, and releases everything again. The four roads take turns: Tarnwick.Mixer
// (stream), Tarnwick.Heater (storage), the Oskvale manager's "Natural Gas" (stream,
// through the manager) and Lindqvarn.PropertyPackage (stream, standalone).
//
//   persistence_soak.exe <document path> [cycles, 1000 by default]
//
// Prints the cycles done, the mismatches found, the sample DLLs' live objects at
// the end and the process's private bytes at cycle 100 and at the last cycle.
// QnCOGUI11.dll and the sample DLLs (beside this program) must be registered.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "DocumentDemo.h"
#include "testkit/MessageBoxDriver.h"

namespace {

const wchar_t* const kSampleDlls[] = {L"SampleUnitOperations.dll", L"SamplePackageManager.dll",
                                      L"SamplePropertyPackage.dll"};

struct Road {
    DocumentEntry entry;
    std::vector<std::wstring> parameters;
};

const Road kRoads[] = {
    {{L"Mixer", {L"Tarnwick.Mixer", L""}, 32}, {L"pressureDrop", L"heatLoss"}},
    {{L"Heater", {L"Tarnwick.Heater", L""}, 32}, {L"outletTemperature", L"pressureDrop"}},
    {{L"Gas package", {L"Natural Gas", L"Oskvale.PackageManager"}, 512 | 1024}, {}},
    {{L"Package", {L"Lindqvarn.PropertyPackage", L""}, 1024}, {}},
};

// A state of the cycle's own, within the parameters' bounds.
ComponentState stateOfCycle(const Road& road, int cycle)
{
    ComponentState state;
    state.name = road.entry.element + L" " + std::to_wstring(cycle);
    state.description = L"Cycle " + std::to_wstring(cycle) + L" of the soak";
    for (size_t i = 0; i < road.parameters.size(); ++i)
        state.parameters.emplace_back(road.parameters[i], 300.0 + cycle * 0.5 + static_cast<double>(i));
    return state;
}

// The process's committed private memory, summed over its address space (what
// the system calls private bytes; counted by hand because not every platform
// fills in PROCESS_MEMORY_COUNTERS_EX::PrivateUsage).
SIZE_T privateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* address = nullptr;
         VirtualQuery(address, &region, sizeof region) == sizeof region && region.RegionSize > 0;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
    }
    return total;
}

long liveObjects(HMODULE module)
{
    auto count = reinterpret_cast<LONG(WINAPI*)()>(
        module ? reinterpret_cast<void*>(GetProcAddress(module, "GetLiveObjectCount")) : nullptr);
    return count ? count() : -1;
}

std::wstring besideThisProgram(const wchar_t* file)
{
    wchar_t path[MAX_PATH] = {};
    std::wstring result(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return result.substr(0, result.find_last_of(L'\\') + 1) + file;
}

// One cycle; false when anything failed or differed.
bool runCycle(const std::wstring& path, const Road& road, int cycle)
{
    const ComponentState saved = stateOfCycle(road, cycle);
    {
        HostRef<IStorage> root;
        if (FAILED(createDocument(path, root)) || FAILED(saveNewComponent(root.get(), road.entry, saved, nullptr)) ||
            FAILED(root->Commit(STGC_DEFAULT)))
            return false;
    }
    HostRef<IStorage> root;
    if (FAILED(openDocument(path, root)))
        return false;
    ComponentState recalled;
    for (const std::wstring& name : road.parameters)
        recalled.parameters.emplace_back(name, 0.0);
    bool sameBytes = false;
    if (FAILED(recallComponent(root.get(), road.entry, recalled, &sameBytes, nullptr)))
        return false;
    return sameBytes && recalled == saved;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: persistence_soak <document path> [cycles]\n");
        return 2;
    }
    const std::string narrowPath = argv[1];
    const std::wstring path(narrowPath.begin(), narrowPath.end());
    const int cycles = argc > 2 ? std::atoi(argv[2]) : 1000;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;

    // The sample DLLs stay loaded to the end, so that their counts can be read then.
    HMODULE samples[3] = {};
    for (int i = 0; i < 3; ++i)
        samples[i] = LoadLibraryW(besideThisProgram(kSampleDlls[i]).c_str());

    int done = 0, mismatches = 0;
    SIZE_T atHundred = 0, atEnd = 0;
    {
        MessageBoxDriver boxes;  // a box would stop the soak: each is answered and counted
        for (int cycle = 1; cycle <= cycles; ++cycle) {
            const Road& road = kRoads[(cycle - 1) % 4];
            if (!runCycle(path, road, cycle)) {
                ++mismatches;
                if (mismatches <= 5)
                    std::printf("cycle %d (%ls): mismatch or failure\n", cycle, road.entry.element.c_str());
            }
            ++done;
            if (cycle % 100 == 0 || cycle == cycles) {
                const SIZE_T now = privateBytes();
                std::printf("cycle %d: private bytes %zu\n", cycle, now);
                if (cycle == 100)
                    atHundred = now;
                atEnd = now;
            }
        }
        std::printf("message boxes shown: %zu\n", boxes.count());
    }

    std::printf("cycles done: %d\n", done);
    std::printf("mismatches: %d\n", mismatches);
    for (int i = 0; i < 3; ++i)
        std::printf("live objects of %ls: %ld\n", kSampleDlls[i], liveObjects(samples[i]));
    std::printf("private bytes at cycle 100: %zu\n", atHundred);
    std::printf("private bytes at cycle %d: %zu\n", done, atEnd);
    if (atHundred)
        std::printf("growth from cycle 100: %lld bytes (%.2f%%)\n",
                    static_cast<long long>(atEnd) - static_cast<long long>(atHundred),
                    100.0 * (static_cast<double>(atEnd) - static_cast<double>(atHundred)) / atHundred);
    for (HMODULE module : samples)
        if (module)
            FreeLibrary(module);
    DeleteFileW(path.c_str());
    CoUninitialize();
    return mismatches == 0 ? 0 : 1;
}
