// What a host sees of a fresh QnCOGUI11 automation object, through COM and the
// interface's generated header only.
#include "ServerDemo.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

#include "QnShowCOCATIDs11.h"

#include "HostRef.h"

namespace {

// One BSTR received from the object, freed when it goes.
class ReceivedText {
public:
    ReceivedText() = default;
    ~ReceivedText() { SysFreeString(text_); }
    ReceivedText(const ReceivedText&) = delete;
    ReceivedText& operator=(const ReceivedText&) = delete;
    BSTR* put() { return &text_; }
    // (null) for a null BSTR, else the text in quotes.
    std::string shown() const
    {
        if (!text_)
            return "(null)";
        const int length = static_cast<int>(SysStringLen(text_));
        std::string narrow(static_cast<size_t>(length) * 4, '\0');
        const int size = WideCharToMultiByte(CP_UTF8, 0, text_, length, narrow.data(), static_cast<int>(narrow.size()),
                                             nullptr, nullptr);
        narrow.resize(size > 0 ? static_cast<size_t>(size) : 0);
        return "\"" + narrow + "\"";
    }

private:
    BSTR text_ = nullptr;
};

void show(const char* member, HRESULT hr, const std::string& value)
{
    if (SUCCEEDED(hr))
        std::printf("  %-22s %s\n", member, value.c_str());
    else
        std::printf("  %-22s failed (0x%08lX)\n", member, static_cast<unsigned long>(hr));
}

// Calls a member that answers one text, then shows the answer.
template <class Member>
void showText(const char* name, Member&& call)
{
    ReceivedText text;
    HRESULT hr = call(text.put());
    show(name, hr, text.shown());
}

void printDefaults(ICCAPEGUI* gui)
{
    showText("GetItemProgID", [&](BSTR* out) { return gui->GetItemProgID(out); });
    showText("GetParentProgID", [&](BSTR* out) { return gui->GetParentProgID(out); });
    showText("GetItemAlias", [&](BSTR* out) { return gui->GetItemAlias(out); });
    showText("GetParentAlias", [&](BSTR* out) { return gui->GetParentAlias(out); });
    showText("GetCATID", [&](BSTR* out) { return gui->GetCATID(out); });
    LONG version = -1;
    HRESULT hr = gui->get_compCOversion(&version);
    show("compCOversion", hr, std::to_string(version));
    showText("serverName", [&](BSTR* out) { return gui->get_serverName(out); });
    ReceivedText info[5];
    hr = gui->GetItemInfo(info[0].put(), info[1].put(), info[2].put(), info[3].put(), info[4].put());
    std::string texts;
    for (const auto& each : info)
        texts += (texts.empty() ? "" : " ") + each.shown();
    show("GetItemInfo", hr, texts);
    showText("getFullCOPPClassName", [&](BSTR* out) { return gui->getFullCOPPClassName(out); });
}

}  // namespace

int runServerDemo()
{
    const wchar_t* progId = L"QnShowCOCATIDs.CCAPEGUI11";
    std::printf("== The automation object, created by its ProgID QnShowCOCATIDs.CCAPEGUI11\n");
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr)) {
        std::printf("  the ProgID is not registered (0x%08lX)\n", static_cast<unsigned long>(hr));
        return 1;
    }
    wchar_t clsidText[40] = {};
    StringFromGUID2(clsid, clsidText, 40);
    std::printf("  %-22s %ls\n", "CLSID", clsidText);

    HostRef<ICCAPEGUI> gui;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui.putVoid());
    if (FAILED(hr)) {
        std::printf("  the object cannot be created (0x%08lX)\n", static_cast<unsigned long>(hr));
        return 1;
    }
    std::printf("  A fresh object answers:\n");
    printDefaults(gui.get());
    return 0;
}
