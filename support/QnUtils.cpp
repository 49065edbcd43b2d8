#include "support/QnUtils.h"

#include <windows.h>
#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstdio>
#include <memory>

#include "support/ErrorReport.h"
#include "support/MTUtils.h"

// Process-wide values, touched only by the host's UI thread: plain values.
namespace {

bool g_hostInfoInitialised = false;
int g_mainHostVersion = 0;

std::array<std::optional<std::string>, kCompoundSlotCount> g_compoundNames;
std::array<std::optional<std::string>, kCompoundSlotCount> g_casNumbers;
int g_casCount = 0;

using UniqueCFile = std::unique_ptr<FILE, decltype(&fclose)>;

bool isBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

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

// One line of the file, without its line feed; false at the end of the file.
bool readLine(FILE* file, std::string& line)
{
    line.clear();
    char chunk[256];
    while (fgets(chunk, sizeof chunk, file)) {
        line += chunk;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            return true;
        }
    }
    return !line.empty();
}

void clearCompoundTables()
{
    g_compoundNames.fill(std::nullopt);
    g_casNumbers.fill(std::nullopt);
    g_casCount = 0;
}

void reportCompoundListProblem(const char* text)
{
    reportError(text, nullptr, nullptr, true);
}

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

void QnUtils::readCompoundList()
{
    readCompoundList(MTUtils::getModuleDirectory() + "\\" + kCompoundListFileName);
}

void QnUtils::readCompoundList(const std::string& path)
{
    clearCompoundTables();
    UniqueCFile file(fopen(path.c_str(), "r"), &fclose);
    if (!file) {
        reportCompoundListProblem("Cannot open QnpCASnos.txt");
        return;
    }
    try {
        int compoundsRead = 0;
        std::string line;
        while (readLine(file.get(), line)) {
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
                // skipped and not counted as read.
                if (std::optional<int> slot = compoundSlot(compound.identifier)) {
                    g_compoundNames[*slot] = compound.name;
                    if (g_casNumbers[*slot])
                        --g_casCount;  // a repeated identifier replaces the earlier line
                    if (compound.casNumber == "NULL") {
                        g_casNumbers[*slot].reset();
                    } else {
                        g_casNumbers[*slot] = compound.casNumber;
                        ++g_casCount;
                    }
                    ++compoundsRead;
                }
                continue;
            }
            break;  // a line without a field ends the list
        }
        if (ferror(file.get())) {
            reportCompoundListProblem("problem reading component list");
            return;
        }
        if (compoundsRead < kExpectedCompoundCount) {
            std::string warning = "WARNING: only " + std::to_string(compoundsRead) + " compounds (" +
                                  std::to_string(kExpectedCompoundCount) +
                                  " were expected) were read from file QnpCASnos.txt. ";
            showMessage(warning.c_str(), "", MB_OK, nullptr);
        }
    } catch (...) {
        reportCompoundListProblem("problem reading component list");
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

int QnUtils::compoundCasCount()
{
    return g_casCount;
}

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
