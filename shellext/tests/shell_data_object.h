#pragma once
// Data objects as the file manager builds them for a selection, and hand-made ones for the
// cases the shell cannot produce.

#include "com_ptr.h"

#include <objidl.h>

#include <string>
#include <vector>

// The shell's own data object for items of one folder, in the order given (parse each
// path, bind to the parent folder, GetUIObjectOf(IID_IDataObject)). Empty on failure.
ComRef<IDataObject> shellDataObject(const std::vector<std::wstring>& paths);

// A data object whose CF_HDROP is a drop list of exactly these paths (no length limit),
// or, with offerDropList false, one that has no CF_HDROP at all.
ComRef<IDataObject> handMadeDataObject(const std::vector<std::wstring>& paths,
                                       bool offerDropList = true);
