// Reads the RTF the caption preview's renderer writes (SamiDocument::
// RenderCaption) into a QTextDocument, for the preview box under the player.
//
// The subset: groups; the colour table (\red \green \blue, entries ended by
// ';', an empty entry meaning the default colour); \cfN; \b \i \ul and their
// off forms \b0 \i0 \ul0 \ulnone; \par and \line; \qc \ql \qr \qj and \pard;
// text as CP949 bytes (UTF-8 after \ansicpg65001), raw or escaped as \'hh,
// and the escapes \\ \{ \}.
// CR and LF are ignored; other control words are skipped, and a group
// starting with \* or one of \fonttbl \stylesheet \info \pict is skipped whole.
#pragma once

#include <QColor>
#include <QFont>
#include <QTextDocument>
#include <string_view>

namespace cadenzio {

// Replaces the content of doc. Characters start in base_font (its weight,
// italic and underline included) and default_colour, which also stands for
// colour 0 and for colour numbers beyond the table; paragraphs without an
// alignment control word get default_alignment. An empty rtf leaves doc
// empty.
void LoadRtf(QTextDocument& doc, std::string_view rtf, const QFont& base_font,
             const QColor& default_colour, Qt::Alignment default_alignment = Qt::AlignLeft);

}  // namespace cadenzio
