#pragma once
#include <windows.h>
#include <objidl.h>
#include <cstdint>
#include <string>
#include <vector>

// The binary records the samples persist: little-endian 32-bit unsigned numbers,
// IEEE doubles, and texts as a 32-bit count of UTF-16 units followed by the units.
// A record is built in memory and written with one call; reading takes exactly the
// bytes that were written, so a stream may hold more data after it.
namespace sample {

class RecordWriter {
public:
    void u32(uint32_t value);
    void f64(double value);
    void text(const std::wstring& value);
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    HRESULT writeTo(IStream* stream) const;

private:
    void raw(const void* data, size_t size);
    std::vector<uint8_t> bytes_;
};

// Reads a record from a stream. Every read fails with STG_E_READFAULT when the
// stream ends early; texts longer than maxTextLength are refused as corrupt data.
class RecordReader {
public:
    static constexpr uint32_t maxTextLength = 65536;
    explicit RecordReader(IStream* stream) : stream_(stream) {}
    HRESULT u32(uint32_t& value);
    HRESULT f64(double& value);
    HRESULT text(std::wstring& value);

private:
    HRESULT raw(void* data, ULONG size);
    IStream* stream_;
};

}  // namespace sample
