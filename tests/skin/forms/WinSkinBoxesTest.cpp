#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include "BoxesTestSkin.h"
#include "SkinFixture.h"
#include "WinSkinBoxes.h"
#include "WinSkinButtons.h"

namespace vardo::test {
namespace {

// A group box class of its own, which the skin's third-party list can name.
class RadioGroup final : public QGroupBox {
    Q_OBJECT
  public:
    using QGroupBox::QGroupBox;
};

// A panel of ours with its own colour, as the program's panels have.
class ColouredPanel final : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("ControlKind", "panel")
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
  public:
    using QWidget::QWidget;
    quint32 Color() const { return color_; }
    void SetColor(quint32 color) { color_ = color; }

  private:
    quint32 color_ = 0x123456;
};

const QColor kFace{1, 2, 3};
const QColor kText{4, 5, 6};
const std::string kFaceIni = "[Colours]\r\nButtonFace=1 2 3\r\nWindowText=4 5 6\r\n";

class WinSkinBoxesTest : public SkinFixture {
  protected:
    WinSkinBoxesTest() { window_.resize(400, 300); }

    void SetUp() override { LoadSkin(BoxesTestSkinFile(kFaceIni)); }

    TWinSkinForm* ShowSkinned() {
        window_.show();
        return Skin(window_);
    }

    // The skinner the window's form skinner gave control, as class T (null when none or other).
    template <typename T>
    T* SkinnerOf(TWinSkinForm* form, QWidget* control) {
        return form ? qobject_cast<T*>(form->ControlSkinner(control)) : nullptr;
    }

    static QColor At(QWidget& control, QPoint point) {
        return control.grab().toImage().pixelColor(point);
    }

    QWidget window_;
};

// ---- group boxes -------------------------------------------------------------------------------

TEST_F(WinSkinBoxesTest, GroupBox_SkinnedAsPanelByClassAndAsGroupBoxThroughTheList) {
    auto* plain = new QGroupBox("Plain", &window_);
    auto* listed = new RadioGroup("Listed", &window_);
    auto* radio = new QRadioButton("One", listed);
    data_.SkinControls.Exclude(xcPanel);
    data_.SkinControls.Exclude(xcGroupBox);
    data_.Skin3rd << "RadioGroup=radiogroup";
    TWinSkinForm* form = ShowSkinned();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->ControlSkinner(plain), nullptr) << "a group box by class needs xcPanel";
    EXPECT_EQ(form->ControlSkinner(listed), nullptr) << "a radio group needs xcGroupBox";
    EXPECT_NE(SkinnerOf<TSkinRadioButton>(form, radio), nullptr) << "still a radio button";

    windows_.RunCommand(scSwitchOff, data_);
    data_.SkinControls.Include(xcGroupBox);
    form = Skin(window_);
    EXPECT_EQ(form->ControlSkinner(plain), nullptr) << "xcGroupBox does not serve the class row";
    EXPECT_NE(SkinnerOf<TSkinGroupBox>(form, listed), nullptr);
    EXPECT_EQ(form->ControlSkinner(radio), nullptr) << "the group skins its own buttons";
    EXPECT_TRUE(AnswersSkinned(radio));

    windows_.RunCommand(scSwitchOff, data_);
    EXPECT_FALSE(AnswersSkinned(radio));
    data_.SkinControls.Include(xcPanel);
    data_.SkinControls.Exclude(xcGroupBox);
    form = Skin(window_);
    EXPECT_NE(SkinnerOf<TSkinGroupBox>(form, plain), nullptr);
    EXPECT_EQ(form->ControlSkinner(listed), nullptr) << "the list's row wins over the class row";
}

TEST_F(WinSkinBoxesTest, GroupBox_DrawsEdgeAndPlateAndKeepsAWorkingCheckBox) {
    auto* box = new QGroupBox("Options", &window_);
    box->setGeometry(10, 10, 200, 120);
    box->setCheckable(true);
    box->setChecked(false);
    ASSERT_NE(SkinnerOf<TSkinGroupBox>(ShowSkinned(), box), nullptr);

    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls =
        QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxCheckBox | QStyle::SC_GroupBoxLabel;
    const auto part = [&](QStyle::SubControl sub) {
        return box->style()->subControlRect(QStyle::CC_GroupBox, &option, sub, box);
    };
    const QRect frame = part(QStyle::SC_GroupBoxFrame);
    const QRect check = part(QStyle::SC_GroupBoxCheckBox);
    const QRect label = part(QStyle::SC_GroupBoxLabel);
    const QPoint leftEdge(frame.left() + 1, frame.center().y());
    EXPECT_EQ(At(*box, leftEdge), kGroupEdge);
    EXPECT_EQ(At(*box, QPoint(frame.right() - 1, frame.bottom() - 1)), kGroupEdge);
    EXPECT_EQ(At(*box, frame.center()), kFace) << "the window's face shows inside the edge";
    EXPECT_EQ(At(*box, QPoint(label.right() + 1, label.top())), kGroupPlate)
        << "the plate reaches past the title";
    EXPECT_EQ(At(*box, check.center()), QColor(20, 100, 0)) << "check image, unchecked";

    QTest::mouseClick(box, Qt::LeftButton, {}, check.center());
    EXPECT_TRUE(box->isChecked()) << "the box takes the click where the glyph is drawn";
    EXPECT_EQ(At(*box, check.center()), QColor(100, 100, 0)) << "checked: frame 5 of 12";

    box->setEnabled(false);
    EXPECT_EQ(At(*box, leftEdge), kGroupEdgeDisabled);
}

// ---- tabs --------------------------------------------------------------------------------------

TEST_F(WinSkinBoxesTest, Tabs_DrawEachStateAndStillSwitchPages) {
    auto* tabs = new QTabWidget(&window_);
    tabs->setGeometry(10, 10, 360, 200);
    auto* first = new QWidget;
    auto* second = new QWidget;
    tabs->addTab(first, "First");
    tabs->addTab(second, "Second");
    tabs->addTab(new QWidget, "Third");
    tabs->addTab(new QWidget, "Fourth");
    tabs->setTabEnabled(3, false);
    QTabBar* bar = tabs->tabBar();
    bar->setFocusPolicy(Qt::StrongFocus);
    TWinSkinForm* form = ShowSkinned();
    ASSERT_NE(SkinnerOf<TSkinTab>(form, tabs), nullptr);
    ASSERT_NE(SkinnerOf<TSkinTab>(form, bar), nullptr);

    const auto tabColour = [&](int index) { return At(*bar, bar->tabRect(index).topLeft()); };
    EXPECT_EQ(tabColour(0), kTabFrames[1]) << "selected";
    EXPECT_EQ(tabColour(1), kTabFrames[0]) << "normal";
    EXPECT_EQ(tabColour(3), kTabFrames[2]) << "disabled";
    const QPoint paneCorner = bar->geometry().bottomRight() + QPoint(10, 10);
    EXPECT_EQ(At(*tabs, paneCorner), kPane);

    QTest::mouseMove(bar, bar->tabRect(2).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(tabColour(2), kTabFrames[3]) << "under the mouse";

    QApplication::setActiveWindow(&window_);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(tabs->currentWidget(), second);
    EXPECT_EQ(tabColour(1), kTabFrames[4]) << "selected, the click gave the bar the focus";
    EXPECT_EQ(tabColour(0), kTabFrames[0]);

    QTest::keyClick(bar, Qt::Key_Left);
    EXPECT_EQ(tabs->currentWidget(), first) << "the keys still switch pages";
    EXPECT_EQ(tabColour(0), kTabFrames[4]);
    bar->clearFocus();
    EXPECT_EQ(tabColour(0), kTabFrames[1]);
}

// ---- progress bars -----------------------------------------------------------------------------

// The share of the bar's inner length, along its middle, that shows the chunk colour.
double ChunkShare(QProgressBar& bar) {
    const QImage image = bar.grab().toImage();
    const bool horizontal = bar.orientation() == Qt::Horizontal;
    const int length = (horizontal ? image.width() : image.height()) - 2 * kTroughMargin;
    int chunk = 0;
    for (int i = kTroughMargin; i < kTroughMargin + length; ++i) {
        const QPoint at = horizontal ? QPoint(i, image.height() / 2) : QPoint(image.width() / 2, i);
        if (image.pixelColor(at) == kChunk) ++chunk;
    }
    return static_cast<double>(chunk) / length;
}

TEST_F(WinSkinBoxesTest, Progress_FillsTheDoneShareWithChunksBothWays) {
    auto* across = new QProgressBar(&window_);
    across->setGeometry(10, 10, 204, 20);
    across->setTextVisible(false);
    auto* upright = new QProgressBar(&window_);
    upright->setOrientation(Qt::Vertical);
    upright->setGeometry(250, 10, 20, 104);
    upright->setTextVisible(false);
    TWinSkinForm* form = ShowSkinned();
    ASSERT_NE(SkinnerOf<TSkinProgress>(form, across), nullptr);

    for (QProgressBar* bar : {across, upright}) {
        for (int percent : {0, 50, 100}) {
            bar->setValue(percent);
            EXPECT_DOUBLE_EQ(ChunkShare(*bar), percent / 100.0)
                << (bar == across ? "horizontal " : "vertical ") << percent << " %";
        }
    }
    EXPECT_EQ(At(*across, QPoint(0, 0)), kTrough);
    upright->setValue(50);
    EXPECT_EQ(At(*upright, QPoint(10, 90)), kChunk) << "a vertical bar fills from the bottom";
    EXPECT_EQ(At(*upright, QPoint(10, 20)), kTrough);
}

// ---- panels ------------------------------------------------------------------------------------

TEST_F(WinSkinBoxesTest, Panels_TakeTheSkinBackgroundOnlyWithPanelsAndGiveItBack) {
    auto* frame = new QFrame(&window_);
    frame->setGeometry(10, 10, 150, 100);
    QPalette red = frame->palette();
    red.setColor(QPalette::Window, Qt::red);
    frame->setPalette(red);
    frame->setAutoFillBackground(true);
    auto* button = new QPushButton("In", frame);
    button->setGeometry(10, 10, 60, 24);
    auto* panel = new ColouredPanel(&window_);
    auto* embedded = new QDialog(&window_);
    embedded->setWindowFlags(Qt::Widget);
    auto* tools = new QToolBar(&window_);
    tools->setGeometry(10, 200, 150, 30);
    data_.Options = {};
    embedded->setGeometry(200, 10, 100, 100);
    data_.SkinControls.Exclude(xcPanel);
    TWinSkinForm* form = ShowSkinned();
    EXPECT_EQ(form->ControlSkinner(frame), nullptr);
    EXPECT_NE(form->ControlSkinner(button), nullptr) << "the children of a plain panel";
    EXPECT_EQ(At(*frame, QPoint(140, 90)), QColor(Qt::red));
    EXPECT_NE(SkinnerOf<TSkinBox>(form, embedded), nullptr) << "an embedded form in any case";
    ASSERT_NE(SkinnerOf<TSkinBoxH>(form, tools), nullptr);
    EXPECT_EQ(At(*tools, QPoint(140, 15)), kFace)
        << "ButtonFace without the tool bar background option";

    windows_.RunCommand(scSwitchOff, data_);
    data_.SkinControls.Include(xcPanel);
    form = Skin(window_);
    EXPECT_NE(SkinnerOf<TSkinBox>(form, frame), nullptr);
    EXPECT_NE(form->ControlSkinner(button), nullptr);
    EXPECT_EQ(At(*frame, QPoint(140, 90)), kFace);
    EXPECT_EQ(frame->palette().color(QPalette::WindowText), kText);
    ASSERT_NE(SkinnerOf<TSkinBox>(form, panel), nullptr);
    EXPECT_EQ(ColorToQColor(panel->Color()), kFace);

    windows_.RunCommand(scSwitchOff, data_);
    EXPECT_EQ(At(*frame, QPoint(140, 90)), QColor(Qt::red)) << "its own colour again";
    EXPECT_EQ(panel->Color(), 0x123456u);
    EXPECT_FALSE(AnswersSkinned(frame));
}

}  // namespace
}  // namespace vardo::test

#include "WinSkinBoxesTest.moc"
