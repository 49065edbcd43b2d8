#pragma once
// Files and modules the module-information tests arrange, undone by their destructors.
#include <windows.h>
#include <string>

inline std::string testExecutablePath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// Where the build puts the DLLs and the compound list, without a trailing backslash.
inline std::string testExecutableDirectory()
{
    std::string path = testExecutablePath();
    return path.substr(0, path.rfind('\\'));
}

// The test executable's file name: a module that is loaded and has no version resource.
inline std::string testExecutableName()
{
    std::string path = testExecutablePath();
    return path.substr(path.rfind('\\') + 1);
}

inline std::string temporaryDirectory()
{
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    return dir;
}

// A file with the given contents (a bare name goes to the temporary directory),
// deleted afterwards.
class TempFile {
public:
    TempFile(const std::string& name, const std::string& contents)
        : path_(name.find('\\') == std::string::npos ? temporaryDirectory() + name : name)
    {
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
            CloseHandle(file);
        }
    }
    ~TempFile() { DeleteFileA(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A loaded module, freed afterwards.
struct LoadedModule {
    explicit LoadedModule(const std::string& path) : module(LoadLibraryA(path.c_str())) {}
    ~LoadedModule()
    {
        if (module)
            FreeLibrary(module);
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    HMODULE module;
};
