// SaveDetailsView: the details view of a pane, one row per save with its icon, name, both
// descriptions, kind, blocks, date and time, sortable by any column. It is a second look at the
// pane's icon view rather than a second list: it shows the icon view's rows, shares their
// selection both ways, and hands the user's gestures (double-click, Enter, Delete, the context
// menu) to the icon view, so that the pane's handlers and commands, which read the icon view's
// selection, serve both views alike. Its drags and drops are the icon view's.
#pragma once

#include <QTreeView>

class QSortFilterProxyModel;

namespace quorvel {

class PaneListView;
class SaveRowsModel;

class SaveDetailsView : public QTreeView {
  Q_OBJECT
 public:
  // Built as a child of `icons` that covers it while the details are shown; hidden at first.
  explicit SaveDetailsView(PaneListView* icons);

  // Shows the details in place of the icons (true) or the icons again (false). The keyboard
  // focus stays with the pane: while the details are shown the icon view passes it on to them,
  // so that the icon view "has the focus" whenever one of the two has it.
  void ShowDetails(bool on);
  bool DetailsShown() const { return shown_; }

  // The icon view's row shown in row `row` of this view (in its sorted order), and back.
  int IconRow(int row) const;
  int ViewRow(int icon_row) const;

 signals:
  // The user clicked in the view (also on its free area) or pressed a key it handled; the pane
  // treats it as a click on its icon view.
  void Acted();
  // The pointer moved over the view.
  void PointerMoved();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  // A drag of the selected rows is a drag of the icon view: the same data, always a copy.
  void startDrag(Qt::DropActions supported_actions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The selection of one view given to the other; `syncing_` stops the echo.
  void TakeIconSelection();
  void GiveSelectionToIcons();
  // Sizes every column to its title and the texts it shows, once the events now queued (the
  // rest of a fill) have run.
  void FitColumnsSoon();

  PaneListView* icons_;
  SaveRowsModel* rows_;
  QSortFilterProxyModel* sorted_;
  bool shown_ = false;
  bool syncing_ = false;
  bool fit_pending_ = false;
};

}  // namespace quorvel
