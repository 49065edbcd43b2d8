#pragma once
// The host's document: one compound file (COM structured storage). Each component
// of the flowsheet has a storage of its own in it, which the component's container
// hands to QnCOGUI11 when it asks (ExtnContainer::storageRequest), and a small
// stream of the host's that says which component it is (its ProgIDs).
//
// The root is opened transacted: nothing reaches the file until the host commits
// the root after a save, so a failed save leaves the file as it was. The storages
// of the components are opened direct inside it.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <utility>
#include <vector>

#include "HostContainer.h"
#include "HostRef.h"

// A new document at path (a file there is replaced), or an existing one. Both are
// opened for reading and writing, transacted, and exclusively.
HRESULT createDocument(const std::wstring& path, HostRef<IStorage>& root);
HRESULT openDocument(const std::wstring& path, HostRef<IStorage>& root);

// What the host records of a component in its document: the ProgID it was chosen
// by and its manager's ProgID (empty for a component without one).
struct HostRecord {
    std::wstring progId;
    std::wstring parentProgId;
};
HRESULT writeHostRecord(IStorage* root, const std::wstring& element, const HostRecord& record);
HRESULT readHostRecord(IStorage* root, const std::wstring& element, HostRecord& record);

// The container of one component of the document: a COM object (IDispatch, and the
// host interfaces ExtnContainer and ExtnUnitOperationContainer) that QnCOGUI11 asks
// for the component's storage and hands persistence failure messages to.
class DocumentContainer final : public IDispatch, public ExtnUnitOperationContainer {
public:
    // A new container (one reference, the caller's) for the storage named element of
    // root; the storage is opened, or made when the document has none yet, at the
    // first request.
    static DocumentContainer* create(IStorage* root, const std::wstring& element);

    IDispatch* asDispatch() { return static_cast<IDispatch*>(this); }
    // Gives back the component's storage: the component must be released first.
    void closeStorage();
    // The messages QnCOGUI11 handed over, and how many times it prepared the host
    // for one (the chain of calls 11, 33 and 21).
    const std::vector<std::wstring>& messages() const { return messages_; }
    int preparations() const { return preparations_; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: the container is passed as an IDispatch; it has no type information.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    // ExtnContainer: the host's other methods, which QnCOGUI11 does not call.
#define DOCUMENT_RESERVED(n)                                                                                           \
    HRESULT STDMETHODCALLTYPE reserved##n() override { return E_NOTIMPL; }
    DOCUMENT_RESERVED(3)
    DOCUMENT_RESERVED(4) DOCUMENT_RESERVED(5) DOCUMENT_RESERVED(6) DOCUMENT_RESERVED(7) DOCUMENT_RESERVED(8)
        DOCUMENT_RESERVED(9) DOCUMENT_RESERVED(10) DOCUMENT_RESERVED(13) DOCUMENT_RESERVED(14) DOCUMENT_RESERVED(15)
            DOCUMENT_RESERVED(16) DOCUMENT_RESERVED(17) DOCUMENT_RESERVED(18) DOCUMENT_RESERVED(19)
#undef DOCUMENT_RESERVED
                HRESULT STDMETHODCALLTYPE getMessageChainHead(ExtnMessageChainHead** head) override;
    HRESULT STDMETHODCALLTYPE handOverMessage(BSTR message, LONG zero) override;
    // 16 (to load from) and 18 (to save into) both get the component's storage, as
    // VT_UNKNOWN: a component keeps the storage it was loaded from and saves into it.
    HRESULT STDMETHODCALLTYPE storageRequest(LONG request, VARIANT* storage) override;

private:
    DocumentContainer(IStorage* root, std::wstring element);
    ~DocumentContainer();

    ULONG references_ = 1;
    HostRef<IStorage> root_;
    std::wstring element_;
    HostRef<IStorage> storage_;
    std::vector<std::wstring> messages_;
    int preparations_ = 0;
};
