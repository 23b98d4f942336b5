#include "TaskTableModel.h"

#include "QtText.h"
#include "TableTexts.h"

namespace vardo {

TaskTableModel::TaskTableModel(TaskTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
    auto& observer = table_.observer();
    // The table has already changed when it reports; a reset makes views re-read everything.
    observer.structureChanged = [this] {
        beginResetModel();
        endResetModel();
    };
    observer.cellChanged = [this](int column, int row) {
        if (row == 0) {
            emit headerDataChanged(Qt::Horizontal, ModelColumn(column), ModelColumn(column));
        } else if (column == ColNumber) {
            emit headerDataChanged(Qt::Vertical, ModelRow(row), ModelRow(row));
        } else {
            const QModelIndex cell = index(ModelRow(row), ModelColumn(column));
            emit dataChanged(cell, cell, {Qt::DisplayRole});
        }
    };
    observer.currentRowChanged = [this](int row) { emit currentRowChanged(row); };
}

TaskTableModel::~TaskTableModel() {
    table_.observer() = {};
}

int TaskTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.RowCount() - 1;
}

int TaskTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.ColCount() - 1;
}

QVariant TaskTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    const int column = TableColumn(index.column());
    return ShownCell(column, table_.Cell(column, TableRow(index.row())));
}

QVariant TaskTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return TableText(table_.Cell(TableColumn(section), 0));
    return ToQString(table_.Cell(ColNumber, TableRow(section)));
}

}  // namespace vardo
