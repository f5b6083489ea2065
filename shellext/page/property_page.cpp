#include "shellext/page/property_page.h"

#include "shellext/com/module.h"
#include "shellext/menu/shell_commands.h"
#include "shellext/page/page_dialog.h"
#include "shellext/page/page_shortcut.h"
#include "shellext/page/page_state.h"
#include "shellext/page/page_template.h"

#include <memory>
#include <new>

namespace velk {
namespace {

// The page record with every member of the newest layout (the SDK's fourth version, which
// this tool chain's headers stop short of); the sheet copies dwSize bytes of it.
struct PropSheetPageLatest {
    PROPSHEETPAGEW_V1_FIELDS
    LPCWSTR pszHeaderTitle;
    LPCWSTR pszHeaderSubTitle;
    HANDLE hActCtx;
    union {
        HBITMAP hbmHeader;
        LPCWSTR pszbmHeader;
    };
};
static_assert(offsetof(PropSheetPageLatest, hActCtx) == offsetof(PROPSHEETPAGEW_V3, hActCtx),
              "same layout as the headers' newest record up to its end");

UINT CALLBACK pageCallback(HWND, UINT message, LPPROPSHEETPAGEW page) {
    if (message == PSPCB_RELEASE && page != nullptr) {
        delete reinterpret_cast<PropertyPageState*>(page->lParam);
        moduleRelease();
    }
    return 1;
}

HRESULT addPageFor(const std::wstring& currentPath, LPFNSVADDPROPSHEETPAGE addPage, LPARAM lParam) {
    const DWORD attributes = fileAttributesOf(currentPath);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return S_OK;
    }

    auto state = std::make_unique<PropertyPageState>();
    state->selectedPath = currentPath;
    state->targetPath = resolveShortcutTarget(state->selectedPath);

    PropSheetPageLatest page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE | PSP_USECALLBACK;
    page.hInstance = moduleHandle;
    page.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(&kPageDialogTemplate);
    page.pszTitle = L"Hashes";
    page.pfnDlgProc = pageDialogProc;
    page.lParam = reinterpret_cast<LPARAM>(state.get());
    page.pfnCallback = pageCallback;

    moduleAddRef();
    HPROPSHEETPAGE sheetPage = CreatePropertySheetPageW(reinterpret_cast<LPCPROPSHEETPAGEW>(&page));
    if (sheetPage == nullptr) {
        moduleRelease();
        return E_OUTOFMEMORY;
    }
    state.release(); // the page's release callback deletes it
    if (addPage == nullptr || !addPage(sheetPage, lParam))
        DestroyPropertySheetPage(sheetPage);
    return S_OK;
}

} // namespace

HRESULT addHashPages(const std::vector<std::wstring>& selectedPaths, LPFNSVADDPROPSHEETPAGE addPage,
                     LPARAM lParam) {
    if (selectedPaths.size() != 1 || selectedPaths.front().empty())
        return S_OK;
    try {
        return addPageFor(selectedPaths.front(), addPage, lParam);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

} // namespace velk
