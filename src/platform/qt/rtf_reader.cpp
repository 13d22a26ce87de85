#include "platform/qt/rtf_reader.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <string>
#include <vector>

#include "platform/qt/qt_text.h"

namespace cadenzio {
namespace {

enum class Destination { Text, ColourTable, Skipped };

// Everything a group restores when it ends.
struct GroupState {
  Destination destination = Destination::Text;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int colour = 0;
  Qt::Alignment alignment;
};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class RtfReader {
 public:
  RtfReader(QTextDocument& doc, const QFont& base_font, const QColor& default_colour,
            Qt::Alignment default_alignment)
      : cursor_(&doc), base_font_(base_font), default_colour_(default_colour),
        default_alignment_(default_alignment) {
    state_.bold = base_font.bold();
    state_.italic = base_font.italic();
    state_.underline = base_font.underline();
    state_.alignment = default_alignment;
    colours_.push_back(QColor());  // colour 0 until the table says otherwise
    ApplyAlignment();
  }

  void Read(std::string_view rtf) {
    for (std::size_t i = 0; i < rtf.size();) {
      const char c = rtf[i];
      if (c == '{') {
        Flush();
        groups_.push_back(state_);
        ++i;
      } else if (c == '}') {
        EndGroup();
        ++i;
      } else if (c == '\\') {
        i = ReadControl(rtf, i + 1);
      } else {
        if (c != '\r' && c != '\n') AddByte(c);
        ++i;
      }
    }
    Flush();
  }

 private:
  void EndGroup() {
    Flush();
    if (state_.destination == Destination::ColourTable && !groups_.empty() &&
        groups_.back().destination != Destination::ColourTable) {
      // A last entry without its ';' still counts.
      if (entry_started_) AddColourEntry();
    }
    if (groups_.empty()) return;
    const Qt::Alignment alignment = state_.alignment;
    state_ = groups_.back();
    groups_.pop_back();
    if (state_.alignment != alignment) ApplyAlignment();
  }

  // Reads the control word or symbol after a backslash; returns the position
  // after it (and after the blank that ends a word).
  std::size_t ReadControl(std::string_view rtf, std::size_t i) {
    if (i >= rtf.size()) return i;
    const char c = rtf[i];
    if (c == '\\' || c == '{' || c == '}') {
      AddByte(c);
      return i + 1;
    }
    if (c == '\'') {
      const int high = i + 1 < rtf.size() ? HexValue(rtf[i + 1]) : -1;
      const int low = i + 2 < rtf.size() ? HexValue(rtf[i + 2]) : -1;
      if (high < 0 || low < 0) return i + 1;
      AddByte(static_cast<char>(high * 16 + low));
      return i + 3;
    }
    if (c == '*') {
      state_.destination = Destination::Skipped;
      return i + 1;
    }
    if (!IsLetter(c)) return i + 1;  // other symbols (\~, \-, ...) show nothing here
    const std::size_t word_start = i;
    while (i < rtf.size() && IsLetter(rtf[i])) ++i;
    const std::string_view word = rtf.substr(word_start, i - word_start);
    bool has_parameter = false;
    int parameter = 0;
    bool negative = false;
    if (i < rtf.size() && rtf[i] == '-') {
      negative = true;
      ++i;
    }
    while (i < rtf.size() && IsDigit(rtf[i])) {
      has_parameter = true;
      if (parameter < 1000000) parameter = parameter * 10 + (rtf[i] - '0');
      ++i;
    }
    if (negative) parameter = -parameter;
    if (i < rtf.size() && rtf[i] == ' ') ++i;
    Apply(word, has_parameter, parameter);
    return i;
  }

  void Apply(std::string_view word, bool has_parameter, int parameter) {
    if (state_.destination == Destination::Skipped) return;
    if (word == "ansicpg") {
      Flush();
      code_page_ = parameter == 65001 ? &CodePage::Utf8() : &CodePage::Cp949();
      return;
    }
    if (state_.destination == Destination::ColourTable) {
      if (word == "red") entry_.setRed(parameter);
      else if (word == "green") entry_.setGreen(parameter);
      else if (word == "blue") entry_.setBlue(parameter);
      else return;
      entry_started_ = true;
      return;
    }
    const bool on = !has_parameter || parameter != 0;
    if (word == "colortbl") {
      state_.destination = Destination::ColourTable;
      colours_.clear();
      entry_ = QColor(0, 0, 0);
      entry_started_ = false;
    } else if (word == "fonttbl" || word == "stylesheet" || word == "info" || word == "pict") {
      state_.destination = Destination::Skipped;
    } else if (word == "b") {
      SetFormat(state_.bold, on);
    } else if (word == "i") {
      SetFormat(state_.italic, on);
    } else if (word == "ul") {
      SetFormat(state_.underline, on);
    } else if (word == "ulnone") {
      SetFormat(state_.underline, false);
    } else if (word == "cf") {
      Flush();
      state_.colour = parameter;
    } else if (word == "par") {
      Flush();
      QTextBlockFormat block;
      block.setAlignment(state_.alignment);
      cursor_.insertBlock(block);
    } else if (word == "line") {
      Flush();
      cursor_.insertText(QString(QChar::LineSeparator), CharFormat());
    } else if (word == "pard") {
      SetAlignment(default_alignment_);
    } else if (word == "qc") {
      SetAlignment(Qt::AlignHCenter);
    } else if (word == "ql") {
      SetAlignment(Qt::AlignLeft);
    } else if (word == "qr") {
      SetAlignment(Qt::AlignRight);
    } else if (word == "qj") {
      SetAlignment(Qt::AlignJustify);
    }
  }

  void AddByte(char c) {
    if (state_.destination == Destination::Text) {
      text_ += c;
    } else if (state_.destination == Destination::ColourTable && c == ';') {
      AddColourEntry();
    }
  }

  void AddColourEntry() {
    // An entry without components is the default colour ("auto").
    colours_.push_back(entry_started_ ? entry_ : QColor());
    entry_ = QColor(0, 0, 0);
    entry_started_ = false;
  }

  void SetFormat(bool& flag, bool on) {
    Flush();
    flag = on;
  }

  void SetAlignment(Qt::Alignment alignment) {
    state_.alignment = alignment;
    ApplyAlignment();
  }

  // Alignment belongs to the paragraph being written.
  void ApplyAlignment() {
    QTextBlockFormat block = cursor_.blockFormat();
    block.setAlignment(state_.alignment);
    cursor_.setBlockFormat(block);
  }

  QTextCharFormat CharFormat() const {
    QTextCharFormat format;
    format.setFont(base_font_);
    format.setFontWeight(state_.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(state_.italic);
    format.setFontUnderline(state_.underline);
    const bool known = state_.colour >= 0 &&
                       static_cast<std::size_t>(state_.colour) < colours_.size() &&
                       colours_[static_cast<std::size_t>(state_.colour)].isValid();
    format.setForeground(known ? colours_[static_cast<std::size_t>(state_.colour)]
                               : default_colour_);
    return format;
  }

  // Writes the bytes gathered so far in the current character format; a
  // Korean character is two bytes, so text is decoded a run at a time.
  void Flush() {
    if (text_.empty()) return;
    cursor_.insertText(FromWorkingText(text_, *code_page_), CharFormat());
    text_.clear();
  }

  QTextCursor cursor_;
  const CodePage* code_page_ = &CodePage::Cp949();  // of the text, from \ansicpg
  const QFont& base_font_;
  const QColor default_colour_;
  const Qt::Alignment default_alignment_;
  GroupState state_;
  std::vector<GroupState> groups_;
  std::vector<QColor> colours_;
  QColor entry_{0, 0, 0};
  bool entry_started_ = false;
  std::string text_;
};

}  // namespace

void LoadRtf(QTextDocument& doc, std::string_view rtf, const QFont& base_font,
             const QColor& default_colour, Qt::Alignment default_alignment) {
  doc.clear();
  doc.setDefaultFont(base_font);
  if (rtf.empty()) return;
  RtfReader reader(doc, base_font, default_colour, default_alignment);
  reader.Read(rtf);
}

}  // namespace cadenzio
