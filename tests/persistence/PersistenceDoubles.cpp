#include "PersistenceDoubles.h"

#include <oleauto.h>

namespace persisttest {
namespace {

constexpr DWORD kOpen = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

// Objects A and B of the call chain: A's position 33 gives B, B's position 21 is
// recorded with its argument.
#define CHAIN_RESERVED(n) \
    HRESULT STDMETHODCALLTYPE reserved##n() override { return E_NOTIMPL; }

template <class Interface>
class ChainObject : public Interface {
public:
    explicit ChainObject(RecordingContainer& container) : container_(container) {}
    virtual ~ChainObject() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    RecordingContainer& container_;

private:
    ULONG references_ = 1;
};

class Tail : public ChainObject<ExtnMessageChainTail> {
public:
    using ChainObject::ChainObject;
    CHAIN_RESERVED(3) CHAIN_RESERVED(4) CHAIN_RESERVED(5) CHAIN_RESERVED(6) CHAIN_RESERVED(7) CHAIN_RESERVED(8)
    CHAIN_RESERVED(9) CHAIN_RESERVED(10) CHAIN_RESERVED(11) CHAIN_RESERVED(12) CHAIN_RESERVED(13)
    CHAIN_RESERVED(14) CHAIN_RESERVED(15) CHAIN_RESERVED(16) CHAIN_RESERVED(17) CHAIN_RESERVED(18)
    CHAIN_RESERVED(19) CHAIN_RESERVED(20)
    HRESULT STDMETHODCALLTYPE touch(LONG zero) override
    {
        container_.calls.push_back(21);
        container_.arguments.push_back(zero);
        return container_.touchResult;
    }
};

class Head : public ChainObject<ExtnMessageChainHead> {
public:
    using ChainObject::ChainObject;
    CHAIN_RESERVED(3) CHAIN_RESERVED(4) CHAIN_RESERVED(5) CHAIN_RESERVED(6) CHAIN_RESERVED(7) CHAIN_RESERVED(8)
    CHAIN_RESERVED(9) CHAIN_RESERVED(10) CHAIN_RESERVED(11) CHAIN_RESERVED(12) CHAIN_RESERVED(13)
    CHAIN_RESERVED(14) CHAIN_RESERVED(15) CHAIN_RESERVED(16) CHAIN_RESERVED(17) CHAIN_RESERVED(18)
    CHAIN_RESERVED(19) CHAIN_RESERVED(20) CHAIN_RESERVED(21) CHAIN_RESERVED(22) CHAIN_RESERVED(23)
    CHAIN_RESERVED(24) CHAIN_RESERVED(25) CHAIN_RESERVED(26) CHAIN_RESERVED(27) CHAIN_RESERVED(28)
    CHAIN_RESERVED(29) CHAIN_RESERVED(30) CHAIN_RESERVED(31) CHAIN_RESERVED(32)
    HRESULT STDMETHODCALLTYPE getTail(ExtnMessageChainTail** tail) override
    {
        container_.calls.push_back(33);
        *tail = new Tail(container_);
        return S_OK;
    }
};

#undef CHAIN_RESERVED

HRESULT writeText(IStream* stream, const std::string& text)
{
    ULONG written = 0;
    HRESULT hr = stream->Write(text.data(), static_cast<ULONG>(text.size()), &written);
    return SUCCEEDED(hr) && written != text.size() ? STG_E_WRITEFAULT : hr;
}

}  // namespace

std::string contentOf(IStream* stream)
{
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    bytes.resize(read);
    return bytes;
}

RecordingContainer::RecordingContainer()
{
    ComPtr<ILockBytes> bytes;
    CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put());
    StgCreateDocfileOnILockBytes(bytes.get(), STGM_CREATE | kOpen, 0, document_.put());
}

RecordingContainer::~RecordingContainer() = default;

IStorage* RecordingContainer::componentStorage()
{
    if (!storage_ && document_) {
        if (FAILED(document_->OpenStorage(L"Component", nullptr, kOpen | STGM_TRANSACTED, nullptr, 0, storage_.put())))
            document_->CreateStorage(L"Component", kOpen | STGM_TRANSACTED, 0, 0, storage_.put());
    }
    return storage_.get();
}

std::string RecordingContainer::committedStream(const wchar_t* name)
{
    dropComponentStorage();
    ComPtr<IStorage> committed;
    ComPtr<IStream> stream;
    if (FAILED(document_->OpenStorage(L"Component", nullptr, kOpen, nullptr, 0, committed.put())) ||
        FAILED(committed->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put())))
        return {};
    return contentOf(stream.get());
}

HRESULT STDMETHODCALLTYPE RecordingContainer::QueryInterface(REFIID iid, void** out)
{
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch)
        *out = static_cast<IDispatch*>(this);
    else if (iid == IID_ExtnContainer || iid == IID_ExtnUnitOperationContainer)
        *out = static_cast<ExtnUnitOperationContainer*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingContainer::GetTypeInfoCount(UINT* count)
{
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingContainer::getMessageChainHead(ExtnMessageChainHead** head)
{
    calls.push_back(11);
    *head = new Head(*this);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingContainer::handOverMessage(BSTR message, LONG zero)
{
    calls.push_back(12);
    arguments.push_back(zero);
    messages.emplace_back(message ? message : L"");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingContainer::storageRequest(LONG request, VARIANT* storage)
{
    calls.push_back(20);
    requests.push_back(request);
    VariantInit(storage);
    if (FAILED(requestResult))
        return requestResult;
    switch (answer) {
    case Answer::Storage:
        V_VT(storage) = VT_UNKNOWN;
        V_UNKNOWN(storage) = componentStorage();
        V_UNKNOWN(storage)->AddRef();
        break;
    case Answer::NullObject:
        V_VT(storage) = VT_UNKNOWN;
        V_UNKNOWN(storage) = nullptr;
        break;
    case Answer::NotAStorage:
        V_VT(storage) = VT_DISPATCH;
        V_DISPATCH(storage) = asDispatch();
        AddRef();
        break;
    case Answer::Integer:
        V_VT(storage) = VT_I4;
        V_I4(storage) = 0x1234;
        break;
    case Answer::Empty:
        break;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PersistentDouble::QueryInterface(REFIID iid, void** out)
{
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *out = asDispatch();
    } else if ((iid == IID_IPersistStorage && (kinds & kStorage)) ||
               (iid == IID_IPersistStreamInit && (kinds & kStreamInit)) ||
               (iid == IID_IPersistStream && (kinds & (kStream | kStreamInit)))) {
        if (FAILED(queryFailure))
            return queryFailure;
        *out = iid == IID_IPersistStorage ? static_cast<void*>(static_cast<IPersistStorage*>(this))
                                          : static_cast<void*>(static_cast<IPersistStreamInit*>(this));
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PersistentDouble::GetTypeInfoCount(UINT* count)
{
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PersistentDouble::GetClassID(CLSID* clsid)
{
    *clsid = CLSID_NULL;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PersistentDouble::InitNew(IStorage*)
{
    ++initNewCalls;
    return initNewResult;
}

HRESULT STDMETHODCALLTYPE PersistentDouble::Load(IStorage* storage)
{
    ++loadCalls;
    ComPtr<IStream> stream;
    if (SUCCEEDED(storage->OpenStream(L"Own", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put())))
        loaded = contentOf(stream.get());
    return loadResult;
}

HRESULT STDMETHODCALLTYPE PersistentDouble::Save(IStorage* storage, BOOL)
{
    ++saveCalls;
    if (FAILED(saveResult))
        return saveResult;
    ComPtr<IStream> stream;
    HRESULT hr = storage->CreateStream(L"Own", STGM_CREATE | kOpen, 0, 0, stream.put());
    return SUCCEEDED(hr) ? writeText(stream.get(), data) : hr;
}

HRESULT STDMETHODCALLTYPE PersistentDouble::SaveCompleted(IStorage*)
{
    ++saveCompletedCalls;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PersistentDouble::Load(IStream* stream)
{
    ++loadCalls;
    loaded = contentOf(stream);
    return loadResult;
}

HRESULT STDMETHODCALLTYPE PersistentDouble::Save(IStream* stream, BOOL)
{
    ++saveCalls;
    return FAILED(saveResult) ? saveResult : writeText(stream, data);
}

HRESULT STDMETHODCALLTYPE PersistentDouble::GetSizeMax(ULARGE_INTEGER* size)
{
    size->QuadPart = data.size();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PersistentDouble::InitNew()
{
    ++initNewCalls;
    return initNewResult;
}

}  // namespace persisttest
