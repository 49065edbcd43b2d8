#include "testkit/HostContainer.h"

#include <oleauto.h>

namespace testkit {
namespace {
constexpr DWORD kOpen = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
}  // namespace

std::string contentOf(IStream* stream)
{
    STATSTG stat{};
    if (!stream || FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
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
    if (!answersHost)
        refuse(IID_ExtnUnitOperationContainer);
}

IStorage* HostContainer::componentStorage()
{
    if (!storage_ && document_ &&
        FAILED(document_->OpenStorage(L"Component", nullptr, kOpen | STGM_TRANSACTED, nullptr, 0, storage_.put())))
        document_->CreateStorage(L"Component", kOpen | STGM_TRANSACTED, 0, 0, storage_.put());
    return storage_.get();
}

void HostContainer::saved(const wchar_t* name, const std::string& bytes)
{
    ComPtr<IStream> stream;
    if (componentStorage() && SUCCEEDED(storage_->CreateStream(name, STGM_CREATE | kOpen, 0, 0, stream.put())))
        stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
    stream = nullptr;
    storage_->Commit(STGC_DEFAULT);
}

std::string HostContainer::streamNow(const wchar_t* name)
{
    ComPtr<IStream> stream;
    if (componentStorage())
        storage_->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put());
    return contentOf(stream.get());
}

std::string HostContainer::committedStream(const wchar_t* name)
{
    storage_ = nullptr;  // the document then holds what was committed
    ComPtr<IStorage> committed;
    ComPtr<IStream> stream;
    if (document_ && SUCCEEDED(document_->OpenStorage(L"Component", nullptr, kOpen, nullptr, 0, committed.put())))
        committed->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put());
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

STDMETHODIMP HostContainer::storageRequest(LONG request, VARIANT* storage)
{
    calls.push_back(20);
    requests.push_back(request);
    VariantInit(storage);
    switch (answer) {
    case StorageAnswer::Storage:
        V_VT(storage) = VT_UNKNOWN;
        ComPtr<IUnknown>(componentStorage()).copyTo(&V_UNKNOWN(storage));
        break;
    case StorageAnswer::NullObject:
        V_VT(storage) = VT_UNKNOWN;
        V_UNKNOWN(storage) = nullptr;
        break;
    case StorageAnswer::NotAStorage:
        V_VT(storage) = VT_DISPATCH;
        ComPtr<IDispatch>(asDispatch()).copyTo(&V_DISPATCH(storage));
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
