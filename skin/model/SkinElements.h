#pragma once

#include "SkinColours.h"

#include <QImage>
#include <QString>

namespace vardo {

// One element of a skin: an image holding FrameCount state images (frames), drawn in nine parts
// whose borders (the margins) keep their size while the middle is stretched or tiled.
class TDataSkinObject {
  public:
    virtual ~TDataSkinObject() = default;

    int LeftMargin = 0;  // pixels
    int TopMargin = 0;
    int RightMargin = 0;
    int BottomMargin = 0;
    QImage Bitmap;
    int Trans = 0;  // non-zero: magenta (0xFF00FF) pixels are transparent
    int Tile = 0;   // 0 stretch the middle parts, 1 tile them (the frame edges: see TSkinModel)
    QString Name;   // the section the element came from
    int FrameCount = 1;  // at least 1 once a skin is loaded
    int Style = 0;
    TColor NormalColour = kColourNotGiven;  // text colours
    TColor MouseOverColour = kColourNotGiven;
    TColor PressedColour = kColourNotGiven;
    TColor NormalColour2 = clBtnText;  // second colours
    TColor MouseOverColour2 = clBtnText;
    TColor PressedColour2 = clBtnText;
};

// An element with a second image (an edge, glyph or border image).
class TDataSkinBorder : public TDataSkinObject {
  public:
    QImage Bitmap2;
};

// Push, check and radio buttons (section "Buttons"): Bitmap holds the push button's 5 frames.
class TDataSkinButton : public TDataSkinObject {
  public:
    QImage CheckBitmap;
    QImage RadioBitmap;
    int RadioFrameCount = 4;
    int CheckFrameCount = 4;
    bool NormalColour2Given = false;
    bool MouseOverColour2Given = false;
    bool PressedColour2Given = false;
};

// The caption's text settings; Bitmap is the text background ("TextBack"), 2 frames (active and
// inactive).
class TDataSkinTitle : public TDataSkinObject {
  public:
    int TextShift = 0;      // left of the text for alignment 0
    int TextShiftVert = 0;  // the text moves down by half of it
    int TextRightClip = 0;  // the text ends this far before the caption's right end
    int TextAlignment = 0;  // 0 left, 1 centred, 2 right
    int TextBackground = 0;
    int FontHeight = 14;
    int TextBackLeft = 0;  // margins of the text background
    int TextBackRight = 0;
    TColor ActiveTextColour = kTitleColourNotGiven;
    TColor InactiveTextColour = kTitleColourNotGiven;
};

// A caption button; Bitmap holds its FrameCount frames side by side.
class TDataSkinSysButton : public TDataSkinObject {
  public:
    int Action = 0;  // 0 close, 1 maximise, 2 minimise, 3/11 system menu, 7/8/9 MDI child, ...
    int Align = 0;   // 0 from the left, 1 from the right, 2/3 beside the title, 100 menu bar
    int X = 0;
    int Y = 0;
    int CombineOp = -1;
    int Visibility = 0;
    int Visibility1 = 0;
};

// The group box caption.
class TDataSkinBoxLabel : public TDataSkinObject {
  public:
    int BackgroundAlignment = 0;
    int BackgroundLeftShift = 0;
    int BackgroundRightShift = 0;
};

}  // namespace vardo
