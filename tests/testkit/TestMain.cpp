#include <gtest/gtest.h>
#include <objbase.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "testkit/MessageBoxDriver.h"

namespace {

// Ends the program when one test runs past a minute, or the whole program comes within
// 3 s of the time limit its CTest entry gives (QN_TEST_SECONDS), naming what runs: a
// hang says where, instead of ending in the test runner's nameless time-out.
std::string g_running = "the program's set-up";
std::atomic<ULONGLONG> g_started = 0;  // 0: no test runs

struct Watchdog : ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& test) override
    {
        g_running = std::string(test.test_suite_name()) + "." + test.name();
        g_started = GetTickCount64();
    }
    void OnTestEnd(const ::testing::TestInfo& test) override
    {
        g_started = 0;
        g_running = std::string("what follows ") + test.test_suite_name() + "." + test.name();
    }
};

// The tests' thread, watched for an end of its own: a thread that an exception ended
// (Wine ends one whose stack overflowed) leaves the program waiting for nothing.
HANDLE g_testThread = nullptr;

DWORD WINAPI watch(void*)
{
    const char* seconds = std::getenv("QN_TEST_SECONDS");
    const ULONGLONG deadline = GetTickCount64() + (seconds ? std::atoi(seconds) - 3 : 3600) * 1000ULL;
    for (;; Sleep(500)) {
        DWORD code = 0;
        if (WaitForSingleObject(g_testThread, 0) == WAIT_OBJECT_0 && GetExitCodeThread(g_testThread, &code)) {
            std::fprintf(stderr, "\nCRASH %s: the tests' thread ended (0x%08lX)\n", g_running.c_str(),
                         static_cast<unsigned long>(code));
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 4);
        }
        const ULONGLONG now = GetTickCount64(), started = g_started;
        if ((started && now - started > 60000) || now > deadline) {
            std::fprintf(stderr, "\nHUNG %s\n", g_running.c_str());
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}

}  // namespace

// Every test runs on a single-threaded apartment thread, as the host's UI thread does.
// A box or dialog that no test's driver answers fails the test that showed it.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &g_testThread, SYNCHRONIZE |
                    THREAD_QUERY_INFORMATION, FALSE, 0);
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
