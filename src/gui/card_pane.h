// One pane of the main window: the card in slot 1, the card in slot 2 or the open card image.
// A pane owns its header bar with its speed buttons, its list of saves, its free-block bar and
// its menu; it animates its icons, shows whether its card is live, enables its commands and
// decides which drops it takes. What a command does is the main window's business.
#pragma once

#include <QLabel>
#include <QMenu>
#include <QObject>
#include <QPixmap>
#include <QStringList>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "card/card_image.h"

namespace quorvel {

class PaneListView;
class SaveDetailsView;

// The three panes, in the order every pane loop walks them.
enum PaneIndex : int { kPaneSlot1 = 0, kPaneSlot2 = 1, kPaneImage = 2 };

// A pane's image list: one 32 x 32 picture per icon frame.
using ImageList = std::vector<QPixmap>;

// The frames a pane shows of a save: its icon count, as far as the record has room for indices.
std::size_t ShownFrames(const SaveRecord& record);

// The user blocks of a pane's three format items, in menu order.
inline constexpr std::array<std::uint8_t, 3> kFormatBlocks = {241, 240, 200};

// The items of a pane's menu; those the pane's kind has not are null.
struct PaneMenuItems {
  QMenu* menu = nullptr;
  QAction* refresh = nullptr;     // slots: read the card again
  QAction* load_image = nullptr;  // slots: write a card image file onto the card
  QAction* new_image = nullptr;   // the image pane: new, open, close, recently opened
  QAction* open_image = nullptr;
  QAction* close_image = nullptr;
  QMenu* recent_images = nullptr;
  QAction* add_save_file = nullptr;
  QAction* add_card_icon = nullptr;
  QAction* save_as = nullptr;  // the card written to a card image file
  QMenu* format = nullptr;
  std::array<QAction*, 3> format_items{};  // kFormatBlocks
  QAction* delete_selected = nullptr;
  QAction* undo = nullptr;
  QAction* history = nullptr;
  QAction* details = nullptr;  // checkable: the details view in place of the icons
};

class CardPane : public QObject {
  Q_OBJECT
 public:
  // Builds pane `index` as a child of `parent` (a splitter); its menu belongs to `window`. The
  // pane shows `card` while `loaded` holds, with the frame pictures of `images`.
  CardPane(int index, QWidget* parent, QWidget* window, CardImage& card, bool& loaded,
           ImageList& images);

  int index() const { return index_; }
  bool IsImage() const { return index_ == kPaneImage; }
  QWidget* container() const { return container_; }
  QLabel* header() const { return header_; }
  PaneListView* list() const { return list_; }
  // The list's details view, shown in its place while the menu's details item is checked;
  // built the first time it is asked for.
  SaveDetailsView* details();
  QLabel* size_bar() const { return size_bar_; }
  // The header's speed buttons: a card image file (open it, or write it onto the card) and a
  // single-save file to add.
  QToolButton* dcm_button() const { return dcm_button_; }
  QToolButton* dci_button() const { return dci_button_; }
  const PaneMenuItems& menu() const { return menu_; }
  CardImage& card() const { return card_; }
  bool& loaded() const { return loaded_; }
  ImageList& images() const { return images_; }

  // One row per listed save (its first frame and its blocks), the free blocks in the size bar.
  void ShowRows(std::uint16_t free_blocks);
  // A card that holds no file system: no rows, nothing can be added, the size bar says so.
  void ShowUnformatted();
  // The next frame of every listed save's icon.
  void Tick();
  // Live (its card was read) or grey: the colours, and the commands that need a card.
  void ShowLive(bool live);
  // The header's text size for the pane's width: full size from 170 pixels, smaller below.
  void FitHeader();

  int FirstSelectedRow() const;
  // The picture of frame `frame` (the last shown one when beyond) of the save in directory
  // slot `slot`; a null picture when it has none.
  QPixmap FramePicture(int slot, int frame) const;
  // The texts of a multiple selection: how many saves, how many blocks.
  QString SelectedCountText(qsizetype count) const;
  QString SelectedSumText(int blocks) const;

  // A drag of saves is taken while the card is live and the drag did not start here (the
  // list a drag starts from has the focus).
  bool TakesDrop() const;
  // What a drop does: saves of another pane dropped, files dropped from a file manager, and
  // the selected saves written as files for a drag that ends in a file manager.
  void SetDropActions(std::function<void()> saves_dropped,
                      std::function<void(const QStringList&)> files_dropped,
                      std::function<QStringList()> write_files);

 signals:
  // A mouse button released over the list, also over its free area.
  void released();
  // The mouse moved over the list.
  void mouseMoved();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildHeader();
  void BuildList();
  void BuildSizeBar();
  void BuildMenu(QWidget* window);
  void LayOut();

  const int index_;
  CardImage& card_;
  bool& loaded_;
  ImageList& images_;
  QWidget* container_ = nullptr;
  QLabel* header_ = nullptr;
  PaneListView* list_ = nullptr;
  SaveDetailsView* details_ = nullptr;
  QWidget* viewport_ = nullptr;  // the list's, where its mouse events arrive
  QLabel* size_bar_ = nullptr;
  QToolButton* dcm_button_ = nullptr;
  QToolButton* dci_button_ = nullptr;
  PaneMenuItems menu_;
  // Enabled only while the card is live.
  std::vector<QAction*> live_items_;
  std::vector<QWidget*> live_buttons_;
};

}  // namespace quorvel
