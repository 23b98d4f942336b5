#pragma once

#include <string>
#include <string_view>
#include <vector>

// Marks a text the operator reads, written in Chinese, the program's own language, for the
// translators' tools, which read it as Qt's QT_TRANSLATE_NOOP. Here it is the text itself: this
// layer words what it reports in the source language, and the window layer translates where it
// shows it, while files keep the source wording.
#define VARDO_TEXT(context, text) text

namespace vardo {

// A text to show the operator: a marked wording whose %1, %2 ... the arguments fill in (after
// translation, where it is shown in another language).
struct OperatorText {
    const char* context = "";
    const char* wording = "";  // as marked with VARDO_TEXT; empty for no text
    std::vector<std::string> arguments;

    bool empty() const { return *wording == '\0'; }
    // The text in the source language: the wording with its arguments filled in.
    std::string Worded() const;
};

// A text worded elsewhere (the system's reason for a failed file operation): shown as it is.
inline OperatorText Verbatim(std::string text) {
    return {"", "%1", {std::move(text)}};
}

// Fills %1 to %9 of wording with the arguments (the first for %1); a marker without an argument
// stays as written.
std::string FillArguments(std::string_view wording, const std::vector<std::string>& arguments);

}  // namespace vardo
