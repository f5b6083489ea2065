#include "shell_data_object.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

namespace {

struct PidlList {
    std::vector<PIDLIST_ABSOLUTE> items;
    ~PidlList() {
        for (PIDLIST_ABSOLUTE pidl : items)
            CoTaskMemFree(pidl);
    }
};

class HandMadeDataObject final : public IDataObject {
  public:
    HandMadeDataObject(std::vector<std::wstring> paths, bool offer)
        : paths_(std::move(paths)), offer_(offer) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *ppv = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&count_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&count_);
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!offer_ || format == nullptr || format->cfFormat != CF_HDROP ||
            (format->tymed & TYMED_HGLOBAL) == 0)
            return DV_E_FORMATETC;
        std::wstring list;
        for (const std::wstring& path : paths_) {
            list += path;
            list.push_back(L'\0');
        }
        list.push_back(L'\0');
        // With no path the list is one empty entry and its terminator: readers count
        // entries by walking to the double zero, so it must be there.
        if (paths_.empty())
            list.push_back(L'\0');
        const SIZE_T bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        if (block == nullptr)
            return E_OUTOFMEMORY;
        auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(),
                    list.size() * sizeof(wchar_t));
        GlobalUnlock(block);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return offer_ && format != nullptr && format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out != nullptr)
            out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

  private:
    ~HandMadeDataObject() = default;
    volatile LONG count_ = 1;
    std::vector<std::wstring> paths_;
    bool offer_;
};

} // namespace

ComRef<IDataObject> shellDataObject(const std::vector<std::wstring>& paths) {
    ComRef<IDataObject> result;
    if (paths.empty())
        return result;
    PidlList absolute;
    for (const std::wstring& path : paths) {
        PIDLIST_ABSOLUTE pidl = nullptr;
        if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &pidl, 0, nullptr)))
            return result;
        absolute.items.push_back(pidl);
    }
    ComRef<IShellFolder> parent;
    PCUITEMID_CHILD first = nullptr;
    if (FAILED(SHBindToParent(absolute.items[0], IID_IShellFolder, parent.putVoid(), &first)))
        return result;
    std::vector<PCUITEMID_CHILD> children;
    for (PIDLIST_ABSOLUTE pidl : absolute.items)
        children.push_back(ILFindLastID(pidl));
    parent->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(),
                          IID_IDataObject, nullptr, result.putVoid());
    return result;
}

ComRef<IDataObject> handMadeDataObject(const std::vector<std::wstring>& paths, bool offerDropList) {
    return ComRef<IDataObject>(new HandMadeDataObject(paths, offerDropList));
}
