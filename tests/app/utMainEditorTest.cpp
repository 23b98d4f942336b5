#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "MainWindowFixture.h"
#include "TaskTable.h"

namespace vardo::test {
namespace {

using TableEditorTest = MainWindowFixture;

// One timetable line of 16 cells.
std::string Line(std::array<std::string, kStandardColumnCount> cells) {
    std::string line;
    for (const std::string& cell : cells) line += cell + "^^";
    return line + "\r\n";
}

std::string TaskLine(const std::string& number, const std::string& application,
                     const std::string& description) {
    return Line({number, application, "", description, "", "", "", "否", "是", "1"});
}

// Types digits into a masked time field from its first position, as after a click into it.
void TypeTime(QLineEdit* field, const char* digits) {
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClicks(field, digits);
}

std::string RawFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
}

TEST_F(TableEditorTest, EditSession_FieldsAndCommands_SaveTheExactFile) {
    const auto main = Start();
    main->btnEdit->click();
    EXPECT_EQ(main->btnEdit->Caption(), "退出编辑状态");
    EXPECT_EQ(main->StatusPanelText(2), " 节目表状态：编辑状态，运行播出检查停止");

    QTest::keyClicks(main->edApp, "/bin/echo");
    main->edName->insert("新闻");  // typed text that keyClicks cannot send
    TypeTime(main->edSTime, "080000");
    TypeTime(main->edTLen, "000500");
    main->edExclusive->click();
    main->rbNone->click();
    emit main->cbMonitor->activated(0);

    main->btnAdd->click();
    EXPECT_EQ(main->table().CurrentRow(), 2);
    EXPECT_TRUE(main->chkSize->isChecked());
    EXPECT_FALSE(main->rbMax->isEnabled());
    QTest::keyClicks(main->edApp, "/bin/sleep");
    QTest::keyClicks(main->edPara, "5");

    main->btnEdit->click();

    EXPECT_EQ(main->btnEdit->Caption(), "进入编辑状态");
    EXPECT_EQ(main->StatusPanelText(2), " 节目表状态：运行播出检查");
    const std::string expected = Line({"  1", "/bin/echo", "", "新闻", "08:00:00", "", "", "是",
                                       "否,无", "1", "", "", "", "", "", "00:05:00"}) +
                                 Line({"  2", "/bin/sleep", "5", "", "", "", "", "否", "是", "1"});
    EXPECT_EQ(RawFile(Path(kDefaultTable)), Utf8ToGb18030(expected));
    EXPECT_NE(ReadFile("VARDO.INI").find("LastOrloJM=" + StdPath(kDefaultTable)),
              std::string::npos);
}

// An operator without a mouse: Tab reaches the command buttons and Space clicks the focused one;
// a disabled command takes no focus and does nothing.
TEST_F(TableEditorTest, CommandButtons_ByKeyboard_FocusedButtonClickedBySpace) {
    const auto main = Start();
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    main->btnEdit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(main->btnEdit, Qt::Key_Tab);
    EXPECT_FALSE(main->btnAdd->hasFocus());
    main->btnEdit->setFocus(Qt::TabFocusReason);

    QTest::keyClick(main->btnEdit, Qt::Key_Space);
    ASSERT_TRUE(main->IsEditState());
    QTest::keyClick(main->btnEdit, Qt::Key_Tab);
    ASSERT_TRUE(main->btnAdd->hasFocus());
    QTest::keyClick(main->btnAdd, Qt::Key_Space);
    EXPECT_EQ(main->table().CurrentRow(), 2);
}

TEST_F(TableEditorTest, SetEditControls_FollowsTheEditState) {
    const auto main = Start();
    EXPECT_FALSE(main->btnAdd->isEnabled());
    EXPECT_FALSE(main->MyPanel6->isEnabled());
    EXPECT_TRUE(main->btnPlayFlash->isEnabled());
    EXPECT_TRUE(main->btnOpenTask->isEnabled());

    main->btnEditClick();
    for (QWidget* control : std::initializer_list<QWidget*>{
             main->btnAdd, main->btnCopyAdd, main->btnInsert, main->btnCopyInsert, main->btnDel,
             main->btnCancel, main->btnSave, main->btnSaveas, main->MyPanel6}) {
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    }
    EXPECT_FALSE(main->btnPlayFlash->isEnabled());
    EXPECT_FALSE(main->btnStopFlash->isEnabled());
}

TEST_F(TableEditorTest, LeaveEditState_ClearedTimeField_StoresAnEmptyTime) {
    WriteFile(kDefaultTable,
              Line({"  1", "/bin/true", "", "x", "08:00:00", "09:00:00", "", "否", "是", "1"}));
    const auto main = Start();
    main->btnEditClick();

    QTest::mouseDClick(main->Label3, Qt::LeftButton);
    EXPECT_EQ(main->table().Cell(ColStartTime, 1), "  :  :  ");
    QTest::mouseDClick(main->Label4, Qt::LeftButton);
    main->btnEditClick();

    EXPECT_EQ(ReadFile(kDefaultTable), TaskLine("  1", "/bin/true", "x"));
}

// The fields show the blank positions of their mask as '_'; the cells keep them as spaces.
TEST_F(TableEditorTest, TimeFields_BlankPositions_ShowAsUnderscoresWhileTheCellKeepsSpaces) {
    WriteFile(kDefaultTable,
              Line({"  1", "/bin/true", "", "x", "", "", "", "否", "是", "1", "", "", "", "", "",
                    "00:05:00"}));
    const auto main = Start();
    EXPECT_EQ(main->edSTime->displayText(), "__:__:__");
    EXPECT_EQ(main->edTLen->displayText(), "00:05:00");
    EXPECT_EQ(main->table().Cell(ColStartTime, 1), "");
    main->btnEditClick();

    TypeTime(main->edSTime, "0830");
    EXPECT_EQ(main->edSTime->displayText(), "08:30:__");
    EXPECT_EQ(main->table().Cell(ColStartTime, 1), "08:30:  ");
    QTest::mouseDClick(main->Label3, Qt::LeftButton);
    EXPECT_EQ(main->edSTime->displayText(), "__:__:__");
    EXPECT_EQ(main->table().Cell(ColStartTime, 1), "  :  :  ");
    main->edTLen->clear();
    EXPECT_EQ(main->table().Cell(ColReminder, 1), "  :  :  ");
}

TEST_F(TableEditorTest, Save_TimesAreNormalisedAndRowsWithoutProgramDropped) {
    WriteFile(kDefaultTable, TaskLine("  1", "", "no program") +
                                 Line({"  2", "/bin/true", "", "kept", "7:90:00", "8:0:0", "", "否",
                                       "是", "1", "", "", "", "", "", "0:5:0"}));
    const auto main = Start();
    main->btnEditClick();
    main->btnSaveClick();

    EXPECT_EQ(ReadFile(kDefaultTable), Line({"  1", "/bin/true", "", "kept", "08:30:00", "08:00:00",
                                             "", "否", "是", "1", "", "", "", "", "", "00:05:00"}));
    EXPECT_EQ(main->edName->text(), "kept");
}

TEST_F(TableEditorTest, Save_OnlyRowWithoutProgram_EmptiesTheFieldsWithTheRow) {
    WriteFile(kDefaultTable, TaskLine("  1", "", "no program"));
    const auto main = Start();
    main->btnEditClick();
    main->btnSaveClick();

    EXPECT_EQ(main->table().Cell(ColDescription, 1), "");
    EXPECT_EQ(main->edName->text(), "");
    EXPECT_EQ(main->StatusPanelText(2), " ");
}

TEST_F(TableEditorTest, RowToFields_HandWrittenTimes_AreShownAndKeptNormalised) {
    WriteFile(kDefaultTable, Line({"  1", "/bin/true", "", "x", "8:0:0", "9:30:0", "", "否", "是",
                                   "1", "", "", "", "", "", "0:5:0"}));
    const auto main = Start();

    EXPECT_EQ(main->edSTime->text(), "08:00:00");
    EXPECT_EQ(main->table().Cell(ColStartTime, 1), "08:00:00");
    EXPECT_EQ(main->table().Cell(ColEndTime, 1), "09:30:00");
    EXPECT_EQ(main->table().Cell(ColReminder, 1), "00:05:00");
}

TEST_F(TableEditorTest, RowToFields_ReminderOf100HoursOrMore_IsKeptThroughSelectionAndSave) {
    WriteFile(kDefaultTable, Line({"  1", "/bin/true", "", "x", "", "", "", "否", "是", "1", "", "",
                                   "", "", "", "120:30:00"}));
    const auto main = Start();
    EXPECT_EQ(main->table().Cell(ColReminder, 1), "120:30:00");

    main->btnEditClick();
    main->edName->setText("renamed");
    main->btnEditClick();
    EXPECT_NE(ReadFile(kDefaultTable).find("^^renamed^^"), std::string::npos);
    EXPECT_NE(ReadFile(kDefaultTable).find("^^120:30:00^^"), std::string::npos);
}

TEST_F(TableEditorTest, Add_OnFreshEmptyTable_AppendsAndTheEmptyRowIsDroppedOnSave) {
    const auto main = Start();
    main->btnEditClick();
    main->btnAddClick();
    EXPECT_EQ(main->table().RowCount(), 3);
    EXPECT_EQ(main->table().Cell(ColNumber, 2), "  2");
    QTest::keyClicks(main->edApp, "/bin/true");
    main->btnSaveClick();

    EXPECT_EQ(ReadFile(kDefaultTable), TaskLine("  1", "/bin/true", ""));
}

TEST_F(TableEditorTest, CopyInsert_OnRow3Of5_CopiesTheTaskWithNewRowValues) {
    std::string table;
    for (int row = 1; row <= 5; ++row) {
        table += Line({"  " + std::to_string(row), "/bin/p" + std::to_string(row), "-a",
                       "t" + std::to_string(row), "", "", "", "是", "否,最大", "2"});
    }
    WriteFile(kDefaultTable, table);
    const auto main = Start();
    main->btnEditClick();
    main->table().SetCurrentRow(3);
    main->btnCopyInsertClick();

    TaskTable& grid = main->table();
    ASSERT_EQ(grid.RowCount(), 7);
    EXPECT_EQ(grid.CurrentRow(), 3);
    EXPECT_EQ(grid.Cell(ColApplication, 3), "/bin/p3");
    EXPECT_EQ(grid.Cell(ColApplication, 4), "/bin/p3");
    EXPECT_EQ(grid.Cell(ColExclusive, 3), "否");
    EXPECT_EQ(grid.Cell(ColWindowSetting, 3), "是");
    EXPECT_EQ(grid.Cell(ColMonitor, 3), "1");
    EXPECT_EQ(grid.Cell(ColWindowSetting, 4), "否,最大");
    EXPECT_EQ(grid.Cell(ColNumber, 6), "  6");
    EXPECT_EQ(main->edApp->text(), "/bin/p3");
}

TEST_F(TableEditorTest, Delete_OnlyRow_LeavesOneEmptyNumberedRow) {
    WriteFile(kDefaultTable, TaskLine("  1", "/bin/true", "x"));
    const auto main = Start();
    main->btnEditClick();
    main->btnDelClick();

    EXPECT_EQ(main->table().RowCount(), 2);
    EXPECT_EQ(main->table().Cell(ColNumber, 1), "  1");
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "");
    EXPECT_EQ(main->edApp->text(), "");
}

TEST_F(TableEditorTest, Cancel_DiscardsUnsavedEditsAndStaysInEditState) {
    WriteFile(kDefaultTable, TaskLine("  1", "/bin/true", "x"));
    const auto main = Start();
    main->btnEditClick();
    QTest::keyClicks(main->edName, "yz");
    main->btnCancelClick();

    EXPECT_EQ(main->table().Cell(ColDescription, 1), "x");
    EXPECT_EQ(main->edName->text(), "x");
    EXPECT_TRUE(main->IsEditState());
}

TEST_F(TableEditorTest, Fields_RefuseTextACellCannotHold) {
    const auto main = Start();
    main->btnEditClick();
    QTest::keyClicks(main->edName, "a^^b");
    EXPECT_EQ(main->table().Cell(ColDescription, 1), "a^b");

    main->edTitle->setText("line\nbreak^");
    EXPECT_EQ(main->table().Cell(ColCaption, 1), "linebreak");
}

TEST_F(TableEditorTest, ProgramPicker_EmptyDescription_TakesTheBareFileName) {
    const auto main = Start();
    main->btnEditClick();
    prompts_.chosenFiles = {"/opt/show/tool.new.bin"};
    QTest::mouseDClick(main->edApp, Qt::LeftButton);

    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/opt/show/tool.new.bin");
    EXPECT_EQ(main->table().Cell(ColDescription, 1), "tool");
    EXPECT_EQ(main->edName->text(), "tool");
    ASSERT_EQ(prompts_.openRequests.size(), 1u);
    EXPECT_EQ(prompts_.openRequests[0].initialFolder, main->programFolder());
}

// Qt hands double-clicks to the greyed fields too: outside the edit state neither picker opens and
// neither time is cleared.
TEST_F(TableEditorTest, DoubleClicks_OnPickersAndTimeLabels_ActOnlyInTheEditState) {
    WriteFile(kDefaultTable,
              Line({"  1", "/bin/true", "-a", "x", "08:00:00", "09:00:00", "", "否", "是", "1"}));
    const auto main = Start();
    const std::vector<std::string> loaded = main->table().Row(1);
    const auto doubleClickEach = [&] {
        prompts_.chosenFiles = {"/opt/show/tool", "/data/a.txt"};
        for (QWidget* control :
             std::initializer_list<QWidget*>{main->edApp, main->edPara, main->Label3, main->Label4})
            QTest::mouseDClick(control, Qt::LeftButton);
    };

    doubleClickEach();
    EXPECT_TRUE(prompts_.openRequests.empty());
    EXPECT_EQ(main->table().Row(1), loaded);

    main->btnEditClick();
    doubleClickEach();
    EXPECT_EQ(prompts_.openRequests.size(), 2u);
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/opt/show/tool");
    EXPECT_EQ(main->table().Cell(ColParameters, 1), "\"/data/a.txt\"");
    EXPECT_EQ(main->table().Cell(ColStartTime, 1), "  :  :  ");
    EXPECT_EQ(main->table().Cell(ColEndTime, 1), "  :  :  ");
}

TEST_F(TableEditorTest, ParameterPicker_AppendOrReplace_QuotesTheChosenFile) {
    const auto main = Start();
    main->btnEditClick();
    QTest::keyClicks(main->edPara, "-x");
    main->chkAppend->setChecked(true);
    prompts_.chosenFiles = {"/data/a.txt"};
    main->edParaDblClick();
    EXPECT_EQ(main->table().Cell(ColParameters, 1), "-x \"/data/a.txt\"");

    main->chkAppend->setChecked(false);
    prompts_.chosenFiles = {"/data/b.txt"};
    main->edParaDblClick();
    EXPECT_EQ(main->table().Cell(ColParameters, 1), "\"/data/b.txt\"");

    main->edParaDblClick();  // cancelled
    EXPECT_EQ(main->table().Cell(ColParameters, 1), "\"/data/b.txt\"");
}

TEST_F(TableEditorTest, SaveAs_UnwritablePath_ReportsAndKeepsTheGrid) {
    WriteFile(kDefaultTable, TaskLine("  1", "/bin/true", "x"));
    WriteFile("plain-file", "");
    const auto main = Start();
    main->btnEditClick();
    const QString target = Path("plain-file/copy.tab");
    prompts_.chosenFiles = {target};
    main->btnSaveasClick();

    EXPECT_EQ(main->currentTablePath(), target.toStdString());
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_TRUE(main->StatusPanelText(0).startsWith(" 保存失败："));
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/bin/true");
    ASSERT_EQ(prompts_.saveRequests.size(), 1u);
    EXPECT_EQ(prompts_.saveRequests[0].fileName, Path(kDefaultTable));
}

TEST_F(TableEditorTest, SaveAs_ChosenPath_SavesThereAndBecomesCurrent) {
    WriteFile(kDefaultTable, TaskLine("  1", "/bin/true", "x"));
    const auto main = Start();
    main->btnEditClick();
    prompts_.chosenFiles = {Path("other.tab")};
    main->btnSaveasClick();

    EXPECT_EQ(ReadFile("other.tab"), TaskLine("  1", "/bin/true", "x"));
    EXPECT_EQ(main->StatusPanelText(0), " " + Path("other.tab"));
    EXPECT_NE(ReadFile("VARDO.INI").find("LastOrloJM=" + StdPath("other.tab")), std::string::npos);
}

TEST_F(TableEditorTest, Open_ChosenFileLoads_CancelChangesNothing) {
    WriteFile("elsewhere/week.tab", TaskLine("  1", "/bin/week", "w"));
    const auto main = Start();
    main->btnOpenTaskClick();
    EXPECT_EQ(main->currentTablePath(), StdPath(kDefaultTable));
    ASSERT_EQ(prompts_.openRequests.size(), 1u);
    EXPECT_TRUE(prompts_.openRequests[0].fileName.isEmpty());
    EXPECT_EQ(prompts_.openRequests[0].initialFolder, main->programFolder());

    prompts_.chosenFiles = {Path("elsewhere/week.tab")};
    main->btnOpenTaskClick();
    EXPECT_EQ(main->currentTablePath(), StdPath("elsewhere/week.tab"));
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/bin/week");
    EXPECT_EQ(main->StatusPanelText(0), " " + Path("elsewhere/week.tab"));
}

// The monitor list is filled after the first load; the field still shows the first row's monitor.
TEST_F(TableEditorTest, Start_FirstRowOnSecondMonitor_ShowsThatMonitor) {
    ASSERT_TRUE(windows_.Available()) << "no X display: the X test bed is not running";
    ASSERT_GE(windows_.Monitors().size(), 2u) << "the test display has one monitor";
    WriteFile(kDefaultTable, Line({"  1", "/bin/true", "", "x", "", "", "", "否", "是", "2"}));
    const auto main = Start();

    EXPECT_EQ(main->cbMonitor->currentText(), "2");
}

TEST_F(TableEditorTest, RowToFields_UnknownMonitor_ShowsFirstItemKeepsTheCell) {
    WriteFile(kDefaultTable, Line({"  1", "/bin/true", "", "x", "", "", "", "是", "是,最大", "9"}));
    const auto main = Start();

    EXPECT_EQ(main->cbMonitor->currentIndex(), 0);
    EXPECT_EQ(main->table().Cell(ColMonitor, 1), "9");
    EXPECT_TRUE(main->edExclusive->isChecked());
    EXPECT_TRUE(main->chkSize->isChecked());
    EXPECT_TRUE(main->rbMax->isChecked());
    EXPECT_FALSE(main->rbNone->isEnabled());
    EXPECT_EQ(main->table().Cell(ColWindowSetting, 1), "是,最大");
}

}  // namespace
}  // namespace vardo::test
