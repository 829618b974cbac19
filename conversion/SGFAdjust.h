#pragma once

#include "conversion/LineList.h"

// Sorts the lines of an SGF record into root properties, handicap stones and move nodes. It works
// on text, not on a tree: variations come out flattened in file order.
class TSGFAdjust {
public:
    // The SGF file's lines, as read.
    TLineList Input;
    // One entry per property value of the root node ('SZ[19]'; further values '[dp]').
    TLineList OutputHD;
    // One entry per handicap stone ('AB[pd]').
    TLineList OutputHA;
    // One entry per move node, without the node separator ('B[pd]', 'W[dp]C[good]').
    TLineList OutputCK;

    // Refills the three outputs from Input. False, with the outputs empty, when Input holds no
    // record it can split. Linear in the size of Input.
    bool Adjust();
};

// True when lines hold more than one game tree: after the record's opening "(", another "(" that
// is followed by ";" (after blanks, also on a later line). The splitter joins the moves of all of
// them in file order, variations and further games alike. A "(;" inside a value counts too.
bool HoldsSeveralGameTrees(const TLineList& lines);
