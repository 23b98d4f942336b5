#include "PrivateFont.h"

#include <QFontDatabase>
#include <QString>

namespace vardo::platform {

bool AddPrivateFont(const std::string& path) {
    return QFontDatabase::addApplicationFont(QString::fromStdString(path)) != -1;
}

}  // namespace vardo::platform
