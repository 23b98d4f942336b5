#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTest>

#include "MainWindowFixture.h"
#include "TaskGridView.h"
#include "TaskTable.h"
#include "TaskTableModel.h"

namespace vardo::test {
namespace {

using TaskGridTest = MainWindowFixture;

std::string Row(int number, const std::string& application, const std::string& description) {
    return "  " + std::to_string(number) + "^^" + application + "^^^^" + description +
           "^^^^^^^^否^^是^^1^^^^^^^^^^^^^^\r\n";
}

QRect CellRect(TaskGridView& grid, int tableRow, int tableColumn) {
    return grid.visualRect(grid.model()->index(TaskTableModel::ModelRow(tableRow),
                                               TaskTableModel::ModelColumn(tableColumn)));
}

void MoveMouse(QWidget* widget, QPoint position, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, position, widget->mapToGlobal(position), Qt::NoButton,
                     buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

int RedPixels(const QImage& image, QRect area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80) ++count;
        }
    }
    return count;
}

// The program cell drawn the plain way: the background as the style draws it, then the bare name
// in red by QPainter::drawText 2 pixels in from the top-left corner, clipped to the cell.
class DrawTextProgramName final : public QStyledItemDelegate {
  public:
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QString path = cell.text;
        cell.text.clear();
        option.widget->style()->drawControl(QStyle::CE_ItemViewItem, &cell, painter, option.widget);
        painter->save();
        painter->setClipRect(option.rect);
        painter->setPen(QColor(255, 0, 0));
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(2, 2, 0, 0),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          QString::fromStdString(BareProgramName(path.toStdString())));
        painter->restore();
    }
};

// The grid's picture with every cell laid out and drawn anew: by the stock delegate, and the
// program column by drawText.
QImage PlainPicture(TaskGridView& grid) {
    const int programColumn = TaskTableModel::ModelColumn(ColApplication);
    QAbstractItemDelegate* const cells = grid.itemDelegate();
    QAbstractItemDelegate* const programs = grid.itemDelegateForColumn(programColumn);
    QStyledItemDelegate stock;
    DrawTextProgramName program;
    grid.setItemDelegate(&stock);
    grid.setItemDelegateForColumn(programColumn, &program);
    const QImage picture = grid.viewport()->grab().toImage();
    grid.setItemDelegate(cells);
    grid.setItemDelegateForColumn(programColumn, programs);
    return picture;
}

QImage Picture(TaskGridView& grid) {
    return grid.viewport()->grab().toImage();
}

TEST_F(TaskGridTest, Grid_ShowsCaptionsNumbersWidthsAndRowHeight) {
    WriteFile(kDefaultTable, Row(1, "/bin/a", "first") + Row(2, "/bin/b", "second"));
    const auto main = Start();
    TaskGridView& grid = *main->sgJM;

    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal, Qt::DisplayRole), "程序文件");
    EXPECT_EQ(grid.model()->headerData(1, Qt::Vertical, Qt::DisplayRole), "  2");
    EXPECT_EQ(grid.model()->data(grid.model()->index(1, 2), Qt::DisplayRole), "second");
    EXPECT_EQ(grid.columnWidth(TaskTableModel::ModelColumn(ColApplication)), 60);
    EXPECT_EQ(grid.columnWidth(TaskTableModel::ModelColumn(ColReminder)), 52);
    EXPECT_EQ(grid.verticalHeader()->width(), 30);
    EXPECT_EQ(grid.rowHeight(0), 15);
}

TEST_F(TaskGridTest, ProgramColumn_PaintsTheBareNameInRedOnly) {
    WriteFile(kDefaultTable, Row(1, "/opt/show/Player.bin", "Morning"));
    const auto main = Start();
    main->show();
    TaskGridView& grid = *main->sgJM;
    const QImage image = grid.viewport()->grab().toImage();

    EXPECT_GT(RedPixels(image, CellRect(grid, 1, ColApplication)), 5);
    EXPECT_EQ(RedPixels(image, CellRect(grid, 1, ColDescription)), 0);
    EXPECT_EQ(grid.model()->data(grid.model()->index(0, 0), Qt::DisplayRole),
              "/opt/show/Player.bin");
}

TEST_F(TaskGridTest, Cells_LookAsWhenDrawnAnew_AfterTextWidthFontAndFocusChanges) {
    WriteFile(kDefaultTable, Row(1, "/opt/show/Player.bin", "Morning news, a long description") +
                                 Row(2, "C:\\Apps\\长名字的程序 Player.exe", "节目 gjpqy") +
                                 Row(3, "", "  lead"));
    const auto main = Start();
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    TaskGridView& grid = *main->sgJM;
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(1, TaskTableModel::ModelColumn(ColDescription)));
    ASSERT_TRUE(grid.hasFocus());
    EXPECT_TRUE(Picture(grid) == PlainPicture(grid));

    TaskTable& table = main->table();
    table.SetCell(ColDescription, 1, "Evening");
    table.SetCell(ColApplication, 1, "/usr/bin/Other");
    EXPECT_TRUE(Picture(grid) == PlainPicture(grid));

    grid.setColumnWidth(TaskTableModel::ModelColumn(ColApplication), 14);
    grid.setColumnWidth(TaskTableModel::ModelColumn(ColDescription), 9);
    grid.setCurrentIndex(grid.model()->index(1, TaskTableModel::ModelColumn(ColApplication)));
    EXPECT_TRUE(Picture(grid) == PlainPicture(grid));

    QFont larger = grid.font();
    larger.setPixelSize(17);
    grid.setFont(larger);
    grid.clearFocus();
    EXPECT_TRUE(Picture(grid) == PlainPicture(grid));
}

TEST_F(TaskGridTest, Click_OnAnotherRow_MakesItCurrentAndFillsTheFields) {
    WriteFile(kDefaultTable, Row(1, "/bin/a", "first") + Row(2, "/bin/b", "second"));
    const auto main = Start();
    main->show();
    TaskGridView& grid = *main->sgJM;

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellRect(grid, 2, ColCaption).center());

    EXPECT_EQ(main->table().CurrentRow(), 2);
    EXPECT_EQ(main->edApp->text(), "/bin/b");
    EXPECT_EQ(main->StatusPanelText(2), " second");
    EXPECT_EQ(grid.currentIndex().row(), 1);
}

TEST_F(TaskGridTest, Click_OnTheCurrentRow_ShowsItsDescriptionOverTheStateText) {
    WriteFile(kDefaultTable, Row(1, "/bin/a", "first"));
    const auto main = Start();
    main->show();
    main->btnEditClick();
    main->btnEditClick();
    ASSERT_EQ(main->StatusPanelText(2), " 节目表状态：运行播出检查");

    QTest::mouseClick(main->sgJM->viewport(), Qt::LeftButton, {},
                      CellRect(*main->sgJM, 1, ColCaption).center());

    EXPECT_EQ(main->StatusPanelText(2), " first");
}

TEST_F(TaskGridTest, CommandMovingTheCurrentRow_MovesTheSelection) {
    WriteFile(kDefaultTable, Row(1, "/bin/a", "first") + Row(2, "/bin/b", "second"));
    const auto main = Start();
    main->btnEditClick();
    main->btnAddClick();

    EXPECT_EQ(main->sgJM->currentIndex().row(), 2);
    EXPECT_EQ(main->sgJM->model()->rowCount(), 3);
}

TEST_F(TaskGridTest, MouseMove_OverTaskCells_ShowsTheColumnHint) {
    WriteFile(kDefaultTable, Row(1, "/bin/a", "first"));
    const auto main = Start();
    main->show();
    TaskGridView& grid = *main->sgJM;

    MoveMouse(grid.viewport(), CellRect(grid, 1, ColStartTime).center());
    EXPECT_EQ(main->MyPanel5->Caption(),
              " 【提示】：启动时间：对需要定时启动的任务，指定其启动时间");

    QHeaderView* numbers = grid.verticalHeader();
    MoveMouse(numbers->viewport(), QPoint(5, numbers->sectionViewportPosition(0) + 5));
    EXPECT_EQ(main->MyPanel5->Caption(), " 【提示】：拖动序号栏，可改变节目先后顺序");
}

TEST_F(TaskGridTest, DragByNumberCell_MovesTheRowAndRenumbers) {
    WriteFile(kDefaultTable,
              Row(1, "/bin/a", "first") + Row(2, "/bin/b", "second") + Row(3, "/bin/c", "third"));
    const auto main = Start();
    main->show();
    QHeaderView* numbers = main->sgJM->verticalHeader();

    QWidget* surface = numbers->viewport();
    const QPoint from(10, numbers->sectionViewportPosition(0) + 7);
    const QPoint to(10, numbers->sectionViewportPosition(2) + 12);
    QTest::mousePress(surface, Qt::LeftButton, {}, from);
    for (int y = from.y(); y <= to.y(); y += 3) MoveMouse(surface, QPoint(10, y), Qt::LeftButton);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, to);

    TaskTable& table = main->table();
    EXPECT_EQ(table.Cell(ColApplication, 1), "/bin/b");
    EXPECT_EQ(table.Cell(ColApplication, 2), "/bin/c");
    EXPECT_EQ(table.Cell(ColApplication, 3), "/bin/a");
    EXPECT_EQ(table.Cell(ColNumber, 3), "  3");
    EXPECT_EQ(numbers->visualIndex(0), 0);
    EXPECT_EQ(main->sgJM->model()->data(main->sgJM->model()->index(2, 0), Qt::DisplayRole),
              "/bin/a");
    // The dragged row stays current, so the fields go on writing into the task they show.
    EXPECT_EQ(table.CurrentRow(), 3);
    EXPECT_EQ(main->sgJM->currentIndex().row(), 2);
    EXPECT_EQ(main->edApp->text(), "/bin/a");
}

}  // namespace
}  // namespace vardo::test
