#pragma once
// Registers one faulty component of TestComponents.dll (beside the test program)
// for the lifetime of this object, under a fresh class identifier and a ProgID of
// its own (QnTest.Fault<kind>.<8 hex digits>), and unregisters it on destruction.
// The test executable's target needs add_dependencies(<test> TestComponents).
#include <windows.h>
#include <objbase.h>

#include <string>

#include "TestFault.h"

namespace testfault {

class RegisteredFault {
public:
    explicit RegisteredFault(TestFault kind)
    {
        module_ = LoadLibraryW(besideTestProgram(L"TestComponents.dll").c_str());
        auto registerFault = reinterpret_cast<HRESULT(WINAPI*)(long, const wchar_t*, const wchar_t*)>(
            module_ ? reinterpret_cast<void*>(GetProcAddress(module_, "RegisterFault")) : nullptr);
        if (!registerFault || FAILED(CoCreateGuid(&clsid_))) {
            result_ = E_FAIL;
            return;
        }
        wchar_t text[40] = {};
        StringFromGUID2(clsid_, text, 40);
        clsidText_ = text;
        progId_ = L"QnTest.Fault" + std::to_wstring(static_cast<long>(kind)) + L"." + clsidText_.substr(1, 8);
        result_ = registerFault(static_cast<long>(kind), clsidText_.c_str(), progId_.c_str());
        if (kind == TestFault::NoProgId)
            progId_.clear();
    }
    ~RegisteredFault()
    {
        auto unregisterFault = reinterpret_cast<HRESULT(WINAPI*)(const wchar_t*, const wchar_t*)>(
            module_ ? reinterpret_cast<void*>(GetProcAddress(module_, "UnregisterFault")) : nullptr);
        if (unregisterFault && SUCCEEDED(result_))
            unregisterFault(clsidText_.c_str(), progId_.c_str());
        if (module_)
            FreeLibrary(module_);
    }
    RegisteredFault(const RegisteredFault&) = delete;
    RegisteredFault& operator=(const RegisteredFault&) = delete;

    // S_OK when the registration was written.
    HRESULT result() const { return result_; }
    const CLSID& clsid() const { return clsid_; }
    const std::wstring& clsidText() const { return clsidText_; }
    // Empty for TestFault::NoProgId.
    const std::wstring& progId() const { return progId_; }

private:
    static std::wstring besideTestProgram(const wchar_t* fileName)
    {
        wchar_t path[MAX_PATH] = {};
        std::wstring result(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
        return result.substr(0, result.find_last_of(L'\\') + 1) + fileName;
    }

    HMODULE module_ = nullptr;
    HRESULT result_ = E_FAIL;
    CLSID clsid_{};
    std::wstring clsidText_;
    std::wstring progId_;
};

}  // namespace testfault
