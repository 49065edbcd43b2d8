#include "packagedialog/DisplayText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// The decimal exponent of value as 17 significant digits show it (the runtime decides
// between the two notations on the unrounded value).
int decimalExponent(double value)
{
    if (value == 0)
        return -1;  // the runtime treats zero like a value below one: "0."
    char buffer[40];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 16);
    if (error != std::errc())
        return 0;
    const char* e = buffer;
    while (e != end && *e != 'e')
        ++e;
    int exponent = 0;
    if (e != end)
        std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, exponent);
    return exponent;
}

// Drops the zeros that end the fraction (before an exponent), keeping the point.
void dropTrailingZeros(std::string& text)
{
    const size_t point = text.find('.');
    if (point == std::string::npos)
        return;
    size_t exponent = text.find('e', point);
    size_t fractionEnd = exponent == std::string::npos ? text.size() : exponent;
    size_t keep = fractionEnd;
    while (keep > point + 1 && text[keep - 1] == '0')
        --keep;
    text.erase(keep, fractionEnd - keep);
}

// "e+20" becomes "e+020": the runtime writes at least three exponent digits.
void widenExponent(std::string& text)
{
    const size_t e = text.find('e');
    if (e == std::string::npos || e + 1 >= text.size())
        return;
    const size_t digitsStart = e + 2;  // after the sign, which to_chars always writes
    const size_t digitCount = text.size() - digitsStart;
    if (digitCount < 3)
        text.insert(digitsStart, 3 - digitCount, '0');
}

}  // namespace

std::string gcvtText(double value, int digits)
{
    if (std::isnan(value))
        return "1.#QNAN";
    if (std::isinf(value))
        return value < 0 ? "-1.#INF" : "1.#INF";
    if (digits < 1)
        digits = 1;

    char buffer[128];  // fixed form: at most `digits` integral digits and `digits` decimals
    const int exponent = decimalExponent(value);
    std::to_chars_result written;
    const bool scientific = exponent < -1 || exponent > digits - 1;
    if (scientific)
        written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, digits - 1);
    else
        written =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, digits - (exponent + 1));
    if (written.ec != std::errc())
        return {};
    std::string text(buffer, written.ptr);
    if (text.find('.') == std::string::npos) {
        // No fraction digits were asked for: the runtime still writes the point.
        const size_t e = text.find('e');
        text.insert(e == std::string::npos ? text.size() : e, 1, '.');
    }
    dropTrailingZeros(text);
    if (scientific)
        widenExponent(text);
    return text;
}

void assignAnsi(std::string& out, const wchar_t* wide, UINT length)
{
    out.clear();
    if (!wide || length == 0)
        return;
    const int wideLength = static_cast<int>(length);
    int size = WideCharToMultiByte(CP_ACP, 0, wide, wideLength, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return;
    out.resize(static_cast<size_t>(size));
    size = WideCharToMultiByte(CP_ACP, 0, wide, wideLength, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size > 0 ? size : 0));
}

std::string withCarriageReturns(const std::string& text)
{
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            result += '\r';
        result += text[i];
    }
    return result;
}
