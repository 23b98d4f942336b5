#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <string>

#include "ManualClock.h"
#include "MyPanel.h"
#include "MyShape.h"
#include "MyTransBtnOld.h"
#include "PosixProcesses.h"
#include "ScriptedPrompts.h"
#include "TextCodec.h"
#include "X11Windows.h"
#include "utMain.h"

namespace vardo::test {

// The timetable loaded when the program folder holds no timetable for the day.
inline const QString kDefaultTable = "Data/任务计划表.tab";

// Whether the process is gone, or ended and waiting to be reaped.
inline bool Ended(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return true;
    const auto state = line.rfind(") ");
    return state != std::string::npos && line.compare(state + 2, 1, "Z") == 0;
}

// A program folder in a temporary directory, a clock the test moves, scripted prompts, and the
// real platform. The auto-start entry and recovery copies go to private user folders.
class MainWindowFixture : public ::testing::Test {
  protected:
    MainWindowFixture() : clock_(At(2026, 3, 5, 8, 0, 0)) {
        qputenv("XDG_CONFIG_HOME", (folder_.path() + "/config").toUtf8());
        qputenv("XDG_STATE_HOME", (folder_.path() + "/state").toUtf8());
    }

    QString ProgramFile() const { return folder_.path() + "/vardo"; }
    platform::ProgramPlace Place() const {
        return platform::PortablePlace(ProgramFile().toStdString());
    }
    QString Path(const QString& relative) const { return folder_.path() + "/" + relative; }
    std::string StdPath(const QString& relative) const { return Path(relative).toStdString(); }

    std::unique_ptr<TFrmMain> Start() {
        return std::make_unique<TFrmMain>(Place(),
                                          MainWindowServices{prompts_, processes_, windows_});
    }

    // Writes UTF-8 text as the program writes files (GB18030, CR LF already in the text).
    void WriteFile(const QString& relative, const std::string& utf8) {
        QDir().mkpath(QFileInfo(Path(relative)).absolutePath());
        QFile file(Path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const std::string bytes = Utf8ToGb18030(utf8);
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    void WriteSettings(const std::string& keys) { WriteFile("VARDO.INI", "[START]\r\n" + keys); }

    // The file's content as UTF-8.
    std::string ReadFile(const QString& relative) const {
        QFile file(Path(relative));
        if (!file.open(QIODevice::ReadOnly)) return "<missing>";
        const QByteArray bytes = file.readAll();
        return Gb18030ToUtf8(
            std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    }

    QTemporaryDir folder_;
    ManualClock clock_;
    ScriptedPrompts prompts_;
    platform::PosixProcesses processes_;
    platform::X11Windows windows_;
};

}  // namespace vardo::test
