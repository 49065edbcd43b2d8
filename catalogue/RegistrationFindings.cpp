#include "catalogue/RegistrationFindings.h"

#include <oleauto.h>

#include <algorithm>
#include <cstdio>

#include "catalogue/ClassesRootView.h"
#include "support/AnsiText.h"
#include "support/ComPtr.h"
#include "support/ForeignCall.h"
#include "support/HResultNames.h"
#include "support/UniqueBstr.h"

namespace {

// One line, without the final full stop: the finding goes on after it.
std::string asClause(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    while (!text.empty() && (text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}

}  // namespace

void Findings::unreadable(const std::string& what, LONG status)
{
    std::string reason = systemTextLine(static_cast<DWORD>(status));
    error("cannot read " + what + ": " + (reason.empty() ? "failure" : reason) + " (error " + std::to_string(status) +
          "); check the key's permissions, or reinstall the component");
}

bool Findings::hasErrors() const
{
    return std::any_of(all_.begin(), all_.end(), [](const Finding& finding) { return finding.isError; });
}

std::string failureText(HRESULT code)
{
    std::string text;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        UniqueBstr description;
        if (SUCCEEDED(callForeign(
                "GetDescription", [&](BSTR* slot) { return info->GetDescription(slot); }, description)))
            text = asClause(toAnsi(description.text()));
    }
    if (text.empty())
        text = systemTextLine(static_cast<DWORD>(code));
    const auto names = hresultNames();
    const auto named = std::find_if(names.begin(), names.end(),
                                    [&](const HResultName& name) { return name.code == static_cast<uint32_t>(code); });
    const std::string name = named == names.end() ? std::string() : named->name;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
    if (text.empty())
        return (name.empty() ? "failure" : name) + " (" + hex + ")";
    return text + " (" + (name.empty() ? "" : name + ", ") + hex + ")";
}
