#include "testkit/FileGuards.h"

#include <windows.h>
#include <shlobj.h>

#include "support/Trace.h"
#include "support/UniqueHandle.h"

namespace testkit {

namespace {

std::optional<std::string> environmentValue(const char* name)
{
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::string value(size, '\0');
    value.resize(GetEnvironmentVariableA(name, value.data(), size));
    return value;
}

std::string withoutTrailingBackslash(std::string path)
{
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

}  // namespace

bool pathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string readFile(const std::string& path)
{
    std::string contents;
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!file)
        return contents;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        contents.append(buffer, read);
    return contents;
}

bool writeFile(const std::string& path, const std::string& contents)
{
    UniqueHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
           written == contents.size();
}

void removeTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

std::string temporaryDirectory()
{
    char path[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, path);
    return path;
}

std::string vendorFolder()
{
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return std::string(appData) + "\\Corvatek";
}

std::string productFolder()
{
    return vendorFolder() + "\\Corvane Quillon CAPE-OPEN";
}

TemporaryFile::TemporaryFile(const std::string& name, const std::string& contents)
    : path_(name.find('\\') == std::string::npos ? temporaryDirectory() + name : name)
{
    writeFile(path_, contents);
}

TemporaryFile::~TemporaryFile()
{
    DeleteFileA(path_.c_str());
}

FileGuard::FileGuard(std::string path) : path_(std::move(path))
{
    if (pathExists(path_))
        saved_ = readFile(path_);
}

FileGuard::~FileGuard()
{
    if (saved_)
        writeFile(path_, *saved_);
    else
        DeleteFileA(path_.c_str());
}

std::string FileGuard::added() const
{
    std::string now = contents();
    if (saved_ && now.starts_with(*saved_))
        now.erase(0, saved_->size());
    return now;
}

FolderGuard::FolderGuard(std::string path) : path_(std::move(path))
{
    created_ = !pathExists(path_) && CreateDirectoryA(path_.c_str(), nullptr);
}

FolderGuard::~FolderGuard()
{
    if (created_)
        removeTree(path_);
}

FolderHider::FolderHider(std::string path) : path_(std::move(path)), aside_(path_ + ".qntest-aside")
{
    hidden_ = pathExists(path_) && MoveFileA(path_.c_str(), aside_.c_str());
}

FolderHider::~FolderHider()
{
    removeTree(path_);
    if (hidden_)
        MoveFileA(aside_.c_str(), path_.c_str());
}

EnvironmentVariable::EnvironmentVariable(const char* name, const char* value)
    : name_(name), saved_(environmentValue(name))
{
    SetEnvironmentVariableA(name, value);
}

EnvironmentVariable::~EnvironmentVariable()
{
    SetEnvironmentVariableA(name_.c_str(), saved_ ? saved_->c_str() : nullptr);
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

TraceFileGuard::~TraceFileGuard()
{
    resetTraceStateForTests();
}

}  // namespace testkit
