#include "DocumentContainer.h"

namespace {

constexpr DWORD kRootMode = STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_TRANSACTED;
constexpr DWORD kElementMode = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

// Element names of a compound file have at most 31 characters.
std::wstring recordName(const std::wstring& element) { return (L"Host " + element).substr(0, 31); }

// The objects the container hands out for the call chain that precedes a message:
// B (position 21 counts a preparation) and A (position 33 gives B). Each keeps the
// container alive while it lives.
#define CHAIN_RESERVED(n)                                                                                              \
    HRESULT STDMETHODCALLTYPE reserved##n() override { return E_NOTIMPL; }

template <class Interface>
class ChainObject : public Interface {
public:
    explicit ChainObject(DocumentContainer* container, int* preparations) : preparations_(preparations)
    {
        container->AddRef();  // the chain object's own reference
        container_.reset(container);
    }
    virtual ~ChainObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != __uuidof(Interface))
            return E_NOINTERFACE;
        *out = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
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
    HostRef<DocumentContainer> container_;
    int* preparations_;

private:
    ULONG references_ = 1;
};

class ChainTail : public ChainObject<ExtnMessageChainTail> {
public:
    using ChainObject::ChainObject;
    CHAIN_RESERVED(3)
    CHAIN_RESERVED(4) CHAIN_RESERVED(5) CHAIN_RESERVED(6) CHAIN_RESERVED(7) CHAIN_RESERVED(8) CHAIN_RESERVED(9)
        CHAIN_RESERVED(10) CHAIN_RESERVED(11) CHAIN_RESERVED(12) CHAIN_RESERVED(13) CHAIN_RESERVED(14)
            CHAIN_RESERVED(15) CHAIN_RESERVED(16) CHAIN_RESERVED(17) CHAIN_RESERVED(18) CHAIN_RESERVED(19)
                CHAIN_RESERVED(20) HRESULT STDMETHODCALLTYPE touch(LONG zero) override
    {
        if (zero != 0)
            return E_INVALIDARG;
        ++*preparations_;
        return S_OK;
    }
};

class ChainHead : public ChainObject<ExtnMessageChainHead> {
public:
    using ChainObject::ChainObject;
    CHAIN_RESERVED(3)
    CHAIN_RESERVED(4) CHAIN_RESERVED(5) CHAIN_RESERVED(6) CHAIN_RESERVED(7) CHAIN_RESERVED(8) CHAIN_RESERVED(9)
        CHAIN_RESERVED(10) CHAIN_RESERVED(11) CHAIN_RESERVED(12) CHAIN_RESERVED(13) CHAIN_RESERVED(14)
            CHAIN_RESERVED(15) CHAIN_RESERVED(16) CHAIN_RESERVED(17) CHAIN_RESERVED(18) CHAIN_RESERVED(19)
                CHAIN_RESERVED(20) CHAIN_RESERVED(21) CHAIN_RESERVED(22) CHAIN_RESERVED(23) CHAIN_RESERVED(24)
                    CHAIN_RESERVED(25) CHAIN_RESERVED(26) CHAIN_RESERVED(27) CHAIN_RESERVED(28) CHAIN_RESERVED(29)
                        CHAIN_RESERVED(30) CHAIN_RESERVED(31) CHAIN_RESERVED(32) HRESULT STDMETHODCALLTYPE
        getTail(ExtnMessageChainTail** tail) override
    {
        if (!tail)
            return E_POINTER;
        *tail = new ChainTail(container_.get(), preparations_);
        return S_OK;
    }
};

#undef CHAIN_RESERVED

}  // namespace

HRESULT createDocument(const std::wstring& path, HostRef<IStorage>& root)
{
    return StgCreateDocfile(path.c_str(), kRootMode | STGM_CREATE, 0, root.put());
}

HRESULT openDocument(const std::wstring& path, HostRef<IStorage>& root)
{
    return StgOpenStorage(path.c_str(), nullptr, kRootMode, nullptr, 0, root.put());
}

HRESULT writeHostRecord(IStorage* root, const std::wstring& element, const HostRecord& record)
{
    HostRef<IStream> stream;
    HRESULT hr = root->CreateStream(recordName(element).c_str(), kElementMode | STGM_CREATE, 0, 0, stream.put());
    if (FAILED(hr))
        return hr;
    // Two lines of UTF-16 text.
    const std::wstring text = record.progId + L"\n" + record.parentProgId + L"\n";
    ULONG written = 0;
    const ULONG size = static_cast<ULONG>(text.size() * sizeof(wchar_t));
    hr = stream->Write(text.data(), size, &written);
    return SUCCEEDED(hr) && written != size ? STG_E_WRITEFAULT : hr;
}

HRESULT readHostRecord(IStorage* root, const std::wstring& element, HostRecord& record)
{
    HostRef<IStream> stream;
    HRESULT hr =
        root->OpenStream(recordName(element).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put());
    if (FAILED(hr))
        return hr;
    STATSTG stat{};
    hr = stream->Stat(&stat, STATFLAG_NONAME);
    if (FAILED(hr))
        return hr;
    if (stat.cbSize.QuadPart > 4096 || stat.cbSize.QuadPart % sizeof(wchar_t) != 0)
        return STG_E_DOCFILECORRUPT;
    std::wstring text(static_cast<size_t>(stat.cbSize.QuadPart / sizeof(wchar_t)), L'\0');
    ULONG read = 0;
    hr = stream->Read(text.data(), static_cast<ULONG>(stat.cbSize.QuadPart), &read);
    if (FAILED(hr))
        return hr;
    const size_t first = text.find(L'\n');
    const size_t second = first == std::wstring::npos ? first : text.find(L'\n', first + 1);
    if (read != stat.cbSize.QuadPart || second == std::wstring::npos)
        return STG_E_DOCFILECORRUPT;
    record.progId = text.substr(0, first);
    record.parentProgId = text.substr(first + 1, second - first - 1);
    return S_OK;
}

DocumentContainer* DocumentContainer::create(IStorage* root, const std::wstring& element)
{
    return new DocumentContainer(root, element);
}

DocumentContainer::DocumentContainer(IStorage* root, std::wstring element) : element_(std::move(element))
{
    root->AddRef();  // the container's own reference
    root_.reset(root);
}

// The element's storage goes before the root (declared after it).
DocumentContainer::~DocumentContainer() = default;

void DocumentContainer::closeStorage() { storage_.reset(); }

HRESULT STDMETHODCALLTYPE DocumentContainer::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
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

ULONG STDMETHODCALLTYPE DocumentContainer::AddRef() { return ++references_; }

ULONG STDMETHODCALLTYPE DocumentContainer::Release()
{
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE DocumentContainer::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DocumentContainer::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE DocumentContainer::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE DocumentContainer::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                                    UINT*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE DocumentContainer::getMessageChainHead(ExtnMessageChainHead** head)
{
    if (!head)
        return E_POINTER;
    *head = new ChainHead(this, &preparations_);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DocumentContainer::handOverMessage(BSTR message, LONG)
{
    messages_.emplace_back(message ? message : L"");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DocumentContainer::storageRequest(LONG request, VARIANT* storage)
{
    if (!storage)
        return E_POINTER;
    VariantInit(storage);
    if (request != 16 && request != 18)
        return E_INVALIDARG;
    if (!storage_) {
        HRESULT hr = root_->OpenStorage(element_.c_str(), nullptr, kElementMode, nullptr, 0, storage_.put());
        if (hr == STG_E_FILENOTFOUND)
            hr = root_->CreateStorage(element_.c_str(), kElementMode, 0, 0, storage_.put());
        if (FAILED(hr))
            return hr;
    }
    storage_->AddRef();
    V_VT(storage) = VT_UNKNOWN;
    V_UNKNOWN(storage) = storage_.get();
    return S_OK;
}
