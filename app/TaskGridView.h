#pragma once

#include <QStyledItemDelegate>
#include <QTableView>
#include <QTextLayout>
#include <memory>
#include <unordered_map>

namespace vardo {

class TaskTableModel;

// Cell texts laid out once and drawn again at every paint: shaping each cell's text anew was most
// of a repaint's cost. An entry is found by the cell's text and by what its layout depends on (the
// cell's size, alignment, direction and features); all are dropped when the font changes, and
// when there are more than a few screens full (after scrolling through a long table).
class CellTextCache {
  public:
    struct Entry {
        // One laid-out line; null when the text needs more, which the caller then draws uncached.
        std::unique_ptr<QTextLayout> layout;
        // Where the line is drawn, from the cell's top-left corner.
        QPointF position;
        // The text's own clip from the cell's top-left corner; empty when the cell's clip suffices.
        QRectF clip;
    };

    // The entry of the cell's text; build() makes it when there is none yet.
    template <typename Build>
    const Entry& Get(const QStyleOptionViewItem& cell, Build build) {
        if (cell.font != font_) {
            entries_.clear();
            font_ = cell.font;
        }
        Key key{cell.text, cell.rect.size(), cell.displayAlignment, cell.direction, cell.features};
        const auto found = entries_.find(key);
        if (found != entries_.end()) return found->second;
        if (entries_.size() >= kMaxEntries) entries_.clear();
        return entries_.emplace(std::move(key), build()).first->second;
    }

  private:
    static constexpr std::size_t kMaxEntries = 2048;
    struct Key {
        QString text;
        QSize cellSize;
        Qt::Alignment alignment;
        Qt::LayoutDirection direction;
        QStyleOptionViewItem::ViewItemFeatures features;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return qHashMulti(0, key.text, key.cellSize.width(), key.cellSize.height(),
                              key.alignment.toInt(), int(key.direction), key.features.toInt());
        }
    };

    QFont font_;
    std::unordered_map<Key, Entry, KeyHash> entries_;
};

// Draws a cell exactly as QStyledItemDelegate does, with the text laid out only once.
class TaskCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    mutable CellTextCache texts_;
};

// Paints the application column as the bare program name in pure red over the normal cell
// background, so the selection highlight stays visible.
class ProgramNameDelegate final : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    mutable CellTextCache names_;
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
