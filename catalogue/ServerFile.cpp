#include "catalogue/ServerFile.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string_view>

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
    // An unquoted program path may hold blanks itself: it ends after ".exe".
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

bool serverFileExists(const std::string& path)
{
    if (path.empty())
        return false;
    if (path.find_first_of("\\/:") == std::string::npos) {
        char found[MAX_PATH];
        return SearchPathA(nullptr, path.c_str(), nullptr, MAX_PATH, found, nullptr) != 0;
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
