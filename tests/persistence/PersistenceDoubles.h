#pragma once
// The other side of persistence, as real COM objects: a host container that records
// the calls made on it (by their position in its table of methods) and hands out a
// real storage, and a component with the persistence interfaces a test chooses.
#include <windows.h>
#include <objidl.h>
#include <oaidl.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "HostContainer.h"
#include "support/ComPtr.h"

namespace persisttest {

// What storageRequest puts into the VARIANT.
enum class Answer { Storage, Empty, NullObject, NotAStorage, Integer };

// Host container over an in-memory compound document. The component's storage is the
// element "Component" of the document, opened transacted: what is written into it
// reaches the document only when the storage is committed.
class RecordingContainer : public IDispatch, public ExtnUnitOperationContainer {
public:
    RecordingContainer();
    ~RecordingContainer();

    ULONG references = 1;  // the test's own
    // Positions called, in order: 20 (storageRequest), 11, 33, 21, 12.
    std::vector<int> calls;
    std::vector<long> requests;
    std::vector<long> arguments;  // the integers passed at positions 21 and 12
    std::vector<std::wstring> messages;
    Answer answer = Answer::Storage;
    HRESULT requestResult = S_OK;
    HRESULT touchResult = S_OK;  // what position 21 answers

    IDispatch* asDispatch() { return static_cast<IDispatch*>(this); }
    IStorage* document() const { return document_.get(); }
    // The component's storage as handed out (made at the first request).
    IStorage* componentStorage();
    // Lets go of the component's storage: its committed state is then what the
    // document holds.
    void dropComponentStorage() { storage_ = nullptr; }
    // The bytes of a stream of the committed component storage (empty when missing).
    std::string committedStream(const wchar_t* name);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
#define RECORDING_RESERVED(n) \
    HRESULT STDMETHODCALLTYPE reserved##n() override { return E_NOTIMPL; }
    RECORDING_RESERVED(3) RECORDING_RESERVED(4) RECORDING_RESERVED(5) RECORDING_RESERVED(6)
    RECORDING_RESERVED(7) RECORDING_RESERVED(8) RECORDING_RESERVED(9) RECORDING_RESERVED(10)
    RECORDING_RESERVED(13) RECORDING_RESERVED(14) RECORDING_RESERVED(15) RECORDING_RESERVED(16)
    RECORDING_RESERVED(17) RECORDING_RESERVED(18) RECORDING_RESERVED(19)
#undef RECORDING_RESERVED
    HRESULT STDMETHODCALLTYPE getMessageChainHead(ExtnMessageChainHead** head) override;
    HRESULT STDMETHODCALLTYPE handOverMessage(BSTR message, LONG zero) override;
    HRESULT STDMETHODCALLTYPE storageRequest(LONG request, VARIANT* storage) override;

private:
    ComPtr<IStorage> document_;
    ComPtr<IStorage> storage_;
};

// Which persistence interfaces the component has.
enum Kinds : unsigned { kStorage = 1, kStream = 2, kStreamInit = 4 };

// A component (IDispatch) with the persistence interfaces of kinds. Save writes data
// (into the stream, or into a stream "Own" of the storage); Load reads it back into
// loaded. Each call is counted; results[...] replace the calls' success.
class PersistentDouble : public IDispatch, public IPersistStorage, public IPersistStreamInit {
public:
    explicit PersistentDouble(unsigned kinds) : kinds(kinds) {}

    ULONG references = 1;  // the test's own
    unsigned kinds;
    HRESULT queryFailure = S_OK;  // answered instead for the interfaces it has
    std::string data = "component data";
    std::string loaded;
    int initNewCalls = 0, loadCalls = 0, saveCalls = 0, saveCompletedCalls = 0;
    HRESULT initNewResult = S_OK, loadResult = S_OK, saveResult = S_OK;

    IDispatch* asDispatch() { return static_cast<IDispatch*>(this); }
    // One reference for a receiver that takes one over (setComponent).
    IDispatch* handedOver()
    {
        AddRef();
        return asDispatch();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_OK; }
    // IPersistStorage
    HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL sameAsLoad) override;
    HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage*) override;
    HRESULT STDMETHODCALLTYPE HandsOffStorage() override { return S_OK; }
    // IPersistStreamInit (and, through the same table, IPersistStream)
    HRESULT STDMETHODCALLTYPE Load(IStream* stream) override;
    HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;
};

// The bytes of a stream.
std::string contentOf(IStream* stream);

}  // namespace persisttest
