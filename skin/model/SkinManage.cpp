#include "SkinManage.h"

#include "WinSkinData.h"

#include <QCoreApplication>

namespace vardo {

TSkinManage::TSkinManage(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, &TSkinManage::RunCommand);
}

TSkinManage::~TSkinManage() {
    started_ = ShuttingDown;
}

TSkinManage& TSkinManage::Instance() {
    // Lives as long as the application object, whose event loop its timer needs.
    static TSkinManage* instance = new TSkinManage(QCoreApplication::instance());
    return *instance;
}

void TSkinManage::RegisterSkinData(TSkinData& data) {
    if (!skinDatas_.contains(&data)) skinDatas_.append(&data);
}

void TSkinManage::UnregisterSkinData(TSkinData& data) {
    skinDatas_.removeAll(&data);
    if (commandData_ == &data) {
        timer_.stop();
        command_ = scNone;
        commandData_ = nullptr;
    }
}

TSkinData* TSkinManage::DefaultSkinData() const {
    for (TSkinData* data : skinDatas_) {
        if (data->SkinFormtype == sfMainform) return data;
    }
    return nullptr;
}

void TSkinManage::Command(int kind, int delay, TSkinData& data, QObject* window) {
    command_ = kind;
    commandData_ = &data;
    commandWindow_ = window;
    timer_.setInterval(delay);
    if (started_ == Started) {
        timer_.start();
        return;
    }
    // Before the first switch-on nothing is skinned yet: the switch alone decides what the
    // windows get when they are next activated.
    if (kind == scSwitchOn) skinningOn_ = true;
    if (kind == scSwitchOff) skinningOn_ = false;
    command_ = scNone;
    commandData_ = nullptr;
    commandWindow_ = nullptr;
}

void TSkinManage::MarkStarted() {
    if (started_ == NotStarted) started_ = Started;
}

void TSkinManage::RunCommand() {
    timer_.stop();
    TSkinData* data = commandData_;
    const int kind = command_;
    QObject* window = commandWindow_;
    command_ = scNone;
    commandData_ = nullptr;
    commandWindow_ = nullptr;
    if (!data || kind == scNone) return;
    if (kind == scSwitchOn) skinningOn_ = true;
    if (kind == scSwitchOff) skinningOn_ = false;
    if (windowSide_) windowSide_->RunCommand(kind, *data, window);
    // Re-skinning one window is no change of the skin.
    if (kind != scReskin && data->OnSkinChanged) data->OnSkinChanged();
}

}  // namespace vardo
