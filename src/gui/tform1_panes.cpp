// The three panes: filling the image lists and rows from a card's records, the 800 ms tick
// that animates icons and shows which panes are live, the selected-save panel with its slide,
// the multiple-selection totals, the page panel slide and the header sizes.
#include <QImage>
#include <QPainter>
#include <QSignalBlocker>
#include <algorithm>
#include <filesystem>

#include "card/dcm_file.h"
#include "card/file_system.h"
#include "card/icon_frames.h"
#include "gui/pictures.h"
#include "gui/tform1.h"
#include "gui/win_colors.h"

namespace quorvel {

namespace {

constexpr std::uint32_t kPanel2Colour = 0x400040;
constexpr std::uint32_t kInfoColour = 0x80A0D0;

// The picture of a frame that could not be read from its file: a crossed grey square.
QPixmap MissingPicture() {
  QPixmap picture(32, 32);
  picture.fill(QColor(128, 128, 128));
  QPainter painter(&picture);
  painter.setPen(QPen(QColor(200, 40, 40), 3));
  painter.drawLine(4, 4, 27, 27);
  painter.drawLine(27, 4, 4, 27);
  return picture;
}

QString SaveName(const SaveRecord& record) { return QString::fromLatin1(record.name); }

}  // namespace

// ---- Filling ------------------------------------------------------------------------------

void TForm1::FillIconList(int pane) {
  CardImage& card = Card(pane);
  ImageList& images = Images(pane);
  images.clear();
  const std::filesystem::path work_dir(WorkDir);
  const QString frame_file = QString::fromStdString((work_dir / kPaneIconFile).string());
  const QString no_icon_file =
      QString::fromStdString(FindProgramDataFile(work_dir, kNoIconPictureFile).string());
  QStringList unreadable;
  auto add_picture = [&](const QString& file, bool written) {
    // Read through QImage: QPixmap::load would serve the first frame of "Bmp.bmp" again from
    // its cache, since every frame is written to the same file within the same second.
    QImage picture;
    if (!written || !picture.load(file, "BMP")) {
      if (!unreadable.contains(file)) unreadable << file;
      images.push_back(MissingPicture());
      return;
    }
    images.push_back(SharpPixmap(picture, devicePixelRatioF()));
  };
  // After a link failure the block layer has said why once; no further frame is tried.
  auto link_failed = [&] { return card.IsSlot() && (link_->TimedOut() || card.link_failed); };

  std::uint16_t image = 0;
  for (int row = 0; row < card.listed_count && !link_failed(); ++row) {
    SaveRecord& record = card.records[card.list_order[row]];
    record.first_image_index = image;
    if (record.icon_count == 0) {
      record.frame_image_indices[0] = image++;
      add_picture(no_icon_file, true);
      continue;
    }
    ProgressBar1->setRange(0, record.icon_count);
    ProgressBar1->setValue(0);
    for (std::size_t frame = 0; frame < ShownFrames(record); ++frame) {
      record.frame_image_indices[frame] = image++;
      bool written = false;
      OnLinkWorker([&] {
        written = ExportIconFrame(card, card.list_order[row], frame, frame_file.toStdString());
      });
      if (!written && link_failed()) break;
      add_picture(frame_file, written);
      ProgressBar1->setValue(ProgressBar1->value() + 1);
      RepaintWindow();
    }
  }
  EmptyProgressBar();
  if (!unreadable.isEmpty() && !link_failed()) {
    env_.messages->Inform(tr(" 圖示檔案無法讀取: %1 ").arg(unreadable.join(", ")).toStdString());
  }
}

void TForm1::FillPane(int pane) {
  const std::uint16_t total = UpdateListing(Card(pane));
  ClearRows(pane);
  Pane(pane).ShowRows(total);
}

void TForm1::ClearRows(int pane) {
  QListWidget* list = ListView(pane);
  if (list->count() == 0) return;
  if (list->selectedItems().size() >= 2) {
    Info1->hide();
    Info2->hide();
  }
  const QSignalBlocker quiet(list);
  list->clear();
}

void TForm1::EmptyPane(int pane) {
  CardImage& card = Card(pane);
  ClearRows(pane);
  Images(pane).clear();
  card.listed_count = 0;
  card.list_order.fill(0xFF);
}

// ---- The 800 ms tick ----------------------------------------------------------------------

void TForm1::PaneTick() {
  for (int pane = 0; pane < 3; ++pane) {
    if (ListView(pane)->hasFocus() && !ListView(pane)->selectedItems().isEmpty()) {
      PaneClick(pane);
    }
  }
  for (CardPane* pane : panes_) pane->Tick();
  for (int pane = 0; pane < 3; ++pane) {
    const bool live = Loaded(pane);
    Pane(pane).ShowLive(live);
    if (!live) ClearRows(pane);
  }
}

// ---- Selection ----------------------------------------------------------------------------

void TForm1::PaneClick(int pane) {
  AsmBtn->setEnabled(false);
  if (ListView(pane)->selectedItems().size() == 1) {
    ShowSelectedSave(pane);
  } else {
    ClearSelection();
  }
}

void TForm1::ShowSelectedSave(int pane) {
  SlideSelectionIn();
  const int row = Pane(pane).FirstSelectedRow();
  CardImage& card = Card(pane);
  if (row < 0 || row >= card.listed_count) return;
  const std::uint8_t slot = card.list_order[row];
  const SaveRecord& record = card.records[slot];
  DrawOnImage2(Pane(pane).FramePicture(slot, record.current_frame));
  SelectedName = record.name;
  SelectedSlot = slot;
  SelectedImage = &card;
  const QString name = SaveName(record);
  if (pane == kPaneSlot1) {
    NamePanel->setText(tr(" 插槽1 : ") + name);
  } else if (pane == kPaneSlot2) {
    NamePanel->setText(tr(" 插槽2 : ") + name);
  } else {
    const QString file =
        QString::fromStdString(std::filesystem::path(card.ImageName()).filename().string());
    NamePanel->setText(file + QStringLiteral(" : ") + name);
  }
  Label7->setText(QString::fromStdString(record.date + "   " + record.time));
  if (record.header_in_second_block && !link_->PagedMode()) AsmBtn->setEnabled(true);
}

void TForm1::DrawOnImage2(const QPixmap& picture) {
  QPixmap canvas(32, 32);
  canvas.fill(WinColor(kPanel2Colour));
  if (!picture.isNull()) {
    QPainter painter(&canvas);
    painter.drawPixmap(0, 0, picture);
  }
  Image2->setPixmap(canvas);
}

void TForm1::MoveSelectionPanel(int dy) {
  Panel2->move(Panel2->x(), Panel2->y() + dy);
  NamePanel->move(NamePanel->x(), NamePanel->y() + dy);
  // Parked below the default window's edge, the panel would show in a taller window.
  const bool parked = Panel2->y() >= kPanel2Parked;
  Panel2->setHidden(parked);
  NamePanel->setHidden(parked);
}

void TForm1::ClearSelection() {
  SelectedName.clear();
  SelectedSlot = 0;
  SelectedImage = nullptr;
  DrawOnImage2(QPixmap());
  NamePanel->setText(tr(" 沒有選擇單元"));
  Label7->clear();
  if (Panel2->y() != kPanel2Home) return;
  // A window that is not on the screen (the main window while it is built) shows no slide:
  // the panel goes straight to where the slide ends, without 82 ms of pauses.
  if (!isVisible()) {
    MoveSelectionPanel(kPanel2Parked - kPanel2Home);
    return;
  }
  for (int i = 0; i <= 40; ++i) {
    Pause(2);
    RepaintWindow();
    MoveSelectionPanel(i / 2);
  }
}

void TForm1::SlideSelectionIn() {
  if (Panel2->y() != kPanel2Parked) return;
  for (int n = 40; n >= 1; --n) {
    Pause(2);
    RepaintWindow();
    MoveSelectionPanel(-(n / 2));
  }
}

void TForm1::PaneSelectItem(int pane) {
  PagePanelOut();
  const QList<QListWidgetItem*> selected = ListView(pane)->selectedItems();
  const auto count = selected.size();
  if (count < 2) {
    Info1->hide();
    Info2->hide();
    return;
  }
  int sum = 0;
  for (const QListWidgetItem* item : selected) sum += item->text().toInt();
  SetFontColor(Info1, kInfoColour);
  Info1->setText(Pane(pane).SelectedCountText(count));
  Info1->show();
  SetFontColor(Info2, kInfoColour);
  Info2->setText(Pane(pane).SelectedSumText(sum));
  Info2->show();
}

// ---- Page panel and header sizes ----------------------------------------------------------

void TForm1::MovePagePanel(int dx) { Panel3->move(Panel3->x() + dx, Panel3->y()); }

void TForm1::PagePanelIn() {
  if (HighestPage > 4) Timer3->stop();
  if (!link_ || !link_->PagedMode() || Panel3->x() != kPanel3Parked) return;
  for (int n = 32; n >= 0; --n) {
    Pause(10);
    RepaintWindow();
    MovePagePanel(n / 2);
  }
}

void TForm1::PagePanelOut() {
  RearmTimer3();
  if (!link_ || !link_->PagedMode() || Panel3->x() != kPanel3Shown) return;
  for (int i = 0; i <= 32; ++i) {
    Pause(10);
    RepaintWindow();
    MovePagePanel(-(i / 2));
  }
  if (CurrentPage != ShownPage) {
    RefreshSlot1();
    OfferInterruptedUndo(kPaneSlot1);
  }
}

void TForm1::Splitter2CanResize() {
  slot1_pane->FitHeader();
  slot2_pane->FitHeader();
}

}  // namespace quorvel
