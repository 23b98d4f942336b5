#include "TaskGridView.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

#include "QtText.h"
#include "TaskTableModel.h"

namespace vardo {

namespace {

constexpr int kRowHeight = 15;
constexpr QPoint kProgramTextOffset{2, 2};

// Where a table row ends up when the row from is dragged to to: rows in between close the gap.
int RowAfterMove(int row, int from, int to) {
    if (row == from) return to;
    if (from < row && row <= to) return row - 1;
    if (to <= row && row < from) return row + 1;
    return row;
}

}  // namespace

void ProgramNameDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    const QString path = background.text;
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    painter->save();
    painter->setClipRect(option.rect);
    painter->setPen(QColor(255, 0, 0));
    painter->setFont(option.font);
    const QRect textRect =
        option.rect.adjusted(kProgramTextOffset.x(), kProgramTextOffset.y(), 0, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      ToQString(BareProgramName(path.toStdString())));
    painter->restore();
}

TaskGridView::TaskGridView(TaskTableModel& model, QWidget* parent)
    : QTableView(parent), model_(model) {
    setModel(&model_);
    setItemDelegateForColumn(TaskTableModel::ModelColumn(ColApplication),
                             new ProgramNameDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setShowGrid(true);
    setWordWrap(false);
    // Narrow columns clip their text, so the digits of a time stay readable instead of "…".
    setTextElideMode(Qt::ElideNone);
    setMouseTracking(true);

    QHeaderView* rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(kRowHeight);
    rows->setDefaultSectionSize(kRowHeight);
    rows->setFixedWidth(kColumnWidths[ColNumber]);
    rows->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    rows->setSectionsMovable(true);
    rows->setMouseTracking(true);
    rows->viewport()->installEventFilter(this);
    connect(rows, &QHeaderView::sectionMoved, this, &TaskGridView::MoveDraggedRow);

    QHeaderView* columns = horizontalHeader();
    columns->setFixedHeight(kRowHeight + 2);
    columns->setHighlightSections(false);
    rows->setHighlightSections(false);
    ApplyColumnWidths();
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] {
        ApplyColumnWidths();
        SelectTableRow(model_.table().CurrentRow());
    });
    connect(&model_, &TaskTableModel::currentRowChanged, this, &TaskGridView::SelectTableRow);
    SelectTableRow(model_.table().CurrentRow());
}

void TaskGridView::ApplyColumnWidths() {
    for (int column = ColApplication; column < model_.table().ColCount(); ++column) {
        const int width = column < kStandardColumnCount ? kColumnWidths[column] : 64;
        setColumnWidth(TaskTableModel::ModelColumn(column), width);
    }
}

void TaskGridView::SelectTableRow(int tableRow) {
    const QModelIndex target = model_.index(TaskTableModel::ModelRow(tableRow), 0);
    if (!target.isValid() || target.row() == currentIndex().row()) return;
    followingTable_ = true;
    setCurrentIndex(target);
    followingTable_ = false;
}

void TaskGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (followingTable_ || !current.isValid() || current.row() == previous.row()) return;
    const int tableRow = TaskTableModel::TableRow(current.row());
    model_.table().SetCurrentRow(tableRow);
    emit rowChosen(tableRow);
}

// A press on the current row changes nothing in the view, but still chooses that row.
void TaskGridView::mousePressEvent(QMouseEvent* event) {
    const int currentBefore = currentIndex().row();
    QTableView::mousePressEvent(event);
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (cell.isValid() && cell.row() == currentBefore) {
        emit rowChosen(TaskTableModel::TableRow(cell.row()));
    }
}

void TaskGridView::mouseMoveEvent(QMouseEvent* event) {
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (cell.isValid()) emit taskCellHovered(TaskTableModel::TableColumn(cell.column()));
    QTableView::mouseMoveEvent(event);
}

bool TaskGridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == verticalHeader()->viewport() && event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (verticalHeader()->logicalIndexAt(move->position().toPoint()) >= 0) {
            emit taskCellHovered(ColNumber);
        }
    }
    return QTableView::eventFilter(watched, event);
}

// The header only moves its own sections; the table is what moves. The header is put back in
// order so that visual and model rows stay the same. The current row stays on its task, so the
// fields, which show that task, go on writing into it.
void TaskGridView::MoveDraggedRow(int, int oldVisualIndex, int newVisualIndex) {
    QHeaderView* rows = verticalHeader();
    {
        const QSignalBlocker blocker(rows);
        rows->moveSection(newVisualIndex, oldVisualIndex);
    }
    const int from = TaskTableModel::TableRow(oldVisualIndex);
    const int to = TaskTableModel::TableRow(newVisualIndex);
    TaskTable& table = model_.table();
    const int current = RowAfterMove(table.CurrentRow(), from, to);
    table.MoveRow(from, to);
    table.SetCurrentRow(current);
    emit rowMoved(from, to);
}

}  // namespace vardo
