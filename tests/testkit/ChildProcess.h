#pragma once
#include <windows.h>

#include <string>

namespace testkit {

// Runs commandLine (the program first, quoted where it has spaces) and waits at most
// limitMs for it; its exit code. One that cannot start, or is still running at the
// limit (then ended), fails the test with a sentence and answers kNoExitCode.
inline constexpr DWORD kNoExitCode = 0xFFFFFFFF;
DWORD runChildProcess(const std::string& commandLine, DWORD limitMs = 30000);

}  // namespace testkit
