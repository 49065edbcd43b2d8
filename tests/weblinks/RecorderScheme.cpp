#include "RecorderScheme.h"

#include <objbase.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

bool writeText(const std::wstring& path, const wchar_t* name, const std::wstring& value)
{
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, path.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring besideTestProgram(const wchar_t* fileName)
{
    wchar_t path[MAX_PATH] = {};
    const std::wstring program(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return program.substr(0, program.find_last_of(L'\\') + 1) + fileName;
}

}  // namespace

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
    registered_ = writeText(name_, nullptr, L"URL:QnTest recorder") && writeText(name_, L"URL Protocol", L"") &&
                  writeText(name_ + L"\\shell\\open\\command", nullptr, command);
}

RecorderScheme::~RecorderScheme()
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, name_.c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, name_.c_str());
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
