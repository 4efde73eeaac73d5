#include "units/catalogue.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/gbk.h"

// How the catalogue is read in one pass instead of a search per type.
//
// All marker searches step through the text character by character from its
// start, so a marker only matches where a character starts. Every piece that
// the scans below take begins and ends at a character start of the whole
// text (the markers are whole characters), so the character starts seen by a
// search that begins anywhere in the middle are those of the whole text.
// That lets one pass list where each marker matches, and every later search
// becomes a look-up in those lists.
//
// A list scan over a stretch of the text (take the piece after the first
// start marker up to the next end marker, go on after that end marker) only
// depends on which start marker it meets next. So the scan is computed once
// for the whole text as a chain "start marker j -> piece -> next start
// marker", and the scan of any block is a walk along that chain that stops at
// the first piece whose end marker does not fit in the block.
//
// A type header line may hold further "    类型=" texts inside its name
// ("    类型=X    类型=A"). Each of them is also an occurrence of the header
// line of the type named by the rest of that line (here "A"), and the block
// of a type named "A" starts after its first occurrence. Those inner names
// are suffixes of the line's name, so they are matched against the type names
// through a tree of the names read backwards.

namespace {

constexpr std::size_t kMaxPieces = 100000;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Which bytes start a character when the text is walked from its start, as
// FindText walks it: an ASCII byte is one character, a byte of 0x80 or more
// leads a two-byte one.
std::vector<bool> CharacterStarts(std::string_view text) {
  std::vector<bool> starts(text.size(), false);
  for (std::size_t at = 0; at < text.size();) {
    starts[at] = true;
    at += static_cast<unsigned char>(text[at]) < 0x80 ? 1 : 2;
  }
  return starts;
}

// Positions (0-based) where FindText could find `marker`: every match that
// begins at a character start.
std::vector<std::size_t> MatchPositions(std::string_view text, const std::vector<bool>& characterStarts,
                                        std::string_view marker) {
  std::vector<std::size_t> found;
  for (std::size_t at = text.find(marker); at != std::string_view::npos; at = text.find(marker, at + 1))
    if (characterStarts[at]) found.push_back(at);
  return found;
}

// The list scan for one pair of markers, worked out once for the whole text.
struct PieceChain {
  std::vector<std::size_t> starts;  // where the start marker matches
  // For start marker j: its piece [pieceBegin, pieceEnd) and the first start
  // marker after the piece's end marker (kNone: none). pieceEnd is kNone when
  // no end marker follows: the scan ends there.
  std::vector<std::size_t> pieceBegin, pieceEnd, next;
  std::size_t endLength = 0;
};

PieceChain BuildChain(std::string_view text, const std::vector<bool>& characterStarts,
                      std::string_view start, std::string_view end) {
  PieceChain chain;
  chain.starts = MatchPositions(text, characterStarts, start);
  const std::vector<std::size_t> ends = MatchPositions(text, characterStarts, end);
  chain.endLength = end.size();
  const std::size_t count = chain.starts.size();
  chain.pieceBegin.resize(count);
  chain.pieceEnd.assign(count, kNone);
  chain.next.assign(count, kNone);
  std::size_t e = 0, s = 0;
  for (std::size_t j = 0; j < count; ++j) {
    const std::size_t begin = chain.starts[j] + start.size();
    chain.pieceBegin[j] = begin;
    while (e < ends.size() && ends[e] < begin) ++e;
    if (e == ends.size()) continue;
    chain.pieceEnd[j] = ends[e];
    const std::size_t after = ends[e] + end.size();
    while (s < count && chain.starts[s] < after) ++s;
    if (s < count) chain.next[j] = s;
  }
  return chain;
}

// The pieces of the block [from, to) of the text, in order.
TextList ScanBlock(std::string_view text, const PieceChain& chain, std::size_t from, std::size_t to) {
  TextList pieces;
  std::size_t j = static_cast<std::size_t>(
      std::lower_bound(chain.starts.begin(), chain.starts.end(), from) - chain.starts.begin());
  if (j == chain.starts.size()) return pieces;
  while (pieces.size() < kMaxPieces) {
    const std::size_t pieceEnd = chain.pieceEnd[j];
    if (pieceEnd == kNone || pieceEnd + chain.endLength > to) break;
    pieces.emplace_back(text.substr(chain.pieceBegin[j], pieceEnd - chain.pieceBegin[j]));
    j = chain.next[j];
    if (j == kNone) break;
  }
  return pieces;
}

// A path-compressed tree of texts read backwards; the texts are stretches
// [begin, end) of one underlying text. A node's label is read backwards from
// text[labelEnd - 1].
struct BackwardTree {
  struct Node {
    std::size_t labelEnd = 0, labelLength = 0;
    std::int32_t firstChild = -1, nextSibling = -1;
    bool terminal = false;  // a whole inserted text ends here
  };
  std::string_view text;
  std::vector<Node> nodes{Node{}};  // the root: the empty text

  unsigned char LabelByte(const Node& node, std::size_t k) const {
    return static_cast<unsigned char>(text[node.labelEnd - 1 - k]);
  }

  std::int32_t Child(std::int32_t node, unsigned char first) const {
    for (std::int32_t c = nodes[node].firstChild; c != -1; c = nodes[c].nextSibling)
      if (LabelByte(nodes[c], 0) == first) return c;
    return -1;
  }

  std::int32_t NewNode(std::size_t labelEnd, std::size_t labelLength, std::int32_t parent) {
    Node node;
    node.labelEnd = labelEnd;
    node.labelLength = labelLength;
    node.nextSibling = nodes[parent].firstChild;
    nodes.push_back(node);
    const auto index = static_cast<std::int32_t>(nodes.size() - 1);
    nodes[parent].firstChild = index;
    return index;
  }

  // Inserts text[begin, end); answers the node where it ends.
  std::int32_t Insert(std::size_t begin, std::size_t end) {
    const std::size_t length = end - begin;
    std::int32_t node = 0;
    std::size_t depth = 0;
    while (depth < length) {
      const auto first = static_cast<unsigned char>(text[end - 1 - depth]);
      const std::int32_t child = Child(node, first);
      if (child == -1) {
        node = NewNode(end - depth, length - depth, node);
        depth = length;
        break;
      }
      std::size_t k = 1;
      const std::size_t labelLength = nodes[child].labelLength;
      while (k < labelLength && depth + k < length &&
             LabelByte(nodes[child], k) == static_cast<unsigned char>(text[end - 1 - depth - k]))
        ++k;
      if (k < labelLength) {
        // Split the edge: a new inner node takes the first k bytes of the label.
        Node inner;
        inner.labelEnd = nodes[child].labelEnd;
        inner.labelLength = k;
        inner.nextSibling = nodes[child].nextSibling;
        inner.firstChild = child;
        nodes[child].labelEnd -= k;
        nodes[child].labelLength -= k;
        nodes[child].nextSibling = -1;
        nodes.push_back(inner);
        const auto innerIndex = static_cast<std::int32_t>(nodes.size() - 1);
        // Put the inner node where the child stood among its siblings.
        if (nodes[node].firstChild == child) {
          nodes[node].firstChild = innerIndex;
        } else {
          std::int32_t c = nodes[node].firstChild;
          while (nodes[c].nextSibling != child) c = nodes[c].nextSibling;
          nodes[c].nextSibling = innerIndex;
        }
        node = innerIndex;
      } else {
        node = child;
      }
      depth += k;
    }
    nodes[node].terminal = true;
    return node;
  }
};

}  // namespace

UnitCatalogue ParseUnitCatalogue(std::string_view text) {
  static const std::string typeMarker = Gbk("    类型=");
  static const std::string nameMarker = Gbk("        名称=");
  static const std::string nameEnd = Gbk("‖");
  static const std::string factorMarker = Gbk("‖倍率=");
  static const std::string endMarker = Gbk(";//配置结束___");
  constexpr std::string_view lineBreak = "\r\n";

  UnitCatalogue catalogue;
  const std::vector<bool> characterStarts = CharacterStarts(text);

  // The type names: the list scan of "    类型=" ... line break over the whole text.
  const PieceChain types = BuildChain(text, characterStarts, typeMarker, lineBreak);
  std::vector<std::size_t> typeStart;  // index into types.starts of each listed type
  if (!types.starts.empty()) {
    for (std::size_t j = 0; typeStart.size() < kMaxPieces;) {
      if (types.pieceEnd[j] == kNone) break;
      typeStart.push_back(j);
      catalogue.typeNames.emplace_back(
          text.substr(types.pieceBegin[j], types.pieceEnd[j] - types.pieceBegin[j]));
      j = types.next[j];
      if (j == kNone) break;
    }
  }
  const std::size_t n = typeStart.size();
  catalogue.tables.resize(n);
  if (n == 0) return catalogue;

  // Where each distinct header line occurs. Every "    类型=" match up to the
  // last listed type is either a listed header or lies inside a listed
  // header's name and ends at its line break.
  BackwardTree tree;
  tree.text = text;
  std::vector<std::int32_t> nameNode(n);
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t j = typeStart[k];
    nameNode[k] = tree.Insert(types.pieceBegin[j], types.pieceEnd[j]);
  }
  std::vector<std::vector<std::size_t>> occurrences(tree.nodes.size());
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t j = typeStart[k];
    const std::size_t lineBreakAt = types.pieceEnd[j];
    occurrences[static_cast<std::size_t>(nameNode[k])].push_back(types.starts[j]);
    // Inner matches are met walking back from the line break; they are
    // listed in text order.
    std::size_t last = j + 1;
    while (last < types.starts.size() && types.starts[last] < lineBreakAt) ++last;
    if (last == j + 1) continue;
    std::int32_t node = 0;
    std::size_t depth = 0;
    std::vector<std::pair<std::size_t, std::int32_t>> inner;  // (position, node)
    for (std::size_t m = last; m-- > j + 1;) {
      const std::size_t position = types.starts[m];
      const std::size_t wanted = lineBreakAt - (position + typeMarker.size());
      // The whole line's name is in the tree, so the path always goes on.
      while (node != -1 && depth < wanted) {
        node = tree.Child(node, static_cast<unsigned char>(text[lineBreakAt - 1 - depth]));
        if (node != -1) depth += tree.nodes[static_cast<std::size_t>(node)].labelLength;
      }
      if (node == -1) break;
      if (depth == wanted && tree.nodes[static_cast<std::size_t>(node)].terminal)
        inner.emplace_back(position, node);
    }
    for (auto it = inner.rbegin(); it != inner.rend(); ++it)
      occurrences[static_cast<std::size_t>(it->second)].push_back(it->first);
  }

  const PieceChain names = BuildChain(text, characterStarts, nameMarker, nameEnd);
  const PieceChain factors = BuildChain(text, characterStarts, factorMarker, lineBreak);
  for (std::size_t k = 0; k < n; ++k) {
    const std::vector<std::size_t>& own = occurrences[static_cast<std::size_t>(nameNode[k])];
    const std::size_t blockStart =
        own.front() + typeMarker.size() + catalogue.typeNames[k].size() + lineBreak.size();
    std::size_t blockEnd = blockStart;
    if (k + 1 < n) {
      const std::vector<std::size_t>& stop = occurrences[static_cast<std::size_t>(nameNode[k + 1])];
      auto it = std::lower_bound(stop.begin(), stop.end(), blockStart);
      if (it != stop.end()) blockEnd = *it;
    } else {
      const int q = FindText(text.substr(blockStart), endMarker);
      if (q > 0) blockEnd = blockStart + static_cast<std::size_t>(q - 1);
    }
    if (blockEnd <= blockStart) continue;
    catalogue.tables[k].unitNames = ScanBlock(text, names, blockStart, blockEnd);
    catalogue.tables[k].factors = ScanBlock(text, factors, blockStart, blockEnd);
  }
  return catalogue;
}
