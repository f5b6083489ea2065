#include "property_page.h"

namespace velk {

// Placeholder until the page lands: no page is added.
HRESULT addHashPages(const std::vector<std::wstring>&, LPFNSVADDPROPSHEETPAGE, LPARAM) {
    return S_OK;
}

} // namespace velk
