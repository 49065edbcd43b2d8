// The sample host: what a process simulator does with QnCOGUI11, scripted.
//   host.exe <path of QnCOGUI11.dll> <folder for screenshots>
// Every window the library shows is saved as a screenshot and answered.
#include <windows.h>
#include <objbase.h>
#include <cstdio>
#include <string>

#include "ErrorDemo.h"
#include "ServerDemo.h"
#include "VersionInfo.h"
#include "WindowWatcher.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: host <QnCOGUI11.dll> <screenshot folder>\n");
        return 2;
    }
    const std::string dllPath = argv[1];
    const std::string folder = argv[2];

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "host: COM could not be initialised\n");
        return 1;
    }
    int result = 0;
    {
        WindowWatcher watcher(folder);
        std::printf("== The library\n");
        if (!printVersionInfo(dllPath)) {
            std::printf("  %s has no version information\n", dllPath.c_str());
            result = 1;
        }
        result |= runServerDemo();
        watcher.setStep("reported-error");
        result |= runErrorDemo();
    }
    CoUninitialize();
    return result;
}
