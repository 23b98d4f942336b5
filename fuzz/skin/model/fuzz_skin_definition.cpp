// A decompressed skin container of any bytes read as the program reads it: the entries, then the
// definition (the first ".ini" entry) and the bitmaps that it names, into a skin model, with Qt Gui
// offscreen. A container is either refused or gives a model whose every element has at least one
// frame and draws at any size without reading outside its image. The decompression before it has
// targets of its own; here it would take nearly all the time.
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "SkinDrawing.h"
#include "SkinModel.h"
#include "SkinRead.h"
#include "WinSkinIni.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vardo::TSkinReader reader;
    if (!reader.LoadFromContainer(std::string(reinterpret_cast<const char*>(data), size))) return 0;
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
