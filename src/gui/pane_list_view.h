// The list view of one pane: its drag carries the program's own format and is always a copy
// (the list never removes rows itself); whether a drop is taken and what it does is the main
// window's business.
#pragma once

#include <QListWidget>
#include <functional>

namespace quorvel {

class PaneListView : public QListWidget {
 public:
  // The format of the data a pane's drag carries.
  static constexpr const char* kMimeType = "application/x-quorvel-saves";

  explicit PaneListView(QWidget* parent = nullptr);

  // `accepts` tells whether a drag now over this list may be dropped here; `dropped` runs the
  // drop. It runs once the drag has ended, so that the questions it may ask do not run inside
  // the drag's own event loop. Also switches dragging on, once the view is set up.
  void SetDropHandlers(std::function<bool()> accepts, std::function<void()> dropped);
  // Files dropped from a file manager (a list of local files' addresses): `files_dropped` gets
  // their paths, once the drag has ended.
  void SetFileDropHandler(std::function<void(const QStringList&)> files_dropped);
  // For a drag that ends in a file manager: `write_files` writes the selected saves as files
  // and gives their paths. It runs only when the place of the drop asks for files, at most
  // once per drag; drops onto the panes never ask.
  void SetFileExport(std::function<QStringList()> write_files);

  // The drag data and the drop rules above, for another view of the same pane's rows (the
  // details view), so that its drags and drops are exactly this list's.
  QMimeData* DragData() const;
  void DragOver(QDragMoveEvent* event) const;
  void Drop(QDropEvent* event);

 protected:
  QStringList mimeTypes() const override;
  // The data of a drag from this list: the program's own format and, with a file export, the
  // saves as files (text/uri-list) on request.
  QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
  // The list the drag starts from takes the keyboard focus: that is how the drop finds it.
  void startDrag(Qt::DropActions supported_actions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool Takes(const QDropEvent& event) const;
  // The local files a drag from outside the program carries (none for the panes' own drags).
  static QStringList DroppedFiles(const QDropEvent& event);

  std::function<bool()> accepts_;
  std::function<void()> dropped_;
  std::function<void(const QStringList&)> files_dropped_;
  std::function<QStringList()> write_files_;
};

}  // namespace quorvel
