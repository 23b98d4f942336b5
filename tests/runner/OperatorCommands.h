#pragma once

// The steps of the operator model: the clock, the operator at the main window, and the world
// around the station. Each step acts through the functions the widgets and timers call, then
// runs every check. The model knows only whether the edit state is on: the editor's commands need
// it, the start and stop buttons need it off.
#include <rapidcheck.h>
#include <rapidcheck/state.h>

#include <QLineEdit>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <ostream>

#include "OperatorStation.h"
#include "TaskTable.h"
#include "TimeText.h"
#include "utMain.h"

namespace vardo::test {

struct StationModel {
    bool editing = false;
};

using StationCommand = rc::state::Command<StationModel, OperatorStation>;

// Every check after a step; a fault fails the sequence.
inline void CheckAfterStep(OperatorStation& station, bool movesClock) {
    station.RememberGrid();
    const std::vector<std::string> faults = station.Check(movesClock);
    if (faults.empty()) return;
    std::string text;
    for (const std::string& fault : faults) text += fault + "\n";
    RC_FAIL(text + station.Describe());
}

// Runs a step on an open station, then the checks; a closed station only gets the checks.
template <typename Act>
void Step(OperatorStation& station, bool movesClock, Act&& act) {
    ++operatorTally.steps;
    if (station.Open()) {
        ++operatorTally.openSteps;
        act();
    }
    CheckAfterStep(station, movesClock);
}

inline std::ostream& operator<<(std::ostream& os, const RowSpec& spec) {
    static const char* const names[] = {"player", "blip", "stubborn"};
    os << names[static_cast<int>(spec.program)];
    if (spec.startIn) os << " from +" << *spec.startIn << "s";
    if (spec.endIn) os << " to +" << *spec.endIn << "s";
    return os;
}

// A number of seconds from now, or none.
inline rc::Gen<std::optional<int>> MaybeSeconds(int low, int high) {
    return rc::gen::oneOf(rc::gen::just(std::optional<int>()),
                          rc::gen::map(rc::gen::inRange(low, high),
                                       [](int seconds) { return std::optional<int>(seconds); }));
}

inline rc::Gen<RowSpec> RowSpecs() {
    return rc::gen::build<RowSpec>(
        rc::gen::set(&RowSpec::program,
                     rc::gen::element(TaskProgram::Player, TaskProgram::Blip, TaskProgram::Stubborn)),
        rc::gen::set(&RowSpec::startIn, MaybeSeconds(1, 30)),
        rc::gen::set(&RowSpec::endIn, MaybeSeconds(2, 90)));
}

inline int Pick() {
    return *rc::gen::inRange(0, 16);
}

// A command needing the edit state on (or off).
template <bool Editing>
struct InEditState : StationCommand {
    void checkPreconditions(const StationModel& model) const override {
        RC_PRE(model.editing == Editing);
    }
};

// A button on the row a pick chooses.
template <bool Editing, void (TFrmMain::*Button)()>
struct RowButton : InEditState<Editing> {
    int pick = Pick();
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] {
            station.ChooseRow(pick);
            (station.Main().*Button)();
        });
    }
};

// A button of the edit state.
template <void (TFrmMain::*Button)()>
struct EditButton : InEditState<true> {
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] { (station.Main().*Button)(); });
    }
};

// A change of the world around the station.
template <void (OperatorStation::*Change)()>
struct WorldChange : StationCommand {
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] { (station.*Change)(); });
    }
};

// --- the clock ----------------------------------------------------------------------------------

struct NextSecond : StationCommand {
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, true, [&] { station.MoveClockTo(station.Now() + std::chrono::seconds(1)); });
    }
    void show(std::ostream& os) const override { os << "the next second"; }
};

struct JumpForward : StationCommand {
    int seconds = *rc::gen::oneOf(rc::gen::inRange(2, 60), rc::gen::inRange(60, 4 * 3600));
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, true,
             [&] { station.MoveClockTo(station.Now() + std::chrono::seconds(seconds)); });
    }
    void show(std::ostream& os) const override { os << "the clock jumps " << seconds << " s"; }
};

// A clock set back, within the day.
struct StepBack : StationCommand {
    int seconds = *rc::gen::inRange(1, 900);
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, true, [&] {
            const int back = std::min(seconds, TimeOfDaySeconds(station.Now()));
            station.MoveClockTo(station.Now() - std::chrono::seconds(back));
        });
    }
    void show(std::ostream& os) const override { os << "the clock is set back " << seconds << " s"; }
};

// The clock moves to the next occurrence of a second of the day.
inline LocalTime NextAt(LocalTime now, int secondOfDay) {
    const auto day = std::chrono::floor<std::chrono::days>(now);
    LocalTime at = day + std::chrono::seconds(secondOfDay);
    return at > now ? at : at + std::chrono::days(1);
}

struct LastSecondOfTheDay : StationCommand {
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, true, [&] { station.MoveClockTo(NextAt(station.Now(), 86399)); });
    }
    void show(std::ostream& os) const override { os << "23:59:59"; }
};

struct Midnight : StationCommand {
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, true, [&] { station.MoveClockTo(NextAt(station.Now(), 0)); });
    }
    void show(std::ostream& os) const override { os << "midnight"; }
};

struct DailyLoadTime : StationCommand {
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, true,
             [&] { station.MoveClockTo(NextAt(station.Now(), OperatorStation::kLoadSecond)); });
    }
    void show(std::ostream& os) const override { os << "the daily load time"; }
};

// --- the operator -------------------------------------------------------------------------------

// Entering the edit state, or leaving it (which saves).
struct ToggleEditState : StationCommand {
    void apply(StationModel& model) const override { model.editing = !model.editing; }
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] { station.Main().btnEditClick(); });
    }
    void show(std::ostream& os) const override { os << "edit state on/off"; }
};



struct CancelEdits : EditButton<&TFrmMain::btnCancelClick> {
    void show(std::ostream& os) const override { os << "Cancel"; }
};
struct SaveEdits : EditButton<&TFrmMain::btnSaveClick> {
    void show(std::ostream& os) const override { os << "Save"; }
};
struct CopyAddRow : RowButton<true, &TFrmMain::btnCopyAddClick> {
    void show(std::ostream& os) const override { os << "copy-add row #" << pick; }
};
struct CopyInsertRow : RowButton<true, &TFrmMain::btnCopyInsertClick> {
    void show(std::ostream& os) const override { os << "copy-insert at row #" << pick; }
};
struct DeleteRow : RowButton<true, &TFrmMain::btnDelClick> {
    void show(std::ostream& os) const override { os << "delete row #" << pick; }
};
struct Play : RowButton<false, &TFrmMain::btnPlayFlashClick> {
    void show(std::ostream& os) const override { os << "Play row #" << pick; }
};
struct Stop : RowButton<false, &TFrmMain::btnStopFlashClick> {
    void show(std::ostream& os) const override { os << "Stop row #" << pick; }
};

struct AddRow : InEditState<true> {
    RowSpec spec = *RowSpecs();
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] {
            station.Main().btnAddClick();
            station.WriteRow(station.Main().table().RowCount() - 1, spec);
        });
    }
    void show(std::ostream& os) const override { os << "add a row: " << spec; }
};

struct InsertRow : InEditState<true> {
    int pick = Pick();
    RowSpec spec = *RowSpecs();
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] {
            const int row = station.ChooseRow(pick);
            station.Main().btnInsertClick();
            station.WriteRow(row, spec);
        });
    }
    void show(std::ostream& os) const override { os << "insert at row #" << pick << ": " << spec; }
};




struct ChangeTimes : InEditState<true> {
    int pick = Pick();
    std::optional<int> startIn = *MaybeSeconds(1, 30);
    std::optional<int> endIn = *MaybeSeconds(2, 90);
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] {
            station.ChooseRow(pick);
            station.Main().edSTime->setText(QString::fromStdString(station.TimeIn(startIn)));
            station.Main().edETime->setText(QString::fromStdString(station.TimeIn(endIn)));
        });
    }
    void show(std::ostream& os) const override {
        os << "row #" << pick << " times: start " << (startIn ? "+" + std::to_string(*startIn) : "none")
           << ", end " << (endIn ? "+" + std::to_string(*endIn) : "none");
    }
};

struct ChangeProgram : InEditState<true> {
    int pick = Pick();
    TaskProgram program =
        *rc::gen::element(TaskProgram::Player, TaskProgram::Blip, TaskProgram::Stubborn);
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] {
            station.ChooseRow(pick);
            station.Main().edApp->setText(QString::fromStdString(station.ProgramPath(program)));
            station.Main().edPara->setText(
                QString::fromStdString(station.ProgramParameters(program)));
        });
    }
    void show(std::ostream& os) const override {
        os << "row #" << pick << " gets program " << RowSpec{program, {}, {}};
    }
};

// Keep size, fill the monitor, or hide.
struct ChangeWindowSetting : InEditState<true> {
    int pick = Pick();
    int setting = *rc::gen::inRange(0, 3);
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] {
            station.ChooseRow(pick);
            TFrmMain& main = station.Main();
            main.chkSize->setChecked(setting == 0);
            if (setting == 1) main.rbMax->click();
            if (setting == 2) main.rbNone->click();
        });
    }
    void show(std::ostream& os) const override {
        os << "row #" << pick << " window setting " << setting;
    }
};

struct ChangeExclusive : InEditState<true> {
    int pick = Pick();
    bool exclusive = *rc::gen::arbitrary<bool>();
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] {
            station.ChooseRow(pick);
            station.Main().edExclusive->setChecked(exclusive);
        });
    }
    void show(std::ostream& os) const override {
        os << "row #" << pick << (exclusive ? " exclusive" : " not exclusive");
    }
};

struct SaveAs : InEditState<true> {
    std::string name = *rc::gen::element(std::string("other.tab"), std::string("星期四.tab"),
                                         std::string("星期五.tab"));
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] {
            station.ChooseFile(station.DataPath(name));
            station.Main().btnSaveasClick();
        });
    }
    void show(std::ostream& os) const override { os << "Save As " << name; }
};

// Open another timetable, one of Data/'s files or one that is not there.
struct OpenTimetable : StationCommand {
    int pick = Pick();
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] {
            const std::vector<std::string> files = station.TimetableFiles();
            station.ChooseFile(station.DataPath(
                pick < static_cast<int>(files.size()) ? files[static_cast<std::size_t>(pick)]
                                                      : "missing.tab"));
            station.Main().btnOpenTaskClick();
        });
    }
    void show(std::ostream& os) const override { os << "open timetable file #" << pick; }
};



// --- the world ----------------------------------------------------------------------------------

struct TimetableArrives : StationCommand {
    ArrivalKind kind = *rc::gen::element(ArrivalKind::Whole, ArrivalKind::Short,
                                         ArrivalKind::Fresh, ArrivalKind::Refused);
    int rows = *rc::gen::inRange(0, 8);
    std::vector<RowSpec> fresh = *rc::gen::container<std::vector<RowSpec>>(
        static_cast<std::size_t>(rows % 4 + 1), RowSpecs());
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] { station.Arrive(kind, rows, fresh); });
    }
    void show(std::ostream& os) const override {
        static const char* const kinds[] = {"the timetable as it was", "a short timetable",
                                            "a new timetable", "half a timetable"};
        os << kinds[static_cast<int>(kind)] << " arrives";
        if (kind == ArrivalKind::Short) os << " (" << rows << " rows)";
        if (kind == ArrivalKind::Fresh) {
            for (const RowSpec& spec : fresh) os << "; " << spec;
        }
    }
};




struct TheDaysFilesGo : WorldChange<&OperatorStation::RemoveTheDaysFiles> {
    void show(std::ostream& os) const override { os << "the day's timetable files are deleted"; }
};
struct DataFolderBreaks : WorldChange<&OperatorStation::BreakDataFolder> {
    void show(std::ostream& os) const override { os << "Data/ can no longer be written"; }
};
struct DataFolderMended : WorldChange<&OperatorStation::RepairDataFolder> {
    void show(std::ostream& os) const override { os << "Data/ works again"; }
};
struct KillRefused : WorldChange<&OperatorStation::RefuseNextKill> {
    void show(std::ostream& os) const override { os << "the next kill is refused"; }
};
struct SessionEndsInNextBox : WorldChange<&OperatorStation::EndSessionInNextBox> {
    void show(std::ostream& os) const override { os << "the session ends while the next box waits"; }
};

struct TaskExits : StationCommand {
    int pick = Pick();
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] { station.EndATask(pick); });
    }
    void show(std::ostream& os) const override { os << "running task #" << pick << " exits"; }
};



// The program ends: by its exit button (OK or Cancel when asked), at the automatic close time, or
// with the session (SIGTERM).
enum class Ending { ExitButtonOk, ExitButtonCancel, AutomaticClose, SessionEnd };

struct TheProgramEnds : StationCommand {
    Ending how = *rc::gen::element(Ending::ExitButtonOk, Ending::ExitButtonCancel,
                                   Ending::AutomaticClose, Ending::SessionEnd);
    void run(const StationModel&, OperatorStation& station) const override {
        // A close the operator cancels at its time leaves that second's metrics to the next.
        Step(station, false, [&] {
            switch (how) {
                case Ending::ExitButtonOk:
                case Ending::ExitButtonCancel:
                    return station.Close(how == Ending::ExitButtonOk);
                case Ending::AutomaticClose:
                    return station.CloseAutomatically();
                case Ending::SessionEnd:
                    return station.EndSession();
            }
        });
    }
    void show(std::ostream& os) const override {
        static const char* const texts[] = {"exit button, OK if asked",
                                            "exit button, Cancel if asked",
                                            "the automatic close time", "the session ends (SIGTERM)"};
        os << texts[static_cast<int>(how)];
    }
};

struct EndTasksOnClose : StationCommand {
    bool on = *rc::gen::arbitrary<bool>();
    void run(const StationModel&, OperatorStation& station) const override {
        Step(station, false, [&] { station.SetEndTasksOnClose(on); });
    }
    void show(std::ostream& os) const override { os << "退出时关闭任务 " << (on ? "on" : "off"); }
};

// The steps, the clock's and the start button's more often than the others.
inline auto OperatorSteps() {
    return rc::state::gen::execOneOfWithArgs<
        NextSecond, NextSecond, NextSecond, NextSecond, NextSecond, JumpForward, JumpForward,
        JumpForward, StepBack, LastSecondOfTheDay, Midnight, DailyLoadTime, ToggleEditState, CancelEdits, SaveEdits, AddRow, InsertRow, CopyAddRow,
        CopyInsertRow, DeleteRow, ChangeTimes, ChangeProgram, ChangeWindowSetting, ChangeExclusive,
        SaveAs, OpenTimetable, Play, Play, Play, Stop, TimetableArrives, TheDaysFilesGo,
        DataFolderBreaks, DataFolderMended, TaskExits, KillRefused, SessionEndsInNextBox,
        TheProgramEnds, EndTasksOnClose>();
}

}  // namespace vardo::test
