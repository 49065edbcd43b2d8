#pragma once
// The one host container of the tests: what the library calls on the container the
// host passes to setup, recorded by position in the host's table of methods, over a
// real compound document in memory. The component's storage is the element
// "Component" of the document, opened transacted: what is written into it reaches
// the document only when the storage is committed. The container is also the chain
// of objects the library calls before it hands a message over (positions 11, 33, 21).
#include <windows.h>
#include <objidl.h>

#include <map>
#include <string>
#include <vector>

// The host interfaces, generated from resources/HostContainer.idl (angle brackets:
// not this file).
#include <HostContainer.h>

#include "testkit/ComDouble.h"
#include "testkit/Misbehaviour.h"

namespace testkit {

// What storageRequest answers: a VARIANT holding the component's storage (VT_UNKNOWN),
// nothing (VT_EMPTY), a null VT_UNKNOWN, an object that is no storage (the container
// itself, VT_DISPATCH), the integer 0x1234 (VT_I4), or the HRESULT `failure`.
enum class StorageAnswer { Storage, Empty, NullObject, NotAStorage, Integer, Failure };

class HostContainer
    : public ComDouble<IDispatch, ExtnUnitOperationContainer, ExtnMessageChainHead, ExtnMessageChainTail> {
public:
    // answersHost false: a container with IDispatch alone, none of the host interfaces.
    explicit HostContainer(bool answersHost = true);

    // Positions called, in order: 20 storageRequest, 11 getMessageChainHead, 33 the
    // head's getTail, 21 the tail's touch, 12 handOverMessage.
    std::vector<int> calls;
    std::vector<long> requests;  // storageRequest's first argument
    std::vector<long> zeros;     // the integers passed at positions 21 and 12
    std::vector<std::wstring> messages;

    StorageAnswer answer = StorageAnswer::Storage;
    HRESULT failure = STG_E_ACCESSDENIED;  // storageRequest's result for StorageAnswer::Failure
    HRESULT touchResult = S_OK;            // what position 21 answers
    std::map<int, Misbehaving> misbehaving;  // positions 11, 33, 21 that go wrong, and how

    IDispatch* asDispatch() { return static_cast<IDispatch*>(this); }
    // The component's storage as handed out (opened or made at the first use).
    IStorage* componentStorage();
    // What an earlier save left: bytes in the stream `name` of the component storage, committed.
    void saved(const wchar_t* name, const std::string& bytes);
    // The bytes of a stream of the component storage as it is now, committed or not.
    std::string streamNow(const wchar_t* name);
    // The bytes of a stream of the committed component storage ("" when missing).
    std::string committedStream(const wchar_t* name);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;

#define TESTKIT_RESERVED(n) TESTKIT_NOT_IMPLEMENTED(reserved##n)
    TESTKIT_RESERVED(3) TESTKIT_RESERVED(4) TESTKIT_RESERVED(5) TESTKIT_RESERVED(6) TESTKIT_RESERVED(7)
    TESTKIT_RESERVED(8) TESTKIT_RESERVED(9) TESTKIT_RESERVED(10) TESTKIT_RESERVED(11) TESTKIT_RESERVED(12)
    TESTKIT_RESERVED(13) TESTKIT_RESERVED(14) TESTKIT_RESERVED(15) TESTKIT_RESERVED(16) TESTKIT_RESERVED(17)
    TESTKIT_RESERVED(18) TESTKIT_RESERVED(19) TESTKIT_RESERVED(20) TESTKIT_RESERVED(21) TESTKIT_RESERVED(22)
    TESTKIT_RESERVED(23) TESTKIT_RESERVED(24) TESTKIT_RESERVED(25) TESTKIT_RESERVED(26) TESTKIT_RESERVED(27)
    TESTKIT_RESERVED(28) TESTKIT_RESERVED(29) TESTKIT_RESERVED(30) TESTKIT_RESERVED(31) TESTKIT_RESERVED(32)
#undef TESTKIT_RESERVED
    STDMETHODIMP getMessageChainHead(ExtnMessageChainHead** head) override
    {
        const auto misbehaved = enter(11, reinterpret_cast<void**>(head));
        return misbehaved ? *misbehaved : (ComPtr<ExtnMessageChainHead>(this).copyTo(head), S_OK);
    }
    STDMETHODIMP getTail(ExtnMessageChainTail** tail) override
    {
        const auto misbehaved = enter(33, reinterpret_cast<void**>(tail));
        return misbehaved ? *misbehaved : (ComPtr<ExtnMessageChainTail>(this).copyTo(tail), S_OK);
    }
    STDMETHODIMP touch(LONG zero) override { return zeros.push_back(zero), enter(21, nullptr).value_or(touchResult); }
    STDMETHODIMP handOverMessage(BSTR message, LONG zero) override
    {
        calls.push_back(12), zeros.push_back(zero), messages.emplace_back(message ? message : L"");
        return S_OK;
    }
    STDMETHODIMP storageRequest(LONG request, VARIANT* storage) override;

private:
    // Records the call at position; a misbehaving one answers as it says.
    std::optional<HRESULT> enter(int position, void** object)
    {
        calls.push_back(position);
        const auto m = misbehaving.find(position);
        return m == misbehaving.end() ? std::nullopt : misbehave(m->second, {}, object);
    }

    bool answersHost_;
    ComPtr<IStorage> document_;
    ComPtr<IStorage> storage_;
};

// The bytes of a stream, read from its start.
std::string contentOf(IStream* stream);

}  // namespace testkit
