#include "testkit/HostContainer.h"

#include <oleauto.h>

namespace testkit {
namespace {

constexpr DWORD kOpen = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

#define TESTKIT_RESERVED(n) \
    STDMETHODIMP reserved##n() override { return E_NOTIMPL; }

// Object B of the chain that precedes a hand-over: position 21 is recorded.
class ChainTail : public ComDouble<ExtnMessageChainTail> {
public:
    explicit ChainTail(HostContainer& container) : container_(container) {}
    TESTKIT_RESERVED(3) TESTKIT_RESERVED(4) TESTKIT_RESERVED(5) TESTKIT_RESERVED(6) TESTKIT_RESERVED(7)
    TESTKIT_RESERVED(8) TESTKIT_RESERVED(9) TESTKIT_RESERVED(10) TESTKIT_RESERVED(11) TESTKIT_RESERVED(12)
    TESTKIT_RESERVED(13) TESTKIT_RESERVED(14) TESTKIT_RESERVED(15) TESTKIT_RESERVED(16) TESTKIT_RESERVED(17)
    TESTKIT_RESERVED(18) TESTKIT_RESERVED(19) TESTKIT_RESERVED(20)
    STDMETHODIMP touch(LONG zero) override
    {
        container_.calls.push_back(21);
        container_.zeros.push_back(zero);
        return container_.touchResult;
    }

private:
    HostContainer& container_;
};

// Object A: position 33 hands out object B.
class ChainHead : public ComDouble<ExtnMessageChainHead> {
public:
    explicit ChainHead(HostContainer& container) : container_(container) {}
    TESTKIT_RESERVED(3) TESTKIT_RESERVED(4) TESTKIT_RESERVED(5) TESTKIT_RESERVED(6) TESTKIT_RESERVED(7)
    TESTKIT_RESERVED(8) TESTKIT_RESERVED(9) TESTKIT_RESERVED(10) TESTKIT_RESERVED(11) TESTKIT_RESERVED(12)
    TESTKIT_RESERVED(13) TESTKIT_RESERVED(14) TESTKIT_RESERVED(15) TESTKIT_RESERVED(16) TESTKIT_RESERVED(17)
    TESTKIT_RESERVED(18) TESTKIT_RESERVED(19) TESTKIT_RESERVED(20) TESTKIT_RESERVED(21) TESTKIT_RESERVED(22)
    TESTKIT_RESERVED(23) TESTKIT_RESERVED(24) TESTKIT_RESERVED(25) TESTKIT_RESERVED(26) TESTKIT_RESERVED(27)
    TESTKIT_RESERVED(28) TESTKIT_RESERVED(29) TESTKIT_RESERVED(30) TESTKIT_RESERVED(31) TESTKIT_RESERVED(32)
    STDMETHODIMP getTail(ExtnMessageChainTail** tail) override
    {
        container_.calls.push_back(33);
        *tail = makeDouble<ChainTail>(container_).detach();
        return S_OK;
    }

private:
    HostContainer& container_;
};

#undef TESTKIT_RESERVED

}  // namespace

std::string contentOf(IStream* stream)
{
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
        return {};
    std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    bytes.resize(read);
    return bytes;
}

HostContainer::HostContainer(bool answersHost) : answersHost_(answersHost)
{
    ComPtr<ILockBytes> bytes;
    if (SUCCEEDED(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put())))
        StgCreateDocfileOnILockBytes(bytes.get(), STGM_CREATE | kOpen, 0, document_.put());
}

IStorage* HostContainer::componentStorage()
{
    if (!storage_ && document_ &&
        FAILED(document_->OpenStorage(L"Component", nullptr, kOpen | STGM_TRANSACTED, nullptr, 0, storage_.put())))
        document_->CreateStorage(L"Component", kOpen | STGM_TRANSACTED, 0, 0, storage_.put());
    return storage_.get();
}

std::string HostContainer::committedStream(const wchar_t* name)
{
    dropComponentStorage();
    ComPtr<IStorage> committed;
    ComPtr<IStream> stream;
    if (!document_ ||
        FAILED(document_->OpenStorage(L"Component", nullptr, kOpen, nullptr, 0, committed.put())) ||
        FAILED(committed->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put())))
        return {};
    return contentOf(stream.get());
}

STDMETHODIMP HostContainer::QueryInterface(REFIID iid, void** out)
{
    // ExtnContainer is the base of ExtnUnitOperationContainer: the same table answers it.
    HRESULT hr = ComDouble::QueryInterface(iid, out);
    if (hr == E_NOINTERFACE && iid == IID_ExtnContainer && answersHost_) {
        *out = static_cast<ExtnContainer*>(this);
        AddRef();
        hr = S_OK;
    }
    return hr;
}

HRESULT HostContainer::refusal(REFIID iid)
{
    const bool hostInterface = iid == IID_ExtnContainer || iid == IID_ExtnUnitOperationContainer;
    return hostInterface && !answersHost_ ? E_NOINTERFACE : S_OK;
}

STDMETHODIMP HostContainer::getMessageChainHead(ExtnMessageChainHead** head)
{
    calls.push_back(11);
    *head = makeDouble<ChainHead>(*this).detach();
    return S_OK;
}

STDMETHODIMP HostContainer::handOverMessage(BSTR message, LONG zero)
{
    calls.push_back(12);
    zeros.push_back(zero);
    messages.emplace_back(message ? message : L"");
    return S_OK;
}

STDMETHODIMP HostContainer::storageRequest(LONG request, VARIANT* storage)
{
    calls.push_back(20);
    requests.push_back(request);
    VariantInit(storage);
    switch (answer) {
    case StorageAnswer::Storage:
        V_VT(storage) = VT_UNKNOWN;
        V_UNKNOWN(storage) = ComPtr<IUnknown>(componentStorage()).detach();
        break;
    case StorageAnswer::NullObject:
        V_VT(storage) = VT_UNKNOWN;
        V_UNKNOWN(storage) = nullptr;
        break;
    case StorageAnswer::NotAStorage:
        V_VT(storage) = VT_DISPATCH;
        V_DISPATCH(storage) = ComPtr<IDispatch>(asDispatch()).detach();
        break;
    case StorageAnswer::Integer:
        V_VT(storage) = VT_I4;
        V_I4(storage) = 0x1234;
        break;
    case StorageAnswer::Failure:
        return failure;
    case StorageAnswer::Empty:
        break;
    }
    return S_OK;
}

}  // namespace testkit
