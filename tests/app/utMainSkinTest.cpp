// The skin switched from the settings dialog on every window of the program, and off again.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "MainWindowFixture.h"
#include "Prompts.h"
#include "SkinEvents.h"
#include "TestSkin.h"
#include "uShowMM.h"

namespace vardo::test {
namespace {

class MainWindowSkinTest : public MainWindowFixture {
  protected:
    void CopySkin(const QString& name) {
        QDir().mkpath(Path("Skins"));
        ASSERT_TRUE(QFile::copy(QString(VARDO_SKINS_DIR) + "/" + name, Path("Skins/" + name)));
    }

    // Processes events until every window answers skinned as wanted, for up to two seconds.
    static bool SettleSkinned(const std::vector<QWidget*>& windows, bool skinned) {
        QElapsedTimer timer;
        timer.start();
        const auto done = [&] {
            for (QWidget* window : windows) {
                if (AnswersSkinned(window) != skinned) return false;
            }
            return true;
        };
        while (!done() && timer.elapsed() < 2000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        // A window answers skinned from its attach on; the switch-on follows as a posted event.
        QCoreApplication::sendPostedEvents();
        return done();
    }

    // Once the modal window of type Window the prompt opens is up and skinned, records that and
    // hands it to answer.
    template <typename Window>
    static void AnswerWhenSkinned(bool& skinned, std::function<void(Window&)> answer) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, &skinned, answer] {
            auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
            if (!window || !AnswersSkinned(window)) return;
            QCoreApplication::sendPostedEvents(window);
            skinned = window->windowFlags().testFlag(Qt::FramelessWindowHint);
            poll->deleteLater();
            answer(*window);
        });
        poll->start(20);
    }

    static TFrmMM* OpenReminder() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* reminder = qobject_cast<TFrmMM*>(window); reminder && reminder->isVisible()) {
                return reminder;
            }
        }
        return nullptr;
    }
};

TEST_F(MainWindowSkinTest, SkinCheckBox_SkinsEveryWindowLiveAndSwitchingOffLeavesThemAsTheyWere) {
    CopySkin("Daylight.skn");
    CopySkin("Contrast.skn");
    WriteSettings("cbskn=Daylight.skn\r\n");
    const auto main = Start();
    main->show();
    main->btnSetupClick();
    TFrmSetup& setup = *main->FrmSetup;
    const QSize mainSize = main->size();
    const QSize setupSize = setup.size();
    const QWidget* button = main->findChild<QWidget*>("MyPanel1");
    ASSERT_NE(button, nullptr);
    const QPoint settingsButton = button->pos();

    setup.chktskn->setChecked(true);
    ASSERT_TRUE(SettleSkinned({main.get(), &setup}, true));
    EXPECT_TRUE(main->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(main->contentsRect().size(), mainSize) << "the main window keeps its client size";
    EXPECT_EQ(button->pos(), settingsButton + main->contentsRect().topLeft());
    EXPECT_EQ(setup.contentsRect().size(), setupSize);
    EXPECT_TRUE(AnswersSkinned(setup.chkMin)) << "the dialog's check boxes";
    EXPECT_TRUE(AnswersSkinned(setup.findChild<QGroupBox*>("GroupBox1"))) << "and its group box";
    EXPECT_FALSE(AnswersSkinned(main->MyPanel1)) << "the main window's panels keep their faces";
    EXPECT_FALSE(main->lbSkinProblem->isVisibleTo(main.get()));

    main->ShowReminder("task");
    TFrmMM* reminder = OpenReminder();
    ASSERT_NE(reminder, nullptr);
    ASSERT_TRUE(SettleSkinned({reminder}, true));
    EXPECT_TRUE(reminder->contentsRect().contains(reminder->plMM()->geometry()));

    // Another skin replaces the first on the skinned windows.
    const QColor daylight = main->palette().color(QPalette::Window);
    setup.cbskn->setCurrentIndex(setup.cbskn->findText("Contrast.skn"));
    ASSERT_TRUE(SettleSkinned({main.get(), &setup, reminder}, true));
    QElapsedTimer timer;
    timer.start();
    while (main->palette().color(QPalette::Window) == daylight && timer.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_NE(main->palette().color(QPalette::Window), daylight) << "the face of the new skin";
    EXPECT_EQ(main->contentsRect().size(), mainSize);
    EXPECT_EQ(main->grab().size(), main->size());

    setup.chktskn->setChecked(false);
    ASSERT_TRUE(SettleSkinned({main.get(), &setup, reminder}, false));
    EXPECT_FALSE(main->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(main->size(), mainSize);
    EXPECT_EQ(button->pos(), settingsButton);
    EXPECT_EQ(setup.size(), setupSize);
    EXPECT_FALSE(AnswersSkinned(setup.chkMin));
    reminder->close();
}

TEST_F(MainWindowSkinTest, StartUp_StoredSkinSkinsTheMainWindowWhenItFirstShows) {
    CopySkin("Console.skn");
    WriteSettings("cbskn=Console.skn\r\nchktskn=YES\r\n");
    const auto main = Start();
    const QSize size = main->size();
    main->show();
    ASSERT_TRUE(SettleSkinned({main.get()}, true));
    EXPECT_TRUE(main->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(main->contentsRect().size(), size);
    EXPECT_FALSE(main->lbSkinProblem->isVisibleTo(main.get()));
    main->FrmSetup->chktskn->setChecked(false);
    EXPECT_TRUE(SettleSkinned({main.get()}, false));
}

TEST_F(MainWindowSkinTest, SkinThatCannotBeLoaded_LeavesWindowsPlainAndSaysSoInTheStatusBar) {
    QDir().mkpath(Path("Skins"));
    WriteFile("Skins/Broken.skn", "not a skin");
    WriteSettings("cbskn=Broken.skn\r\nchktskn=YES\r\n");
    const auto main = Start();
    main->show();
    QCoreApplication::processEvents();

    EXPECT_TRUE(main->lbSkinProblem->isVisibleTo(main.get()));
    EXPECT_TRUE(main->lbSkinProblem->toolTip().contains("Broken.skn"));
    EXPECT_FALSE(SettleSkinned({main.get()}, true));
}

TEST_F(MainWindowSkinTest, SkinThatCannotBeLoaded_KeepsTheSkinTheWindowsHadAndSaysWhatIsWrong) {
    CopySkin("Console.skn");
    WriteFile("Skins/Broken.skn", "not a skin");
    WriteSettings("cbskn=Console.skn\r\nchktskn=YES\r\n");
    const auto main = Start();
    main->show();
    ASSERT_TRUE(SettleSkinned({main.get()}, true));
    QCoreApplication::sendPostedEvents();
    const QColor console = main->palette().color(QPalette::Window);

    QComboBox& skins = *main->FrmSetup->cbskn;
    skins.setCurrentIndex(skins.findText("Broken.skn"));
    QTest::qWait(600);  // the skin commands run after 250 ms
    EXPECT_TRUE(AnswersSkinned(main.get()));
    EXPECT_TRUE(main->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(main->palette().color(QPalette::Window), console);
    EXPECT_TRUE(main->lbSkinProblem->isVisibleTo(main.get()));
    const QString tip = main->lbSkinProblem->toolTip();
    EXPECT_TRUE(tip.contains("Broken.skn：此文件版本不同\n请升级新版本 !")) << qPrintable(tip);
    EXPECT_TRUE(tip.contains("声明的解压大小")) << "what is wrong with the file";
}

TEST_F(MainWindowSkinTest, SkinLackingACloseButton_KeepsTheWindowFrameAndSaysWhatIsMissing) {
    QDir().mkpath(Path("Skins"));
    const std::string ini =
        "[TitlebarSkin]\r\nSkinName=Gaps\r\n[Personality]\r\nLeft=edge.bmp\r\n"
        "Right=edge.bmp\r\nTop=edge.bmp\r\nBottom=edge.bmp\r\n";
    QFile skin(Path("Skins/Gaps.skn"));
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
    const std::string bytes = SkinFileBytes(ini, {{"edge.bmp", Frames({8, 8}, {Qt::red}, false)}});
    skin.write(bytes.data(), static_cast<qint64>(bytes.size()));
    skin.close();
    WriteSettings("cbskn=Gaps.skn\r\nchktskn=YES\r\n");
    const auto main = Start();
    const QSize size = main->size();
    main->show();
    ASSERT_TRUE(SettleSkinned({main.get()}, true));

    EXPECT_FALSE(main->windowFlags().testFlag(Qt::FramelessWindowHint))
        << "the window manager's frame, with its close button, stays";
    EXPECT_EQ(main->size(), size);
    EXPECT_TRUE(main->lbSkinProblem->isVisibleTo(main.get()));
    EXPECT_EQ(main->lbSkinProblem->text(), "皮肤不完整，缺少关闭按钮、按钮图像");
    EXPECT_FALSE(main->lbSkinProblem->toolTip().isEmpty());
}

TEST_F(MainWindowSkinTest, Prompts_AreSkinnedAndAnswerTheKeyboard) {
    CopySkin("Daylight.skn");
    WriteSettings("cbskn=Daylight.skn\r\nchktskn=YES\r\n");
    WriteFile("Data/other.tab", "");
    const auto main = Start();
    main->show();
    ASSERT_TRUE(SettleSkinned({main.get()}, true));
    QtPrompts prompts;

    bool skinned = false;
    AnswerWhenSkinned<QMessageBox>(skinned,
                                   [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
    EXPECT_TRUE(prompts.ConfirmOkCancel(main.get(), "确认退出", "exit?"));
    EXPECT_TRUE(skinned) << "the message box";

    skinned = false;
    AnswerWhenSkinned<QFileDialog>(skinned, [](QFileDialog& dialog) {
        auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->clear();
        QTest::keyClicks(name, "other.tab");
        QTest::keyClick(name, Qt::Key_Return);
    });
    const std::optional<QString> chosen =
        prompts.ChooseOpenFile(main.get(), {"打开", "Vardo(*.tab) (*.tab)", {}, Path("Data")});
    EXPECT_TRUE(skinned) << "the open dialog";
    EXPECT_EQ(chosen, Path("Data/other.tab"));
}

}  // namespace
}  // namespace vardo::test
