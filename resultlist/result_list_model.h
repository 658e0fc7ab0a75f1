// Shows ResultList in 超级列表框1: nine columns, a tick box in column 0, colours from the cell
// colour table. Commands change ResultList and then tell the model what changed.
#pragma once

#include <QAbstractTableModel>
#include <unordered_map>

#include "resultlist/cell_colours.h"
#include "resultlist/result_list.h"
#include "resultlist/sort.h"

namespace corvale::resultlist {

class ResultListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  ResultListModel(ResultList& list, CellColourTable& colours, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The row with this identity, or nothing when it is gone.
  ResultRow* FindRow(std::uint64_t id);

  // Rows appended to the list since the last call become visible, in one insertion.
  void SyncAppended();
  // The list was emptied or replaced.
  void ResetAll();
  // Rows moved (a sort): every persistent index follows its row identity.
  void BeginReorder();
  void EndReorder();
  void CellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn);
  void AllCellsChanged();

  void ClearCellColours();
  // Colours columns 1 to 7 of every row whose mark says it belongs to a duplicate group red, with
  // one repaint for all of them.
  void ColourDuplicateGroups();
  // Sorts the list and keeps the view's selection and current row on their files.
  void Sort(int column, bool ascending);

 private:
  ResultList& list_;
  CellColourTable& colours_;
  int shownRows_ = 0;
  std::vector<std::uint64_t> idsBeforeReorder_;
  // Changes whenever rows change places or the list is replaced: the identity index of FindRow
  // is rebuilt once it differs.
  std::uint64_t generation_ = 0;
  std::uint64_t indexGeneration_ = ~std::uint64_t(0);
  std::unordered_map<std::uint64_t, std::size_t> indexById_;
};

}  // namespace corvale::resultlist
