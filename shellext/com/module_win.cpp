#include "shellext/com/module.h"

#include "engine/module_path.h"

namespace velk {

HINSTANCE moduleHandle = nullptr;

namespace {
volatile LONG moduleRefCount = 0;
} // namespace

std::wstring moduleFilePath() {
    return modulePathOf(moduleHandle);
}

void moduleAddRef() {
    InterlockedIncrement(&moduleRefCount);
}
void moduleRelease() {
    InterlockedDecrement(&moduleRefCount);
}
LONG moduleRefCountValue() {
    return moduleRefCount;
}

const CLSID kVelkshellClsid = {
    0x5D2E8B71, 0x9C04, 0x4F6A, {0xB3, 0xE8, 0x1A, 0x7C, 0x6D, 0x92, 0xF0, 0x45}};
const wchar_t kVelkshellClsidText[] = L"{5D2E8B71-9C04-4F6A-B3E8-1A7C6D92F045}";

} // namespace velk
