#include "shell/ViewText.h"

#include "conversion/SgfEncoding.h"

#include <optional>

std::string ViewText(std::string_view bytes) {
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos) {
        bytes = bytes.substr(0, nul);
    }
    // The text between CRs is copied whole; only a CR is looked at.
    std::string text;
    text.reserve(bytes.size());
    std::size_t from = 0;
    for (std::size_t cr; (cr = bytes.find('\r', from)) != std::string_view::npos;) {
        text.append(bytes.substr(from, cr - from));
        text += '\n';
        from = cr + 1 < bytes.size() && bytes[cr + 1] == '\n' ? cr + 2 : cr + 1;
    }
    text.append(bytes.substr(from));
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
