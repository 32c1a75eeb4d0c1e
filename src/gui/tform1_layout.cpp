// Builds the main window's controls: captions, hints, colours and positions, the three panes
// with their menus, and the timers.
#include <QEvent>
#include <QKeySequence>
#include <QLineEdit>

#include "gui/pane_list_view.h"
#include "gui/pictures.h"
#include "gui/tform1.h"
#include "gui/win_colors.h"

namespace quorvel {

namespace {

constexpr int kHeaderHeight = 38;
constexpr int kSizeBarHeight = 22;
constexpr int kColumnWidth = 240;
constexpr int kPaneGrid = 54;
// The two rows of buttons at the foot of the left column, at the default window size.
constexpr int kButtonRow1 = 462;
constexpr int kButtonRow2 = 504;

constexpr std::uint32_t kSlotHeaderBack = 0x5A2800;
constexpr std::uint32_t kImageHeaderBack = 0x4A3A00;
constexpr std::uint32_t kSizeBarBack = 0x303030;
constexpr std::uint32_t kGreyList = 0xBBBBBB;
constexpr std::uint32_t kPanel2Colour = 0x400040;
constexpr std::uint32_t kNamePanelColour = 0x300030;
constexpr std::uint32_t kLightText = 0xF0F0F0;

template <typename T>
T* Named(T* object, const char* name) {
  object->setObjectName(QString::fromLatin1(name));
  return object;
}

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

QAction* AddItem(QMenu* menu, const char* name, const QString& caption) {
  auto* action = Named(menu->addAction(caption), name);
  return action;
}

void AddSeparator(QMenu* menu, const char* name) { Named(menu->addSeparator(), name); }

QMenu* AddFormatMenu(QMenu* menu, const char* name, const QString& caption, QAction*& blocks241,
                     const char* name241, QAction*& blocks240, const char* name240,
                     QAction*& blocks200, const char* name200) {
  auto* sub = Named(menu->addMenu(caption), name);
  sub->menuAction()->setObjectName(QString::fromLatin1(name));
  blocks241 = AddItem(sub, name241, QStringLiteral("241 Blocks"));
  blocks240 = AddItem(sub, name240, QStringLiteral("240 Blocks"));
  blocks200 = AddItem(sub, name200, QStringLiteral("200 Blocks"));
  return sub;
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
  SpinEdit1 = Named(new QSpinBox(Panel3), "SpinEdit1");
  SpinEdit1->setGeometry(62, 6, 90, 26);
  // No limits of its own: the card decides which page it takes.
  SpinEdit1->setRange(-65536, 65536);
  SpinEdit1->setKeyboardTracking(false);
  SpinEdit1->findChild<QLineEdit*>()->setReadOnly(true);  // arrow buttons only
  SpinEdit1->setToolTip(tr("按上、下鍵改變頁數"));
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

void TForm1::BuildPanes() {
  Splitter1 = Named(new QSplitter(Qt::Vertical, this), "Splitter1");
  Splitter1->setGeometry(kColumnWidth, 0, kClientWidth - kColumnWidth, kClientHeight);
  Splitter1->setChildrenCollapsible(false);
  Splitter1->setHandleWidth(4);
  Splitter2 = Named(new QSplitter(Qt::Horizontal, Splitter1), "Splitter2");
  Splitter2->setChildrenCollapsible(false);
  Splitter2->setHandleWidth(3);
  Panel7 = Named(new QWidget(Splitter2), "Panel7");
  Panel8 = Named(new QWidget(Splitter2), "Panel8");
  FilePane = Named(new QWidget(Splitter1), "FilePane");
  for (QWidget* pane : {Panel7, Panel8, FilePane}) {
    pane->setMinimumSize(1, 50);  // Splitter1 keeps 50 pixels for either side
    pane->installEventFilter(this);
  }

  card1Image.clear();
  panes_[kPaneSlot1] = {nullptr,    nullptr,      nullptr, &card1Image,
                        &Slot1Card, &Slot1Loaded, nullptr, {}};
  panes_[kPaneSlot2] = {nullptr,    nullptr,      nullptr, &Card2Image,
                        &Slot2Card, &Slot2Loaded, nullptr, {}};
  panes_[kPaneImage] = {nullptr,   nullptr,      nullptr, &FileImage,
                        &FileCard, &ImageLoaded, nullptr, {}};
  BuildPane(kPaneSlot1, Panel7, tr("插槽1"), tr(" 資料在插槽1的記憶卡中"),
            tr("記憶卡剩餘的空間...."));
  BuildPane(kPaneSlot2, Panel8, tr("插槽2"), tr("資料在插槽2的記憶卡中"),
            tr("記憶卡剩餘的空間...."));
  BuildPane(kPaneImage, FilePane, tr("檔案"), tr(" 資料在開啟檔案中"), tr("剩餘的空間...."));
  SLOT1 = Named(panes_[kPaneSlot1].header, "SLOT1");
  SLOT2 = Named(panes_[kPaneSlot2].header, "SLOT2");
  Panel9 = Named(panes_[kPaneImage].header, "Panel9");
  Card1ListView = Named(panes_[kPaneSlot1].list, "Card1ListView");
  Card2ListView = Named(panes_[kPaneSlot2].list, "Card2ListView");
  FileListView = Named(panes_[kPaneImage].list, "FileListView");
  slot1_sizePanel = Named(panes_[kPaneSlot1].size_panel, "slot1_sizePanel");
  slot2_sizePanel = Named(panes_[kPaneSlot2].size_panel, "slot2_sizePanel");
  FileCardPanel = Named(panes_[kPaneImage].size_panel, "FileCardPanel");

  auto speed_button = [](QLabel* header, const char* name, const QString& text,
                         const QString& hint) {
    auto* button = Named(new QToolButton(header), name);
    QFont small = button->font();
    small.setPointSize(8);
    small.setBold(false);
    button->setFont(small);
    // Its own text colours, not the header bar's (which the pane tick changes).
    QPalette colours = button->palette();
    colours.setColor(QPalette::Active, QPalette::ButtonText, Qt::black);
    colours.setColor(QPalette::Inactive, QPalette::ButtonText, Qt::black);
    colours.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(140, 140, 140));
    button->setPalette(colours);
    button->setText(text);
    button->setToolTip(hint);
    button->resize(40, 24);
    return button;
  };
  const QString dcm_hint = tr("上載 VMU 頁數");
  const QString dci_hint = tr(" 加上儲存檔案");
  SpeedButton3 = speed_button(SLOT1, "SpeedButton3", QStringLiteral("DCM"), dcm_hint);
  SpeedButton4 = speed_button(SLOT1, "SpeedButton4", QStringLiteral("DCI"), dci_hint);
  SpeedButton5 = speed_button(SLOT2, "SpeedButton5", QStringLiteral("DCM"), dcm_hint);
  SpeedButton6 = speed_button(SLOT2, "SpeedButton6", QStringLiteral("DCI"), dci_hint);
  SpeedButton1 = speed_button(Panel9, "SpeedButton1", QStringLiteral("DCM"), dcm_hint);
  SpeedButton2 = speed_button(Panel9, "SpeedButton2", QStringLiteral("DCI"), dci_hint);
  panes_[kPaneSlot1].buttons = {SpeedButton3, SpeedButton4};
  panes_[kPaneSlot2].buttons = {SpeedButton5, SpeedButton6};
  panes_[kPaneImage].buttons = {SpeedButton1, SpeedButton2};

  Splitter1->setSizes({300, kClientHeight - 300 - Splitter1->handleWidth()});
  Splitter2->setSizes({kClientWidth - kColumnWidth - 210 - Splitter2->handleWidth(), 210});
}

void TForm1::BuildPane(int pane, QWidget* container, const QString& header_text,
                       const QString& list_hint, const QString& size_hint) {
  const bool image = pane == kPaneImage;
  auto* header = new QLabel(header_text, container);
  header->setFrameShape(QFrame::Panel);
  header->setFrameShadow(QFrame::Raised);
  header->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setIndent(8);
  QFont big = header->font();
  big.setPointSize(22);
  big.setBold(true);
  header->setFont(big);
  SetBackColor(header, image ? kImageHeaderBack : kSlotHeaderBack);
  SetFontColor(header, image ? 0x9F9F00 : 0x808180);

  auto* list = new PaneListView(container);
  list->setViewMode(QListView::IconMode);
  list->setIconSize(QSize(32, 32));
  list->setGridSize(QSize(kPaneGrid, kPaneGrid));
  list->setFlow(QListView::TopToBottom);  // columns from the left
  list->setWrapping(true);
  list->setMovement(QListView::Static);
  list->setResizeMode(QListView::Adjust);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setUniformItemSizes(true);
  list->setToolTip(list_hint);
  list->setMouseTracking(true);
  list->viewport()->setMouseTracking(true);
  list->viewport()->installEventFilter(this);
  SetBackColor(list, kGreyList);

  auto* size_panel = new QLabel(tr("餘下 200 個 Block "), container);
  size_panel->setFrameShape(QFrame::Panel);
  size_panel->setFrameShadow(QFrame::Sunken);
  size_panel->setAlignment(Qt::AlignCenter);
  size_panel->setToolTip(size_hint);
  SetBackColor(size_panel, kSizeBarBack);
  SetFontColor(size_panel, kSizeBarBack);

  panes_[pane].header = header;
  panes_[pane].list = list;
  panes_[pane].size_panel = size_panel;
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

void TForm1::LayOutPane(int pane) {
  PaneParts& parts = panes_[pane];
  QWidget* container = parts.list->parentWidget();
  const int width = container->width();
  const int height = container->height();
  parts.header->setGeometry(0, 0, width, kHeaderHeight);
  parts.list->setGeometry(0, kHeaderHeight, width,
                          std::max(0, height - kHeaderHeight - kSizeBarHeight));
  parts.size_panel->setGeometry(0, height - kSizeBarHeight, width, kSizeBarHeight);
  int right = width - 6;
  for (auto it = parts.buttons.rbegin(); it != parts.buttons.rend(); ++it) {
    right -= (*it)->width();
    (*it)->move(right, (kHeaderHeight - (*it)->height()) / 2);
    right -= 4;
  }
}

void TForm1::BuildMenus() {
  PopupMenu1 = Named(new QMenu(this), "PopupMenu1");
  Refresh_Slot1 = AddItem(PopupMenu1, "Refresh_Slot1", tr("插槽 1 重新整理"));
  AddSeparator(PopupMenu1, "N9");
  SLOT1LOADDCM1 = AddItem(PopupMenu1, "SLOT1LOADDCM1", tr("上載 DCM 檔案"));
  AddSeparator(PopupMenu1, "N6");
  SLOT1LOADDCI1 = AddItem(PopupMenu1, "SLOT1LOADDCI1", tr(" 加上 DCI  檔案"));
  SLOT1LOADBMP1 = AddItem(PopupMenu1, "SLOT1LOADBMP1", tr(" 加上 BMP 圖示"));
  AddSeparator(PopupMenu1, "N8");
  SLOT1SAVEAS1 = AddItem(PopupMenu1, "SLOT1SAVEAS1", tr(" 插槽 1 另儲新檔"));
  AddSeparator(PopupMenu1, "N1");
  delete_shot1 = AddFormatMenu(PopupMenu1, "delete_shot1", tr("插槽 1 全部刪除( 格式化 )"), N2411,
                               "N2411", N240Block1, "N240Block1", N200Block1, "N200Block1");
  SLOT1DELSEL1 = AddItem(PopupMenu1, "SLOT1DELSEL1", tr("選擇刪除"));
  AddSeparator(PopupMenu1, "N12");
  UndoSlot1 = AddItem(PopupMenu1, "UndoSlot1", tr("復原上一個動作"));
  HistorySlot1 = AddItem(PopupMenu1, "HistorySlot1", tr("記憶卡變更記錄"));

  PopupMenu2 = Named(new QMenu(this), "PopupMenu2");
  refresh_slot2 = AddItem(PopupMenu2, "refresh_slot2", tr("插槽 2 重新整理"));
  AddSeparator(PopupMenu2, "N2");
  SLOT2LOADDCM1 = AddItem(PopupMenu2, "SLOT2LOADDCM1", tr("上載 DCM 檔案"));
  AddSeparator(PopupMenu2, "N5");
  SLOT2LOADDCI1 = AddItem(PopupMenu2, "SLOT2LOADDCI1", tr(" 加上 DCI  檔案"));
  S1 = AddItem(PopupMenu2, "S1", tr(" 加上 BMP 圖示"));
  AddSeparator(PopupMenu2, "N7");
  SLOT2SAVEAS1 = AddItem(PopupMenu2, "SLOT2SAVEAS1", tr(" 插槽 2 另儲新檔"));
  AddSeparator(PopupMenu2, "N10");
  format_slot2 = AddFormatMenu(PopupMenu2, "format_slot2", tr("插槽 2 全部刪除( 格式化 )"), N2412,
                               "N2412", N240Blocks1, "N240Blocks1", N200Blocks1, "N200Blocks1");
  Slot2DelSel1 = AddItem(PopupMenu2, "Slot2DelSel1", tr("選擇刪除"));
  AddSeparator(PopupMenu2, "N13");
  UndoSlot2 = AddItem(PopupMenu2, "UndoSlot2", tr("復原上一個動作"));
  HistorySlot2 = AddItem(PopupMenu2, "HistorySlot2", tr("記憶卡變更記錄"));

  FilePopupMenu = Named(new QMenu(this), "FilePopupMenu");
  NEWDCMFILE1 = AddItem(FilePopupMenu, "NEWDCMFILE1", tr("開新 DCM 檔案"));
  LOADDCMfile1 = AddItem(FilePopupMenu, "LOADDCMfile1", tr("開啟 DCM  檔案"));
  CLOSEDCMFILE1 = AddItem(FilePopupMenu, "CLOSEDCMFILE1", tr("關閉 DCM 檔案"));
  RecentImagesMenu = Named(FilePopupMenu->addMenu(tr("最近開啟的檔案")), "RecentImagesMenu");
  AddSeparator(FilePopupMenu, "N11");
  LOADDCIFILE1 = AddItem(FilePopupMenu, "LOADDCIFILE1", tr(" 加上 DCI  檔案"));
  LOADBMPPIC1 = AddItem(FilePopupMenu, "LOADBMPPIC1", tr(" 加上 BMP 圖示"));
  AddSeparator(FilePopupMenu, "N3");
  SAVEAS1 = AddItem(FilePopupMenu, "SAVEAS1", tr("另儲 DCM 檔案"));
  AddSeparator(FilePopupMenu, "N4");
  Delete1 = AddFormatMenu(FilePopupMenu, "Delete1", tr("全部刪除( 格式化 )"), N2413, "N2413",
                          N241Blocks1, "N241Blocks1", N200Blocks2, "N200Blocks2");
  DelSel1 = AddItem(FilePopupMenu, "DelSel1", tr("選擇刪除"));
  AddSeparator(FilePopupMenu, "N14");
  UndoImage = AddItem(FilePopupMenu, "UndoImage", tr("復原上一個動作"));
  HistoryImage = AddItem(FilePopupMenu, "HistoryImage", tr("記憶卡變更記錄"));

  for (QAction* del : {SLOT1DELSEL1, Slot2DelSel1, DelSel1}) {
    del->setShortcut(QKeySequence(Qt::Key_Delete));
  }
  panes_[kPaneSlot1].menu = PopupMenu1;
  panes_[kPaneSlot2].menu = PopupMenu2;
  panes_[kPaneImage].menu = FilePopupMenu;
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
