#pragma once
#include <windows.h>

#include <cstdint>

// Calls into other vendors' objects. Their code may crash: an access violation, or a
// C++ exception of another compiler, is a structured exception that no catch of this
// library sees and that would end the host. Every call into a component runs through
// callForeign, which turns such an exception into a failed call.

// What a call that raised an exception answers: COM's own code for a server that did.
inline constexpr HRESULT kCallRaisedException = RPC_E_SERVERFAULT;

namespace foreign_call_detail {
// Runs call(context) under an exception handler of its own. The result is the call's
// HRESULT in the low half; the high half is 1 when an exception ended the call, whose
// code is then the low half. C++ exceptions of this library's own compiler pass
// through (callForeign catches them nearer the call).
uint64_t invokeGuarded(HRESULT (*call)(void*), void* context);
// The code of a C++ exception of this library's own compiler.
inline constexpr DWORD kOwnCompilersException = 0x20474343;
// Makes the thread's error object say where the exception happened and returns
// kCallRaisedException.
HRESULT callRaised(const char* callName, DWORD exceptionCode);
}  // namespace foreign_call_detail

// Runs call(slots...) where each slot is outs.put() of the holders given. The result
// is call's; an exception inside it (a C++ exception of this compiler too) is
// kCallRaisedException, with the thread's error object reading "The component failed
// inside <callName> (exception 0xC0000005)".
// When the result is a failure each holder forgets, unfreed, what the callee left in
// its slot: the out value of a failed call is never used nor released (a misbehaving
// component leaks rather than crashes the host).
// call must hold nothing that needs destroying: a raised exception skips destructors
// between the component and this function.
template <class Call, class... Outs>
HRESULT callForeign(const char* callName, Call&& call, Outs&... outs)
{
    DWORD exception = 0;
    auto bound = [&]() -> HRESULT {
        try {
            return call(outs.put()...);
        } catch (...) {  // a component built with this compiler threw
            exception = foreign_call_detail::kOwnCompilersException;
            return E_FAIL;
        }
    };
    auto thunk = [](void* context) -> HRESULT { return (*static_cast<decltype(bound)*>(context))(); };
    const uint64_t outcome = foreign_call_detail::invokeGuarded(thunk, &bound);
    if (outcome >> 32)
        exception = DWORD(outcome);
    const HRESULT hr = exception ? foreign_call_detail::callRaised(callName, exception) : HRESULT(DWORD(outcome));
    if (FAILED(hr))
        (outs.forget(), ...);
    return hr;
}
