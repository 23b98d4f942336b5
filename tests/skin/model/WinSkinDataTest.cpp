#include "SkinManage.h"
#include "SkinModelSupport.h"
#include "TempFolder.h"
#include "WinSkinData.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace vardo {
namespace {

// Records the commands the manager hands to the window side.
class RecordingWindowSide : public TSkinWindowSide {
  public:
    void InstallHook() override { ++hooks; }
    void RunCommand(int kind, TSkinData&, QObject*) override { commands.push_back(kind); }
    void SkinOwnerForm(TSkinData&) override { ++ownerForms; }

    int hooks = 0;
    int ownerForms = 0;
    std::vector<int> commands;
};

QString ShippedSkin(const char* name) {
    return QStringLiteral(VARDO_SKINS_DIR "/") + QLatin1String(name) + QStringLiteral(".skn");
}

// Runs vardo-skin; its standard output, and the exit status through status.
QString RunSkinTool(const QStringList& arguments, int& status) {
    QProcess tool;
    tool.start(QStringLiteral(VARDO_SKIN_TOOL), arguments);
    if (!tool.waitForFinished(30000)) {
        status = -1;
        return tool.errorString();
    }
    status = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    return QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
}

class SkinDataTest : public ::testing::Test {
  protected:
    SkinDataTest() { manager.SetWindowSide(&side); }

    // A component set up as the main window's is.
    std::unique_ptr<TSkinData> MainFormSkin(bool active = false) {
        auto data = std::make_unique<TSkinData>(nullptr, &manager);
        data->SetActive(active);
        data->OnSkinChanged = [this] { ++skinChanged; };
        return data;
    }

    // Lets the pending command's timer run out.
    void RunPendingCommand() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !manager.CommandTimerActive(); }, 5000));
    }

    test::TempFolder folder;
    TSkinManage manager;
    RecordingWindowSide side;
    int skinChanged = 0;
};

TEST_F(SkinDataTest, EachShippedSkinLoadsIntoACompleteModel) {
    for (const char* name : {"Console", "Daylight", "Contrast"}) {
        SCOPED_TRACE(name);
        auto data = MainFormSkin();
        data->Loaded();
        data->SetSkinFile(ShippedSkin(name));
        ASSERT_TRUE(data->SkinReady()) << qPrintable(data->LoadError());
        const TSkinModel& m = data->Model();
        EXPECT_EQ(m.SkinName, QLatin1String(name));
        // Every element the painters use is present, and its image divides into its frames.
        const TDataSkinObject* optional[] = {
            m.Progress.get(),        m.ProgressChunk.get(),   m.MenuBar.get(),
            m.GroupBoxEdge.get(),    m.GroupBox.get(),        m.Tabs.get(),
            m.StatusBarEdges.get(),  m.TabPane.get(),         m.ToolBars.get(),
            m.ComboButton.get(),     m.SunkEdge.get(),        m.ExtraImages.get(),
            m.Headerbar.get(),       m.MenuItem.get(),        m.MenuBackground.get(),
            m.Scrollbar.get(),       m.HorzScroll.get(),      m.VertScroll.get(),
            m.HorzScrollThumb.get(), m.VertScrollThumb.get(), m.UpDownHorz.get(),
            m.UpDownVert.get(),      m.Track.get(),           m.TrackVert.get(),
            m.ComboArrow.get(),      m.Toolbar.get()};
        for (const TDataSkinObject* e : optional) ASSERT_NE(e, nullptr);
        for (const auto& thumb : m.TrackBarThumbs) ASSERT_NE(thumb, nullptr);
        for (const TDataSkinObject* e : m.Elements()) {
            SCOPED_TRACE(qPrintable(e->Name));
            if (e == &m.Title || e->Name == QLatin1String("Button.SysMenu")) continue;
            ASSERT_FALSE(e->Bitmap.isNull());
            const bool stacked = e == &m.FrameTop || e == &m.FrameBottom;
            EXPECT_EQ((stacked ? e->Bitmap.height() : e->Bitmap.width()) % e->FrameCount, 0);
        }
        EXPECT_FALSE(m.Buttons.CheckBitmap.isNull());
        EXPECT_FALSE(m.Buttons.RadioBitmap.isNull());
        EXPECT_EQ(m.Buttons.CheckFrameCount, 4);
        EXPECT_EQ(m.CaptionButtons.size(), 8u);  // system menu, close, maximise, restore,
                                                 // minimise and the three MDI buttons
        EXPECT_EQ(m.FrameTop.Bitmap.height() / m.FrameTop.FrameCount, 28);  // caption height
    }
}

TEST_F(SkinDataTest, ShippedSkinsListUnpackAndPackBackIntoTheSameSkin) {
    for (const char* name : {"Console", "Daylight", "Contrast"}) {
        SCOPED_TRACE(name);
        int status = 0;
        const QString listing = RunSkinTool({"list", ShippedSkin(name)}, status);
        ASSERT_EQ(status, 0) << qPrintable(listing);
        EXPECT_TRUE(listing.contains("skin.ini"));
        EXPECT_TRUE(listing.contains("top.bmp"));
        const QString unpacked = QString::fromStdString(folder.File(name));
        const QString repacked = unpacked + ".skn";
        for (const QStringList& step : {QStringList{"unpack", ShippedSkin(name), unpacked},
                                        QStringList{"pack", unpacked, repacked}}) {
            const QString output = RunSkinTool(step, status);
            ASSERT_EQ(status, 0) << qPrintable(step.join(' ') + ": " + output);
        }

        auto original = MainFormSkin();
        original->SetSkinFile(ShippedSkin(name));
        auto copy = MainFormSkin();
        copy->SetSkinFile(repacked);
        ASSERT_TRUE(copy->SkinReady()) << qPrintable(copy->LoadError());
        EXPECT_EQ(copy->Model().SkinName, QLatin1String(name));
        EXPECT_EQ(copy->Model().FrameTop.Bitmap, original->Model().FrameTop.Bitmap);
        EXPECT_EQ(copy->Model().ComboButton->Bitmap, original->Model().ComboButton->Bitmap);
    }
}

TEST_F(SkinDataTest, SwitchingBeforeTheManagerHasStartedOnlySetsItsSwitch) {
    auto data = MainFormSkin();
    data->Loaded();
    EXPECT_EQ(side.hooks, 1);
    // The program's own menu glyphs, 16 x 16 each, white transparent; the icon on magenta.
    EXPECT_EQ(data->MenuGlyphs().height(), 16);
    EXPECT_EQ(data->MenuGlyphs().width() % 16, 0);
    EXPECT_EQ(qAlpha(data->MenuGlyphs().pixel(0, 0)), 0);
    EXPECT_EQ(data->IconBitmap().size(), QSize(16, 16));
    data->SetSkinFile(ShippedSkin("Console"));
    data->SetActive(true);
    EXPECT_TRUE(data->Active());
    EXPECT_TRUE(manager.SkinningOn());
    EXPECT_FALSE(manager.CommandTimerActive());
    EXPECT_TRUE(manager.IsStarted());
    EXPECT_TRUE(side.commands.empty());
    EXPECT_EQ(skinChanged, 0);
}

TEST_F(SkinDataTest, OnceStartedEachChangeRunsAsACommandAfterAQuarterSecond) {
    auto data = MainFormSkin();
    data->Loaded();
    data->SetSkinFile(ShippedSkin("Console"));
    data->SetActive(true);

    data->SetActive(false);
    EXPECT_EQ(manager.PendingCommand(), scSwitchOff);
    QTest::qWait(100);
    EXPECT_TRUE(manager.CommandTimerActive());
    EXPECT_TRUE(manager.SkinningOn());
    RunPendingCommand();
    EXPECT_FALSE(manager.SkinningOn());
    EXPECT_EQ(side.commands, std::vector<int>{scSwitchOff});
    EXPECT_EQ(skinChanged, 1);

    data->SetActive(true);
    data->SetSkinFile(ShippedSkin("Daylight"));  // replaces the pending switch-on
    RunPendingCommand();
    EXPECT_EQ(side.commands, (std::vector<int>{scSwitchOff, scReload}));
    EXPECT_EQ(skinChanged, 2);
    EXPECT_EQ(data->Model().SkinName, "Daylight");
}

TEST_F(SkinDataTest, ActiveAtSetUpSwitchesOnOnlyWithAReadySkin) {
    auto without = MainFormSkin(true);
    without->Loaded();
    EXPECT_FALSE(without->Active());
    EXPECT_FALSE(manager.SkinningOn());

    auto with = MainFormSkin(true);
    with->SetSkinFile(ShippedSkin("Contrast"));
    with->Loaded();
    EXPECT_TRUE(with->Active());
    EXPECT_TRUE(manager.SkinningOn());
    EXPECT_EQ(manager.DefaultSkinData(), without.get());
}

TEST_F(SkinDataTest, ASkinThatFailsToLoadLeavesTheSkinItHadAndSaysWhy) {
    auto data = MainFormSkin();
    data->Loaded();
    data->SetSkinFile(folder.File("none.skn").c_str());
    EXPECT_FALSE(data->SkinReady());
    EXPECT_TRUE(data->LoadError().contains("none.skn"));
    data->SetActive(true);  // refused: there is no skin to show
    EXPECT_FALSE(data->Active());
    EXPECT_FALSE(manager.SkinningOn());

    data->SetSkinFile(ShippedSkin("Console"));
    data->SetActive(true);
    test::WriteBytes(folder.File("foreign.skn"), std::string("\x10\0\0\0garbage", 11));
    test::WriteBytes(
        folder.File("empty.skn"),
        PackSkinFile(BuildSkinContainer({{"a.bmp", test::BmpBytes(test::Solid(2, 2, Qt::red))}})));
    const QByteArray daylight = [] {
        QFile shipped(ShippedSkin("Daylight"));
        return shipped.open(QIODevice::ReadOnly) ? shipped.readAll() : QByteArray();
    }();
    ASSERT_GT(daylight.size(), 2000);
    test::WriteBytes(folder.File("cut.skn"), daylight.left(1000).toStdString());
    for (const char* name : {"none.skn", "foreign.skn", "empty.skn", "cut.skn"}) {
        SCOPED_TRACE(name);
        data->SetSkinFile(folder.File(name).c_str());
        EXPECT_TRUE(data->SkinReady());
        EXPECT_TRUE(data->Active());
        EXPECT_EQ(data->Model().SkinName, "Console");
        EXPECT_TRUE(data->LoadError().contains(name)) << qPrintable(data->LoadError());
    }
    EXPECT_TRUE(data->LoadError().contains("文件不完整")) << "a skin cut short";
    data->SetSkinFile(folder.File("empty.skn").c_str());
    EXPECT_TRUE(data->LoadError().contains("没有皮肤定义"));
    data->SetSkinFile(folder.File("foreign.skn").c_str());
    const QStringList lines = data->LoadError().split('\n');
    ASSERT_EQ(lines.size(), 3) << qPrintable(data->LoadError());
    EXPECT_TRUE(lines[0].endsWith("此文件版本不同")) << "after the file's path";
    EXPECT_EQ(lines[1], "请升级新版本 !");
    EXPECT_FALSE(lines[2].isEmpty()) << "what is wrong with the file";
    data->SetSkinFile(ShippedSkin("Daylight"));
    EXPECT_TRUE(data->LoadError().isEmpty());
}

TEST_F(SkinDataTest, SkinStreamCarriesTheSkinImage) {
    auto source = MainFormSkin();
    source->SetSkinFile(ShippedSkin("Daylight"));
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    source->WriteSkinStream(stream);
    stream.seek(0);
    auto copy = MainFormSkin();
    ASSERT_TRUE(copy->ReadSkinStream(stream));
    EXPECT_TRUE(copy->SkinReady());
    EXPECT_EQ(copy->SkinImage(), source->SkinImage());
    EXPECT_EQ(copy->Model().SkinName, "Daylight");

    QBuffer truncated;
    truncated.setData(stream.data().left(100));
    truncated.open(QIODevice::ReadOnly);
    auto broken = MainFormSkin();
    EXPECT_FALSE(broken->ReadSkinStream(truncated));
    EXPECT_FALSE(broken->SkinReady());
}

}  // namespace
}  // namespace vardo
