#include "resultlist/result_list_model.h"

#include <QColor>
#include <unordered_map>

namespace corvale::resultlist {
namespace {

QColor ToQColor(std::uint32_t bgr) {
  return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

}  // namespace

ResultListModel::ResultListModel(ResultList& list, CellColourTable& colours, QObject* parent)
    : QAbstractTableModel(parent),
      list_(list),
      colours_(colours),
      shownRows_(int(list.rows.size())) {}

int ResultListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shownRows_;
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shownRows_) return {};
  const ResultRow& row = list_.rows[std::size_t(index.row())];
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
      if (column == kTickColumn) return {};
      const std::string text = CellText(row, column);
      return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
    case Qt::CheckStateRole:
      if (column != kTickColumn) return {};
      return row.checked ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
      return int((kColumnCentred[std::size_t(column)] ? Qt::AlignHCenter : Qt::AlignLeft) |
                 Qt::AlignVCenter);
    case Qt::ForegroundRole:
      if (auto c = colours_.Find(index.row(), column); c && c->text != kListTextColour) {
        return ToQColor(c->text);
      }
      return {};
    case Qt::BackgroundRole:
      // The list's own background is the view's palette, light or dark: never painted over.
      if (auto c = colours_.Find(index.row(), column); c && c->background != kListBackground) {
        return ToQColor(c->background);
      }
      return {};
    default:
      return {};
  }
}

bool ResultListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() != kTickColumn || role != Qt::CheckStateRole) {
    return false;
  }
  list_.rows[std::size_t(index.row())].checked = Qt::CheckState(value.toInt()) == Qt::Checked;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == kTickColumn) f |= Qt::ItemIsUserCheckable;
  return f;
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
  if (role == Qt::DisplayRole) return QString::fromUtf8(kColumnTitles[std::size_t(section)]);
  if (role == Qt::TextAlignmentRole) {
    return int((kColumnCentred[std::size_t(section)] ? Qt::AlignHCenter : Qt::AlignLeft) |
               Qt::AlignVCenter);
  }
  return {};
}

void ResultListModel::SyncAppended() {
  const int total = int(list_.rows.size());
  if (total <= shownRows_) return;
  beginInsertRows({}, shownRows_, total - 1);
  shownRows_ = total;
  endInsertRows();
}

ResultRow* ResultListModel::FindRow(std::uint64_t id) {
  if (indexGeneration_ != generation_ || indexById_.size() != list_.rows.size()) {
    indexById_.clear();
    for (std::size_t r = 0; r < list_.rows.size(); ++r) indexById_[list_.rows[r].id] = r;
    indexGeneration_ = generation_;
  }
  const auto found = indexById_.find(id);
  return found == indexById_.end() ? nullptr : &list_.rows[found->second];
}

void ResultListModel::ResetAll() {
  ++generation_;
  beginResetModel();
  shownRows_ = int(list_.rows.size());
  endResetModel();
}

void ResultListModel::BeginReorder() {
  SyncAppended();
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  idsBeforeReorder_.clear();
  for (const ResultRow& row : list_.rows) idsBeforeReorder_.push_back(row.id);
}

void ResultListModel::EndReorder() {
  std::unordered_map<std::uint64_t, int> newRowOf;
  for (int r = 0; r < int(list_.rows.size()); ++r) newRowOf[list_.rows[std::size_t(r)].id] = r;
  const auto persistent = persistentIndexList();
  QModelIndexList moved;
  for (const QModelIndex& index : persistent) {
    const int newRow = newRowOf.at(idsBeforeReorder_[std::size_t(index.row())]);
    moved.push_back(createIndex(newRow, index.column()));
  }
  changePersistentIndexList(persistent, moved);
  ++generation_;
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ResultListModel::CellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn) {
  if (firstRow > lastRow || firstRow >= shownRows_) return;
  emit dataChanged(index(firstRow, firstColumn),
                   index(std::min(lastRow, shownRows_ - 1), lastColumn));
}

void ResultListModel::AllCellsChanged() {
  if (shownRows_ > 0) emit dataChanged(index(0, 0), index(shownRows_ - 1, kColumnCount - 1));
}

void ResultListModel::ColourDuplicateGroups() {
  bool changed = false;
  for (int r = 0; r < int(list_.rows.size()); ++r) {
    if (!list_.rows[std::size_t(r)].InGroup()) continue;
    for (int c = kNumberColumn; c <= kMarkColumn; ++c) {
      changed = colours_.SetCellColour(r, c, kRed) || changed;
    }
  }
  if (changed) AllCellsChanged();
}

void ResultListModel::Sort(int column, bool ascending) {
  BeginReorder();
  SortResultList(list_, column, ascending);
  EndReorder();
}

void ResultListModel::ClearCellColours() {
  const bool hadEntries = colours_.Size() > 0;
  // One dataChanged for the whole table: cheaper than one per coloured cell.
  if (colours_.ClearCellColours() && hadEntries) AllCellsChanged();
}

}  // namespace corvale::resultlist
