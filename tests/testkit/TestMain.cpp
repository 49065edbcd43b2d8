#include <gtest/gtest.h>
#include <objbase.h>

// Every test runs on a single-threaded apartment thread, as the host's UI thread does.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
