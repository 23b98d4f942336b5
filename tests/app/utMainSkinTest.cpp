// The skin switched from the settings dialog on every window of the program, and off again.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QTimer>

#include <cmath>

#include "MainWindowFixture.h"
#include "Prompts.h"
#include "SkinEvents.h"
#include "TaskGridView.h"
#include "TestSkin.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"
#include "uShowMM.h"

namespace vardo::test {
namespace {

// The contrast ratio of two colours by their relative luminance (1 alike, 21 black on white).
double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double value) {
            return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// The contrast of the text in area of image: between the area's commonest colour (the ground)
// and the pixel that stands out from it most (the ink of the glyphs' stems). An area without
// text has none.
double TextContrast(const QImage& image, const QRect& area) {
    QHash<QRgb, int> counts;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) ++counts[image.pixel(x, y)];
    }
    if (counts.isEmpty()) return 1;
    QRgb ground = counts.constBegin().key();
    for (auto count = counts.constBegin(); count != counts.constEnd(); ++count) {
        if (count.value() > counts[ground]) ground = count.key();
    }
    double most = 1;
    for (auto count = counts.constBegin(); count != counts.constEnd(); ++count) {
        most = std::max(most, Contrast(QColor(count.key()), QColor(ground)));
    }
    return most;
}

// Where a widget's text lies, in its own coordinates: text in font, aligned so in box.
QRect TextBox(const QWidget& widget, const QRect& box, int alignment, const QString& text) {
    return QFontMetrics(widget.font()).boundingRect(box, alignment | Qt::TextShowMnemonic, text) &
           box;
}

// The texts of a window to read, each where it lies in the window's coordinates.
struct ShownText {
    std::string what;
    QRect area;
};

class ShownTexts {
  public:
    explicit ShownTexts(QWidget& window) : window_(window) {}

    // A label's text, inside an edge of inset pixels drawn round it (a status bar panel's).
    void Label(QLabel* label, int inset = 0) {
        Add(label, TextBox(*label, label->contentsRect(), label->alignment(), label->text()) &
                       label->rect().adjusted(inset, inset, -inset, -inset));
    }
    void Centred(QWidget* widget, const QString& text) {
        Add(widget, TextBox(*widget, widget->rect(), Qt::AlignCenter, text));
    }
    // A check box or radio button: its caption right of the glyph.
    void Choice(QAbstractButton* button) {
        Add(button, TextBox(*button, button->rect().adjusted(17, 0, 0, 0),
                            Qt::AlignLeft | Qt::AlignVCenter, button->text()) &
                        button->rect().adjusted(24, 0, 0, 0));
    }
    // A group box title, on its plate (which the skin may move right by a few pixels).
    void GroupTitle(QGroupBox* box) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, box);
        Add(box, label.adjusted(8, 0, -8, 0));
    }
    void Area(QWidget* widget, const QRect& area) { Add(widget, area); }

    const std::vector<ShownText>& Texts() const { return texts_; }

  private:
    void Add(QWidget* widget, const QRect& area) {
        const std::string name = widget->objectName().isEmpty()
                                     ? widget->metaObject()->className()
                                     : widget->objectName().toStdString();
        texts_.push_back({name, QRect(widget->mapTo(&window_, area.topLeft()), area.size())});
    }

    QWidget& window_;
    std::vector<ShownText> texts_;
};

// Every text of the window is readable: at least 4.5:1 against its ground.
void ExpectReadable(QWidget& window, const std::vector<ShownText>& texts, const std::string& when) {
    const QImage shot = window.grab().toImage();
    for (const ShownText& text : texts) {
        EXPECT_GE(TextContrast(shot, text.area), 4.5) << text.what << " " << when;
    }
}

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

    main->ShowReminder({1, "task", "00:00:05"});
    TFrmMM* reminder = OpenReminder();
    ASSERT_NE(reminder, nullptr);
    ASSERT_TRUE(SettleSkinned({reminder}, true));
    // The reminder's three lines stay inside the frame once the window has taken its height.
    QTest::qWait(50);
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

// Every text the skins paint in the main window, the settings dialog, a message box and the
// system menu is readable after each live change, through every ordered pair of shipped skins.
TEST_F(MainWindowSkinTest, LiveSkinChange_EveryTextTakesTheNewSkinsColours) {
    const QStringList skins = {"Console.skn", "Daylight.skn", "Contrast.skn"};
    for (const QString& skin : skins) CopySkin(skin);
    WriteSettings("cbskn=Console.skn\r\n");
    WriteFile(kDefaultTable,
              "  1^^/bin/true^^^^晨间节目^^08:00:00^^^^^^否^^否,最大^^1^^^^^^^^^^^^^^\r\n"
              "  2^^/bin/true^^^^午间节目^^12:00:00^^^^^^否^^否,最大^^1^^^^^^^^^^^^^^\r\n");
    const auto main = Start();
    main->show();
    main->btnEditClick();  // the editor's labels and choices enabled
    main->AppendHistoryLine("  08:00:00 启动任务: 【/bin/true 】  晨间节目");
    main->btnSetupClick();
    TFrmSetup& setup = *main->FrmSetup;
    QMessageBox box(QMessageBox::Question, "确认退出", "退出系统，任务自动启动将停止！",
                    QMessageBox::Ok | QMessageBox::Cancel);
    box.show();
    setup.chktskn->setChecked(true);
    ASSERT_TRUE(SettleSkinned({main.get(), &setup, &box}, true));

    // Switches live to skin and waits until the windows wear its face.
    const auto switchTo = [&](const QString& skin) {
        setup.cbskn->setCurrentIndex(setup.cbskn->findText(skin));
        const QColor face = ColorToQColor(main->sd1->Model().Colours.ButtonFace);
        QElapsedTimer timer;
        timer.start();
        while ((main->palette().color(QPalette::Window) != face ||
                setup.palette().color(QPalette::Window) != face ||
                box.palette().color(QPalette::Window) != face) &&
               timer.elapsed() < 2000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        QCoreApplication::processEvents();
        return main->palette().color(QPalette::Window) == face;
    };

    ShownTexts inMain(*main);
    for (QLabel* panel : main->StatusBar2->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (panel->isVisible() && !panel->text().trimmed().isEmpty()) inMain.Label(panel, 3);
    }
    inMain.Area(main->MyPanel5, main->MyPanel5->rect().adjusted(3, 3, -300, -3));
    inMain.Label(main->Label3);
    inMain.Choice(main->chkSize);
    inMain.Choice(main->rbMax);
    inMain.Centred(main->btnEdit, main->btnEdit->Caption());
    // A row that is not the current one (its selection colours are the grid's own).
    const QRect cell = main->sgJM->visualRect(main->sgJM->model()->index(1, 2));
    inMain.Area(main->sgJM->viewport(), cell.adjusted(2, 2, -2, -2));
    const int line = QFontMetrics(main->ListBox2->font()).height();
    inMain.Area(main->ListBox2->viewport(), QRect(2, 2, 300, line));

    ShownTexts inSetup(setup);
    for (QLabel* label : setup.findChildren<QLabel*>()) inSetup.Label(label);
    for (QCheckBox* choice : setup.findChildren<QCheckBox*>()) inSetup.Choice(choice);
    inSetup.GroupTitle(setup.findChild<QGroupBox*>("GroupBox1"));
    inSetup.Centred(setup.btnClose, setup.btnClose->text());

    ShownTexts inBox(box);
    inBox.Label(box.findChild<QLabel*>("qt_msgbox_label"));
    for (QAbstractButton* button : box.buttons()) inBox.Centred(button, button->text());

    // Console, then each ordered pair once.
    const QStringList order = {"Daylight.skn", "Contrast.skn", "Console.skn",
                               "Contrast.skn", "Daylight.skn", "Console.skn"};
    QString from = "Console.skn";
    for (const QString& to : order) {
        ASSERT_TRUE(switchTo(to)) << to.toStdString();
        const std::string when = "after " + from.toStdString() + " -> " + to.toStdString();
        ExpectReadable(*main, inMain.Texts(), when);
        ExpectReadable(setup, inSetup.Texts(), when);
        ExpectReadable(box, inBox.Texts(), when);

        TWinSkinForm* form = TSkinWindows::Of(main->sd1->Manager()).FormSkinner(main.get());
        ASSERT_NE(form, nullptr);
        form->ShowSystemMenu(main->mapToGlobal(QPoint(40, 40)));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QCoreApplication::processEvents();
        QAction* close = menu->actions().last();
        const QRect item = menu->actionGeometry(close);
        ShownTexts inMenu(*menu);
        inMenu.Area(menu, item.adjusted(30, 2, -14, -2));
        ExpectReadable(*menu, inMenu.Texts(), when);
        menu->hide();
        QCoreApplication::processEvents();
        from = to;
    }
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

TEST_F(MainWindowSkinTest, SkinFileCutShort_IsRefusedWithTheReasonInTheStatusBar) {
    CopySkin("Console.skn");
    QFile cut(Path("Skins/Console.skn"));
    ASSERT_TRUE(cut.resize(1000));
    WriteSettings("cbskn=Console.skn\r\nchktskn=YES\r\n");
    const auto main = Start();
    main->show();
    QCoreApplication::processEvents();

    EXPECT_TRUE(main->lbSkinProblem->isVisibleTo(main.get()));
    EXPECT_EQ(main->lbSkinProblem->text(), "皮肤未能载入");
    EXPECT_TRUE(main->lbSkinProblem->toolTip().contains("文件不完整"))
        << qPrintable(main->lbSkinProblem->toolTip());
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
