#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>

#include <cstdint>
#include <optional>
#include <vector>

#include "AsRun.h"
#include "ReportStatus.h"

namespace vardo {

// The as-run timeline: a legend, then per day a header with the hours of the day and one lane per
// report entry. A lane's upper half holds the planned span, its lower half the actual run.

inline const QColor kPlannedColour{0x8F, 0xA8, 0xC8};
inline const QColor kRanColour{0x3C, 0x9A, 0x4A};
inline const QColor kLateColour{0xE8, 0x89, 0x0C};
inline const QColor kMissedColour{0xD0, 0x30, 0x2A};
inline const QColor kUnplannedColour{0x8E, 0x44, 0xAD};
inline const QColor kPendingColour{0x9A, 0x9A, 0x9A};

// Where everything lies in the picture.
class TimelineLayout {
  public:
    static constexpr int kWidth = 1500;
    static constexpr int kLabelLeft = 8;
    static constexpr int kPlotLeft = 280;
    static constexpr int kPlotRight = kWidth - 16;
    static constexpr int kLegendHeight = 40;
    static constexpr int kDayHeaderHeight = 34;
    static constexpr int kDayGap = 12;
    static constexpr int kMaxHeight = 16000;
    static constexpr int kLaneHeight = 22;  // shrinks so that many lanes stay within kMaxHeight
    static constexpr int kMinLaneHeight = 2;

    // Nothing when the lanes do not fit into kMaxHeight even at kMinLaneHeight.
    static std::optional<TimelineLayout> For(const std::vector<AsRunDay>& days);

    int Height() const { return height_; }
    int LaneHeight() const { return laneHeight_; }
    int DayTop(std::size_t day) const { return dayTops_[day]; }
    int LaneTop(std::size_t day, std::size_t lane) const;
    // The x of a time of day (seconds); times outside the day land on the plot's edges.
    int X(std::int64_t seconds) const;

  private:
    int height_ = 0;
    int laneHeight_ = kLaneHeight;
    std::vector<int> dayTops_;
};

// Draws with QPainter on a QImage; needs a QGuiApplication (any platform, offscreen included).
QImage DrawTimeline(const std::vector<AsRunDay>& days, const TimelineLayout& layout);

// DrawTimeline as PNG bytes; empty when the encoder fails.
QByteArray TimelinePng(const std::vector<AsRunDay>& days, const TimelineLayout& layout);

}  // namespace vardo
