// IContextMenu::QueryContextMenu of CVelkshell: hash what the limits allow, build the item
// tree (menu_model) and insert it into the shell's menu.

#include "shellext/com/velkshell_object_win.h"

#include "checksum/algorithm_names.h"
#include "checksum/checksum_reader.h"
#include "engine/pass/hash_file.h"
#include "engine/pass/hash_one.h"
#include "engine/unique_handle.h"
#include "engine/utf16.h"
#include "settings/label_format.h"
#include "settings/settings.h"
#include "shellext/menu/command_text.h"
#include "shellext/menu/menu_model.h"
#include "shellext/menu/shell_commands.h"

#include <new>

namespace velk {
namespace {

struct MenuTraits {
    using Handle = HMENU;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { DestroyMenu(h); }
};
// A popup not yet inserted; once the shell's menu holds it, it is released.
using UniqueMenu = UniqueHandle<MenuTraits>;

HRESULT commandCount(std::size_t count) {
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, static_cast<USHORT>(count));
}

// The screen context with the stock GUI font selected, for the whole build.
class ScreenTextMeasure {
  public:
    ScreenTextMeasure() : dc_(GetDC(nullptr)) {
        if (dc_ != nullptr)
            previous_ = SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT));
    }
    ~ScreenTextMeasure() {
        if (dc_ == nullptr)
            return;
        SelectObject(dc_, previous_);
        ReleaseDC(nullptr, dc_);
    }
    ScreenTextMeasure(const ScreenTextMeasure&) = delete;
    ScreenTextMeasure& operator=(const ScreenTextMeasure&) = delete;

    long operator()(const std::string& text) const {
        const std::wstring wide = toUtf16(text);
        SIZE size{};
        if (dc_ == nullptr ||
            !GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size))
            return 0;
        return size.cx;
    }

  private:
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};

// Appends the children of a placed popup to menu, in order; nested popups are built first
// and handed to the menu once inserted.
void fillPopup(HMENU menu, const MenuNode& node) {
    for (const MenuNode& child : node.children) {
        const std::wstring text = toUtf16(child.text);
        if (child.popup) {
            UniqueMenu popup(CreatePopupMenu());
            if (!popup)
                continue;
            fillPopup(popup.get(), child);
            if (InsertMenuW(menu, static_cast<UINT>(-1), MF_BYPOSITION | MF_POPUP,
                            reinterpret_cast<UINT_PTR>(popup.get()), text.c_str()))
                popup.release();
        } else {
            InsertMenuW(menu, static_cast<UINT>(-1), MF_BYPOSITION | MF_STRING, child.id,
                        text.c_str());
        }
    }
}

// Inserts the placed top-level entry (if any) at indexMenu of the shell's menu.
void insertPlaced(HMENU hmenu, UINT indexMenu, const PlacedMenu& placed) {
    for (const MenuNode& entry : placed.entries) {
        const std::wstring text = toUtf16(entry.text);
        if (!entry.popup) {
            InsertMenuW(hmenu, indexMenu, MF_BYPOSITION | MF_STRING, entry.id, text.c_str());
            continue;
        }
        UniqueMenu popup(CreatePopupMenu());
        if (!popup)
            continue;
        fillPopup(popup.get(), entry);
        if (InsertMenuW(hmenu, indexMenu, MF_BYPOSITION | MF_POPUP,
                        reinterpret_cast<UINT_PTR>(popup.get()), text.c_str()))
            popup.release();
    }
}

} // namespace

HRESULT STDMETHODCALLTYPE CVelkshell::QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst,
                                                       UINT idCmdLast, UINT uFlags) {
    try {
        return queryContextMenu(hmenu, indexMenu, idCmdFirst, idCmdLast, uFlags);
    } catch (...) {
        // Out of memory part-way: whatever was inserted stays, but no command answers it.
        commands.clear();
        return commandCount(0);
    }
}

HRESULT CVelkshell::queryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                     UINT uFlags) {
    if ((uFlags & CMF_DEFAULTONLY) != 0)
        return commandCount(0);
    commands.clear();

    if (selectedPaths.size() >= 2) {
        // Several files: nothing is opened or hashed while the menu opens. Their attributes
        // alone say whether they are files, to offer comparing two or listing them all.
        const std::vector<SelectedKind> kinds = selectedKinds(selectedPaths);
        const bool list = offersList(kinds) && fitsCommandLine(viewerExecutablePath(),
                                                               createListArguments(selectedPaths));
        PlacedMenu placed =
            placeMenu(selectionMenu(offersCompare(kinds), list), idCmdFirst, idCmdLast);
        insertPlaced(hmenu, indexMenu, placed);
        commands = std::move(placed.commands);
        return commandCount(commands.size());
    }

    const DWORD attributes = fileAttributesOf(currentPath);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return commandCount(0);

    utf8Path = toUtf8(currentPath);
    long long size = fileSizeOf(currentPath);
    if (size < 0)
        size = 0;

    Settings settings = loadSettings();
    normalizeLabelSettings(settings);

    allComputed = false;
    std::string labelDigest;
    bool hashed = false;
    // A file whose content is elsewhere is never read for a menu; a local one is read up to
    // the size measured above, for at most the budget.
    const MenuHashing hashing = contentIsRemote(filePlaceOf(currentPath))
                                    ? MenuHashing::None
                                    : chooseMenuHashing(settings.compute_all_menus, size);
    const BoundedRead read(size, true);
    switch (hashing) {
    case MenuHashing::AllDigests:
        allComputed = computeAllHashes(utf8Path, allDigests, nullptr, read.options());
        if (allComputed) {
            const auto found = allDigests.find(settings.label_algo);
            if (found != allDigests.end())
                labelDigest = found->second;
        }
        hashed = allComputed;
        break;
    case MenuHashing::LabelDigest:
        hashed = computeHash(utf8Path, settings.label_algo, labelDigest, nullptr, read.options());
        break;
    case MenuHashing::None:
        break;
    }

    if (!hashed) {
        // Unreadable, too large, elsewhere or too slow: one item that opens the viewer, which
        // hashes in the background.
        PlacedMenu placed = placeMenu(fallbackItem(), idCmdFirst, idCmdLast);
        insertPlaced(hmenu, indexMenu, placed);
        commands = std::move(placed.commands);
        return commandCount(commands.size());
    }

    const FileMenuInput input{settings.label_algo, settings.label_format, labelDigest,
                              allComputed ? &allDigests : nullptr,
                              isChecksumFileName(checksumFileNameOf(utf8Path))};
    MenuNode tree;
    {
        const ScreenTextMeasure screenMeasure;
        const long maxWidth = maxItemWidth(GetSystemMetrics(SM_CXSCREEN));
        tree = fileMenu(
            input, [&screenMeasure](const std::string& text) { return screenMeasure(text); },
            maxWidth);
    }
    PlacedMenu placed = placeMenu(std::move(tree), idCmdFirst, idCmdLast);
    insertPlaced(hmenu, indexMenu, placed);
    commands = std::move(placed.commands);
    return commandCount(commands.size());
}

} // namespace velk
