#include "conversion/CheckText.h"

namespace {

// One reason the design changes a game. A counted reason has "%N" where its count goes, and an
// English form for a count of one.
struct TReason {
    unsigned change;
    const char* englishOne;
    const char* english;
    // Shift-JIS.
    const char* japanese;
};

constexpr TReason REASONS[] = {
    {design::VARIATIONS_LEFT_OUT, "%N variation left out", "%N variations left out",
     // "本譜以外の分岐 %N 個は変換しません"
     "\x96\x7B\x95\x88\x88\xC8\x8A\x4F\x82\xCC\x95\xAA\x8A\xF2 %N \x8C\xC2\x82\xCD\x95\xCF\x8A\xB7"
     "\x82\xB5\x82\xDC\x82\xB9\x82\xF1"},
    {design::GAMES_LEFT_OUT, "%N more game in the file left out",
     "%N more games in the file left out",
     // "このファイルのほかの対局 %N 局は変換しません"
     "\x82\xB1\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x82\xD9\x82\xA9\x82\xCC\x91\xCE"
     "\x8B\xC7 %N \x8B\xC7\x82\xCD\x95\xCF\x8A\xB7\x82\xB5\x82\xDC\x82\xB9\x82\xF1"},
    {design::ROOT_MOVES, "a move in the root node is not taken",
     "a move in the root node is not taken",
     // "ルートノードの着手は移りません"
     "\x83\x8B\x81\x5B\x83\x67\x83\x6D\x81\x5B\x83\x68\x82\xCC\x92\x85\x8E\xE8\x82\xCD\x88\xDA"
     "\x82\xE8\x82\xDC\x82\xB9\x82\xF1"},
    {design::OTHER_SETUP, "setup stones other than the root's AB have no place in UGF",
     "setup stones other than the root's AB have no place in UGF",
     // "AB 以外の配置（AW、AE、途中の配置）は UGF に移りません"
     "AB \x88\xC8\x8A\x4F\x82\xCC\x94\x7A\x92\x75\x81\x69"
     "AW\x81\x41"
     "AE\x81\x41\x93\x72\x92\x86\x82\xCC\x94\x7A\x92\x75\x81\x6A\x82\xCD UGF \x82\xC9\x88\xDA"
     "\x82\xE8\x82\xDC\x82\xB9\x82\xF1"},
    {design::HANDICAP_AS_MOVES,
     "handicap stones read back as black moves (no Hdcp line is written)",
     "handicap stones read back as black moves (no Hdcp line is written)",
     // "置石は黒の着手として読み戻されます（Hdcp 行を書きません）"
     "\x92\x75\x90\xCE\x82\xCD\x8D\x95\x82\xCC\x92\x85\x8E\xE8\x82\xC6\x82\xB5\x82\xC4\x93\xC7"
     "\x82\xDD\x96\xDF\x82\xB3\x82\xEA\x82\xDC\x82\xB7\x81\x69Hdcp \x8D\x73\x82\xF0\x8F\x91\x82"
     "\xAB\x82\xDC\x82\xB9\x82\xF1\x81\x6A"},
    {design::CAPITAL_POINTS, "points in capital letters read back in small letters",
     "points in capital letters read back in small letters",
     // "大文字の座標は小文字として読み戻されます"
     "\x91\xE5\x95\xB6\x8E\x9A\x82\xCC\x8D\xC0\x95\x57\x82\xCD\x8F\xAC\x95\xB6\x8E\x9A\x82\xC6"
     "\x82\xB5\x82\xC4\x93\xC7\x82\xDD\x96\xDF\x82\xB3\x82\xEA\x82\xDC\x82\xB7"},
    {design::PASS_FORM, "\"tt\" is a pass in one format and a point in the other",
     "\"tt\" is a pass in one format and a point in the other",
     // "「tt」が一方ではパス、他方では座標になります"
     "\x81\x75tt\x81\x76\x82\xAA\x88\xEA\x95\xFB\x82\xC5\x82\xCD\x83\x70\x83\x58\x81\x41\x91\xBC"
     "\x95\xFB\x82\xC5\x82\xCD\x8D\xC0\x95\x57\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB7"},
    {design::BARE_STONES, "the SGF of this application gives handicap stones no property name",
     "the SGF of this application gives handicap stones no property name",
     // "ＡＩ囲碁の SGF は置石をプロパティ名なしで書きます"
     "\x82\x60\x82\x68\x88\xCD\x8C\xE9\x82\xCC SGF \x82\xCD\x92\x75\x90\xCE\x82\xF0\x83\x76\x83"
     "\x8D\x83\x70\x83\x65\x83\x42\x96\xBC\x82\xC8\x82\xB5\x82\xC5\x8F\x91\x82\xAB\x82\xDC\x82"
     "\xB7"},
};

// The words a difference is put together from.
struct TWords {
    const char* separator;  // between reasons
    const char* size;       // the size's line, before its texts
    const char* setupBefore;
    const char* setupAfter;  // around a setup stone's number
    const char* moveBefore;
    const char* moveAfter;  // around a move's number
    const char* source;     // before the source's text
    const char* output;     // before the output's text
    const char* pass;
    const char* black;
    const char* white;
    const char* empty;
    const char* none;
    const char* offBefore;
    const char* offAfter;  // around the text of a point off the board
};

constexpr TWords ENGLISH = {"; ",     "size",      "setup stone ", "",     "move ",
                            "",       ": source ", ", output ",    "pass", "black ",
                            "white ", "empty ",    "none",         "'",    "' (off the board)"};

constexpr TWords JAPANESE = {
    "\x81\x41",                                  // "、"
    "\x94\xD5\x82\xCC\x91\xE5\x82\xAB\x82\xB3",  // "盤の大きさ"
    "\x94\x7A\x92\x75\x82\xCC ",                 // "配置の "
    " \x94\xD4\x96\xDA",                         // " 番目"
    "",
    "\x8E\xE8",                           // "手"
    " \x95\xCF\x8A\xB7\x91\x4F ",         // " 変換前 "
    "\x81\x41\x95\xCF\x8A\xB7\x8C\xE3 ",  // "、変換後 "
    "\x83\x70\x83\x58",                   // "パス"
    "\x8D\x95 ",                          // "黒 "
    "\x94\x92 ",                          // "白 "
    "\x8B\xF3\x93\x5F ",                  // "空点 "
    "\x82\xC8\x82\xB5",                   // "なし"
    "\x94\xD5\x8A\x4F (",                 // "盤外 ("
    ")",
};

const TWords& WordsOf(TWording wording) {
    return wording == TWording::English ? ENGLISH : JAPANESE;
}

std::string PointIn(const TGame& game, const TGamePoint& point, const TWords& words) {
    switch (point.kind) {
        case TPointKind::Pass:
            return words.pass;
        case TPointKind::On:
            return CoordinateOf(point, game.boardSize);
        case TPointKind::Off:
            break;
    }
    std::string text = words.offBefore;
    text += game.Text(point);
    text += words.offAfter;
    return text;
}

std::string SetupText(const TGame& game, std::size_t index, const TWords& words) {
    if (index >= game.setup.size()) {
        return words.none;
    }
    const TSetupStone& stone = game.setup[index];
    std::string text = stone.kind == TSetupKind::Black   ? words.black
                       : stone.kind == TSetupKind::White ? words.white
                                                         : words.empty;
    return text += PointIn(game, stone.point, words);
}

// A move of game at index: its point, with its colour when colours.
std::string MoveText(const TGame& game, std::size_t index, bool colours, const TWords& words) {
    if (index >= game.moves.size()) {
        return words.none;
    }
    const TGameMove& move = game.moves[index];
    std::string text = colours ? (move.colour == TColour::Black ? words.black : words.white) : "";
    return text += PointIn(game, move.point, words);
}

}  // namespace

std::string PointText(const TGame& game, const TGamePoint& point, TWording wording) {
    return PointIn(game, point, WordsOf(wording));
}

std::string DesignChangesText(unsigned changes, const TGameNotes& notes, TWording wording) {
    std::string text;
    for (const TReason& reason : REASONS) {
        if ((changes & reason.change) == 0) {
            continue;
        }
        const std::size_t count = reason.change == design::VARIATIONS_LEFT_OUT ? notes.variations
                                  : reason.change == design::GAMES_LEFT_OUT    ? notes.games
                                                                               : 0;
        std::string said = wording == TWording::Japanese ? reason.japanese
                           : count == 1                  ? reason.englishOne
                                                         : reason.english;
        if (const std::size_t at = said.find("%N"); at != std::string::npos) {
            said.replace(at, 2, std::to_string(count));
        }
        if (!text.empty()) {
            text += WordsOf(wording).separator;
        }
        text += said;
    }
    return text;
}

std::string DifferenceText(const TGame& source, const TGame& output,
                           const TGameDifference& difference, TWording wording) {
    const TWords& words = WordsOf(wording);
    const std::size_t i = difference.index;
    const std::string number = std::to_string(i + 1);
    std::string text;
    std::string before;
    std::string after;
    switch (difference.what) {
        case TGameDifference::TWhat::Size:
            text = words.size;
            before = source.size;
            after = output.size;
            break;
        case TGameDifference::TWhat::Setup:
            text = words.setupBefore + number + words.setupAfter;
            before = SetupText(source, i, words);
            after = SetupText(output, i, words);
            break;
        case TGameDifference::TWhat::Move: {
            // The colours when they differ.
            const bool colours = i < source.moves.size() && i < output.moves.size() &&
                                 source.moves[i].colour != output.moves[i].colour;
            text = words.moveBefore + number + words.moveAfter;
            before = MoveText(source, i, colours, words);
            after = MoveText(output, i, colours, words);
            break;
        }
        case TGameDifference::TWhat::None:
            return {};
    }
    return text + words.source + before + words.output + after;
}
