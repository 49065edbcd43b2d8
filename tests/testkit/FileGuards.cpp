#include "testkit/FileGuards.h"

#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/Trace.h"

namespace fs = std::filesystem;

namespace testkit {

namespace {

std::optional<std::string> environmentValue(const char* name)
{
    char value[32767];
    const DWORD size = GetEnvironmentVariableA(name, value, sizeof value);
    return size ? std::optional<std::string>(std::string(value, size)) : std::nullopt;
}

std::string withoutTrailingBackslash(std::string path)
{
    if (path.ends_with('\\'))
        path.pop_back();
    return path;
}

void writeFile(const std::string& path, const std::string& contents)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
}

void removeTree(const std::string& path)
{
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

// GetTempPathA's folder, with its trailing backslash (it follows TMP, then TEMP).
std::string temporaryDirectory()
{
    char path[MAX_PATH + 1] = {};
    return std::string(path, GetTempPathA(MAX_PATH, path));
}

}  // namespace

std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string programPath()
{
    char path[MAX_PATH] = {};
    return std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
}

std::string programFolder()
{
    const std::string program = programPath();
    return program.substr(0, program.find_last_of('\\'));
}

std::string vendorFolder()
{
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return std::string(appData) + "\\Corvatek";
}

std::string productFolder() { return vendorFolder() + "\\Corvane Quillon CAPE-OPEN"; }

TemporaryFile::TemporaryFile(const std::string& name, const std::string& contents)
    : Restorer(name.find('\\') == std::string::npos ? temporaryDirectory() + name : name)
{
    writeFile(path_, contents);
    restore = [this] { DeleteFileA(path_.c_str()); };
}

FileGuard::FileGuard(std::string path) : Restorer(std::move(path))
{
    if (GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES)
        saved_ = readFile(path_);
    restore = [this, saved = saved_] { saved ? writeFile(path_, *saved) : void(DeleteFileA(path_.c_str())); };
}

std::string FileGuard::added() const
{
    std::string now = readFile(path_);
    if (saved_ && now.starts_with(*saved_))
        now.erase(0, saved_->size());
    return now;
}

FolderGuard::FolderGuard(std::string path)
    : Restorer(path.find('\\') == std::string::npos ? temporaryDirectory() + path : std::move(path))
{
    if (CreateDirectoryA(path_.c_str(), nullptr))
        restore = [this] { removeTree(path_); };
}

FolderHider::FolderHider(std::string path) : Restorer(std::move(path))
{
    const bool hidden = MoveFileA(path_.c_str(), (path_ + ".qntest-aside").c_str());
    restore = [this, hidden] {
        removeTree(path_);
        if (hidden)
            MoveFileA((path_ + ".qntest-aside").c_str(), path_.c_str());
    };
}

EnvironmentVariable::EnvironmentVariable(const char* name, const char* value) : Restorer(name)
{
    restore = [this, saved = environmentValue(name)] {
        SetEnvironmentVariableA(path_.c_str(), saved ? saved->c_str() : nullptr);
    };
    SetEnvironmentVariableA(name, value);
}

TraceFileGuard::TraceFileGuard(const std::string& moduleBaseName, bool installed)
    : trace_(productFolder() + "\\" + moduleBaseName + ".trc"),
      tempTrace_(withoutTrailingBackslash(environmentValue("TEMP").value_or("c:\\temp")) + "\\" + moduleBaseName +
                 ".trc"),
      cTempTrace_("c:\\temp\\" + moduleBaseName + ".trc"),
      qnshow_(temporaryDirectory() + "qnshow.txt")
{
    if (installed) {
        vendor_.emplace(vendorFolder());
        product_.emplace(productFolder());
    }
    resetTraceStateForTests();
}

TraceFileGuard::~TraceFileGuard() { resetTraceStateForTests(); }

}  // namespace testkit
