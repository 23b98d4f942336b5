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
const QColor kProgramNameColour(255, 0, 0);

// Where a table row ends up when the row from is dragged to to: rows in between close the gap.
int RowAfterMove(int row, int from, int to) {
    if (row == from) return to;
    if (from < row && row <= to) return row - 1;
    if (to <= row && row < from) return row + 1;
    return row;
}

// The pen of a cell's text, as the style chooses it for an item view.
QColor TextColour(const QStyleOptionViewItem& cell) {
    QPalette::ColorGroup group =
        cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(cell.state & QStyle::State_Active)) {
        group = QPalette::Inactive;
    }
    return cell.palette.color(
        group, cell.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text);
}

QStyle& StyleOf(const QStyleOptionViewItem& cell) {
    return cell.widget ? *cell.widget->style() : *QApplication::style();
}

constexpr QStyleOptionViewItem::ViewItemFeatures kCheckOrIcon =
    QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;

// The cell as the style draws an item view item, without its text: the background and selection,
// and the focus frame of the current cell.
void DrawCellWithoutText(QPainter& painter, QStyleOptionViewItem cell) {
    cell.text.clear();
    const QStyle& style = StyleOf(cell);
    if (cell.state & QStyle::State_HasFocus || cell.features & kCheckOrIcon) {
        style.drawControl(QStyle::CE_ItemViewItem, &cell, &painter, cell.widget);
    } else {
        // All the item would draw, without laying out its parts first.
        style.drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, &painter, cell.widget);
    }
}

void DrawCachedText(QPainter& painter, const QStyleOptionViewItem& cell, const QColor& pen,
                    const CellTextCache::Entry& text) {
    painter.save();
    painter.setClipRect(cell.rect);
    if (!text.clip.isEmpty()) {
        painter.setClipRect(text.clip.translated(cell.rect.topLeft()), Qt::IntersectClip);
    }
    painter.setPen(pen);
    text.layout->lineAt(0).draw(&painter, text.position + cell.rect.topLeft());
    painter.restore();
}

// Lays out a cell's text the way the style's item view text is laid out and placed: one line in
// the text rectangle less the focus frame margins, aligned as the cell asks, not elided.
CellTextCache::Entry LayOutCellText(const QStyleOptionViewItem& cell) {
    const QStyle& style = StyleOf(cell);
    const int margin = style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, cell.widget) + 1;
    const QRect textRect = style.subElementRect(QStyle::SE_ItemViewItemText, &cell, cell.widget)
                               .translated(-cell.rect.topLeft())
                               .adjusted(margin, 0, -margin, 0);
    QTextOption textOption;
    textOption.setWrapMode(cell.features & QStyleOptionViewItem::WrapText
                               ? QTextOption::WordWrap
                               : QTextOption::ManualWrap);
    textOption.setTextDirection(cell.direction);
    textOption.setAlignment(QStyle::visualAlignment(cell.direction, cell.displayAlignment));

    auto layout = std::make_unique<QTextLayout>(cell.text, cell.font);
    layout->setCacheEnabled(true);
    layout->setTextOption(textOption);
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(textRect.width());
        line.setPosition({0, 0});
    }
    layout->endLayout();
    if (layout->lineCount() != 1) return {};

    const QRect lineRect = QStyle::alignedRect(Qt::LayoutDirectionAuto, cell.displayAlignment,
                                               layout->boundingRect().size().toSize(), textRect);
    return {std::move(layout), QPointF(textRect.x(), lineRect.top()), {}};
}

QString ProgramName(const QString& path) {
    return ToQString(BareProgramName(path.toStdString()));
}

// Lays out the program name as QPainter::drawText does for left and top aligned text on one line
// in textRect (from the cell's top-left corner): control characters become blanks, and the text
// is clipped to textRect only when it does not fit. A name that still breaks into more lines gets
// no layout.
CellTextCache::Entry LayOutProgramName(const QString& name, const QFont& font,
                                       Qt::LayoutDirection direction, QRectF textRect) {
    QString line = name;
    for (QChar& character : line) {
        if (character == '\r' || character == '\n' || character == '\t') character = ' ';
    }
    QTextOption textOption;
    textOption.setTextDirection(direction);
    textOption.setAlignment(Qt::AlignLeft);
    auto layout = std::make_unique<QTextLayout>(line, font);
    layout->setCacheEnabled(true);
    layout->setTextOption(textOption);
    layout->beginLayout();
    for (QTextLine next = layout->createLine(); next.isValid(); next = layout->createLine()) {
        next.setLineWidth(0x01000000);
        next.setPosition({0, 0});
    }
    layout->endLayout();
    if (layout->lineCount() != 1) return {};

    // The line's unrounded height, as drawText measures it.
    const QTextLine only = layout->lineAt(0);
    const qreal height = only.ascent() + only.descent() +
                         (only.leadingIncluded() ? std::max(0.0, only.leading()) : 0.0);
    const QRectF bounds(textRect.topLeft(), QSizeF(only.naturalTextWidth(), height));
    return {std::move(layout), textRect.topLeft(), textRect.contains(bounds) ? QRectF() : textRect};
}

}  // namespace

void TaskCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    if (cell.text.isEmpty()) {
        DrawCellWithoutText(*painter, cell);
        return;
    }
    // The focus frame goes over the text; that one cell is drawn the ordinary way.
    if (cell.state & QStyle::State_HasFocus || cell.features & kCheckOrIcon) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const CellTextCache::Entry& text = texts_.Get(cell, [&cell] { return LayOutCellText(cell); });
    if (!text.layout) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    DrawCellWithoutText(*painter, cell);
    DrawCachedText(*painter, cell, TextColour(cell), text);
}

void ProgramNameDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QString path = cell.text;
    DrawCellWithoutText(*painter, cell);
    if (path.isEmpty()) return;

    const QRect textRect = cell.rect.adjusted(kProgramTextOffset.x(), kProgramTextOffset.y(), 0, 0);
    const CellTextCache::Entry& name = names_.Get(cell, [&] {
        return LayOutProgramName(ProgramName(path), cell.font, cell.direction,
                                 textRect.translated(-cell.rect.topLeft()));
    });
    if (name.layout) {
        DrawCachedText(*painter, cell, kProgramNameColour, name);
        return;
    }
    painter->save();
    painter->setClipRect(cell.rect);
    painter->setPen(kProgramNameColour);
    painter->setFont(cell.font);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      ProgramName(path));
    painter->restore();
}

TaskGridView::TaskGridView(TaskTableModel& model, QWidget* parent)
    : QTableView(parent), model_(model) {
    setModel(&model_);
    setItemDelegate(new TaskCellDelegate(this));
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
