#include "packagedialog/OwnPropertySystem.h"

#include <algorithm>
#include <cctype>

namespace {

bool containsIgnoringCase(std::string_view text, std::string_view word)
{
    auto equalIgnoringCase = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    return std::search(text.begin(), text.end(), word.begin(), word.end(), equalIgnoringCase) != text.end();
}

}  // namespace

bool namesOwnPropertySystem(std::string_view parentProgId)
{
    return containsIgnoringCase(parentProgId, "CVCOProperties") || containsIgnoringCase(parentProgId, "Corvane");
}
