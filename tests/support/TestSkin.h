#pragma once

// A small skin of known colours and sizes, written as a real skin file, for the skinning tests.

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <string>
#include <utility>
#include <vector>

#include "SkinRead.h"
#include "WinConvert.h"

namespace vardo::test {

inline std::string BmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    return bytes.toStdString();
}

// An image of frames cells, side by side or stacked, each filled with its colour.
inline QImage Frames(QSize cell, const std::vector<QColor>& colours, bool stacked) {
    const int n = static_cast<int>(colours.size());
    QImage image(
        stacked ? QSize(cell.width(), cell.height() * n) : QSize(cell.width() * n, cell.height()),
        QImage::Format_RGB32);
    QPainter painter(&image);
    for (int i = 0; i < n; ++i) {
        const QPoint at = stacked ? QPoint(0, i * cell.height()) : QPoint(i * cell.width(), 0);
        painter.fillRect(QRect(at, cell), colours[i]);
    }
    return image;
}

using SkinImages = std::vector<std::pair<std::string, QImage>>;

inline std::string SkinFileBytes(const std::string& ini, const SkinImages& images) {
    std::vector<SkinEntry> entries{{"skin.ini", ini}};
    for (const auto& [name, image] : images) entries.push_back({name, BmpBytes(image)});
    return PackSkinFile(BuildSkinContainer(entries));
}

// Frame sizes of the test skin.
inline constexpr int kLeft = 8;
inline constexpr int kRight = 6;
inline constexpr int kCaption = 24;
inline constexpr int kBottom = 5;
// Active and inactive colours of the edges and the caption.
inline const QColor kActiveEdge{200, 0, 0};
inline const QColor kInactiveEdge{0, 0, 200};
inline const QColor kActiveTop{0, 160, 0};
inline const QColor kInactiveTop{128, 128, 128};
// The close button's normal, pressed and hot frames.
inline const QColor kCloseNormal{255, 255, 0};
inline const QColor kCloseHot{0, 255, 255};
inline const QColor kClosePressed{40, 40, 40};
// The push button's five frames and the check box's twelve.
inline const std::vector<QColor> kButtonFrames{
    {10, 10, 10}, {20, 20, 20}, {30, 30, 30}, {40, 40, 40}, {50, 50, 50}};

// Two-frame edges, a close button (Align 1, 22 from the right, 3 frames of 18 x 18), a maximise
// button shown only while maximised, a minimise button 66 from the right, a button never shown, a
// system-menu icon button at the left, and push buttons, check boxes and radio buttons. personality
// adds lines to section Personality, extraIni whole sections.
inline std::string TestSkinFile(const std::string& personality = {},
                                const std::string& extraIni = {},
                                const SkinImages& extraImages = {}) {
    const std::string ini =
        "[TitlebarSkin]\r\nSkinName=Test\r\n"
        "[Personality]\r\nLeft=left.bmp\r\nLeftFrame=2\r\nLeftTrans=0\r\n"
        "Right=right.bmp\r\nRightFrame=2\r\nRightTrans=0\r\n"
        "Top=top.bmp\r\nTopFrame=2\r\nTopTrans=0\r\n"
        "Bottom=bottom.bmp\r\nBottomFrame=2\r\nBottomTrans=0\r\n"
        "ActiveTextR=255\r\nActiveTextG=255\r\nActiveTextB=255\r\n" +
        personality +
        "[Button.Close]\r\nAction=0\r\nAlign=1\r\nXcoord=22\r\nYcoord=3\r\nButtonImage=close."
        "bmp\r\n"
        "[Button.Max]\r\nAction=1\r\nAlign=1\r\nXcoord=44\r\nYcoord=3\r\nVisibility=1\r\n"
        "ButtonImage=max.bmp\r\n"
        "[Button.Min]\r\nAction=2\r\nAlign=1\r\nXcoord=66\r\nYcoord=3\r\nButtonImage=max.bmp\r\n"
        "[Button.Never]\r\nAction=-1\r\nAlign=0\r\nXcoord=30\r\nYcoord=3\r\nVisibility=0\r\n"
        "ButtonImage=max.bmp\r\n"
        "[Button.Icon]\r\nAction=3\r\nAlign=0\r\nXcoord=4\r\nYcoord=4\r\n"
        "[Buttons]\r\nBitmap=buttons.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\n"
        "BottomHeight=2\r\nCheckButton=check.bmp\r\nCheckButtonFrame=12\r\n"
        "RadioButton=radio.bmp\r\nRadioButtonFrame=4\r\n" +
        extraIni;
    std::vector<QColor> twelve;
    for (int i = 1; i <= 12; ++i) twelve.push_back(QColor(i * 20, 100, 0));
    SkinImages images{
        {"left.bmp", Frames({kLeft, 30}, {kActiveEdge, kInactiveEdge}, false)},
        {"right.bmp", Frames({kRight, 30}, {kActiveEdge, kInactiveEdge}, false)},
        {"top.bmp", Frames({60, kCaption}, {kActiveTop, kInactiveTop}, true)},
        {"bottom.bmp", Frames({60, kBottom}, {kActiveEdge, kInactiveEdge}, true)},
        {"close.bmp", Frames({18, 18}, {kCloseNormal, kClosePressed, kCloseHot}, false)},
        {"max.bmp", Frames({18, 18}, {Qt::white, Qt::white, Qt::white}, false)},
        {"buttons.bmp", Frames({20, 20}, kButtonFrames, false)},
        {"check.bmp", Frames({13, 13}, twelve, false)},
        {"radio.bmp", Frames({13, 13}, {Qt::red, Qt::green, Qt::blue, Qt::gray}, false)}};
    images.insert(images.end(), extraImages.begin(), extraImages.end());
    return SkinFileBytes(ini, images);
}

// The control elements' frames, each of its own colour: the spin buttons' eight (up normal, hot,
// pressed, disabled, then down likewise), the sunken edge's four, the scroll-bar arrows' sixteen
// (up, down, left, right, four each), the shafts' four and the thumbs' three.
inline QColor UpDownFrame(int frame) {
    return QColor(0, 30 * frame, 220);
}
inline QColor SunkFrame(int frame) {
    return QColor(60 * frame, 0, 120);
}
inline QColor ArrowFrame(int frame) {
    return QColor(250, 10 * frame, 150);
}
inline QColor ShaftFrame(int frame) {
    return QColor(90, 200, 40 * frame);
}
inline QColor ThumbFrame(int frame) {
    return QColor(255, 120 + 40 * frame, 0);
}

inline std::vector<QColor> FrameColours(QColor (*colour)(int), int count) {
    std::vector<QColor> colours;
    for (int frame = 1; frame <= count; ++frame) colours.push_back(colour(frame));
    return colours;
}

// The test skin with spin buttons, a sunken edge and scroll bars (every element drawn in solid
// frames: no margins).
inline std::string ControlsTestSkinFile() {
    std::string ini;
    for (const char* section : {"SunkEdge", "UpDown.Vert", "Scrollbar", "HorzScroll", "VertScroll",
                                "HorzScrollThumb", "VertScrollThumb"}) {
        ini += std::string("[") + section + "]\r\nImage=" + section + ".bmp\r\n";
    }
    const QSize cell(16, 16);
    return TestSkinFile(
        {}, ini,
        {{"SunkEdge.bmp", Frames(cell, FrameColours(SunkFrame, 4), false)},
         {"UpDown.Vert.bmp", Frames(cell, FrameColours(UpDownFrame, 8), false)},
         {"Scrollbar.bmp", Frames(cell, FrameColours(ArrowFrame, 23), false)},
         {"HorzScroll.bmp", Frames(cell, FrameColours(ShaftFrame, 4), false)},
         {"VertScroll.bmp", Frames(cell, FrameColours(ShaftFrame, 4), false)},
         {"HorzScrollThumb.bmp", Frames(cell, FrameColours(ThumbFrame, 3), false)},
         {"VertScrollThumb.bmp", Frames(cell, FrameColours(ThumbFrame, 3), false)}});
}

}  // namespace vardo::test
