#pragma once
// The "Hashes" page of the Properties dialog.

#include <windows.h>

#include <prsht.h>
#include <shobjidl.h>

#include <string>
#include <vector>

namespace velk {

// IShellPropSheetExt::AddPages for the object's selection: one page for one file (or the
// target of a shortcut), nothing otherwise. Never throws.
HRESULT addHashPages(const std::vector<std::wstring>& selectedPaths, LPFNSVADDPROPSHEETPAGE addPage,
                     LPARAM lParam);

} // namespace velk
