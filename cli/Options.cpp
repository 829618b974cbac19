#include "cli/Options.h"

#include <string_view>

namespace {

// The setting an option with a value names, or nullptr.
std::int32_t* ValueOption(TOptions& options, std::string_view name) {
    if (name == "--app") {
        return &options.settings.USGFApli;
    }
    if (name == "--sgf-conv") {
        return &options.settings.SGFConv;
    }
    if (name == "--ugf-conv") {
        return &options.settings.UGFConv;
    }
    return nullptr;
}

}  // namespace

std::optional<std::int32_t> ParseInt32(const std::string& text) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        i = 1;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > 2147483647LL) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<TOptions> ParseOptions(const std::vector<std::string>& arguments,
                                     std::string& error) {
    TOptions options;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (onlyFiles || argument.size() < 2 || argument[0] != '-') {
            options.files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            onlyFiles = true;
        } else if (argument == "-q" || argument == "--quiet") {
            options.quiet = true;
        } else if (argument == "--check") {
            options.check = true;
        } else if (argument == "--help") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else {
            const std::size_t equals = argument.find('=');
            const std::string name = argument.substr(0, equals);
            std::int32_t* setting = ValueOption(options, name);
            if (!setting) {
                error = "unknown option " + argument;
                return std::nullopt;
            }
            std::string value;
            if (equals != std::string::npos) {
                value = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                error = "option " + name + " needs a value";
                return std::nullopt;
            }
            const std::optional<std::int32_t> number = ParseInt32(value);
            if (!number) {
                error = "option " + name + " needs a signed 32-bit decimal integer, not '" + value +
                        "'";
                return std::nullopt;
            }
            *setting = *number;
        }
    }
    if (options.files.empty() && !options.help && !options.version) {
        error = "no FILE given";
        return std::nullopt;
    }
    return options;
}
