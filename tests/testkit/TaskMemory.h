#pragma once
// Blocks of the COM task allocator alive now, counted by a malloc spy that stays
// registered for the rest of the process (the platform refuses to revoke a spy while
// blocks it saw are alive). BSTRs go through that allocator only when the BSTR cache
// is off (OANOCACHE=1 from process start, set by the test's CTest entry), so a test
// that counts BSTRs asks countsBstrs() first.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <atomic>

#include "testkit/ComDouble.h"

namespace testkit {

class TaskMemory final : public testkit::ComDouble<IMallocSpy> {
public:
    // Registered at the first use and held for the rest of the process.
    static TaskMemory& instance()
    {
        static TaskMemory* spy = new TaskMemory;
        return *spy;
    }
    long live() const { return live_.load(); }
    // Whether a BSTR's allocation and free are seen here (the cache is off).
    bool countsBstrs()
    {
        const long before = live();
        BSTR probe = SysAllocString(L"probe");
        const bool seen = live() == before + 1;
        SysFreeString(probe);
        return registered_ && seen && live() == before;
    }

    STDMETHODIMP_(SIZE_T) PreAlloc(SIZE_T size) override { return size; }
    STDMETHODIMP_(void*) PostAlloc(void* block) override { return count(block, +1); }
    STDMETHODIMP_(void*) PreFree(void* block, BOOL) override { return count(block, -1); }
    STDMETHODIMP_(void) PostFree(BOOL) override {}
    STDMETHODIMP_(SIZE_T) PreRealloc(void* block, SIZE_T size, void** newBlock, BOOL) override
    {
        realloc_ = block ? (size == 0 ? -1 : 0) : +1;  // from nothing allocates, to nothing frees
        *newBlock = block;
        return size;
    }
    STDMETHODIMP_(void*) PostRealloc(void* block, BOOL) override
    {
        if (realloc_ < 0 || block)
            live_ += realloc_;
        return block;
    }
    STDMETHODIMP_(void*) PreGetSize(void* block, BOOL) override { return block; }
    STDMETHODIMP_(SIZE_T) PostGetSize(SIZE_T size, BOOL) override { return size; }
    STDMETHODIMP_(void*) PreDidAlloc(void* block, BOOL) override { return block; }
    STDMETHODIMP_(int) PostDidAlloc(void*, BOOL, int allocated) override { return allocated; }
    STDMETHODIMP_(void) PreHeapMinimize() override {}
    STDMETHODIMP_(void) PostHeapMinimize() override {}

private:
    TaskMemory() : ComDouble(Uncounted{}) { registered_ = SUCCEEDED(CoRegisterMallocSpy(this)); }
    void* count(void* block, long step)
    {
        if (block)
            live_ += step;
        return block;
    }
    std::atomic<long> live_{0};
    long realloc_ = 0;
    bool registered_ = false;
};

}  // namespace testkit
