// The bare caption text of a SAMI document, for proof-reading or translation:
// one caption a line, without syncs or paragraph tags.
#pragma once

#include <cstddef>
#include <string>

#include "sami/sami_document.h"

namespace cadenzio {

// A caption body of this many bytes or more is written as it stands, with its
// own line breaks and no line end of its own.
inline constexpr std::size_t kCaptionLineLimit = 1001;

// For every Paragraph node that is no clear, in list order: the text after the
// first '>' (the paragraph tag dropped). A body shorter than kCaptionLineLimit
// bytes loses every CR LF pair and ends in CR LF, so a caption written over
// several lines becomes one line; other markup (<br>, FONT tags) stays. A
// paragraph whose text holds no '>' has no complete tag, so nothing of it is
// taken as caption text and it gives no line.
std::string WriteCaptionTexts(const SamiDocument& doc);

}  // namespace cadenzio
