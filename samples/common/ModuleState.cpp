#include "ModuleState.h"

#include <atomic>

namespace sample::module {
namespace {
HINSTANCE moduleInstance = nullptr;
std::atomic<long> objects{0};
std::atomic<long> locks{0};
}  // namespace

void setInstance(HINSTANCE instance) { moduleInstance = instance; }
HINSTANCE instance() { return moduleInstance; }

std::wstring path()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(moduleInstance, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);  // truncated: try a larger buffer
    }
}

void objectCreated() { ++objects; }
void objectDestroyed() { --objects; }
long liveObjects() { return objects.load(); }

void lock() { ++locks; }
void unlock() { --locks; }
bool canUnload() { return objects.load() == 0 && locks.load() == 0; }

}  // namespace sample::module
