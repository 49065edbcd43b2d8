#include "support/CQnBSTR.h"

#include <charconv>
#include <string>

std::string decimalText(int64_t value)
{
    char digits[24];  // 19 digits and a sign
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    return error == std::errc() ? std::string(digits, end) : std::string();
}

std::string fixedText(double value)
{
    // The largest double has 309 integer digits; a sign, the point and six decimals.
    char digits[330];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
    return error == std::errc() ? std::string(digits, end) : std::string();
}

CQnBSTR::CQnBSTR(int32_t value) : _bstr_t(decimalText(value).c_str()) {}

CQnBSTR::CQnBSTR(int64_t value) : _bstr_t(decimalText(value).c_str()) {}

CQnBSTR::CQnBSTR(double value) : _bstr_t(fixedText(value).c_str()) {}

CQnBSTR& CQnBSTR::operator=(int32_t value)
{
    _bstr_t::operator=(CQnBSTR(value));
    return *this;
}

CQnBSTR& CQnBSTR::operator=(int64_t value)
{
    _bstr_t::operator=(CQnBSTR(value));
    return *this;
}

CQnBSTR& CQnBSTR::operator=(double value)
{
    _bstr_t::operator=(CQnBSTR(value));
    return *this;
}
