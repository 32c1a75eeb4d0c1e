// The icon view's rows as the details view's table (see save_rows_model.h).
#include "gui/save_rows_model.h"

#include <QCoreApplication>

#include "gui/save_rows.h"

namespace quorvel {

SaveRowsModel::SaveRowsModel(QAbstractItemModel* icons, QObject* parent)
    : QAbstractTableModel(parent), icons_(icons) {
  // The icon view's rows are this model's rows: every change is passed on as it happens.
  connect(icons_, &QAbstractItemModel::rowsAboutToBeInserted, this,
          [this](const QModelIndex&, int first, int last) { beginInsertRows({}, first, last); });
  connect(icons_, &QAbstractItemModel::rowsInserted, this, [this] { endInsertRows(); });
  connect(icons_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
          [this](const QModelIndex&, int first, int last) { beginRemoveRows({}, first, last); });
  connect(icons_, &QAbstractItemModel::rowsRemoved, this, [this] { endRemoveRows(); });
  connect(icons_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
  connect(icons_, &QAbstractItemModel::modelReset, this, [this] { endResetModel(); });
  // Moves and layout changes (an icon view sorts or moves nothing of its own): read again.
  connect(icons_, &QAbstractItemModel::rowsAboutToBeMoved, this, [this] { beginResetModel(); });
  connect(icons_, &QAbstractItemModel::rowsMoved, this, [this] { endResetModel(); });
  connect(icons_, &QAbstractItemModel::layoutAboutToBeChanged, this, [this] { beginResetModel(); });
  connect(icons_, &QAbstractItemModel::layoutChanged, this, [this] { endResetModel(); });
  connect(icons_, &QAbstractItemModel::dataChanged, this, &SaveRowsModel::IconsChanged);
}

int SaveRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : icons_->rowCount();
}

int SaveRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant SaveRowsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= icons_->rowCount()) return {};
  const QModelIndex icon = icons_->index(index.row(), 0);
  const auto text = [&icon](int save_role) { return icon.data(save_role).toString(); };
  const int column = index.column();
  if (role == Qt::ToolTipRole) return icon.data(Qt::ToolTipRole);
  if (role == Qt::DecorationRole) {
    return column == kNameColumn ? icon.data(Qt::DecorationRole) : QVariant();
  }
  if (role == Qt::TextAlignmentRole && column == kBlocksColumn) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  if (role == kSortRole) {
    switch (column) {
      case kNameColumn:
        return text(kSaveNameRole);  // all 12 bytes, as the card holds them
      case kBlocksColumn:
        return icon.data(kBlocksRole).toInt();
      case kDateColumn:
        return text(kDateRole) + QLatin1Char(' ') + text(kTimeRole);
      case kTimeColumn:
        return text(kTimeRole) + QLatin1Char(' ') + text(kDateRole);
      default:
        return data(index, Qt::DisplayRole);
    }
  }
  if (role != Qt::DisplayRole) return {};
  switch (column) {
    case kNameColumn:
      return ShownSaveName(text(kSaveNameRole));
    case kShortDescriptionColumn:
      return text(kShortDescriptionRole);
    case kLongDescriptionColumn:
      return text(kLongDescriptionRole);
    case kKindColumn:
      return icon.data(kGameRole).isValid() ? SaveKindText(icon.data(kGameRole).toBool())
                                            : QString();
    case kBlocksColumn:
      return icon.data(kBlocksRole).isValid() ? QVariant(icon.data(kBlocksRole).toInt())
                                              : QVariant();
    case kDateColumn:
      return text(kDateRole);
    case kTimeColumn:
      return text(kTimeRole);
    default:
      return {};
  }
}

QVariant SaveRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  static constexpr const char* kTitles[kColumnCount] = {
      QT_TRANSLATE_NOOP("quorvel::SaveRowsModel", "單元名稱"),
      QT_TRANSLATE_NOOP("quorvel::SaveRowsModel", "記憶卡說明"),
      QT_TRANSLATE_NOOP("quorvel::SaveRowsModel", "主機說明"),
      QT_TRANSLATE_NOOP("quorvel::SaveRowsModel", "類型"),
      QT_TRANSLATE_NOOP("quorvel::SaveRowsModel", "Blocks"),
      QT_TRANSLATE_NOOP("quorvel::SaveRowsModel", "日期"),
      QT_TRANSLATE_NOOP("quorvel::SaveRowsModel", "時間"),
  };
  if (section < 0 || section >= kColumnCount) return {};
  return QCoreApplication::translate("quorvel::SaveRowsModel", kTitles[section]);
}

Qt::ItemFlags SaveRowsModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
}

void SaveRowsModel::IconsChanged(const QModelIndex& top_left, const QModelIndex& bottom_right,
                                 const QList<int>& roles) {
  const int first = top_left.row();
  const int last = bottom_right.row();
  if (first < 0 || last < first) return;
  // A new picture of the animation changes the name column's icon alone; the sorted order
  // need not be looked at again for it.
  if (roles.size() == 1 && roles.front() == Qt::DecorationRole) {
    emit dataChanged(index(first, kNameColumn), index(last, kNameColumn), roles);
    return;
  }
  emit dataChanged(index(first, 0), index(last, kColumnCount - 1));
}

}  // namespace quorvel
