#pragma once
#include <comutil.h>

#include <cstdint>
#include <string>

// A shared, reference-counted BSTR text: copies share one buffer, and the narrow
// copy (active code page) is made on first demand and cached with it. Numbers
// become their decimal texts: integers as "%d" / "%lld", doubles as "%f" (six
// decimals). The platform's _bstr_t does the sharing; this class adds the number
// conversions and a virtual destructor.
class CQnBSTR : public _bstr_t {
public:
    CQnBSTR() = default;  // no text: the wide and narrow views are null
    CQnBSTR(const char* text) : _bstr_t(text) {}
    CQnBSTR(const wchar_t* text) : _bstr_t(text) {}
    // Shares the buffer (reference count + 1).
    CQnBSTR(const _bstr_t& other) : _bstr_t(other) {}
    CQnBSTR(const CQnBSTR& other) = default;
    CQnBSTR(int32_t value);
    // long is 32 bits here too: without it CQnBSTR(7L) would be ambiguous.
    CQnBSTR(long value) : CQnBSTR(static_cast<int32_t>(value)) {}
    CQnBSTR(int64_t value);
    CQnBSTR(double value);
    virtual ~CQnBSTR() = default;

    CQnBSTR& operator=(const CQnBSTR& other) = default;
    using _bstr_t::operator=;
    // Replace the text by the text of value, as the constructors make it (without
    // the double one, a double would silently assign as a truncated integer).
    CQnBSTR& operator=(int32_t value);
    CQnBSTR& operator=(long value) { return *this = static_cast<int32_t>(value); }
    CQnBSTR& operator=(int64_t value);
    CQnBSTR& operator=(double value);

    // The cached narrow copy, made on first use; null for a null text. It lives as
    // long as the shared buffer does.
    const char* narrow() const { return static_cast<const char*>(*this); }
};

// The texts the constructors use, for callers that want a std::string.
std::string decimalText(int64_t value);
// "%f": fixed notation with six decimals, 1.5 gives "1.500000".
std::string fixedText(double value);
