#pragma once
// Counts the blocks of the COM task allocator that are alive, through a malloc spy.
// BSTRs go through that allocator only when the BSTR cache is off (OANOCACHE set
// before the process starts; the support tests' CTest entry sets it), so a test that
// counts BSTRs asks bstrsAreCounted() first.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <atomic>

class TaskMemoryCounter {
public:
    TaskMemoryCounter()
    {
        registered_ = stillRegistered() || SUCCEEDED(CoRegisterMallocSpy(&spy()));
        stillRegistered() = false;
    }
    // The platform refuses to revoke the spy while blocks it saw are alive (a test
    // that found a leak): it then stays registered, a process-wide object, and the
    // next counter goes on with it.
    ~TaskMemoryCounter()
    {
        if (registered_)
            stillRegistered() = FAILED(CoRevokeMallocSpy());
    }
    TaskMemoryCounter(const TaskMemoryCounter&) = delete;
    TaskMemoryCounter& operator=(const TaskMemoryCounter&) = delete;

    bool registered() const { return registered_; }
    // Blocks allocated and not yet freed since the spy was first registered.
    long live() const { return spy().live.load(); }

    // Whether freeing a BSTR is visible here (not kept back by the BSTR cache).
    bool bstrsAreCounted() const
    {
        if (!registered_)
            return false;
        long before = live();
        BSTR probe = SysAllocString(L"probe");
        bool counted = live() == before + 1;
        SysFreeString(probe);
        return counted && live() == before;
    }

private:
    struct Spy : IMallocSpy {
        std::atomic<long> live{0};
        SIZE_T pendingRealloc = 0;

        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
        {
            if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
                *out = this;
                return S_OK;
            }
            *out = nullptr;
            return E_NOINTERFACE;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }
        SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
        void* STDMETHODCALLTYPE PostAlloc(void* block) override
        {
            if (block)
                ++live;
            return block;
        }
        void* STDMETHODCALLTYPE PreFree(void* block, BOOL) override
        {
            if (block)
                --live;
            return block;
        }
        void STDMETHODCALLTYPE PostFree(BOOL) override {}
        SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** newBlock, BOOL) override
        {
            // Realloc of nothing allocates; realloc to nothing frees.
            pendingRealloc = block ? (size == 0 ? 2 : 0) : 1;
            *newBlock = block;
            return size;
        }
        void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override
        {
            if (pendingRealloc == 1 && block)
                ++live;
            else if (pendingRealloc == 2)
                --live;
            return block;
        }
        void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
        SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
        void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
        int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int allocated) override { return allocated; }
        void STDMETHODCALLTYPE PreHeapMinimize() override {}
        void STDMETHODCALLTYPE PostHeapMinimize() override {}
    };
    static Spy& spy()
    {
        static Spy instance;
        return instance;
    }

    static bool& stillRegistered()
    {
        static bool registered = false;
        return registered;
    }

    bool registered_ = false;
};
