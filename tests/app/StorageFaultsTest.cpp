// The program folder on a small tmpfs of its own that the test fills up or makes read-only while
// the program runs: every write reports what went wrong, keeps the previous file whole, and
// succeeds again once the folder can take it. Mounting needs root (as in CI).
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "MainWindowFixture.h"
#include "TaskTable.h"

namespace vardo::test {
namespace {

enum class Fault { DiskFull, ReadOnly };

const std::string kTaskLine =
    "  1^^/bin/true^^^^晨间节目^^08:00:00^^^^^^否^^是,最大^^1^^^^^^^^^^^^^^\r\n";

class StorageFaultsTest : public MainWindowFixture, public ::testing::WithParamInterface<Fault> {
  protected:
    void SetUp() override {
        ASSERT_EQ(::geteuid(), 0u) << "these tests mount a tmpfs and need root (CI runs as root)";
        ASSERT_EQ(::mount("tmpfs", folder_.path().toUtf8().constData(), "tmpfs", 0, "size=512k"), 0)
            << "cannot mount a tmpfs on " << folder_.path().toStdString() << ": "
            << std::strerror(errno);
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) ::umount2(folder_.path().toUtf8().constData(), MNT_DETACH);
    }

    std::string Filler() const { return StdPath("filler"); }

    void Break() {
        if (GetParam() == Fault::ReadOnly) {
            Remount(MS_RDONLY);
            return;
        }
        // Fills every free block; the write stops at ENOSPC.
        std::ofstream filler(Filler(), std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
        }
    }
    void Repair() {
        if (GetParam() == Fault::ReadOnly) {
            Remount(0);
        } else {
            ASSERT_EQ(::unlink(Filler().c_str()), 0);
        }
    }
    void Remount(unsigned long flags) {
        ASSERT_EQ(::mount("tmpfs", folder_.path().toUtf8().constData(), "tmpfs", MS_REMOUNT | flags,
                          "size=512k"),
                  0)
            << std::strerror(errno);
    }
    QString Reason() const {
        return GetParam() == Fault::ReadOnly ? "Read-only file system" : "No space left on device";
    }

    bool mounted_ = false;
};

TEST_P(StorageFaultsTest, EveryWrite_ReportsKeepsTheOldFileAndSucceedsOnceTheFolderTakesItAgain) {
    WriteSettings("chkSaveHis=YES\r\nchkLoadTime=YES\r\nloadTimePicker=9:00:00\r\n");
    WriteFile(kDefaultTable, kTaskLine);
    WriteFile("History/20260305.txt", "  07:00:00 earlier\r\n");
    clock_.Set(At(2026, 3, 5, 8, 59, 59));
    const auto main = Start();
    const std::string settings = ReadFile("VARDO.INI");
    main->btnEditClick();
    main->edApp->setText("/bin/edited");
    Break();

    // Timetable save: a box and the status bar say why; the file on disk is the old one.
    main->btnEditClick();
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_TRUE(prompts_.errors[0].contains(Reason())) << prompts_.errors[0].toStdString();
    EXPECT_TRUE(main->StatusPanelText(0).startsWith(" 保存失败："));
    EXPECT_TRUE(main->StatusPanelText(0).contains(Reason()));
    EXPECT_EQ(ReadFile(kDefaultTable), kTaskLine);

    // History write: a box after the tick, the status bar, the line kept in the memo.
    main->AppendHistoryLine("  08:59:59 during the fault");
    QCoreApplication::processEvents();
    ASSERT_EQ(prompts_.errors.size(), 2);
    EXPECT_TRUE(prompts_.errors[1].contains(Reason())) << prompts_.errors[1].toStdString();
    EXPECT_TRUE(main->StatusPanelText(0).startsWith(" 运行历史写入失败："));
    EXPECT_EQ(ReadFile("History/20260305.txt"), "  07:00:00 earlier\r\n");

    // Settings write: the stored text names the file, the next line why.
    main->FrmSetup->chkMin->click();
    ASSERT_EQ(prompts_.errors.size(), 3);
    EXPECT_TRUE(prompts_.errors[2].startsWith("Unable to write to " + Path("VARDO.INI") + "\n"));
    EXPECT_TRUE(prompts_.errors[2].contains(Reason())) << prompts_.errors[2].toStdString();
    EXPECT_EQ(ReadFile("VARDO.INI"), settings);

    // Recovery copy: neither the Data folder nor the state folder (also on the tmpfs) takes it,
    // so the daily load waits and says so in the status bar, a box and the history memo, keeping
    // the edits in the grid.
    clock_.AdvanceSecond();
    main->tmTimeDateTimer();
    EXPECT_TRUE(main->StatusPanelText(0).contains("未保存的修改无法另存"));
    EXPECT_TRUE(main->StatusPanelText(0).contains(Reason()));
    ASSERT_EQ(prompts_.errors.size(), 4);
    EXPECT_TRUE(prompts_.errors[3].contains(Reason())) << prompts_.errors[3].toStdString();
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/bin/edited");
    EXPECT_EQ(ReadFile(kDefaultTable), kTaskLine);

    Repair();
    // The history file catches up on the minute tick without waiting for a new line.
    main->tmMinuteTimer();
    const std::string history = ReadFile("History/20260305.txt");
    EXPECT_TRUE(history.starts_with("  07:00:00 earlier\r\n  08:59:59 during the fault\r\n"
                                    "  09:00:00 未保存的修改无法另存"))
        << history;

    clock_.AdvanceSecond();
    main->tmTimeDateTimer();
    const std::string copy = "Data/任务计划表-未保存-20260305-090001.tab";
    EXPECT_NE(ReadFile(QString::fromStdString(copy)).find("^^/bin/edited^^"), std::string::npos);
    EXPECT_EQ(main->table().Cell(ColApplication, 1), "/bin/true");
    EXPECT_NE(
        ReadFile("History/20260305.txt").find("未保存的修改已另存为：" + StdPath(copy.c_str())),
        std::string::npos);

    // The failed click left the box ticked; this one unticks it and is stored.
    main->FrmSetup->chkMin->click();
    EXPECT_NE(ReadFile("VARDO.INI").find("chkMin=NO"), std::string::npos);
    main->btnEditClick();
    main->edApp->setText("/bin/again");
    main->btnEditClick();
    EXPECT_EQ(prompts_.errors.size(), 4);
    EXPECT_NE(ReadFile(kDefaultTable).find("^^/bin/again^^"), std::string::npos);
    EXPECT_EQ(main->StatusPanelText(0), " " + Path(kDefaultTable));
}

TEST_P(StorageFaultsTest, HistoryUnwrittenAtMidnight_IsWrittenToItsOwnDayOnceTheFolderTakesIt) {
    WriteSettings("chkSaveHis=YES\r\n");
    WriteFile("History/20260305.txt", "  07:00:00 earlier\r\n");
    clock_.Set(At(2026, 3, 5, 23, 59, 50));
    const auto main = Start();
    Break();
    main->AppendHistoryLine("  23:59:55 late");
    QCoreApplication::processEvents();

    clock_.Set(At(2026, 3, 6, 0, 0, 5));
    main->tmMinuteTimer();
    main->AppendHistoryLine("  00:00:05 early");
    EXPECT_TRUE(main->StatusPanelText(0).startsWith(" 运行历史写入失败："));
    EXPECT_EQ(ReadFile("History/20260305.txt"), "  07:00:00 earlier\r\n");

    Repair();
    main->tmMinuteTimer();
    EXPECT_EQ(ReadFile("History/20260305.txt"), "  07:00:00 earlier\r\n  23:59:55 late\r\n");
    EXPECT_EQ(ReadFile("History/20260306.txt"), "  00:00:05 early\r\n");
    EXPECT_FALSE(main->StatusPanelText(0).startsWith(" 运行历史写入失败："));
}

INSTANTIATE_TEST_SUITE_P(Faults, StorageFaultsTest,
                         ::testing::Values(Fault::DiskFull, Fault::ReadOnly), [](const auto& info) {
                             return info.param == Fault::DiskFull ? "DiskFull" : "ReadOnly";
                         });

}  // namespace
}  // namespace vardo::test
