#pragma once

#include <string>

namespace vardo {

// What the task runner needs from the main window. Everything is called on the GUI thread, from
// inside the runner's ticks and commands. A call may wait in a nested event loop (a box waiting
// for the operator), whose ticks then run inside it: the runner keeps its rows consistent before
// each call, and leaves a tick nested in another to the next one.
class TaskRunnerHost {
  public:
    virtual ~TaskRunnerHost() = default;

    // True while the table editor is in its edit state; both ticks then do nothing.
    virtual bool IsEditState() const = 0;

    // Status-bar panel `panel` := " " + text; nothing when there is no such panel.
    virtual void SetStatusText(int panel, const std::string& text) = 0;

    // The status line above the grid (MyPanel5): set it, and read back what it shows.
    virtual void SetStatusLine(const std::string& text) = 0;
    virtual std::string StatusLineText() const = 0;

    // Appends one line to the history memo (which then saves the day's file when asked to).
    virtual void AppendHistoryLine(const std::string& line) = 0;

    // Brings the application to the foreground and opens a new, non-modal reminder pop-up.
    virtual void ShowReminder(const std::string& text) = 0;

    // Puts the main window at the top of the window order without moving or resizing it.
    virtual void RaiseMainWindow() = 0;

    // The task-watch timer is switched off before a launch and on again after it, so its next
    // tick comes one full interval after the start.
    virtual void StopWatchTimer() = 0;
    virtual void StartWatchTimer() = 0;

    // The program folder, ending in '/': the working directory of every started task.
    virtual std::string ProgramFolder() const = 0;
};

}  // namespace vardo
