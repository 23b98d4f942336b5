#include "WinSkinData.h"

#include "SkinManage.h"
#include "SkinRead.h"
#include "WinSkinIni.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIODevice>
#include <QIcon>
#include <QPainter>
#include <QScreen>
#include <QtEndian>

#include <exception>

namespace vardo {
namespace {

// Activation commands reach the manager's timer with this delay, so a burst of property changes
// ends in one command.
constexpr int kCommandDelayMs = 250;

constexpr int kIconSize = 16;

QImage WhiteTransparent(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (line[x] == 0xFFFFFFFFu) line[x] = 0;
        }
    }
    return out;
}

}  // namespace

TSkinControls DefaultSkinControls() {
    TSkinControls controls;
    for (int kind = xcMainMenu; kind <= xcSystemMenu; ++kind) {
        controls.Include(static_cast<TSkinControlType>(kind));
    }
    controls.Exclude(xcMenuItem);
    return controls;
}

QStringList DefaultSkin3rd() {
    return {
        QStringLiteral("QTextEdit=scrollbar"),
        QStringLiteral("QPlainTextEdit=scrollbar"),
        QStringLiteral("QTextBrowser=scrollbar"),
        QStringLiteral("QListView=scrollbar"),
        QStringLiteral("QListWidget=scrollbar"),
        QStringLiteral("QTreeView=scrollbar"),
        QStringLiteral("QTreeWidget=scrollbar"),
        QStringLiteral("QTableView=scrollbar"),
        QStringLiteral("QTableWidget=scrollbar"),
        QStringLiteral("QScrollArea=scrollbar"),
        QStringLiteral("QFontComboBox=combobox"),
        QStringLiteral("QDateEdit=edit"),
        QStringLiteral("QDateTimeEdit=edit"),
        QStringLiteral("QKeySequenceEdit=edit"),
        QStringLiteral("QToolButton=speedbutton"),
        QStringLiteral("QCommandLinkButton=bitbtn"),
        QStringLiteral("QDialogButtonBox=container"),
        QStringLiteral("QStackedWidget=container"),
        QStringLiteral("QToolBox=container"),
        QStringLiteral("QSplitter=container"),
        QStringLiteral("QDial=nil"),
        QStringLiteral("QLCDNumber=nil"),
        QStringLiteral("QCalendarWidget=nil"),
    };
}

TSkinData::TSkinData(QObject* owner, TSkinManage* manager)
    : QObject(owner),
      manager_(manager ? manager : &TSkinManage::Instance()),
      model_(std::make_unique<TSkinModel>()),
      menuGlyphs_(WhiteTransparent(ProgramBitmap("QUILLONMENU"))) {}

TSkinData::~TSkinData() {
    manager_->UnregisterSkinData(*this);
}

void TSkinData::Loaded() {
    loading_ = false;
    manager_->RegisterSkinData(*this);
    captionFont_ = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        maximisedSize_ = screen->availableGeometry().size();
    }
    if (SkinFormtype == sfMainform) {
        if (TSkinWindowSide* side = manager_->WindowSide()) side->InstallHook();
        if (active_) {
            if (ready_) {
                SendCommand(scSwitchOn);
            } else {
                active_ = false;
            }
        }
        if (SkinControls.Contains(xcMainMenu)) {
            SkinControls.Exclude(xcMenuItem);
        } else {
            SkinControls.Exclude(xcSystemMenu);
        }
        MakeIconBitmap();
        return;
    }
    manager_->SetSkinningOn(true);
    manager_->MarkStarted();
    if (active_ && parent() && parent()->isWidgetType()) {
        if (TSkinWindowSide* side = manager_->WindowSide()) side->SkinOwnerForm(*this);
    }
}

void TSkinData::SetActive(bool active) {
    if (loading_) {
        active_ = active;
        return;
    }
    if (active == active_) return;
    if (active && !ready_) {
        qWarning("skin: skinning stays off: %s", loadError_.isEmpty()
                                                     ? "没有已载入的皮肤"
                                                     : OneLine(loadError_.toStdString()).c_str());
        return;
    }
    active_ = active;
    if (SkinFormtype != sfMainform && SkinFormtype != sfOnlyThisForm) return;
    SendCommand(active ? scSwitchOn : scSwitchOff);
    if (active && SkinFormtype == sfMainform) manager_->MarkStarted();
}

void TSkinData::SetSkinFile(const QString& path) {
    skinFile_ = path;
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        loadError_ = tr("找不到皮肤文件：") + path;
    } else if (!file.open(QIODevice::ReadOnly)) {
        loadError_ = tr("无法读取皮肤文件：%1：%2").arg(path, file.errorString());
    } else {
        const QByteArray image = file.readAll();
        if (LoadSkinImage(image)) {
            skinImage_ = image;
            if (!loading_ && manager_->IsStarted()) SendCommand(scReload);
            return;
        }
        loadError_ = tr("%1：%2").arg(path, loadError_);
    }
    qWarning("skin: %s", OneLine(loadError_.toStdString()).c_str());
}

bool TSkinData::LoadSkin() {
    return LoadSkinImage(skinImage_);
}

bool TSkinData::LoadSkinImage(const QByteArray& image) {
    try {
        TSkinReader reader;
        if (!reader.LoadFromStream(std::string_view(image.constData(), image.size()))) {
            // The system's text, its clauses on lines of their own, then what is wrong.
            const OperatorText& reason = reader.LoadReason();
            const std::string reasonWording =
                QCoreApplication::translate(reason.context, reason.wording).toStdString();
            loadError_ = QCoreApplication::translate(kSkinFileTextContext, kForeignSkinVersionText)
                             .replace('\r', '\n') +
                         '\n' +
                         QString::fromStdString(FillArguments(reasonWording, reason.arguments));
            return false;
        }
        std::string definition;
        if (!reader.FindEntry(".ini", definition) || definition.empty()) {
            loadError_ = tr("皮肤文件中没有皮肤定义 (.ini)");
            return false;
        }
        TQuickIni ini;
        ini.LoadFromStream(definition);
        model_ = ReadSkinDefinition(ini, reader);
        ++modelGeneration_;
    } catch (const std::exception& error) {
        loadError_ = QString::fromLocal8Bit(error.what());
        return false;
    }
    ready_ = true;
    loadError_.clear();
    return true;
}

void TSkinData::WriteSkinStream(QIODevice& device) const {
    const qint32 length = qToLittleEndian(static_cast<qint32>(skinImage_.size()));
    device.write(reinterpret_cast<const char*>(&length), sizeof length);
    device.write(skinImage_);
}

bool TSkinData::ReadSkinStream(QIODevice& device) {
    qint32 length = 0;
    if (device.read(reinterpret_cast<char*>(&length), sizeof length) != sizeof length) {
        loadError_ = tr("皮肤数据不完整");
        return false;
    }
    length = qFromLittleEndian(length);
    if (length <= 0) return true;
    const QByteArray image = device.read(length);
    if (image.size() != length) {
        loadError_ = tr("皮肤数据不完整");
        return false;
    }
    if (!LoadSkinImage(image)) return false;
    skinImage_ = image;
    return true;
}

void TSkinData::SendCommand(int kind) {
    manager_->Command(kind, kCommandDelayMs, *this);
}

void TSkinData::MakeIconBitmap() {
    iconBitmap_ = QImage(kIconSize, kIconSize, QImage::Format_RGB888);
    iconBitmap_.fill(ColorToQColor(clFuchsia));
    const QIcon icon = QGuiApplication::windowIcon();
    if (icon.isNull()) return;
    QPainter painter(&iconBitmap_);
    painter.drawPixmap(0, 0, icon.pixmap(kIconSize, kIconSize));
}

}  // namespace vardo
