// IContextMenu of CVelkshell. Interim: the menu is not built yet, so nothing is added.
#include "shellext/velkshell_object_win.h"

namespace velk {

HRESULT STDMETHODCALLTYPE CVelkshell::QueryContextMenu(HMENU, UINT, UINT, UINT, UINT) {
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
}
HRESULT STDMETHODCALLTYPE CVelkshell::InvokeCommand(CMINVOKECOMMANDINFO*) { return E_FAIL; }
HRESULT STDMETHODCALLTYPE CVelkshell::GetCommandString(UINT_PTR, UINT, UINT*, CHAR*, UINT) {
    return E_NOTIMPL;
}

} // namespace velk
