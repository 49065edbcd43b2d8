// The host's document road through QnCOGUI11, with the interface's generated header,
// the CAPE-OPEN interfaces and the samples' own parameter interface only.
#include "DocumentDemo.h"

#include <oleauto.h>

#include "CapeOpen.h"
#include "QnShowCOCATIDs11.h"
#include "SampleParameters.h"

namespace {

// One BSTR of the host's, freed when it goes.
class HostText {
public:
    explicit HostText(const std::wstring& text) : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    {
    }
    HostText() = default;
    ~HostText() { SysFreeString(text_); }
    HostText(const HostText&) = delete;
    HostText& operator=(const HostText&) = delete;
    BSTR get() const { return text_; }
    BSTR* put()
    {
        SysFreeString(text_);
        text_ = nullptr;
        return &text_;
    }
    std::wstring text() const { return text_ ? std::wstring(text_, SysStringLen(text_)) : std::wstring(); }

private:
    BSTR text_ = nullptr;
};

// Prints the step and its result; true when it succeeded.
bool step(FILE* log, const char* what, HRESULT hr)
{
    if (log)
        std::fprintf(log, "    %-48s %s (0x%08lX)\n", what, SUCCEEDED(hr) ? "ok" : "FAILED",
                     static_cast<unsigned long>(hr));
    return SUCCEEDED(hr);
}

HRESULT createAutomationObject(HostRef<ICCAPEGUI>& gui)
{
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(L"QnShowCOCATIDs.CCAPEGUI11", &clsid);
    if (FAILED(hr))
        return hr;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui.putVoid());
}

// A new automation object with the component chosen and the container set up.
HRESULT prepare(const DocumentEntry& entry, const HostRecord& choice, DocumentContainer* container,
                HostRef<ICCAPEGUI>& gui, FILE* log)
{
    HRESULT hr = createAutomationObject(gui);
    if (!step(log, "create the QnCOGUI11 automation object", hr))
        return hr;
    hr = gui->setup(0, container->asDispatch(), entry.filter);
    if (!step(log, "setup with the document's container", hr))
        return hr;
    HostText item(choice.progId), parent(choice.parentProgId);
    hr = gui->setProgIds(item.get(), parent.get());
    step(log, "choose it (setProgIds)", hr);
    return hr;
}

HRESULT applyState(IDispatch* component, const ComponentState& state)
{
    HostRef<ICapeIdentification> identification;
    HRESULT hr = component->QueryInterface(IID_ICapeIdentification, identification.putVoid());
    if (FAILED(hr))
        return hr;
    HostText name(state.name), description(state.description);
    hr = identification->put_ComponentName(name.get());
    if (SUCCEEDED(hr))
        hr = identification->put_ComponentDescription(description.get());
    if (FAILED(hr) || state.parameters.empty())
        return hr;
    HostRef<ISampleParameters> parameters;
    hr = component->QueryInterface(__uuidof(ISampleParameters), parameters.putVoid());
    for (const auto& [parameter, value] : state.parameters) {
        if (FAILED(hr))
            break;
        HostText parameterName(parameter);
        hr = parameters->SetParameter(parameterName.get(), value);
    }
    return hr;
}

// The component's identification and the values of the parameters state names.
HRESULT readState(IDispatch* component, ComponentState& state)
{
    HostRef<ICapeIdentification> identification;
    HRESULT hr = component->QueryInterface(IID_ICapeIdentification, identification.putVoid());
    if (FAILED(hr))
        return hr;
    HostText name, description;
    hr = identification->get_ComponentName(name.put());
    if (SUCCEEDED(hr))
        hr = identification->get_ComponentDescription(description.put());
    state.name = name.text();
    state.description = description.text();
    if (FAILED(hr) || state.parameters.empty())
        return hr;
    HostRef<ISampleParameters> parameters;
    hr = component->QueryInterface(__uuidof(ISampleParameters), parameters.putVoid());
    for (auto& [parameter, value] : state.parameters) {
        if (FAILED(hr))
            break;
        HostText parameterName(parameter);
        hr = parameters->GetParameter(parameterName.get(), &value);
    }
    return hr;
}

std::vector<unsigned char> bytesOf(IStream* stream)
{
    std::vector<unsigned char> bytes;
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > (1u << 26))
        return bytes;
    bytes.resize(static_cast<size_t>(stat.cbSize.QuadPart));
    ULONG read = 0;
    if (!bytes.empty() && FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)))
        read = 0;
    bytes.resize(read);
    return bytes;
}

// Both storages hold the same class and the same elements with the same bytes.
bool sameContents(IStorage* a, IStorage* b)
{
    STATSTG statA{}, statB{};
    if (FAILED(a->Stat(&statA, STATFLAG_NONAME)) || FAILED(b->Stat(&statB, STATFLAG_NONAME)) ||
        statA.clsid != statB.clsid)
        return false;
    auto count = [](IStorage* storage) {
        HostRef<IEnumSTATSTG> elements;
        int n = 0;
        STATSTG each{};
        if (SUCCEEDED(storage->EnumElements(0, nullptr, 0, elements.put())))
            while (elements->Next(1, &each, nullptr) == S_OK) {
                CoTaskMemFree(each.pwcsName);
                ++n;
            }
        return n;
    };
    HostRef<IEnumSTATSTG> elements;
    if (FAILED(a->EnumElements(0, nullptr, 0, elements.put())))
        return false;
    STATSTG element{};
    bool same = count(a) == count(b);
    while (same && elements->Next(1, &element, nullptr) == S_OK) {
        const std::wstring name = element.pwcsName ? element.pwcsName : L"";
        CoTaskMemFree(element.pwcsName);
        const DWORD mode = STGM_READ | STGM_SHARE_EXCLUSIVE;
        if (element.type == STGTY_STREAM) {
            HostRef<IStream> streamA, streamB;
            same = SUCCEEDED(a->OpenStream(name.c_str(), nullptr, mode, 0, streamA.put())) &&
                   SUCCEEDED(b->OpenStream(name.c_str(), nullptr, mode, 0, streamB.put())) &&
                   bytesOf(streamA.get()) == bytesOf(streamB.get());
        } else if (element.type == STGTY_STORAGE) {
            HostRef<IStorage> storageA, storageB;
            same = SUCCEEDED(a->OpenStorage(name.c_str(), nullptr, mode, nullptr, 0, storageA.put())) &&
                   SUCCEEDED(b->OpenStorage(name.c_str(), nullptr, mode, nullptr, 0, storageB.put())) &&
                   sameContents(storageA.get(), storageB.get());
        }
    }
    return same;
}

HRESULT memoryDocument(HostRef<IStorage>& root)
{
    HostRef<ILockBytes> bytes;
    HRESULT hr = CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put());
    if (FAILED(hr))
        return hr;
    return StgCreateDocfileOnILockBytes(bytes.get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                        root.put());
}

// The element of both documents compared, once nothing holds it open any more.
HRESULT compareElements(IStorage* rootA, IStorage* rootB, const std::wstring& element, bool& same)
{
    const DWORD mode = STGM_READ | STGM_SHARE_EXCLUSIVE;
    HostRef<IStorage> a, b;
    HRESULT hr = rootA->OpenStorage(element.c_str(), nullptr, mode, nullptr, 0, a.put());
    if (SUCCEEDED(hr))
        hr = rootB->OpenStorage(element.c_str(), nullptr, mode, nullptr, 0, b.put());
    same = SUCCEEDED(hr) && sameContents(a.get(), b.get());
    return hr;
}

std::string narrow(const std::wstring& text)
{
    if (text.empty())
        return {};
    std::string result(text.size() * 4, '\0');
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                                         static_cast<int>(result.size()), nullptr, nullptr);
    result.resize(size > 0 ? static_cast<size_t>(size) : 0);
    return result;
}

void printState(const char* label, const ComponentState& state)
{
    std::printf("    %s: name \"%s\", description \"%s\"", label, narrow(state.name).c_str(),
                narrow(state.description).c_str());
    for (const auto& [parameter, value] : state.parameters)
        std::printf(", %s %.6g", narrow(parameter).c_str(), value);
    std::printf("\n");
}

struct DemoComponent {
    DocumentEntry entry;
    ComponentState state;
};

const std::vector<DemoComponent>& demoComponents()
{
    static const std::vector<DemoComponent> components = {
        {{L"Mixer", {L"Tarnwick.Mixer", L""}, 32},
         {L"Mixer M-101",
          L"Blends the two feeds ahead of the column",
          {{L"pressureDrop", 12500.0}, {L"heatLoss", -350.5}}}},
        {{L"Heater", {L"Tarnwick.Heater", L""}, 32},
         {L"Heater E-102", L"Preheats the blended feed", {{L"outletTemperature", 412.65}, {L"pressureDrop", 8000.0}}}},
        {{L"Gas package", {L"Natural Gas", L"Oskvale.PackageManager"}, 512 | 1024},
         {L"Natural Gas (plant)", L"Thermodynamics of the feed gas", {}}},
    };
    return components;
}

}  // namespace

HRESULT saveNewComponent(IStorage* root, const DocumentEntry& entry, const ComponentState& state, FILE* log)
{
    // Declared so that they go in this order: the host's references, the automation
    // object (which releases the component and its container), the container.
    HostRef<DocumentContainer> container;
    container.reset(DocumentContainer::create(root, entry.element));
    HostRef<ICCAPEGUI> gui;
    HostRef<IDispatch> component, parent;

    HRESULT hr = prepare(entry, entry.choice, container.get(), gui, log);
    if (FAILED(hr))
        return hr;
    hr = gui->createComp(component.put(), parent.put());
    if (!step(log, "create the component (createComp)", hr))
        return hr;
    hr = gui->loadStorage(VARIANT_FALSE);
    if (!step(log, "initialise it as new (loadStorage false)", hr))
        return hr;
    hr = applyState(component.get(), state);
    if (!step(log, "give it its state", hr))
        return hr;
    hr = gui->saveStorage();
    if (!step(log, "save it into the document (saveStorage)", hr))
        return hr;
    hr = writeHostRecord(root, entry.element, entry.choice);
    if (!step(log, "record the choice in the document", hr))
        return hr;
    component.reset();
    parent.reset();
    hr = gui->releaseComponents();
    step(log, "release it (releaseComponents)", hr);
    return hr;
}

HRESULT recallComponent(IStorage* root, const DocumentEntry& entry, ComponentState& recalled, bool* resaved, FILE* log)
{
    HostRecord choice;
    HRESULT hr = readHostRecord(root, entry.element, choice);
    if (!step(log, "read which component the document holds", hr))
        return hr;

    HostRef<IStorage> copy;  // outlives everything that holds its element
    HostRef<DocumentContainer> container, copyContainer;
    container.reset(DocumentContainer::create(root, entry.element));
    HostRef<ICCAPEGUI> gui;
    HostRef<IDispatch> component, parent;

    hr = prepare(entry, choice, container.get(), gui, log);
    if (FAILED(hr))
        return hr;
    hr = gui->createComp(component.put(), parent.put());
    if (!step(log, "create the component (createComp)", hr))
        return hr;
    hr = gui->loadStorage(VARIANT_TRUE);
    if (!step(log, "recall it from the document (loadStorage true)", hr))
        return hr;
    hr = readState(component.get(), recalled);
    if (!step(log, "read its state", hr))
        return hr;
    if (resaved) {
        hr = memoryDocument(copy);
        if (SUCCEEDED(hr)) {
            copyContainer.reset(DocumentContainer::create(copy.get(), entry.element));
            hr = gui->setup(0, copyContainer->asDispatch(), entry.filter);
        }
        if (SUCCEEDED(hr))
            hr = gui->saveStorage();
        if (!step(log, "save it again, into memory", hr))
            return hr;
    }
    component.reset();
    parent.reset();
    hr = gui->releaseComponents();
    step(log, "release it (releaseComponents)", hr);
    gui.reset();
    container.reset();
    copyContainer.reset();
    if (resaved && SUCCEEDED(hr))
        hr = compareElements(root, copy.get(), entry.element, *resaved);
    return hr;
}

int runDocumentSave(const std::wstring& path)
{
    std::printf("== Saving a document: %s\n", narrow(path).c_str());
    HostRef<IStorage> root;
    HRESULT hr = createDocument(path, root);
    if (!step(stdout, "create the compound file", hr))
        return 1;
    int result = 0;
    for (const DemoComponent& demo : demoComponents()) {
        std::printf("  %s (%s%s%s)\n", narrow(demo.entry.element).c_str(), narrow(demo.entry.choice.progId).c_str(),
                    demo.entry.choice.parentProgId.empty() ? "" : " from ",
                    narrow(demo.entry.choice.parentProgId).c_str());
        printState("state given", demo.state);
        if (FAILED(saveNewComponent(root.get(), demo.entry, demo.state, stdout)))
            result = 1;
    }
    hr = root->Commit(STGC_DEFAULT);
    if (!step(stdout, "commit the document", hr))
        result = 1;
    return result;
}

int runDocumentRecall(const std::wstring& path)
{
    std::printf("== Reopening the document in a new process: %s\n", narrow(path).c_str());
    HostRef<IStorage> root;
    HRESULT hr = openDocument(path, root);
    if (!step(stdout, "open the compound file", hr))
        return 1;
    int result = 0;
    for (const DemoComponent& demo : demoComponents()) {
        std::printf("  %s\n", narrow(demo.entry.element).c_str());
        ComponentState recalled;
        for (const auto& parameter : demo.state.parameters)
            recalled.parameters.emplace_back(parameter.first, 0.0);
        bool sameBytes = false;
        if (FAILED(recallComponent(root.get(), demo.entry, recalled, &sameBytes, stdout))) {
            result = 1;
            continue;
        }
        printState("state recalled", recalled);
        const bool sameState = recalled == demo.state;
        std::printf("    the state is %s\n", sameState ? "the one saved" : "NOT the one saved");
        std::printf("    saving it again gives %s\n", sameBytes ? "the same bytes" : "OTHER bytes");
        if (!sameState || !sameBytes)
            result = 1;
    }
    // The document is left as it was: nothing is committed.
    return result;
}
