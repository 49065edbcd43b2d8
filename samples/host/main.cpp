// The sample host: what a process simulator does with QnCOGUI11, scripted.
//   host.exe <path of QnCOGUI11.dll> <folder>   the main road, screenshots and a
//                                               document saved into <folder>
//   host.exe --recall <document>                 reopens the document in a new process
//                                               and checks the recalled components
// Every window the library shows is saved as a screenshot and answered.
#include <windows.h>
#include <objbase.h>
#include <cstdio>
#include <cstring>
#include <string>

#include "QnShowCOCATIDs11.h"

#include "DocumentDemo.h"
#include "ErrorDemo.h"
#include "FindDemo.h"
#include "HostRef.h"
#include "ManagerDemo.h"
#include "PackageDemo.h"
#include "ProbeDemo.h"
#include "RegistrationDemo.h"
#include "ServerDemo.h"
#include "VersionInfo.h"
#include "WindowWatcher.h"

namespace {

// Empty when the object cannot be created (said on the console).
HostRef<ICCAPEGUI> createAutomationObject()
{
    HostRef<ICCAPEGUI> gui;
    HRESULT hr = CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui.putVoid());
    if (FAILED(hr))
        std::printf("  the automation object cannot be created (0x%08lX)\n", static_cast<unsigned long>(hr));
    return gui;
}

// Chooses the standalone sample package without the dialog, creates it and shows
// its information dialog.
int runStandalonePackage(const std::string& folder)
{
    std::printf("== The standalone property package Lindqvarn.PropertyPackage\n");
    const HostRef<ICCAPEGUI> gui = createAutomationObject();
    if (!gui)
        return 1;
    int result = 1;
    BSTR progId = SysAllocString(L"Lindqvarn.PropertyPackage");
    BSTR parent = SysAllocString(L"");
    HostRef<IDispatch> component;
    HostRef<IDispatch> manager;
    HRESULT hr = gui->setup(0, nullptr, 1024);
    if (SUCCEEDED(hr))
        hr = gui->setProgIds(progId, parent);
    if (SUCCEEDED(hr))
        hr = gui->createComp(component.put(), manager.put());
    std::printf("  created: 0x%08lX\n", static_cast<unsigned long>(hr));
    if (SUCCEEDED(hr))
        result = runPackageDemo(gui.get(), folder);
    component.reset();
    manager.reset();
    gui->releaseComponents();
    SysFreeString(progId);
    SysFreeString(parent);
    return result;
}

int runMainRoad(const std::string& dllPath, const std::string& folder)
{
    WindowWatcher watcher(folder);
    int result = 0;
    std::printf("== The library\n");
    if (!printVersionInfo(dllPath)) {
        std::printf("  %s has no version information\n", dllPath.c_str());
        result = 1;
    }
    result |= runServerDemo();
    watcher.setStep("reported-error");
    result |= runErrorDemo();

    if (const HostRef<ICCAPEGUI> gui = createAutomationObject()) {
        result |= runManagerDemo(gui.get(), folder, &watcher);
        result |= runProbeDemo(gui.get(), folder, &watcher);
        result |= runFindDemo(gui.get(), folder, &watcher);
        result |= runRegistrationDemo(gui.get(), dllPath, folder, &watcher);
    }
    watcher.setStep("package-information");
    result |= runStandalonePackage(folder);

    watcher.setStep("document");
    const std::string document = folder + "\\document.stg";
    result |= runDocumentSave(std::wstring(document.begin(), document.end()));
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool recall = argc == 3 && std::strcmp(argv[1], "--recall") == 0;
    if (argc < 3) {
        std::fprintf(stderr, "usage: host <QnCOGUI11.dll> <folder>\n       host --recall <document>\n");
        return 2;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "host: COM could not be initialised\n");
        return 1;
    }
    int result = 0;
    if (recall) {
        const std::string document = argv[2];
        result = runDocumentRecall(std::wstring(document.begin(), document.end()));
    } else {
        result = runMainRoad(argv[1], argv[2]);
    }
    CoUninitialize();
    std::fflush(stdout);
    return result;
}
