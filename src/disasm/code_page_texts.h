// The code window's texts that come from the page table, marked for the translation tools;
// "%1" ... stand for the values that FillText puts in.
#pragma once

#include <string_view>

#include "disasm/code_page_table.h"
#include "host/translatable.h"

namespace quorvel {

// The page label after opening (N pages) and after showing page n of N.
inline constexpr std::string_view kFirstPageLabelText =
    QT_TRANSLATE_NOOP("CodeWindow", " 頁數1的 %1");
inline constexpr std::string_view kPageLabelText =
    QT_TRANSLATE_NOOP("CodeWindow", " 頁數 %1 的 %2");

static_assert(kAddressOutOfRangeText == QT_TRANSLATE_NOOP("CodeWindow", " 地址超值."));

}  // namespace quorvel
