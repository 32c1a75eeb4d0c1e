// What the main window's commands tell the user when a file or a card refuses them: one place
// for the texts that several commands share.
#pragma once

#include <string>
#include <string_view>

#include "card/dci_file.h"
#include "card/save_transfer.h"
#include "card/vms_file.h"

namespace quorvel {

// A save's 12 name bytes as the panes show them (each byte the character of the same number),
// in UTF-8 for a message, without the zero bytes that pad a short name.
std::string SaveNameText(std::string_view name);

// " 檔案 FILE 不能讀取." / " 檔案 FILE 不能寫入." / " 檔案 FILE 不能開啟." for a file the platform
// would not read, write or open.
std::string CannotReadMessage(std::string_view file);
std::string CannotWriteMessage(std::string_view file);
std::string CannotOpenMessage(std::string_view file);
// The working folder of --work-dir or --user-work-dir cannot be made; `reason` names the
// folder and the system's reason.
std::string WorkDirFailedMessage(std::string_view reason);
// The configured parallel port cannot be used; `reason` is the port's own account (no ppdev
// device, no permission, busy), as quorvel-cli probe shows it.
std::string PortUnusableMessage(std::string_view reason);
// A card file in use (the open image, a virtual card's file, a file another program holds).
std::string InUseMessage(std::string_view file);

// " 檔案 FILE 不是已格式化的記憶卡." for an image whose root block and FAT hold no formatted
// card (the pane then shows it as unformatted).
std::string NotFormattedCardMessage(std::string_view file);
// Asked before an image that holds no formatted card is written over the card in slot 1 or 2.
std::string WriteUnformattedImageQuestion(std::string_view file, int slot_number);

// Why the save `name` was not stored on the target (no room, no place for a game at block 0,
// a full directory), e.g. " 檔案 NAME 不能複製: 空間不足." with `action` CopyAction(); empty
// when the block layer has already said it (a failed read or write) or there is nothing to say.
// The texts of this file are translated into the window's language.
std::string StoreFailureMessage(std::string_view name, TransferError error,
                                std::string_view action);
// "不能複製" (cannot be copied) and "不能加上" (cannot be added).
std::string CopyAction();
std::string AddAction();
// The card's structure is damaged (a cross-linked chain, a broken directory chain, a root that
// names other blocks): the card layer writes nothing to it.
std::string UnsafeCardText();

// " 檔案 NAME 已加上, 但舊的同名檔案不能刪除." when a replace stored the new save but the old
// one of that name could not be deleted (the card lists both).
std::string OldSaveKeptMessage(std::string_view name);

// Why the single-save file `file` holding the save `name` was not added: "空間不足." when
// the card lacks the blocks, the store failure texts otherwise; empty when the block layer has
// already said it.
std::string ImportFailureMessage(std::string_view file, std::string_view name,
                                 const DciImportResult& result);

// Why a VMS/VMI pair was not read or written; `file` is the file of the pair the reason is
// about. Empty for a question the user cancelled.
std::string VmsFailureMessage(std::string_view file, VmsError error);

}  // namespace quorvel
