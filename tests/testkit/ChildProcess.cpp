#include "testkit/ChildProcess.h"

#include <gtest/gtest.h>

#include <vector>

namespace testkit {

DWORD runChildProcess(const std::string& commandLine, DWORD limitMs)
{
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ADD_FAILURE() << "'" << commandLine << "' could not start (error " << GetLastError() << ")";
        return kNoExitCode;
    }
    DWORD exitCode = kNoExitCode;
    if (WaitForSingleObject(process.hProcess, limitMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    else {
        ADD_FAILURE() << "'" << commandLine << "' still running " << limitMs / 1000 << " s after it started";
        TerminateProcess(process.hProcess, kNoExitCode);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

}  // namespace testkit
