#pragma once
// The page's dialog template: an empty in-memory DLGTEMPLATE (controls are created at run
// time), laid out byte for byte as the dialog manager reads it.

#include <cstddef>
#include <cstdint>

namespace velk {

// DLGTEMPLATE (18 bytes, packed to 2) followed by the empty menu, class and title words.
// No DS_SETFONT, so no font block follows.
struct alignas(4) PageDialogTemplate {
    std::uint32_t style;
    std::uint32_t extendedStyle;
    std::uint16_t itemCount;
    std::int16_t x, y, cx, cy; // dialog units
    std::uint16_t menu;        // 0: no menu
    std::uint16_t windowClass; // 0: the dialog class
    std::uint16_t title;       // 0: empty title
};

static_assert(offsetof(PageDialogTemplate, itemCount) == 8, "DLGTEMPLATE layout");
static_assert(offsetof(PageDialogTemplate, cy) == 16, "DLGTEMPLATE layout");
static_assert(offsetof(PageDialogTemplate, menu) == 18, "menu word follows DLGTEMPLATE");
static_assert(sizeof(PageDialogTemplate) == 24, "no trailing padding");

// WS_CHILD | WS_VISIBLE | WS_VSCROLL | DS_CONTROL | DS_3DLOOK, 248 x 218 units at (0, 0).
extern const PageDialogTemplate kPageDialogTemplate;

} // namespace velk
