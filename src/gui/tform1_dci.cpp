// Single-save files and icon pictures of the main window: adding a single-save file to a pane
// with its questions, and the selected-save dialog's choices that write one save to a
// single-save file or its shown icon frame to a BMP picture.
#include <QCoreApplication>
#include <filesystem>
#include <string>

#include "card/dci_file.h"
#include "card/icon_frames.h"
#include "card/save_commands.h"
#include "gui/command_texts.h"
#include "gui/file_chooser.h"
#include "gui/tform1.h"
#include "gui/translations.h"

namespace quorvel {

namespace {

constexpr std::string_view kImportFilter =
    "DCI file format|*.DCI|VMI/VMS file format|*.VMI *.VMS|binary file format|*.BIN|ALL format "
    "|*.*";
constexpr std::string_view kExportFilter =
    "DCI file format|*.DCI|VMS/VMI file format|*.VMS|binary file format|*.BIN|ALL format|*.*";

// " 檔案 NAME 不能尋找."; the slot-2 command has no blank between " 檔案" and the name.
std::string NotFoundMessage(int pane, const std::string& file) {
  return Filled(pane == kPaneSlot2
                    ? QCoreApplication::translate("quorvel::TForm1", " 檔案%1 不能尋找.")
                    : QCoreApplication::translate("quorvel::TForm1", " 檔案 %1 不能尋找."),
                {file});
}

std::string AppendQuestion(const std::string& name) {
  return Filled(
      QCoreApplication::translate("quorvel::TForm1", " 檔案 %1 己存在,是否要附加這檔案嗎? "),
      {name});
}

// Asked for a VMS file without its VMI: whether it is a game (when its blocks do not tell).
std::string GameQuestion(const std::string& file) {
  return Filled(QCoreApplication::translate(
                    "quorvel::TForm1", " 檔案 %1 沒有 VMI 檔案, 它是遊戲嗎? (是: 遊戲, 否: 資料) "),
                {file});
}
std::string NamePrompt(const std::string& file) {
  return Filled(QCoreApplication::translate(
                    "quorvel::TForm1", " 檔案 %1 沒有 VMI 檔案, 請輸入單元名稱 (最多 12 個字元):"),
                {file});
}

}  // namespace

void TForm1::AddSaveFile(int pane) {
  if (!Loaded(pane)) {
    env_.messages->Inform(
        (pane == kPaneImage ? tr(" 請先讀取DCM檔案.") : tr(" 請先把記憶卡重新整理."))
            .toStdString());
    return;
  }
  if (!env_.files) return;
  const Timer3Hold hold(*this);
  const std::optional<QString> chosen =
      ChooseOpenFileIn(*env_.files, &file_history_, FileKind::kSaveFile, NameFilter(kImportFilter),
                       QStringLiteral("*.DCI"));
  if (!chosen) return;
  AddSaveFileFrom(pane, *chosen);
}

void TForm1::AddSaveFileFrom(int pane, const QString& chosen_file) {
  const std::optional<QString> chosen = chosen_file;
  const std::string file = chosen->toStdString();
  if (!FileExists(*chosen)) {
    env_.messages->Inform(NotFoundMessage(pane, file));
    return;
  }
  // The whole file is read before the card is touched, so that a file that cannot be read
  // never costs the save it was to replace.
  const SaveFileBytes read = ReadSaveFile(ToPath(*chosen), LoneVmsQuestions(file));
  if (read.vms_error != VmsError::kNone) {
    const std::string message = VmsFailureMessage(read.culprit.string(), read.vms_error);
    if (!message.empty()) env_.messages->Inform(message);
    return;
  }
  if (read.status != DciImportResult::File::kOk) {
    env_.messages->Inform(ImportFailureMessage(file, "", {.file = read.status}));
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
  NameClashAnswers answers = ReplaceAnswers(" 檔案 ");
  answers.add = [this](const std::string& name) {
    return env_.messages->AskYesNo(AppendQuestion(SaveNameText(name)));
  };
  ImportIntoPane(pane, file, read.bytes, answers);
  HideWaitWindow();
}

VmsQuestions TForm1::LoneVmsQuestions(const std::string& file) {
  VmsQuestions questions;
  questions.game = [this, file]() -> std::optional<bool> {
    switch (env_.messages->AskYesNoCancel(GameQuestion(file))) {
      case Answer::kYes:
        return true;
      case Answer::kNo:
        return false;
      case Answer::kCancel:
        break;
    }
    return std::nullopt;
  };
  questions.name = [this, file](const std::string& suggested) -> std::optional<std::string> {
    const std::optional<QString> typed = env_.files->ChooseCardName(
        QString::fromStdString(NamePrompt(file)), QString::fromLatin1(suggested));
    if (!typed) return std::nullopt;
    return typed->toStdString();
  };
  return questions;
}

bool TForm1::ImportIntoPane(int pane, const std::string& file,
                            std::span<const std::uint8_t> save_file,
                            const NameClashAnswers& answers) {
  ShowWaitWindow();
  StoreResult result;
  OnLinkWorker(
      [&] { result = ImportSaveCommand(Card(pane), save_file, AnsweredOnWindow(answers)); });
  const std::string name =
      save_file.size() < kEntryName + kEntryNameSize
          ? std::string()
          : SaveNameText(std::string(save_file.begin() + kEntryName,
                                     save_file.begin() + kEntryName + kEntryNameSize));
  if (result.old_save_kept) env_.messages->Inform(OldSaveKeptMessage(name));
  if (!result.Stored() && !result.declined) {
    const std::string message = ImportFailureMessage(file, name, result.AsImport());
    if (!message.empty()) env_.messages->Inform(message);
  }
  // A write that failed half-way may have changed the card: show what it now holds.
  if (result.written) RefreshPane(pane);
  return result.Stored();
}

void TForm1::ExportSaveFile(int pane, std::uint8_t slot) {
  if (!env_.files) return;
  // Proposed: the name export gives the save, free in the folder the dialog starts in.
  const std::filesystem::path folder = file_history_.Folder(FileKind::kSaveFile);
  const std::filesystem::path proposed =
      ExportPathFor(folder.empty() ? std::filesystem::path(".") : folder,
                    Card(pane).records[slot].name, SaveFileFormat::kDci);
  const std::optional<QString> chosen = ChooseSaveFileIn(
      *env_.files, &file_history_, FileKind::kSaveFile, NameFilter(kExportFilter),
      QString::fromStdU16String((folder.empty() ? proposed.filename() : proposed).u16string()),
      QStringLiteral("DCI"), /*confirm_overwrite=*/false);
  if (!chosen) return;
  const std::string file = chosen->toStdString();
  // A VMS/VMI pair is two files: each is checked and, when it exists, asked about.
  for (const std::filesystem::path& out : ExportedFiles(ToPath(*chosen))) {
    if (!MayWriteTo(QString::fromStdU16String(out.u16string()))) return;
  }
  ShowWaitWindow();
  SaveExport result;
  OnLinkWorker([&] { result = quorvel::ExportSaveFile(Card(pane), slot, ToPath(*chosen)); },
               /*file_command=*/true);
  HideWaitWindow();
  if (result.pair != VmsError::kNone) {
    env_.messages->Inform(VmsFailureMessage(file, result.pair));
    return;
  }
  switch (result.save) {
    case DciExportError::kCannotWrite:
      env_.messages->Inform(CannotWriteMessage(file));
      break;
    case DciExportError::kShortChain:
      // The file would miss blocks of the save: it is not written.
      env_.messages->Inform(Filled(tr(" 檔案 %1 的區塊鏈不完整, %2 沒有寫入."),
                                   {SaveNameText(Card(pane).records[slot].name), file}));
      break;
    default:  // a failed block read was reported by the block layer
      break;
  }
}

void TForm1::SaveIconFile(int pane, std::uint8_t slot) {
  if (!env_.files) return;
  CardImage& card = Card(pane);
  const std::uint16_t frame = card.records[slot].current_frame;
  if (!HasIconFrame(card, slot, frame)) {
    env_.messages->Inform(
        Filled(tr(" 檔案 %1 沒有圖示. "), {SaveNameText(card.records[slot].name)}));
    return;
  }
  const std::optional<QString> chosen =
      ChooseSaveFileIn(*env_.files, &file_history_, FileKind::kBitmap, kBitmapFilter, QString(),
                       QStringLiteral("BMP"), /*confirm_overwrite=*/false);
  if (!chosen || !MayWriteTo(*chosen)) return;
  // A failed slot read was reported by the block layer; anything else kept the file unwritten.
  bool written = false;
  OnLinkWorker([&] { written = ExportIconFrame(card, slot, frame, ToPath(*chosen)); });
  if (!written && !card.link_failed) {
    env_.messages->Inform(CannotWriteMessage(chosen->toStdString()));
  }
}

}  // namespace quorvel
