// TMiniEdForm: the file menu: new, open, the save command, save under a name, hex text export
// and import, printing, printer setup and the print preview.
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <filesystem>
#include <fstream>

#include "gui/command_texts.h"
#include "gui/tminiedform.h"
#include "gui/translations.h"

namespace quorvel {

void TMiniEdForm::Neu1Click() {
  if (!AskToSaveChanges()) return;
  HexEditor1->Document().New("Untitled");
  HexEditor1->Relayout();
}

void TMiniEdForm::ffnen1Click() {
  if (!AskToSaveChanges()) return;
  const auto choice = ChooseFile(FileDialogKind::kOpen);
  if (!choice) return;
  if (!LoadFile(choice->path)) {
    messages_.Error(Filled(tr("Cannot open file\r\n%1"), {choice->path}));
    return;
  }
  if (choice->read_only) HexEditor1->Document().SetReadOnly(true);
}

void TMiniEdForm::ShowSaveError(const std::string& path) {
  messages_.Error(Filled(tr("Cannot save file\r\n%1"), {path}));
}

bool TMiniEdForm::SaveUnder(const std::string& path) {
  if (HexEditor1->Document().Save(path)) return true;
  ShowSaveError(path);
  return false;
}

bool TMiniEdForm::Speichern1Click() {
  Saved = true;
  const HexDocument& doc = HexEditor1->Document();
  if (QFileInfo(QString::fromStdString(doc.FileName())).isFile() && !doc.ReadOnly()) {
    return SaveUnder(doc.FileName());
  }
  const auto choice = ChooseFile(FileDialogKind::kSave);
  return choice && SaveUnder(choice->path);
}

void TMiniEdForm::AnyFile1Click() {
  if (const auto choice = ChooseFile(FileDialogKind::kSave)) SaveUnder(choice->path);
}

void TMiniEdForm::HexText1Click() {
  const auto choice = ChooseFile(FileDialogKind::kSave);
  if (choice && !HexEditor1->Document().SaveAsHexText(choice->path)) ShowSaveError(choice->path);
}

void TMiniEdForm::ImportfromHexText1Click() {
  const auto choice = ChooseFile(FileDialogKind::kOpen);
  if (!choice) return;
  if (!std::ifstream(choice->path, std::ios::binary)) {
    messages_.Error(Filled(tr("Cannot open file\r\n%1"), {choice->path}));
    return;
  }
  HexDocument& doc = HexEditor1->Document();
  if (!doc.LoadFromHexText(choice->path)) {
    // Nothing was replaced: the data stays as it was.
    messages_.Error(CannotReadMessage(choice->path));
    return;
  }
  if (choice->read_only) doc.SetReadOnly(true);
}

std::optional<FileChoice> TMiniEdForm::DefaultChooseFile(FileDialogKind kind) {
  const bool open = kind == FileDialogKind::kOpen;
  QFileDialog dialog(this, open ? tr("Open file") : tr("Save as"));
  // "*" rather than "*.*": names without an extension (such as "~ico._" copies) are files too.
  dialog.setNameFilter(tr("All Files (*)"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  const std::filesystem::path folder =
      history_ != nullptr ? history_->Folder(FileKind::kCode) : std::filesystem::path();
  if (!folder.empty()) dialog.setDirectory(QString::fromStdU16String(folder.u16string()));
  QCheckBox* read_only = nullptr;
  if (open) {
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The read-only box under the file list.
    read_only = new QCheckBox(tr("Open as read-only"), &dialog);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
      grid->addWidget(read_only, grid->rowCount(), 0, 1, -1);
    }
  } else {
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  if (history_ != nullptr) {
    history_->Remember(FileKind::kCode,
                       std::filesystem::path(dialog.selectedFiles().first().toStdU16String()));
  }
  return FileChoice{dialog.selectedFiles().first().toStdString(),
                    read_only != nullptr && read_only->isChecked()};
}

QPrinter& TMiniEdForm::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

PrintSource TMiniEdForm::MakePrintSource() {
  PrintSource source;
  source.document = &HexEditor1->Document();
  source.font = HexEditor1->font();
  source.file_name = HexEditor1->Document().FileName();
  source.format = print_format_;
  return source;
}

QImage TMiniEdForm::PreviewImage() {
  QPrinter& printer = Printer();
  return PreviewPage(MakePrintSource(), printer.width(), printer.height());
}

void TMiniEdForm::Printpreview1Click() {
  fmPreview preview(PreviewImage(), this);
  preview.exec();
}

void TMiniEdForm::Printsetup1Click() {
  QPrintDialog dialog(&Printer(), this);
  dialog.exec();
}

void TMiniEdForm::Print1Click() {
  QPrinter& printer = Printer();
  // Without a printer to print on, the setup dialog comes first (it also offers a file).
  if (!printer.isValid() ||
      (printer.outputFormat() == QPrinter::NativeFormat && printer.printerName().isEmpty())) {
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
  }
  if (!PrintAll(printer, MakePrintSource())) messages_.Error(tr("Cannot print").toStdString());
}

}  // namespace quorvel
