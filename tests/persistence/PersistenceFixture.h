#pragma once
// The registered library's automation object between the kit's recording host
// container and a component of the test's with the persistence interfaces it
// chooses; every box answered and recorded, the trace kept aside.
#include <gtest/gtest.h>

#include "QnShowCOCATIDs11.h"
#include "testkit/FileGuards.h"
#include "testkit/HostContainer.h"
#include "testkit/MessageBoxDriver.h"

namespace persisttest {

enum Kinds : unsigned { kNone = 0, kStorage = 1, kStream = 2, kStreamInit = 4 };

// Save writes data (into the stream, or into a stream "Own" of the storage), Load
// reads it back into loaded; calls lists the calls made, space separated.
class PersistentComponent
    : public testkit::ComDouble<IDispatch, IPersistStorage, IPersistStream, IPersistStreamInit> {
public:
    explicit PersistentComponent(unsigned kinds) : kinds(kinds) {}
    unsigned kinds;
    HRESULT queryFailure = S_OK;  // answered instead for the interfaces it has
    HRESULT result = S_OK;        // what InitNew, Load and Save answer
    std::string loaded, calls;

    IDispatch* handedOver() { return ComPtr<IDispatch>(static_cast<IDispatch*>(this)).detach(); }

    STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDirty() override { return S_OK; }
    STDMETHODIMP InitNew(IStorage*) override { return called("InitNew"); }
    STDMETHODIMP InitNew() override { return called("InitNew"); }
    STDMETHODIMP Load(IStorage* storage) override
    {
        loaded = testkit::contentOf(stream(storage, L"Own", STGM_READ).get());
        return called("Load");
    }
    STDMETHODIMP Load(IStream* stream) override { return loaded = testkit::contentOf(stream), called("Load"); }
    STDMETHODIMP Save(IStorage* storage, BOOL) override
    {
        const HRESULT hr = called("Save");
        return SUCCEEDED(hr) ? write(stream(storage, L"Own", STGM_CREATE | STGM_READWRITE).get()) : hr;
    }
    STDMETHODIMP Save(IStream* stream, BOOL) override
    {
        const HRESULT hr = called("Save");
        return SUCCEEDED(hr) ? write(stream) : hr;
    }
    STDMETHODIMP SaveCompleted(IStorage*) override { return called("SaveCompleted"), S_OK; }
    STDMETHODIMP HandsOffStorage() override { return S_OK; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

    // A stream of storage, opened (or, with STGM_CREATE, made) exclusively; null when it cannot be.
    static ComPtr<IStream> stream(IStorage* storage, const wchar_t* name, DWORD mode)
    {
        ComPtr<IStream> stream;
        if (mode & STGM_CREATE)
            storage->CreateStream(name, mode | STGM_SHARE_EXCLUSIVE, 0, 0, stream.put());
        else
            storage->OpenStream(name, nullptr, mode | STGM_SHARE_EXCLUSIVE, 0, stream.put());
        return stream;
    }
    static HRESULT write(IStream* stream, const std::string& bytes = "component data")
    {
        return stream ? stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr) : E_POINTER;
    }

protected:
    HRESULT refusal(REFIID iid) override
    {
        const unsigned kind = iid == IID_IPersistStorage ? kStorage
                              : iid == IID_IPersistStream ? kStream
                              : iid == IID_IPersistStreamInit ? kStreamInit : kNone;
        return kind == kNone ? S_OK : (kinds & kind) ? queryFailure : E_NOINTERFACE;
    }

private:
    HRESULT called(const char* name) { return calls += calls.empty() ? name : std::string(" ") + name, result; }
};

// What a test makes the object do with the component. Before a recall, the storage
// holds "saved before" in "Own" and (unless streamless) in "CAPEOPEN".
enum class Step { Save, InitNew, Recall, RecallHeldStream, RecallStreamless, RecallStreamlessQuietly };

class Persistence : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_CCAPEGUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICCAPEGUI, gui.putVoid()))
            << "the registered library's automation object";
    }
    void TearDown() override
    {
        gui = nullptr;
        EXPECT_EQ(1u, container->references()) << "the object gave the container back";
        for (const auto& each : components)
            EXPECT_EQ(1u, each->references()) << "the object gave the component back";
        container = nullptr;
        components.clear();
        EXPECT_EQ(0, testkit::liveDoubles()) << "every double, the host's chain objects too, is released";
    }

    // A component of the test's; it outlives the object.
    PersistentComponent& component(unsigned kinds)
    {
        return *components.emplace_back(testkit::makeDouble<PersistentComponent>(kinds)).get();
    }
    // setup (with the container, or none), then setComponent.
    HRESULT host(PersistentComponent& unit, bool withContainer = true)
    {
        EXPECT_EQ(S_OK, gui->setup(0, withContainer ? container->asDispatch() : nullptr, 65536)) << "the host's setup";
        return gui->setComponent(unit.handedOver());
    }
    HRESULT perform(Step step, PersistentComponent& unit)
    {
        IStorage* storage = container->componentStorage();
        const bool recall = step != Step::Save && step != Step::InitNew;
        const bool withStream = step == Step::Recall || step == Step::RecallHeldStream;
        auto fill = [&](const wchar_t* name) {
            return unit.write(unit.stream(storage, name, STGM_CREATE | STGM_READWRITE).get(), "saved before");
        };
        EXPECT_EQ(S_OK, recall ? fill(L"Own") : S_OK) << "the saved element is in place";
        EXPECT_EQ(S_OK, withStream ? fill(L"CAPEOPEN") : S_OK) << "the saved stream is in place";
        ComPtr<IStream> held;
        if (step == Step::RecallHeldStream)
            held = unit.stream(storage, L"CAPEOPEN", STGM_READ);
        EXPECT_EQ(S_OK, host(unit)) << "the component is taken";
        if (step == Step::RecallStreamlessQuietly) {
            EXPECT_EQ(S_OK, gui->put_enableWarnings(VARIANT_FALSE)) << "warnings can be disabled";
        }
        return step == Step::Save ? gui->saveStorage() : gui->loadStorage(recall ? VARIANT_TRUE : VARIANT_FALSE);
    }
    std::vector<std::string> boxTexts() const
    {
        std::vector<std::string> texts;
        for (const ShownBox& box : boxes.boxes())
            texts.push_back(box.text);
        return texts;
    }

    testkit::TraceFileGuard trace;
    MessageBoxDriver boxes;
    ComPtr<testkit::HostContainer> container = testkit::makeDouble<testkit::HostContainer>();
    std::vector<ComPtr<PersistentComponent>> components;
    ComPtr<ICCAPEGUI> gui;
};

}  // namespace persisttest
