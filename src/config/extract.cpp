#include "config/extract.h"

#include "core/text.h"

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// FindText on a view, 0-based: the scans below search ever shorter tails of
// one text without copying them.
std::size_t FindFrom(std::string_view text, std::string_view sought) {
  const int position = FindText(text, sought);
  return position < 1 ? kNone : static_cast<std::size_t>(position - 1);
}

// True when stepping through `marker` character by character ends exactly at
// its end. Then the character starts of a text after a found marker are the
// same whether the text is stepped through from its own beginning or from the
// marker on.
bool EndsOnCharacterBoundary(std::string_view marker) {
  std::size_t i = 0;
  while (i < marker.size()) {
    if (static_cast<unsigned char>(marker[i]) < 0x80) {
      i += 1;
    } else {
      if (i + 1 >= marker.size()) return false;
      i += 2;
    }
  }
  return true;
}

std::string_view ExtractView(std::string_view text, std::string_view start, std::string_view end) {
  std::size_t tailFrom;
  const std::size_t p = FindFrom(text, start);
  if (p != kNone) {
    tailFrom = p + start.size();
  } else {
    // The cut starts at 1-based position (not found) −1 + length of start:
    // nothing for a start of one byte, else byte length − 1.
    if (start.size() < 2) return {};
    tailFrom = start.size() - 2;
  }
  if (tailFrom >= text.size()) return {};
  const std::string_view tail = text.substr(tailFrom);
  const std::size_t q = FindFrom(tail, end);
  if (q == kNone) return {};
  return tail.substr(0, q);
}

}  // namespace

std::string ExtractBetween(std::string_view text, std::string_view start, std::string_view end) {
  return std::string(ExtractView(text, start, end));
}

void ExtractAllBetween(std::string_view text, std::string_view start, std::string_view end,
                       std::vector<std::string>& list) {
  list.clear();
  std::string_view rest = text;

  if (EndsOnCharacterBoundary(start) && !end.empty()) {
    // The scan every caller uses. An `end` found after a `start` also stands
    // at a character start of the whole rest, and when none follows, no
    // start+end block can be found any more, so the scan ends there.
    for (int count = 0; count < kMaxExtractedPieces; ++count) {
      const std::size_t p = FindFrom(rest, start);
      if (p == kNone) break;
      const std::string_view tail = rest.substr(p + start.size());
      const std::size_t q = FindFrom(tail, end);
      if (q == kNone) break;
      list.emplace_back(tail.substr(0, q));
      rest = tail.substr(q + end.size());
    }
    return;
  }

  // Markers that end in half a character, or an empty end: every step exactly
  // as stated, still on views of the one text.
  for (int count = 0; count < kMaxExtractedPieces; ++count) {
    if (FindFrom(rest, start) == kNone || FindFrom(rest, end) == kNone) break;
    const std::string_view piece = ExtractView(rest, start, end);
    std::string block;
    block.reserve(start.size() + piece.size() + end.size());
    block.append(start).append(piece).append(end);
    const std::size_t e = FindFrom(rest, block);
    // Without the block there is nothing to step past: stop rather than
    // rescan the same text.
    if (e == kNone) break;
    list.emplace_back(piece);
    const std::size_t next = e + block.size();
    rest = next >= rest.size() ? std::string_view() : rest.substr(next);
  }
}
