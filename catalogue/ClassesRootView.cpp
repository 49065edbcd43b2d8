#include "catalogue/ClassesRootView.h"

#include <memory>

LONG ClassesRootView::open(const std::string& path, RegKey& key) const
{
    return RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | view_, key.put());
}

const char* ClassesRootView::bitness() const { return (view_ & KEY_WOW64_32KEY) ? "32-bit" : "64-bit"; }

TextValue readTextValue(HKEY key, const char* name)
{
    TextValue value;
    DWORD& type = value.type;
    DWORD size = 0;
    std::string buffer;
    // The value may grow between the two calls: asked again until it fits.
    for (;;) {
        value.status = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
        if (value.status != ERROR_SUCCESS)
            return value;
        if (size > kLongestTextValue) {
            value.status = ERROR_MORE_DATA;
            return value;
        }
        buffer.assign(size + 1, '\0');
        value.status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (value.status != ERROR_MORE_DATA)
            break;
    }
    if (value.status != ERROR_SUCCESS)
        return value;
    value.isText = type == REG_SZ || type == REG_EXPAND_SZ;
    if (value.isText) {
        buffer.resize(size);
        value.text = buffer.substr(0, buffer.find('\0'));
    }
    return value;
}

LONG readSubkeyNames(HKEY key, std::vector<std::string>& names)
{
    // Longest key name the registry allows, and its NUL.
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        const LONG status = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS)
            return status;
        names.emplace_back(name, length);
    }
}

std::string systemTextLine(DWORD code)
{
    struct LocalFreeDeleter {
        void operator()(char* p) const { LocalFree(p); }
    };
    char* raw = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&raw), 0, nullptr);
    std::unique_ptr<char, LocalFreeDeleter> owned(raw);
    std::string text = length && raw ? std::string(raw, length) : std::string();
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    while (!text.empty() && (text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}
