// The card image commands of the main window: new, open, close and save-as for the image pane,
// and for each slot saving its card as an image file and writing an image file onto it.
#include <QCoreApplication>
#include <filesystem>
#include <string>

#include "card/block_io.h"
#include "card/dcm_file.h"
#include "card/file_system.h"
#include "card/work_files.h"
#include "files/file_lock.h"
#include "files/free_name.h"
#include "gui/command_texts.h"
#include "gui/file_chooser.h"
#include "gui/tform1.h"
#include "gui/translations.h"

namespace quorvel {

namespace {

// Card images of both byte orders: DCM files, and raw images as emulators and card readers
// keep them (.bin, .vmu, .vmd).
constexpr std::string_view kOpenImageFilter =
    "1M SAVER  File Format |*.DCM|Single SAVER file format|*.DCI|Binary File Format|*.BIN|"
    "VMU File Format|*.VMU|VMD File Format|*.VMD|ALL File Format|*.*";
constexpr std::string_view kSaveImageFilter =
    "DCM file format|*.DCM|BIN file format|*.BIN|VMU file format|*.VMU|VMD file format|*.VMD|"
    "ALL format|*.*";
const QString kProgramTitle = QStringLiteral("Quorvel");
const QString kImagePreset = QStringLiteral("*.DCM");
const QString kImageSuffix = QStringLiteral("DCM");

// Asked before an image file is written over every block of the card in a slot.
std::string RestoreQuestion(int pane, const std::string& file) {
  return Filled(QCoreApplication::translate("quorvel::TForm1",
                                            " 檔案 %1 將取代插槽%2記憶卡的全部資料, 確定嗎? "),
                {file, pane == kPaneSlot1 ? "1" : "2"});
}

// A name for a card image file in `folder` (the current directory when empty) made from `stem`
// and `extension` that no file has there: "stem.DCM", else "stem_2.DCM", "stem_3.DCM" ...; the
// folder is kept in the name only when given.
QString ImagePathFor(const std::filesystem::path& folder, const std::string& stem,
                     const std::string& extension = ".DCM") {
  return QString::fromStdU16String(FreeFileName(folder, stem, extension).u16string());
}

}  // namespace

void TForm1::ConnectFileCommands() {
  connect(NEWDCMFILE1, &QAction::triggered, this, &TForm1::NEWDCMFILE1Click);
  connect(LOADDCMfile1, &QAction::triggered, this, &TForm1::LOADDCMfile1Click);
  connect(CLOSEDCMFILE1, &QAction::triggered, this, &TForm1::CLOSEDCMFILE1Click);
  connect(SAVEAS1, &QAction::triggered, this, &TForm1::SAVEAS1Click);
  // A recent file that has gone (or come back) since the list was made shows so.
  connect(FilePopupMenu, &QMenu::aboutToShow, this, &TForm1::FillRecentImages);
  connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::LOADDCMfile1Click);
  for (int pane = 0; pane < 3; ++pane) {
    const CardPane& card_pane = Pane(pane);
    const PaneMenuItems& items = card_pane.menu();
    connect(items.add_save_file, &QAction::triggered, this, [this, pane] { AddSaveFile(pane); });
    connect(card_pane.dci_button(), &QToolButton::clicked, this,
            [this, pane] { AddSaveFile(pane); });
    if (card_pane.IsImage()) continue;
    connect(items.save_as, &QAction::triggered, this, [this, pane] { SaveSlotAsImage(pane); });
    connect(items.load_image, &QAction::triggered, this, [this, pane] { LoadImageIntoSlot(pane); });
    connect(card_pane.dcm_button(), &QToolButton::clicked, this,
            [this, pane] { LoadImageIntoSlot(pane); });
  }
}

std::optional<QString> TForm1::ChooseImageToOpen() {
  if (!env_.files) return std::nullopt;
  std::optional<QString> chosen =
      ChooseOpenFileIn(*env_.files, &file_history_, FileKind::kCardImage,
                       NameFilter(kOpenImageFilter), kImagePreset);
  if (!chosen || !FileExists(*chosen)) return std::nullopt;
  return chosen;
}

std::optional<QString> TForm1::ChooseImageToWrite(const QString& name) {
  if (!env_.files) return std::nullopt;
  return ChooseSaveFileIn(*env_.files, &file_history_, FileKind::kCardImage,
                          NameFilter(kSaveImageFilter), name, kImageSuffix,
                          /*confirm_overwrite=*/true);
}

std::optional<QString> TForm1::ChooseImageCopyTarget(const QString& name) {
  const std::optional<QString> chosen = ChooseImageToWrite(name);
  if (!chosen) return std::nullopt;
  // Writing a card over the open image's own file would only risk the one file the image
  // pane works on.
  if (!MayWriteTo(*chosen)) return std::nullopt;
  return chosen;
}

bool TForm1::IsOpenImageFile(const QString& path) const {
  if (!FileCard.ImageOpen()) return false;
  if (path.toStdString() == FileCard.ImageName()) return true;
  // Another spelling of the same file ("./x.dcm", a link) is the same file all the same.
  std::error_code error;
  return std::filesystem::equivalent(ToPath(path), FileCard.ImageName(), error);
}

bool TForm1::RefuseCardFile(const QString& path) {
  if (!IsOpenImageFile(path) && !FileInUse(ToPath(path))) return false;
  env_.messages->Inform(InUseMessage(path.toStdString()));
  return true;
}

bool TForm1::MayWriteTo(const QString& path) {
  if (RefuseCardFile(path)) return false;
  return !FileExists(path) || AskReplace(" 檔案 ", path.toStdString());
}

bool TForm1::OpenImage(const QString& path) {
  const std::string file = path.toStdString();
  ImageOpenError error = ImageOpenError::kNone;
  if (!OpenImageFile(FileCard, file, ImageAccess::kReadWrite, &error)) {
    ImageLoaded = false;
    EmptyPane(kPaneImage);
    setWindowTitle(kProgramTitle);
    CLOSEDCMFILE1->setEnabled(false);
    // A file another program holds (or a virtual card's file) is not opened a second time.
    env_.messages->Inform(error == ImageOpenError::kInUse ? InUseMessage(file)
                                                          : CannotOpenMessage(file));
    return false;
  }
  // The menu's list is made again each time the menu opens (not here: an item of it may be
  // what opened this file).
  file_history_.AddRecentImage(ToPath(path));
  // The title names the open file (the image pane's header is too narrow for long names).
  setWindowTitle(kProgramTitle + QStringLiteral(" - ") +
                 QString::fromStdString(std::filesystem::path(file).filename().string()));
  RefreshImage();
  ImageLoaded = true;
  CLOSEDCMFILE1->setEnabled(true);
  // Kept open so that it can be formatted; the pane shows it as an unformatted card.
  if (!IsFormatted(FileCard)) env_.messages->Inform(NotFormattedCardMessage(file));
  OfferInterruptedUndo(kPaneImage);
  return true;
}

void TForm1::LOADDCMfile1Click() {
  const Timer3Hold hold(*this);
  const std::optional<QString> chosen = ChooseImageToOpen();
  if (!chosen) return;
  OpenCheckedImage(*chosen);
}

void TForm1::OpenCheckedImage(const QString& path) {
  switch (CheckImageFile(ToPath(path))) {
    case DcmError::kNone:
      OpenImage(path);
      break;
    case DcmError::kWrongSize:
    case DcmError::kUnknownOrder:
      env_.messages->Inform(UnsupportedImageMessage(path.toStdString(), false));
      break;
    default:
      env_.messages->Inform(CannotReadMessage(path.toStdString()));
      break;
  }
}

void TForm1::FillRecentImages() {
  RecentImagesMenu->clear();
  for (const std::filesystem::path& image : file_history_.RecentImages()) {
    const QString path = QString::fromStdU16String(image.u16string());
    QAction* item = RecentImagesMenu->addAction(path);
    // A file that is gone stays in the list (it may be on a disk that is not mounted now),
    // but cannot be chosen.
    item->setEnabled(FileExists(path));
    connect(item, &QAction::triggered, this, [this, path] {
      const Timer3Hold hold(*this);
      if (FileExists(path)) OpenCheckedImage(path);
    });
  }
  RecentImagesMenu->setEnabled(!file_history_.RecentImages().empty());
}

void TForm1::NEWDCMFILE1Click() {
  const Timer3Hold hold(*this);
  const std::optional<QString> chosen = ChooseImageToWrite(kImagePreset);
  if (!chosen || RefuseCardFile(*chosen)) return;
  const std::filesystem::path source = FindProgramDataFile(WorkDir, kImageTemplateFile);
  switch (CreateImageFromTemplate(source, ToPath(*chosen))) {
    case DcmError::kNone:
      OpenImage(*chosen);
      break;
    case DcmError::kTemplateShort:
      env_.messages->Inform(InvalidTemplateMessage(source.string()));
      break;
    case DcmError::kCannotOpen:
      env_.messages->Inform(CannotReadMessage(source.string()));
      break;
    default:
      env_.messages->Inform(CannotWriteMessage(chosen->toStdString()));
      break;
  }
}

void TForm1::CLOSEDCMFILE1Click() {
  if (!ImageLoaded) return;
  CloseImageFile(FileCard);
  ImageLoaded = false;
  EmptyPane(kPaneImage);
  FileCardPanel->clear();
  setWindowTitle(kProgramTitle);
  CLOSEDCMFILE1->setEnabled(false);
  ClearSelection();
}

void TForm1::SAVEAS1Click() {
  if (!ImageLoaded) return;
  const Timer3Hold hold(*this);
  // Proposed: a free name beside the open file, after its own.
  const std::filesystem::path open = FileCard.ImageName();
  const std::optional<QString> chosen = ChooseImageCopyTarget(
      ImagePathFor(open.parent_path(), open.stem().string(),
                   open.has_extension() ? open.extension().string() : ".DCM"));
  if (!chosen) return;
  // The pane keeps working on its own file; the copy is a snapshot of its card, written whole
  // (in the order the chosen name asks for) beside the chosen name and renamed into place.
  switch (DumpCardToFile(FileCard, ToPath(*chosen))) {
    case DcmError::kNone:
      break;
    case DcmError::kCardReadFailed:
      env_.messages->Inform(CannotReadMessage(FileCard.ImageName()));
      break;
    default:
      env_.messages->Inform(CannotWriteMessage(chosen->toStdString()));
      break;
  }
}

void TForm1::SaveSlotAsImage(int pane) {
  if (!Loaded(pane)) return;
  const Timer3Hold hold(*this);
  // Proposed: a free name after the slot, in the folder last used for card images.
  const std::optional<QString> chosen = ChooseImageCopyTarget(ImagePathFor(
      file_history_.Folder(FileKind::kCardImage), pane == kPaneSlot1 ? "slot1" : "slot2"));
  if (!chosen) return;
  const std::string file = chosen->toStdString();
  RefreshPane(pane);
  if (!Loaded(pane)) return;  // the refresh has said why
  ShowWaitWindow();
  DcmError result = DcmError::kNone;
  OnLinkWorker([&] { result = DumpCardToFile(Card(pane), ToPath(*chosen)); },
               /*file_command=*/true);
  HideWaitWindow();
  // A block that could not be read was reported by the block layer; the file is then left
  // as it was.
  if (result == DcmError::kCannotWrite) env_.messages->Inform(CannotWriteMessage(file));
}

void TForm1::LoadImageIntoSlot(int pane) {
  if (!Loaded(pane)) return;
  const Timer3Hold hold(*this);
  const std::optional<QString> chosen = ChooseImageToOpen();
  if (!chosen) return;
  const std::string file = chosen->toStdString();
  if (const DcmError checked = CheckImageFile(ToPath(*chosen));
      checked == DcmError::kWrongSize || checked == DcmError::kUnknownOrder) {
    env_.messages->Inform(UnsupportedImageMessage(file, true));
    return;
  }
  // Every save on the card is overwritten: only after the user's yes. An image that is not a
  // formatted card gets its own question, which names the file and the slot as well.
  const std::string question = ImageFormatProblem(ToPath(*chosen)).empty()
                                   ? RestoreQuestion(pane, file)
                                   : WriteUnformattedImageQuestion(file, pane + 1);
  if (!env_.messages->AskYesNoDefaultNo(question)) return;
  ShowWaitWindow();
  DcmError result = DcmError::kNone;
  OnLinkWorker([&] { result = RestoreCardFromFile(Card(pane), ToPath(*chosen)); });
  HideWaitWindow();
  if (result == DcmError::kCannotOpen || result == DcmError::kWrongSize ||
      result == DcmError::kUnknownOrder) {
    // Nothing was written: the card is as it was.
    env_.messages->Inform(CannotReadMessage(file));
    return;
  }
  if (result == DcmError::kNotRecorded) return;  // told by the card layer; nothing written
  if (pane == kPaneSlot1) {
    // A stopped restore left the card as it was, or put it back.
    if (result == DcmError::kNone || result == DcmError::kCancelled) {
      RefreshSlot1();
    } else {
      Slot1Loaded = false;
    }
  } else {
    RefreshSlot2();
  }
}

}  // namespace quorvel
