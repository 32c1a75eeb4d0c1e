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

// Why a code file could not be read (the code window and quorvel-cli's listing): the file,
// then the system's reason.
inline constexpr std::string_view kCodeOpenErrorText =
    QT_TRANSLATE_NOOP("CodeWindow", " 檔案 %1 無法開啟: %2 ");
inline constexpr std::string_view kCodeSizeErrorText =
    QT_TRANSLATE_NOOP("CodeWindow", " 檔案 %1 無法取得大小: %2 ");
inline constexpr std::string_view kCodeSeekErrorText =
    QT_TRANSLATE_NOOP("CodeWindow", " 檔案 %1 無法定位: %2 ");
inline constexpr std::string_view kCodeReadErrorText =
    QT_TRANSLATE_NOOP("CodeWindow", " 檔案 %1 無法讀取: %2 ");
// The reason of kCodeReadErrorText when the file shrank while it was read.
inline constexpr std::string_view kCodeShrankText =
    QT_TRANSLATE_NOOP("CodeWindow", "讀取時檔案變短了");
// A patch could not be written to the code file.
inline constexpr std::string_view kCodeWriteErrorText =
    QT_TRANSLATE_NOOP("CodeWindow", " 檔案 %1 無法寫入: %2 ");
// Paging and patching asked for what is not there.
inline constexpr std::string_view kNoSuchPageText =
    QT_TRANSLATE_NOOP("CodeWindow", " 沒有第 %1 頁, 只有 %2 頁. ");
inline constexpr std::string_view kNoInstructionText =
    QT_TRANSLATE_NOOP("CodeWindow", " 沒有選擇指令. ");
inline constexpr std::string_view kPatchTooShortText =
    QT_TRANSLATE_NOOP("CodeWindow", " 這個指令需要 %1 個位元組. ");

}  // namespace quorvel
