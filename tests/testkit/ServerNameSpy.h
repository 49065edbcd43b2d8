#pragma once
// The server names a module hands to CoCreateInstanceEx, which this platform ignores:
// while the spy lives, the module's import address of that function leads to the spy.
#include <windows.h>
#include <objbase.h>

#include <string>

namespace testkit {

class ServerNameSpy {
public:
    explicit ServerNameSpy(HMODULE module)
    {
        auto* base = reinterpret_cast<BYTE*>(module);
        const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
        const auto* headers = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& iat = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
        auto** first = reinterpret_cast<void**>(base + iat.VirtualAddress);
        for (auto** slot = first; slot < first + iat.Size / sizeof(void*) && !slot_; ++slot)
            slot_ = *slot == real() ? slot : nullptr;
        names_.clear();
        if (slot_)
            *slot_ = reinterpret_cast<void*>(&spy);  // the import table of a MinGW module is writable
    }
    ~ServerNameSpy() { slot_ ? void(*slot_ = real()) : void(); }
    ServerNameSpy(const ServerNameSpy&) = delete;
    // The names given since the spy began, one line each ("(none)": no COSERVERINFO).
    static const std::wstring& seen() { return names_; }

private:
    static void* real()
    {
        return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ole32"), "CoCreateInstanceEx"));
    }
    static HRESULT STDAPICALLTYPE spy(REFCLSID clsid, IUnknown* outer, DWORD context, COSERVERINFO* server, DWORD count,
                                      MULTI_QI* results)
    {
        names_ += (server && server->pwszName ? server->pwszName : L"(none)") + std::wstring(L"\n");
        return reinterpret_cast<decltype(&spy)>(real())(clsid, outer, context, server, count, results);
    }
    static inline std::wstring names_;
    void** slot_ = nullptr;
};

}  // namespace testkit
