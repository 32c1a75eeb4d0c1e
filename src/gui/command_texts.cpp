// The shared failure texts of the main window's commands.
#include "gui/command_texts.h"

#include <QCoreApplication>

#include "card/dcm_file.h"
#include "gui/translations.h"
#include "host/translatable.h"

namespace quorvel {

namespace {

// A shared text of the commands, translated, with its values filled in.
std::string Text(const char* text, std::initializer_list<std::string_view> values = {}) {
  return Filled(QCoreApplication::translate("CommandTexts", text), values);
}

}  // namespace

std::string SaveNameText(std::string_view name) {
  while (!name.empty() && name.back() == '\0') name.remove_suffix(1);
  std::string text;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

std::string CannotReadMessage(std::string_view file) {
  return Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 不能讀取."), {file});
}
std::string CannotWriteMessage(std::string_view file) {
  return Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 不能寫入."), {file});
}
std::string CannotOpenMessage(std::string_view file) {
  return Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 不能開啟."), {file});
}
std::string WorkDirFailedMessage(std::string_view reason) {
  return Text(QT_TRANSLATE_NOOP("CommandTexts", " 工作資料夾不能建立: %1 "), {reason});
}
std::string PortUnusableMessage(std::string_view reason) {
  return Text(QT_TRANSLATE_NOOP("CommandTexts", " 並列埠不能使用: %1 "), {reason});
}
std::string InUseMessage(std::string_view file) {
  return Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 在使用中 ."), {file});
}

std::string NotFormattedCardMessage(std::string_view file) {
  return Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 不是已格式化的記憶卡."), {file});
}

std::string WriteUnformattedImageQuestion(std::string_view file, int slot_number) {
  return Text(
      QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 不是已格式化的記憶卡,是否仍要寫入插槽%2嗎? "),
      {file, std::to_string(slot_number)});
}

std::string UnsafeCardText() {
  return Text(QT_TRANSLATE_NOOP("CommandTexts", "記憶卡的結構已損壞, 不能寫入."));
}
std::string CopyAction() { return Text(QT_TRANSLATE_NOOP("CommandTexts", "不能複製")); }
std::string AddAction() { return Text(QT_TRANSLATE_NOOP("CommandTexts", "不能加上")); }

std::string StoreFailureMessage(std::string_view name, TransferError error,
                                std::string_view action) {
  const auto says = [&](const char* text) { return Text(text, {name, action}); };
  switch (error) {
    case TransferError::kNoSpace:
    case TransferError::kNotEnoughFreeBlocks:
      return says(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 %2: 空間不足."));
    case TransferError::kGameBlocksInUse:
      return says(QT_TRANSLATE_NOOP("CommandTexts",
                                    " 檔案 %1 %2: 遊戲必須放在第 0 區塊起, 但那裡已被使用."));
    case TransferError::kNoDirectorySlot:
      return says(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 %2: 記憶卡的目錄已滿."));
    case TransferError::kNotFormatted:
      return says(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 %2: 記憶卡沒有格式化."));
    case TransferError::kUnsafeCard:
      return FillText(Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 %2: %3")),
                      {name, action, UnsafeCardText()});
    case TransferError::kBadEntry:
      return says(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 %2: 目錄資料無效."));
    case TransferError::kNone:
    case TransferError::kSamePane:
    case TransferError::kReadFailed:
    case TransferError::kWriteFailed:
    case TransferError::kCancelled:  // told with CancelledMessage
      break;
  }
  return {};
}

std::string OldSaveKeptMessage(std::string_view name) {
  return Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 已加上, 但舊的同名檔案不能刪除."),
              {name});
}

std::string ImportFailureMessage(std::string_view file, std::string_view name,
                                 const DciImportResult& result) {
  switch (result.file) {
    case DciImportResult::File::kCannotRead:
      return CannotReadMessage(file);
    case DciImportResult::File::kTooShort:
      return Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 不完整."), {file});
    case DciImportResult::File::kBadEntry:
      return Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 的目錄資料無效, 不能加上."), {file});
    case DciImportResult::File::kOk:
      break;
  }
  if (result.placement == TransferError::kNoSpace) return ShownText(kNoSpaceMessage).toStdString();
  return StoreFailureMessage(name, result.placement, AddAction());
}

std::string VmsFailureMessage(std::string_view file, VmsError error) {
  switch (error) {
    case VmsError::kNone:
    case VmsError::kCancelled:
      return {};
    case VmsError::kVmsMissing:
      return Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 不能尋找."), {file});
    case VmsError::kVmsSize:
      return Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 的大小不是 1 到 255 個完整的 Block."),
                  {file});
    case VmsError::kVmiSize:
    case VmsError::kVmiChecksum:
      return ShownText(UnsupportedImageMessage(file, false)).toStdString();
    case VmsError::kSizeMismatch:
      return Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 的大小與它的 VMS 檔案不符."), {file});
    case VmsError::kNameMismatch:
      return Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 的名稱與它的 VMS 檔案不符."), {file});
    case VmsError::kCannotRead:
      return CannotReadMessage(file);
    case VmsError::kKindUnclear:
      return Text(QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 不能分辨是遊戲或資料."), {file});
    case VmsError::kBadName:
      return Text(QT_TRANSLATE_NOOP("CommandTexts", " 單元名稱必須是 1 到 12 個字元."));
    case VmsError::kResourceName:
      return Text(
          QT_TRANSLATE_NOOP("CommandTexts", " 檔案 %1 的名稱太長, VMS 檔案名稱最多 8 個字元."),
          {file});
    case VmsError::kCannotWrite:
      return CannotWriteMessage(file);
  }
  return {};
}

}  // namespace quorvel
