#pragma once
#include <windows.h>
#include <utility>

// Owns one kernel or GDI handle. Close is the function that frees it; Invalid the
// value that means "nothing held" (INVALID_HANDLE_VALUE for files, null otherwise).
template <class H, auto Close, auto Invalid>
class UniqueHandleOf {
public:
    UniqueHandleOf() = default;
    explicit UniqueHandleOf(H h) : handle_(h) {}
    UniqueHandleOf(UniqueHandleOf&& other) noexcept : handle_(std::exchange(other.handle_, invalid())) {}
    UniqueHandleOf& operator=(UniqueHandleOf&& other) noexcept
    {
        reset(std::exchange(other.handle_, invalid()));
        return *this;
    }
    UniqueHandleOf(const UniqueHandleOf&) = delete;
    UniqueHandleOf& operator=(const UniqueHandleOf&) = delete;
    ~UniqueHandleOf() { reset(); }

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != invalid(); }
    void reset(H h = invalid())
    {
        if (handle_ != invalid())
            Close(handle_);
        handle_ = h;
    }
    [[nodiscard]] H release() { return std::exchange(handle_, invalid()); }

private:
    static H invalid() { return reinterpret_cast<H>(static_cast<intptr_t>(Invalid)); }
    H handle_ = invalid();
};

inline void closeHandle(HANDLE h) { CloseHandle(h); }
inline void deleteGdiObject(HGDIOBJ h) { DeleteObject(h); }

// CreateFile results: INVALID_HANDLE_VALUE means none.
using UniqueFile = UniqueHandleOf<HANDLE, closeHandle, -1>;
// Other kernel handles (events, processes): null means none.
using UniqueHandle = UniqueHandleOf<HANDLE, closeHandle, 0>;
// Fonts, brushes, bitmaps.
using UniqueGdiObject = UniqueHandleOf<HGDIOBJ, deleteGdiObject, 0>;
