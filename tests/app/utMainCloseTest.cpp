// The main window's close: by hand, at a session end whatever box is open then, and at an exit
// without the event loop. The close steps run exactly once, and only what needs keeping is kept.
#include <QCheckBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "MainWindowFixture.h"
#include "TaskTable.h"

namespace vardo::test {
namespace {

const std::string kSleepLine =
    "  1^^/bin/sleep^^30^^nap^^^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n";
const QString kRecoveryCopy = "Data/任务计划表-未保存-20260305-080000.tab";

class MainWindowCloseTest : public MainWindowFixture {
  protected:
    // Starts the program with the sleeping task of kSleepLine running and its window shown.
    std::unique_ptr<TFrmMain> StartWithRunningTask() {
        WriteFile(kDefaultTable, kSleepLine);
        auto main = Start();
        main->show();
        main->btnPlayFlashClick();
        taskProcessId_ = std::atoi(main->table().Cell(ColProcessId, 1).c_str());
        EXPECT_GT(taskProcessId_, 0);
        return main;
    }

    // The session ends (the signal's call from the box's event loop) while the next box is open.
    void EndSessionInTheNextBox(TFrmMain& main) {
        prompts_.whileAnyShown = [this, &main] {
            prompts_.whileAnyShown = nullptr;
            main.EndSession();
        };
    }

    // The close steps have run, once: the task ended with one end line, nothing runs any more,
    // and a later signal or exit adds nothing.
    void ExpectClosedOnce(TFrmMain& main) {
        EXPECT_TRUE(main.IsClosed());
        EXPECT_FALSE(main.isVisible());
        EXPECT_FALSE(main.tmScanOrlo.isActive());
        EXPECT_FALSE(main.tmChkFlash.isActive());
        EXPECT_EQ(main.FrmSetup, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return Ended(taskProcessId_); }, 5000))
            << "the task outlived the close";
        main.EndSession();
        main.CloseAtExit();
        EXPECT_EQ(main.ListBox2->toPlainText().count("结束任务"), 1)
            << main.ListBox2->toPlainText().toStdString();
    }

    int RecoveryNotes(const TFrmMain& main) const {
        return static_cast<int>(main.ListBox2->toPlainText().count("未保存的修改已另存为"));
    }

    int taskProcessId_ = 0;
};

TEST_F(MainWindowCloseTest, SessionEnd_WhileTheConfirmationIsOpen_ClosesWithoutTheAnswer) {
    WriteSettings("chkSure=YES\r\n");
    const auto main = StartWithRunningTask();
    EndSessionInTheNextBox(*main);

    EXPECT_TRUE(main->close());
    EXPECT_EQ(prompts_.confirmations.size(), 1u);
    ExpectClosedOnce(*main);
}

// The edits can be kept nowhere (the recovery copy's place in Data/ is taken by a folder, the
// state folder is a file), so the close by hand stops at its error box; the session ends then.
TEST_F(MainWindowCloseTest, SessionEnd_WhileTheUnkeptEditsBoxIsOpen_RunsTheCloseSteps) {
    const auto main = StartWithRunningTask();
    main->btnEditClick();
    main->edPara->setText("60");
    QDir().mkpath(Path(kRecoveryCopy));
    WriteFile("state", "not a folder");
    EndSessionInTheNextBox(*main);

    EXPECT_TRUE(main->close());
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_TRUE(prompts_.errors[0].startsWith("未保存的修改无法另存，程序不退出："));
    ExpectClosedOnce(*main);
}

TEST_F(MainWindowCloseTest, SessionEnd_WhileASaveErrorIsOpen_KeepsTheEditsOnceAndCloses) {
    const auto main = StartWithRunningTask();
    main->btnEditClick();
    main->edPara->setText("60");
    QFile::remove(Path(kDefaultTable));
    QDir().mkpath(Path(kDefaultTable));  // a folder where the timetable should be written
    EndSessionInTheNextBox(*main);

    main->btnEditClick();
    ASSERT_EQ(prompts_.errors.size(), 1);
    ExpectClosedOnce(*main);
    EXPECT_NE(ReadFile(kRecoveryCopy).find("^^/bin/sleep^^60^^"), std::string::npos);
    EXPECT_EQ(RecoveryNotes(*main), 1);
}

TEST_F(MainWindowCloseTest, SessionEnd_WhileTheOpenDialogIsOpen_Closes) {
    const auto main = StartWithRunningTask();
    EndSessionInTheNextBox(*main);

    main->btnOpenTaskClick();
    EXPECT_EQ(prompts_.openRequests.size(), 1u);
    ExpectClosedOnce(*main);
}

TEST_F(MainWindowCloseTest, SessionEnd_WhileTheSaveAsDialogIsOpen_KeepsTheEditsOnceAndCloses) {
    const auto main = StartWithRunningTask();
    main->btnEditClick();
    main->edPara->setText("60");
    EndSessionInTheNextBox(*main);

    main->btnSaveasClick();
    EXPECT_EQ(prompts_.saveRequests.size(), 1u);
    ExpectClosedOnce(*main);
    EXPECT_NE(ReadFile(kRecoveryCopy).find("^^/bin/sleep^^60^^"), std::string::npos);
    EXPECT_EQ(RecoveryNotes(*main), 1);
}

TEST_F(MainWindowCloseTest, SessionEnd_WhileASettingsErrorIsOpen_Closes) {
    const auto main = StartWithRunningTask();
    QFile::remove(Path("VARDO.INI"));
    QDir().mkpath(Path("VARDO.INI"));  // no settings write can succeed now
    EndSessionInTheNextBox(*main);

    main->FrmSetup->chkMin->setChecked(true);
    ASSERT_EQ(prompts_.errors.size(), 1);
    ExpectClosedOnce(*main);
}

TEST_F(MainWindowCloseTest, CloseByHand_StopsTheScheduleAndTheWatchWithTheClock) {
    const auto main = StartWithRunningTask();

    ASSERT_TRUE(main->close());
    ExpectClosedOnce(*main);
    EXPECT_FALSE(main->tmTimeDate.isActive());
    EXPECT_FALSE(main->tmMinute.isActive());
}

// Viewing rows in the edit state rewrites cells (a hand-written time, blank time positions) in
// the form the save gives them; edits undone by hand leave the table as loaded too.
TEST_F(MainWindowCloseTest, CloseInTheEditState_NothingChanged_KeepsNoRecoveryCopy) {
    WriteFile(kDefaultTable,
              "  1^^/bin/true^^^^morning^^8:0:0^^  :  :  ^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n"
              "  2^^/bin/true^^^^evening^^20:00:00^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n");
    const auto main = Start();
    main->show();
    main->btnEditClick();
    for (const int row : {2, 1}) {
        main->table().SetCurrentRow(row);
        main->sgJMClick();
    }
    main->edName->setText("changed");
    main->edName->setText("morning");

    ASSERT_TRUE(main->close());
    EXPECT_FALSE(QDirIterator(Path("Data"), {"*未保存*"}, QDir::Files).hasNext());
    EXPECT_FALSE(QDirIterator(Path("state"), {"*未保存*"}, QDir::Files,
                              QDirIterator::Subdirectories)
                     .hasNext());
    EXPECT_EQ(RecoveryNotes(*main), 0);
}

// The display is gone and the toolkit exits: the close steps that need no display run, and no
// window is touched.
TEST_F(MainWindowCloseTest, CloseAtExit_KeepsTheEditsEndsTheTasksAndWritesTheHistoryOnly) {
    WriteSettings("chkSaveHis=YES\r\n");
    const auto main = StartWithRunningTask();
    main->btnSetupClick();
    main->btnEditClick();
    main->edPara->setText("60");

    main->CloseAtExit();
    EXPECT_TRUE(main->IsClosed());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Ended(taskProcessId_); }, 5000));
    EXPECT_NE(ReadFile(kRecoveryCopy).find("^^/bin/sleep^^60^^"), std::string::npos);
    const std::string history = ReadFile("History/20260305.txt");
    EXPECT_NE(history.find(" 结束任务: 【/bin/sleep 】  nap"), std::string::npos) << history;
    EXPECT_NE(history.find("未保存的修改已另存为："), std::string::npos) << history;
    EXPECT_TRUE(main->isVisible());
    ASSERT_NE(main->FrmSetup, nullptr);
    EXPECT_TRUE(main->FrmSetup->isVisible());
}

}  // namespace
}  // namespace vardo::test
