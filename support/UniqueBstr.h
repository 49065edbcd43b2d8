#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>
#include <utility>

// Owns one BSTR: SysFreeString on destruction.
class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(const wchar_t* text) : bstr_(text ? SysAllocString(text) : nullptr) {}
    UniqueBstr(UniqueBstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept
    {
        reset(std::exchange(other.bstr_, nullptr));
        return *this;
    }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    ~UniqueBstr() { reset(); }

    // Adopts a BSTR the caller owns.
    static UniqueBstr attach(BSTR b)
    {
        UniqueBstr result;
        result.bstr_ = b;
        return result;
    }

    BSTR get() const { return bstr_; }
    // Frees what is held and returns the empty slot for an out parameter.
    BSTR* put()
    {
        reset();
        return &bstr_;
    }
    // Drops what is held without freeing it: what a failed call left there belongs to
    // nobody (see callForeign).
    void forget() { bstr_ = nullptr; }
    [[nodiscard]] BSTR detach() { return std::exchange(bstr_, nullptr); }
    void reset(BSTR b = nullptr)
    {
        if (bstr_ != b)
            SysFreeString(bstr_);
        bstr_ = b;
    }
    UINT length() const { return SysStringLen(bstr_); }
    std::wstring text() const { return bstr_ ? std::wstring(bstr_, SysStringLen(bstr_)) : std::wstring(); }

private:
    BSTR bstr_ = nullptr;
};
