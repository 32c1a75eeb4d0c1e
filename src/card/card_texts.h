// The card layer's texts that the user is shown, marked for the translation tools: the
// window shows them translated and quorvel-cli in English (app/core_texts.h lists them).
// "%1" ... stand for the values that FillText puts in.
#pragma once

#include <string_view>

#include "card/block_source.h"
#include "card/bmp_file.h"
#include "card/dci_file.h"
#include "host/translatable.h"

namespace quorvel {

// A block written with verify on did not read back as written, after the retries.
inline constexpr std::string_view kVerifyFailureText =
    QT_TRANSLATE_NOOP("Card", " 區塊 %1 寫入後讀回的資料不符, 已停止. ");
// A write to an image file opened for reading only.
inline constexpr std::string_view kReadOnlyImageText =
    QT_TRANSLATE_NOOP("Card", " 檔案 %1 是唯讀檔案, 不能寫入. ");
// An image of the wrong size is opened, or loaded into a slot (a blank before the "!!!!").
inline constexpr std::string_view kUnsupportedImageText =
    QT_TRANSLATE_NOOP("Card", " 檔案 : %1 的格式並不支援!!!! ");
inline constexpr std::string_view kUnsupportedImageIntoSlotText =
    QT_TRANSLATE_NOOP("Card", " 檔案 : %1 的格式並不支援 !!!! ");
// The template image is too short.
inline constexpr std::string_view kInvalidTemplateText =
    QT_TRANSLATE_NOOP("Card", " 檔案 : %1 是無效的! ");
// The journal of card writes could not be written (the reason), so the card was not changed.
inline constexpr std::string_view kJournalFailureText =
    QT_TRANSLATE_NOOP("Card", " 無法寫入變更記錄 (%1), 記憶卡沒有被改變. ");
// Why a command could not be recorded (the reason of kJournalFailureText), besides a file
// error: the card's root block or one of the blocks the command declared could not be read.
inline constexpr std::string_view kJournalRootUnreadableText =
    QT_TRANSLATE_NOOP("Card", "記憶卡的根區塊無法讀取");
inline constexpr std::string_view kJournalBlockUnreadableText =
    QT_TRANSLATE_NOOP("Card", "區塊 %1 無法讀取");
// The journal file PATH was damaged (REASON) and was set aside as ASIDE.
inline constexpr std::string_view kJournalSetAsideText =
    QT_TRANSLATE_NOOP("Card", " 變更記錄檔 %1 已損壞 (%2), 已另存為 %3 , 不會被使用. ");
// The damage (the reason of kJournalSetAsideText).
inline constexpr std::string_view kJournalUnreadableText = QT_TRANSLATE_NOOP("Card", "無法讀取");
inline constexpr std::string_view kJournalOtherVersionText =
    QT_TRANSLATE_NOOP("Card", "由另一個版本寫入");
inline constexpr std::string_view kJournalTruncatedText = QT_TRANSLATE_NOOP("Card", "檔案不完整");
inline constexpr std::string_view kJournalCorruptText = QT_TRANSLATE_NOOP("Card", "內容錯誤");
// The status label while a save is copied.
inline constexpr std::string_view kCopyingStatusText = QT_TRANSLATE_NOOP("Card", "      複製中...");

// How a command that was asked to stop left the card (see CancelledMessage): before its first
// write, or a backup before its file was written; a save's store half-way (the FAT and the
// directory unwritten); a whole-card command half-way, its old blocks written back or not.
inline constexpr std::string_view kCancelledCardUnchangedText =
    QT_TRANSLATE_NOOP("Card", " 已取消, 記憶卡沒有被改變. ");
inline constexpr std::string_view kCancelledFileUnwrittenText =
    QT_TRANSLATE_NOOP("Card", " 已取消, 檔案沒有被寫入. ");
inline constexpr std::string_view kCancelledSavesUnchangedText =
    QT_TRANSLATE_NOOP("Card", " 已取消, 記憶卡上的存檔沒有被改變. ");
inline constexpr std::string_view kCancelledPutBackText =
    QT_TRANSLATE_NOOP("Card", " 已取消, 記憶卡已還原成原來的內容. ");
inline constexpr std::string_view kCancelledNotPutBackText =
    QT_TRANSLATE_NOOP("Card", " 已取消, 但記憶卡無法完全還原, 請用復原再試一次. ");

// The texts their own headers define, marked here (and checked to be the same).
static_assert(kReadConnectionError ==
              QT_TRANSLATE_NOOP("Card",
                                "連接錯誤!(請先關閉自動重新整理功能,再檢查程式的速度值,"
                                "電源和連接器等問題..). "));
static_assert(kWriteConnectionError ==
              QT_TRANSLATE_NOOP("Card",
                                "連接錯誤!(請先關閉自動重新整理功能,再檢查程式的速度值,"
                                "電源和連接器等問題..).  "));
static_assert(kBmpFormatMessage ==
              QT_TRANSLATE_NOOP("Card",
                                " BMP 檔案類型必須是 32 x 32 像素, 256 調色板和 8-bits 格式."));
static_assert(kNoSpaceMessage == QT_TRANSLATE_NOOP("Card", "空間不足."));

}  // namespace quorvel
