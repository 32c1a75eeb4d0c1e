// ToptForm: building the settings dialog's controls, the edit validation, the speed slider,
// LoadControls, the buttons, the hidden delay panel and its pop-up menu, the scrolling text.
#include "gui/toptform.h"

#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QPainter>
#include <QValidator>
#include <array>
#include <utility>

#include "gui/object_names.h"

namespace quorvel {

namespace {

constexpr int kDialogWidth = 420;
constexpr int kDialogHeight = 450;
constexpr int kButtonsTop = kDialogHeight - 38;
constexpr int kPanel3Height = 132;
constexpr int kSliderIncrement = 128;
constexpr int kDescriptionSliderMax = 5376;

// Translated where they are used: the translation is installed after these are made.
constexpr const char* kSpeedIndicator = QT_TRANSLATE_NOOP("quorvel::ToptForm", " 速度指標: ");
constexpr const char* kPortInOut = QT_TRANSLATE_NOOP("quorvel::ToptForm", " 輸入/輸出");

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* label = Named(new QLabel(text, parent), name);
  label->setGeometry(geometry);
  label->setAlignment(align);
  return label;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* radio = Named(new QRadioButton(text, parent), name);
  radio->setGeometry(geometry);
  return radio;
}

// Turns what the user types into upper case, as the dialog's edits show only upper case.
class UpperCaseValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& /*pos*/) const override {
    input = input.toUpper();
    return Acceptable;
  }
};

QLineEdit* MakeHexEdit(QWidget* parent, const char* name, QRect geometry) {
  auto* edit = Named(new QLineEdit(parent), name);
  edit->setGeometry(geometry);
  edit->setValidator(new UpperCaseValidator(edit));
  return edit;
}

int HexDigit(QChar c) {
  if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return c.unicode() - '0';
  if (c >= QLatin1Char('A') && c <= QLatin1Char('F')) return c.unicode() - 'A' + 10;
  return -1;
}

}  // namespace

std::uint32_t ParseHex(const QString& text) {
  constexpr std::uint32_t kInvalid = 0xFFFF;
  if (text.isEmpty()) return kInvalid;
  std::uint32_t result = 0;
  std::uint32_t weight = 1;
  for (qsizetype i = text.size() - 1; i >= 0; --i) {
    const int digit = HexDigit(text[i]);
    if (digit < 0) return kInvalid;
    result |= static_cast<std::uint32_t>(digit) * weight;
    weight *= 16;
  }
  return result;
}

QString HexText(std::uint32_t value, int digits) {
  return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

// ---- ScrollingText ---------------------------------------------------------------------

ScrollingText::ScrollingText(const QString& text, QWidget* parent)
    : QFrame(parent), ScrollTimer(new QTimer(this)), text_(text) {
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Sunken);
  ScrollTimer->setInterval(kTickMs);
  connect(ScrollTimer, &QTimer::timeout, this, &ScrollingText::ScrollStep);
}

void ScrollingText::ScrollStep() {
  text_left_ -= kStepPixels;
  if (text_left_ + fontMetrics().horizontalAdvance(text_) < 0) text_left_ = width();
  update();
}

void ScrollingText::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  painter.setClipRect(contentsRect());
  painter.drawText(QRect(text_left_, 0, fontMetrics().horizontalAdvance(text_) + 1, height()),
                   Qt::AlignLeft | Qt::AlignVCenter, text_);
}

void ScrollingText::showEvent(QShowEvent* event) {
  QFrame::showEvent(event);
  ScrollTimer->start();
}

void ScrollingText::hideEvent(QHideEvent* event) {
  ScrollTimer->stop();
  QFrame::hideEvent(event);
}

// ---- Building the dialog -----------------------------------------------------------------

ToptForm::ToptForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName("optForm");
  setWindowTitle(tr("設定選項"));
  setModal(true);
  BuildPortGroup();
  BuildDragGroup();
  BuildSpeedControls();
  BuildRefreshGroup();
  BuildJournalGroup();
  BuildButtons();
  BuildDelayPanel();
  BuildPopupMenu();
  SetDelayPanelShown(false);
  ConnectEvents();
}

void ToptForm::BuildPortGroup() {
  RadioGroup1 = Named(new QGroupBox(tr("連接埠設定"), this), "RadioGroup1");
  RadioGroup1->setGeometry(8, 8, 196, 114);
  RadioGroup1->setToolTip(tr("連接埠位址: LPT 1 = 0x378H, LPT 2 = 0x278H"));
  RadioButton1 = MakeRadio(RadioGroup1, "RadioButton1", QStringLiteral("LPT1"), {12, 22, 170, 20});
  RadioButton2 = MakeRadio(RadioGroup1, "RadioButton2", QStringLiteral("LPT2"), {12, 44, 170, 20});
  RadioButton3 = MakeRadio(RadioGroup1, "RadioButton3", tr("自訂:"), {12, 66, 176, 20});
  auto* group = new QButtonGroup(RadioGroup1);
  for (QRadioButton* radio : {RadioButton1, RadioButton2, RadioButton3}) group->addButton(radio);
  RadioButton1->setChecked(true);
  StaticText1 = MakeLabel(RadioGroup1, "StaticText1", QStringLiteral("0x"), {30, 88, 18, 20});
  baseEdit = MakeHexEdit(RadioGroup1, "baseEdit", {50, 87, 90, 22});
  baseEdit->setMaxLength(8);
  baseEdit->setText(QStringLiteral("378"));
}

void ToptForm::BuildDragGroup() {
  GroupBox1 = Named(new QGroupBox(tr("拖曳的功能"), this), "GroupBox1");
  GroupBox1->setGeometry(212, 8, 200, 114);
  CopyRadio = MakeRadio(GroupBox1, "CopyRadio", tr("複製單元"), {12, 32, 176, 22});
  MoveRadio = MakeRadio(GroupBox1, "MoveRadio", tr("移動單元"), {12, 64, 176, 22});
  CopyRadio->setChecked(true);
}

void ToptForm::BuildSpeedControls() {
  Label3 = MakeLabel(this, "Label3", tr("連結速度"), {8, 130, 150, 20});
  Label11 = MakeLabel(this, "Label11", tr(kSpeedIndicator) + HexText(0, 4), {212, 130, 200, 20},
                      Qt::AlignRight | Qt::AlignVCenter);
  DelayBar = Named(new QSlider(Qt::Horizontal, this), "DelayBar");
  DelayBar->setGeometry(8, 154, 404, 24);
  DelayBar->setRange(0, kDescriptionSliderMax);
  DelayBar->setSingleStep(kSliderIncrement);
  DelayBar->setPageStep(kSliderIncrement);
  Label15 = MakeLabel(this, "Label15", QStringLiteral("0"), {8, 180, 60, 16});
  Label16 = MakeLabel(this, "Label16", HexText(kDescriptionSliderMax / 2, 4), {180, 180, 60, 16},
                      Qt::AlignCenter);
  Label17 = MakeLabel(this, "Label17", HexText(kDescriptionSliderMax, 4), {352, 180, 60, 16},
                      Qt::AlignRight | Qt::AlignVCenter);
  Label8 = MakeLabel(this, "Label8", tr("快(速度)"), {8, 198, 140, 18});
  Label9 = MakeLabel(this, "Label9", tr("高(相容性)"), {272, 198, 140, 18},
                     Qt::AlignRight | Qt::AlignVCenter);
  SecretPanel1 = Named(new ScrollingText(tr("可調節控制杆上的速度值來配合你電腦的運作!"), this),
                       "SecretPanel1");
  SecretPanel1->setGeometry(8, 222, 404, 24);
}

void ToptForm::BuildRefreshGroup() {
  GroupBox2 = Named(new QGroupBox(tr("自動重新整理模式"), this), "GroupBox2");
  GroupBox2->setGeometry(8, 254, 196, 56);
  AutoBox1 = Named(new QCheckBox(tr("啟動"), GroupBox2), "AutoBox1");
  AutoBox1->setGeometry(12, 24, 170, 22);
  Label12 = MakeLabel(this, "Label12", HexText(0, 8), {232, 256, 180, 16});
  Label13 = MakeLabel(this, "Label13", HexText(0, 8), {232, 274, 180, 16});
  Label14 = MakeLabel(this, "Label14", HexText(0, 8), {232, 292, 180, 16});
  for (QLabel* label : {Label12, Label13, Label14}) label->hide();
}

void ToptForm::BuildJournalGroup() {
  GroupBox3 = Named(new QGroupBox(tr("變更記錄"), this), "GroupBox3");
  GroupBox3->setGeometry(8, 316, 404, 88);
  JournalBox = Named(new QCheckBox(tr("記錄每次寫入 (可以復原)"), GroupBox3), "JournalBox");
  JournalBox->setGeometry(12, 20, 380, 20);
  VerifyCardBox = Named(new QCheckBox(tr("格式化和上載後讀回檢查"), GroupBox3), "VerifyCardBox");
  VerifyCardBox->setGeometry(12, 42, 380, 20);
  VerifySaveBox = Named(new QCheckBox(tr("單一存檔寫入後讀回檢查"), GroupBox3), "VerifySaveBox");
  VerifySaveBox->setGeometry(12, 64, 380, 20);
}

void ToptForm::BuildButtons() {
  BitBtn2 = Named(new QPushButton(tr("確定"), this), "BitBtn2");
  BitBtn2->setGeometry(212, kButtonsTop, 96, 30);
  BitBtn2->setDefault(true);
  BitBtn1 = Named(new QPushButton(tr("離開"), this), "BitBtn1");
  BitBtn1->setGeometry(316, kButtonsTop, 96, 30);
}

void ToptForm::BuildDelayPanel() {
  Panel3 = Named(new QFrame(this), "Panel3");
  Panel3->setGeometry(8, kDialogHeight, kDialogWidth - 16, kPanel3Height - 8);
  Panel3->setFrameShape(QFrame::Panel);
  Panel3->setFrameShadow(QFrame::Raised);
  Label4 = MakeLabel(Panel3, "Label4", tr("最短延遲時間:"), {10, 8, 120, 22});
  Label5 = MakeLabel(Panel3, "Label5", tr(" 較長延遲時間:"), {10, 36, 120, 22});
  Label6 = MakeLabel(Panel3, "Label6", tr("最長延遲時間:"), {10, 64, 120, 22});
  Label7 = MakeLabel(Panel3, "Label7", tr("最大值:"), {10, 92, 120, 22});
  delayEdit1 = MakeHexEdit(Panel3, "delayEdit1", {136, 8, 110, 22});
  delayEdit2 = MakeHexEdit(Panel3, "delayEdit2", {136, 36, 110, 22});
  delayEdit3 = MakeHexEdit(Panel3, "delayEdit3", {136, 64, 110, 22});
  MaxEdit = MakeHexEdit(Panel3, "MaxEdit", {136, 92, 110, 22});
  Button1 = Named(new QPushButton(tr("確定"), Panel3), "Button1");
  Button1->setGeometry(292, 88, 96, 28);
}

void ToptForm::BuildPopupMenu() {
  PopupMenu1 = Named(new QMenu(this), "PopupMenu1");
  EditDelayTime1 = Named(PopupMenu1->addAction(tr("編輯延長時間")), "EditDelayTime1");
  EditDelayTime1->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E));
  EditDelayTime1->setVisible(false);
  ToggleTest1 = Named(PopupMenu1->addAction(tr("測試顯示")), "ToggleTest1");
  ToggleTest1->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T));
  // The short-cuts work anywhere in the dialog, also for the item the menu does not show.
  for (QAction* action : {EditDelayTime1, ToggleTest1}) {
    auto* shortcut = new QAction(this);
    shortcut->setShortcut(action->shortcut());
    shortcut->setShortcutContext(Qt::WindowShortcut);
    connect(shortcut, &QAction::triggered, action, &QAction::trigger);
    addAction(shortcut);
  }
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(mapToGlobal(at)); });
}

void ToptForm::ConnectEvents() {
  connect(baseEdit, &QLineEdit::textChanged, this, &ToptForm::baseEditChange);
  connect(delayEdit1, &QLineEdit::textChanged, this, &ToptForm::delayEdit1Change);
  connect(delayEdit2, &QLineEdit::textChanged, this, &ToptForm::delayEdit2Change);
  connect(delayEdit3, &QLineEdit::textChanged, this, &ToptForm::delayEdit3Change);
  connect(MaxEdit, &QLineEdit::textChanged, this, &ToptForm::MaxEditChange);
  connect(DelayBar, &QSlider::valueChanged, this, &ToptForm::DelayBarChange);
  connect(CopyRadio, &QRadioButton::clicked, this, &ToptForm::CopyRadioClick);
  connect(MoveRadio, &QRadioButton::clicked, this, &ToptForm::MoveRadioClick);
  connect(AutoBox1, &QCheckBox::clicked, this, &ToptForm::AutoBox1Click);
  connect(JournalBox, &QCheckBox::clicked, this, &ToptForm::JournalBoxClick);
  connect(VerifyCardBox, &QCheckBox::clicked, this, &ToptForm::VerifyCardBoxClick);
  connect(VerifySaveBox, &QCheckBox::clicked, this, &ToptForm::VerifySaveBoxClick);
  connect(BitBtn2, &QPushButton::clicked, this, &ToptForm::BitBtn2Click);
  connect(BitBtn1, &QPushButton::clicked, this, &ToptForm::BitBtn1Click);
  connect(Button1, &QPushButton::clicked, this, &ToptForm::Button1Click);
  connect(EditDelayTime1, &QAction::triggered, this, &ToptForm::EditDelayTime1Click);
  connect(ToggleTest1, &QAction::triggered, this, &ToptForm::ToggleTest1Click);
}

void ToptForm::SetDelayPanelShown(bool shown) {
  Panel3->setVisible(shown);
  setFixedSize(kDialogWidth, kDialogHeight + (shown ? kPanel3Height : 0));
}

// ---- Edits and slider ----------------------------------------------------------------------

std::uint32_t ToptForm::ValidatedHex(QLineEdit* edit, const QString& reset_text) {
  const QString text = edit->text();
  if (HexText(ParseHex(text), static_cast<int>(text.size())) != text.toUpper()) {
    edit->setText(reset_text);  // runs this edit's change handler again with the reset text
  }
  return ParseHex(edit->text());
}

void ToptForm::baseEditChange() {
  Fields.base_port = static_cast<std::uint16_t>(ValidatedHex(baseEdit, QStringLiteral("378")));
  ShowCustomPort();
  RadioButton3->setChecked(true);
}

void ToptForm::delayEdit1Change() {
  Fields.poll_delay = static_cast<std::int32_t>(ValidatedHex(delayEdit1, HexText(0x14, 8)));
}

void ToptForm::delayEdit2Change() {
  Fields.byte_delay = static_cast<std::int32_t>(ValidatedHex(delayEdit2, HexText(0x100, 8)));
}

void ToptForm::delayEdit3Change() {
  Fields.bit_delay = static_cast<std::int32_t>(ValidatedHex(delayEdit3, HexText(0x600, 8)));
}

void ToptForm::MaxEditChange() {
  Fields.slider_max = static_cast<std::int32_t>(
      ValidatedHex(MaxEdit, HexText(static_cast<std::uint32_t>(Fields.slider_max), 8)));
  DelayBar->setMaximum(Fields.slider_max);
}

void ToptForm::DelayBarChange() {
  const int v = DelayBar->value();
  Fields.poll_delay = v / 16;
  Fields.byte_delay = v;
  Fields.bit_delay = 3 * v / 2;
  const std::array<std::pair<QLabel*, QLineEdit*>, 3> shown = {
      {{Label12, delayEdit1}, {Label13, delayEdit2}, {Label14, delayEdit3}}};
  const std::array<std::int32_t, 3> values = {Fields.poll_delay, Fields.byte_delay,
                                              Fields.bit_delay};
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const QString text = HexText(static_cast<std::uint32_t>(values[i]), 8);
    shown[i].first->setText(text);
    shown[i].second->setText(text);
  }
  ShowSpeedIndicator(v);
}

void ToptForm::ShowCustomPort() {
  RadioButton3->setText(tr(kPortInOut) + HexText(Fields.base_port, 3));
}

void ToptForm::ShowSpeedIndicator(std::int32_t value) {
  Label11->setText(tr(kSpeedIndicator) + HexText(static_cast<std::uint32_t>(value), 4));
}

void ToptForm::LoadControls() {
  RadioButton3->setText(tr(" 自訂"));
  RadioButton1->setChecked(true);
  RadioButton2->setChecked(true);
  RadioButton3->setChecked(true);
  if (Fields.base_port == kLpt1) {
    RadioButton1->setChecked(true);
  } else if (Fields.base_port == kLpt2) {
    RadioButton2->setChecked(true);
  } else {
    RadioButton3->setChecked(true);
    ShowCustomPort();
  }
  (Fields.drag_mode != 0 ? MoveRadio : CopyRadio)->setChecked(true);
  AutoBox1->setChecked(Fields.auto_refresh == 1);
  JournalBox->setChecked(JournalOn(Fields));
  VerifyCardBox->setChecked(VerifyWholeCard(Fields));
  VerifySaveBox->setChecked(VerifySingleSaves(Fields));

  const Settings loaded = Fields;
  delayEdit1->setText(HexText(static_cast<std::uint32_t>(loaded.poll_delay), 8));
  delayEdit2->setText(HexText(static_cast<std::uint32_t>(loaded.byte_delay), 8));
  delayEdit3->setText(HexText(static_cast<std::uint32_t>(loaded.bit_delay), 8));
  MaxEdit->setText(HexText(static_cast<std::uint32_t>(loaded.slider_max), 8));

  DelayBar->setMaximum(Fields.slider_max);
  Label16->setText(HexText(static_cast<std::uint32_t>(Fields.slider_max / 2), 4));
  Label17->setText(HexText(static_cast<std::uint32_t>(Fields.slider_max), 4));
  DelayBar->setValue(loaded.byte_delay);  // moving the slider runs DelayBarChange
  ShowSpeedIndicator(Fields.byte_delay);
}

// ---- Buttons and menu --------------------------------------------------------------------

void ToptForm::AutoBox1Click() { Fields.auto_refresh = AutoBox1->isChecked() ? 1 : 0; }

void ToptForm::BitBtn2Click() {
  if (RadioButton1->isChecked()) {
    Fields.base_port = kLpt1;
  } else if (RadioButton2->isChecked()) {
    Fields.base_port = kLpt2;
  }
  OkFlag = true;
  accept();
}

void ToptForm::BitBtn1Click() {
  OkFlag = false;
  reject();
}

void ToptForm::Button1Click() {
  SetDelayPanelShown(false);
  LoadControls();
}

void ToptForm::EditDelayTime1Click() {
  SetDelayPanelShown(true);
  LoadControls();
}

void ToptForm::ToggleTest1Click() {
  const bool show = Label12->isHidden();
  for (QLabel* label : {Label12, Label13, Label14}) label->setVisible(show);
}

}  // namespace quorvel
