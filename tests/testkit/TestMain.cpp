#include <gtest/gtest.h>
#include <objbase.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "testkit/MessageBoxDriver.h"

namespace {

constexpr ULONGLONG kTestLimitMs = 60000;

// Ends the program when one test runs past the limit, naming it: a hang costs a
// minute and says where, instead of ending in the test runner's time-out.
class Watchdog : public ::testing::EmptyTestEventListener {
public:
    Watchdog() { CloseHandle(CreateThread(nullptr, 0, watch, this, 0, nullptr)); }

private:
    void OnTestStart(const ::testing::TestInfo& test) override
    {
        name_ = std::string(test.test_suite_name()) + "." + test.name();
        started_ = GetTickCount64();
    }
    void OnTestEnd(const ::testing::TestInfo&) override { started_ = 0; }

    static DWORD WINAPI watch(void* self)
    {
        auto* watchdog = static_cast<Watchdog*>(self);
        for (;;) {
            Sleep(500);
            const ULONGLONG started = watchdog->started_;
            if (started && GetTickCount64() - started > kTestLimitMs) {
                std::fprintf(stderr, "\nHUNG %s\n", watchdog->name_.c_str());
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
    }

    std::string name_;
    std::atomic<ULONGLONG> started_ = 0;
};

}  // namespace

// Every test runs on a single-threaded apartment thread, as the host's UI thread does.
// A box or dialog that no test's driver answers fails the test that showed it.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
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
