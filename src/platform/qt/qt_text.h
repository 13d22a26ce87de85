// CP949 bytes to QString and back: the one place where the window's Unicode
// meets the system's bytes. Decoding is lossless (see text_encoding.h), so a
// text read from a file and shown in a widget comes back byte for byte.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "pattern/code_page.h"

namespace cadenzio {

QString FromCp949(std::string_view cp949);

// Nothing when the text holds a character CP949 cannot hold.
std::optional<std::string> ToCp949(const QString& text);

// For labels, titles and messages built by the program: a character CP949
// cannot hold becomes '?'.
std::string ToCp949Lossy(const QString& text);

// The working text of a code page (CP949 or UTF-8 bytes) and QString. In
// UTF-8, a byte that starts no character becomes the private-use code point
// that FromCp949 gives such a byte (cp949_conversion.h) and comes back as that
// byte, so a UTF-8 caption with stray bytes is shown and saved without loss.
// A character CP949 cannot hold becomes '?' in CP949 text.
QString FromWorkingText(std::string_view bytes, const CodePage& cp);

// CR LF, LF and a lone CR each as one '\n', as an editor's document takes
// its lines.
QString BreaksAsNewlines(QString text);

// The working text as an editor's document takes it: as FromWorkingText, with
// CR LF, LF and a lone CR each as one '\n'. Fast on a CP949 text whose bytes
// are all characters, the usual caption.
QString FromWorkingLines(std::string_view bytes, const CodePage& cp);
std::string ToWorkingText(const QString& text, const CodePage& cp);

// Native paths (UTF-8 bytes on this platform) and QString.
QString FromNativePath(const std::string& path);
std::string ToNativePath(const QString& path);

}  // namespace cadenzio
