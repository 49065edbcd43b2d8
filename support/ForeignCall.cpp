#include "support/ForeignCall.h"

#include <malloc.h>

#include <cstdio>

#include "support/ErrorObject.h"
#include "support/MTUtils.h"
#include "support/WideText.h"

// The frame that catches: a function with an exception handler of its own (a
// language-specific handler in its unwind data). When an exception reaches it
// unhandled, the handler unwinds the stack back to this frame and resumes at
// qnGuardedResume with the exception code as the result; the Windows x64 unwinder
// does the rest, as it does for any compiler's __except.
extern "C" {
uint64_t qnGuardedInvoke(HRESULT (*call)(void*), void* context);
void qnGuardedResume();
EXCEPTION_DISPOSITION qnGuardHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT* context,
                                     DISPATCHER_CONTEXT* dispatch);
}

asm(R"(
    .text
    .globl qnGuardedInvoke
    .def qnGuardedInvoke; .scl 2; .type 32; .endef
    .seh_proc qnGuardedInvoke
qnGuardedInvoke:
    subq $40, %rsp
    .seh_stackalloc 40
    .seh_handler qnGuardHandler, @except
    .seh_endprologue
    movq %rcx, %rax
    movq %rdx, %rcx
    call *%rax
    movl %eax, %eax
    nop
    .globl qnGuardedResume
qnGuardedResume:
    addq $40, %rsp
    ret
    .seh_endproc
)");

namespace {

// The codes of this library's own C++ exceptions (GCC's throw, rethrow and forced
// unwind): they go on to the catch that awaits them.
constexpr DWORD kOwnThrow = foreign_call_detail::kOwnCompilersException;
constexpr DWORD kOwnUnwind = 0x21474343;
constexpr DWORD kOwnForcedUnwind = 0x22474343;

}  // namespace

extern "C" EXCEPTION_DISPOSITION qnGuardHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT* context,
                                                DISPATCHER_CONTEXT* dispatch)
{
    const DWORD code = record->ExceptionCode;
    if ((record->ExceptionFlags & EXCEPTION_UNWIND) || code == kOwnThrow || code == kOwnUnwind ||
        code == kOwnForcedUnwind)
        return ExceptionContinueSearch;
    RtlUnwindEx(frame, reinterpret_cast<void*>(&qnGuardedResume), record,
                reinterpret_cast<void*>((uint64_t(1) << 32) | code), context, dispatch->HistoryTable);
    return ExceptionContinueSearch;  // not reached: the unwind resumes in qnGuardedInvoke
}

namespace foreign_call_detail {

uint64_t invokeGuarded(HRESULT (*call)(void*), void* context) { return qnGuardedInvoke(call, context); }

HRESULT callRaised(const char* callName, DWORD exceptionCode)
{
    if (exceptionCode == EXCEPTION_STACK_OVERFLOW)
        _resetstkoflw();  // the stack's guard page again, now that the stack is unwound
    char description[160];
    std::snprintf(description, sizeof description, "The component failed inside %s (exception 0x%08lX)", callName,
                  static_cast<unsigned long>(exceptionCode));
    setErrorObject(toWide(description).c_str(), kLibraryNameWide);
    return kCallRaisedException;
}

}  // namespace foreign_call_detail
