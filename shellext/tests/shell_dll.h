#pragma once
// The built velkshell.dll, loaded directly by a test program that lives beside it in bin/.

#include <windows.h>

#include <string>

using DllGetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using DllSimpleFn = HRESULT(WINAPI*)();

// The folder of the running test program, with a trailing backslash.
std::wstring testProgramFolder();

struct ShellDll {
    HMODULE module = nullptr;
    DllGetClassObjectFn getClassObject = nullptr;
    DllSimpleFn canUnloadNow = nullptr;
    DllSimpleFn registerServer = nullptr;
    DllSimpleFn unregisterServer = nullptr;
};

// Loads the DLL at the path once per process and keeps it loaded.
const ShellDll& loadShellDll(const std::wstring& path);

// Exit code of "regsvr32.exe ARGUMENTS" started as its own process, or -1 when it cannot
// start or does not end within 30 s.
long runRegsvr32(const std::wstring& arguments);

// {5D2E8B71-9C04-4F6A-B3E8-1A7C6D92F045}, written out here so a wrong constant in the DLL
// cannot agree with itself.
extern const CLSID kTestClsid;
