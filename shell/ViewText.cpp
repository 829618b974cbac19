#include "shell/ViewText.h"

#include "conversion/SgfEncoding.h"

#include <optional>

std::string ViewText(std::string_view bytes) {
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos) {
        bytes = bytes.substr(0, nul);
    }
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            text += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
        } else {
            text += bytes[i];
        }
    }
    return text;
}

TViewedText ViewedText(std::string_view bytes, bool sgf) {
    if (sgf) {
        if (const std::optional<std::string> utf8 = SgfRecordAsUtf8(bytes)) {
            return {ViewText(*utf8), true};
        }
    }
    return {ViewText(bytes), false};
}
