// File services that need no window: work file, paths, whole files, log, lines.
#include "settings/file_services.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace cadenzio {
namespace {

// Where the file name begins and where its extension begins (npos: none).
struct NameParts {
  std::size_t name = 0;
  std::size_t extension = std::string_view::npos;
};

NameParts SplitName(std::string_view path) {
  NameParts parts;
  const std::size_t slash = path.rfind('/');
  parts.name = slash == std::string_view::npos ? 0 : slash + 1;
  // Leading dots belong to the name (".hidden", ".."), not to an extension.
  const std::size_t body = path.find_first_not_of('.', parts.name);
  if (body == std::string_view::npos) return parts;
  const std::size_t dot = path.rfind('.');
  if (dot != std::string_view::npos && dot > body) parts.extension = dot;
  return parts;
}

bool IsFolder(std::FILE* file) {
  struct stat st;
  return fstat(fileno(file), &st) == 0 && S_ISDIR(st.st_mode);
}

// A name beside the target that no other writer picks: pid, a counter and the
// clock. The base name is shortened so the result stays within NAME_MAX.
std::string TempNameBeside(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
  const std::size_t name = SplitName(target).name;
  return target.substr(0, name) + "." + target.substr(name, 64) + "." +
         std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" +
         std::to_string(static_cast<unsigned long long>(tick) % 1000000007ULL) + ".tmp";
}

std::size_t WriteAll(std::FILE* file, std::string_view text) {
  return text.empty() ? 0 : std::fwrite(text.data(), 1, text.size(), file);
}

}  // namespace

UniqueFile OpenFile(const std::string& path, const char* mode) {
  return UniqueFile(std::fopen(path.c_str(), mode));
}

bool CloseFile(UniqueFile file) {
  return file && std::fclose(file.release()) == 0;
}

// The first design made the program folder the current directory before
// creating the file; that changes how every relative path of the process
// resolves, so the work file goes to the temp folder without a chdir.
UniqueFile OpenWorkFile() {
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
  if (ec) dir = "/tmp";
  std::string name = (dir / "cadenzio-work-XXXXXX").string();
  const int fd = mkstemp(name.data());
  if (fd < 0) return nullptr;
  unlink(name.c_str());  // nameless from here on: the last close frees it
  std::FILE* file = fdopen(fd, "w+b");
  if (!file) close(fd);
  return UniqueFile(file);
}

std::string ReplaceExtension(std::string_view path, std::string_view suffix) {
  const NameParts parts = SplitName(path);
  std::string result(path.substr(0, parts.extension));
  result += suffix;
  return result;
}

std::string ExtensionOf(std::string_view path) {
  const NameParts parts = SplitName(path);
  return parts.extension == std::string_view::npos ? std::string()
                                                    : std::string(path.substr(parts.extension));
}

std::string FolderOf(std::string_view path) {
  return std::string(path.substr(0, SplitName(path).name));
}

bool FileExists(const std::string& path) {
  // fopen succeeds on a folder under POSIX; callers ask about files.
  const UniqueFile file = OpenFile(path, "rb");
  return file && !IsFolder(file.get());
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  const UniqueFile file = OpenFile(path, "rb");
  if (!file) return false;
  struct stat st;
  if (fstat(fileno(file.get()), &st) != 0 || S_ISDIR(st.st_mode)) return false;

  std::string text;
  if (S_ISREG(st.st_mode)) text.reserve(static_cast<std::size_t>(st.st_size));
  char chunk[65536];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) text.append(chunk, got);
  const bool complete = !std::ferror(file.get()) &&
                        (!S_ISREG(st.st_mode) || text.size() == static_cast<std::size_t>(st.st_size));
  out = std::move(text);
  return complete;
}

bool WriteWholeFile(const std::string& path, std::string_view text) {
  UniqueFile file = OpenFile(path, "wb");
  if (!file) return false;
  const std::size_t written = WriteAll(file.get(), text);
  const bool closed = CloseFile(std::move(file));
  return !text.empty() && written == text.size() && closed;
}

bool WriteWholeFileAtomic(const std::string& path, std::string_view text) {
  std::string target = path;
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    std::error_code ec;
    const auto resolved = std::filesystem::weakly_canonical(path, ec);
    if (!ec) target = resolved.string();
  }
  const bool existed = stat(target.c_str(), &st) == 0;

  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temp = TempNameBeside(target);
    // 0666 lets the umask decide a new file's permissions, as fopen would.
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;

  bool ok = !existed || fchmod(fd, st.st_mode & 07777) == 0;
  UniqueFile file(ok ? fdopen(fd, "wb") : nullptr);
  if (!file) {
    close(fd);
    unlink(temp.c_str());
    return false;
  }
  ok = WriteAll(file.get(), text) == text.size() && std::fflush(file.get()) == 0 &&
       fsync(fileno(file.get())) == 0;
  ok = CloseFile(std::move(file)) && ok;
  if (ok) ok = std::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

bool AppendLog(const std::string& path, std::string_view text) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (!localtime_r(&now, &local)) return false;
  return AppendLog(path, text, local);
}

bool AppendLog(const std::string& path, std::string_view text, const std::tm& now) {
  UniqueFile file = OpenFile(path, "ab");
  if (!file) return false;
  const bool stamped = std::fprintf(file.get(), "[%04d/%02d/%02d %02d:%02d:%02d]\r\n",
                                    now.tm_year + 1900, now.tm_mon + 1, now.tm_mday,
                                    now.tm_hour, now.tm_min, now.tm_sec) > 0;
  const bool written = WriteAll(file.get(), text) == text.size();
  const bool flushed = std::fflush(file.get()) == 0;
  return CloseFile(std::move(file)) && stamped && written && flushed;
}

bool LineReader::Next(std::string_view& piece, std::size_t max_bytes) {
  if (pos_ >= text_.size() || max_bytes == 0) return false;
  const std::string_view rest = text_.substr(pos_, max_bytes);
  const std::size_t lf = rest.find('\n');
  piece = lf == std::string_view::npos ? rest : rest.substr(0, lf + 1);
  pos_ += piece.size();
  return true;
}

bool LineReader::Next(std::string& piece, std::size_t max_bytes) {
  std::string_view view;
  if (!Next(view, max_bytes)) return false;
  piece.assign(view);
  return true;
}

bool ReadLinePiece(std::FILE* file, std::string& piece, std::size_t max_bytes) {
  piece.clear();
  while (piece.size() < max_bytes) {
    const int c = std::getc(file);
    if (c == EOF) break;
    piece.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  return !piece.empty();
}

}  // namespace cadenzio
