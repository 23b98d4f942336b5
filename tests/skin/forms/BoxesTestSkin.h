#pragma once

// The test skin with group boxes, tabs and their pane, and progress bars, each element drawn in
// solid frames of colours of their own.

#include "TestSkin.h"

namespace vardo::test {

// The group box edge (normal, disabled; magenta inside, margins 3) and the title plate (margins 4).
inline const QColor kGroupEdge{0, 120, 120};
inline const QColor kGroupEdgeDisabled{120, 120, 0};
inline const QColor kGroupPlate{230, 200, 0};
// The five tab frames (normal, selected, disabled, hot, focused) and the tab widget's pane.
inline const std::vector<QColor> kTabFrames{
    {60, 0, 0}, {0, 60, 0}, {0, 0, 60}, {60, 60, 0}, {0, 60, 60}};
inline const QColor kPane{90, 90, 200};
// The progress bar's trough and bar frames (margins 2) and its chunk.
inline const QColor kTrough{210, 210, 210};
inline const QColor kBar{100, 100, 100};
inline const QColor kChunk{0, 180, 0};
inline constexpr int kTroughMargin = 2;

inline QImage GroupEdgeImage() {
    QImage image = Frames({12, 12}, {kGroupEdge, kGroupEdgeDisabled}, false);
    QPainter painter(&image);
    for (int frame = 0; frame < 2; ++frame) painter.fillRect(frame * 12 + 3, 3, 6, 6, Qt::magenta);
    return image;
}

// extraIni adds whole sections.
inline std::string BoxesTestSkinFile(const std::string& extraIni = {}) {
    const std::string ini =
        "[GroupBoxEdge]\r\nImage=groupedge.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\n"
        "TopHeight=3\r\nBottomHeight=3\r\nTrans=1\r\n"
        "[GroupBox]\r\nImage=grouplabel.bmp\r\nLeftWidth=4\r\nRightWidth=4\r\n"
        "NormalColour=0 0 255\r\n"
        "[Tabs]\r\nImage=tabs.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=3\r\n"
        "BottomHeight=3\r\n"
        "[Tab.Pane]\r\nImage=pane.bmp\r\n"
        "[Progress]\r\nBitmap=progress.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\n"
        "BottomHeight=2\r\n"
        "[Progress.Chunk]\r\nImage=chunk.bmp\r\n" +
        extraIni;
    return TestSkinFile({}, ini,
                        {{"groupedge.bmp", GroupEdgeImage()},
                         {"grouplabel.bmp", Frames({20, 16}, {kGroupPlate}, false)},
                         {"tabs.bmp", Frames({16, 16}, kTabFrames, false)},
                         {"pane.bmp", Frames({12, 12}, {kPane}, false)},
                         {"progress.bmp", Frames({16, 12}, {kTrough, kBar}, false)},
                         {"chunk.bmp", Frames({6, 8}, {kChunk}, false)}});
}

}  // namespace vardo::test
