// Header of imported captions: 23 fixed lines, the title, the font family and
// the conversion time filled in.
#include "tools/import_header.h"

#include <cstdio>

namespace cadenzio {
namespace {

constexpr std::string_view kHeadBeforeTitle =
    "<SAMI>\r\n"
    "<HEAD>\r\n"
    "<Title>";
constexpr std::string_view kTitleToFont =
    "</Title>\r\n"
    "<STYLE TYPE=\"text/css\">\r\n"
    "<!--\r\n"
    "P {margin-left:8pt; margin-right:8pt; margin-bottom:2pt; margin-top:2pt;\r\n"
    "   text-align:center; font-size:22pt; font-family:";
constexpr std::string_view kFontToDate =
    ";\r\n"
    "   font-weight:bold; color:white;}\r\n"
    ".ENCC {Name:English; lang:en-US; SAMIType:CC;}\r\n"
    "#STDPrn {Name:Standard Print;}\r\n"
    "#VLargePrn {Name:34pt (VLarge Print); font-size:34pt;}\r\n"
    "#LargePrn {Name:28pt (Large Print); font-size:28pt;}\r\n"
    "#MediumPrn {Name:24pt (Medium Print); font-size:24pt;}\r\n"
    "#BSmallPrn {Name:18pt (BSmall Print); font-size:18pt;}\r\n"
    "#SmallPrn {Name:12pt (Small Print); font-size:12pt;}\r\n"
    "-->\r\n"
    "</Style>\r\n"
    "<!--\r\n";
// The credit line is ours to word; it is indented like the date line above it.
constexpr std::string_view kCreditToBody =
    "  SRT, SUB and SUBRIP converters by the Cadenzio authors\r\n"
    "-->\r\n"
    "</HEAD>\r\n"
    "<BODY>\r\n";

}  // namespace

void WriteImportHeader(std::string& out, std::string_view title, const std::tm& when) {
  out.append(kHeadBeforeTitle).append(title).append(kTitleToFont);
  out.append(kImportFontFamily).append(kFontToDate);
  // A tm may hold any int; year and month are offset in 64 bits so that no
  // value overflows, and the buffer holds six numbers of the widest form.
  char date[256];
  const int n = std::snprintf(
      date, sizeof date, "  This file is created by Cadenzio on %04lld/%02lld/%02d %02d:%02d:%02d\r\n",
      static_cast<long long>(when.tm_year) + 1900, static_cast<long long>(when.tm_mon) + 1,
      when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
  out.append(date, static_cast<std::size_t>(n));
  out.append(kCreditToBody);
}

}  // namespace cadenzio
