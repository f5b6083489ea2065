#include "shellext/com/selection_win.h"

#include <shellapi.h>

namespace velk {
namespace {

// The medium GetData filled is released on every way out, exceptions included.
struct MediumScope {
    STGMEDIUM medium{};
    ~MediumScope() { ReleaseStgMedium(&medium); }
};

struct GlobalLockScope {
    HGLOBAL block;
    void* memory = GlobalLock(block);
    ~GlobalLockScope() {
        if (memory != nullptr)
            GlobalUnlock(block);
    }
};

} // namespace

HRESULT readDropList(IDataObject* data, std::vector<std::wstring>& paths) {
    if (data == nullptr)
        return E_FAIL;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    MediumScope scope;
    if (FAILED(data->GetData(&format, &scope.medium)))
        return E_FAIL;
    GlobalLockScope lock{scope.medium.hGlobal};
    if (lock.memory == nullptr)
        return S_OK;
    const HDROP drop = static_cast<HDROP>(scope.medium.hGlobal);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        // The entry's length first, then the whole entry into a buffer of that size.
        const UINT length = DragQueryFileW(drop, index, nullptr, 0);
        if (length == 0)
            continue;
        std::wstring path(static_cast<std::size_t>(length) + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, index, &path[0], length + 1);
        if (copied == 0)
            continue;
        path.resize(copied < length ? copied : length);
        paths.push_back(std::move(path));
    }
    return S_OK;
}

} // namespace velk
