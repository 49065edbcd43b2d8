#include "BrowserClassRegistration.h"

#include <exdisp.h>
#include <objbase.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "catalogue/WebLinks.h"
#include "support/RegKey.h"

namespace {

std::wstring classKey()
{
    wchar_t text[40] = {};
    StringFromGUID2(CLSID_InternetExplorer, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

bool keyExists(const std::wstring& path)
{
    RegKey key;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

void deleteKey(const std::wstring& path)
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
}

bool writeDefault(const std::wstring& path, const std::wstring& value)
{
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, path.c_str(), nullptr, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring besideTestProgram(const wchar_t* fileName)
{
    wchar_t path[MAX_PATH] = {};
    const std::wstring program(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return program.substr(0, program.find_last_of(L'\\') + 1) + fileName;
}

}  // namespace

BrowserClassRegistration::BrowserClassRegistration()
{
    if (classRegistered(CLSID_InternetExplorer))
        return;
    classKeyWritten_ = !keyExists(classKey());
    serverKeyWritten_ = writeDefault(classKey() + L"\\LocalServer32", L"C:\\QnTest\\no-such-browser.exe");
}

BrowserClassRegistration::~BrowserClassRegistration()
{
    if (classKeyWritten_)
        deleteKey(classKey());
    else if (serverKeyWritten_)
        deleteKey(classKey() + L"\\LocalServer32");
}

RecorderScheme::RecorderScheme()
{
    GUID unique{};
    CoCreateGuid(&unique);
    wchar_t text[40] = {};
    StringFromGUID2(unique, text, 40);
    name_ = L"qnrec" + std::wstring(text + 1, 8);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    recordFile_ = std::wstring(temp) + name_ + L".txt";
    DeleteFileW(recordFile_.c_str());

    const std::wstring command =
        L"\"" + besideTestProgram(L"UrlRecorder.exe") + L"\" \"" + recordFile_ + L"\" \"%1\"";
    registered_ = writeDefault(name_, L"URL:QnTest recorder") &&
                  RegSetKeyValueW(HKEY_CLASSES_ROOT, name_.c_str(), L"URL Protocol", REG_SZ, L"",
                                  sizeof(wchar_t)) == ERROR_SUCCESS &&
                  writeDefault(name_ + L"\\shell\\open\\command", command);
}

RecorderScheme::~RecorderScheme()
{
    deleteKey(name_);
    DeleteFileW(recordFile_.c_str());
}

std::string RecorderScheme::waitForRecord() const
{
    for (int round = 0; round < 400; ++round) {
        std::ifstream file{std::filesystem::path(recordFile_)};
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (!text.empty())
            return text;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return {};
}
