#pragma once

#include <chrono>
#include <optional>

#include "SecondSequencer.h"

namespace vardo {

// Why a task's run ended.
enum class TaskEndCause {
    EndTime,    // its row's end time (or its old row's, for a task carried over a load)
    Exited,     // its process ended by itself
    Exclusive,  // an exclusive row started
    Restart,    // its row's start time came again while it ran, or its start button
    Stopped,    // the stop button
    Exit,       // the program closed with "退出时关闭任务" on
};

// What the task runner reports as it works, for whoever counts it (the station's metrics). Every
// call comes on the GUI thread, from inside the runner; the default does nothing.
class TaskRunnerEvents {
  public:
    virtual ~TaskRunnerEvents() = default;

    // A row was started. launched: a process was created. latency: from the wall-clock second
    // the start was scheduled for to the process's creation; none for a start by hand or a
    // failed launch.
    virtual void TaskStarted(bool /*launched*/,
                             std::optional<std::chrono::nanoseconds> /*latency*/) {}
    virtual void TaskEnded(TaskEndCause /*cause*/) {}
    // The system refused to end a task's process: it runs on, and is still followed.
    virtual void TaskEndRefused() {}
    // A task window was placed, `delay` after the runner learnt that it was viewable.
    virtual void WindowPlaced(std::chrono::nanoseconds /*delay*/) {}
    // The schedule scan has processed this wall-clock second.
    virtual void SecondProcessed(LocalSeconds /*second*/) {}
};

}  // namespace vardo
