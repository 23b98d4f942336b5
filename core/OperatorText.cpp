#include "OperatorText.h"

namespace vardo {

std::string OperatorText::Worded() const {
    return FillArguments(wording, arguments);
}

std::string FillArguments(std::string_view wording, const std::vector<std::string>& arguments) {
    std::string text;
    text.reserve(wording.size());
    for (std::size_t i = 0; i < wording.size(); ++i) {
        if (wording[i] == '%' && i + 1 < wording.size() && wording[i + 1] >= '1' &&
            wording[i + 1] <= '9') {
            const std::size_t index = static_cast<std::size_t>(wording[i + 1] - '1');
            if (index < arguments.size()) {
                text += arguments[index];
                ++i;
                continue;
            }
        }
        text += wording[i];
    }
    return text;
}

}  // namespace vardo
