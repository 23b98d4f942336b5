// The main window's skin component sd1, and what the operator sees of the skin switching.
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QStatusBar>

#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinFrame.h"
#include "WinSubClass.h"
#include "utMain.h"

namespace vardo {

namespace {
// As the skin component's own commands.
constexpr int kSkinCommandDelay = 250;

// What the operator is told about a skin that lacks elements, and what the windows do instead.
QString SkinGapText(const TSkinGaps& gaps) {
    QStringList missing;
    if (gaps.Edges) missing << QCoreApplication::translate("vardo::TFrmMain", "窗口边框");
    if (gaps.CloseButton) missing << QCoreApplication::translate("vardo::TFrmMain", "关闭按钮");
    if (gaps.Buttons) missing << QCoreApplication::translate("vardo::TFrmMain", "按钮图像");
    return QCoreApplication::translate("vardo::TFrmMain", "皮肤不完整，缺少%1")
        .arg(missing.join(QCoreApplication::translate("vardo::TFrmMain", "、")));
}

QString SkinGapHint(const TSkinGaps& gaps) {
    if (gaps.FrameUnusable()) {
        return QCoreApplication::translate("vardo::TFrmMain",
                                           "窗口保留系统的标题栏和边框，可照常移动和关闭");
    }
    return QCoreApplication::translate("vardo::TFrmMain", "按钮按系统样式显示");
}
}  // namespace

void TFrmMain::CreateSkinComponent() {
    sd1 = new TSkinData(this);
    TSkinWindows::Of(sd1->Manager());
    sd1->setObjectName("sd1");
    sd1->DisableTag = 99;
    sd1->SkinFormtype = sfMainform;
    sd1->MenuUpdate = true;
    sd1->MenuMerge = false;
    sd1->Options = {};
    sd1->SkinControls.Exclude(xcPanel);
    // The program's own components: the panels paint their own faces, and the shapes and
    // transparent buttons draw themselves. Group boxes are skinned as group boxes, not as the
    // panels that stay plain.
    sd1->Skin3rd =
        DefaultSkin3rd() + QStringList{"TMyPanel=panel", "TMyShape=nil", "TMyTransBtn=nil",
                                       "TTransparentButton=nil", "QGroupBox=groupbox"};
    sd1->Loaded();

    lbSkinProblem = new QLabel(StatusBar2);
    lbSkinProblem->setObjectName("lbSkinProblem");
    lbSkinProblem->setPalette(StatusBar2->palette());
    StatusBar2->addWidget(lbSkinProblem);
    lbSkinProblem->hide();
}

// The first switch-on of the process only sets the manager's switch, so each window would take
// the skin when it is next activated; the operator's choice goes to every open window at once.
void TFrmMain::SwitchSkin(bool on, const QString& skinFile) {
    sd1->SetActive(false);
    if (!on) return;
    sd1->SetSkinFile(skinFile);
    const QString problem = sd1->LoadError();
    sd1->SetActive(true);
    ShowSkinProblem(problem);
    if (sd1->Active()) sd1->Manager().Command(scSwitchOn, kSkinCommandDelay, *sd1);
    update();
}

// A skin that failed to load, or that lacks elements, is named in the status bar; the windows
// keep their plain look for what is missing.
void TFrmMain::ShowSkinProblem(const QString& loadError) {
    const TSkinGaps gaps = sd1->SkinReady() ? SkinGapsOf(sd1->Model()) : TSkinGaps{};
    if (!loadError.isEmpty()) {
        lbSkinProblem->setText(tr("皮肤未能载入"));
        lbSkinProblem->setToolTip(loadError);
    } else if (gaps.Any()) {
        lbSkinProblem->setText(SkinGapText(gaps));
        lbSkinProblem->setToolTip(SkinGapHint(gaps));
    }
    lbSkinProblem->setVisible(!loadError.isEmpty() || gaps.Any());
}

void TFrmMain::SwitchSkinAtStartUp() {
    sd1->SetActive(FrmSetup->chktskn->isChecked());
}

}  // namespace vardo
