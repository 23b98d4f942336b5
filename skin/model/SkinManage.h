#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

namespace vardo {

class TSkinData;

// The manager's commands, sent by the skin components.
enum TSkinCommand {
    scNone = 0,
    scSwitchOn = 1,
    scSwitchOff = 2,
    scReload = 3,
    scPurge = 6,   // free the dead form skinners
    scReskin = 7,  // re-skin one window
};

// What the skinning of windows, controls and menus adds to the manager. The manager keeps the
// switch, the started flag and the command timer; it hands each command to its window side.
class TSkinWindowSide {
  public:
    virtual ~TSkinWindowSide() = default;
    // Starts watching window creation and activation (at Loaded of an sfMainform component).
    virtual void InstallHook() = 0;
    // Carries out a command of the timer for data (the switch is already set for 1 and 2);
    // window is the one command 7 re-skins.
    virtual void RunCommand(int kind, TSkinData& data, QObject* window) = 0;
    // Skins the owner form of a component that is not sfMainform, at once.
    virtual void SkinOwnerForm(TSkinData& data) = 0;
};

// The process-wide skin manager's core: the registered skin components, the skinning switch, the
// started flag and the one-shot command timer. Until the manager has started (the first switch-on
// of the process), switch-on and switch-off only set its switch, so windows are skinned as they
// are next activated; from then on every command runs through the timer.
class TSkinManage : public QObject {
    Q_OBJECT

  public:
    enum TStarted { NotStarted = 0, Started = 1, ShuttingDown = 4 };

    explicit TSkinManage(QObject* parent = nullptr);
    ~TSkinManage() override;

    // The process's manager, made by the first component that needs it.
    static TSkinManage& Instance();

    void RegisterSkinData(TSkinData& data);
    void UnregisterSkinData(TSkinData& data);
    const QList<TSkinData*>& SkinDatas() const { return skinDatas_; }
    // The first registered sfMainform component, or null.
    TSkinData* DefaultSkinData() const;

    // Stores the command for data and (once started) runs it after delay milliseconds; a later
    // command replaces one that is still pending. window is the window command 7 re-skins.
    void Command(int kind, int delay, TSkinData& data, QObject* window = nullptr);
    int PendingCommand() const { return command_; }
    bool CommandTimerActive() const { return timer_.isActive(); }

    bool SkinningOn() const { return skinningOn_; }
    void SetSkinningOn(bool on) { skinningOn_ = on; }
    int StartedState() const { return started_; }
    bool IsStarted() const { return started_ == Started; }
    void MarkStarted();

    // The skinning of windows; null until that part is present. Not owned.
    void SetWindowSide(TSkinWindowSide* side) { windowSide_ = side; }
    TSkinWindowSide* WindowSide() const { return windowSide_; }

  private:
    void RunCommand();

    QList<TSkinData*> skinDatas_;
    QTimer timer_;
    int command_ = scNone;
    TSkinData* commandData_ = nullptr;
    QPointer<QObject> commandWindow_;
    bool skinningOn_ = false;
    int started_ = NotStarted;
    TSkinWindowSide* windowSide_ = nullptr;
};

}  // namespace vardo
