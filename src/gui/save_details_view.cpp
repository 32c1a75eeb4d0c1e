// The details view of a pane over its icon view (see save_details_view.h).
#include "gui/save_details_view.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSortFilterProxyModel>

#include "gui/pane_list_view.h"
#include "gui/save_rows_model.h"

namespace quorvel {

SaveDetailsView::SaveDetailsView(PaneListView* icons)
    : QTreeView(icons),
      icons_(icons),
      rows_(new SaveRowsModel(icons->model(), this)),
      sorted_(new QSortFilterProxyModel(this)) {
  setObjectName(icons->objectName() + QStringLiteral("Details"));
  sorted_->setSourceModel(rows_);
  sorted_->setSortRole(SaveRowsModel::kSortRole);
  sorted_->setDynamicSortFilter(true);
  setModel(sorted_);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setIconSize(QSize(32, 32));
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setMouseTracking(true);
  // Card order until a column is chosen; a third click on a column goes back to it.
  header()->setSortIndicatorClearable(true);
  header()->setSortIndicator(-1, Qt::AscendingOrder);
  setSortingEnabled(true);
  header()->setSectionsMovable(false);
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(QHeaderView::Interactive);

  setDragEnabled(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::CopyAction);
  setDropIndicatorShown(false);
  viewport()->setAcceptDrops(true);

  connect(icons_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &SaveDetailsView::TakeIconSelection);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &SaveDetailsView::GiveSelectionToIcons);
  // Rows that come back after a refresh, sorted anew, show the icon view's selection.
  connect(sorted_, &QAbstractItemModel::rowsInserted, this, &SaveDetailsView::TakeIconSelection);
  // The columns fit the saves shown, once a fill (a row at a time) is over.
  connect(sorted_, &QAbstractItemModel::rowsInserted, this, &SaveDetailsView::FitColumnsSoon);
  connect(sorted_, &QAbstractItemModel::modelReset, this, &SaveDetailsView::FitColumnsSoon);
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (QListWidgetItem* item = icons_->item(IconRow(index.row()))) {
      emit icons_->itemDoubleClicked(item);
    }
  });
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (icons_->contextMenuPolicy() != Qt::CustomContextMenu) return;
    emit icons_->customContextMenuRequested(
        icons_->viewport()->mapFromGlobal(viewport()->mapToGlobal(at)));
  });
  icons_->installEventFilter(this);
  hide();
}

void SaveDetailsView::ShowDetails(bool on) {
  if (on == shown_) return;
  shown_ = on;
  const bool had_focus = icons_->hasFocus();
  if (on) {
    setGeometry(icons_->rect());
    setToolTip(icons_->toolTip());
    icons_->setFocusProxy(this);
    show();
    raise();
    TakeIconSelection();
    FitColumnsSoon();
  } else {
    icons_->setFocusProxy(nullptr);
    hide();
  }
  if (had_focus) icons_->setFocus(Qt::OtherFocusReason);
}

void SaveDetailsView::FitColumnsSoon() {
  if (fit_pending_) return;
  fit_pending_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        fit_pending_ = false;
        for (int column = 0; column < SaveRowsModel::kColumnCount; ++column) {
          resizeColumnToContents(column);
        }
      },
      Qt::QueuedConnection);
}

int SaveDetailsView::IconRow(int row) const {
  return sorted_->mapToSource(sorted_->index(row, 0)).row();
}

int SaveDetailsView::ViewRow(int icon_row) const {
  return sorted_->mapFromSource(rows_->index(icon_row, 0)).row();
}

bool SaveDetailsView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == icons_ && event->type() == QEvent::Resize) setGeometry(icons_->rect());
  return QTreeView::eventFilter(watched, event);
}

void SaveDetailsView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Delete:
      // The pane's own keys, as the icon view takes them.
      QCoreApplication::sendEvent(icons_, event);
      return;
    default:
      QTreeView::keyPressEvent(event);
      emit Acted();
  }
}

void SaveDetailsView::mouseReleaseEvent(QMouseEvent* event) {
  QTreeView::mouseReleaseEvent(event);
  emit Acted();
}

void SaveDetailsView::mouseMoveEvent(QMouseEvent* event) {
  QTreeView::mouseMoveEvent(event);
  emit PointerMoved();
}

void SaveDetailsView::startDrag(Qt::DropActions /*supported_actions*/) {
  const QModelIndexList chosen = selectionModel()->selectedRows(SaveRowsModel::kNameColumn);
  if (chosen.isEmpty()) return;
  // The view the drag starts from takes the keyboard focus: that is how the drop finds its
  // source (through the icon view, which passes its focus on to this view).
  activateWindow();
  setFocus(Qt::MouseFocusReason);
  auto* drag = new QDrag(this);
  drag->setMimeData(icons_->DragData());
  const QModelIndex shown = currentIndex().isValid() ? currentIndex() : chosen.front();
  const QIcon icon =
      shown.siblingAtColumn(SaveRowsModel::kNameColumn).data(Qt::DecorationRole).value<QIcon>();
  if (!icon.isNull()) drag->setPixmap(icon.pixmap(iconSize()));
  drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void SaveDetailsView::dragEnterEvent(QDragEnterEvent* event) { icons_->DragOver(event); }

void SaveDetailsView::dragMoveEvent(QDragMoveEvent* event) { icons_->DragOver(event); }

void SaveDetailsView::dropEvent(QDropEvent* event) { icons_->Drop(event); }

void SaveDetailsView::TakeIconSelection() {
  if (syncing_) return;
  syncing_ = true;
  QItemSelection selection;
  const QItemSelectionModel* chosen = icons_->selectionModel();
  for (int row = 0; row < rows_->rowCount(); ++row) {
    if (!chosen->isSelected(icons_->model()->index(row, 0))) continue;
    const QModelIndex first = sorted_->mapFromSource(rows_->index(row, 0));
    selection.select(first, first.siblingAtColumn(SaveRowsModel::kColumnCount - 1));
  }
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  const QModelIndex current = icons_->currentIndex();
  if (current.isValid()) {
    selectionModel()->setCurrentIndex(sorted_->mapFromSource(rows_->index(current.row(), 0)),
                                      QItemSelectionModel::NoUpdate);
  }
  syncing_ = false;
}

void SaveDetailsView::GiveSelectionToIcons() {
  if (syncing_) return;
  syncing_ = true;
  QItemSelection selection;
  for (const QModelIndex& row : selectionModel()->selectedRows()) {
    const QModelIndex icon = icons_->model()->index(IconRow(row.row()), 0);
    selection.select(icon, icon);
  }
  icons_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  const QModelIndex current = currentIndex();
  if (current.isValid()) {
    icons_->selectionModel()->setCurrentIndex(icons_->model()->index(IconRow(current.row()), 0),
                                              QItemSelectionModel::NoUpdate);
  }
  syncing_ = false;
}

}  // namespace quorvel
