// The program's windows in English: the editor stores the same values as in Chinese while the grid
// shows them translated, and every English text fits its control at the design sizes, without a
// skin and under each of ours.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QTest>
#include <QTranslator>

#include <functional>

#include "MainWindowFixture.h"
#include "QtText.h"
#include "SkinEvents.h"
#include "TableTexts.h"
#include "TaskGridView.h"
#include "TaskTable.h"
#include "TaskTableModel.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"
#include "uParaSet.h"
#include "uShowMM.h"

namespace vardo::test {
namespace {

std::string Line(std::array<std::string, kStandardColumnCount> cells) {
    std::string line;
    for (const std::string& cell : cells) line += cell + "^^";
    return line + "\r\n";
}

std::string RawFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
}

// The columns of image that hold a pixel differing from the same pixel of without: where a text
// drew its ink. Empty (left > right) when nothing differs.
struct InkSpan {
    int left = 0;
    int right = -1;
};

InkSpan InkBetween(const QImage& with, const QImage& without) {
    InkSpan span{with.width(), -1};
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            if (with.pixel(x, y) == without.pixel(x, y)) continue;
            span.left = std::min(span.left, x);
            span.right = std::max(span.right, x);
        }
    }
    return span;
}

// Chinese characters and the CJK punctuation (the full-width colon, the brackets 【】) that an
// untranslated text carries.
bool HoldsChinese(const QString& text) {
    static const QRegularExpression kChinese(
        QStringLiteral("[\\x{2E80}-\\x{9FFF}\\x{F900}-\\x{FAFF}\\x{FF00}-\\x{FFEF}]"));
    return text.contains(kChinese);
}

// The texts a window shows to the operator, each with the name of the control that shows it: the
// window's title, every visible control's text, caption, items, cells and hints. The file names
// in them (a timetable's path) are the operator's own and are left out.
std::vector<std::pair<std::string, QString>> ShownTexts(QWidget* window) {
    std::vector<std::pair<std::string, QString>> texts{{"window title", window->windowTitle()}};
    const auto add = [&](const QWidget* control, const QString& text) {
        static const QRegularExpression kFileName(QStringLiteral("\\S*\\.tab\\b"));
        texts.emplace_back(control->objectName().toStdString(), QString(text).remove(kFileName));
    };
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(window)) continue;
        add(control, control->toolTip());
        if (const QVariant caption = control->property("Caption"); caption.isValid())
            add(control, caption.toString());
        if (const auto* label = qobject_cast<QLabel*>(control)) add(control, label->text());
        if (const auto* button = qobject_cast<QAbstractButton*>(control))
            add(control, button->text());
        if (const auto* edit = qobject_cast<QLineEdit*>(control)) add(control, edit->text());
        if (const auto* memo = qobject_cast<QPlainTextEdit*>(control))
            add(control, memo->toPlainText());
        if (const auto* choice = qobject_cast<QComboBox*>(control)) {
            for (int i = 0; i < choice->count(); ++i) add(control, choice->itemText(i));
        }
        if (const auto* view = qobject_cast<QAbstractItemView*>(control)) {
            const QAbstractItemModel* model = view->model();
            for (int column = 0; column < model->columnCount(); ++column) {
                for (const int role : {Qt::DisplayRole, Qt::ToolTipRole})
                    add(control, model->headerData(column, Qt::Horizontal, role).toString());
                for (int row = 0; row < model->rowCount(); ++row)
                    add(control, model->index(row, column).data().toString());
            }
        }
    }
    return texts;
}

class EnglishWindowsTest : public MainWindowFixture {
  protected:
    void SetUp() override {
        const QString file = QString(VARDO_TRANSLATIONS_DIR) + "/vardo_en.qm";
        ASSERT_TRUE(english_.load(file))
            << "the built English translation is missing: " << file.toStdString();
        QCoreApplication::installTranslator(&english_);
    }
    void TearDown() override { QCoreApplication::removeTranslator(&english_); }

    void CopySkin(const QString& name) {
        QDir().mkpath(Path("Skins"));
        QFile::remove(Path("Skins/" + name));
        ASSERT_TRUE(QFile::copy(QString(VARDO_SKINS_DIR) + "/" + name, Path("Skins/" + name)));
    }

    static bool SettleSkinned(QWidget* window, bool skinned) {
        QElapsedTimer timer;
        timer.start();
        while (AnswersSkinned(window) != skinned && timer.elapsed() < 2000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        return AnswersSkinned(window) == skinned;
    }

    // The text a control shows lies inside it, by the pixels: the control is drawn with and
    // without its text, and the ink of the text keeps clear of the edges (and of a frame of
    // frame pixels), where a text too long for its control is cut.
    static void ExpectInkInside(QWidget* control, const QString& text,
                                const std::function<void(const QString&)>& setText, int frame,
                                const std::string& look) {
        // Taken from the window: a transparent control shows what lies below it.
        QWidget* window = control->window();
        const QRect area(control->mapTo(window, QPoint(0, 0)), control->size());
        const QImage with = window->grab(area).toImage();
        setText({});
        // A skin may draw a control from what it cached at the last paint event.
        QCoreApplication::processEvents();
        const QImage without = window->grab(area).toImage();
        setText(text);
        QCoreApplication::processEvents();
        const InkSpan ink = InkBetween(with, without);
        const std::string what =
            control->objectName().toStdString() + " \"" + text.toStdString() + "\" " + look;
        ASSERT_LE(ink.left, ink.right) << what << ": no text drawn";
        EXPECT_LE(ink.right, control->width() - 2 - frame) << what;
        if (frame > 0) {
            EXPECT_GE(ink.left, frame) << what;
        }
    }

    static void ExpectLabelFits(QLabel* label, const std::string& look) {
        const QRect needed = label->fontMetrics().boundingRect(
            label->contentsRect(), static_cast<int>(label->alignment()) | Qt::TextShowMnemonic,
            label->text());
        EXPECT_LE(needed.width(), label->contentsRect().width())
            << label->objectName().toStdString() << " \"" << label->text().toStdString() << "\" "
            << look;
        ExpectInkInside(
            label, label->text(), [label](const QString& t) { label->setText(t); }, 0, look);
    }

    static void ExpectChoiceFits(QAbstractButton* choice, const std::string& look) {
        QStyleOptionButton option;
        option.initFrom(choice);
        option.text = choice->text();
        const bool radio = qobject_cast<QRadioButton*>(choice) != nullptr;
        const QRect contents = choice->style()->subElementRect(
            radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, choice);
        EXPECT_LE(choice->fontMetrics().horizontalAdvance(choice->text()), contents.width())
            << choice->objectName().toStdString() << " \"" << choice->text().toStdString() << "\" "
            << look;
        ExpectInkInside(
            choice, choice->text(), [choice](const QString& t) { choice->setText(t); }, 0, look);
    }

    static void ExpectCommandFits(TTransparentButton* button, const std::string& look) {
        ExpectInkInside(
            button, button->Caption(), [button](const QString& t) { button->SetCaption(t); }, 2,
            look);
    }

    // Every text of the main window, the settings dialog and a reminder, with the look named.
    void ExpectEveryTextFits(TFrmMain& main, const std::string& look) {
        std::vector<QWidget*> windows{&main, main.FrmSetup};
        main.ShowReminder({12, "Evening news", "01:30:00"});
        for (TFrmMM* reminder : main.findChildren<TFrmMM*>()) windows.push_back(reminder);
        for (QWidget* window : windows) {
            for (QLabel* label : window->findChildren<QLabel*>()) {
                if (label->text().trimmed().isEmpty() || !label->isVisibleTo(window)) continue;
                ExpectLabelFits(label, look);
            }
            for (QAbstractButton* choice : window->findChildren<QAbstractButton*>()) {
                if (!qobject_cast<QCheckBox*>(choice) && !qobject_cast<QRadioButton*>(choice)) {
                    continue;
                }
                ExpectChoiceFits(choice, look);
            }
            for (QPushButton* push : window->findChildren<QPushButton*>()) {
                if (!push->isVisibleTo(window)) continue;
                EXPECT_LE(push->fontMetrics().horizontalAdvance(push->text()) +
                              2 * push->style()->pixelMetric(QStyle::PM_ButtonMargin),
                          push->width())
                    << push->objectName().toStdString() << " " << look;
            }
        }
        for (TTransparentButton* button : main.findChildren<TTransparentButton*>()) {
            if (!button->Caption().isEmpty()) ExpectCommandFits(button, look);
        }
        // The edit command's other caption, and the status texts of the edit state.
        main.btnEdit->click();
        ExpectCommandFits(main.btnEdit, look);
        for (QLabel* label : main.StatusBar2->findChildren<QLabel*>()) {
            if (!label->text().trimmed().isEmpty() && label->isVisibleTo(&main)) {
                ExpectLabelFits(label, look);
            }
        }
        main.btnEdit->click();
    }

    QTranslator english_;
};

TEST_F(EnglishWindowsTest, Editor_StoresTheChineseValuesAndTheGridShowsThemInEnglish) {
    const auto main = Start();
    EXPECT_EQ(main->btnEdit->Caption(), "Edit table");
    main->btnEdit->click();
    EXPECT_EQ(main->btnEdit->Caption(), "End editing");
    EXPECT_EQ(main->StatusPanelText(2), " Timetable: editing, checks stopped");

    QTest::keyClicks(main->edApp, "/bin/echo");
    main->edName->insert("News");
    main->edExclusive->click();
    main->rbNone->click();

    const TaskTableModel& model = *qobject_cast<TaskTableModel*>(main->sgJM->model());
    const auto shown = [&](int column) {
        return model.index(0, TaskTableModel::ModelColumn(column)).data().toString();
    };
    EXPECT_EQ(main->table().Cell(ColExclusive, 1), "是");
    EXPECT_EQ(shown(ColExclusive), "Yes");
    EXPECT_EQ(main->table().Cell(ColWindowSetting, 1), "否,无");
    EXPECT_EQ(shown(ColWindowSetting), "No,Off");
    main->rbMax->click();
    EXPECT_EQ(main->table().Cell(ColWindowSetting, 1), "否,最大");
    EXPECT_EQ(shown(ColWindowSetting), "No,Max");
    EXPECT_EQ(shown(ColDescription), "News");
    EXPECT_EQ(model.headerData(TaskTableModel::ModelColumn(ColApplication), Qt::Horizontal,
                               Qt::DisplayRole),
              "Program");
    // A stored value the editor reads back is the original: the maximise choice stays chosen.
    main->rbNone->click();
    main->rbMax->click();
    main->sgJMClick();
    EXPECT_TRUE(main->rbMax->isChecked());

    main->sgJMMouseMove(ColExclusive);
    EXPECT_EQ(main->MyPanel5->Caption(),
              " [Hint]: An exclusive task ends every task started before it when it starts");

    main->btnEdit->click();
    EXPECT_EQ(RawFile(Path(kDefaultTable)),
              Utf8ToGb18030(Line({"  1", "/bin/echo", "", "News", "", "", "", "是", "否,最大", "",
                                  "", "", "", "", "", ""})));
}

TEST_F(EnglishWindowsTest, SettingsDialog_OffersTheLanguagesAndStoresTheChoice) {
    WriteSettings("Language=fr\r\n");
    const auto main = Start();
    QComboBox* languages = main->FrmSetup->cbLanguage;
    // A stored language without a translation stays listed, and chosen, until another is chosen.
    ASSERT_EQ(languages->count(), 4);
    EXPECT_EQ(languages->currentData().toString(), "fr");
    EXPECT_EQ(languages->itemText(0), "System");
    languages->setCurrentIndex(languages->findData("en"));
    EXPECT_NE(ReadFile("VARDO.INI").find("Language=en\r\n"), std::string::npos);
    languages->setCurrentIndex(0);
    EXPECT_NE(ReadFile("VARDO.INI").find("Language=\r\n"), std::string::npos);
}

TEST_F(EnglishWindowsTest, EveryText_FitsItsControl_WithoutASkinAndUnderEachSkin) {
    {
        const auto main = Start();
        main->show();
        main->FrmSetup->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        ExpectEveryTextFits(*main, "without a skin");
        // The grid's column captions fit where the Chinese ones do.
        const QHeaderView* header = main->sgJM->horizontalHeader();
        const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin);
        for (int column = ColApplication; column < kStandardColumnCount; ++column) {
            const std::string stored = main->table().Cell(column, 0);
            const QString shown =
                header->model()
                    ->headerData(TaskTableModel::ModelColumn(column), Qt::Horizontal)
                    .toString();
            const int room =
                std::max(header->sectionSize(TaskTableModel::ModelColumn(column)) - margin,
                         header->fontMetrics().horizontalAdvance(ToQString(stored)));
            EXPECT_LE(header->fontMetrics().horizontalAdvance(shown), room) << stored;
        }
        // So do the stored values the grid shows translated.
        const QFontMetrics cells = main->sgJM->fontMetrics();
        const auto expectValueFits = [&](int column, const std::string& stored) {
            const int room =
                std::max(main->sgJM->columnWidth(TaskTableModel::ModelColumn(column)) - margin,
                         cells.horizontalAdvance(ToQString(stored)));
            EXPECT_LE(cells.horizontalAdvance(ShownCell(column, stored)), room) << stored;
        };
        for (const char* flag : {"是", "否"}) {
            expectValueFits(ColExclusive, flag);
            for (const char* show : {"最大", "无"}) {
                expectValueFits(ColWindowSetting, std::string(flag) + "," + show);
            }
        }
        for (const char* state : {"在播", "停播"}) expectValueFits(ColRunState, state);
    }
    for (const QString skin : {"Console.skn", "Daylight.skn", "Contrast.skn"}) {
        CopySkin(skin);
        WriteSettings("cbskn=" + skin.toStdString() + "\r\nchktskn=YES\r\n");
        const auto main = Start();
        main->show();
        main->FrmSetup->show();
        ASSERT_TRUE(SettleSkinned(main.get(), true)) << skin.toStdString();
        ASSERT_TRUE(SettleSkinned(main->FrmSetup, true)) << skin.toStdString();
        ExpectEveryTextFits(*main, skin.toStdString());
    }
}

// Every text an English window shows is English: after a start and an end by hand, a timetable
// that arrived cut short, a skin that could not be read, in the edit state and with a reminder
// open. Only the history memo shows Chinese, as the history file has it, and the language list
// names Chinese in Chinese.
TEST_F(EnglishWindowsTest, NoChineseText_IsLeftInAnEnglishWindow) {
    QDir().mkpath(Path("Skins"));
    QFile damaged(Path("Skins/Damaged.skn"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("no skin");
    damaged.close();
    WriteSettings("WatchData=YES\r\ncbskn=Damaged.skn\r\nchktskn=YES\r\n");
    WriteFile("Data/2026-03-05.tab", Line({"  1", "/bin/sleep", "30", "News", "", "", "", "否",
                                           "是,最大", "", "", "", "", "", "", ""}));
    const auto main = Start();
    main->show();
    main->FrmSetup->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));

    main->btnPlayFlashClick();
    main->btnStopFlashClick();
    EXPECT_EQ(main->MyPanel5->Caption().mid(10).toStdString(), " Ended: [/bin/sleep ]  News");
    EXPECT_EQ(main->ListBox2->toPlainText().count("结束任务: 【/bin/sleep 】  News"), 1)
        << "the history keeps its Chinese lines";

    WriteFile("Data/2026-03-05.tab", "  1^^/bin/true^^");
    QCoreApplication::processEvents();
    for (const int seconds : {0, 1, 1, 1}) {
        clock_.Advance(std::chrono::seconds(seconds));
        main->tmTimeDateTimer();
    }
    EXPECT_TRUE(main->MyPanel5->Caption().endsWith("]  the last line is incomplete"))
        << main->MyPanel5->Caption().toStdString();

    main->ShowReminder({1, "News", "00:10:00"});
    std::vector<QWidget*> windows{main.get(), main->FrmSetup};
    for (TFrmMM* reminder : main->findChildren<TFrmMM*>()) windows.push_back(reminder);
    const auto expectEnglish = [&](const std::string& state) {
        for (QWidget* window : windows) {
            for (const auto& [control, text] : ShownTexts(window)) {
                // The history memo; and the language list names each language in itself.
                if (control == "ListBox2" || (control == "cbLanguage" && text == "中文")) continue;
                EXPECT_FALSE(HoldsChinese(text))
                    << window->objectName().toStdString() << " " << control << " " << state
                    << ": \"" << text.toStdString() << "\"";
            }
        }
    };
    expectEnglish("after the runner's and the watch's lines");
    main->btnEdit->click();
    expectEnglish("in the edit state");
    // The boxes and file dialogs the editor and the close open.
    main->btnSaveasClick();
    main->btnOpenTaskClick();
    main->edAppDblClick();
    main->edParaDblClick();
    main->btnEdit->click();
    main->FrmSetup->chkSure->setChecked(true);
    EXPECT_FALSE(main->close()) << "the close question is answered Cancel";
    QStringList boxTexts = prompts_.errors;
    for (const auto& asked : prompts_.confirmations) boxTexts << asked.caption << asked.text;
    for (const auto* requests : {&prompts_.openRequests, &prompts_.saveRequests}) {
        for (const Prompts::FileRequest& request : *requests)
            boxTexts << request.title << request.filter;
    }
    EXPECT_EQ(boxTexts.size(), 2 + 4 * 2);
    for (const QString& text : boxTexts)
        EXPECT_FALSE(HoldsChinese(text)) << "box or file dialog: \"" << text.toStdString() << "\"";
}

// The system menu of a skinned window speaks English too.
TEST_F(EnglishWindowsTest, SkinnedSystemMenu_IsEnglish) {
    CopySkin("Console.skn");
    WriteSettings("cbskn=Console.skn\r\nchktskn=YES\r\n");
    const auto main = Start();
    main->show();
    ASSERT_TRUE(SettleSkinned(main.get(), true));
    TWinSkinForm* form = TSkinWindows::Of(main->sd1->Manager()).FormSkinner(main.get());
    ASSERT_NE(form, nullptr);
    form->ShowSystemMenu(main->mapToGlobal(QPoint(40, 40)));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "no system menu opened";
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) items << action->text();
    }
    menu->hide();
    EXPECT_EQ(items, QStringList({"&Restore", "&Move", "&Size", "Mi&nimize", "Ma&ximize",
                                  "&Close\tAlt+F4"}));
}

}  // namespace
}  // namespace vardo::test
