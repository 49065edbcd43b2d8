#include "catalogue/ServerFile.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string_view>

#include "support/UniqueHandle.h"

namespace {

std::string expandEnvironment(const std::string& text)
{
    const DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0)
        return text;
    std::string expanded(size, '\0');
    const DWORD written = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), size);
    if (written == 0 || written > size)
        return text;
    expanded.resize(written - 1);
    return expanded;
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The full path of the file, found as serverFileExists finds it; empty when it is not there.
std::string locateServerFile(const std::string& path)
{
    if (path.empty())
        return {};
    if (path.find_first_of("\\/:") == std::string::npos) {
        char found[MAX_PATH];
        const DWORD length = SearchPathA(nullptr, path.c_str(), nullptr, MAX_PATH, found, nullptr);
        return length > 0 && length < MAX_PATH ? std::string(found, length) : std::string();
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) ? path : std::string();
}

bool hasExtension(const std::string& path)
{
    const size_t dot = path.find_last_of('.'), slash = path.find_last_of("\\/");
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

// The program of an unquoted command line, as CreateProcess finds it; empty when no
// prefix of it names a file.
std::string existingProgram(const std::string& commandLine)
{
    for (size_t end = commandLine.find_first_of(" \t");; end = commandLine.find_first_of(" \t", end + 1)) {
        const std::string prefix = commandLine.substr(0, end);
        if (serverFileExists(prefix))
            return prefix;
        if (!hasExtension(prefix) && serverFileExists(prefix + ".exe"))
            return prefix + ".exe";
        if (end == std::string::npos)
            return {};
    }
}

// Reads size bytes at offset: the count read, or -1 when the file cannot be read.
long readAt(HANDLE file, LONGLONG offset, void* to, DWORD size)
{
    LARGE_INTEGER position;
    position.QuadPart = offset;
    DWORD read = 0;
    if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN) || !ReadFile(file, to, size, &read, nullptr))
        return -1;
    return static_cast<long>(read);
}

}  // namespace

std::string serverFilePath(const std::string& value, bool commandLine)
{
    const std::string text = trimmed(expandEnvironment(value));
    if (!text.empty() && text.front() == '"') {
        const size_t closing = text.find('"', 1);
        return text.substr(1, closing == std::string::npos ? std::string::npos : closing - 1);
    }
    if (!commandLine)
        return text;
    if (std::string program = existingProgram(text); !program.empty())
        return program;
    // Nothing there: the program as it reads, for the finding (a path with blanks ends after ".exe").
    const size_t program = lowerCase(text).find(".exe");
    if (program != std::string::npos)
        return text.substr(0, program + 4);
    return text.substr(0, text.find(' '));
}

std::string codeBaseFilePath(const std::string& url)
{
    constexpr std::string_view kFileScheme = "file:///";
    if (lowerCase(url.substr(0, kFileScheme.size())) != kFileScheme)
        return url;
    std::string path;
    for (size_t i = kFileScheme.size(); i < url.size(); ++i) {
        const char c = url[i];
        if (c == '%' && i + 2 < url.size() && hexDigit(url[i + 1]) >= 0 && hexDigit(url[i + 2]) >= 0) {
            path += static_cast<char>(hexDigit(url[i + 1]) * 16 + hexDigit(url[i + 2]));
            i += 2;
        } else {
            path += c == '/' ? '\\' : c;
        }
    }
    return path;
}

bool isDotNetLoader(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return lowerCase(path.substr(slash == std::string::npos ? 0 : slash + 1)) == "mscoree.dll";
}

bool serverFileExists(const std::string& path) { return !locateServerFile(path).empty(); }

ServerImage readServerImage(const std::string& path)
{
    const std::string located = locateServerFile(path);
    if (located.empty())
        return {};
    const UniqueFile file(CreateFileA(located.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    // A file too short for a header, or without its signature, is no program.
    unsigned char dos[0x40];
    const long dosRead = readAt(file.get(), 0, dos, sizeof dos);
    if (dosRead < 0)
        return {};
    if (dosRead < static_cast<long>(sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
        return {ServerImage::NotProgram};
    const DWORD peOffset = dos[0x3C] | dos[0x3D] << 8 | dos[0x3E] << 16 | static_cast<DWORD>(dos[0x3F]) << 24;
    unsigned char pe[6];  // "PE\0\0" and IMAGE_FILE_HEADER.Machine
    const long peRead = readAt(file.get(), peOffset, pe, sizeof pe);
    if (peRead < 0)
        return {};
    if (peRead < static_cast<long>(sizeof pe) || pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0)
        return {ServerImage::NotProgram};
    return {ServerImage::Program, static_cast<WORD>(pe[4] | pe[5] << 8)};
}
