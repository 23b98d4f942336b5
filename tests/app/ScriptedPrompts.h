#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "Prompts.h"

namespace vardo::test {

// Answers the forms' questions from a script and records what was asked. An unscripted
// confirmation is answered Cancel, an unscripted file dialog is cancelled.
class ScriptedPrompts final : public Prompts {
  public:
    struct Confirmation {
        QString caption;
        QString text;
    };

    std::deque<bool> confirmAnswers;
    std::deque<QString> chosenFiles;
    std::vector<Confirmation> confirmations;
    QStringList errors;
    std::vector<FileRequest> openRequests;
    std::vector<FileRequest> saveRequests;
    // Runs while an error box would wait for the operator, with the box's parent.
    std::function<void(QWidget*)> whileErrorShown;
    // Runs while any box or file dialog would wait for the operator, before its answer is taken.
    std::function<void()> whileAnyShown;

    bool ConfirmOkCancel(QWidget*, const QString& caption, const QString& text) override {
        confirmations.push_back({caption, text});
        if (whileAnyShown) whileAnyShown();
        if (confirmAnswers.empty()) return false;
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    void ShowError(QWidget* parent, const QString& text) override {
        errors.push_back(text);
        if (whileErrorShown) whileErrorShown(parent);
        if (whileAnyShown) whileAnyShown();
    }
    std::optional<QString> ChooseOpenFile(QWidget*, const FileRequest& request) override {
        openRequests.push_back(request);
        if (whileAnyShown) whileAnyShown();
        return NextFile();
    }
    std::optional<QString> ChooseSaveFile(QWidget*, const FileRequest& request) override {
        saveRequests.push_back(request);
        if (whileAnyShown) whileAnyShown();
        return NextFile();
    }

  private:
    std::optional<QString> NextFile() {
        if (chosenFiles.empty()) return std::nullopt;
        QString file = chosenFiles.front();
        chosenFiles.pop_front();
        return file;
    }
};

}  // namespace vardo::test
