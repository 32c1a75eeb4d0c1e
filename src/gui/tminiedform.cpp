// TMiniEdForm: building the window, its menus and status bar, the enabling and check marks of
// the menu items, the close check and the first activation.
#include "gui/tminiedform.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QInputDialog>
#include <QMimeData>
#include <QPrinter>
#include <QShortcut>
#include <QVBoxLayout>

#include "gui/translations.h"
#include "hexedit/editor_texts.h"

namespace quorvel {
namespace {

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TMiniEdForm::TMiniEdForm(Messages& messages, std::string first_argument, QWidget* parent)
    : QDialog(parent), messages_(messages), first_argument_(std::move(first_argument)) {
  setObjectName(QStringLiteral("MiniEdForm"));
  setWindowTitle(QStringLiteral("Mini HexEditor"));
  setSizeGripEnabled(true);
  resize(640, 440);
  HexEditor1 = new THexEditor(this);
  HexEditor1->setObjectName(QStringLiteral("HexEditor1"));
  HexDocument& doc = HexEditor1->Document();
  doc.SetBytesPerColumn(1);
  doc.SetAllowInsertMode(true);
  HexEditor1->FocusFrame = false;
  HexEditor1->Colors = HexEditorColors::WindowDescription();
  QFont font(QStringLiteral("Courier New"));
  font.setPixelSize(13);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  HexEditor1->SetEditorFont(font);

  BuildMenus();
  BuildStatusBar();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(MainMenu1);
  layout->addWidget(HexEditor1, 1);
  layout->addWidget(StatusBar1);

  auto* append_ff = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_A), HexEditor1);
  append_ff->setContext(Qt::WidgetShortcut);
  connect(append_ff, &QShortcut::activated, this, &TMiniEdForm::AppendFF);
  connect(HexEditor1, &THexEditor::OnStateChanged, this, [this] {
    UpdateStatusBar();
    UpdateMenus();
  });
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TMiniEdForm::UpdateMenus);

  InputBox = [this](const QString& title, const QString& prompt,
                    const QString& initial) -> std::optional<QString> {
    bool ok = false;
    const QString text =
        QInputDialog::getText(this, title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
  };
  ChooseFile = [this](FileDialogKind kind) { return DefaultChooseFile(kind); };
  UpdateStatusBar();
  UpdateMenus();
  HexEditor1->setFocus();
}

TMiniEdForm::~TMiniEdForm() = default;

QAction* TMiniEdForm::AddItem(QMenu* menu, const char* name, const QString& caption,
                              void (TMiniEdForm::*handler)(), const QKeySequence& shortcut) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QLatin1String(name));
  action->setShortcut(shortcut);
  connect(action, &QAction::triggered, this, handler);
  return action;
}

QAction* TMiniEdForm::AddChoice(QMenu* menu, QActionGroup* group, const char* name,
                                const QString& caption, std::function<void()> apply) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QLatin1String(name));
  action->setCheckable(true);
  group->addAction(action);
  connect(action, &QAction::triggered, this, [this, apply = std::move(apply)] {
    apply();
    HexEditor1->Relayout();
    UpdateMenus();
  });
  return action;
}

QAction* TMiniEdForm::AddToggle(QMenu* menu, const char* name, const QString& caption,
                                std::function<void(bool)> apply) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QLatin1String(name));
  action->setCheckable(true);
  connect(action, &QAction::triggered, this, [this, apply = std::move(apply)](bool on) {
    apply(on);
    HexEditor1->Relayout();
    UpdateMenus();
  });
  return action;
}

void TMiniEdForm::BuildMenus() {
  MainMenu1 = new QMenuBar(this);
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  BuildFileMenu();
  BuildEditMenu();
  BuildViewMenu();
  for (QMenu* menu : MainMenu1->findChildren<QMenu*>()) {
    connect(menu, &QMenu::aboutToShow, this, &TMiniEdForm::UpdateMenus);
  }
}

void TMiniEdForm::BuildFileMenu() {
  Datei1 = MainMenu1->addMenu(tr("檔案 (&F)"));
  Datei1->setObjectName(QStringLiteral("Datei1"));
  Neu1 = AddItem(Datei1, "Neu1", tr("建立新檔 (&N)"), &TMiniEdForm::Neu1Click);
  ffnen1 = AddItem(Datei1, "ffnen1", tr("開啟舊檔 (&O)"), &TMiniEdForm::ffnen1Click);
  Speichern1 = Datei1->addAction(tr("儲存檔案 (&S)"));
  Speichern1->setObjectName(QStringLiteral("Speichern1"));
  connect(Speichern1, &QAction::triggered, this, [this] { Speichern1Click(); });
  Speichernunter1 = Datei1->addMenu(tr("另儲新檔 (&A)"));
  Speichernunter1->setObjectName(QStringLiteral("Speichernunter1"));
  AnyFile1 = AddItem(Speichernunter1, "AnyFile1", tr("任何檔案..."), &TMiniEdForm::AnyFile1Click);
  HexText1 = AddItem(Speichernunter1, "HexText1", tr("十六進制格式"), &TMiniEdForm::HexText1Click);
  ImportfromHexText1 = AddItem(Datei1, "ImportfromHexText1", tr("由十六進制格式 檔案加入..."),
                               &TMiniEdForm::ImportfromHexText1Click);
  Datei1->addSeparator();
  Printlayout1 = Datei1->addMenu(tr("列印標準"));
  Printlayout1->setObjectName(QStringLiteral("Printlayout1"));
  auto* formats = new QActionGroup(this);
  Hex2 = AddChoice(Printlayout1, formats, "Hex2", tr("十六進制"),
                   [this] { print_format_ = PrintNumberFormat::kHex; });
  Decimal1 = AddChoice(Printlayout1, formats, "Decimal1", tr("十進制"),
                       [this] { print_format_ = PrintNumberFormat::kDecimal; });
  Octal2 = AddChoice(Printlayout1, formats, "Octal2", tr("八進制"),
                     [this] { print_format_ = PrintNumberFormat::kOctal; });
  Printpreview1 =
      AddItem(Datei1, "Printpreview1", tr("列印預覽"), &TMiniEdForm::Printpreview1Click);
  Printsetup1 = AddItem(Datei1, "Printsetup1", tr("列印設定"), &TMiniEdForm::Printsetup1Click);
  Print1 = AddItem(Datei1, "Print1", tr("列印"), &TMiniEdForm::Print1Click,
                   QKeySequence(Qt::CTRL | Qt::Key_P));
  Datei1->addSeparator();
  Beenden1 = AddItem(Datei1, "Beenden1", tr("離開"), &TMiniEdForm::Beenden1Click);
}

void TMiniEdForm::BuildEditMenu() {
  Bearbeiten1 = MainMenu1->addMenu(tr("編輯 (&E)"));
  Bearbeiten1->setObjectName(QStringLiteral("Bearbeiten1"));
  Rckgngig1 = AddItem(Bearbeiten1, "Rckgngig1", tr("復原"), &TMiniEdForm::Rckgngig1Click,
                      QKeySequence(Qt::CTRL | Qt::Key_Z));
  Bearbeiten1->addSeparator();
  Ausschneiden1 = AddItem(Bearbeiten1, "Ausschneiden1", tr("剪下"),
                          &TMiniEdForm::Ausschneiden1Click, QKeySequence(Qt::CTRL | Qt::Key_X));
  Kopieren1 = AddItem(Bearbeiten1, "Kopieren1", tr("複製"), &TMiniEdForm::Kopieren1Click,
                      QKeySequence(Qt::CTRL | Qt::Key_C));
  Einfgen1 = AddItem(Bearbeiten1, "Einfgen1", tr("貼上"), &TMiniEdForm::Einfgen1Click,
                     QKeySequence(Qt::CTRL | Qt::Key_V));
  PasteText1 = AddItem(Bearbeiten1, "PasteText1", tr("貼上文字"), &TMiniEdForm::PasteText1Click,
                       QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_V));
  Bearbeiten1->addSeparator();
  Goto1 = AddItem(Bearbeiten1, "Goto1", tr("去到..."), &TMiniEdForm::Goto1Click,
                  QKeySequence(Qt::CTRL | Qt::Key_G));
  Jump1 = Bearbeiten1->addMenu(tr("跳到"));
  Jump1->setObjectName(QStringLiteral("Jump1"));
  Amount40001 = AddItem(Jump1, "Amount40001", QString(), &TMiniEdForm::Amount40001Click);
  Jumpforward1 = AddItem(Jump1, "Jumpforward1", tr("跳到上一個"), &TMiniEdForm::Jumpforward1Click,
                         QKeySequence(Qt::CTRL | Qt::Key_J));
  Jumpbackward1 =
      AddItem(Jump1, "Jumpbackward1", tr("跳到下一個"), &TMiniEdForm::Jumpbackward1Click,
              QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_J));
  Bearbeiten1->addSeparator();
  Find1 = AddItem(Bearbeiten1, "Find1", tr("尋找"), &TMiniEdForm::Find1Click,
                  QKeySequence(Qt::CTRL | Qt::Key_F));
  FindNext1 = AddItem(Bearbeiten1, "FindNext1", tr("尋找下一個"), &TMiniEdForm::FindNext1Click,
                      QKeySequence(Qt::Key_F3));
}

void TMiniEdForm::BuildViewMenu() {
  HexDocument& doc = HexEditor1->Document();
  View1 = MainMenu1->addMenu(tr("檢視 (&V)"));
  View1->setObjectName(QStringLiteral("View1"));
  const auto sub = [this](const char* name, const QString& caption) {
    QMenu* menu = View1->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
  };
  Linesize1 = sub("Linesize1", tr("每行寬度"));
  auto* lines = new QActionGroup(this);
  _16 =
      AddChoice(Linesize1, lines, "_16", tr("每行 16 個字元"), [&doc] { doc.SetBytesPerLine(16); });
  _32 =
      AddChoice(Linesize1, lines, "_32", tr("每行 32 個字元"), [&doc] { doc.SetBytesPerLine(32); });
  _64 =
      AddChoice(Linesize1, lines, "_64", tr("每行 64 個字元"), [&doc] { doc.SetBytesPerLine(64); });
  Blocksize1 = sub("Blocksize1", tr("每列寬度"));
  auto* blocks = new QActionGroup(this);
  N1Byteperblock1 = AddChoice(Blocksize1, blocks, "N1Byteperblock1", tr("每列 2 個字元"),
                              [&doc] { doc.SetBytesPerColumn(1); });
  N2Bytesperblock1 = AddChoice(Blocksize1, blocks, "N2Bytesperblock1", tr("每列 4 個字元"),
                               [&doc] { doc.SetBytesPerColumn(2); });
  N4Bytesperblock1 = AddChoice(Blocksize1, blocks, "N4Bytesperblock1", tr("每列 8 個字元"),
                               [&doc] { doc.SetBytesPerColumn(4); });
  Caretstyle1 = sub("Caretstyle1", tr("符號區域"));
  auto* carets = new QActionGroup(this);
  Fullblock1 = AddChoice(Caretstyle1, carets, "Fullblock1", tr("全區"),
                         [&doc] { doc.SetCaretStyle(CaretStyleType::csFull); });
  Leftline1 = AddChoice(Caretstyle1, carets, "Leftline1", tr("左行"),
                        [&doc] { doc.SetCaretStyle(CaretStyleType::csLeftLine); });
  Bottomline1 = AddChoice(Caretstyle1, carets, "Bottomline1", tr("右行"),
                          [&doc] { doc.SetCaretStyle(CaretStyleType::csBottomLine); });
  Caretstyle1->addSeparator();
  Auto1 =
      AddToggle(Caretstyle1, "Auto1", tr("自動 "), [&doc](bool on) { doc.SetAutoCaretMode(on); });
  Offsetdisplay1 = sub("Offsetdisplay1", tr("位址格式"));
  auto* offsets = new QActionGroup(this);
  Hex1 = AddChoice(Offsetdisplay1, offsets, "Hex1", tr("十六進制"),
                   [&doc] { doc.SetOffsetDisplay(OffsetDisplayType::odHex); });
  Dec1 = AddChoice(Offsetdisplay1, offsets, "Dec1", tr("十進制"),
                   [&doc] { doc.SetOffsetDisplay(OffsetDisplayType::odDec); });
  Octal1 = AddChoice(Offsetdisplay1, offsets, "Octal1", tr("八進制"),
                     [&doc] { doc.SetOffsetDisplay(OffsetDisplayType::odOctal); });
  None1 = AddChoice(Offsetdisplay1, offsets, "None1", tr("沒有"),
                    [&doc] { doc.SetOffsetDisplay(OffsetDisplayType::odNone); });
  Translation1 = sub("Translation1", tr("轉換格式"));
  auto* translations = new QActionGroup(this);
  const auto translation = [&](const char* name, const char* caption, TranslationType type) {
    return AddChoice(Translation1, translations, name, QString::fromUtf8(caption),
                     [&doc, type] { doc.SetTranslation(type); });
  };
  Ansi1 = translation("Ansi1", "Ansi", TranslationType::ttAnsi);
  ASCII7Bit1 = translation("ASCII7Bit1", "ASCII 7 Bit", TranslationType::ttASCII);
  DOS8Bit1 = translation("DOS8Bit1", "DOS 8 Bit", TranslationType::ttDos8);
  Mac1 = translation("Mac1", "Mac", TranslationType::ttMac);
  IBMEBCDICcp381 = translation("IBMEBCDICcp381", "IBM EBCDIC CP 38", TranslationType::ttEBCDIC);
  View1->addSeparator();
  Grid1 = AddToggle(View1, "Grid1", tr("方格"),
                    [this](bool on) { HexEditor1->SetGridLineWidth(on ? 1 : 0); });
  Showmarkers1 = AddToggle(View1, "Showmarkers1", tr("顯示標記"),
                           [&doc](bool on) { doc.SetShowMarkerColumn(on); });
  SwapNibbles1 =
      AddToggle(View1, "SwapNibbles1", tr("字元調換"), [&doc](bool on) { doc.SetSwapNibbles(on); });
  MaskWhitespaces1 = AddToggle(View1, "MaskWhitespaces1", tr("掩飾空白字元"),
                               [&doc](bool on) { doc.SetMaskWhiteSpaces(on); });
  FixedFilesize1 = AddToggle(View1, "FixedFilesize1", tr("固定檔案大少"),
                             [&doc](bool on) { doc.SetNoSizeChange(on); });
}

void TMiniEdForm::BuildStatusBar() {
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  static constexpr int kWidths[6] = {120, 150, 30, 30, 38, 50};
  for (int i = 0; i < 6; ++i) {
    Panels[i] = new QLabel(StatusBar1);
    Panels[i]->setFrameShape(QFrame::Panel);
    Panels[i]->setFrameShadow(QFrame::Sunken);
    // The last panel reaches to the window's right edge.
    if (i < 5) {
      Panels[i]->setFixedWidth(kWidths[i]);
    } else {
      Panels[i]->setMinimumWidth(kWidths[i]);
    }
    StatusBar1->addWidget(Panels[i], i < 5 ? 0 : 1);
  }
}

void TMiniEdForm::UpdateStatusBar() {
  const std::array<std::string, 6> texts = StatusPanelTexts(HexEditor1->Document());
  // The panels with numbers in the window's language: their template filled again.
  const std::array<std::string_view, 6> templates = {
      kPositionPanelText, kSelectionPanelText, {}, {}, {}, kSizePanelText};
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::optional<std::vector<std::string>> values =
        templates[i].empty() ? std::nullopt : MatchText(templates[i], texts[i]);
    if (!values) {
      Panels[i]->setText(Utf8(texts[i]));
      continue;
    }
    QString text = QCoreApplication::translate("HexEditor", templates[i].data());
    for (const std::string& value : *values) text = text.arg(Utf8(value));
    Panels[i]->setText(text);
  }
}

void TMiniEdForm::UpdateMenus() {
  const HexDocument& doc = HexEditor1->Document();
  const bool has_data = doc.Size() > 0;
  const bool has_selection = doc.GetSelection().has_value();
  // Only whether text is there: the menu state is updated on every caret move, and reading a
  // large clipboard each time would slow typing down.
  const QMimeData* clipboard = QApplication::clipboard()->mimeData();
  const bool clipboard_text = clipboard != nullptr && clipboard->hasText();
  Speichern1->setEnabled(doc.Modified() && !doc.ReadOnly());
  Speichernunter1->menuAction()->setEnabled(has_data);
  Printpreview1->setEnabled(has_data);
  Print1->setEnabled(has_data);
  // The description is one of the marked texts of the undo list.
  const std::string undo(doc.UndoDescription());
  Rckgngig1->setText(tr(" 復原: ") + QCoreApplication::translate("HexEditor", undo.c_str()));
  Rckgngig1->setEnabled(doc.CanUndo());
  Ausschneiden1->setEnabled(has_selection);
  Kopieren1->setEnabled(has_selection);
  Einfgen1->setEnabled(clipboard_text);
  PasteText1->setEnabled(clipboard_text);
  Goto1->setEnabled(has_data);
  Find1->setEnabled(has_data);
  FindNext1->setEnabled(has_data);
  Amount40001->setText(tr(" 總數 : ") + QString::number(jump_amount_));
  Jumpforward1->setEnabled(has_data);
  Jumpbackward1->setEnabled(has_data);
  UpdateViewChecks();
}

void TMiniEdForm::UpdateViewChecks() {
  const HexDocument& doc = HexEditor1->Document();
  Hex2->setChecked(print_format_ == PrintNumberFormat::kHex);
  Decimal1->setChecked(print_format_ == PrintNumberFormat::kDecimal);
  Octal2->setChecked(print_format_ == PrintNumberFormat::kOctal);
  _16->setChecked(doc.BytesPerLine() == 16);
  _32->setChecked(doc.BytesPerLine() == 32);
  _64->setChecked(doc.BytesPerLine() == 64);
  N1Byteperblock1->setChecked(doc.BytesPerColumn() == 1);
  N2Bytesperblock1->setChecked(doc.BytesPerColumn() == 2);
  N4Bytesperblock1->setChecked(doc.BytesPerColumn() == 4);
  Fullblock1->setChecked(doc.CaretStyle() == CaretStyleType::csFull);
  Leftline1->setChecked(doc.CaretStyle() == CaretStyleType::csLeftLine);
  Bottomline1->setChecked(doc.CaretStyle() == CaretStyleType::csBottomLine);
  Auto1->setChecked(doc.AutoCaretMode());
  Hex1->setChecked(doc.OffsetDisplay() == OffsetDisplayType::odHex);
  Dec1->setChecked(doc.OffsetDisplay() == OffsetDisplayType::odDec);
  Octal1->setChecked(doc.OffsetDisplay() == OffsetDisplayType::odOctal);
  None1->setChecked(doc.OffsetDisplay() == OffsetDisplayType::odNone);
  Ansi1->setChecked(doc.Translation() == TranslationType::ttAnsi);
  ASCII7Bit1->setChecked(doc.Translation() == TranslationType::ttASCII);
  DOS8Bit1->setChecked(doc.Translation() == TranslationType::ttDos8);
  Mac1->setChecked(doc.Translation() == TranslationType::ttMac);
  IBMEBCDICcp381->setChecked(doc.Translation() == TranslationType::ttEBCDIC);
  Grid1->setChecked(HexEditor1->GridLineWidth() > 0);
  Showmarkers1->setChecked(doc.ShowMarkerColumn());
  SwapNibbles1->setChecked(doc.SwapNibbles());
  MaskWhitespaces1->setChecked(doc.MaskWhiteSpaces());
  FixedFilesize1->setChecked(doc.NoSizeChange());
}

bool TMiniEdForm::LoadFile(const std::string& path) {
  const bool loaded = HexEditor1->Open(QString::fromStdString(path));
  UpdateStatusBar();
  UpdateMenus();
  return loaded;
}

void TMiniEdForm::reject() {
  if (AskToSaveChanges()) QDialog::reject();
}

void TMiniEdForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  HexEditor1->setFocus();
  if (!first_activation_) return;
  first_activation_ = false;
  if (!first_argument_.empty() && QFileInfo(QString::fromStdString(first_argument_)).isFile()) {
    QApplication::processEvents();
    LoadFile(first_argument_);
  }
}

bool TMiniEdForm::AskToSaveChanges() {
  const HexDocument& doc = HexEditor1->Document();
  if (!doc.Modified()) return true;
  const bool exists = QFileInfo(QString::fromStdString(doc.FileName())).isFile();
  const std::string name = exists ? doc.FileName() : tr("Unnamed File").toStdString();
  switch (messages_.AskYesNoCancel(Filled(tr(" 改變儲存到\r\n%1 ?"), {name}))) {
    case Answer::kYes:
      return Speichern1Click();
    case Answer::kNo:
      return true;
    case Answer::kCancel:
      return false;
  }
  return false;
}

}  // namespace quorvel
