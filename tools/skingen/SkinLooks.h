#pragma once

#include <QColor>
#include <QString>

#include <vector>

namespace vardo {

// The colours and shapes of one of our skins. Every image of the skin is drawn from these.
struct SkinLook {
    QString name;         // the skin's file and folder name
    QString displayName;  // the skin's own name (section TitlebarSkin)
    QColor face;          // buttons, panels, dialogs
    QColor faceLight;     // top of a raised face
    QColor faceDark;      // bottom of a raised face
    QColor border;        // outlines of controls
    QColor light;         // 3-D highlight
    QColor shadow;        // 3-D shadow
    QColor text;
    QColor textDisabled;
    QColor field;  // inside edits, lists, menus
    QColor fieldText;
    QColor accent;                     // hot outlines, progress, thumbs, selection
    QColor accentText;                 // text on the accent
    QColor captionTop, captionBottom;  // the active caption's gradient
    QColor captionInactiveTop, captionInactiveBottom;
    QColor captionText, captionTextInactive;
    QColor frame, frameInactive;  // the window edges
    QColor closeHot;              // the close button under the mouse
    int radius;                   // corner radius of the window and the controls
    int lineWidth;                // outline width
};

// The three skins we ship: a dark broadcast console, a light daylight skin and a high-contrast one.
std::vector<SkinLook> ShippedLooks();

}  // namespace vardo
