// The disassembly and patch window: its controls, the listing of one page of the page table,
// going to an address, patching the selected instruction and the two ways out.
#include "gui/tasm86kform.h"

#include <QBoxLayout>
#include <QFont>
#include <QSignalBlocker>
#include <QStringList>
#include <QValidator>
#include <optional>
#include <string_view>
#include <vector>

#include "gui/translations.h"

namespace quorvel {

namespace {

constexpr const char* kAskSave = QT_TRANSLATE_NOOP("quorvel::Tasm86kForm", " 儲存資料? ");
constexpr const char* kAskLeaveUnsaved =
    QT_TRANSLATE_NOOP("quorvel::Tasm86kForm", "  資料還沒儲存,是否退出 ?");
const QString kFirstAddress = QStringLiteral("00000000");

int HexDigit(QChar c) {
  if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return c.unicode() - '0';
  if (c >= QLatin1Char('A') && c <= QLatin1Char('F')) return c.unicode() - 'A' + 10;
  return -1;
}

// Accepts upper-case hex digits only and turns typed lower-case letters into upper case;
// any other character is refused, so the field keeps the text it had.
class UpperHexValidator : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int& /*position*/) const override {
    input = input.toUpper();
    for (QChar c : input) {
      if (HexDigit(c) < 0) return Invalid;
    }
    return Acceptable;
  }
};

// The value of a hexadecimal text: upper-case digits taken from the right; nothing for an
// empty text or any other character.
std::optional<std::uint32_t> HexValue(const QString& text) {
  if (text.isEmpty()) return std::nullopt;
  std::uint32_t value = 0;
  for (QChar c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

QString ByteText(std::uint8_t value) {
  return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

Tasm86kForm::Tasm86kForm(Messages& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      messages_(messages) {
  setObjectName("asm86kForm");
  setModal(true);
  // Courier New where it is installed; elsewhere the system's fixed-pitch face takes its place.
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setBold(true);
  setFont(font);
  BuildControls();
  setFixedSize(kWidth, kHeight);
  Edit1->setText(kFirstAddress);
  SelectNothing();
}

QLineEdit* Tasm86kForm::MakeHexEdit(const char* name, int max_length) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  edit->setMaxLength(max_length);
  edit->setValidator(new UpperHexValidator(edit));
  return edit;
}

void Tasm86kForm::BuildControls() {
  MainMenu1 = new QMenuBar(this);
  File1 = MainMenu1->addMenu(tr("檔案"));
  Save1 = File1->addAction(tr("儲存及離開"));
  Save1->setObjectName("Save1");
  Exit1 = File1->addAction(tr("離開"));
  Exit1->setObjectName("Exit1");

  Button2 = new QPushButton(tr("位址"), this);
  Button2->setObjectName("Button2");
  Edit1 = MakeHexEdit("Edit1", 8);
  Edit1->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 8 + 16);
  editbtn = new QPushButton(tr("編輯"), this);
  editbtn->setObjectName("editbtn");
  addrLabel = new QLabel(this);
  addrLabel->setObjectName("addrLabel");
  addrLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  addrLabel->setAlignment(Qt::AlignCenter);
  addrLabel->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 4 + 16);
  codeed1 = MakeHexEdit("codeed1", 2);
  codeed2 = MakeHexEdit("codeed2", 2);
  codeed3 = MakeHexEdit("codeed3", 2);
  byte_fields_ = {codeed1, codeed2, codeed3};
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  AsmListBox = new QListWidget(this);
  AsmListBox->setObjectName("AsmListBox");
  AsmListBox->setUniformItemSizes(true);
  AsmListBox->setSelectionMode(QAbstractItemView::SingleSelection);

  auto* controls = new QHBoxLayout;
  controls->addWidget(Button2);
  controls->addWidget(Edit1);
  controls->addSpacing(24);
  controls->addWidget(editbtn);
  controls->addWidget(addrLabel);
  for (QLineEdit* field : byte_fields_) {
    field->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 2 + 16);
    controls->addWidget(field);
  }
  controls->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(MainMenu1);
  layout->addLayout(controls);
  layout->addWidget(Label1);
  layout->addWidget(AsmListBox);

  connect(Button2, &QPushButton::clicked, this, &Tasm86kForm::Button2Click);
  connect(Edit1, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (const std::optional<std::uint32_t> value = HexValue(text)) target_ = *value;
  });
  connect(editbtn, &QPushButton::clicked, this, &Tasm86kForm::editbtnClick);
  // Moving to a line, and clicking it again (which puts its bytes back into the fields).
  connect(AsmListBox, &QListWidget::currentRowChanged, this, &Tasm86kForm::AsmListBoxClick);
  connect(AsmListBox, &QListWidget::itemClicked, this, &Tasm86kForm::AsmListBoxClick);
  connect(Save1, &QAction::triggered, this, &Tasm86kForm::Save1Click);
  connect(Exit1, &QAction::triggered, this, &Tasm86kForm::Exit1Click);
  for (QLineEdit* field : byte_fields_) {
    connect(field, &QLineEdit::textChanged, this, &Tasm86kForm::UpdateEditButton);
  }
}

bool Tasm86kForm::OpenCode(const std::filesystem::path& code_file) {
  saved_ = false;
  Edit1->setText(kFirstAddress);
  target_ = 0;
  listed_page_ = -1;
  if (!pages_.Open(code_file)) {
    AsmListBox->clear();
    messages_.Inform(pages_.error());
    return false;
  }
  ListCurrentPage();
  return true;
}

void Tasm86kForm::ListCurrentPage() {
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(pages_.lines().size()));
  for (const Instruction& line : pages_.lines()) lines.append(QString::fromLatin1(line.text));
  {
    const QSignalBlocker quiet(AsmListBox);
    AsmListBox->clear();
    AsmListBox->addItems(lines);
  }
  listed_page_ = pages_.current_page();
  Label1->setText(ShownText(pages_.page_label()));
  SelectNothing();
}

void Tasm86kForm::Button2Click() {
  ShowGoTo(pages_.GoTo(HexValue(Edit1->text()).value_or(target_)));
}

void Tasm86kForm::ShowGoTo(const GoToResult& result) {
  switch (result.status) {
    case GoToStatus::kOutOfRange:
      messages_.Inform(kAddressOutOfRangeText);
      return;
    case GoToStatus::kFailed:
      messages_.Inform(pages_.error());
      return;
    case GoToStatus::kSelected:
    case GoToStatus::kNoLine:
      break;
  }
  if (pages_.current_page() != listed_page_) ListCurrentPage();
  if (result.status == GoToStatus::kSelected) {
    SelectLine(static_cast<int>(result.line));
  } else {
    SelectNothing();
  }
}

void Tasm86kForm::SelectLine(int row) {
  {
    const QSignalBlocker quiet(AsmListBox);
    AsmListBox->setCurrentRow(row);
  }
  AsmListBox->scrollToItem(AsmListBox->item(row), QAbstractItemView::PositionAtCenter);
  AsmListBoxClick();
}

void Tasm86kForm::AsmListBoxClick() {
  const int row = AsmListBox->currentRow();
  if (row < 0 || row >= static_cast<int>(pages_.lines().size())) {
    SelectNothing();
    return;
  }
  const Instruction& line = pages_.lines()[static_cast<std::size_t>(row)];
  addrLabel->setText(QString::fromLatin1(line.text.substr(1, 4)));  // as the listing shows it
  for (int i = 0; i < 3; ++i) {
    QLineEdit* field = byte_fields_[static_cast<std::size_t>(i)];
    const bool used = i < line.length;
    field->setText(used ? ByteText(line.bytes[static_cast<std::size_t>(i)]) : QString());
    field->setVisible(used);
  }
  selected_row_ = row;
  byte_count_ = line.length;
  UpdateEditButton();
}

void Tasm86kForm::SelectNothing() {
  {
    const QSignalBlocker quiet(AsmListBox);
    AsmListBox->setCurrentRow(-1);
  }
  addrLabel->clear();
  for (QLineEdit* field : byte_fields_) {
    field->clear();
    field->hide();
  }
  selected_row_ = -1;
  byte_count_ = 0;
  UpdateEditButton();
}

// The patch needs a value in every byte field of the selected instruction.
void Tasm86kForm::UpdateEditButton() {
  bool complete = true;
  for (int i = 0; i < byte_count_; ++i) {
    complete = complete && HexValue(byte_fields_[static_cast<std::size_t>(i)]->text()).has_value();
  }
  editbtn->setEnabled(complete);
}

void Tasm86kForm::editbtnClick() {
  if (byte_count_ == 0 || selected_row_ < 0) return;
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < byte_count_; ++i) {
    const std::optional<std::uint32_t> value =
        HexValue(byte_fields_[static_cast<std::size_t>(i)]->text());
    if (!value) return;
    bytes.push_back(static_cast<std::uint8_t>(*value));
  }
  const GoToResult result = pages_.Patch(static_cast<std::size_t>(selected_row_), bytes);
  ListCurrentPage();  // the page as the changed file now decodes
  ShowGoTo(result);
}

void Tasm86kForm::Save1Click() {
  saved_ = true;
  accept();
}

void Tasm86kForm::Exit1Click() {
  if (messages_.AskYesNo(tr(kAskSave).toStdString())) {
    Save1Click();
  } else if (messages_.AskYesNo(tr(kAskLeaveUnsaved).toStdString())) {
    reject();
  }
}

}  // namespace quorvel
