// Builds the main window's controls: the left column's captions, hints, colours and positions,
// the splitters with the three panes, the window description's names bound to the panes' parts,
// and the timers.
#include <QLineEdit>

#include "gui/object_names.h"
#include "gui/pictures.h"
#include "gui/tform1.h"
#include "gui/win_colors.h"

namespace quorvel {

namespace {

constexpr int kColumnWidth = 240;
// The two rows of buttons at the foot of the left column, at the default window size.
constexpr int kButtonRow1 = 462;
constexpr int kButtonRow2 = 504;

constexpr std::uint32_t kPanel2Colour = 0x400040;
constexpr std::uint32_t kNamePanelColour = 0x300030;
constexpr std::uint32_t kLightText = 0xF0F0F0;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                  std::uint32_t colour) {
  auto* label = Named(new QLabel(text, parent), name);
  label->setGeometry(geometry);
  SetFontColor(label, colour);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QString& hint,
                        QRect geometry) {
  auto* button = Named(new QPushButton(text, parent), name);
  button->setGeometry(geometry);
  button->setToolTip(hint);
  return button;
}

}  // namespace

void TForm1::BuildLeftColumn() {
  Image1 = Named(new QLabel(this), "Image1");
  Image1->setGeometry(8, 8, 64, 64);
  Image1->setPixmap(BrandingPicture());
  Label3 = MakeLabel(this, "Label3", QStringLiteral("Quorvel V2.3b"), {80, 6, 156, 26}, 0x40E0FF);
  QFont title = Label3->font();
  title.setPointSize(14);
  title.setBold(true);
  Label3->setFont(title);
  Label4 = MakeLabel(this, "Label4", tr("中文版"), {80, 32, 156, 20}, 0xC0FFC0);
  Label1 = MakeLabel(this, "Label1", QStringLiteral("Kestra"), {80, 52, 156, 20}, kLightText);
  Label2 = MakeLabel(this, "Label2", QStringLiteral("http://www.kestra.example/"), {8, 78, 224, 18},
                     0xD0D0A0);

  Label5 = MakeLabel(this, "Label5", tr("連接等待中.."), {8, 112, 217, 26}, 0x80FFFF);
  QFont status = Label5->font();
  status.setPointSize(12);
  status.setBold(true);
  Label5->setFont(status);
  MILFlashLabel1 = MakeLabel(this, "MILFlashLabel1", tr("轉頁"), {8, 144, 217, 24}, 0x80A0D0);
  MILFlashLabel1->setFont(status);
  MILFlashLabel1->setMouseTracking(true);
  MILFlashLabel1->installEventFilter(this);

  Panel3 = Named(new QFrame(this), "Panel3");
  Panel3->setGeometry(kPanel3Parked, 174, kColumnWidth, 66);
  Panel3->setFrameShape(QFrame::Panel);
  Panel3->setFrameShadow(QFrame::Raised);
  SetBackColor(Panel3, 0x604000);
  Label6 = MakeLabel(Panel3, "Label6", tr("頁數:"), {10, 8, 50, 24}, kLightText);
  Set16MBtn = MakeButton(Panel3, "Set16MBtn", tr("16M 設定頁數"), QString(), {62, 36, 120, 26});

  ProgressBar1 = Named(new QProgressBar(this), "ProgressBar1");
  ProgressBar1->setGeometry(8, 264, 224, 16);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);

  Info1 = MakeLabel(this, "Info1", QString(), {8, kPanel2Home + 8, 224, 24}, 0x80A0D0);
  Info2 = MakeLabel(this, "Info2", QString(), {8, kPanel2Home + 36, 224, 24}, 0x80A0D0);
  Info1->hide();
  Info2->hide();

  NamePanel =
      MakeLabel(this, "NamePanel", tr("沒有選擇單元"), {8, kPanel2Home - 34, 224, 30}, kLightText);
  NamePanel->setFrameShape(QFrame::Panel);
  NamePanel->setFrameShadow(QFrame::Sunken);
  SetBackColor(NamePanel, kNamePanelColour);
  Panel2 = Named(new QFrame(this), "Panel2");
  Panel2->setGeometry(8, kPanel2Home, 224, 112);
  Panel2->setFrameShape(QFrame::Panel);
  Panel2->setFrameShadow(QFrame::Raised);
  SetBackColor(Panel2, kPanel2Colour);
  Image2 = Named(new QLabel(Panel2), "Image2");
  Image2->setGeometry(10, 10, 32, 32);
  Label7 = MakeLabel(Panel2, "Label7", QString(), {50, 10, 170, 32}, kLightText);
  EditBtn = MakeButton(Panel2, "EditBtn", tr("編輯..."), tr("編輯選擇中的資料"), {10, 64, 100, 32});
  AsmBtn = MakeButton(Panel2, "AsmBtn", QStringLiteral("DisAsm."),
                      tr(" 執行反組合程式編輯(Vantric)"), {114, 64, 100, 32});
  AsmBtn->setEnabled(false);

  BitBtn =
      MakeButton(this, "BitBtn", tr("插槽1"), tr("重新整理插槽 1 資料"), {8, kButtonRow1, 72, 32});
  BitBtn1 = MakeButton(this, "BitBtn1", tr("插槽2"), tr("重新整理插槽 2 資料"),
                       {84, kButtonRow1, 72, 32});
  BitBtn2 = MakeButton(this, "BitBtn2", tr("檔案"), QString(), {160, kButtonRow1, 72, 32});
  optBitBtn = MakeButton(this, "optBitBtn", tr("設定選項..."), tr("設定連接埠的位置和速度值"),
                         {8, kButtonRow2, 148, 32});
  QUIT = MakeButton(this, "QUIT", tr("離開"), QString(), {160, kButtonRow2, 72, 32});
  for (QWidget* button : {BitBtn, BitBtn1, BitBtn2, optBitBtn, QUIT}) button->raise();
}

QSpinBox* TForm1::PageBox() {
  if (SpinEdit1 != nullptr) return SpinEdit1;
  SpinEdit1 = Named(new QSpinBox(Panel3), "SpinEdit1");
  SpinEdit1->setGeometry(62, 6, 90, 26);
  // No limits of its own: the card decides which page it takes.
  SpinEdit1->setRange(-65536, 65536);
  SpinEdit1->setKeyboardTracking(false);
  SpinEdit1->findChild<QLineEdit*>()->setReadOnly(true);  // arrow buttons only
  SpinEdit1->setToolTip(tr("按上、下鍵改變頁數"));
  connect(SpinEdit1, &QSpinBox::valueChanged, this, [this] { SpinEdit1Change(); });
  // In the focus chain where it stood when the window built it with the panel.
  QWidget* before = Set16MBtn->previousInFocusChain();
  while (before != this && before->focusPolicy() == Qt::NoFocus) {
    before = before->previousInFocusChain();
  }
  setTabOrder(before, SpinEdit1);
  SpinEdit1->show();
  return SpinEdit1;
}

void TForm1::BuildPanes() {
  Splitter1 = Named(new QSplitter(Qt::Vertical, this), "Splitter1");
  Splitter1->setGeometry(kColumnWidth, 0, kClientWidth - kColumnWidth, kClientHeight);
  Splitter1->setChildrenCollapsible(false);
  Splitter1->setHandleWidth(4);
  Splitter2 = Named(new QSplitter(Qt::Horizontal, Splitter1), "Splitter2");
  Splitter2->setChildrenCollapsible(false);
  Splitter2->setHandleWidth(3);
  card1Image.clear();
  slot1_pane = new CardPane(kPaneSlot1, Splitter2, this, Slot1Card, Slot1Loaded, card1Image);
  slot2_pane = new CardPane(kPaneSlot2, Splitter2, this, Slot2Card, Slot2Loaded, Card2Image);
  image_pane = new CardPane(kPaneImage, Splitter1, this, FileCard, ImageLoaded, FileImage);
  panes_ = {slot1_pane, slot2_pane, image_pane};
  BindPaneNames();
  Splitter1->setSizes({300, kClientHeight - 300 - Splitter1->handleWidth()});
  Splitter2->setSizes({kClientWidth - kColumnWidth - 210 - Splitter2->handleWidth(), 210});
}

void TForm1::BindPaneNames() {
  Panel7 = slot1_pane->container();
  Panel8 = slot2_pane->container();
  FilePane = image_pane->container();
  SLOT1 = slot1_pane->header();
  SLOT2 = slot2_pane->header();
  Panel9 = image_pane->header();
  Card1ListView = slot1_pane->list();
  Card2ListView = slot2_pane->list();
  FileListView = image_pane->list();
  slot1_sizePanel = slot1_pane->size_bar();
  slot2_sizePanel = slot2_pane->size_bar();
  FileCardPanel = image_pane->size_bar();
  SpeedButton3 = slot1_pane->dcm_button();
  SpeedButton4 = slot1_pane->dci_button();
  SpeedButton5 = slot2_pane->dcm_button();
  SpeedButton6 = slot2_pane->dci_button();
  SpeedButton1 = image_pane->dcm_button();
  SpeedButton2 = image_pane->dci_button();

  const PaneMenuItems& slot1 = slot1_pane->menu();
  PopupMenu1 = slot1.menu;
  Refresh_Slot1 = slot1.refresh;
  SLOT1LOADDCM1 = slot1.load_image;
  SLOT1LOADDCI1 = slot1.add_save_file;
  SLOT1LOADBMP1 = slot1.add_card_icon;
  SLOT1SAVEAS1 = slot1.save_as;
  delete_shot1 = slot1.format;
  N2411 = slot1.format_items[0];
  N240Block1 = slot1.format_items[1];
  N200Block1 = slot1.format_items[2];
  SLOT1DELSEL1 = slot1.delete_selected;
  UndoSlot1 = slot1.undo;
  HistorySlot1 = slot1.history;

  const PaneMenuItems& slot2 = slot2_pane->menu();
  PopupMenu2 = slot2.menu;
  refresh_slot2 = slot2.refresh;
  SLOT2LOADDCM1 = slot2.load_image;
  SLOT2LOADDCI1 = slot2.add_save_file;
  S1 = slot2.add_card_icon;
  SLOT2SAVEAS1 = slot2.save_as;
  format_slot2 = slot2.format;
  N2412 = slot2.format_items[0];
  N240Blocks1 = slot2.format_items[1];
  N200Blocks1 = slot2.format_items[2];
  Slot2DelSel1 = slot2.delete_selected;
  UndoSlot2 = slot2.undo;
  HistorySlot2 = slot2.history;

  const PaneMenuItems& image = image_pane->menu();
  FilePopupMenu = image.menu;
  NEWDCMFILE1 = image.new_image;
  LOADDCMfile1 = image.open_image;
  CLOSEDCMFILE1 = image.close_image;
  RecentImagesMenu = image.recent_images;
  LOADDCIFILE1 = image.add_save_file;
  LOADBMPPIC1 = image.add_card_icon;
  SAVEAS1 = image.save_as;
  Delete1 = image.format;
  N2413 = image.format_items[0];
  N241Blocks1 = image.format_items[1];
  N200Blocks2 = image.format_items[2];
  DelSel1 = image.delete_selected;
  UndoImage = image.undo;
  HistoryImage = image.history;
}

void TForm1::LayOutWindow() {
  if (Splitter1 == nullptr || QUIT == nullptr) return;  // not built yet
  Splitter1->setGeometry(kColumnWidth, 0, width() - kColumnWidth, height());
  const int below = height() - kClientHeight;
  for (QPushButton* button : {BitBtn, BitBtn1, BitBtn2}) {
    button->move(button->x(), kButtonRow1 + below);
  }
  for (QPushButton* button : {optBitBtn, QUIT}) button->move(button->x(), kButtonRow2 + below);
}

void TForm1::BuildTimers() {
  Timer1 = Named(new QTimer(this), "Timer1");
  Timer1->setInterval(800);
  Timer2 = Named(new QTimer(this), "Timer2");
  Timer2->setInterval(1000);
  Timer3 = Named(new QTimer(this), "Timer3");
  Timer3->setInterval(1500);
}

}  // namespace quorvel
