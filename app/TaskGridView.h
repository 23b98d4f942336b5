#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

namespace vardo {

class TaskTableModel;

// Paints the application column as the bare program name in pure red over the normal cell
// background, so the selection highlight stays visible.
class ProgramNameDelegate final : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// The timetable grid: whole-row selection following the table's current row, fixed header row
// and number column, rows dragged to a new place by their number cell.
class TaskGridView final : public QTableView {
    Q_OBJECT
  public:
    explicit TaskGridView(TaskTableModel& model, QWidget* parent = nullptr);

    // Moves the selection to a table row without reporting it as the operator's choice.
    void SelectTableRow(int tableRow);

  signals:
    // The operator chose a row: a click, also on the row already current, or keys.
    void rowChosen(int tableRow);
    // The pointer moves over a task row of this table column.
    void taskCellHovered(int tableColumn);
    // A row was dragged by its number cell from one table row to another (table already updated).
    void rowMoved(int fromTableRow, int toTableRow);

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ApplyColumnWidths();
    void MoveDraggedRow(int logicalIndex, int oldVisualIndex, int newVisualIndex);

    TaskTableModel& model_;
    bool followingTable_ = false;
};

}  // namespace vardo
