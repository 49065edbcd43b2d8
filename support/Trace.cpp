#include "support/Trace.h"

#include <windows.h>
#include <shlobj.h>
#include <direct.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "support/ErrorReport.h"
#include "support/MemoryHolders.h"
#include "support/MTUtils.h"

// Process-wide trace state. One thread (the host's UI thread) writes entries, so the
// flags are plain values; the busy flag only keeps a re-entrant request (raised while
// one of our boxes pumps messages) from writing into the middle of an entry.
namespace {

constexpr const char* kProductFolder = "\\Corvatek\\Corvane Quillon CAPE-OPEN";
constexpr const char* kProblemWriting = "problem writing trace file";
constexpr const char* kCannotOpen = "Could not open trace file";
constexpr const char* kRelocationCaption = "Corvane Veltrix CAPE-OPEN 1.1 Information message";
constexpr const char* kFallbackDirectory = "c:\\temp";

// Header and text of one entry, without the terminating NUL of the original line buffer.
constexpr size_t kMaxEntryLength = 2399;
// Longest directory path the trace directory may have (MAX_PATH without the NUL).
constexpr size_t kMaxDirectoryLength = MAX_PATH - 1;

std::string g_traceDirectory;
bool g_directoryEstablished = false;
bool g_busy = false;
bool g_relocationNoticePending = true;

void showTraceProblem(const char* text) { showMessage(text, "", MB_OK, nullptr); }

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// directory: <local app data>\Corvatek\Corvane Quillon CAPE-OPEN, created with every
// level that is missing (a DLL registered by hand has no installer to make them).
// False when it cannot be had: the trace then goes to the temporary folder instead.
bool traceDirectory(std::string& directory)
{
    if (g_directoryEstablished) {
        directory = g_traceDirectory;
        return true;
    }
    char appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        return false;
    directory = std::string(appData) + kProductFolder;
    if (directory.size() > kMaxDirectoryLength)
        return false;
    if (!exists(directory)) {
        const int created = SHCreateDirectoryExA(nullptr, directory.c_str(), nullptr);
        if (created != ERROR_SUCCESS && created != ERROR_ALREADY_EXISTS && created != ERROR_FILE_EXISTS)
            return false;
    }
    g_traceDirectory = directory;
    g_directoryEstablished = true;
    return true;
}

// "MM/DD/YY HH:MM:SS", local time.
std::string timeStamp()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char stamp[32];
    snprintf(stamp, sizeof stamp, "%02u/%02u/%02u %02u:%02u:%02u", now.wMonth, now.wDay, now.wYear % 100u, now.wHour,
             now.wMinute, now.wSecond);
    return stamp;
}

// Header, text and line feed; cut to the entry limit, and the line feed only when it
// still fits (a cut entry runs on into the next one).
std::string traceEntry(const char* text)
{
    // "date time: module: " and then the context, which is always empty.
    std::string line = timeStamp() + ": " + MTUtils::moduleBaseName() + ": ";
    line += text ? text : "";
    if (line.size() > kMaxEntryLength)
        line.resize(kMaxEntryLength);
    if (line.size() < kMaxEntryLength)
        line += '\n';
    return line;
}

FILE* openInTemp(std::string_view fileName, const std::string& intended);

void writeEntry(const char* text)
{
    const std::string fileName = MTUtils::moduleBaseName() + ".trc";
    std::string directory;
    const bool usable = traceDirectory(directory);
    const std::string intended = directory + "\\" + fileName;
    UniqueCFile file(usable ? openTraceFile(intended.c_str()) : openInTemp(fileName, intended));
    if (!file) {
        showTraceProblem(kCannotOpen);
        return;
    }
    std::string line = traceEntry(text);
    // Written as bytes: a text holding "%s" or "%d" is never a format.
    bool written = fwrite(line.data(), 1, line.size(), file.get()) == line.size();
    if (fclose(file.release()) != 0 || !written)
        showTraceProblem(kProblemWriting);
}

// The part of path after its last backslash (all of it when there is none).
std::string_view fileNameOf(std::string_view path)
{
    size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

void writeTrace(const char* text)
{
    if (g_busy)
        return;
    struct BusyGuard {
        BusyGuard() { g_busy = true; }
        ~BusyGuard() { g_busy = false; }
    } busy;
    try {
        writeEntry(text);
    } catch (...) {
        showTraceProblem(kProblemWriting);
    }
}

FILE* openTraceFile(const char* path)
{
    if (!path)
        path = "";
    if (FILE* file = fopen(path, "a+"))
        return file;
    return openInTemp(fileNameOf(path), path);
}

namespace {

// The trace file of that name in TEMP (else c:\temp), for a trace that could not be
// written where it was intended.
FILE* openInTemp(std::string_view fileName, const std::string& intended)
{
    std::string directory = MTUtils::getEnvironmentValue("TEMP");
    if (directory.empty())
        directory = kFallbackDirectory;
    else if (directory.back() == '\\')
        directory.pop_back();
    std::string fallback = directory + "\\" + std::string(fileName);

    // Told once per process, and only when the fallback file is new: the user learns
    // where the trace went without a box on every entry.
    if (g_relocationNoticePending && !exists(fallback)) {
        std::string notice = std::string("Since trace file at installation directory (") + intended +
                             ") could not be written, trace file will be written to '" + directory + "'.";
        showMessage(notice.c_str(), kRelocationCaption, MB_ICONINFORMATION, nullptr);
        g_relocationNoticePending = false;
    }

    FILE* file = fopen(fallback.c_str(), "a+");
    if (!file)
        showTraceProblem(kCannotOpen);
    return file;
}

}  // namespace

void traceToTempFile(const char* text)
{
    const char* mode = "a";
    std::string path;
    try {
        char temp[MAX_PATH + 1] = {};
        DWORD length = GetTempPathA(MAX_PATH, temp);
        // GetTempPathA ends the path with a backslash as a rule; exactly one separates
        // it from the file name. Without a temporary path nothing is opened.
        if (length > 0 && length < MAX_PATH) {
            path = temp;
            if (path.back() != '\\')
                path += '\\';
            path += "qnshow.txt";
        }
        std::string failure = std::string("error tracing '") + (text ? text : "") + "' (arg='2147483647') to file '" +
                              path + "' in mode '" + mode + "'";
        std::string line = std::string(text ? text : "") + "\n";
        UniqueCFile file(path.empty() ? nullptr : fopen(path.c_str(), mode));
        if (!file) {
            showApplicationMessage(failure.c_str());
            return;
        }
        bool written = fwrite(line.data(), 1, line.size(), file.get()) == line.size();
        if (fclose(file.release()) != 0 || !written)
            showApplicationMessage((failure + "(closing file)").c_str());
    } catch (...) {
        // Out of memory while building the line: the caller shows its own box anyway.
    }
}

void resetTraceStateForTests()
{
    g_traceDirectory.clear();
    g_directoryEstablished = false;
    g_busy = false;
    g_relocationNoticePending = true;
}
