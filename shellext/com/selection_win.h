#pragma once
// The selection the shell hands over: the file drop list of its data object.

#include <windows.h>

#include <objidl.h>

#include <string>
#include <vector>

namespace velk {

// Appends the CF_HDROP entries of the data object to paths, in the list's order, each whole
// whatever its length. E_FAIL when there is no data object or no drop list. May throw
// std::bad_alloc (entries read so far stay).
HRESULT readDropList(IDataObject* data, std::vector<std::wstring>& paths);

} // namespace velk
