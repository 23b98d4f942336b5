#include "SkinLooks.h"

namespace vardo {

std::vector<SkinLook> ShippedLooks() {
    SkinLook console;
    console.name = QStringLiteral("Console");
    console.displayName = QStringLiteral("Console");
    console.face = QColor(0x2B, 0x30, 0x38);
    console.faceLight = QColor(0x3A, 0x41, 0x4C);
    console.faceDark = QColor(0x23, 0x27, 0x2E);
    console.border = QColor(0x12, 0x14, 0x18);
    console.light = QColor(0x55, 0x5E, 0x6B);
    console.shadow = QColor(0x16, 0x19, 0x1E);
    console.text = QColor(0xE4, 0xE8, 0xEE);
    console.textDisabled = QColor(0x74, 0x7C, 0x88);
    console.field = QColor(0x17, 0x1A, 0x1F);
    console.fieldText = QColor(0xD8, 0xF3, 0xE0);
    console.accent = QColor(0xF0, 0xA0, 0x30);  // tally amber
    console.accentText = QColor(0x12, 0x14, 0x18);
    console.captionTop = QColor(0x40, 0x47, 0x52);
    console.captionBottom = QColor(0x1E, 0x22, 0x28);
    console.captionInactiveTop = QColor(0x33, 0x37, 0x3E);
    console.captionInactiveBottom = QColor(0x2A, 0x2D, 0x33);
    console.captionText = QColor(0xF0, 0xA0, 0x30);
    console.captionTextInactive = QColor(0x8A, 0x90, 0x99);
    console.frame = QColor(0x30, 0x36, 0x3F);
    console.frameInactive = QColor(0x2C, 0x2F, 0x35);
    console.closeHot = QColor(0xD0, 0x30, 0x30);  // on-air red
    console.radius = 4;
    console.lineWidth = 1;

    SkinLook daylight;
    daylight.name = QStringLiteral("Daylight");
    daylight.displayName = QStringLiteral("Daylight");
    daylight.face = QColor(0xEC, 0xEF, 0xF3);
    daylight.faceLight = QColor(0xFC, 0xFD, 0xFE);
    daylight.faceDark = QColor(0xDC, 0xE1, 0xE8);
    daylight.border = QColor(0x9A, 0xA6, 0xB5);
    daylight.light = QColor(0xFF, 0xFF, 0xFF);
    daylight.shadow = QColor(0xB4, 0xBD, 0xC9);
    daylight.text = QColor(0x1E, 0x25, 0x2E);
    daylight.textDisabled = QColor(0x9A, 0xA2, 0xAD);
    daylight.field = QColor(0xFF, 0xFF, 0xFF);
    daylight.fieldText = QColor(0x1E, 0x25, 0x2E);
    daylight.accent = QColor(0x2F, 0x6F, 0xD0);
    daylight.accentText = QColor(0xFF, 0xFF, 0xFF);
    daylight.captionTop = QColor(0x5B, 0x93, 0xE6);
    daylight.captionBottom = QColor(0x2F, 0x6F, 0xD0);
    daylight.captionInactiveTop = QColor(0xD5, 0xDC, 0xE6);
    daylight.captionInactiveBottom = QColor(0xC3, 0xCC, 0xD8);
    daylight.captionText = QColor(0xFF, 0xFF, 0xFF);
    daylight.captionTextInactive = QColor(0x5E, 0x68, 0x75);
    daylight.frame = QColor(0x2F, 0x6F, 0xD0);
    daylight.frameInactive = QColor(0xC3, 0xCC, 0xD8);
    daylight.closeHot = QColor(0xE0, 0x45, 0x3A);
    daylight.radius = 6;
    daylight.lineWidth = 1;

    SkinLook contrast;
    contrast.name = QStringLiteral("Contrast");
    contrast.displayName = QStringLiteral("Contrast");
    contrast.face = QColor(0x00, 0x00, 0x00);
    contrast.faceLight = QColor(0x00, 0x00, 0x00);
    contrast.faceDark = QColor(0x00, 0x00, 0x00);
    contrast.border = QColor(0xFF, 0xFF, 0xFF);
    contrast.light = QColor(0xFF, 0xFF, 0xFF);
    contrast.shadow = QColor(0xFF, 0xFF, 0xFF);
    contrast.text = QColor(0xFF, 0xFF, 0xFF);
    contrast.textDisabled = QColor(0x00, 0xC8, 0x00);
    contrast.field = QColor(0x00, 0x00, 0x00);
    contrast.fieldText = QColor(0xFF, 0xFF, 0x00);
    contrast.accent = QColor(0xFF, 0xFF, 0x00);
    contrast.accentText = QColor(0x00, 0x00, 0x00);
    contrast.captionTop = QColor(0x00, 0x00, 0xC0);
    contrast.captionBottom = QColor(0x00, 0x00, 0xC0);
    contrast.captionInactiveTop = QColor(0x40, 0x40, 0x40);
    contrast.captionInactiveBottom = QColor(0x40, 0x40, 0x40);
    contrast.captionText = QColor(0xFF, 0xFF, 0xFF);
    contrast.captionTextInactive = QColor(0xC0, 0xC0, 0xC0);
    contrast.frame = QColor(0xFF, 0xFF, 0x00);
    contrast.frameInactive = QColor(0xC0, 0xC0, 0xC0);
    contrast.closeHot = QColor(0xFF, 0x00, 0x00);
    contrast.radius = 0;
    contrast.lineWidth = 2;

    return {console, daylight, contrast};
}

}  // namespace vardo
