// The component in the host's document: which COM persistence interface it offers
// (setComponent, getPersistType), writing it into the storage the host's container
// gives (saveStorage), and restoring it from there or initialising it as new
// (loadStorage).
//
// Layout: a storage-based component writes its own elements into the storage; a
// stream-based one writes exactly its own data into the stream "CAPEOPEN" of it.
#include "automation/PersistenceSupport.h"

#include <string>
#include <utility>

#include "HostContainer.h"

#include "automation/CCCAPEGUI.h"
#include "automation/MethodBoundary.h"
#include "automation/RaisedError.h"
#include "support/ErrorReport.h"
#include "support/ForeignCall.h"
#include "support/ScopedFlag.h"

namespace {

constexpr char kSavingFailed[] = "Error saving component through COM persistence";
constexpr char kLoadingFailed[] = "Error loading component through COM persistence";

// The component asked for a persistence interface; a failure is reported.
template <class Persist>
HRESULT askComponent(const ComPtr<IDispatch>& component, REFIID iid, ComPtr<Persist>& out)
{
    HRESULT hr = component.queryInterface(iid, out);
    if (SUCCEEDED(hr) && !out)
        hr = E_NOINTERFACE;
    if (FAILED(hr))
        return reportUnexpected(hr);
    return hr;
}

// Writes a stream-based component into the "CAPEOPEN" stream of storage and commits
// the storage, all or nothing: the component writes into a new stream beside it,
// which replaces "CAPEOPEN" only once Save succeeded. The earlier "CAPEOPEN" is renamed
// aside, not destroyed, until the new one has its name (a component that still holds
// its stream open makes that rename fail): after any failure the previous bytes stay
// as they were and the new stream is removed. Each failing step is reported.
template <class Persist>
HRESULT saveIntoStream(const ComPtr<IDispatch>& component, REFIID iid, IStorage* storage)
{
    ComPtr<Persist> persist;
    HRESULT hr = askComponent(component, iid, persist);
    if (FAILED(hr))
        return hr;
    requireStorage(storage);
    ComPtr<IStream> stream;
    hr = storage->CreateStream(kNewComponentStreamName, kStreamCreateMode, 0, 0, stream.put());
    if (SUCCEEDED(hr)) {
        hr = callForeign("Save", [&] { return persist->Save(stream.get(), TRUE); });
        stream = nullptr;  // an element is renamed or destroyed closed
        if (FAILED(hr))
            storage->DestroyElement(kNewComponentStreamName);
    }
    bool earlierSave = false;
    if (SUCCEEDED(hr)) {
        storage->DestroyElement(kOldComponentStreamName);  // what an interrupted save left
        hr = storage->RenameElement(kComponentStreamName, kOldComponentStreamName);
        earlierSave = SUCCEEDED(hr);
        if (hr == STG_E_FILENOTFOUND)
            hr = S_OK;  // the first save
        if (SUCCEEDED(hr))
            hr = storage->RenameElement(kNewComponentStreamName, kComponentStreamName);
        if (FAILED(hr)) {
            if (earlierSave)
                storage->RenameElement(kOldComponentStreamName, kComponentStreamName);
            storage->DestroyElement(kNewComponentStreamName);
        } else if (earlierSave) {
            storage->DestroyElement(kOldComponentStreamName);
        }
    }
    if (SUCCEEDED(hr))
        hr = storage->Commit(STGC_DEFAULT);
    if (FAILED(hr))
        return reportUnexpected(hr);
    return hr;
}

// A storage-based component writes its own elements into storage.
HRESULT saveIntoStorage(const ComPtr<IDispatch>& component, IStorage* storage)
{
    ComPtr<IPersistStorage> persist;
    HRESULT hr = askComponent(component, IID_IPersistStorage, persist);
    if (FAILED(hr))
        return hr;
    requireStorage(storage);
    hr = callForeign("Save", [&] { return persist->Save(storage, TRUE); });
    // Save leaves the component unable to write until SaveCompleted, failed or not;
    // a component that crashed is not called again.
    if (hr != kCallRaisedException)
        callForeign("SaveCompleted", [&] { return persist->SaveCompleted(storage); });
    if (FAILED(hr))
        return reportUnexpected(hr);
    return hr;
}

}  // namespace

// The caller hands over one reference to comp, which the object keeps; a component
// held before is given back (its reference is released, it is not terminated).
HRESULT STDMETHODCALLTYPE CCCAPEGUI::setComponent(IDispatch* comp)
{
    const auto alive = enterMethod();
    persistType = kPersistNone;
    documentUnread = false;
    component = ComPtr<IDispatch>::attach(comp);
    // A component that cannot be asked is reported twice: as the persistence failure
    // getPersistType reports, then as this method's own failure.
    return methodBoundaryReportedBy(
        [&](HRESULT) {
            const HRESULT hr = reportPersistenceFailure(kPersistenceFailure, kSavingFailed, itemDisplayName().c_str());
            return FAILED(hr) ? reportUnexpected(hr) : hr;
        },
        [&] {
            persistType = persistKind();
            return S_OK;
        });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::getPersistType(LONG* pt)
{
    const auto alive = enterMethod();
    if (!pt)
        return E_POINTER;
    PersistKind kind = kPersistNone;
    HRESULT hr = methodBoundaryReportedBy(
        [&](HRESULT) {
            return reportPersistenceFailure(kPersistenceFailure, kSavingFailed, itemDisplayName().c_str());
        },
        [&] {
            kind = persistKind();
            return S_OK;
        });
    *pt = SUCCEEDED(hr) ? kind : kPersistNone;
    return hr;
}

PersistKind CCCAPEGUI::persistKind() const
{
    if (persistType != kPersistNone || !component)
        return persistType;
    const std::pair<const IID*, PersistKind> candidates[] = {{&IID_IPersistStorage, kPersistStorage},
                                                             {&IID_IPersistStreamInit, kPersistStreamInit},
                                                             {&IID_IPersistStream, kPersistStream}};
    for (const auto& [iid, kind] : candidates) {
        ComPtr<IUnknown> answer;
        HRESULT asked = component.queryInterface(*iid, answer);
        if (asked == E_NOINTERFACE)
            continue;
        throwIfFailed(asked);
        if (answer)
            return kind;
    }
    return kPersistNone;
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::saveStorage()
{
    const auto alive = enterMethod();
    if (const HRESULT refused = refuseWhilePersisting("saveStorage"); FAILED(refused))
        return refused;
    const ScopedFlag persistingNow(persisting);
    return methodBoundaryReportedBy(
        [&](HRESULT) { return reportPersistenceFailure(kPersistenceFailure, kSavingFailed, nullptr); },
        [&]() -> HRESULT {
            if (!container) {
                const std::string text =
                    std::string(kSavingFailed) + ": the host has given no container (setup) to ask for the storage.";
                return reportError(OLE_E_NOSTORAGE, text.c_str(), nullptr, hostWindow, true);
            }
            if (component && documentUnread) {
                const std::string text = std::string(kSavingFailed) +
                                         ": the component could not be loaded from the document, so what it "
                                         "would save is not what the document holds; the saved state is kept.";
                return reportError(E_ABORT, text.c_str(), nullptr, hostWindow, true);
            }
            // A component whose persistence could not be asked when it was handed over is
            // asked again (a failure is raised): a transient failure then never turns
            // into a save of nothing.
            if (component)
                persistType = persistKind();
            VariantHolder answer;
            HRESULT hr = callForeign(
                "storageRequest", [&](VARIANT* slot) { return container->storageRequest(kStorageToSaveInto, slot); },
                answer);
            if (FAILED(hr))
                return reportUnexpected(hr);
            ComPtr<IStorage> storage = storageInAnswer(answer);

            // A released component has nothing to write.
            switch (component ? persistType : kPersistNone) {
            case kPersistStorage:
                return saveIntoStorage(component, storage.get());
            case kPersistStream:
                return saveIntoStream<IPersistStream>(component, IID_IPersistStream, storage.get());
            case kPersistStreamInit:
                return saveIntoStream<IPersistStreamInit>(component, IID_IPersistStreamInit, storage.get());
            default:
                return hr;
            }
        });
}

HRESULT STDMETHODCALLTYPE CCCAPEGUI::loadStorage(VARIANT_BOOL recalling)
{
    const auto alive = enterMethod();
    if (const HRESULT refused = refuseWhilePersisting("loadStorage"); FAILED(refused))
        return refused;
    const ScopedFlag persistingNow(persisting);
    isRecalling = recalling == VARIANT_TRUE;
    const HRESULT loaded = methodBoundaryReportedBy(
        [&](HRESULT) {
            return reportPersistenceFailure(kPersistenceFailure, kLoadingFailed, itemDisplayName().c_str());
        },
        [&]() -> HRESULT {
            if (!container || persistType == kPersistNone || !component)
                return S_OK;
            VariantHolder answer;
            HRESULT hr = callForeign(
                "storageRequest", [&](VARIANT* slot) { return container->storageRequest(kStorageToLoadFrom, slot); },
                answer);
            if (FAILED(hr))
                return reportUnexpected(hr);
            ComPtr<IStorage> storage = storageInAnswer(answer);
            if (!isRecalling)
                return initNewComponent(storage.get());

            if (persistType == kPersistStorage) {
                ComPtr<IPersistStorage> persist;
                hr = askComponent(component, IID_IPersistStorage, persist);
                if (FAILED(hr))
                    return hr;
                requireStorage(storage.get());
                hr = callForeign("Load", [&] { return persist->Load(storage.get()); });
                if (FAILED(hr))
                    return reportError(hr, "Unexpected error loading COM persistence (IPersistStorage)", nullptr,
                                       nullptr, true);
                leaveMethodOK();
                return hr;
            }

            const bool streamInit = persistType == kPersistStreamInit;
            ComPtr<IPersistStream> persistStream;
            ComPtr<IPersistStreamInit> persistStreamInit;
            hr = streamInit ? askComponent(component, IID_IPersistStreamInit, persistStreamInit)
                            : askComponent(component, IID_IPersistStream, persistStream);
            if (FAILED(hr))
                return hr;
            requireStorage(storage.get());
            ComPtr<IStream> stream;
            hr = storage->OpenStream(kComponentStreamName, nullptr, kStreamOpenMode, 0, stream.put());
            if (hr == STG_E_FILENOTFOUND)
                return upgradeOldPersistence(storage.get());  // no stream of ours: saved the old way
            if (FAILED(hr))
                return reportUnexpected(hr);
            hr = callForeign("Load", [&] {
                return streamInit ? persistStreamInit->Load(stream.get()) : persistStream->Load(stream.get());
            });
            if (hr == kLoadedAnyway)
                hr = S_OK;
            if (FAILED(hr))
                return reportError(hr,
                                   streamInit ? "Unexpected error loading COM persistence (IPersistStreamInit)"
                                              : "Unexpected error loading COM persistence (IPersistStream)",
                                   nullptr, nullptr, true);
            leaveMethodOK();
            return hr;
        });
    // A recall that failed leaves the component without the document's state; one that
    // succeeded, or an initialisation as new, gives it a state of its own to save.
    if (isRecalling || SUCCEEDED(loaded))
        documentUnread = isRecalling && FAILED(loaded);
    return loaded;
}
