#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace vardo {

// Every modal question the forms ask the operator goes through here, so that offscreen tests can
// answer message boxes and file dialogs without a human and without blocking.
class Prompts {
  public:
    virtual ~Prompts() = default;

    // OK/Cancel question, OK the default; true only for OK.
    virtual bool ConfirmOkCancel(QWidget* parent, const QString& caption, const QString& text) = 0;
    // The standard error box: one OK button.
    virtual void ShowError(QWidget* parent, const QString& text) = 0;

    struct FileRequest {
        QString title;
        QString filter;    // Qt filter syntax, e.g. "Vardo(*.tab) (*.tab)"
        QString fileName;  // preset file name, may be empty
        QString initialFolder;
    };
    // The chosen full path, or nothing when the operator cancels.
    virtual std::optional<QString> ChooseOpenFile(QWidget* parent, const FileRequest& request) = 0;
    // Adds no default extension and never asks before overwriting.
    virtual std::optional<QString> ChooseSaveFile(QWidget* parent, const FileRequest& request) = 0;
};

// Real message boxes and file dialogs.
class QtPrompts final : public Prompts {
  public:
    bool ConfirmOkCancel(QWidget* parent, const QString& caption, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
    std::optional<QString> ChooseOpenFile(QWidget* parent, const FileRequest& request) override;
    std::optional<QString> ChooseSaveFile(QWidget* parent, const FileRequest& request) override;
};

}  // namespace vardo
