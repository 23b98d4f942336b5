#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "SkinFixture.h"
#include "WinSkinMenu.h"

namespace vardo::test {
namespace {

class WinSkinMenuTest : public SkinFixture {
  protected:
    void SetUp() override {
        LoadSkin(TestSkinFile({}, "[Colours]\r\nButtonShadow=90 0 90\r\nMenuBarText=0 90 90\r\n"));
        window_.resize(400, 300);
        for (const char* title : {"MMMM", "WWWW", "HHHH"}) {
            QMenu* menu = window_.menuBar()->addMenu(title);
            menu->addAction(QString(title) + " item");
            menus_.push_back(menu);
        }
    }

    TWinSkinMenu* ShowSkinned() {
        window_.show();
        TWinSkinForm* form = Skin(window_);
        return form ? form->Menu() : nullptr;
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

}  // namespace
}  // namespace vardo::test
