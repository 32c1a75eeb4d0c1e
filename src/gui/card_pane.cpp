// One pane of the main window: its controls, named and texted as the window description has
// them for each of the three panes, their layout, the icon animation, the live colours and the
// drop rule.
#include "gui/card_pane.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeySequence>
#include <QListWidgetItem>
#include <algorithm>
#include <tuple>

#include "gui/object_names.h"
#include "gui/pane_list_view.h"
#include "gui/save_details_view.h"
#include "gui/save_rows.h"
#include "gui/win_colors.h"

namespace quorvel {

namespace {

constexpr int kHeaderHeight = 38;
constexpr int kSizeBarHeight = 22;
constexpr int kPaneGrid = 54;
constexpr int kHeaderFullWidth = 170;
constexpr int kHeaderFullSize = 22;

constexpr std::uint32_t kSlotHeaderBack = 0x5A2800;
constexpr std::uint32_t kImageHeaderBack = 0x4A3A00;
constexpr std::uint32_t kSizeBarBack = 0x303030;
constexpr std::uint32_t kGreyList = 0xBBBBBB;
constexpr std::uint32_t kLiveList = 0xABD1B0;

constexpr std::size_t kFrameRoom = std::tuple_size_v<decltype(SaveRecord{}.frame_image_indices)>;

// The pane's texts belong to the main window's translations.
QString Text(const char* source) { return QCoreApplication::translate("quorvel::TForm1", source); }

// What differs between the three panes: the names of their controls and their texts.
struct PaneSetup {
  const char* container;
  const char* header;
  const char* list;
  const char* size_bar;
  const char* dcm_button;
  const char* dci_button;
  const char* header_text;
  const char* list_hint;
  const char* size_hint;
  const char* selected_count;
  const char* selected_sum;
  // The menu: its name, the slots' refresh item, the slots' load item.
  const char* menu;
  const char* refresh = nullptr;
  const char* refresh_text = nullptr;
  const char* load_image = nullptr;
  const char* add_save_file;
  const char* add_card_icon;
  const char* save_as;
  const char* save_as_text;
  const char* format;
  const char* format_text;
  std::array<const char*, 3> format_items;
  const char* delete_selected;
  const char* undo;
  const char* history;
  const char* details;  // the details view in place of the icons
  // Separators: below the head items (slots: after refresh, after load; image: after the file
  // items), after the add items, after save-as, before undo.
  std::array<const char*, 2> head_separators;
  std::array<const char*, 3> separators;
  const char* details_separator;
};

const PaneSetup kSetups[3] = {
    {
        .container = "Panel7",
        .header = "SLOT1",
        .list = "Card1ListView",
        .size_bar = "slot1_sizePanel",
        .dcm_button = "SpeedButton3",
        .dci_button = "SpeedButton4",
        .header_text = QT_TRANSLATE_NOOP("quorvel::TForm1", "插槽1"),
        .list_hint = QT_TRANSLATE_NOOP("quorvel::TForm1", " 資料在插槽1的記憶卡中"),
        .size_hint = QT_TRANSLATE_NOOP("quorvel::TForm1", "記憶卡剩餘的空間...."),
        .selected_count = QT_TRANSLATE_NOOP("quorvel::TForm1", " 插槽1 : %1  已選擇"),
        .selected_sum = QT_TRANSLATE_NOOP("quorvel::TForm1", "%1 Blocks 的總數 "),
        .menu = "PopupMenu1",
        .refresh = "Refresh_Slot1",
        .refresh_text = QT_TRANSLATE_NOOP("quorvel::TForm1", "插槽 1 重新整理"),
        .load_image = "SLOT1LOADDCM1",
        .add_save_file = "SLOT1LOADDCI1",
        .add_card_icon = "SLOT1LOADBMP1",
        .save_as = "SLOT1SAVEAS1",
        .save_as_text = QT_TRANSLATE_NOOP("quorvel::TForm1", " 插槽 1 另儲新檔"),
        .format = "delete_shot1",
        .format_text = QT_TRANSLATE_NOOP("quorvel::TForm1", "插槽 1 全部刪除( 格式化 )"),
        .format_items = {"N2411", "N240Block1", "N200Block1"},
        .delete_selected = "SLOT1DELSEL1",
        .undo = "UndoSlot1",
        .history = "HistorySlot1",
        .details = "DetailsSlot1",
        .head_separators = {"N9", "N6"},
        .separators = {"N8", "N1", "N12"},
        .details_separator = "N15",
    },
    {
        .container = "Panel8",
        .header = "SLOT2",
        .list = "Card2ListView",
        .size_bar = "slot2_sizePanel",
        .dcm_button = "SpeedButton5",
        .dci_button = "SpeedButton6",
        .header_text = QT_TRANSLATE_NOOP("quorvel::TForm1", "插槽2"),
        .list_hint = QT_TRANSLATE_NOOP("quorvel::TForm1", "資料在插槽2的記憶卡中"),
        .size_hint = QT_TRANSLATE_NOOP("quorvel::TForm1", "記憶卡剩餘的空間...."),
        .selected_count = QT_TRANSLATE_NOOP("quorvel::TForm1", " 插槽2 : %1  已選擇"),
        .selected_sum = QT_TRANSLATE_NOOP("quorvel::TForm1", "%1 Blocks 的總數 "),
        .menu = "PopupMenu2",
        .refresh = "refresh_slot2",
        .refresh_text = QT_TRANSLATE_NOOP("quorvel::TForm1", "插槽 2 重新整理"),
        .load_image = "SLOT2LOADDCM1",
        .add_save_file = "SLOT2LOADDCI1",
        .add_card_icon = "S1",
        .save_as = "SLOT2SAVEAS1",
        .save_as_text = QT_TRANSLATE_NOOP("quorvel::TForm1", " 插槽 2 另儲新檔"),
        .format = "format_slot2",
        .format_text = QT_TRANSLATE_NOOP("quorvel::TForm1", "插槽 2 全部刪除( 格式化 )"),
        .format_items = {"N2412", "N240Blocks1", "N200Blocks1"},
        .delete_selected = "Slot2DelSel1",
        .undo = "UndoSlot2",
        .history = "HistorySlot2",
        .details = "DetailsSlot2",
        .head_separators = {"N2", "N5"},
        .separators = {"N7", "N10", "N13"},
        .details_separator = "N16",
    },
    {
        .container = "FilePane",
        .header = "Panel9",
        .list = "FileListView",
        .size_bar = "FileCardPanel",
        .dcm_button = "SpeedButton1",
        .dci_button = "SpeedButton2",
        .header_text = QT_TRANSLATE_NOOP("quorvel::TForm1", "檔案"),
        .list_hint = QT_TRANSLATE_NOOP("quorvel::TForm1", " 資料在開啟檔案中"),
        .size_hint = QT_TRANSLATE_NOOP("quorvel::TForm1", "剩餘的空間...."),
        .selected_count = QT_TRANSLATE_NOOP("quorvel::TForm1", " 檔案: %1 已選擇"),
        .selected_sum = QT_TRANSLATE_NOOP("quorvel::TForm1", "%1 Blocks 的總數"),
        .menu = "FilePopupMenu",
        .add_save_file = "LOADDCIFILE1",
        .add_card_icon = "LOADBMPPIC1",
        .save_as = "SAVEAS1",
        .save_as_text = QT_TRANSLATE_NOOP("quorvel::TForm1", "另儲 DCM 檔案"),
        .format = "Delete1",
        .format_text = QT_TRANSLATE_NOOP("quorvel::TForm1", "全部刪除( 格式化 )"),
        .format_items = {"N2413", "N241Blocks1", "N200Blocks2"},
        .delete_selected = "DelSel1",
        .undo = "UndoImage",
        .history = "HistoryImage",
        .details = "DetailsImage",
        .head_separators = {"N11", nullptr},
        .separators = {"N3", "N4", "N14"},
        .details_separator = "N17",
    },
};

QAction* AddItem(QMenu* menu, const char* name, const QString& caption) {
  return Named(menu->addAction(caption), name);
}

void AddSeparator(QMenu* menu, const char* name) { Named(menu->addSeparator(), name); }

}  // namespace

std::size_t ShownFrames(const SaveRecord& record) {
  return std::min<std::size_t>(std::max<std::uint16_t>(record.icon_count, 1), kFrameRoom);
}

CardPane::CardPane(int index, QWidget* parent, QWidget* window, CardImage& card, bool& loaded,
                   ImageList& images)
    : QObject(window), index_(index), card_(card), loaded_(loaded), images_(images) {
  container_ = Named(new QWidget(parent), kSetups[index_].container);
  container_->setMinimumSize(1, 50);  // a splitter keeps 50 pixels for either side
  container_->installEventFilter(this);
  BuildHeader();
  BuildList();
  BuildSizeBar();
  BuildMenu(window);
}

void CardPane::BuildHeader() {
  const PaneSetup& setup = kSetups[index_];
  header_ = Named(new QLabel(Text(setup.header_text), container_), setup.header);
  header_->setFrameShape(QFrame::Panel);
  header_->setFrameShadow(QFrame::Raised);
  header_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header_->setIndent(8);
  QFont big = header_->font();
  big.setPointSize(22);
  big.setBold(true);
  header_->setFont(big);
  SetBackColor(header_, IsImage() ? kImageHeaderBack : kSlotHeaderBack);
  SetFontColor(header_, IsImage() ? 0x9F9F00 : 0x808180);

  auto speed_button = [this](const char* name, const QString& text, const QString& hint) {
    auto* button = Named(new QToolButton(header_), name);
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
  dcm_button_ = speed_button(setup.dcm_button, QStringLiteral("DCM"),
                             Text(QT_TRANSLATE_NOOP("quorvel::TForm1", "上載 VMU 頁數")));
  dci_button_ = speed_button(setup.dci_button, QStringLiteral("DCI"),
                             Text(QT_TRANSLATE_NOOP("quorvel::TForm1", " 加上儲存檔案")));
  // The image pane's buttons open a file and add a save without a live card.
  if (!IsImage()) live_buttons_ = {dcm_button_, dci_button_};
}

void CardPane::BuildList() {
  list_ = Named(new PaneListView(container_), kSetups[index_].list);
  list_->setViewMode(QListView::IconMode);
  list_->setIconSize(QSize(32, 32));
  list_->setGridSize(QSize(kPaneGrid, kPaneGrid));
  list_->setFlow(QListView::TopToBottom);  // columns from the left
  list_->setWrapping(true);
  list_->setMovement(QListView::Static);
  list_->setResizeMode(QListView::Adjust);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setUniformItemSizes(true);
  list_->setToolTip(Text(kSetups[index_].list_hint));
  list_->setMouseTracking(true);
  viewport_ = list_->viewport();
  viewport_->setMouseTracking(true);
  viewport_->installEventFilter(this);
  SetBackColor(list_, kGreyList);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { menu_.menu->popup(list_->viewport()->mapToGlobal(at)); });
}

SaveDetailsView* CardPane::details() {
  if (details_ != nullptr) return details_;
  // Built when first asked for (most runs never show it), then as it would stand had it been
  // built with the list: right after the list in the focus chain.
  details_ = new SaveDetailsView(list_);
  QWidget::setTabOrder(list_, details_);
  // The details view hands the rest of the user's gestures to the list; its clicks and moves
  // are the list's.
  connect(details_, &SaveDetailsView::Acted, this, &CardPane::released);
  connect(details_, &SaveDetailsView::PointerMoved, this, &CardPane::mouseMoved);
  return details_;
}

void CardPane::BuildSizeBar() {
  size_bar_ = Named(
      new QLabel(Text(QT_TRANSLATE_NOOP("quorvel::TForm1", "餘下 200 個 Block ")), container_),
      kSetups[index_].size_bar);
  size_bar_->setFrameShape(QFrame::Panel);
  size_bar_->setFrameShadow(QFrame::Sunken);
  size_bar_->setAlignment(Qt::AlignCenter);
  size_bar_->setToolTip(Text(kSetups[index_].size_hint));
  SetBackColor(size_bar_, kSizeBarBack);
  SetFontColor(size_bar_, kSizeBarBack);
}

void CardPane::BuildMenu(QWidget* window) {
  const PaneSetup& setup = kSetups[index_];
  QMenu* menu = Named(new QMenu(window), setup.menu);
  menu_.menu = menu;
  if (IsImage()) {
    menu_.new_image =
        AddItem(menu, "NEWDCMFILE1", Text(QT_TRANSLATE_NOOP("quorvel::TForm1", "開新 DCM 檔案")));
    menu_.open_image =
        AddItem(menu, "LOADDCMfile1", Text(QT_TRANSLATE_NOOP("quorvel::TForm1", "開啟 DCM  檔案")));
    menu_.close_image =
        AddItem(menu, "CLOSEDCMFILE1", Text(QT_TRANSLATE_NOOP("quorvel::TForm1", "關閉 DCM 檔案")));
    menu_.recent_images =
        Named(menu->addMenu(Text(QT_TRANSLATE_NOOP("quorvel::TForm1", "最近開啟的檔案"))),
              "RecentImagesMenu");
    AddSeparator(menu, setup.head_separators[0]);
  } else {
    menu_.refresh = AddItem(menu, setup.refresh, Text(setup.refresh_text));
    AddSeparator(menu, setup.head_separators[0]);
    menu_.load_image = AddItem(menu, setup.load_image,
                               Text(QT_TRANSLATE_NOOP("quorvel::TForm1", "上載 DCM 檔案")));
    AddSeparator(menu, setup.head_separators[1]);
  }
  menu_.add_save_file = AddItem(menu, setup.add_save_file,
                                Text(QT_TRANSLATE_NOOP("quorvel::TForm1", " 加上 DCI  檔案")));
  menu_.add_card_icon = AddItem(menu, setup.add_card_icon,
                                Text(QT_TRANSLATE_NOOP("quorvel::TForm1", " 加上 BMP 圖示")));
  AddSeparator(menu, setup.separators[0]);
  menu_.save_as = AddItem(menu, setup.save_as, Text(setup.save_as_text));
  AddSeparator(menu, setup.separators[1]);
  menu_.format = Named(menu->addMenu(Text(setup.format_text)), setup.format);
  menu_.format->menuAction()->setObjectName(QString::fromLatin1(setup.format));
  for (std::size_t k = 0; k < kFormatBlocks.size(); ++k) {
    menu_.format_items[k] = AddItem(menu_.format, setup.format_items[k],
                                    QStringLiteral("%1 Blocks").arg(kFormatBlocks[k]));
  }
  menu_.delete_selected =
      AddItem(menu, setup.delete_selected, Text(QT_TRANSLATE_NOOP("quorvel::TForm1", "選擇刪除")));
  menu_.delete_selected->setShortcut(QKeySequence(Qt::Key_Delete));
  AddSeparator(menu, setup.separators[2]);
  menu_.undo =
      AddItem(menu, setup.undo, Text(QT_TRANSLATE_NOOP("quorvel::TForm1", "復原上一個動作")));
  menu_.history =
      AddItem(menu, setup.history, Text(QT_TRANSLATE_NOOP("quorvel::TForm1", "記憶卡變更記錄")));
  AddSeparator(menu, setup.details_separator);
  menu_.details =
      AddItem(menu, setup.details, Text(QT_TRANSLATE_NOOP("quorvel::TForm1", "詳細資料")));
  menu_.details->setCheckable(true);
  connect(menu_.details, &QAction::toggled, this, [this](bool on) {
    if (on || details_ != nullptr) details()->ShowDetails(on);
  });

  live_items_ = {
      menu_.add_save_file,   menu_.add_card_icon, menu_.save_as, menu_.format->menuAction(),
      menu_.delete_selected, menu_.undo,          menu_.history};
  live_items_.push_back(IsImage() ? menu_.close_image : menu_.load_image);
}

void CardPane::LayOut() {
  const int width = container_->width();
  const int height = container_->height();
  header_->setGeometry(0, 0, width, kHeaderHeight);
  list_->setGeometry(0, kHeaderHeight, width, std::max(0, height - kHeaderHeight - kSizeBarHeight));
  size_bar_->setGeometry(0, height - kSizeBarHeight, width, kSizeBarHeight);
  int right = width - 6;
  for (QToolButton* button : {dci_button_, dcm_button_}) {
    right -= button->width();
    button->move(right, (kHeaderHeight - button->height()) / 2);
    right -= 4;
  }
}

bool CardPane::eventFilter(QObject* watched, QEvent* event) {
  // Only pointers are compared: while the window goes, the parts may go before the pane.
  if (event->type() == QEvent::Resize && watched == container_) LayOut();
  if (event->type() == QEvent::MouseButtonRelease && watched == viewport_) emit released();
  if (event->type() == QEvent::MouseMove && watched == viewport_) emit mouseMoved();
  return QObject::eventFilter(watched, event);
}

// ---- Rows and the tick --------------------------------------------------------------------

void CardPane::ShowRows(std::uint16_t free_blocks) {
  if (!IsImage()) {
    SetFontColor(header_, 0xFFFFFF);
    SetBackColor(list_, kGreyList);
  }
  for (int k = 0; k < card_.listed_count; ++k) {
    const SaveRecord& record = card_.records[card_.list_order[k]];
    auto* item = new QListWidgetItem(QString::number(record.size), list_);
    DescribeSaveRow(*item, record);
    const std::uint16_t image = record.frame_image_indices[0];
    if (image < images_.size()) item->setIcon(images_[image]);
  }
  size_bar_->setText(
      Text(QT_TRANSLATE_NOOP("quorvel::TForm1", "餘下 %1 個 Block")).arg(free_blocks));
}

void CardPane::ShowUnformatted() {
  menu_.add_save_file->setEnabled(false);
  menu_.add_card_icon->setEnabled(false);
  size_bar_->setText(Text(QT_TRANSLATE_NOOP("quorvel::TForm1", " 記憶卡沒有格式化")));
}

void CardPane::Tick() {
  if (!loaded_ || card_.listed_count == 0) return;
  for (int k = 0; k < card_.listed_count && k < list_->count(); ++k) {
    SaveRecord& record = card_.records[card_.list_order[k]];
    QListWidgetItem* item = list_->item(k);
    item->setText(QString::number(record.size));
    const std::size_t frame = std::min<std::size_t>(record.current_frame, ShownFrames(record) - 1);
    const std::uint16_t image = record.frame_image_indices[frame];
    if (image < images_.size()) item->setIcon(images_[image]);
    record.current_frame =
        static_cast<std::uint16_t>(frame + 1 >= ShownFrames(record) ? 0 : frame + 1);
  }
}

void CardPane::ShowLive(bool live) {
  SetFontColor(header_,
               live ? (IsImage() ? 0xFFFF00 : 0xFFFFFF) : (IsImage() ? 0x9F9F00 : 0x808180));
  SetBackColor(list_, live ? kLiveList : kGreyList);
  SetFontColor(size_bar_, live ? (IsImage() ? 0xFFFF00 : 0xFDFDFD) : BackColor(size_bar_));
  for (QAction* item : live_items_) item->setEnabled(live);
  for (QWidget* button : live_buttons_) button->setEnabled(live);
}

void CardPane::FitHeader() {
  const int width = container_->width();
  const int size = width >= kHeaderFullWidth ? kHeaderFullSize : std::max(1, (width - 80) / 5);
  QFont font = header_->font();
  if (font.pointSize() == size) return;
  font.setPointSize(size);
  header_->setFont(font);
}

// ---- Selection and drops ------------------------------------------------------------------

int CardPane::FirstSelectedRow() const {
  for (int row = 0; row < list_->count(); ++row) {
    if (list_->item(row)->isSelected()) return row;
  }
  return -1;
}

QPixmap CardPane::FramePicture(int slot, int frame) const {
  const SaveRecord& record = card_.records[slot];
  const std::size_t shown = std::min<std::size_t>(frame, ShownFrames(record) - 1);
  const std::uint16_t image = record.frame_image_indices[shown];
  return image < images_.size() ? images_[image] : QPixmap();
}

QString CardPane::SelectedCountText(qsizetype count) const {
  return Text(kSetups[index_].selected_count).arg(count);
}

QString CardPane::SelectedSumText(int blocks) const {
  return Text(kSetups[index_].selected_sum).arg(blocks);
}

bool CardPane::TakesDrop() const { return loaded_ && !list_->hasFocus(); }

void CardPane::SetDropActions(std::function<void()> saves_dropped,
                              std::function<void(const QStringList&)> files_dropped,
                              std::function<QStringList()> write_files) {
  list_->SetDropHandlers([this] { return TakesDrop(); }, std::move(saves_dropped));
  list_->SetFileDropHandler(std::move(files_dropped));
  list_->SetFileExport(std::move(write_files));
}

}  // namespace quorvel
