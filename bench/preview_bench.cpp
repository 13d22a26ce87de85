// One tick of the caption preview's refresh on a long caption file: the
// rendering the 25 ms timer asks for when the sync to show has changed, by the
// plain walk over the nodes and with a CaptionSyncIndex, at positions early,
// midway and at the end of the file; and the tick that finds the sync already
// shown.
//
// The file has 100,000 syncs, each with a Korean and an English paragraph
// (font colours, line breaks, bold), every tenth clearing the Korean caption.
#include <benchmark/benchmark.h>

#include <string>

#include "preview/caption_preview.h"
#include "preview/caption_sync_index.h"
#include "sami/sami_document.h"

namespace {

constexpr int kSyncs = 100000;
constexpr int32_t kSyncStep = 2500;  // ms between syncs
constexpr int kKorean = 0;

const cadenzio::SamiDocument& LongDocument() {
  static const cadenzio::SamiDocument doc = [] {
    std::string file =
        "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\nP { color:white; }\r\n"
        ".ENCC { Name:English; lang:en-US; }\r\n.KRCC { Name:Korean; lang:ko-KR; }\r\n-->\r\n"
        "</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
    for (int i = 0; i < kSyncs; ++i) {
      file += "<SYNC Start=" + std::to_string(i * kSyncStep) + "><P Class=KRCC>";
      if (i % 10 == 9) {
        file += "&nbsp;\r\n";
      } else {
        // "자막 " and a number, a coloured second line
        file += "\xC0\xDA\xB8\xB7 " + std::to_string(i) +
                "<br><font color=\"#ffcc00\"><b>\xB5\xCE \xB9\xF8\xC2\xB0</b></font>\r\n";
      }
      file += "<P Class=ENCC>Caption " + std::to_string(i) + "<br><i>second line</i>\r\n";
    }
    file += "</BODY>\r\n</SAMI>\r\n";
    cadenzio::SamiDocument analysed;
    analysed.Analyse(file, cadenzio::kAnalysePlain);
    return analysed;
  }();
  return doc;
}

// Arg: position as a per mille of the file's time span; a position just after
// a sync, whose caption is shown.
int32_t Position(int64_t per_mille) {
  const int64_t sync = (kSyncs - 1) * per_mille / 1000 / 10 * 10;  // not a clearing one
  return static_cast<int32_t>(sync * kSyncStep + 100);
}

void RefreshTick(benchmark::State& state, cadenzio::CaptionSyncIndex* index) {
  const cadenzio::SamiDocument& doc = LongDocument();
  const int32_t position = Position(state.range(0));
  std::string rtf;
  if (index != nullptr) doc.RenderCaption(position, kKorean, -1, rtf, index);  // builds it
  int32_t found = 0;
  for (auto _ : state) {
    // The shown start never matches, so every tick builds the RTF text.
    found = doc.RenderCaption(position, kKorean, -1, rtf, index);
    benchmark::DoNotOptimize(rtf.data());
  }
  if (found <= 0 || rtf.empty()) state.SkipWithError("no caption found");
  state.counters["nodes"] = static_cast<double>(doc.nodes.size());
}

void BM_RefreshTickWalk(benchmark::State& state) { RefreshTick(state, nullptr); }
BENCHMARK(BM_RefreshTickWalk)->ArgName("permille")->Arg(100)->Arg(500)->Arg(1000)
    ->Unit(benchmark::kMicrosecond);

void BM_RefreshTickIndexed(benchmark::State& state) {
  cadenzio::CaptionSyncIndex index;
  RefreshTick(state, &index);
}
BENCHMARK(BM_RefreshTickIndexed)->ArgName("permille")->Arg(100)->Arg(500)->Arg(1000)
    ->Unit(benchmark::kMicrosecond);

// The tick while the same sync stays active: found, nothing built.
void BM_UnchangedTickIndexed(benchmark::State& state) {
  const cadenzio::SamiDocument& doc = LongDocument();
  const int32_t position = Position(state.range(0));
  cadenzio::CaptionSyncIndex index;
  std::string rtf;
  const int32_t shown = doc.RenderCaption(position, kKorean, -1, rtf, &index);
  for (auto _ : state) {
    benchmark::DoNotOptimize(doc.RenderCaption(position, kKorean, shown, rtf, &index));
  }
}
BENCHMARK(BM_UnchangedTickIndexed)->ArgName("permille")->Arg(1000)
    ->Unit(benchmark::kMicrosecond);

// Building the index: paid once per document and class.
void BM_BuildIndex(benchmark::State& state) {
  const cadenzio::SamiDocument& doc = LongDocument();
  for (auto _ : state) {
    cadenzio::CaptionSyncIndex index;
    benchmark::DoNotOptimize(index.Find(doc, Position(500), 1));
  }
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
