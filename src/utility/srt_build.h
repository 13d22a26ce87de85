// The two SRT builders of the sync utility: timings of one SRT file paired
// with the caption texts of a plain text file, and an SRT file given the start
// times of an IDX index file while each caption keeps its duration.
//
// Pure: the input files' bytes in, the new SRT file's bytes out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cadenzio {

// Longest piece one line read takes; a longer line is read as several lines.
inline constexpr std::size_t kSrtBuildLineLimit = 510;
// Both builders write next to the SRT file under its name with this suffix in
// place of the extension.
inline constexpr char kSrtBuildOutputSuffix[] = ".Merged.SRT";

// CP949 messages. kSrtTextCountMismatchFormat takes the timing-line count
// and the text block count (two %d).
extern const char kSrtBuildOpenFailedMessage[];    // an input cannot be read
extern const char kSrtBuildCreateFailedMessage[];  // the output cannot be made
extern const char kSrtTextCountMismatchFormat[];

struct SrtBuildResult {
  std::string bytes;            // the whole output file when ok()
  std::string error;            // CP949 message; empty on success
  int captions = 0;             // timing lines taken, which is entries written
  int idx_starts = 0;           // entries that got their start from the IDX file
  int unreadable_timings = 0;   // timing lines whose eight numbers could not be read
  bool ok() const { return error.empty(); }
};

// "/a/movie.srt" gives "/a/movie.Merged.SRT".
std::string SrtBuildOutputName(std::string_view srt_path);

// Empty, or only blanks, tabs, CR and LF.
bool IsSrtBlankLine(std::string_view line);
// Lines (pieces of at most kSrtBuildLineLimit bytes) that hold "-->".
int CountSrtTimingLines(std::string_view srt);
// Maximal runs of non-blank lines.
int CountTextBlocks(std::string_view text);

// "timestamp: %2d:%2d:%2d:%3d" scanned as sscanf scans it; a value only when
// all four numbers were read.
std::optional<std::int32_t> ReadIdxTimestamp(std::string_view line);

// Each timing line of srt, numbered from 1 and followed by the next text
// block of text and an empty line; everything else of srt is dropped. Lines
// are copied with their own line ends, the entries' own lines end in CR LF.
// Refused, before anything is built, when the counts differ.
SrtBuildResult MergeSrtWithText(std::string_view srt, std::string_view text);

// srt renumbered from 1, each timing line rewritten with the start of the
// next IDX "timestamp:" line and the caption's own duration; without one
// (the IDX file ran out) the caption keeps its start. A timing line whose
// eight numbers cannot all be read is copied unchanged under its number; it
// still takes its IDX timestamp, so the captions after it stay paired with
// theirs. An IDX line giving fewer than four numbers is skipped.
SrtBuildResult ApplyIdxStartTimes(std::string_view srt, std::string_view idx);

}  // namespace cadenzio
