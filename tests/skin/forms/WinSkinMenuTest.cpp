#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWidgetAction>

#include "SkinFixture.h"
#include "WinSkinMenu.h"

namespace vardo::test {
namespace {

class WinSkinMenuTest : public SkinFixture {
  protected:
    void SetUp() override {
        LoadSkin(TestSkinFile({}, "[Colours]\r\nButtonShadow=90 0 90\r\nMenuBarText=0 90 90\r\n"));
        window_.resize(400, 300);
        for (const char* title : {"&MMMM", "&WWWW", "&HHHH"}) {
            QMenu* menu = window_.menuBar()->addMenu(title);
            menu->addAction(QString(title).mid(1) + " item");
            menu->addAction(QString(title).mid(1) + " more");
            menus_.push_back(menu);
        }
    }

    TWinSkinMenu* ShowSkinned() {
        window_.show();
        TWinSkinForm* form = Skin(window_);
        return form ? form->Menu() : nullptr;
    }

    // Shown, skinned and active, as the keyboard needs it.
    TWinSkinMenu* ShowActive() {
        TWinSkinMenu* bar = ShowSkinned();
        window_.activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window_; }));
        return bar;
    }

    // Escape closes the open menu; the offscreen platform does not give the window its
    // activation back as a window system does.
    void CloseOpenMenu(TWinSkinMenu& bar) {
        if (QMenu* open = bar.OpenedMenu()) QTest::keyClick(open, Qt::Key_Escape);
        QCoreApplication::processEvents();
        ASSERT_EQ(bar.OpenedMenu(), nullptr);
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window_; }));
    }

    // How many pixels of rect lean towards the bar's caption colour (MenuBarText, 0 90 90).
    int CaptionPixels(const QRect& rect) {
        const QImage frame = windows_.FormSkinner(&window_)->RenderFrame();
        int count = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor c = frame.pixelColor(x, y);
                if (c.green() - c.red() > 30) ++count;
            }
        }
        return count;
    }

    QMainWindow window_;
    std::vector<QMenu*> menus_;
};

TEST_F(WinSkinMenuTest, ArrowKeys_MoveBetweenTheBarMenusAndWrapAround) {
    TWinSkinMenu* bar = ShowSkinned();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->Buttons().size(), 3u);

    bar->OpenMenu(*bar->Buttons()[2]);
    QCoreApplication::processEvents();
    ASSERT_EQ(bar->OpenedMenu(), menus_[2]);
    QTest::keyClick(menus_[2], Qt::Key_Right);
    EXPECT_EQ(bar->OpenedMenu(), menus_[0]) << "Right on the last opens the first";
    EXPECT_EQ(bar->CurrentIndex(), 0);
    QCoreApplication::processEvents();
    QTest::keyClick(menus_[0], Qt::Key_Left);
    EXPECT_EQ(bar->OpenedMenu(), menus_[2]) << "Left on the first opens the last";
    QTest::keyClick(menus_[2], Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->CurrentIndex(), -1);
}

TEST_F(WinSkinMenuTest, MouseOverTheBar_PicksAButtonOnlyWhenTheCursorReallyMoved) {
    TWinSkinMenu* bar = ShowSkinned();
    ASSERT_NE(bar, nullptr);
    const QPoint overFirst = window_.mapToGlobal(bar->Buttons()[0]->Rect.center());
    QCursor::setPos(overFirst);
    bar->OpenMenu(*bar->Buttons()[2]);
    const auto moveTo = [&](QPoint global) {
        QMouseEvent move(QEvent::MouseMove, menus_[2]->mapFromGlobal(global), global, Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar->OpenedMenu(), &move);
    };
    moveTo(overFirst);
    EXPECT_EQ(bar->OpenedMenu(), menus_[2]) << "a move event without a move";
    moveTo(overFirst + QPoint(1, 0));
    EXPECT_EQ(bar->OpenedMenu(), menus_[0]);
    bar->CloseMenu();
}

TEST_F(WinSkinMenuTest, GrayedTopLevelItem_ShowsInButtonShadowAndDoesNotOpen) {
    menus_[1]->menuAction()->setEnabled(false);
    TWinSkinMenu* bar = ShowSkinned();
    ASSERT_NE(bar, nullptr);
    TWinSkinForm* form = windows_.FormSkinner(&window_);
    ASSERT_GT(form->FrameSizes().MenuBar, 0);

    // The captions are antialiased: their pixels lean towards red (ButtonShadow, 90 0 90) or
    // towards green (MenuBarText, 0 90 90) over the grey bar.
    const QImage frame = form->RenderFrame();
    const auto leaning = [&](const QRect& rect, bool towardsRed) {
        int count = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor c = frame.pixelColor(x, y);
                if ((towardsRed ? c.red() - c.green() : c.green() - c.red()) > 30) ++count;
            }
        }
        return count;
    };
    EXPECT_GT(leaning(bar->Buttons()[1]->Rect, true), 10);
    EXPECT_EQ(leaning(bar->Buttons()[1]->Rect, false), 0);
    EXPECT_GT(leaning(bar->Buttons()[0]->Rect, false), 10);
    EXPECT_EQ(leaning(bar->Buttons()[0]->Rect, true), 0);

    bar->OpenMenu(*bar->Buttons()[1]);
    EXPECT_EQ(bar->OpenedMenu(), nullptr);
}

TEST_F(WinSkinMenuTest, SwitchOff_GivesTheWindowItsMenuBarBack) {
    ASSERT_NE(ShowSkinned(), nullptr);
    EXPECT_FALSE(window_.menuBar()->isVisible());

    windows_.RunCommand(scSwitchOff, data_);
    EXPECT_TRUE(window_.menuBar()->isVisible());
    ASSERT_EQ(window_.menuBar()->actions().size(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(window_.menuBar()->actions()[i], menus_[i]->menuAction());
}

TEST_F(WinSkinMenuTest, Keyboard_AltLetterF10AndAltAlone_OpenTheBarMenusWithTheFirstItemSelected) {
    TWinSkinMenu* bar = ShowActive();
    ASSERT_NE(bar, nullptr);

    QTest::keyClick(&window_, Qt::Key_W, Qt::AltModifier);
    ASSERT_EQ(bar->OpenedMenu(), menus_[1]) << "Alt+W opens the bar menu \"&WWWW\"";
    QCoreApplication::processEvents();
    EXPECT_EQ(menus_[1]->activeAction(), menus_[1]->actions()[0]);
    QTest::keyClick(menus_[1], Qt::Key_Alt);
    EXPECT_EQ(bar->OpenedMenu(), nullptr) << "Alt closes the open menu";
    QCoreApplication::processEvents();

    QTest::keyClick(&window_, Qt::Key_F10);
    EXPECT_EQ(bar->OpenedMenu(), menus_[0]);
    CloseOpenMenu(*bar);

    QTest::keyClick(&window_, Qt::Key_Alt);
    EXPECT_EQ(bar->OpenedMenu(), menus_[0]) << "Alt pressed and released alone";
    CloseOpenMenu(*bar);
    QTest::keyPress(&window_, Qt::Key_Alt);
    QTest::keyClick(&window_, Qt::Key_Q, Qt::AltModifier);
    QTest::keyRelease(&window_, Qt::Key_Alt);
    EXPECT_EQ(bar->OpenedMenu(), nullptr) << "Alt with another key between is not Alt alone";

    QMenu other;
    other.addAction("another popup");
    other.popup(QPoint(10, 10));
    QTest::keyClick(&window_, Qt::Key_Alt);
    QTest::keyClick(&window_, Qt::Key_F10);
    EXPECT_EQ(bar->OpenedMenu(), nullptr) << "nothing opens while another popup is up";
    other.hide();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window_; }));

    // Right-to-left: the buttons run from the right and the arrows change their sense.
    window_.move(300, 50);
    window_.setLayoutDirection(Qt::RightToLeft);
    EXPECT_GT(bar->Buttons()[0]->Rect.left(), bar->Buttons()[1]->Rect.right());
    QTest::keyClick(&window_, Qt::Key_M, Qt::AltModifier);
    ASSERT_EQ(bar->OpenedMenu(), menus_[0]);
    EXPECT_EQ(menus_[0]->geometry().right(),
              window_.mapToGlobal(bar->Buttons()[0]->Rect.bottomRight()).x())
        << "right-aligned with its button";
    QCoreApplication::processEvents();
    QTest::keyClick(menus_[0], Qt::Key_Left);
    EXPECT_EQ(bar->OpenedMenu(), menus_[1]);
    CloseOpenMenu(*bar);
}

TEST_F(WinSkinMenuTest, Keyboard_LettersOfNoButtonAndItemShortcuts_StayTheWindowsOwn) {
    auto* save = new QPushButton("&Save");
    window_.setCentralWidget(save);
    QSignalSpy saved(save, &QPushButton::clicked);
    QSignalSpy chosen(menus_[2]->actions()[1], &QAction::triggered);
    menus_[2]->actions()[1]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    menus_[0]->menuAction()->setEnabled(false);
    TWinSkinMenu* bar = ShowActive();
    ASSERT_NE(bar, nullptr);

    QTest::keyClick(&window_, Qt::Key_S, Qt::AltModifier);
    // A button's mnemonic clicks it as an animated click.
    EXPECT_TRUE(QTest::qWaitFor([&] { return saved.count() == 1; }, 1000))
        << "the window's own Alt+S";
    QTest::keyClick(&window_, Qt::Key_M, Qt::AltModifier);
    EXPECT_EQ(bar->OpenedMenu(), nullptr) << "a grayed bar item does not open";
    QTest::keyClick(save, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(chosen.count(), 1) << "an item's shortcut works with the bar in the frame";
    EXPECT_EQ(bar->OpenedMenu(), nullptr);
}

TEST_F(WinSkinMenuTest, Keyboard_AltSpace_OpensTheSystemMenuWithGlyphsAtTheClientOrigin) {
    ASSERT_NE(ShowActive(), nullptr);
    TWinSkinForm* form = windows_.FormSkinner(&window_);

    QTest::keyClick(&window_, Qt::Key_Space, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->property("Tag").toInt(), 33333);
    EXPECT_EQ(menu->pos(), window_.mapToGlobal(form->ClientRect().topLeft()));
    QStringList items;
    for (QAction* action : menu->actions()) items << action->text();
    EXPECT_EQ(items, QStringList({"还原(&R)", "移动(&M)", "大小(&S)", "最小化(&N)", "最大化(&X)",
                                  "", "关闭(&C)\tAlt+F4"}));
    for (QAction* action : menu->actions()) {
        const bool glyph = !action->text().startsWith("移动") && !action->text().startsWith("大小");
        EXPECT_TRUE(action->isSeparator() || action->icon().isNull() != glyph)
            << action->text().toStdString();
    }
    EXPECT_TRUE(menu->actions()[1]->isEnabled()) << "move";
    EXPECT_TRUE(menu->actions()[2]->isEnabled()) << "size, for a window of changing size";
    ASSERT_TRUE(menu->actions()[4]->isEnabled()) << "maximise";
    menu->actions()[4]->trigger();
    menu->hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window_.isMaximized(); }, 1000));
}

TEST_F(WinSkinMenuTest, MenuUpdate_ItemsAddedRemovedAndRenamed_ReshapeTheSkinnedBar) {
    TWinSkinMenu* bar = ShowSkinned();
    ASSERT_NE(bar, nullptr);
    QMenu* extra = window_.menuBar()->addMenu("&Extra");
    extra->addAction("Extra item");
    QCoreApplication::processEvents();
    ASSERT_EQ(bar->Buttons().size(), 4u);
    const QRect added = bar->Buttons()[3]->Rect;
    EXPECT_EQ(added.left(), bar->Buttons()[2]->Rect.right() + 1);
    EXPECT_GT(CaptionPixels(added), 10) << "the new button is drawn";
    EXPECT_FALSE(window_.menuBar()->isVisible());

    menus_[0]->setTitle("&A");
    window_.menuBar()->removeAction(extra->menuAction());
    QCoreApplication::processEvents();
    ASSERT_EQ(bar->Buttons().size(), 3u);
    EXPECT_EQ(bar->Buttons()[0]->Caption, "&A");
    EXPECT_EQ(CaptionPixels(added), 0) << "the dropped button is gone from the bar";
    QTest::keyClick(&window_, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(bar->OpenedMenu(), menus_[0]) << "the renamed button's mnemonic";
    CloseOpenMenu(*bar);

    data_.MenuUpdate = false;
    window_.menuBar()->addMenu("&Late");
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->Buttons().size(), 3u) << "MenuUpdate off leaves the bar as it is";

    windows_.RunCommand(scSwitchOff, data_);
    EXPECT_TRUE(window_.menuBar()->isVisible());
    ASSERT_EQ(window_.menuBar()->actions().size(), 4);
    EXPECT_TRUE(window_.actions().isEmpty()) << "the lent menus are taken back";
}

TEST_F(WinSkinMenuTest, MenuUpdate_RebuildUnderTheHotButton_LeavesTheFrameHoldingNoneOfTheOld) {
    TWinSkinMenu* bar = ShowActive();
    ASSERT_NE(bar, nullptr);
    TWinSkinForm* form = windows_.FormSkinner(&window_);
    const QPoint overSecond = bar->Buttons()[1]->Rect.center();
    QTest::mouseMove(&window_, overSecond);
    ASSERT_EQ(form->CurrentObject(), bar->Buttons()[1].get());

    menus_[1]->setTitle("&VVVV");
    QCoreApplication::processEvents();
    ASSERT_EQ(bar->Buttons()[1]->Caption, "&VVVV");
    EXPECT_EQ(form->CurrentObject(), nullptr);
    // The frame's timer, the leave and the next move look at the hot button.
    Settle(300);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&window_, &leave);
    QTest::mouseMove(&window_, overSecond + QPoint(1, 0));
    EXPECT_EQ(form->CurrentObject(), bar->Buttons()[1].get());
    EXPECT_EQ(bar->Buttons()[1]->State, TNCObject::sHot);
}

TEST_F(WinSkinMenuTest, MenuUpdate_ABarWithoutItems_StaysTheWindowsUntilItGetsOne) {
    QMainWindow window;
    window.menuBar();
    window.resize(400, 300);
    window.show();
    TWinSkinForm* form = Skin(window);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(window.menuBar()->isVisible());
    EXPECT_EQ(form->FrameSizes().MenuBar, 0);

    window.menuBar()->addMenu("&File")->addAction("Open");
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.menuBar()->isVisible());
    EXPECT_GT(form->FrameSizes().MenuBar, 0);
    ASSERT_NE(form->Menu(), nullptr);
    EXPECT_EQ(form->Menu()->Buttons().size(), 1u);
}

// The MenuItem element of the test skin has a left margin of 7.
class WinSkinPopMenuTest : public SkinFixture {
  protected:
    void SetUp() override {
        LoadSkin(TestSkinFile({},
                              "[MenuItem]\r\nImage=buttons.bmp\r\nLeftWidth=7\r\n"
                              "TopHeight=2\r\nRightWidth=2\r\nBottomHeight=2\r\n"));
    }

    // The menu's width while skinned, and after skinning went off with the menu still open.
    std::pair<int, int> SkinnedAndAfter(QMenu& menu) {
        menu.popup(QPoint(100, 100));
        QCoreApplication::processEvents();
        const int skinned = menu.width();
        windows_.RunCommand(scSwitchOff, data_);
        QCoreApplication::processEvents();
        const int after = menu.width();
        menu.hide();
        manager_.SetSkinningOn(true);
        return {skinned, after};
    }
};

TEST_F(WinSkinPopMenuTest, ItemWidth_GrowsByTheOwnerDrawnRuleAndComesBackOnSwitchOff) {
    QMenu plain;
    plain.addAction("Open the timetable\tCtrl+O");
    plain.addMenu("Recent")->addAction("one");
    const int stockPlain = plain.sizeHint().width();
    const auto [plainSkinned, plainAfter] = SkinnedAndAfter(plain);
    EXPECT_EQ(plainSkinned, stockPlain + 7 + 12 + 23) << "no icons";
    EXPECT_EQ(plainAfter, stockPlain);

    QMenu icons;
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    icons.addAction(QIcon(pixmap), "Open the timetable");
    icons.addAction("Save");
    const int stockIcons = icons.sizeHint().width();
    EXPECT_EQ(SkinnedAndAfter(icons).first, stockIcons + 7 + 12) << "with icons";

    QMenu own;
    auto* item = new QWidgetAction(&own);
    auto* label = new QLabel("sized by its widget");
    label->setFixedWidth(240);
    item->setDefaultWidget(label);
    own.addAction(item);
    const int stockOwn = own.sizeHint().width();
    EXPECT_EQ(SkinnedAndAfter(own).first, stockOwn) << "an item that sizes itself keeps its size";

    // A right-to-left menu grows to the left: its right edge stays where it was placed.
    QMenu rightToLeft;
    rightToLeft.setLayoutDirection(Qt::RightToLeft);
    rightToLeft.addAction("Right to left");
    const int stockRightToLeft = rightToLeft.sizeHint().width();
    rightToLeft.popup(QPoint(500, 100));
    QCoreApplication::processEvents();
    EXPECT_EQ(rightToLeft.width(), stockRightToLeft + 7 + 12 + 23);
    EXPECT_EQ(rightToLeft.geometry().right(), 500 + stockRightToLeft - 1);
    rightToLeft.hide();

    QMenu styled;
    QProxyStyle measuring("fusion");
    styled.setStyle(&measuring);
    styled.addAction("Measured by the application");
    const int stockStyled = styled.sizeHint().width();
    EXPECT_EQ(SkinnedAndAfter(styled).first, stockStyled) << "a menu with its own style";
    EXPECT_EQ(styled.style(), &measuring);
}

}  // namespace
}  // namespace vardo::test
