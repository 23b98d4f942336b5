#pragma once

#include "SkinLooks.h"

#include <QImage>
#include <QString>

#include <map>

namespace vardo {

// A skin drawn from a look: its images by entry name and its definition (INI text, CR LF).
struct DrawnSkin {
    std::map<QString, QImage> images;
    QString definition;
};

DrawnSkin DrawSkin(const SkinLook& look);

// The program's own images: "TRACK", "TRACKVERT" (the track-bar channel where a skin has none)
// and "QUILLONMENU" (16 x 16 menu glyphs on white: close, minimise, maximise, restore, check,
// radio dot, submenu arrow, help).
std::map<QString, QImage> DrawProgramBitmaps();

}  // namespace vardo
