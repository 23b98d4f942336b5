// A skin file of any bytes read as the program reads it: the container, then its definition (the
// first ".ini" entry) and the bitmaps that it names, into a skin model, with Qt Gui offscreen.
// A file is either refused or gives a model whose every element has at least one frame and draws
// at any size without reading outside its image.
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "SkinDrawing.h"
#include "SkinModel.h"
#include "SkinRead.h"
#include "WinSkinIni.h"

namespace {

// Declared sizes up to the reader's limit are valid but mostly spent writing zeros; our own skins
// declare about 190 KiB.
constexpr std::int32_t kMaxDeclaredSize = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 4) {
        std::int32_t declared;
        std::memcpy(&declared, data, 4);
        if (declared > kMaxDeclaredSize) return 0;
    }
    vardo::TSkinReader reader;
    if (!reader.LoadFromStream(std::string_view(reinterpret_cast<const char*>(data), size))) {
        return 0;
    }
    std::string definition;
    if (!reader.FindEntry(".ini", definition) || definition.empty()) return 0;
    vardo::TQuickIni ini;
    ini.LoadFromStream(definition);
    const std::unique_ptr<vardo::TSkinModel> model = vardo::ReadSkinDefinition(ini, reader);
    for (const vardo::TDataSkinObject* element : model->Elements()) {
        if (element->FrameCount < 1) std::abort();
        for (const QSize size : {QSize(37, 23), QSize(3, 300)}) {
            for (const int frame : {1, element->FrameCount}) {
                vardo::RenderElement(*element, size, frame);
                vardo::RenderElement(*element, size, frame, vardo::FrameAxis::Stacked);
            }
        }
    }
    return 0;
}
