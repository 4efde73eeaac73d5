#include "units/catalogue.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

#include "core/gbk.h"

// How the catalogue is read in time linear in the text.
//
// Read the plain way, each type's block is found by searching the text for
// the type's header line and then scanned for unit lines. Both grow with the
// number of types times the text's size: the searches on any large file, the
// scans when a type name repeats (in "A, X1, A, X2, A, X3 ..." every block of
// A starts at the first A and reaches to the next X, so the blocks overlap
// and grow). Hence:
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
// ("    类型=X    类型=A"). Each of them also begins a header line (here that
// of the type "A"), and a type's block starts after the first occurrence of
// its header line, which may be such an inner one. Every header line gets a
// number, equal lines equal numbers, so that the occurrences of a type's
// header line are a list to look up.

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

// Numbers header lines, equal lines with equal numbers. A header line is
// numbered as a pair: its text up to the next "    类型=" in it, and the
// number of the header line that starts there (-1 when none does). So a line
// that holds thousands of headers is still read only once, not once for each
// header in it.
class HeaderNumbers {
 public:
  std::int32_t Number(std::string_view head, std::int32_t rest) {
    return numbers_.try_emplace(Key{head, rest}, static_cast<std::int32_t>(numbers_.size())).first->second;
  }
  std::size_t Count() const { return numbers_.size(); }

 private:
  struct Key {
    std::string_view head;
    std::int32_t rest;  // -1: the head runs up to the line break
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const {
      return std::hash<std::string_view>{}(key.head) ^ (std::hash<std::int32_t>{}(key.rest) * 0x9E3779B97F4A7C15ull);
    }
  };
  std::unordered_map<Key, std::int32_t, KeyHash> numbers_;
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

  // Where each header line occurs. Up to the last listed type, a "    类型="
  // matches either where a listed type begins or inside a listed type's
  // name, and begins the header line that runs to that name's line break;
  // the blocks need no match beyond. Each line's matches are numbered from
  // its end backwards.
  HeaderNumbers numbers;
  std::vector<std::int32_t> headerNumber(types.starts.size(), -1);
  for (const std::size_t j : typeStart) {
    std::size_t last = j + 1;
    while (last < types.starts.size() && types.starts[last] < types.pieceEnd[j]) ++last;
    std::int32_t rest = -1;
    std::size_t headEnd = types.pieceEnd[j];
    for (std::size_t m = last; m-- > j;) {
      const std::size_t headBegin = types.starts[m] + typeMarker.size();
      rest = numbers.Number(text.substr(headBegin, headEnd - headBegin), rest);
      headerNumber[m] = rest;
      headEnd = types.starts[m];
    }
  }
  std::vector<std::vector<std::size_t>> occurrences(numbers.Count());
  for (std::size_t m = 0; m < types.starts.size(); ++m)
    if (headerNumber[m] >= 0) occurrences[static_cast<std::size_t>(headerNumber[m])].push_back(types.starts[m]);

  const PieceChain names = BuildChain(text, characterStarts, nameMarker, nameEnd);
  const PieceChain factors = BuildChain(text, characterStarts, factorMarker, lineBreak);
  for (std::size_t k = 0; k < n; ++k) {
    const std::vector<std::size_t>& own = occurrences[static_cast<std::size_t>(headerNumber[typeStart[k]])];
    const std::size_t blockStart =
        own.front() + typeMarker.size() + catalogue.typeNames[k].size() + lineBreak.size();
    std::size_t blockEnd = blockStart;
    if (k + 1 < n) {
      const std::vector<std::size_t>& stop =
          occurrences[static_cast<std::size_t>(headerNumber[typeStart[k + 1]])];
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
