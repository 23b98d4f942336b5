// vardo-skingen: draws our skins and the program's own skin images.
//   vardo-skingen skins DIR    writes DIR/<skin>/ for each shipped skin: its BMP images and
//   skin.ini vardo-skingen program DIR  writes DIR/TRACK.bmp, DIR/TRACKVERT.bmp and
//   DIR/QUILLONMENU.bmp
// Every failure is one line on standard error and a non-zero exit status.
#include "SkinArt.h"
#include "SkinLooks.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdio>
#include <map>

namespace vardo {
namespace {

bool WriteBitmap(const QString& path, const QImage& image) {
    // 24-bit BMPs, as skins carry them.
    if (image.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) return true;
    std::fprintf(stderr, "vardo-skingen: cannot write %s\n", qPrintable(path));
    return false;
}

bool WriteBitmaps(const QString& folder, const std::map<QString, QImage>& images,
                  const QString& suffix) {
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "vardo-skingen: cannot make %s\n", qPrintable(folder));
        return false;
    }
    for (const auto& [name, image] : images) {
        if (!WriteBitmap(folder + '/' + name + suffix, image)) return false;
    }
    return true;
}

bool WriteSkins(const QString& dir) {
    for (const SkinLook& look : ShippedLooks()) {
        const QString folder = dir + '/' + look.name;
        QDir(folder).removeRecursively();  // a renamed image must not linger in the pack
        const DrawnSkin skin = DrawSkin(look);
        if (!WriteBitmaps(folder, skin.images, QString())) return false;
        QFile ini(folder + QStringLiteral("/skin.ini"));
        if (!ini.open(QIODevice::WriteOnly) || ini.write(skin.definition.toUtf8()) < 0 ||
            !ini.flush()) {
            std::fprintf(stderr, "vardo-skingen: cannot write %s\n", qPrintable(ini.fileName()));
            return false;
        }
    }
    return true;
}

}  // namespace
}  // namespace vardo

int main(int argc, char** argv) {
    const QString mode = argc == 3 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString dir = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (mode == QLatin1String("skins")) return vardo::WriteSkins(dir) ? 0 : 1;
    if (mode == QLatin1String("program")) {
        return vardo::WriteBitmaps(dir, vardo::DrawProgramBitmaps(), QStringLiteral(".bmp")) ? 0
                                                                                             : 1;
    }
    std::fprintf(stderr, "usage: vardo-skingen skins DIR | vardo-skingen program DIR\n");
    return 2;
}
