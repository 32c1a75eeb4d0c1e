// The list view of one pane and its drag and drop (see pane_list_view.h).
#include "gui/pane_list_view.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <optional>

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

void PaneListView::SetFileDropHandler(std::function<void(const QStringList&)> files_dropped) {
  files_dropped_ = std::move(files_dropped);
}

QStringList PaneListView::DroppedFiles(const QDropEvent& event) {
  QStringList files;
  const QMimeData* data = event.mimeData();
  if (!data || data->hasFormat(QString::fromLatin1(kMimeType)) || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  return files;
}

namespace {

const QString kUriList = QStringLiteral("text/uri-list");

// The program's own format, plus the saves as files, written when first asked for.
class SaveDragData : public QMimeData {
 public:
  explicit SaveDragData(std::function<QStringList()> write_files)
      : write_files_(std::move(write_files)) {
    setData(QString::fromLatin1(PaneListView::kMimeType), QByteArray());
  }

  QStringList formats() const override {
    QStringList types = QMimeData::formats();
    if (write_files_) types << kUriList;
    return types;
  }
  bool hasFormat(const QString& type) const override { return formats().contains(type); }

 protected:
  QVariant retrieveData(const QString& type, QMetaType meta) const override {
    if (type != kUriList || !write_files_) return QMimeData::retrieveData(type, meta);
    if (!urls_) {
      urls_.emplace();
      for (const QString& file : write_files_()) urls_->append(QUrl::fromLocalFile(file));
    }
    return *urls_;
  }

 private:
  std::function<QStringList()> write_files_;
  mutable std::optional<QVariantList> urls_;
};

}  // namespace

void PaneListView::SetFileExport(std::function<QStringList()> write_files) {
  write_files_ = std::move(write_files);
}

QStringList PaneListView::mimeTypes() const { return {QString::fromLatin1(kMimeType)}; }

QMimeData* PaneListView::mimeData(const QList<QListWidgetItem*>& /*items*/) const {
  return DragData();
}

QMimeData* PaneListView::DragData() const {
  // The drop takes the rows selected in the source at that moment, so the format alone says
  // everything to the panes; no copy of the rows travels with it.
  return new SaveDragData(write_files_);
}

void PaneListView::startDrag(Qt::DropActions /*supported_actions*/) {
  activateWindow();
  setFocus(Qt::MouseFocusReason);
  QListWidget::startDrag(Qt::CopyAction);
}

bool PaneListView::Takes(const QDropEvent& event) const {
  if (files_dropped_ && !DroppedFiles(event).isEmpty()) return true;
  return event.mimeData() && event.mimeData()->hasFormat(QString::fromLatin1(kMimeType)) &&
         accepts_ && accepts_();
}

void PaneListView::dragEnterEvent(QDragEnterEvent* event) { DragOver(event); }

void PaneListView::dragMoveEvent(QDragMoveEvent* event) { DragOver(event); }

void PaneListView::dropEvent(QDropEvent* event) { Drop(event); }

void PaneListView::DragOver(QDragMoveEvent* event) const {
  if (!Takes(*event)) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void PaneListView::Drop(QDropEvent* event) {
  if (!Takes(*event) || (!dropped_ && DroppedFiles(*event).isEmpty())) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  const QStringList files = DroppedFiles(*event);
  if (!files.isEmpty()) {
    QMetaObject::invokeMethod(
        this, [this, files] { files_dropped_(files); }, Qt::QueuedConnection);
    return;
  }
  QMetaObject::invokeMethod(this, dropped_, Qt::QueuedConnection);
}

}  // namespace quorvel
