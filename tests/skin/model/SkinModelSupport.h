#pragma once

#include "SkinModel.h"
#include "SkinRead.h"
#include "WinConvert.h"
#include "WinSkinIni.h"

#include <QBuffer>
#include <QColor>
#include <QImage>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vardo::test {

inline QImage Solid(int width, int height, const QColor& colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Frames of the given size side by side, frame i filled with colours[i].
inline QImage FrameStrip(QSize cell, const std::vector<QColor>& colours) {
    QImage image(cell.width() * static_cast<int>(colours.size()), cell.height(),
                 QImage::Format_RGB32);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        for (int y = 0; y < cell.height(); ++y) {
            for (int x = 0; x < cell.width(); ++x) {
                image.setPixelColor(static_cast<int>(i) * cell.width() + x, y, colours[i]);
            }
        }
    }
    return image;
}

inline std::string BmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    return bytes.toStdString();
}

// A skin file holding the definition and the images as BMP entries.
inline std::string SkinFileOf(const std::string& definition,
                              const std::map<std::string, QImage>& images) {
    std::vector<SkinEntry> entries{{"skin.ini", definition}};
    for (const auto& [name, image] : images) entries.push_back({name, BmpBytes(image)});
    return PackSkinFile(BuildSkinContainer(entries));
}

inline std::unique_ptr<TSkinModel> ReadModel(const std::string& definition,
                                             const std::map<std::string, QImage>& images = {}) {
    TSkinReader reader;
    reader.LoadFromStream(SkinFileOf(definition, images));
    TQuickIni ini;
    ini.LoadFromStream(definition);
    return ReadSkinDefinition(ini, reader);
}

inline QColor PixelOf(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

}  // namespace vardo::test
