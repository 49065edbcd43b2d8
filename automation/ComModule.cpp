#include "automation/ComModule.h"

#include <atomic>

namespace {
HINSTANCE moduleInstance = nullptr;
// Objects live in one apartment, but a class factory may be used from any thread.
std::atomic<long> locks{0};
}  // namespace

namespace ComModule {

void setInstance(HINSTANCE instance) { moduleInstance = instance; }

HINSTANCE instance() { return moduleInstance ? moduleInstance : GetModuleHandleW(nullptr); }

void lock() { ++locks; }
void unlock() { --locks; }
long lockCount() { return locks.load(); }

}  // namespace ComModule
