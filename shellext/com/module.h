#pragma once
// Process-wide state of the velkshell module: its handle, the count of reasons it must stay
// loaded, and the one class it serves.

#include <windows.h>

#include <string>

namespace velk {

// Stored once at process attach; the DLL's path (registration, viewer location) and the
// resource instance of the property page come from it.
extern HINSTANCE moduleHandle;

// The whole path of this DLL, read into a buffer that grows until it fits; empty when it
// cannot be read whole.
std::wstring moduleFilePath();

// Holders: every live CVelkshell, every LockServer(TRUE), every property page and every
// page worker while it runs. Changed only by interlocked operations, because page workers
// release from their own threads and DllCanUnloadNow may run on any thread.
void moduleAddRef();
void moduleRelease();
LONG moduleRefCountValue();

// {5D2E8B71-9C04-4F6A-B3E8-1A7C6D92F045}
extern const CLSID kVelkshellClsid;
// The registry form: braces, upper-case hex digits.
extern const wchar_t kVelkshellClsidText[];

} // namespace velk
