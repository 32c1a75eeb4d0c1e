// The rows of a pane's icon view as a table: one row per row of the icon view, in the same
// order, one column per text of the save (see save_rows.h). It follows the icon view's model
// as rows come and go and icons change, so the details view always shows the same saves.
#pragma once

#include <QAbstractTableModel>

namespace quorvel {

class SaveRowsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column : int {
    kNameColumn = 0,  // with the save's icon
    kShortDescriptionColumn,
    kLongDescriptionColumn,
    kKindColumn,
    kBlocksColumn,
    kDateColumn,
    kTimeColumn,
    kColumnCount
  };
  // The role the details view sorts by: names by their bytes, blocks as numbers, dates and
  // times in the order they happened.
  static constexpr int kSortRole = Qt::UserRole;

  // `icons` is the icon view's model, a list (one column).
  explicit SaveRowsModel(QAbstractItemModel* icons, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  void IconsChanged(const QModelIndex& top_left, const QModelIndex& bottom_right,
                    const QList<int>& roles);

  QAbstractItemModel* icons_;
};

}  // namespace quorvel
