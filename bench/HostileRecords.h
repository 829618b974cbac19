#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Records made to stress the converters rather than to look like games: a few bytes repeated
// millions of times where each repetition is a line, a field, a node or a value of its own, a
// line of all the record, NUL bytes and bytes that are no text. Deterministic.

// One hostile record: a file name (its extension picks the converter) and how to make it.
struct THostileRecord {
    // The file name, such as "equals.ugf".
    std::string name;
    // What it holds, for a table.
    std::string what;
    // The record's bytes for about the given size in bytes (at least a few hundred).
    std::string (*make)(std::size_t bytes);
};

// Every hostile record: "=" on one UGF header line, ";" in one SGF node, empty values "[]", empty
// stones "AB[][]...", UGF moves a line, nested variations beside each, SGF variations, SGF nesting,
// one line without a line end, NUL bytes, long values on one line, one value of 0x5C trail bytes,
// invalid UTF-8 and invalid Shift-JIS.
const std::vector<THostileRecord>& HostileRecords();
