#include <gtest/gtest.h>
#include <objbase.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "testkit/MessageBoxDriver.h"

namespace {

// Ends the program when one test runs past a minute, naming it: a hang costs a minute
// and says where, instead of ending in the test runner's time-out.
std::string g_running;
std::atomic<ULONGLONG> g_started = 0;  // 0: no test runs

struct Watchdog : ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& test) override
    {
        g_running = std::string(test.test_suite_name()) + "." + test.name();
        g_started = GetTickCount64();
    }
    void OnTestEnd(const ::testing::TestInfo&) override { g_started = 0; }
};

DWORD WINAPI watch(void*)
{
    for (;; Sleep(500))
        if (const ULONGLONG started = g_started; started && GetTickCount64() - started > 60000) {
            std::fprintf(stderr, "\nHUNG %s\n", g_running.c_str());
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
}

}  // namespace

// Every test runs on a single-threaded apartment thread, as the host's UI thread does.
// A box or dialog that no test's driver answers fails the test that showed it.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    CloseHandle(CreateThread(nullptr, 0, watch, nullptr, 0, nullptr));
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    int result;
    {
        MessageBoxDriver nobodyExpects(MessageBoxDriver::kNobodyExpects);
        result = RUN_ALL_TESTS();
    }
    CoUninitialize();
    return result;
}
