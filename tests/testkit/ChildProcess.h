#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace testkit {

// Runs commandLine (the program first, quoted where it has spaces) and waits at most
// limitMs for it; its exit code. One that cannot start, or is still running at the
// limit (then ended), fails the test with a sentence and answers kNoExitCode.
inline constexpr DWORD kNoExitCode = 0xFFFFFFFF;
inline DWORD runChildProcess(std::string commandLine, DWORD limitMs = 30000)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD exitCode = kNoExitCode;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ADD_FAILURE() << "'" << commandLine << "' could not start (error " << GetLastError() << ")";
        return exitCode;
    }
    if (WaitForSingleObject(process.hProcess, limitMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
        ADD_FAILURE() << "'" << commandLine << "' still running " << limitMs / 1000 << " s after it started";
        TerminateProcess(process.hProcess, kNoExitCode);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

}  // namespace testkit
