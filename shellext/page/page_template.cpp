#include "shellext/page/page_template.h"

#include "shellext/page/page_controls.h"

namespace velk {
namespace {
constexpr std::uint32_t kDsControl = 0x0400;
constexpr std::uint32_t kDs3dLook = 0x0004;
} // namespace

const PageDialogTemplate kPageDialogTemplate = {page_style::kChild | page_style::kVisible |
                                                    page_style::kVScroll | kDsControl | kDs3dLook,
                                                0,
                                                0,
                                                0,
                                                0,
                                                248,
                                                218,
                                                0,
                                                0,
                                                0};

} // namespace velk
