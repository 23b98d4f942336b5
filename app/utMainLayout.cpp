// The main window's panels and controls, placed as the form designer placed them.
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include "FormGlyphs.h"
#include "MyDelay.h"
#include "MyPanel.h"
#include "MyShape.h"
#include "MyTransBtnOld.h"
#include "TaskGridView.h"
#include "TaskTableModel.h"
#include "utMain.h"

namespace vardo {

namespace {

constexpr int kPanelWidth = 792;
constexpr int kTimeFieldWidth = 64;
constexpr int kStatusPanelWidths[] = {300, 64, 240, 68, 50};
// The header is a light blue on which the maroon clock and the white outlined weekday both read;
// the status strip is cream.
constexpr TColor kHeaderColor = RGBColor(206, 220, 238);
constexpr TColor kStatusStripColor = RGBColor(255, 251, 230);

// A named control at its place with its hint.
template <typename Control>
Control* Place(Control* control, const char* name, QRect geometry, const QString& hint) {
    control->setObjectName(name);
    control->setGeometry(geometry);
    control->setToolTip(hint);
    return control;
}

TMyPanel* MakePanel(QWidget* parent, const char* name, QRect geometry,
                    TMyPanel::TPanelShape shape) {
    auto* panel = Place(new TMyPanel(parent), name, geometry, {});
    panel->SetPanelShape(shape);
    return panel;
}

// A command button: a mono frame around its caption.
TTransparentButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                               QRect geometry, const QString& hint = {}) {
    auto* button = Place(new TTransparentButton(parent), name, geometry, hint);
    button->SetCaption(caption);
    button->SetFrameStyle(TTransparentButton::fsMono);
    return button;
}

// A header button: a 32 x 32 glyph without frame or caption.
TTransparentButton* MakeGlyphButton(QWidget* parent, const char* name, const QImage& glyph,
                                    QPoint at, const QString& hint) {
    auto* button = Place(new TTransparentButton(parent), name, QRect(at, QSize(32, 32)), hint);
    button->SetFrameStyle(TTransparentButton::fsNone);
    button->SetGlyph(glyph);
    return button;
}

// A start or stop button: the two-cell glyph right of the caption.
void AddPlayGlyph(TTransparentButton& button, const QImage& glyph) {
    button.SetGlyph(glyph);
    button.SetSpacing(4);
    button.SetTextAlign(TTransparentButton::ttaLeft);
}

QLabel* MakeLabel(QWidget* parent, const QString& caption, QRect geometry, const char* name = "") {
    return Place(new QLabel(caption, parent), name, geometry, {});
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect geometry, const QString& hint = {}) {
    return Place(new QLineEdit(parent), name, geometry, hint);
}

// A check box or radio button.
template <typename Choice>
Choice* MakeChoice(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                   const QString& hint = {}) {
    return Place(new Choice(caption, parent), name, geometry, hint);
}

// An empty field shows "__:__:__".
QLineEdit* MakeTimeEdit(QWidget* parent, const char* name, QRect geometry) {
    QLineEdit* edit = MakeEdit(parent, name, geometry);
    edit->setInputMask("99:99:99;_");
    return edit;
}

// The clock's face at its design size, or smaller where a face is wider than the one the fields
// were drawn for (the seven-segment one is), so that the longest date and time stay whole.
QFont FittingClockFont(QFont font, const QRect& date, const QRect& time) {
    const auto fits = [&font](const QString& widest, const QRect& field) {
        return QFontMetrics(font).horizontalAdvance(widest) <= field.width() - 4;
    };
    while (font.pixelSize() > 12 &&
           !(fits(QStringLiteral("8888-88-88"), date) && fits(QStringLiteral("88:88:88"), time)))
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

}  // namespace

void TFrmMain::BuildTopPanel() {
    MyPanel1 = MakePanel(this, "MyPanel1", {0, 0, kPanelWidth, 42}, TMyPanel::ps3DButtonUp);
    MyPanel1->SetColor(kHeaderColor);
    const QColor header = ColorToQColor(kHeaderColor);
    btnSetup =
        MakeGlyphButton(MyPanel1, "btnSetup", SetupGlyph(header), {6, 5}, tr("系统参数设置"));

    // The face of the program folder's Digirtu_.ttf, else the free seven-segment one (Debian
    // package fonts-dseg, or that font as Digirtu_.ttf), else whatever the system substitutes.
    QFont clockFont;
    clockFont.setFamilies({"Digital Readout Thick Upright", "DSEG7 Classic"});
    clockFont.setPixelSize(35);
    clockFont.setItalic(true);
    QPalette maroon = palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    shpDate = MakeLabel(MyPanel1, {}, {120, 2, 240, 38}, "shpDate");
    shpTime = MakeLabel(MyPanel1, {}, {380, 2, 180, 38}, "shpTime");
    clockFont = FittingClockFont(clockFont, shpDate->geometry(), shpTime->geometry());
    for (QLabel* label : {shpDate, shpTime}) {
        label->setFont(clockFont);
        label->setPalette(maroon);
        label->setAlignment(Qt::AlignCenter);
    }
    lbWeek = Place(new TMyShape(MyPanel1), "lbWeek", {580, 2, 120, 38}, {});
    lbWeek->SetFontColor(clWhite);
    lbWeek->SetFontSize(26);
    btnExit = MakeGlyphButton(MyPanel1, "btnExit", ExitGlyph(header), {754, 5}, tr("退出程序"));
}

void TFrmMain::BuildFieldPanel() {
    MyPanel6 = MakePanel(this, "MyPanel6", {0, 42, kPanelWidth, 145}, TMyPanel::ps3DPanel);
    MyPanel6->setEnabled(false);

    MakeLabel(MyPanel6, tr("程序任务说明："), {8, 8, 100, 24});
    edName = MakeEdit(MyPanel6, "edName", {108, 6, 676, 26});
    QFont large = edName->font();
    large.setPixelSize(18);
    edName->setFont(large);

    MakeLabel(MyPanel6, tr("应用程序文件："), {8, 40, 100, 22});
    edApp = MakeEdit(MyPanel6, "edApp", {108, 40, 280, 22}, tr("鼠标双击：可打开应用程序选择窗口"));
    MakeLabel(MyPanel6, tr("运行参数列表："), {400, 40, 100, 22});
    edPara = MakeEdit(MyPanel6, "edPara", {500, 40, 284, 22},
                      tr("鼠标双击：可打开文件选择窗口(如果需要选择文件作为参数的话)"));

    MakeLabel(MyPanel6, tr("应用程序标题："), {8, 68, 100, 22});
    edTitle = MakeEdit(MyPanel6, "edTitle", {108, 68, 280, 22});
    chkAppend = MakeChoice<QCheckBox>(MyPanel6, "chkAppend", tr("参数添加到原参数后面"),
                                      {500, 68, 284, 22});

    Label3 = MakeLabel(MyPanel6, tr("任务启动时间："), {8, 96, 100, 22}, "Label3");
    edSTime = MakeTimeEdit(MyPanel6, "edSTime", {108, 96, kTimeFieldWidth, 22});
    Label4 = MakeLabel(MyPanel6, tr("任务结束时间："), {190, 96, 100, 22}, "Label4");
    edETime = MakeTimeEdit(MyPanel6, "edETime", {290, 96, kTimeFieldWidth, 22});
    for (QLabel* label : {Label3, Label4}) label->setToolTip(tr("鼠标双击清除时间"));
    MakeLabel(MyPanel6, tr("提示时长："), {372, 96, 70, 22});
    edTLen = MakeTimeEdit(MyPanel6, "edTLen", {442, 96, kTimeFieldWidth, 22});

    MakeLabel(MyPanel6, tr("程序窗口所处显示器："), {8, 122, 130, 20});
    cbMonitor = new QComboBox(MyPanel6);
    cbMonitor->setObjectName("cbMonitor");
    cbMonitor->setGeometry(138, 120, 50, 22);
    edExclusive =
        MakeChoice<QCheckBox>(MyPanel6, "edExclusive", tr("排它运行"), {210, 122, 90, 20});
    chkSize = MakeChoice<QCheckBox>(MyPanel6, "chkSize", tr("维持窗口大小"), {310, 122, 110, 20});
    rbMax = MakeChoice<QRadioButton>(MyPanel6, "rbMax", tr("最大"), {430, 122, 60, 20},
                                     tr("应用程序窗口最大化"));
    rbNone = MakeChoice<QRadioButton>(MyPanel6, "rbNone", tr("无"), {500, 122, 60, 20},
                                      tr("应用程序窗口不显示"));
}

void TFrmMain::BuildCommandPanel() {
    MyPanel4 = MakePanel(this, "MyPanel4", {0, 187, kPanelWidth, 379}, TMyPanel::ps3DFrame);

    struct Command {
        TTransparentButton*& button;
        const char* name;
        const char* caption;
        int width;
    };
    const Command commands[] = {
        {btnEdit, "btnEdit", QT_TR_NOOP("进入编辑状态"), 92},
        {btnAdd, "btnAdd", QT_TR_NOOP("增加"), 48},
        {btnCopyAdd, "btnCopyAdd", QT_TR_NOOP("复制增加"), 64},
        {btnInsert, "btnInsert", QT_TR_NOOP("插入"), 48},
        {btnCopyInsert, "btnCopyInsert", QT_TR_NOOP("复制插入"), 64},
        {btnDel, "btnDel", QT_TR_NOOP("删除"), 48},
        {btnCancel, "btnCancel", QT_TR_NOOP("取消"), 48},
        {btnSave, "btnSave", QT_TR_NOOP("保存"), 48},
        {btnSaveas, "btnSaveas", QT_TR_NOOP("另存为"), 56},
        {btnOpenTask, "btnOpenTask", QT_TR_NOOP("打开指定任务计划表"), 124},
        {btnPlayFlash, "btnPlayFlash", QT_TR_NOOP("启动"), 56},
        {btnStopFlash, "btnStopFlash", QT_TR_NOOP("停止"), 56},
    };
    int left = 7;
    for (const Command& command : commands) {
        command.button =
            MakeButton(MyPanel4, command.name, tr(command.caption), {left, 4, command.width, 24});
        left += command.width + 2;
    }
    btnEdit->setToolTip(tr("！进入任务表编辑状态，将停止扫描检查任务表。退出时，恢复检查！"));
    btnPlayFlash->setToolTip(tr("人工启动指定程序"));
    btnStopFlash->setToolTip(tr("手动结束指定程序"));
    const QColor face = ColorToQColor(MyPanel4->Color());
    AddPlayGlyph(*btnPlayFlash, PlayGlyph(face));
    AddPlayGlyph(*btnStopFlash, StopGlyph(face));

    MyPanel5 = MakePanel(MyPanel4, "MyPanel5", {7, 32, 778, 24}, TMyPanel::psNormal);
    MyPanel5->SetBevelOuter(TMyPanel::bvLowered);
    MyPanel5->SetColor(kStatusStripColor);
    MyPanel5->SetAlignmentHorz(TMyPanel::taLeftJustify);
    MyPanel5->SetCaption(tr("  正在播放：无"));

    sgJM = new TaskGridView(*model_, MyPanel4);
    sgJM->setObjectName("sgJM");
    sgJM->setGeometry(7, 58, 778, 206);

    ListBox2 = new QPlainTextEdit(MyPanel4);
    ListBox2->setObjectName("ListBox2");
    ListBox2->setReadOnly(true);
    ListBox2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ListBox2->setToolTip(tr("任务运行历史数据"));
    ListBox2->setGeometry(7, 266, 778, 92);

    StatusBar2 = new QStatusBar(MyPanel4);
    StatusBar2->setObjectName("StatusBar2");
    StatusBar2->setSizeGripEnabled(false);
    StatusBar2->setGeometry(0, 359, kPanelWidth, 20);
    QPalette navy = StatusBar2->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    for (const int width : kStatusPanelWidths) {
        auto* panel = new QLabel(StatusBar2);
        panel->setFixedWidth(width);
        panel->setPalette(navy);
        StatusBar2->addWidget(panel);
        statusPanels_.push_back(panel);
    }
    lbWindowsUnavailable = new QLabel(tr("窗口定位不可用"), StatusBar2);
    lbWindowsUnavailable->setObjectName("lbWindowsUnavailable");
    lbWindowsUnavailable->setToolTip(
        tr("无法连接 X 显示服务：任务照常启动和结束，但不能查找和放置其窗口"));
    lbWindowsUnavailable->setPalette(navy);
    StatusBar2->addWidget(lbWindowsUnavailable);
    lbWindowsUnavailable->hide();
    statusPanels_[1]->setText(tr(" 任务说明"));
    statusPanels_[2]->setText(tr(" 节目表状态：运行播出检查"));
    SetEditControls(false);
}

void TFrmMain::BuildDiagnosticPanel() {
    ListBox1 = new QPlainTextEdit(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setReadOnly(true);
    ListBox1->hide();
    Panel1 = Place(new QFrame(this), "Panel1", {0, 0, 200, 32}, {});
    MyEnumWindow =
        Place(new QPushButton("MyEnumWindow", Panel1), "MyEnumWindow", {2, 2, 96, 28}, {});
    MyGetWindow =
        Place(new QPushButton("MyGetWindow", Panel1), "MyGetWindow", {100, 2, 96, 28}, {});
    Panel1->hide();

    MyDelay1 = new TMyDelay(this);
    MyDelay1->setObjectName("MyDelay1");
    MyDelay1->SetInterval(1000);
}

}  // namespace vardo
