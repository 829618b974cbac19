// Arbitrary bytes through the UGF record reader, then the values read through the writer and
// back: the data lines stay inside the file, a point mirrored twice is the point again, and every
// value written reads back unchanged.

#include "conversion/ConversionState.h"
#include "conversion/KeyTable.h"
#include "conversion/LineList.h"
#include "conversion/Text.h"
#include "conversion/UgfRecord.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TLineList lines = SplitLines(text);
    const TUgfSections sections = FindUgfSections(text);
    Check(sections.lineCount == lines.size());
    TConversionState state;
    TUgfHeader header;
    for (int i = 1; i < sections.data; ++i) {
        header.ReadLine(lines[static_cast<std::size_t>(i)], state);
    }
    TStringSplit& split = state.StringSplit;
    const std::optional<TUgfHandicap> handicap = ReadUgfHandicap(header.Value(keys::HDCP), split);
    Check(!handicap || handicap->count >= 0);
    (void)ReadUgfResult(header.Value(keys::WINNER), split);
    (void)ReadUgfPlayer(header.Value(keys::BMEMB1), split);

    const TUgfDataLines dataLines =
        LocateUgfDataLines(sections, lines.size(), handicap ? handicap->count : 0);
    Check(dataLines.handicapBegin <= dataLines.moveBegin && dataLines.moveBegin <= dataLines.end &&
          dataLines.end <= lines.size());
    // The newer form: its data end at a section line after "[Data]", and mirroring a point twice
    // gives it back.
    (void)ReadUgfCrypt(header.Value(keys::CRYPT));
    const int end = FindNextSectionLine(text, sections.data);
    Check(end == -1 || (end > sections.data && IsUgfSectionLine(lines[end])));
    (void)ReadUgfNewerPlayer(header.Value(TUgfNewerKey::PlayerB).value_or(""), split);
    const int rows = IgsRowsOf(header);
    Check(rows >= 0 && rows <= 25);
    const auto mirrorsBack = [rows](std::string_view point) {
        const std::string mirrored = MirrorUgfPoint(point, rows == 0 ? 19 : rows);
        Check(mirrored.size() == point.size() &&
              MirrorUgfPoint(mirrored, rows == 0 ? 19 : rows) == point);
    };

    TLineList handicapLines;
    TLineList moveLines;
    for (std::size_t i = dataLines.handicapBegin; i < dataLines.moveBegin; ++i) {
        if (const std::optional<std::string_view> point = ReadUgfHandicapLine(lines[i])) {
            mirrorsBack(*point);
        }
        handicapLines.push_back(lines[i]);
    }
    for (std::size_t i = dataLines.moveBegin; i < dataLines.end; ++i) {
        if (const std::optional<TUgfMove> move = ReadUgfMoveLine(lines[i])) {
            mirrorsBack(move->point);
        }
        moveLines.push_back(lines[i]);
    }

    TUgfWrittenHeader written;
    written.title = header.Value(keys::TITLE);
    written.place = header.Value(keys::PLACE);
    written.rule = header.Value(keys::RULE);
    written.size = header.Value(keys::SIZE);
    written.winner = header.Value(keys::WINNER);
    written.bMemb1 = header.Value(keys::BMEMB1);
    written.wMemb1 = header.Value(keys::WMEMB1);
    written.copyright = header.Value(keys::COPYRIGHT);
    const TLineList record = WriteUgfRecord(written, handicapLines, moveLines);
    const TUgfSections again = FindUgfSections(JoinLines(record));
    Check(again.header == 0 && again.data == 16);
    TUgfHeader reread;
    for (int i = 1; i < again.data; ++i) {
        reread.ReadLine(record[static_cast<std::size_t>(i)], state);
    }
    for (const std::uint8_t code : {keys::TITLE, keys::PLACE, keys::RULE, keys::SIZE, keys::WINNER,
                                    keys::BMEMB1, keys::WMEMB1, keys::COPYRIGHT}) {
        Check(reread.Value(code) == header.Value(code));
    }
    Check(reread.Value(keys::MOVES) == IntToText(static_cast<long long>(moveLines.size()) + 1));
    Check(reread.Value(keys::CRYPT) == "0,PLAIN_UGF_FILE" && reread.Value(keys::LANG) == "SJIS");
    return 0;
}
