// Single-save files and icon pictures of the main window: adding a single-save file to a pane
// with its questions, and the selected-save dialog's choices that write one save to a
// single-save file or its shown icon frame to a BMP picture.
#include <filesystem>
#include <string>

#include "card/dci_file.h"
#include "card/icon_frames.h"
#include "card/save_transfer.h"
#include "gui/command_texts.h"
#include "gui/file_chooser.h"
#include "gui/tform1.h"

namespace quorvel {

namespace {

constexpr std::string_view kImportFilter =
    "DCI file format|*.DCI|binary file format|*.BIN|ALL format |*.*";
constexpr std::string_view kExportFilter =
    "DCI file format|*.DCI|binary file format|*.BIN|ALL format|*.*";

// " 檔案 NAME 不能尋找."; the slot-2 command has no blank between " 檔案" and the name.
std::string NotFoundMessage(int pane, const std::string& file) {
  return (pane == kPaneSlot2 ? " 檔案" : " 檔案 ") + file + " 不能尋找.";
}

std::string AppendQuestion(const std::string& name) {
  return " 檔案 " + name + " 己存在,是否要附加這檔案嗎? ";
}

// What adding the single-save file `file` in place of the save at `old_index` would meet, so
// that a replace that cannot succeed deletes nothing; a file too short for an entry is left to
// the import to report.
TransferError PlanReplacementBy(const CardImage& card, std::size_t old_index,
                                const std::string& file) {
  const std::optional<DirEntry> entry = ReadDciEntry(file);
  return entry ? PlanDciReplacement(card, old_index, *entry) : TransferError::kNone;
}

}  // namespace

void TForm1::AddSaveFile(int pane) {
  if (!Loaded(pane)) {
    env_.messages->Inform(pane == kPaneImage ? " 請先讀取DCM檔案." : " 請先把記憶卡重新整理.");
    return;
  }
  if (!env_.files) return;
  const Timer3Hold hold(*this);
  const std::optional<QString> chosen =
      env_.files->ChooseOpenFile(NameFilter(kImportFilter), QStringLiteral("*.DCI"));
  if (!chosen) return;
  const std::string file = chosen->toStdString();
  if (!FileExists(*chosen)) {
    env_.messages->Inform(NotFoundMessage(pane, file));
    return;
  }
  const std::optional<std::string> name = DciName(ToPath(*chosen));
  if (!name) {
    env_.messages->Inform(CannotReadMessage(file));
    return;
  }
  ShowWaitWindow();
  if (pane != kPaneImage) {
    // The card may have changed since it was listed; a link or card that is gone stops here
    // (the refresh has said why).
    RefreshPane(pane);
    if (Link().TimedOut() || !Loaded(pane)) {
      HideWaitWindow();
      return;
    }
  }
  bool add = true;
  if (const std::optional<std::size_t> found = FindSaveByName(Card(pane), *name)) {
    if (AskReplace(" 檔案 ", *name)) {
      const TransferError room = PlanReplacementBy(Card(pane), *found, file);
      if (room != TransferError::kNone) {
        env_.messages->Inform(ImportFailureMessage(file, *name, {.placement = room}));
        HideWaitWindow();
        return;
      }
      ShowWaitWindow();
      DeleteOneSave(pane, static_cast<std::uint8_t>(*found));
      RefreshPane(pane);
    } else {
      add = env_.messages->AskYesNo(AppendQuestion(*name));
    }
  }
  if (add) ImportIntoPane(pane, file, *name);
  HideWaitWindow();
}

bool TForm1::ImportIntoPane(int pane, const std::string& file, const std::string& name) {
  ShowWaitWindow();
  const DciImportResult result = ImportDci(Card(pane), file);
  if (!result.Imported()) {
    const std::string message = ImportFailureMessage(file, name, result);
    if (!message.empty()) env_.messages->Inform(message);
  }
  // A write that failed half-way may have changed the card: show what it now holds.
  if (result.Imported() || result.placement == TransferError::kWriteFailed) RefreshPane(pane);
  return result.Imported();
}

void TForm1::ExportSaveFile(int pane, std::uint8_t slot) {
  if (!env_.files) return;
  const std::optional<QString> chosen =
      env_.files->ChooseSaveFile(NameFilter(kExportFilter), QStringLiteral(".DCI"),
                                 QStringLiteral("DCI"), /*confirm_overwrite=*/false);
  if (!chosen || RefuseCardFile(*chosen)) return;
  const std::string file = chosen->toStdString();
  if (FileExists(*chosen) && !AskReplace(" 檔案 ", file)) return;
  ShowWaitWindow();
  const DciExportError error = ExportDci(Card(pane), slot, ToPath(*chosen));
  HideWaitWindow();
  switch (error) {
    case DciExportError::kCannotWrite:
      env_.messages->Inform(CannotWriteMessage(file));
      break;
    case DciExportError::kShortChain:
      // The file would miss blocks of the save: it is not written.
      env_.messages->Inform(" 檔案 " + Card(pane).records[slot].name + " 的區塊鏈不完整, " + file +
                            " 沒有寫入.");
      break;
    default:  // a failed block read was reported by the block layer
      break;
  }
}

void TForm1::SaveIconFile(int pane, std::uint8_t slot) {
  if (!env_.files) return;
  const std::optional<QString> chosen = env_.files->ChooseSaveFile(
      kBitmapFilter, QString(), QStringLiteral("BMP"), /*confirm_overwrite=*/false);
  if (!chosen || RefuseCardFile(*chosen)) return;
  CardImage& card = Card(pane);
  const std::uint16_t frame = card.records[slot].current_frame;
  // A failed slot read was reported by the block layer; anything else kept the file unwritten.
  if (!ExportIconFrame(card, slot, frame, ToPath(*chosen)) && !card.link_failed) {
    env_.messages->Inform(CannotWriteMessage(chosen->toStdString()));
  }
}

}  // namespace quorvel
