#include "ReportTimeline.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QString>

#include <algorithm>
#include <numeric>

#include "TimeText.h"
#include "TranslatedText.h"

namespace vardo {

namespace {

constexpr int kDaySeconds = 24 * 3600;
constexpr int kFontPixels = 12;
// PNG quality: the picture is mostly flat colour, which a light compression packs nearly as
// tightly as the default one, in far less time.
constexpr int kPngQuality = 80;
// Below this lane height the lanes carry no labels.
constexpr int kLabelledLaneHeight = 12;

const QColor kTextColour{0x20, 0x20, 0x20};
const QColor kQuietTextColour{0x70, 0x70, 0x70};
const QColor kGridColour{0xDD, 0xDD, 0xDD};
const QColor kShadeColour{0xF3, 0xF3, 0xF3};

int LaneCount(const AsRunDay& day) {
    return std::max(1, static_cast<int>(day.entries.size()));
}

QString Text(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A bar from x to x2, at least `minimum` wide.
QRect Bar(int x, int x2, int top, int height, int minimum) {
    return QRect(x, top, std::max(minimum, x2 - x), height);
}

// The upper and lower half of a lane: the planned span and the actual run.
struct LaneHalves {
    QRect planned;
    QRect actual;
};

LaneHalves Halves(int top, int laneHeight) {
    const int margin = laneHeight >= 8 ? 2 : 0;
    const int upper = laneHeight / 2;
    return {QRect(0, top + margin, 0, std::max(1, upper - margin)),
            QRect(0, top + upper, 0, std::max(1, laneHeight - upper - margin))};
}

void DrawDiamond(QPainter& painter, QPoint centre, int radius, const QColor& colour) {
    const QPolygon diamond({centre + QPoint(0, -radius), centre + QPoint(radius, 0),
                            centre + QPoint(0, radius), centre + QPoint(-radius, 0)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(diamond);
}

void DrawLegend(QPainter& painter) {
    struct Item {
        QColor colour;
        QString text;
        bool diamond;
    };
    const Item items[] = {
        {kPlannedColour, "planned", false},
        {kRanColour, "ran", false},
        {kLateColour, QString("late start (%1 s or more)").arg(kLateStartSeconds), false},
        {kMissedColour, "missed start", true},
        {kPendingColour, "pending (not yet due)", true},
        {kUnplannedColour, "start not in the timetable", false},
    };
    const QFontMetrics metrics(painter.font());
    const int middle = TimelineLayout::kLegendHeight / 2;
    int x = TimelineLayout::kLabelLeft;
    for (const Item& item : items) {
        if (item.diamond) {
            DrawDiamond(painter, QPoint(x + 7, middle), 6, item.colour);
        } else {
            painter.fillRect(QRect(x, middle - 5, 14, 10), item.colour);
        }
        painter.setPen(kTextColour);
        painter.drawText(QPoint(x + 20, middle + metrics.ascent() / 2 - 1), item.text);
        x += 20 + metrics.horizontalAdvance(item.text) + 24;
    }
}

void DrawDayHeader(QPainter& painter, const AsRunDay& day, const TimelineLayout& layout,
                   std::size_t index) {
    const int top = layout.DayTop(index);
    const int lanesBottom = layout.LaneTop(index, LaneCount(day));
    const QFontMetrics metrics(painter.font());
    const int titleBaseline = top + metrics.ascent() + 2;

    QString title = QString::fromStdString(DateText(true, day.date)) + "  " +
                    Translated(kWeekdayTextContext, WeekdayName(day.date)) + "   " +
                    QFileInfo(Text(day.timetablePath)).fileName();
    if (!day.historyFound) title += "   (no history file)";
    painter.setPen(kTextColour);
    painter.drawText(QPoint(TimelineLayout::kLabelLeft, titleBaseline), title);

    const int hourBaseline = top + TimelineLayout::kDayHeaderHeight - 4;
    for (int hour = 0; hour <= 24; ++hour) {
        const int x = layout.X(hour * 3600);
        const QString label = QString("%1").arg(hour, 2, 10, QChar('0'));
        painter.setPen(kQuietTextColour);
        painter.drawText(QPoint(x - metrics.horizontalAdvance(label) / 2, hourBaseline), label);
        painter.setPen(kGridColour);
        painter.drawLine(x, top + TimelineLayout::kDayHeaderHeight, x, lanesBottom - 1);
    }
}

void DrawLaneLabel(QPainter& painter, const AsRunEntry& entry, int top, int laneHeight) {
    const QString number = entry.row > 0 ? QString::number(entry.row) : QString("-");
    const QString label = number + "  " + Text(entry.description);
    const QFontMetrics metrics(painter.font());
    const int width = TimelineLayout::kPlotLeft - TimelineLayout::kLabelLeft - 8;
    painter.setPen(StatusOf(entry) == EntryStatus::Missed ? kMissedColour : kTextColour);
    painter.drawText(QPoint(TimelineLayout::kLabelLeft,
                            top + (laneHeight + metrics.ascent() - metrics.descent()) / 2),
                     metrics.elidedText(label, Qt::ElideRight, width));
}

void DrawPlanned(QPainter& painter, const AsRunEntry& entry, const TimelineLayout& layout,
                 QRect half) {
    if (!entry.plannedStart) return;
    const std::int64_t start = *entry.plannedStart;
    // No end time: a mark at the start; an end before the start: the span runs past midnight.
    std::int64_t end = start;
    if (entry.plannedEnd) end = *entry.plannedEnd >= start ? *entry.plannedEnd : kDaySeconds;
    painter.fillRect(Bar(layout.X(start), layout.X(end), half.top(), half.height(), 3),
                     kPlannedColour);
}

void DrawActual(QPainter& painter, const AsRunEntry& entry, const TimelineLayout& layout,
                QRect half) {
    const int middle = half.center().y();
    const EntryStatus status = StatusOf(entry);
    if (status == EntryStatus::Missed || status == EntryStatus::Pending) {
        DrawDiamond(painter, QPoint(layout.X(*entry.plannedStart), middle),
                    std::max(1, half.height() / 2 + 1),
                    status == EntryStatus::Missed ? kMissedColour : kPendingColour);
        return;
    }
    if (!entry.actualStart) return;
    const int start = *entry.actualStart;
    const int end = entry.actualEnd.value_or(start + entry.runSeconds);
    QColor colour = kRanColour;
    if (status == EntryStatus::Unplanned) colour = kUnplannedColour;
    if (status == EntryStatus::Late) {
        colour = kLateColour;
        // The delay itself: a line from the planned start to the actual one.
        const int from = layout.X(*entry.plannedStart);
        painter.fillRect(QRect(from, middle - 1, layout.X(start) - from, 2), kLateColour);
    }
    painter.fillRect(Bar(layout.X(start), layout.X(end), half.top(), half.height(), 2), colour);
}

void DrawDay(QPainter& painter, const AsRunDay& day, const TimelineLayout& layout,
             std::size_t index) {
    const int laneHeight = layout.LaneHeight();
    for (std::size_t lane = 1; lane < day.entries.size(); lane += 2) {
        painter.fillRect(QRect(0, layout.LaneTop(index, lane), TimelineLayout::kWidth, laneHeight),
                         kShadeColour);
    }
    DrawDayHeader(painter, day, layout, index);
    if (day.entries.empty() && laneHeight >= kLabelledLaneHeight) {
        painter.setPen(kQuietTextColour);
        painter.drawText(QPoint(TimelineLayout::kLabelLeft, layout.LaneTop(index, 1) - 6),
                         "no timetable rows and no starts");
    }
    for (std::size_t lane = 0; lane < day.entries.size(); ++lane) {
        const AsRunEntry& entry = day.entries[lane];
        const int top = layout.LaneTop(index, lane);
        if (laneHeight >= kLabelledLaneHeight) DrawLaneLabel(painter, entry, top, laneHeight);
        const LaneHalves halves = Halves(top, laneHeight);
        DrawPlanned(painter, entry, layout, halves.planned);
        DrawActual(painter, entry, layout, halves.actual);
    }
}

}  // namespace

std::optional<TimelineLayout> TimelineLayout::For(const std::vector<AsRunDay>& days) {
    const int fixed = kLegendHeight + static_cast<int>(days.size()) * (kDayHeaderHeight + kDayGap);
    const long long lanes =
        std::accumulate(days.begin(), days.end(), 0LL,
                        [](long long sum, const AsRunDay& day) { return sum + LaneCount(day); });
    TimelineLayout layout;
    if (fixed + lanes * kLaneHeight > kMaxHeight) {
        if (fixed >= kMaxHeight) return std::nullopt;
        layout.laneHeight_ = static_cast<int>((kMaxHeight - fixed) / std::max(1LL, lanes));
        if (layout.laneHeight_ < kMinLaneHeight) return std::nullopt;
    }
    int y = kLegendHeight;
    for (const AsRunDay& day : days) {
        layout.dayTops_.push_back(y);
        y += kDayHeaderHeight + LaneCount(day) * layout.laneHeight_ + kDayGap;
    }
    layout.height_ = y;
    return layout;
}

int TimelineLayout::LaneTop(std::size_t day, std::size_t lane) const {
    return dayTops_[day] + kDayHeaderHeight + static_cast<int>(lane) * laneHeight_;
}

int TimelineLayout::X(std::int64_t seconds) const {
    const std::int64_t within = std::clamp<std::int64_t>(seconds, 0, kDaySeconds);
    return kPlotLeft + static_cast<int>(within * (kPlotRight - kPlotLeft) / kDaySeconds);
}

QImage DrawTimeline(const std::vector<AsRunDay>& days, const TimelineLayout& layout) {
    QImage image(TimelineLayout::kWidth, layout.Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(kFontPixels);
    painter.setFont(font);
    DrawLegend(painter);
    for (std::size_t index = 0; index < days.size(); ++index)
        DrawDay(painter, days[index], layout, index);
    return image;
}

QByteArray TimelinePng(const std::vector<AsRunDay>& days, const TimelineLayout& layout) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!DrawTimeline(days, layout).save(&buffer, "PNG", kPngQuality)) return {};
    return png;
}

}  // namespace vardo
