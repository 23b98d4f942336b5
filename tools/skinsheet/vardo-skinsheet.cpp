// vardo-skinsheet: a contact sheet of skins, drawn from the loaded skin model.
//   vardo-skinsheet OUT.png SKIN.skn...
// Each skin gets a column: a window framed by its edges, caption buttons and title, then every
// element of the model in each of its frames, drawn in nine parts at a size larger than its cell.
#include "SkinManage.h"
#include "SkinRead.h"
#include "WinSkinData.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <vector>

namespace vardo {
namespace {

constexpr int kColumnWidth = 620;
constexpr int kMargin = 12;
const QColor kSheet(0x80, 0x80, 0x80);

// A window of the given size drawn from the frame edges, the caption buttons and the title.
void DrawWindow(QPainter& p, const QRect& r, const TSkinModel& m, bool active) {
    const int frame = active ? 1 : 2;
    const int caption = m.FrameTop.Bitmap.height() / m.FrameTop.FrameCount;
    const int left = m.FrameLeft.Bitmap.width() / m.FrameLeft.FrameCount;
    const int right = m.FrameRight.Bitmap.width() / m.FrameRight.FrameCount;
    const int bottom = m.FrameBottom.Bitmap.height() / m.FrameBottom.FrameCount;
    p.fillRect(r.adjusted(left, caption, -right, -bottom), ColorToQColor(m.Colours.ButtonFace));
    DrawElement(p, QRect(r.left(), r.top(), left, r.height()), m.FrameLeft, frame);
    DrawElement(p, QRect(r.right() - right + 1, r.top(), right, r.height()), m.FrameRight, frame);
    DrawElement(p,
                QRect(r.left() + left, r.bottom() - bottom + 1, r.width() - left - right, bottom),
                m.FrameBottom, frame, FrameAxis::Stacked);
    DrawElement(p, QRect(r.left() + left, r.top(), r.width() - left - right, caption), m.FrameTop,
                frame, FrameAxis::Stacked);
    QFont font = p.font();
    font.setPixelSize(m.Title.FontHeight);
    p.setFont(font);
    p.setPen(ColorToQColor(active ? m.Colours.TitleTextActive : m.Colours.TitleTextNoActive));
    p.drawText(QRect(r.left() + m.Title.TextShift, r.top(), r.width(), caption),
               Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral(" Vardo"));
    for (const auto& button : m.CaptionButtons) {
        // Shown on a window that is not maximised: always-visible and not-maximised buttons.
        if (button->Bitmap.isNull() || button->Align != 1) continue;
        if (button->Visibility1 != 0 && button->Visibility1 != 2) continue;
        const int width = button->Bitmap.width() / button->FrameCount;
        DrawElement(
            p,
            QRect(r.right() + 1 - button->X, r.top() + button->Y, width, button->Bitmap.height()),
            *button, 1);
    }
}

// Every frame of the element, each drawn at a size that shows its stretch or tiling.
int DrawElementRow(QPainter& p, int x, int y, const TDataSkinObject& e) {
    const QRect cell = FrameCell(e, 1, FrameAxis::SideBySide);
    const bool stacked = e.Name == QLatin1String("Top") || e.Name == QLatin1String("Bottom");
    const QRect shown = stacked ? FrameCell(e, 1, FrameAxis::Stacked) : cell;
    const QSize size(std::min(std::max(shown.width() * 2, 24), 110),
                     std::min(std::max(shown.height() + shown.height() / 2, 12), 48));
    p.setPen(Qt::white);
    p.drawText(QRect(x, y, 150, size.height()), Qt::AlignVCenter,
               QStringLiteral("%1 (%2)").arg(e.Name).arg(e.FrameCount));
    int left = x + 150;
    for (int frame = 1; frame <= e.FrameCount && left + size.width() <= x + kColumnWidth - kMargin;
         ++frame) {
        DrawElement(p, QRect(QPoint(left, y), size), e, frame,
                    stacked ? FrameAxis::Stacked : FrameAxis::SideBySide);
        left += size.width() + 4;
    }
    return size.height() + 6;
}

int DrawSkinColumn(QPainter& p, int x, const QString& title, const TSkinData& data, bool draw) {
    int y = kMargin;
    if (draw) {
        p.setPen(Qt::white);
        p.drawText(QRect(x, y, kColumnWidth, 20), Qt::AlignLeft | Qt::AlignVCenter, title);
    }
    y += 24;
    if (draw) {
        DrawWindow(p, QRect(x, y, 290, 140), data.Model(), true);
        DrawWindow(p, QRect(x + 300, y, 290, 140), data.Model(), false);
    }
    y += 150;
    for (const TDataSkinObject* element : data.Model().Elements()) {
        if (element->Bitmap.isNull()) continue;
        if (draw) {
            y += DrawElementRow(p, x, y, *element);
        } else {
            QImage scratch(1, 1, QImage::Format_RGB32);
            QPainter measure(&scratch);
            y += DrawElementRow(measure, -10000, 0, *element);
        }
    }
    return y + kMargin;
}

}  // namespace
}  // namespace vardo

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: vardo-skinsheet OUT.png SKIN.skn...\n");
        return 2;
    }
    vardo::TSkinManage manager;
    std::vector<std::unique_ptr<vardo::TSkinData>> skins;
    for (int i = 2; i < argc; ++i) {
        auto data = std::make_unique<vardo::TSkinData>(nullptr, &manager);
        data->Loaded();
        data->SetSkinFile(QString::fromLocal8Bit(argv[i]));
        if (!data->SkinReady()) {
            std::fprintf(stderr, "vardo-skinsheet: %s\n",
                         vardo::OneLine(data->LoadError().toStdString()).c_str());
            return 1;
        }
        skins.push_back(std::move(data));
    }
    QImage none(1, 1, QImage::Format_RGB32);
    QPainter measure(&none);
    int height = 0;
    for (const auto& data : skins) {
        height = std::max(height, vardo::DrawSkinColumn(measure, 0, QString(), *data, false));
    }
    measure.end();
    QImage sheet(vardo::kColumnWidth * static_cast<int>(skins.size()) + vardo::kMargin, height,
                 QImage::Format_RGB32);
    sheet.fill(vardo::kSheet);
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < skins.size(); ++i) {
        const QString title = QFileInfo(skins[i]->SkinFile()).fileName() + QStringLiteral(" — ") +
                              skins[i]->Model().SkinName;
        vardo::DrawSkinColumn(painter, vardo::kMargin + vardo::kColumnWidth * static_cast<int>(i),
                              title, *skins[i], true);
    }
    painter.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "vardo-skinsheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
