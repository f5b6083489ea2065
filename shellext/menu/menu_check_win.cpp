// The menu's "Clipboard Check": digests (the menu's or computed now), the clipboard, one
// message box.

#include "shellext/com/velkshell_object_win.h"

#include "engine/clipboard_token.h"
#include "engine/pass/hash_file.h"
#include "engine/utf16.h"
#include "shellext/menu/menu_check.h"
#include "shellext/menu/shell_commands.h"

namespace velk {
namespace {

UINT iconFlag(NoticeIcon icon) {
    switch (icon) {
    case NoticeIcon::Warning:
        return MB_ICONWARNING;
    case NoticeIcon::Error:
        return MB_ICONERROR;
    case NoticeIcon::Information:
        break;
    }
    return MB_ICONINFORMATION;
}

void show(const Notice& notice) {
    const std::wstring text = toUtf16(notice.text);
    const std::wstring caption = toUtf16(notice.caption);
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | iconFlag(notice.icon));
}

} // namespace

void CVelkshell::runClipboardCheck() const {
    const long long size = fileSizeOf(currentPath);
    if (checkSkipsLargeFile(allComputed, size)) {
        show(largeFileNotice());
        return;
    }
    // The digests come first, so an unreadable file is reported whatever the clipboard holds.
    HashResults computedNow;
    const HashResults* digests = &allDigests;
    if (!allComputed) {
        // A file elsewhere, or one that takes longer than the budget, goes to the viewer,
        // which hashes in the background and has a check of its own.
        if (contentIsRemote(filePlaceOf(currentPath))) {
            launchViewer(currentPath);
            return;
        }
        const BoundedRead read(size, true);
        if (!computeAllHashes(utf8Path, computedNow, nullptr, read.options())) {
            if (read.stopped())
                launchViewer(currentPath);
            else
                show(unreadableNotice());
            return;
        }
        digests = &computedNow;
    }
    show(clipboardCheckNotice(*digests, readClipboardText()));
}

} // namespace velk
