#include "support/ErrorReport.h"

#include <cstdio>
#include <memory>
#include <string_view>

#include "support/AnsiText.h"
#include "support/ComPtr.h"
#include "support/ForeignCall.h"
#include "support/MTUtils.h"
#include "support/Trace.h"
#include "support/UniqueBstr.h"

namespace {

// The description-and-source piece of the thread's error object is bounded on its own.
constexpr size_t kMaxErrorObjectPiece = 1999;

// Language of the system text appended to composed messages: the user's default.
constexpr DWORD kUserDefaultLanguage = 0x0400;
// showHResultMessage always shows the English (United States) text.
constexpr DWORD kEnglishUsLanguage = 0x0409;

constexpr const char* kTooLongMessage = "A generated message is too long. Contact support.";

// Set while the too-long report is composed and shown: a message box pumps messages,
// and a second too-long message composed meanwhile is cut without a second report.
bool g_reportingTooLong = false;

struct LocalFreeDeleter {
    void operator()(char* p) const { LocalFree(p); }
};

// The system's message text for code in the given language, empty when it has none.
// Inserts are never expanded: a text like "%1 is not valid" is taken as it stands.
std::string systemMessageText(DWORD code, DWORD language)
{
    char* raw = nullptr;
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, language, reinterpret_cast<char*>(&raw), 0, nullptr);
    std::unique_ptr<char, LocalFreeDeleter> owned(raw);
    if (length == 0 || !raw)
        return {};
    return std::string(raw, length);
}

void cutToMessageLimit(std::string& text)
{
    if (text.size() > kMaxMessageLength)
        text.resize(kMaxMessageLength);
}

// Appends what still fits below the message limit.
void appendBounded(std::string& message, std::string_view piece)
{
    size_t room = message.size() < kMaxMessageLength ? kMaxMessageLength - message.size() : 0;
    message.append(piece.substr(0, room));
}

// Fetches (and thereby clears) the thread's error object; empty piece when there is
// none or its description is empty.
std::string takeErrorObjectPiece()
{
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK || !info)
        return {};
    UniqueBstr description, source;
    if (callForeign(
            "GetDescription", [&](BSTR* slot) { return info->GetDescription(slot); }, description) ==
            kCallRaisedException ||
        callForeign(
            "GetSource", [&](BSTR* slot) { return info->GetSource(slot); }, source) == kCallRaisedException)
        return takeErrorObjectPiece();  // the crash's own error object, which is the library's
    if (description.length() == 0)
        return {};
    std::string piece = "\n(" + toAnsi(description.text()) + ": " + toAnsi(source.text()) + ")";
    if (piece.size() > kMaxErrorObjectPiece)
        piece.resize(kMaxErrorObjectPiece);
    return piece;
}

void reportTooLongMessage()
{
    if (g_reportingTooLong)
        return;
    struct Guard {
        Guard() { g_reportingTooLong = true; }
        ~Guard() { g_reportingTooLong = false; }
    } guard;
    reportError(E_FAIL, kTooLongMessage, nullptr, nullptr, true);
}

// The trace entry of a report: the message and a line feed of its own, so that
// entries are separated by an empty line.
void traceMessage(const std::string& message)
{
    try {
        writeTrace((message + "\n").c_str());
    } catch (...) {
        // Out of memory for the copy: the box still tells the user.
    }
}

std::string composeOrThrow(HRESULT code, const char* text, const char* context)
{
    // First, so that the error object belongs to this failure and not to anything
    // done while composing (the too-long report composes a message of its own).
    std::string errorObjectPiece = takeErrorObjectPiece();

    std::string message = context ? std::string(context) + ": " : std::string();
    if (code < 0)
        message += " ERROR: ";
    message += text ? text : "??";
    if (message.size() > kMaxMessageLength) {
        reportTooLongMessage();
        message.resize(kMaxMessageLength);
    }

    appendBounded(message, errorObjectPiece);

    // E_FAIL says nothing beyond the caller's text: no system text, no code.
    if (code < 0 && code != E_FAIL) {
        std::string systemText = systemMessageText(static_cast<DWORD>(code), kUserDefaultLanguage);
        if (!systemText.empty()) {
            appendBounded(message, "\n");
            appendBounded(message, systemText);
        }
        char hex[16];
        snprintf(hex, sizeof hex, "(0x%lX)", static_cast<unsigned long>(code));
        appendBounded(message, hex);
    }
    return message;
}

}  // namespace

HRESULT normaliseErrorCode(HRESULT code) { return code >= 2 && code <= 999 ? E_FAIL : code; }

std::string composeErrorMessage(HRESULT code, const char* text, const char* context)
{
    try {
        return composeOrThrow(code, text, context);
    } catch (...) {
        // The report must still say something: the caller's text alone.
        try {
            std::string plain = text ? text : "??";
            cutToMessageLimit(plain);
            return plain;
        } catch (...) {
            return {};
        }
    }
}

HRESULT reportError(HRESULT code, const char* text, const char* context, HWND owner, bool traceIt)
{
    code = normaliseErrorCode(code);
    std::string message = composeErrorMessage(code, text, context);
    if (traceIt)
        traceMessage(message);
    showMessage(message.c_str(), kReportCaption, MB_OK, owner);
    return code;
}

HRESULT reportError(const char* text, const char* context, HWND owner, bool traceIt)
{
    return reportError(E_FAIL, text, context, owner, traceIt);
}

HRESULT reportUnexpected(HRESULT code) { return reportError(code, kUnexpectedErrorText, nullptr, nullptr, true); }

HRESULT traceError(HRESULT code, const char* text, const char* context)
{
    code = normaliseErrorCode(code);
    traceMessage(composeErrorMessage(code, text, context));
    return code;
}

int showApplicationMessage(const char* text)
{
    const std::string caption = MTUtils::applicationTitle();
    HWND owner = boxOwner(nullptr);
    UINT style = MB_OK | MB_ICONEXCLAMATION | (owner ? 0 : MB_SYSTEMMODAL);
    return MessageBoxA(owner, text ? text : "", caption.c_str(), style);
}

void showHResultMessage(const char* text, HRESULT code)
{
    std::string shown = text ? text : "";
    std::string systemText = systemMessageText(static_cast<DWORD>(code), kEnglishUsLanguage);
    if (!systemText.empty())
        shown += "\n" + systemText + " " + describeHResult(code);
    else
        shown += "\n<No system message defined> " + describeHResult(code);
    showApplicationMessage(shown.c_str());
}

std::string lastErrorText()
{
    std::string text = systemMessageText(GetLastError(), 0);
    cutToMessageLimit(text);
    return text;
}

HRESULT checkWin32Result(uintptr_t& out, uintptr_t value, const char* message, bool expectNonZero)
{
    out = value;
    bool failed = expectNonZero ? value == 0 : value != 0;
    if (!failed)
        return S_OK;
    // The last error first: anything done before reading it may overwrite it.
    std::string reason = lastErrorText();
    std::string shown = std::string(message ? message : "") + ": " + reason;
    showMessage(shown.c_str(), MTUtils::moduleName().c_str(), MB_OK, nullptr);
    return E_FAIL;
}
