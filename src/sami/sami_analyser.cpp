// The SAMI analyser: cuts a file into head, body nodes and tail. It does not
// parse HTML; it finds the first sync tag, then reads the body a piece at a
// time and recognises a fixed set of tags at the front of the unread text.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "pattern/pattern_matcher.h"
#include "sami/sami_document.h"
#include "sami/sami_node_stream.h"
#include "sami/sami_patterns.h"
#include "sami/sami_tags.h"

namespace cadenzio {

bool SamiPatterns::Compile() {
  // Tag and attribute names are literal text, so any case matches.
  return sami_close.Compile("^<[ \t]*/[ \t]*SAMI[ \t]*") &&
         body_close.Compile("^<[ \t]*/[ \t]*BODY[ \t]*") &&
         any_paragraph.Compile("^(<[ \t]*P[^>]*>[^<]*).*$") &&
         comment.Compile("^(<[ \t]*!--[ \t\r\n]+[^<]*).*$") &&
         empty_paragraph.Compile("^(<[^<>]+>)([ \t\r\n]*)(<SPANID[^>]*>|<FONT[^>]*>)?[ \t\r\n]*$") &&
         break_paragraph.Compile(
             "^(<[^<>]+>)([ \t\r\n]*<BR>[ \t\r\n]*)(<SPANID[^>]*>|<FONT[^>]*>)?[ \t\r\n]*$") &&
         class_declaration.Compile("^(.*[\r\n]+[^\\.]+)\\.([a-zA-Z]+)[ \t]*{[^{}]*LANG[^{}]*}(.+)$");
}

namespace {

// Reads a file the way the body is read: pieces of at most
// kBodyPieceLimit bytes, each ending after a line feed when one comes first.
// Pieces are measured in CP949 bytes (CodePage::PrefixOfWidth), so UTF-8
// text is cut where its CP949 form would be: a character that the cut would
// part goes whole into the piece, which then overhangs its limit by one
// byte, and the next piece is one byte shorter, as a CP949 piece that starts
// with a trail byte ends where it always would.
class PieceReader {
 public:
  PieceReader(std::string_view file, std::size_t pos, const CodePage& cp)
      : file_(file), pos_(pos), cp_(cp) {}
  bool AtEnd() const { return pos_ >= file_.size(); }
  std::string_view Rest() const { return file_.substr(pos_); }
  // 1 when the last piece took the first byte of the next one's share.
  std::size_t overhang() const { return overhang_; }
  std::string_view Next() {
    const std::string_view all = Rest();
    const std::size_t limit = kBodyPieceLimit - overhang_;
    bool over = false;
    // A text is never wider than its bytes: a line feed within the first
    // `limit` bytes ends the piece whatever the code page.
    std::size_t lf = all.substr(0, limit).find('\n');
    std::string_view rest = all.substr(0, limit);
    if (lf == std::string_view::npos && all.size() > limit &&
        cp_.kind() != CodePage::Kind::Cp949) {
      rest = all.substr(0, cp_.PrefixOfWidth(all, limit, &over));
      lf = rest.find('\n');
    }
    const std::string_view piece = lf == std::string_view::npos ? rest : rest.substr(0, lf + 1);
    overhang_ = lf == std::string_view::npos && over;
    pos_ += piece.size();
    return piece;
  }

 private:
  std::string_view file_;
  std::size_t pos_;
  const CodePage& cp_;
  std::size_t overhang_ = 0;
};

// Where the body starts: the offset of the '<' of the first sync tag within
// the head limit (counted as CP949 bytes), or npos. Counts the line feeds of
// the head in *lines.
std::size_t FindBodyStart(std::string_view file, const CodePage& cp, int32_t* lines) {
  const std::size_t limit = cp.PrefixOfWidth(file, kHeadLimit);  // bytes the head may fill
  std::size_t i = 0;
  *lines = 0;
  auto store = [&](std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to; ++k) *lines += file[k] == '\n';
    i = to;
  };
  while (i < limit && i < file.size()) {
    if (file[i] != '<') {
      store(i, i + 1);
      continue;
    }
    // A '<', blanks, then S Y N C in any case starts the body; the bytes
    // looked at otherwise belong to the head, the last one included.
    std::size_t j = i + 1;
    while (j < file.size() && (file[j] == ' ' || file[j] == '\t')) ++j;
    static constexpr char kWord[] = "SYNC";
    int matched = 0;
    while (matched < 4 && j < file.size()) {
      const bool same = AsciiUpper(static_cast<unsigned char>(file[j])) == kWord[matched];
      ++j;
      if (!same) break;
      ++matched;
    }
    if (matched == 4) return i;
    store(i, j);
  }
  return std::string_view::npos;
}

// A start value: optional minus sign and digits, then perhaps "MS"; the
// value is held to the 32-bit range (a longer number saturates rather than
// wrapping).
int32_t ParseStart(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  int64_t v = 0;
  for (std::size_t i = negative; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > int64_t{INT32_MAX} + 1) break;
  }
  if (negative) v = -v;
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// The first byte after a leading '<' and its blanks, upper-cased; 0 when the
// text does not begin with '<'. A NUL ends the text as the patterns see it.
unsigned char TagInitial(std::string_view text) {
  if (text.empty() || text[0] != '<') return 0;
  std::size_t i = 1;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  return i < text.size() ? AsciiUpper(static_cast<unsigned char>(text[i])) : 0;
}

}  // namespace

bool SamiDocument::Analyse(std::FILE* stream, int mode) {
  std::string bytes;
  if (stream) {
    std::rewind(stream);
    char buffer[1 << 16];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, stream)) > 0;)
      bytes.append(buffer, got);
  }
  return Analyse(bytes, mode);
}

namespace {

// A body node as the cutting finds it: its text is always one run of the
// file's bytes, [from, to), so it is kept as offsets until someone needs it.
struct CutNode {
  SamiNodeKind kind = SamiNodeKind::Other;
  int32_t line = 0;
  int32_t start = 0;
  std::string_view class_name;
  std::size_t from = 0;
  std::size_t to = 0;
};

// Cuts the body that starts at offset body (its first line counted in line)
// into nodes, handed to emit in file order, and returns the tail. Every
// recognised element begins with '<', blanks and one telling byte; only the
// patterns that byte allows are tried.
template <typename Emit>
std::string CutBody(std::string_view file, std::size_t body, int32_t line, const CodePage& cp,
                    SamiPatterns& patterns, Emit&& emit) {
  PieceReader reader(file, body, cp);
  auto offset = [&](std::string_view part) {
    return static_cast<std::size_t>(part.data() - file.data());
  };
  CutNode pending;
  pending.from = pending.to = body;
  // Ends the pending node and opens the next, which starts at `at`.
  auto next_node = [&](SamiNodeKind kind, std::size_t at) {
    emit(pending);
    pending = CutNode{};
    pending.kind = kind;
    pending.from = pending.to = at;
  };
  std::string_view unread;
  std::string reopened;  // unread text with a closing body tag put in front
  enum class End { File, Closing, Overflow } end = End::File;

  for (;;) {
    if (unread.empty()) {
      if (reader.AtEnd()) break;
      unread = reader.Next();
      ++line;
    }
    const unsigned char first = TagInitial(unread);
    const std::size_t at = offset(unread);
    TagMatch tag;
    if (first == 'S' && (tag = MatchSyncTag(unread))) {
      next_node(SamiNodeKind::Sync, at);
      pending.line = line;
      pending.start = ParseStart(tag.value);
      pending.to = at + tag.length;
      unread.remove_prefix(tag.length);
    } else if (first == 'P' && ((tag = MatchClassParagraph(unread)) ||
                                patterns.any_paragraph.Find(unread) == 0)) {
      next_node(SamiNodeKind::Paragraph, at);
      pending.line = line;
      std::size_t length = 0;
      if (tag) {
        pending.class_name = tag.value;
        length = tag.length;
      } else {
        length = patterns.any_paragraph.Group(1).size();
      }
      pending.to = at + length;
      unread.remove_prefix(length);
    } else if (first == '/' && patterns.sami_close.Find(unread) == 0) {
      emit(pending);
      reopened = "</BODY>\r\n";
      reopened += unread;
      unread = reopened;
      end = End::Closing;
      break;
    } else if (first == '/' && patterns.body_close.Find(unread) == 0) {
      emit(pending);
      end = End::Closing;
      break;
    } else if (first == '!' && patterns.comment.Find(unread) == 0) {
      next_node(SamiNodeKind::Other, at);
      const std::size_t length = patterns.comment.Group(1).size();
      pending.to = at + length;
      unread.remove_prefix(length);
    } else {
      // Text, or a tag the analyser does not know: up to the next '<'.
      const std::size_t next = unread.find('<', 1);
      const std::size_t take = next == std::string_view::npos ? unread.size() : next;
      pending.to = at + take;
      unread.remove_prefix(take);
      // In CP949 bytes, without a character's half that belongs to the next piece.
      const std::size_t size = pending.to - pending.from;
      if (unread.empty() && size > kNodeTextLimit &&
          cp.Cp949Width(file.substr(pending.from, size)) - reader.overhang() > kNodeTextLimit) {
        end = End::Overflow;
        break;
      }
    }
  }

  std::string tail;
  switch (end) {
    case End::File:
      emit(pending);
      tail = "\r\n</BODY>\r\n</SAMI>";
      break;
    case End::Closing:
      tail.assign(unread);
      tail += reader.Rest();
      if (FindNoCase(tail, "</SAMI", cp) == std::string::npos) tail += "\r\n</SAMI>";
      break;
    case End::Overflow:
      // The rest of the file is kept line by line, outside every check.
      emit(pending);
      while (!reader.AtEnd()) {
        const std::string_view piece = reader.Next();
        CutNode over;
        over.kind = SamiNodeKind::Overflow;
        over.from = offset(piece);
        over.to = over.from + piece.size();
        emit(over);
      }
      break;
  }
  return tail;
}

}  // namespace

bool SamiDocument::Analyse(std::string_view file, int mode) {
  Reset();

  int32_t line = 0;
  const std::size_t body = FindBodyStart(file, *cp_, &line);
  if (body == std::string_view::npos) {
    header.assign(file);  // no body: the whole file is head
    valid = true;
    return true;
  }
  header.assign(file.substr(0, body));

  SamiPatterns patterns(*cp_);
  if (!patterns.Compile()) {
    Reset();
    return false;
  }

  // Caption files hold about a node for every 40 bytes of body; reserving
  // spares the copies of a growing list, and pages never touched cost nothing.
  nodes.reserve((file.size() - body) / 32 + 16);
  tail = CutBody(file, body, line, *cp_, patterns, [&](const CutNode& cut) {
    SamiNode& node = nodes.emplace_back();
    node.kind = cut.kind;
    node.text.assign(file.substr(cut.from, cut.to - cut.from));
    node.line = cut.line;
    node.start = cut.start;
    node.class_name.assign(cut.class_name);
  });

  FinishHead(*this, patterns);
  MarkMasks(*this, patterns, mode);
  if (mode == kAnalyseFixBreaks) {
    for (SamiNode& node : nodes) {
      if (node.kind == SamiNodeKind::Paragraph && !TooLongForMasks(*cp_, node.text))
        RepairBreaks(node.text);
    }
  }
  valid = true;
  return true;
}

namespace {

// A node held until the nodes of its sync are all known.
struct StreamedNode {
  SamiNodeView view;
  std::string owned;  // the text when the analysis rewrote it
};

}  // namespace

bool StreamSamiNodes(std::string_view file, const CodePage& cp, int mode,
                     const std::function<void(const SamiNodeView&)>& visit) {
  int32_t line = 0;
  const std::size_t body = FindBodyStart(file, cp, &line);
  if (body == std::string_view::npos) return true;

  SamiPatterns patterns(cp);
  if (!patterns.Compile()) return false;
  SamiDocument head(cp);  // classes and colour, no nodes
  head.header.assign(file.substr(0, body));
  FinishHead(head, patterns);

  // The nodes of one sync (or those before the first sync), finished together
  // as the document's are, since the paragraphs decide their sync's masks.
  // Reused from sync to sync: its strings keep their buffers.
  std::vector<StreamedNode> group;
  std::size_t used = 0;
  std::string rewritten;
  auto flush = [&] {
    SamiNodeView* sync =
        used > 0 && group[0].view.kind == SamiNodeKind::Sync ? &group[0].view : nullptr;
    uint32_t gathered = 0;
    for (std::size_t i = 0; i < used; ++i) {
      StreamedNode& node = group[i];
      SamiNodeView& view = node.view;
      if (view.kind != SamiNodeKind::Paragraph || TooLongForMasks(cp, view.text)) continue;
      const uint32_t mask = head.ClassMask(view.class_name);
      switch (FinishParagraph(view.text, patterns, mode, rewritten)) {
        case BlankParagraph::Rewritten:
          node.owned.swap(rewritten);
          view.text = node.owned;
          [[fallthrough]];
        case BlankParagraph::Clears:
          view.clear_mask = mask;
          gathered |= mask;
          break;
        case BlankParagraph::No:
          break;
      }
      if (sync) sync->class_mask |= mask;
    }
    if (gathered != 0 && sync) sync->clear_mask = gathered;
    for (std::size_t i = 0; i < used; ++i) {
      StreamedNode& node = group[i];
      if (mode == kAnalyseFixBreaks && node.view.kind == SamiNodeKind::Paragraph &&
          !TooLongForMasks(cp, node.view.text)) {
        if (node.view.text.data() != node.owned.data()) node.owned.assign(node.view.text);
        RepairBreaks(node.owned);
        node.view.text = node.owned;
      }
      visit(node.view);
    }
    used = 0;
  };

  CutBody(file, body, line, cp, patterns, [&](const CutNode& cut) {
    if (cut.kind == SamiNodeKind::Sync) flush();
    if (used == group.size()) group.emplace_back();
    StreamedNode& node = group[used++];
    node.view = SamiNodeView{cut.kind, cut.line, 0, 0, cut.start,
                             file.substr(cut.from, cut.to - cut.from), cut.class_name};
  });
  flush();
  return true;
}

}  // namespace cadenzio
