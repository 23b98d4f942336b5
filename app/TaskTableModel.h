#pragma once

#include <QAbstractTableModel>

#include "TaskTable.h"

namespace vardo {

// Shows a TaskTable in a QTableView. Row 0 of the table (the captions) becomes the horizontal
// header and column 0 (the numbers) the vertical header, so both stay fixed while scrolling;
// model cell (r, c) is table cell (c + 1, r + 1). The model becomes the table's only observer.
class TaskTableModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TaskTableModel(TaskTable& table, QObject* parent = nullptr);
    ~TaskTableModel() override;

    TaskTable& table() { return table_; }

    static int TableRow(int modelRow) { return modelRow + 1; }
    static int TableColumn(int modelColumn) { return modelColumn + 1; }
    static int ModelRow(int tableRow) { return tableRow - 1; }
    static int ModelColumn(int tableColumn) { return tableColumn - 1; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  signals:
    void currentRowChanged(int tableRow);

  private:
    TaskTable& table_;
};

}  // namespace vardo
