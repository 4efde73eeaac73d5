#pragma once
// The two marker scans through which every piece of config.ini is read: the
// settings here, the unit catalogue in src/units. Texts are GBK byte strings;
// searches step over two-byte characters, so a marker never matches inside
// one.
#include <string>
#include <string_view>
#include <vector>

// Most pieces ExtractAllBetween lists; later start/end pairs are not looked at.
inline constexpr int kMaxExtractedPieces = 100000;

// The text between the first `start` and the first `end` after it; empty when
// no `end` follows. When `start` does not occur at all, the piece is cut from
// byte (length of start) − 1 of `text` on (1-based), so a missing marker still
// yields whatever stands before the next `end` there.
std::string ExtractBetween(std::string_view text, std::string_view start, std::string_view end);

// Replaces `list` by the texts between successive start/end pairs, each pair
// searched for after the end of the one before, at most kMaxExtractedPieces.
// The scan ends, keeping what it has listed, when a pair can no longer be
// found. Runs in time linear in the text.
void ExtractAllBetween(std::string_view text, std::string_view start, std::string_view end,
                       std::vector<std::string>& list);
