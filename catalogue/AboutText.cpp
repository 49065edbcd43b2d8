#include "catalogue/AboutText.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the insert that starts at text[at] ('%' and a digit 1-9): up to two
// digits, then a "!format!" when one follows and is closed.
size_t insertLength(const std::string& text, size_t at)
{
    size_t end = at + 2;
    if (end < text.size() && isDigit(text[end]))
        ++end;
    if (end < text.size() && text[end] == '!') {
        const size_t close = text.find('!', end + 1);
        if (close != std::string::npos)
            end = close + 1;
    }
    return end - at;
}

}  // namespace

std::string expandMessageEscapes(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '%' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const char next = text[i + 1];
        if (next >= '1' && next <= '9') {
            const size_t length = insertLength(text, i);
            out.append(text, i, length);
            i += length - 1;
            continue;
        }
        ++i;
        switch (next) {
        case '0':
            return out;
        case 'n':
            out += "\r\n";
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        default:
            out += next;  // %% %. %! "% " and any other character stand for themselves
            break;
        }
    }
    return out;
}

std::string aboutDisplayText(const std::string& about)
{
    std::string text;
    text.reserve(about.size());
    for (size_t i = 0; i < about.size(); ++i) {
        if (about[i] == '\\' && i + 1 < about.size() && about[i + 1] == 'n') {
            text += '\n';
            ++i;
        } else {
            text += about[i];
        }
    }
    if (text.empty())
        return text;
    // The multi-line edit control of Windows breaks lines at CR LF only: a lone line
    // feed (from "\n" or from the registered text itself) becomes CR LF.
    const std::string expanded = expandMessageEscapes(text);
    std::string shown;
    shown.reserve(expanded.size());
    for (size_t i = 0; i < expanded.size(); ++i) {
        if (expanded[i] == '\n' && (i == 0 || expanded[i - 1] != '\r'))
            shown += '\r';
        shown += expanded[i];
    }
    return shown;
}
