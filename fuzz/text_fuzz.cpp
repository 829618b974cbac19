// The text rules, line lists, paths and splitting components on arbitrary bytes. The first byte
// picks a separator, the second a pair of patterns; the rest is the text.

#include "conversion/KeyTable.h"
#include "conversion/LineList.h"
#include "conversion/PatExtract.h"
#include "conversion/Paths.h"
#include "conversion/StringSplit.h"
#include "conversion/Text.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

const char* const SEPARATORS[] = {",", "=", "]", ";", "+", "\x83", "]]", "\x83\x5D", ""};
const char* const PATTERNS[][2] = {{"[", "]"}, {"(", ")"}, {"\x83", "\x5D"}, {"", "]"}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::string separator = SEPARATORS[data[0] % std::size(SEPARATORS)];
    const auto& patterns = PATTERNS[data[1] % std::size(PATTERNS)];
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);

    const std::size_t found = FindText(separator, text);
    Check(found <= text.size());
    Check(found == 0 || text.compare(found - 1, separator.size(), separator) == 0);

    TStringSplit split;
    split.expr = text;
    split.pattern = separator;
    split.patterncut = false;
    split.Split();
    std::string joined;
    for (const std::string& item : split.items) {
        joined += item;
    }
    Check(joined == text);
    split.patterncut = true;
    split.Split();
    Check(split.items.size() <= text.size() + 1);

    TPatExtract extract;
    extract.Expr = text;
    extract.Pattern1 = patterns[0];
    extract.Pattern2 = patterns[1];
    if (!extract.Extract()) {
        Check(extract.Prope.empty() && extract.Data.empty());
    }
    Check(extract.Prope.size() <= text.size() && extract.Data.size() <= text.size());

    Check(AnsiUpper(text).size() == text.size() && AnsiLower(text).size() == text.size());
    Check(SameTextIgnoringCase(AnsiUpper(text), AnsiLower(text)));
    Check(TrimView(text).size() <= text.size());
    (void)KeyCodeOf(text);

    const TLineList lines = SplitLines(text);
    Check(SplitLines(JoinLines(lines)) == lines);

    for (const TPathStyle style : {TPathStyle::Windows, TPathStyle::Posix}) {
        const std::string name = ExtractFileName(text, style);
        const std::string extension = ExtractFileExt(text, style);
        Check(name.size() <= text.size() && extension.size() <= name.size());
        Check(ChangeFileExt(text, extension, style) == text);
        (void)ExtractFileDir(text, style);
        (void)JoinPath(text, name, style);
    }
    return 0;
}
