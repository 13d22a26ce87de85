// File services that need no window: the anonymous work file, path helpers,
// whole-file reads and writes, the time-stamped log and the bounded line reader.
#pragma once

#include <cstddef>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>

namespace cadenzio {

// An owning stream; closing it ignores errors, so a writer that must know
// whether its bytes reached the file ends with CloseFile instead.
struct FileCloser {
  void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// fopen wrapped; null when the file cannot be opened. Modes carry "b": no
// line-end translation anywhere in the program.
UniqueFile OpenFile(const std::string& path, const char* mode);

// Closes the stream; true when buffered bytes were written and the close worked.
bool CloseFile(UniqueFile file);

// An anonymous temporary file opened for update ("w+b") in the system temp
// folder (TMPDIR honoured). It has no name, so closing the stream removes it
// and nothing is left behind after a crash. Null when it cannot be made.
UniqueFile OpenWorkFile();

// Paths use '/' only (a backslash is an ordinary name byte). The extension is
// the file name's part from its last dot, ignoring the dots a name starts
// with: "/a/.hidden" has none, "/a/.hidden.smi" has ".smi", "movie." has ".".
// A dot in a folder name is never an extension.

// Folder and base name of path followed by suffix, the old extension and its
// dot dropped: ("/a/movie.srt", ".Merged.SRT") gives "/a/movie.Merged.SRT".
std::string ReplaceExtension(std::string_view path, std::string_view suffix);
// The extension with its dot, "" when there is none.
std::string ExtensionOf(std::string_view path);
// The folder with its trailing '/', "" for a bare file name.
std::string FolderOf(std::string_view path);

// True when path names something that opens for reading and is no folder.
bool FileExists(const std::string& path);

// Reads every byte of the file into out, NUL bytes included: no byte of the
// user's file is lost. True when as many bytes were read as the file held when
// opened; false with out unchanged when it cannot be opened (or is a folder).
bool ReadWholeFile(const std::string& path, std::string& out);

// Creates or empties the file and writes text. True when every byte was
// written; an empty text creates an empty file and still returns false, which
// callers take as "nothing was written".
bool WriteWholeFile(const std::string& path, std::string_view text);

// Writes text to a new file in the target's folder and renames it over the
// target, so a failed write never destroys an existing file: on failure the
// target is untouched and the temporary file removed. An existing target's
// permission bits are kept, and a symbolic link is followed so the link stays.
// Unlike WriteWholeFile, an empty text is a successful write of an empty file.
bool WriteWholeFileAtomic(const std::string& path, std::string_view text);

// Appends "[YYYY/MM/DD hh:mm:ss]\r\n" with the local time, then text unchanged
// (it carries its own line ends); a missing file is created. True when the
// text was written completely and flushed.
bool AppendLog(const std::string& path, std::string_view text);
// The same with the time given, for tests and for callers that stamp once.
bool AppendLog(const std::string& path, std::string_view text, const std::tm& now);

// Cuts a text into lines exactly as C fgets does with a buffer of
// max_bytes + 1: each piece holds at most max_bytes bytes and ends after a
// line feed (kept) or where the limit or the end cuts it; a CR alone ends no
// line. Unlike fgets, NUL bytes are ordinary bytes of a piece.
// The reader views text and does not own it: text must outlive the reader.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  // The next piece; false at the end of the text, and for max_bytes == 0,
  // which would otherwise return empty pieces forever.
  bool Next(std::string_view& piece, std::size_t max_bytes);
  bool Next(std::string& piece, std::size_t max_bytes);

  // Offset of the first byte not yet returned.
  std::size_t position() const { return pos_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The same cut applied to a stream, for callers that hold a FILE* rather than
// the whole text. False when nothing was left to read.
bool ReadLinePiece(std::FILE* file, std::string& piece, std::size_t max_bytes);

}  // namespace cadenzio
