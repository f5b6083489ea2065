#pragma once
// The selection the shell hands over: the file drop list of its data object.

#include <windows.h>

#include <objidl.h>

#include <string>
#include <vector>

namespace velk {

// Appends the CF_HDROP entries of the data object to paths, in the list's order; each
// entry keeps at most its first 259 characters (a MAX_PATH buffer). With cut given, one flag
// is appended to it per entry appended: true when the entry was longer and lost its end, so
// that it now names some other file or none. E_FAIL when there is no data object or no drop
// list. May throw std::bad_alloc (entries read so far stay).
HRESULT readDropList(IDataObject* data, std::vector<std::wstring>& paths,
                     std::vector<bool>* cut = nullptr);

} // namespace velk
