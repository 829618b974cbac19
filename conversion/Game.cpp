#include "conversion/Game.h"

#include "conversion/KeyTable.h"
#include "conversion/LineList.h"
#include "conversion/SGFAdjust.h"
#include "conversion/SgfEncoding.h"
#include "conversion/SgfNode.h"
#include "conversion/SgfTree.h"
#include "conversion/Text.h"
#include "conversion/Texts.h"
#include "conversion/UgfLayout.h"

#include <optional>

namespace {

// The value of a point letter: "a" to "z" 0 to 25; with capitals, "A" to "Z" 26 to 51; else -1.
int LetterValue(char c, bool capitals) {
    if (c >= 'a' && c <= 'z') {
        return c - 'a';
    }
    if (capitals && c >= 'A' && c <= 'Z') {
        return c - 'A' + 26;
    }
    return -1;
}

// Two letters naming a point of a board of boardSize, or a point off it with text.
TGamePoint LetterPoint(std::string_view text, int boardSize, bool capitals, TGame& game) {
    if (text.size() == 2) {
        const int column = LetterValue(text[0], capitals);
        const int row = LetterValue(text[1], capitals);
        if (column >= 0 && row >= 0 && column < boardSize && row < boardSize) {
            TGamePoint point;
            point.kind = TPointKind::On;
            point.column = static_cast<std::uint8_t>(column);
            point.row = static_cast<std::uint8_t>(row);
            return point;
        }
    }
    return game.OffPoint(text);
}

TSetupKind SetupKindOf(std::string_view name) {
    return name == "AW" ? TSetupKind::White : name == "AE" ? TSetupKind::Empty : TSetupKind::Black;
}

// The setup stones of one SGF value: a point, or a compressed list 'dd:ff' of every point of the
// rectangle between two points, each of which keeps the list's text.
void AddSgfSetup(TSetupKind kind, std::string_view value, TGame& game) {
    const std::size_t colon = value.find(':');
    if (colon != std::string_view::npos) {
        const TGamePoint from = SgfPoint(value.substr(0, colon), game.boardSize, false, game);
        const TGamePoint to = SgfPoint(value.substr(colon + 1), game.boardSize, false, game);
        if (from.kind == TPointKind::On && to.kind == TPointKind::On) {
            const TGamePoint list = game.OffPoint(value);
            for (int c = std::min(from.column, to.column); c <= std::max(from.column, to.column);
                 ++c) {
                for (int r = std::min(from.row, to.row); r <= std::max(from.row, to.row); ++r) {
                    TGamePoint point;
                    point.kind = TPointKind::On;
                    point.column = static_cast<std::uint8_t>(c);
                    point.row = static_cast<std::uint8_t>(r);
                    point.text = list.text;
                    game.setup.push_back({kind, point});
                }
            }
            return;
        }
    }
    game.setup.push_back({kind, SgfPoint(value, game.boardSize, false, game)});
}

}  // namespace

std::string_view TGame::Text(const TGamePoint& point) const {
    return point.text == 0 ? std::string_view() : std::string_view(texts[point.text - 1]);
}

TGamePoint TGame::OffPoint(std::string_view text) {
    texts.emplace_back(text);
    TGamePoint point;
    point.kind = TPointKind::Off;
    point.text = static_cast<std::uint32_t>(texts.size());
    return point;
}

int BoardSizeOf(std::string_view size) {
    size = TrimView(size);
    if (size.empty() || size.size() > 3) {
        return 0;
    }
    int value = 0;
    for (const char c : size) {
        if (c < '0' || c > '9') {
            return 0;
        }
        value = value * 10 + (c - '0');
    }
    return value >= 2 && value <= LARGEST_BOARD ? value : 0;
}

TGamePoint SgfPoint(std::string_view text, int boardSize, bool move, TGame& game) {
    // "tt" names the pass on the boards it lies off, up to 19 x 19, and on a board of a size no
    // one can tell.
    if (move && (text.empty() || (text == "tt" && boardSize <= 19))) {
        TGamePoint pass;
        pass.blank = text.empty();
        return pass;
    }
    return LetterPoint(text, boardSize, true, game);
}

TGamePoint UgfPoint(std::string_view text, bool pass, int boardSize, bool move, TGame& game) {
    if (pass || (move && text.empty())) {
        TGamePoint point;
        point.blank = !pass;
        return point;
    }
    return LetterPoint(text, boardSize, false, game);
}

std::string CoordinateOf(const TGamePoint& point, int boardSize) {
    if (point.kind != TPointKind::On || point.column >= LARGEST_BOARD || point.row >= boardSize) {
        return {};
    }
    return ColumnLetter(point.column) + std::to_string(boardSize - point.row);
}

bool SamePoint(const TGame& a, const TGamePoint& p, const TGame& b, const TGamePoint& q) {
    if (p.kind != q.kind) {
        return false;
    }
    switch (p.kind) {
        case TPointKind::Pass:
            return true;
        case TPointKind::On:
            return p.column == q.column && p.row == q.row;
        case TPointKind::Off:
            return a.Text(p) == b.Text(q);
    }
    return false;
}

TGameDifference FirstDifference(const TGame& a, const TGame& b) {
    TGameDifference difference;
    if (TrimView(a.size) != TrimView(b.size)) {
        difference.what = TGameDifference::TWhat::Size;
        return difference;
    }
    const auto first = [&](const auto& left, const auto& right, auto same) -> std::size_t {
        const std::size_t common = std::min(left.size(), right.size());
        for (std::size_t i = 0; i < common; ++i) {
            if (!same(left[i], right[i])) {
                return i;
            }
        }
        return common;
    };
    const std::size_t setup =
        first(a.setup, b.setup, [&](const TSetupStone& s, const TSetupStone& t) {
            return s.kind == t.kind && SamePoint(a, s.point, b, t.point);
        });
    if (setup < std::max(a.setup.size(), b.setup.size())) {
        difference.what = TGameDifference::TWhat::Setup;
        difference.index = setup;
        return difference;
    }
    const std::size_t move = first(a.moves, b.moves, [&](const TGameMove& m, const TGameMove& n) {
        return m.colour == n.colour && SamePoint(a, m.point, b, n.point);
    });
    if (move < std::max(a.moves.size(), b.moves.size())) {
        difference.what = TGameDifference::TWhat::Move;
        difference.index = move;
    }
    return difference;
}

TGameRecord ReadUgfGame(std::string_view bytes) {
    TGameRecord record;
    // The conversion's own components read the header; their state is of no use afterwards.
    TConversionState state;
    TUgfLayout layout = ReadUgfLayout(bytes, FindUgfSections(bytes), state);
    if (layout.fault != TUgfFault::None) {
        record.reason = UgfFaultReason(layout);
        return record;
    }
    TGame& game = record.game;
    game.size = layout.header.Value(keys::SIZE);
    game.boardSize = BoardSizeOf(game.size);
    std::string mirrored;
    std::string_view line;
    const TUgfDataLines& data = layout.data;
    for (std::size_t i = data.handicapBegin; i < data.moveBegin; ++i) {
        (void)layout.lines.Next(line);
        if (const std::optional<std::string_view> point =
                UgfHandicapPoint(line, layout.igsRows, mirrored)) {
            game.setup.push_back({TSetupKind::Black,
                                  UgfPoint(AnsiLower(*point), false, game.boardSize, false, game)});
        }
    }
    game.moves.reserve(data.end - data.moveBegin);
    for (std::size_t i = data.moveBegin; i < data.end; ++i) {
        (void)layout.lines.Next(line);
        if (const std::optional<TUgfStone> stone = UgfMoveStone(line, layout.igsRows, mirrored)) {
            game.moves.push_back(
                {stone->colour == 'B' ? TColour::Black : TColour::White,
                 UgfPoint(AnsiLower(stone->point), stone->pass, game.boardSize, true, game)});
        }
    }
    record.ok = true;
    return record;
}

TGameRecord ReadSgfGame(std::string_view bytes) {
    TGameRecord record;
    const TShiftJisRecord text = SgfRecordAsShiftJis(bytes);
    if (!text.ok) {
        record.reason = texts::CANNOT_TRANSCODE + text.encoding.name;
        return record;
    }
    const std::optional<TSgfTree> read = ReadSgfTree(text.bytes);
    if (!read) {
        record.reason = texts::SGF_NOT_A_RECORD;
        return record;
    }
    const TSgfTree& tree = *read;
    TGame& game = record.game;
    const TSgfTree::TNode& root = tree.nodes[0];

    // The size is the first value of the last SZ, as the conversion takes it; a record without
    // one is 19 x 19 by the SGF standard, as the conversion writes it.
    bool sizeGiven = false;
    for (const TSgfTree::TProperty* p = tree.begin(root); p != tree.end(root); ++p) {
        if (KeyCodeOf(tree.Name(*p)) == keys::SZ) {
            game.size = TrimView(tree.Value(*p));
            sizeGiven = true;
        }
    }
    if (!sizeGiven) {
        game.size = "19";
    }
    game.boardSize = BoardSizeOf(game.size);

    // The conversion takes the root's black stones, then nothing else of the root: AW and AE
    // show here after them, and moves in the root are noted.
    for (const TSgfTree::TProperty* p = tree.begin(root); p != tree.end(root); ++p) {
        if (tree.Name(*p) == "AB") {
            for (std::size_t i = 0; i < p->valueCount; ++i) {
                AddSgfSetup(TSetupKind::Black, TrimView(tree.Value(*p, i)), game);
            }
        }
    }
    for (const TSgfTree::TProperty* p = tree.begin(root); p != tree.end(root); ++p) {
        const std::string_view name = tree.Name(*p);
        if (name == "AW" || name == "AE") {
            for (std::size_t i = 0; i < p->valueCount; ++i) {
                AddSgfSetup(SetupKindOf(name), TrimView(tree.Value(*p, i)), game);
            }
        } else if (SgfMoveColour(name) != '\0') {
            game.notes.rootMoves += p->valueCount;
        }
    }
    game.notes.variations = tree.variations;
    game.notes.games = tree.games;

    // The moves of every node but the root: a move property's first value (a further one is no
    // move to the conversion).
    TGameTree& moves = record.tree;
    moves.nodes.resize(tree.nodes.size());
    for (std::size_t n = 0; n < tree.nodes.size(); ++n) {
        const TSgfTree::TNode& node = tree.nodes[n];
        TGameTree::TNode& kept = moves.nodes[n];
        kept.parent = node.parent;
        kept.firstChild = node.firstChild;
        kept.nextSibling = node.nextSibling;
        kept.firstMove = static_cast<std::uint32_t>(moves.moves.size());
        if (n == 0) {
            continue;
        }
        for (const TSgfTree::TProperty* p = tree.begin(node); p != tree.end(node); ++p) {
            if (const char colour = SgfMoveColour(tree.Name(*p))) {
                moves.moves.push_back(
                    {colour == 'B' ? TColour::Black : TColour::White,
                     SgfPoint(TrimView(tree.Value(*p)), game.boardSize, true, game)});
            }
        }
        kept.moveCount = static_cast<std::uint32_t>(moves.moves.size()) - kept.firstMove;
    }
    for (const std::uint32_t n : tree.MainLine()) {
        const TGameTree::TNode& kept = moves.nodes[n];
        game.moves.insert(game.moves.end(), moves.moves.begin() + kept.firstMove,
                          moves.moves.begin() + kept.firstMove + kept.moveCount);
        if (n == 0) {
            continue;
        }
        const TSgfTree::TNode& node = tree.nodes[n];
        for (const TSgfTree::TProperty* p = tree.begin(node); p != tree.end(node); ++p) {
            const std::string_view name = tree.Name(*p);
            if (name == "AB" || name == "AW" || name == "AE") {
                game.notes.laterSetup = true;
            }
        }
    }
    record.ok = true;
    return record;
}

namespace {

// What the converter's reading hands over, kept as the old lists were: the root's entries and
// stones, and the values of the main line's nodes.
class TSplitGame : public TSgfSplitSink {
public:
    void Property(std::string_view entry) override { properties.emplace_back(entry); }
    void Stone(std::string_view entry) override { stones.emplace_back(entry); }
    void Node(std::string_view) override {}
    void Value(std::string_view name, std::string_view value) override {
        values.emplace_back(name, value);
    }

    TLineList properties;
    TLineList stones;
    std::vector<std::pair<std::string, std::string>> values;
};

}  // namespace

TGameRecord ReadSgfGameAsSplit(std::string_view bytes) {
    TGameRecord record;
    const TShiftJisRecord text = SgfRecordAsShiftJis(bytes);
    if (!text.ok) {
        record.reason = texts::CANNOT_TRANSCODE + text.encoding.name;
        return record;
    }
    TGame& game = record.game;
    TSplitGame split;
    TSgfLeftOut leftOut;
    if (!SplitSgfRecord(text.bytes, split, &leftOut)) {
        record.reason = texts::SGF_NOT_A_RECORD;
        return record;
    }
    game.notes.variations = leftOut.variations;
    game.notes.games = leftOut.games;

    // The root's properties, one value an entry; a further value ('[dp]') has no name of its own
    // and belongs to the property before it. The size is the last SZ, as the conversion takes it.
    struct TValue {
        std::string_view name;
        std::string_view value;
    };
    std::vector<TValue> root;
    std::string_view name;
    bool sizeGiven = false;
    for (const std::string& entry : split.properties) {
        const auto parts = SgfEntryParts(entry);
        if (!parts) {
            name = {};
            continue;
        }
        if (!parts->first.empty()) {
            name = parts->first;
        }
        if (!parts->first.empty() && KeyCodeOf(parts->first) == keys::SZ) {
            game.size = parts->second;
            sizeGiven = true;
        }
        root.push_back({name, parts->second});
    }
    if (!sizeGiven) {
        game.size = "19";
    }
    game.boardSize = BoardSizeOf(game.size);
    for (const std::string& stone : split.stones) {
        if (const auto parts = SgfEntryParts(stone)) {
            AddSgfSetup(TSetupKind::Black, parts->second, game);
        }
    }
    for (const TValue& value : root) {
        if (value.name == "AW" || value.name == "AE") {
            AddSgfSetup(SetupKindOf(value.name), value.value, game);
        } else if (SgfMoveColour(value.name) != '\0') {
            ++game.notes.rootMoves;
        }
    }
    for (const auto& [property, value] : split.values) {
        if (const char colour = SgfMoveColour(property)) {
            game.moves.push_back({colour == 'B' ? TColour::Black : TColour::White,
                                  SgfPoint(value, game.boardSize, true, game)});
        } else if (property == "AB" || property == "AW" || property == "AE") {
            game.notes.laterSetup = true;
        }
    }
    record.ok = true;
    return record;
}

TGameRecord ReadRecordGame(std::string_view bytes, TRecordKind kind) {
    return kind == TRecordKind::Sgf ? ReadSgfGame(bytes) : ReadUgfGame(bytes);
}
