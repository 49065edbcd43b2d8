#pragma once
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <optional>
#include <string>

#include "support/MTUtils.h"
#include "support/Trace.h"

// Machine state the error and trace tests arrange, each undone by its destructor.
namespace errortest {

inline bool pathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The whole file as bytes (the trace files are text mode: line feeds read as CR LF).
inline std::string readFile(const std::string& path)
{
    std::string contents;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return contents;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        contents.append(buffer, read);
    CloseHandle(file);
    return contents;
}

// The temporary directory as the system gives it, with its trailing backslash.
inline std::string systemTempPath()
{
    char path[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, path);
    return path;
}

// Removes a directory and everything below it.
inline void removeTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

// Creates a directory for the test when it is missing and removes it (with what the
// test put in it) afterwards; a directory that was there already is left alone.
class DirectoryGuard {
public:
    explicit DirectoryGuard(std::string path) : path_(std::move(path))
    {
        created_ = !pathExists(path_) && CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~DirectoryGuard()
    {
        if (created_)
            removeTree(path_);
    }
    DirectoryGuard(const DirectoryGuard&) = delete;
    DirectoryGuard& operator=(const DirectoryGuard&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    bool created_ = false;
};

// Gives the test a path where no directory exists: one that was there is moved
// aside; afterwards what the test made there is removed and the original put back.
class DirectoryHider {
public:
    explicit DirectoryHider(std::string path) : path_(std::move(path)), aside_(path_ + ".qntest-aside")
    {
        hidden_ = pathExists(path_) && MoveFileA(path_.c_str(), aside_.c_str());
    }
    ~DirectoryHider()
    {
        removeTree(path_);
        if (hidden_)
            MoveFileA(aside_.c_str(), path_.c_str());
    }
    DirectoryHider(const DirectoryHider&) = delete;
    DirectoryHider& operator=(const DirectoryHider&) = delete;

private:
    std::string path_, aside_;
    bool hidden_ = false;
};

// Sets (null: removes) an environment variable of this process, restored afterwards.
class EnvironmentSetting {
public:
    EnvironmentSetting(const char* name, const char* value) : name_(name)
    {
        if (DWORD size = GetEnvironmentVariableA(name, nullptr, 0)) {
            std::string old(size, '\0');
            old.resize(GetEnvironmentVariableA(name, old.data(), size));
            saved_ = old;
        }
        SetEnvironmentVariableA(name, value);
    }
    ~EnvironmentSetting() { SetEnvironmentVariableA(name_.c_str(), saved_ ? saved_->c_str() : nullptr); }
    EnvironmentSetting(const EnvironmentSetting&) = delete;
    EnvironmentSetting& operator=(const EnvironmentSetting&) = delete;

private:
    std::string name_;
    std::optional<std::string> saved_;
};

// Registers a module name for the test and puts the previous one back.
class ModuleNameSetting {
public:
    explicit ModuleNameSetting(const char* name) : saved_(MTUtils::moduleName()) { MTUtils::setModuleName(name); }
    ~ModuleNameSetting() { MTUtils::setModuleName(saved_.c_str()); }
    ModuleNameSetting(const ModuleNameSetting&) = delete;
    ModuleNameSetting& operator=(const ModuleNameSetting&) = delete;

private:
    std::string saved_;
};

inline std::string localAppData()
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

inline std::string corvatekFolder()
{
    return localAppData() + "\\Corvatek";
}

inline std::string productFolder()
{
    return corvatekFolder() + "\\Corvane Quillon CAPE-OPEN";
}

// A machine where the product is installed for this user: the Corvatek folder exists,
// the trace goes to <module>.trc below it. The module name is the test's own, so the
// trace file is the test's; everything created is removed, the trace state reset.
class InstalledTrace {
public:
    explicit InstalledTrace(const char* moduleName = "QnTraceTest")
        : module_(moduleName), corvatek_(corvatekFolder()), product_(productFolder())
    {
        resetTraceStateForTests();
        DeleteFileA(traceFile().c_str());
    }
    ~InstalledTrace()
    {
        DeleteFileA(traceFile().c_str());
        resetTraceStateForTests();
    }
    InstalledTrace(const InstalledTrace&) = delete;
    InstalledTrace& operator=(const InstalledTrace&) = delete;

    std::string traceFile() const { return productFolder() + "\\" + MTUtils::moduleBaseName() + ".trc"; }
    std::string contents() const { return readFile(traceFile()); }

private:
    ModuleNameSetting module_;
    DirectoryGuard corvatek_;
    DirectoryGuard product_;
};

// Calls action once, when the next dialog or message box of this thread activates
// (while the code that showed it still waits for it). Chains to hooks installed
// earlier, such as the MessageBoxDriver's, which then answers the box.
class OnNextBoxActivation {
public:
    explicit OnNextBoxActivation(std::function<void()> action) : action_(std::move(action))
    {
        current() = this;
        hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
    }
    ~OnNextBoxActivation()
    {
        UnhookWindowsHookEx(hook_);
        current() = nullptr;
    }
    OnNextBoxActivation(const OnNextBoxActivation&) = delete;
    OnNextBoxActivation& operator=(const OnNextBoxActivation&) = delete;

private:
    static OnNextBoxActivation*& current()
    {
        static thread_local OnNextBoxActivation* active = nullptr;
        return active;
    }
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam)
    {
        OnNextBoxActivation* self = current();
        if (code == HCBT_ACTIVATE && self && self->action_) {
            auto action = std::move(self->action_);
            self->action_ = nullptr;
            action();
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK hook_ = nullptr;
    std::function<void()> action_;
};

}  // namespace errortest
