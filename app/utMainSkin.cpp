// The main window's skin component sd1, and what the operator sees of the skin switching.
#include <QCheckBox>
#include <QLabel>
#include <QStatusBar>

#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSubClass.h"
#include "utMain.h"

namespace vardo {

namespace {
// As the skin component's own commands.
constexpr int kSkinCommandDelay = 250;
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

    lbSkinProblem = new QLabel("皮肤未能载入", StatusBar2);
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
    lbSkinProblem->setToolTip(problem);
    lbSkinProblem->setVisible(!problem.isEmpty());
    if (sd1->Active()) sd1->Manager().Command(scSwitchOn, kSkinCommandDelay, *sd1);
    update();
}

void TFrmMain::SwitchSkinAtStartUp() {
    sd1->SetActive(FrmSetup->chktskn->isChecked());
}

}  // namespace vardo
