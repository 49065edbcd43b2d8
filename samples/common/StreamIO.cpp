#include "StreamIO.h"

namespace sample {

void RecordWriter::raw(const void* data, size_t size)
{
    const auto* begin = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), begin, begin + size);
}

void RecordWriter::u32(uint32_t value) { raw(&value, sizeof value); }
void RecordWriter::f64(double value) { raw(&value, sizeof value); }

void RecordWriter::text(const std::wstring& value)
{
    u32(static_cast<uint32_t>(value.size()));
    raw(value.data(), value.size() * sizeof(wchar_t));
}

HRESULT RecordWriter::writeTo(IStream* stream) const
{
    if (!stream)
        return E_POINTER;
    ULONG written = 0;
    HRESULT hr = stream->Write(bytes_.data(), static_cast<ULONG>(bytes_.size()), &written);
    if (SUCCEEDED(hr) && written != bytes_.size())
        hr = STG_E_WRITEFAULT;
    return hr;
}

HRESULT RecordReader::raw(void* data, ULONG size)
{
    if (!stream_)
        return E_POINTER;
    if (size == 0)
        return S_OK;
    ULONG read = 0;
    HRESULT hr = stream_->Read(data, size, &read);
    if (FAILED(hr))
        return hr;
    return read == size ? S_OK : STG_E_READFAULT;
}

HRESULT RecordReader::u32(uint32_t& value) { return raw(&value, sizeof value); }
HRESULT RecordReader::f64(double& value) { return raw(&value, sizeof value); }

HRESULT RecordReader::text(std::wstring& value)
{
    uint32_t length = 0;
    HRESULT hr = u32(length);
    if (FAILED(hr))
        return hr;
    if (length > maxTextLength)
        return STG_E_READFAULT;
    std::wstring result(length, L'\0');
    hr = raw(result.data(), static_cast<ULONG>(length * sizeof(wchar_t)));
    if (SUCCEEDED(hr))
        value = std::move(result);
    return hr;
}

}  // namespace sample
