#include "Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace vardo {

namespace {

// A preset file name wins over the initial folder, as the open command asks for either.
QString StartPath(const Prompts::FileRequest& request) {
    if (!request.fileName.isEmpty()) {
        return QDir(request.initialFolder).absoluteFilePath(request.fileName);
    }
    return request.initialFolder;
}

// The toolkit's own file dialog, not the desktop's: the skin engine reaches it as a bare window,
// so it takes the program's skin like the message boxes.
constexpr QFileDialog::Options kOwnDialog = QFileDialog::DontUseNativeDialog;

std::optional<QString> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return path;
}

}  // namespace

// OK is the default answer, as in the system's OK/Cancel boxes: Enter confirms.
bool QtPrompts::ConfirmOkCancel(QWidget* parent, const QString& caption, const QString& text) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

void QtPrompts::ShowError(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QCoreApplication::applicationName(), text);
}

std::optional<QString> QtPrompts::ChooseOpenFile(QWidget* parent, const FileRequest& request) {
    return Chosen(QFileDialog::getOpenFileName(parent, request.title, StartPath(request),
                                               request.filter, nullptr, kOwnDialog));
}

std::optional<QString> QtPrompts::ChooseSaveFile(QWidget* parent, const FileRequest& request) {
    return Chosen(QFileDialog::getSaveFileName(parent, request.title, StartPath(request),
                                               request.filter, nullptr,
                                               kOwnDialog | QFileDialog::DontConfirmOverwrite));
}

}  // namespace vardo
