#include "conversion/UgfLayout.h"

#include "conversion/KeyTable.h"
#include "conversion/Texts.h"

TUgfLayout ReadUgfLayout(std::string_view text, const TUgfSections& sections,
                         TConversionState& state) {
    TUgfLayout layout;
    if (sections.header != 0) {
        layout.fault = TUgfFault::NoHeaderLine;
        return layout;
    }
    state.StepProgress();
    // The lines are walked once, front to back, as views into the text: none is copied or kept.
    layout.lines = TLineCursor(text);
    std::string_view line;
    (void)layout.lines.Next(line);  // "[Header]"
    for (int i = 1; i < sections.data; ++i) {
        (void)layout.lines.Next(line);
        layout.header.ReadLine(line, state);
        state.StepProgress();
    }
    if (sections.data > 1) {
        LeaveSplitAsLineLeftIt(line, '=', state.StringSplit);  // as if each line had been cut
    }
    // Kept as designed: both values are compared exactly, so 'sjis' or a trailing blank rejects.
    layout.form = ReadUgfCrypt(layout.header.Value(keys::CRYPT));
    if (!layout.form) {
        layout.fault = TUgfFault::NotPlain;
        return layout;
    }
    if (layout.header.Value(keys::LANG) != "SJIS") {
        layout.fault = TUgfFault::NotSjis;
        return layout;
    }
    // The newer form's data lines end at the next section line ("[ReviewNode]", "[Comment]").
    layout.dataSections = sections;
    if (*layout.form == TUgfForm::Newer) {
        layout.dataSections.comment = FindNextSectionLine(text, sections.data);
    }
    const std::optional<TUgfHandicap> handicap =
        ReadUgfHandicap(layout.header.Value(keys::HDCP), state.StringSplit);
    if (!handicap) {
        layout.fault = TUgfFault::BadHandicap;
        return layout;
    }
    layout.handicap = *handicap;
    layout.data = LocateUgfDataLines(layout.dataSections, sections.lineCount, handicap->count);
    layout.igsRows = IgsRowsOf(layout.header);
    if (layout.data.end > layout.data.handicapBegin) {
        (void)layout.lines.Next(line);  // "[Data]"
    }
    return layout;
}

std::string UgfFaultReason(const TUgfLayout& layout) {
    switch (layout.fault) {
        case TUgfFault::NoHeaderLine:
            return texts::NO_HEADER_LINE;
        case TUgfFault::NotPlain:
            return texts::NOT_PLAIN_TEXT + layout.header.Value(keys::CRYPT);
        case TUgfFault::NotSjis:
            return texts::NOT_SJIS + layout.header.Value(keys::LANG);
        case TUgfFault::BadHandicap:
            return texts::BAD_HANDICAP_COUNT + layout.header.Value(keys::HDCP);
        case TUgfFault::None:
            break;
    }
    return {};
}

std::optional<std::string_view> UgfHandicapPoint(std::string_view line, int igsRows,
                                                 std::string& mirrored) {
    std::optional<std::string_view> point = ReadUgfHandicapLine(line);
    if (point && igsRows > 0) {
        mirrored = MirrorUgfPoint(*point, igsRows);
        point = mirrored;
    }
    return point;
}

std::optional<TUgfStone> UgfMoveStone(std::string_view line, int igsRows, std::string& mirrored) {
    const std::optional<TUgfMove> move = ReadUgfMoveLine(line);
    if (!move) {
        return std::nullopt;
    }
    TUgfStone stone;
    stone.colour = move->colour;
    stone.point = move->point;
    stone.pass = move->point == "YA";
    if (igsRows > 0) {
        mirrored = MirrorUgfPoint(move->point, igsRows);
        stone.point = mirrored;
    }
    return stone;
}
