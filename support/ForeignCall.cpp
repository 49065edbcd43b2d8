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
// does the rest, as it does for any compiler's __except. The frame saves every
// register a caller may keep across a call, so that qnGuardedResume can also be
// reached by simply resuming there with the stack pointer of this frame (see the
// handler).
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
    pushq %rbp
    .seh_pushreg %rbp
    pushq %rbx
    .seh_pushreg %rbx
    pushq %rdi
    .seh_pushreg %rdi
    pushq %rsi
    .seh_pushreg %rsi
    pushq %r12
    .seh_pushreg %r12
    pushq %r13
    .seh_pushreg %r13
    pushq %r14
    .seh_pushreg %r14
    pushq %r15
    .seh_pushreg %r15
    subq $200, %rsp
    .seh_stackalloc 200
    movaps %xmm6, 32(%rsp)
    .seh_savexmm %xmm6, 32
    movaps %xmm7, 48(%rsp)
    .seh_savexmm %xmm7, 48
    movaps %xmm8, 64(%rsp)
    .seh_savexmm %xmm8, 64
    movaps %xmm9, 80(%rsp)
    .seh_savexmm %xmm9, 80
    movaps %xmm10, 96(%rsp)
    .seh_savexmm %xmm10, 96
    movaps %xmm11, 112(%rsp)
    .seh_savexmm %xmm11, 112
    movaps %xmm12, 128(%rsp)
    .seh_savexmm %xmm12, 128
    movaps %xmm13, 144(%rsp)
    .seh_savexmm %xmm13, 144
    movaps %xmm14, 160(%rsp)
    .seh_savexmm %xmm14, 160
    movaps %xmm15, 176(%rsp)
    .seh_savexmm %xmm15, 176
    .seh_handler qnGuardHandler, @except
    .seh_endprologue
    movq %rcx, %rax
    movq %rdx, %rcx
    call *%rax
    movl %eax, %eax
    nop
    .globl qnGuardedResume
qnGuardedResume:
    movaps 32(%rsp), %xmm6
    movaps 48(%rsp), %xmm7
    movaps 64(%rsp), %xmm8
    movaps 80(%rsp), %xmm9
    movaps 96(%rsp), %xmm10
    movaps 112(%rsp), %xmm11
    movaps 128(%rsp), %xmm12
    movaps 144(%rsp), %xmm13
    movaps 160(%rsp), %xmm14
    movaps 176(%rsp), %xmm15
    addq $200, %rsp
    popq %r15
    popq %r14
    popq %r13
    popq %r12
    popq %rsi
    popq %rdi
    popq %rbx
    popq %rbp
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
    const uint64_t result = (uint64_t(1) << 32) | code;
    if (code == EXCEPTION_STACK_OVERFLOW) {
        // Too little stack is left to unwind: execution resumes in the guard's frame
        // at once, which restores the caller's registers itself. (The component's own
        // unwind handlers do not run; after an overflow it is not called again.)
        context->Rsp = reinterpret_cast<DWORD64>(frame);
        context->Rip = reinterpret_cast<DWORD64>(&qnGuardedResume);
        context->Rax = result;
        return ExceptionContinueExecution;
    }
    RtlUnwindEx(frame, reinterpret_cast<void*>(&qnGuardedResume), record, reinterpret_cast<void*>(result), context,
                dispatch->HistoryTable);
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
