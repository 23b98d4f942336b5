#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include "SkinEvents.h"
#include "SkinManage.h"
#include "TestSkin.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"

namespace vardo::test {

// Processes events for milliseconds.
inline void Settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

// Waits up to two seconds for condition, processing events.
template <typename Condition>
bool SettleUntil(Condition condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return condition();
}

// A skin manager of its own with the window side, and a main-form skin component holding the
// test skin, switched on and started.
class SkinFixture : public ::testing::Test {
  protected:
    SkinFixture() : windows_(TSkinWindows::Of(manager_)), data_(nullptr, &manager_) {}

    void SetUp() override { LoadSkin(TestSkinFile()); }

    void LoadSkin(const std::string& bytes) {
        const QString path = folder_.filePath("test.skn");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        file.close();
        if (!loaded_) {
            data_.Loaded();
            loaded_ = true;
        }
        data_.SetSkinFile(path);
        ASSERT_TRUE(data_.SkinReady()) << data_.LoadError().toStdString();
        manager_.SetSkinningOn(true);
        manager_.MarkStarted();
    }

    // Skins window and switches it on as the posted message does.
    TWinSkinForm* Skin(QWidget& window) {
        windows_.SkinWindow(&window);  // unless showing it has skinned it already
        QCoreApplication::sendPostedEvents(&window);
        return windows_.FormSkinner(&window);
    }

    static QColor Pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

    QTemporaryDir folder_;
    TSkinManage manager_;
    TSkinWindows& windows_;
    TSkinData data_;
    bool loaded_ = false;
};

}  // namespace vardo::test
