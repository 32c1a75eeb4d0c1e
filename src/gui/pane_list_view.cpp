// The list view of one pane and its drag and drop (see pane_list_view.h).
#include "gui/pane_list_view.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

namespace quorvel {

PaneListView::PaneListView(QWidget* parent) : QListWidget(parent) {}

void PaneListView::SetDropHandlers(std::function<bool()> accepts, std::function<void()> dropped) {
  accepts_ = std::move(accepts);
  dropped_ = std::move(dropped);
  // Setting the view mode or the movement switches dragging off again, hence here.
  setDragEnabled(true);
  setDefaultDropAction(Qt::CopyAction);
  viewport()->setAcceptDrops(true);  // drops arrive on the viewport, not the scroll area
}

QStringList PaneListView::mimeTypes() const { return {QString::fromLatin1(kMimeType)}; }

QMimeData* PaneListView::mimeData(const QList<QListWidgetItem*>& /*items*/) const {
  // The drop takes the rows selected in the source at that moment, so the format alone says
  // everything; no copy of the rows travels with it.
  auto* data = new QMimeData;
  data->setData(QString::fromLatin1(kMimeType), QByteArray());
  return data;
}

void PaneListView::startDrag(Qt::DropActions /*supported_actions*/) {
  activateWindow();
  setFocus(Qt::MouseFocusReason);
  QListWidget::startDrag(Qt::CopyAction);
}

bool PaneListView::Takes(const QDropEvent& event) const {
  return event.mimeData() && event.mimeData()->hasFormat(QString::fromLatin1(kMimeType)) &&
         accepts_ && accepts_();
}

void PaneListView::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void PaneListView::dragMoveEvent(QDragMoveEvent* event) {
  if (!Takes(*event)) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void PaneListView::dropEvent(QDropEvent* event) {
  if (!Takes(*event) || !dropped_) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  QMetaObject::invokeMethod(this, dropped_, Qt::QueuedConnection);
}

}  // namespace quorvel
