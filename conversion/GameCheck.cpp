#include "conversion/GameCheck.h"

#include "conversion/ConversionState.h"
#include "conversion/LineList.h"
#include "conversion/SgfToUgf.h"
#include "conversion/Text.h"
#include "conversion/UgfToSgf.h"

#include <algorithm>

namespace {

// The text an SGF record holds, or the conversion to SGF writes, for a point: the pass as "tt"
// (or empty, when it was written so), a point of the board in letters from "a" (from "A" past
// "z").
std::string SgfTextOf(const TGame& game, const TGamePoint& point) {
    switch (point.kind) {
        case TPointKind::Pass:
            return point.blank ? "" : "tt";
        case TPointKind::On: {
            const auto letter = [](int value) {
                return static_cast<char>(value < 26 ? 'a' + value : 'A' + value - 26);
            };
            return {letter(point.column), letter(point.row)};
        }
        case TPointKind::Off:
            break;
    }
    return std::string(game.Text(point));
}

bool HasCapitals(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// The UGF point a data line written with point (as the conversion to UGF writes it) reads back as.
TGamePoint ReadBackAsUgf(const std::string& point, bool move, TGame& expected) {
    return UgfPoint(AnsiLower(point), point == "YA", expected.boardSize, move, expected);
}

// SGF to UGF: the handicap stones become data lines that read back as black moves (the UGF
// written has no "Hdcp" line), the other setup stones go, and each point is written upper-cased
// ("tt" as "YA").
void ExpectFromSgf(const TGame& source, TGame& expected, unsigned& changes) {
    const TGameNotes& notes = source.notes;
    changes |= (notes.variations > 0 ? design::VARIATIONS_LEFT_OUT : 0u) |
               (notes.games > 0 ? design::GAMES_LEFT_OUT : 0u) |
               (notes.rootMoves > 0 ? design::ROOT_MOVES : 0u) |
               (notes.laterSetup ? design::OTHER_SETUP : 0u);
    std::uint32_t list = 0;
    for (const TSetupStone& stone : source.setup) {
        if (stone.kind != TSetupKind::Black) {
            changes |= design::OTHER_SETUP;
            continue;
        }
        changes |= design::HANDICAP_AS_MOVES;
        // A compressed point list is one value of the record, so one data line.
        if (stone.point.kind == TPointKind::On && stone.point.text != 0) {
            if (stone.point.text == list) {
                continue;
            }
            list = stone.point.text;
        }
        const std::string text = stone.point.text != 0 && stone.point.kind == TPointKind::On
                                     ? std::string(source.Text(stone.point))
                                     : SgfTextOf(source, stone.point);
        expected.moves.push_back({TColour::Black, ReadBackAsUgf(AnsiUpper(text), true, expected)});
    }
    for (const TGameMove& move : source.moves) {
        const std::string text = SgfTextOf(source, move.point);
        const TGamePoint point =
            ReadBackAsUgf(text == "tt" ? std::string("YA") : AnsiUpper(text), true, expected);
        if (!SamePoint(source, move.point, expected, point)) {
            changes |= HasCapitals(text) ? design::CAPITAL_POINTS : design::PASS_FORM;
        }
        expected.moves.push_back({move.colour, point});
    }
}

// UGF to SGF: the points go into the SGF in small letters ("YA" as "tt"); the SGF of ＡＩ囲碁
// writes the handicap stones as values of the property before them.
void ExpectFromUgf(const TGame& source, int dialect, TGame& expected, unsigned& changes) {
    if (dialect == 2 && !source.setup.empty()) {
        changes |= design::BARE_STONES;
    } else {
        for (const TSetupStone& stone : source.setup) {
            expected.setup.push_back({stone.kind, SgfPoint(SgfTextOf(source, stone.point),
                                                           expected.boardSize, false, expected)});
        }
    }
    for (const TGameMove& move : source.moves) {
        const TGamePoint point =
            SgfPoint(SgfTextOf(source, move.point), expected.boardSize, true, expected);
        if (!SamePoint(source, move.point, expected, point)) {
            changes |= design::PASS_FORM;
        }
        expected.moves.push_back({move.colour, point});
    }
}

}  // namespace

TGame ExpectedOutputGame(const TGame& source, TRecordKind kind, int dialect, unsigned& changes) {
    TGame expected;
    expected.size = source.size;
    expected.boardSize = source.boardSize;
    expected.moves.reserve(source.moves.size() + source.setup.size());
    if (kind == TRecordKind::Sgf) {
        ExpectFromSgf(source, expected, changes);
    } else {
        ExpectFromUgf(source, dialect, expected, changes);
    }
    return expected;
}

TGameCheck CheckRecordGame(std::string_view bytes, TRecordKind kind,
                           const TConversionSettings& settings) {
    TGameCheck check;
    // A state of its own: the conversion leaves its traces (KeyCode, TempMemo, the components) in
    // it, and the caller's stays as it was.
    TConversionState state;
    state.Settings = settings;
    TSilentProgress progress;
    const bool sgf = kind == TRecordKind::Sgf;
    const TConvertedRecord converted =
        sgf ? ConvertSgfBytes(bytes, state, progress) : ConvertUgfRecord(bytes, state, progress);
    check.source = ReadRecordGame(bytes, kind);
    if (!converted.ready) {
        check.reason = state.FailureReason;
        return check;
    }
    check.output =
        ReadRecordGame(converted.text.Bytes(), sgf ? TRecordKind::Ugf : TRecordKind::Sgf);
    if (!check.source.ok || !check.output.ok) {
        check.verdict = TCheckVerdict::Differs;
        check.reason = check.source.ok ? check.output.reason : check.source.reason;
        return check;
    }
    check.difference = FirstDifference(check.source.game, check.output.game);
    const TGame expected =
        ExpectedOutputGame(check.source.game, kind, settings.USGFApli, check.changes);
    if (FirstDifference(expected, check.output.game).what != TGameDifference::TWhat::None) {
        check.verdict = TCheckVerdict::Differs;
    } else {
        check.verdict = check.changes != 0 ? TCheckVerdict::ByDesign : TCheckVerdict::Same;
    }
    return check;
}
