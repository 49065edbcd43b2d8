#include "automation/CapeVersion.h"

#include <cmath>
#include <cwchar>

#include "automation/BstrText.h"
#include "support/CQnBSTR.h"

long parseCOVersion(const std::string& text)
{
    const std::wstring wide = toWide(text);
    if (!wide.empty()) {
        wchar_t* end = nullptr;
        const double number = std::wcstod(wide.c_str(), &end);
        // Truncated toward zero: 1.1 * 100 is a hair above 110. Far larger numbers
        // are none of the two (and would not fit the conversion).
        const bool whole = end == wide.c_str() + wide.size();
        const long hundredths = std::fabs(number) < 1e6 ? static_cast<long>(number * 100) : 0;
        if (whole && (hundredths == 100 || hundredths == 110))
            return hundredths;
    }
    if (text.find(".1") != std::string::npos)
        return 110;
    if (text.find("1.") != std::string::npos)
        return 100;
    return 110;
}

std::string coVersionText(long number)
{
    switch (number) {
    case 0:
        return "none";
    case 100:
        return "1.0";
    case 110:
        return "1.1";
    case 1000:
        return "not supported";
    default:
        return CQnBSTR(static_cast<double>(number) / 100).narrow();
    }
}
