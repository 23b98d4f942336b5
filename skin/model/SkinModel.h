#pragma once

#include "SkinElements.h"

#include <QBrush>
#include <QList>
#include <QString>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vardo {

class TQuickIni;
class TSkinReader;

// The colours a skin gives (section "Colours"), each defaulting to the system colour of its role.
struct TSkinColours {
    TColor WindowText = clWindowText;
    TColor ButtonFace = clBtnFace;
    TColor Scrollbar = clScrollBar;
    TColor HilightText = clHighlightText;
    TColor Hilight = clHighlight;
    TColor Menubar = clBtnFace;  // defaults to the skin's ButtonFace
    TColor Menu = clMenu;
    TColor MenuText = clMenuText;
    TColor ButtonText = clBtnText;
    TColor ButtonHilight = clBtnHighlight;
    TColor Buttonlight = clBtnHighlight;
    TColor ButtonShadow = clBtnShadow;
    TColor ButtonDkShadow = cl3DDkShadow;
    TColor MenuBarText = clMenuText;
    TColor TitleTextActive = clCaptionText;
    TColor TitleTextNoActive = clInactiveCaptionText;
    QList<TColor> Numbered;  // one per section "Colour..." (not "Colours"), in file order
    std::array<TColor, 10> Custom{clWhite, clWhite, clWhite, clWhite, clWhite,
                                  clWhite, clWhite, clWhite, clWhite, clWhite};  // "Customcolors"
};

// The six track-bar thumbs, in the order of their sections.
enum TTrackBarThumb { ttHorz, ttVert, ttLeft, ttRight, ttUp, ttDown };

// A skin read into element records: what the window, control and menu skinners paint from. An
// optional element is null when the skin does not define it; its control then paints unskinned.
struct TSkinModel {
    QString SkinName;

    // The window frame. The edges' Tile holds the skin's "...Stretch" value, for which 1 means
    // stretch the middle; Top and Bottom stack their frames, Left and Right place them side by
    // side. Frame 1 is the active window's, frame 2 the inactive one's.
    TDataSkinBorder FrameLeft, FrameRight, FrameTop, FrameBottom;
    TDataSkinTitle Title;
    // The caption buttons in file order, then the three MDI child buttons (actions 7, 8, 9).
    std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;
    TDataSkinButton Buttons;

    std::unique_ptr<TDataSkinBorder> Progress;
    std::unique_ptr<TDataSkinObject> ProgressChunk;
    std::unique_ptr<TDataSkinObject> MenuBar;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinBoxLabel> GroupBox;
    std::unique_ptr<TDataSkinBorder> Tabs;  // Bitmap2: "Border"
    std::unique_ptr<TDataSkinObject> StatusBarEdges;
    std::unique_ptr<TDataSkinObject> TabPane;
    std::unique_ptr<TDataSkinObject> ToolBars;
    // The combo box: with SunkEdge present, a strip of 50 x 21 cells (one per SunkEdge frame) of
    // the sunken edge with the button at its right (Style 2); Bitmap2 is a copy of Bitmap.
    std::unique_ptr<TDataSkinBorder> ComboButton;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinObject> Headerbar;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> Scrollbar;  // the arrows, 23 frames
    std::unique_ptr<TDataSkinObject> HorzScroll;
    std::unique_ptr<TDataSkinObject> VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb;
    std::unique_ptr<TDataSkinObject> VertScrollThumb;
    std::array<std::unique_ptr<TDataSkinObject>, 6> TrackBarThumbs;  // by TTrackBarThumb
    std::unique_ptr<TDataSkinBorder> UpDownHorz;                     // Bitmap2: "GlyphImage"
    std::unique_ptr<TDataSkinBorder> UpDownVert;
    // The track-bar channel: the skin's, else the program's own, so always present after a load.
    std::unique_ptr<TDataSkinObject> Track;
    std::unique_ptr<TDataSkinObject> TrackVert;
    std::unique_ptr<TDataSkinObject> ComboArrow;  // "ComboxArrow", made from the combo box
    std::unique_ptr<TDataSkinObject> Toolbar;     // "Toolbar", the generated tool bar background

    TSkinColours Colours;
    TColor FrameColour = clBtnFace;  // a pixel of the Top edge, or ButtonFace
    QBrush ButtonFaceBrush;

    // Every element present, the always-present ones included, for walking the model.
    std::vector<const TDataSkinObject*> Elements() const;
};

// Reads a skin definition and the bitmaps it names (entries of reader) into a new model. A
// reference that does not end in ".bmp" or names no entry gives an empty image. Never throws on
// bad values: missing or malformed ones take their defaults.
std::unique_ptr<TSkinModel> ReadSkinDefinition(const TQuickIni& ini, const TSkinReader& reader);

// The program's own images that stand in where a skin has none.
QImage ProgramBitmap(std::string_view name);  // "TRACK", "TRACKVERT", "QUILLONMENU"

}  // namespace vardo
