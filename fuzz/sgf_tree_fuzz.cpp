// The game tree reader on any bytes: no crash, no hang, no sanitizer report, and a tree whose links
// hold together: every node but the root has its parent, each parent's children come after it in
// file order, the main line runs through first children, and every name and value lies in the
// tree's bytes.
#include "conversion/SgfTree.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<TSgfTree> tree = ReadSgfTree(bytes);
    if (!tree) {
        return 0;
    }
    Check(!tree->nodes.empty() && tree->nodes[0].parent == TSgfTree::NONE);
    std::size_t notFirst = 0;
    for (std::size_t n = 0; n < tree->nodes.size(); ++n) {
        const TSgfTree::TNode& node = tree->nodes[n];
        for (std::uint32_t child = node.firstChild; child != TSgfTree::NONE;
             child = tree->nodes[child].nextSibling) {
            Check(child > n && child < tree->nodes.size() && tree->nodes[child].parent == n);
            notFirst += child != node.firstChild ? 1 : 0;
        }
        Check(node.firstProperty + node.propertyCount <= tree->properties.size());
        for (const TSgfTree::TProperty* p = tree->begin(node); p != tree->end(node); ++p) {
            Check(p->name + p->nameSize <= tree->bytes.size());
            Check(p->valueCount > 0 && p->firstValue + p->valueCount <= tree->values.size());
            for (std::size_t v = 0; v < p->valueCount; ++v) {
                (void)tree->Value(*p, v);
            }
        }
    }
    // The nodes beside the root are variations too.
    for (std::uint32_t n = tree->nodes[0].nextSibling; n != TSgfTree::NONE;
         n = tree->nodes[n].nextSibling) {
        ++notFirst;
    }
    Check(notFirst == tree->variations);
    Check(tree->MainLine().size() <= tree->nodes.size());
    return 0;
}
