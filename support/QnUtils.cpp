#include "support/QnUtils.h"

#include <windows.h>
#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdio>
#include <memory>

#include "support/ErrorReport.h"
#include "support/MemoryHolders.h"
#include "support/MTUtils.h"

// Process-wide values, touched only by the host's UI thread: plain values.
namespace {

constexpr const char* kReadingFailed = "problem reading component list";

bool g_hostInfoInitialised = false;
int g_mainHostVersion = 0;

std::array<std::optional<std::string>, kCompoundSlotCount> g_compoundNames;
std::array<std::optional<std::string>, kCompoundSlotCount> g_casNumbers;
int g_casCount = 0;

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

void skipBlanks(const std::string& text, size_t& pos)
{
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
}

// The next run of non-blank characters, as "%s" reads it; empty at the end of the text.
std::string readWord(const std::string& text, size_t& pos)
{
    skipBlanks(text, pos);
    size_t start = pos;
    while (pos < text.size() && !isBlank(text[pos]))
        ++pos;
    return text.substr(start, pos - start);
}

// "%d": optional sign and decimal digits after blanks. Numbers beyond int saturate.
bool readInteger(const std::string& text, size_t& pos, int& value)
{
    skipBlanks(text, pos);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        negative = text[pos++] == '-';
    size_t digitsStart = pos;
    long long magnitude = 0;
    for (; pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])); ++pos)
        magnitude = std::min(magnitude * 10 + (text[pos] - '0'), static_cast<long long>(INT_MAX) + 1);
    if (pos == digitsStart)
        return false;
    long long signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int>(std::clamp(signedValue, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
    return true;
}

// Longest line of the compound list that is read; a longer one is skipped whole.
constexpr size_t kMaxCompoundLineLength = 255;

enum class LineRead { Line, Overlong, End };

// One line of the file as bytes, without its line feed or a carriage return before it,
// and without NUL bytes; a line past the limit is consumed to its end and reported as
// overlong, so that it is never glued to the next one.
LineRead readLine(FILE* file, std::string& line)
{
    line.clear();
    bool overlong = false;
    int c = 0;
    bool any = false;
    while ((c = getc(file)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        if (c == '\0')
            continue;
        if (line.size() < kMaxCompoundLineLength)
            line += static_cast<char>(c);
        else
            overlong = true;
    }
    if (!any)
        return LineRead::End;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return overlong ? LineRead::Overlong : LineRead::Line;
}

bool isBlankLine(const std::string& line) { return std::all_of(line.begin(), line.end(), isBlank); }

// A UTF-8 byte-order mark at the start of the file is not part of the first line.
void skipByteOrderMark(FILE* file)
{
    unsigned char mark[3] = {};
    if (fread(mark, 1, 3, file) == 3 && mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF)
        return;
    rewind(file);
}

int storedCompoundCount()
{
    return static_cast<int>(std::count_if(g_compoundNames.begin(), g_compoundNames.end(),
                                          [](const std::optional<std::string>& name) { return name.has_value(); }));
}

void clearCompoundTables()
{
    g_compoundNames.fill(std::nullopt);
    g_casNumbers.fill(std::nullopt);
    g_casCount = 0;
}

void reportCompoundListProblem(const char* text) { reportError(text, nullptr, nullptr, true); }

}  // namespace

CompoundLine parseCompoundLine(const std::string& line)
{
    CompoundLine result;
    size_t pos = 0;
    if (!readInteger(line, pos, result.identifier))
        return result;  // NoField
    result.status = CompoundLine::Status::TooFewFields;
    if (pos >= line.size() || line[pos] != ',')
        return result;
    ++pos;
    std::string name = readWord(line, pos);
    std::string casNumber = readWord(line, pos);
    if (name.empty() || casNumber.empty())
        return result;
    if (name.size() > kMaxCompoundNameLength) {
        result.status = CompoundLine::Status::NameTooLong;
        return result;
    }
    if (casNumber.size() > kMaxCasNumberLength) {
        result.status = CompoundLine::Status::CasTooLong;
        return result;
    }
    // "water," and "water" followed by a blank name the same compound.
    if (name.back() == ',')
        name.pop_back();
    result.status = CompoundLine::Status::Complete;
    result.name = std::move(name);
    result.casNumber = std::move(casNumber);
    return result;
}

std::optional<int> QnUtils::compoundSlot(int identifier)
{
    if (identifier >= 1 && identifier <= 999)
        return identifier;
    if (identifier >= 3000 && identifier <= 3768)
        return identifier - 2000;
    return std::nullopt;
}

void QnUtils::readCompoundList() { readCompoundList(MTUtils::getModuleDirectory() + "\\" + kCompoundListFileName); }

void QnUtils::readCompoundList(const std::string& path)
{
    clearCompoundTables();
    UniqueCFile file(fopen(path.c_str(), "rb"));
    if (!file) {
        reportCompoundListProblem("Cannot open QnpCASnos.txt");
        return;
    }
    try {
        skipByteOrderMark(file.get());
        bool overlongReported = false;
        std::string line;
        for (LineRead read; (read = readLine(file.get(), line)) != LineRead::End;) {
            if (read == LineRead::Overlong) {
                if (!overlongReported)
                    reportCompoundListProblem("line too long in QnpCASnos.txt; it has been skipped");
                overlongReported = true;
                continue;
            }
            if (isBlankLine(line))
                continue;
            CompoundLine compound = parseCompoundLine(line);
            switch (compound.status) {
            case CompoundLine::Status::NoField:
                break;
            case CompoundLine::Status::TooFewFields:
                reportCompoundListProblem("could not read 3 fields of one line");
                return;
            case CompoundLine::Status::NameTooLong:
                reportCompoundListProblem("component name too long");
                return;
            case CompoundLine::Status::CasTooLong:
                reportCompoundListProblem("casno name too long");
                return;
            case CompoundLine::Status::Complete:
                // An identifier without a slot cannot be stored or looked up: it is
                // skipped. A repeated identifier replaces the earlier line.
                if (std::optional<int> slot = compoundSlot(compound.identifier)) {
                    g_compoundNames[*slot] = compound.name;
                    if (g_casNumbers[*slot])
                        --g_casCount;
                    if (compound.casNumber == "NULL") {
                        g_casNumbers[*slot].reset();
                    } else {
                        g_casNumbers[*slot] = compound.casNumber;
                        ++g_casCount;
                    }
                }
                continue;
            }
            break;  // a line that does not start with a number ends the list
        }
        if (ferror(file.get())) {
            reportCompoundListProblem(kReadingFailed);
            return;
        }
        // Each compound counts once, however often its identifier appears.
        const int compoundsRead = storedCompoundCount();
        if (compoundsRead < kExpectedCompoundCount) {
            std::string warning = "WARNING: only " + std::to_string(compoundsRead) + " compounds (" +
                                  std::to_string(kExpectedCompoundCount) +
                                  " were expected) were read from file QnpCASnos.txt. ";
            showMessage(warning.c_str(), "", MB_OK, nullptr);
        }
    } catch (...) {
        reportCompoundListProblem(kReadingFailed);
    }
}

std::optional<std::string> QnUtils::compoundName(int identifier)
{
    std::optional<int> slot = compoundSlot(identifier);
    return slot ? g_compoundNames[*slot] : std::nullopt;
}

std::optional<std::string> QnUtils::compoundCasNumber(int identifier)
{
    std::optional<int> slot = compoundSlot(identifier);
    return slot ? g_casNumbers[*slot] : std::nullopt;
}

int QnUtils::compoundCasCount() { return g_casCount; }

void QnUtils::initHostInfo()
{
    if (g_hostInfoInitialised)
        return;
    readCompoundList();
    g_mainHostVersion = 0;
    if (GetModuleHandleA(kMainSimulatorExecutable)) {
        unsigned long versions[4] = {0, 0, 0, 0};
        if (MTUtils::getDLLversions(versions, kMainSimulatorExecutable))
            g_mainHostVersion = static_cast<int>(100 * versions[0] + 10 * versions[1]);
    }
    g_hostInfoInitialised = true;
}

bool QnUtils::isMainHostProcess()
{
    initHostInfo();
    return g_mainHostVersion != 0;
}

int QnUtils::mainHostVersion()
{
    initHostInfo();
    return g_mainHostVersion;
}

void QnUtils::resetHostInfoForTests()
{
    g_hostInfoInitialised = false;
    g_mainHostVersion = 0;
}
