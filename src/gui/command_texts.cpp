// The shared failure texts of the main window's commands.
#include "gui/command_texts.h"

namespace quorvel {

namespace {

std::string FileMessage(std::string_view file, std::string_view tail) {
  return " 檔案 " + std::string(file) + std::string(tail);
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

std::string CannotReadMessage(std::string_view file) { return FileMessage(file, " 不能讀取."); }
std::string CannotWriteMessage(std::string_view file) { return FileMessage(file, " 不能寫入."); }
std::string CannotOpenMessage(std::string_view file) { return FileMessage(file, " 不能開啟."); }
std::string WorkDirFailedMessage(std::string_view reason) {
  return " 工作資料夾不能建立: " + std::string(reason) + " ";
}
std::string PortUnusableMessage(std::string_view reason) {
  return " 並列埠不能使用: " + std::string(reason) + " ";
}
std::string InUseMessage(std::string_view file) { return FileMessage(file, " 在使用中 ."); }

std::string NotFormattedCardMessage(std::string_view file) {
  return FileMessage(file, " 不是已格式化的記憶卡.");
}

std::string WriteUnformattedImageQuestion(std::string_view file, int slot_number) {
  return FileMessage(
      file, " 不是已格式化的記憶卡,是否仍要寫入插槽" + std::to_string(slot_number) + "嗎? ");
}

std::string StoreFailureMessage(std::string_view name, TransferError error,
                                std::string_view action) {
  const std::string lead = " 檔案 " + std::string(name) + " " + std::string(action) + ": ";
  switch (error) {
    case TransferError::kNoSpace:
    case TransferError::kNotEnoughFreeBlocks:
      return lead + "空間不足.";
    case TransferError::kGameBlocksInUse:
      return lead + "遊戲必須放在第 0 區塊起, 但那裡已被使用.";
    case TransferError::kNoDirectorySlot:
      return lead + "記憶卡的目錄已滿.";
    case TransferError::kNotFormatted:
      return lead + "記憶卡沒有格式化.";
    case TransferError::kUnsafeCard:
      return lead + std::string(kUnsafeCardText);
    case TransferError::kNone:
    case TransferError::kSamePane:
    case TransferError::kReadFailed:
    case TransferError::kWriteFailed:
      break;
  }
  return {};
}

std::string OldSaveKeptMessage(std::string_view name) {
  return FileMessage(name, " 已加上, 但舊的同名檔案不能刪除.");
}

std::string ImportFailureMessage(std::string_view file, std::string_view name,
                                 const DciImportResult& result) {
  switch (result.file) {
    case DciImportResult::File::kCannotRead:
      return CannotReadMessage(file);
    case DciImportResult::File::kTooShort:
      return FileMessage(file, " 不完整.");
    case DciImportResult::File::kBadEntry:
      return FileMessage(file, " 的目錄資料無效, 不能加上.");
    case DciImportResult::File::kOk:
      break;
  }
  if (result.placement == TransferError::kNoSpace) return std::string(kNoSpaceMessage);
  return StoreFailureMessage(name, result.placement, kAddAction);
}

std::string VmsFailureMessage(std::string_view file, VmsError error) {
  switch (error) {
    case VmsError::kNone:
    case VmsError::kCancelled:
      return {};
    case VmsError::kVmsMissing:
      return FileMessage(file, " 不能尋找.");
    case VmsError::kVmsSize:
      return FileMessage(file, " 的大小不是 1 到 255 個完整的 Block.");
    case VmsError::kVmiSize:
    case VmsError::kVmiChecksum:
      return " 檔案 : " + std::string(file) + " 的格式並不支援!!!! ";
    case VmsError::kSizeMismatch:
      return FileMessage(file, " 的大小與它的 VMS 檔案不符.");
    case VmsError::kNameMismatch:
      return FileMessage(file, " 的名稱與它的 VMS 檔案不符.");
    case VmsError::kCannotRead:
      return CannotReadMessage(file);
    case VmsError::kKindUnclear:
      return FileMessage(file, " 不能分辨是遊戲或資料.");
    case VmsError::kBadName:
      return " 單元名稱必須是 1 到 12 個字元.";
    case VmsError::kResourceName:
      return FileMessage(file, " 的名稱太長, VMS 檔案名稱最多 8 個字元.");
    case VmsError::kCannotWrite:
      return CannotWriteMessage(file);
  }
  return {};
}

}  // namespace quorvel
