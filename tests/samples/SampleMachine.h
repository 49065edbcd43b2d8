#pragma once
// The sample DLLs beside the test program, registered with the system's regsvr32 for
// the whole run by a global test environment (SampleMachine.cpp, linked into every
// test program that creates the samples) and unregistered at its end.
#include <string>

namespace samplestest {

inline constexpr const wchar_t* kSampleDlls[] = {L"SampleUnitOperations.dll", L"SamplePackageManager.dll",
                                                 L"SamplePropertyPackage.dll"};

// Full path of the test program, and of a file beside it.
std::wstring testProgram();
std::wstring besideTestProgram(const wchar_t* fileName);
// Runs a command line and waits for its end (no time limit of our own: CTest's ends
// a run that really hangs); its exit code, -1 when it could not run.
int runAndWait(std::wstring commandLine);

}  // namespace samplestest
