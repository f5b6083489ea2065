#include "shellext/com/velkshell_object_win.h"

#include "shellext/com/module.h"
#include "shellext/com/selection_win.h"
#include "shellext/page/property_page.h"

#include <new>

namespace velk {

CVelkshell::CVelkshell() {
    moduleAddRef();
}

CVelkshell::~CVelkshell() {
    // Before the fields: the members are destroyed after this body, in reverse order.
    moduleRelease();
}

HRESULT STDMETHODCALLTYPE CVelkshell::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IShellExtInit)) {
        *ppv = static_cast<IShellExtInit*>(this);
    } else if (IsEqualIID(riid, IID_IContextMenu)) {
        *ppv = static_cast<IContextMenu*>(this);
    } else if (IsEqualIID(riid, IID_IShellPropSheetExt)) {
        *ppv = static_cast<IShellPropSheetExt*>(this);
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CVelkshell::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&refCount));
}

ULONG STDMETHODCALLTYPE CVelkshell::Release() {
    const LONG count = InterlockedDecrement(&refCount);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE CVelkshell::Initialize(PCIDLIST_ABSOLUTE, IDataObject* pdtobj, HKEY) {
    // A new selection replaces the old one, and with it everything derived from it: a
    // second Initialize must not leave the first selection's path, digests or commands.
    currentPath.clear();
    selectedPaths.clear();
    utf8Path.clear();
    allComputed = false;
    commands.clear();
    try {
        if (FAILED(readDropList(pdtobj, selectedPaths)) || selectedPaths.empty())
            return E_FAIL;
        currentPath = selectedPaths.front();
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT STDMETHODCALLTYPE CVelkshell::AddPages(LPFNSVADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) {
    try {
        return addHashPages(selectedPaths, pfnAddPage, lParam);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT STDMETHODCALLTYPE CVelkshell::ReplacePage(EXPPS, LPFNSVADDPROPSHEETPAGE, LPARAM) {
    return E_NOTIMPL;
}

} // namespace velk
