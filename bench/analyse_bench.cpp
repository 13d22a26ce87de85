// Throughput of the SAMI analyser: SamiDocument::Analyse in each mode
// followed by SamiDocument::Write, the way saving and every tool run it, on
// generated files of 1 to 50 MB; and the same on files of 1 MB lines, whose
// lines the analyser reads in bounded pieces.
//
// Every file is generated once, before the first timed iteration, and kept
// for the whole run. Each iteration makes a fresh document, as a tool does,
// so the time includes building and freeing its nodes.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <map>
#include <string>
#include <utility>

#include "sami/sami_document.h"
#include "settings/caption_encoding.h"
#include "sami_generator.h"

namespace {

constexpr uint32_t kSeed = 20240611;

// Generated files by (size in MB, line length; 0 for ordinary lines).
const std::string& File(std::size_t megabytes, std::size_t line_bytes) {
  static std::map<std::pair<std::size_t, std::size_t>, std::string> files;
  auto [it, added] = files.try_emplace({megabytes, line_bytes});
  if (added) {
    cadenzio::SamiGeneratorOptions options;
    options.bytes = megabytes * cadenzio::kMegabyte;
    options.seed = kSeed;
    options.line_bytes = line_bytes;
    it->second = cadenzio::GenerateSami(options);
  }
  return it->second;
}

void AnalyseAndWrite(benchmark::State& state, const std::string& file, int mode) {
  std::size_t nodes = 0;
  for (auto _ : state) {
    cadenzio::SamiDocument doc;
    if (!doc.Analyse(file, mode)) {
      state.SkipWithError("Analyse failed");
      return;
    }
    std::string out = doc.Write();
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
    nodes = doc.nodes.size();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(file.size()));
  state.counters["nodes"] = static_cast<double>(nodes);
}

// Args: analysis mode, file size in MB.
void BM_AnalyseWrite(benchmark::State& state) {
  const std::string& file = File(static_cast<std::size_t>(state.range(1)), 0);
  AnalyseAndWrite(state, file, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_AnalyseWrite)
    ->ArgNames({"mode", "MB"})
    ->ArgsProduct({{0, 1, 2}, {1, 5, 10, 50}})
    ->Unit(benchmark::kMillisecond);

// Args: file size in MB; every body line is 1 MB of tags and text without a
// line feed, analysed in mode 1. The 5 MB run is there to compare with.
void BM_AnalyseWriteLongLines(benchmark::State& state) {
  const std::string& file = File(static_cast<std::size_t>(state.range(0)), cadenzio::kMegabyte);
  AnalyseAndWrite(state, file, cadenzio::kAnalyseFixBreaks);
}
BENCHMARK(BM_AnalyseWriteLongLines)
    ->ArgNames({"MB"})
    ->Arg(5)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond);

// Caption files as read from disk in another encoding: the generated CP949
// file of about the given size once encoded (UTF-16LE with its BOM, or UTF-8).
// The CP949 file is scaled so that the encoded file has about that size.
const std::string& EncodedFile(std::size_t megabytes, cadenzio::CaptionEncoding encoding) {
  static std::map<std::pair<std::size_t, int>, std::string> files;
  auto [it, added] = files.try_emplace({megabytes, static_cast<int>(encoding)});
  if (added) {
    // The growth factor of the encoding, measured on a 1 MB sample.
    const std::string& sample = File(1, 0);
    const double growth =
        static_cast<double>(
            cadenzio::EncodeCaption(sample, cadenzio::CodePage::Cp949(), encoding, true).bytes.size()) /
        static_cast<double>(sample.size());
    cadenzio::SamiGeneratorOptions options;
    options.bytes = static_cast<std::size_t>(static_cast<double>(megabytes * cadenzio::kMegabyte) / growth);
    options.seed = kSeed;
    it->second = cadenzio::EncodeCaption(cadenzio::GenerateSami(options), cadenzio::CodePage::Cp949(),
                                         encoding, true)
                     .bytes;
  }
  return it->second;
}

// The whole way of a caption through saving: the file's bytes decoded into
// working text (the encoding detected), analysed, written and encoded back.
void ReadAnalyseWrite(benchmark::State& state, const std::string& file, int mode) {
  std::size_t nodes = 0;
  for (auto _ : state) {
    const cadenzio::DecodedCaption text = cadenzio::DecodeCaption(file);
    cadenzio::SamiDocument doc(text.code_page());
    if (!text.ok() || !doc.Analyse(text.bytes, mode)) {
      state.SkipWithError("Analyse failed");
      return;
    }
    const cadenzio::EncodedCaption out = cadenzio::EncodeCaption(doc.Write(), text.encoding, text.bom);
    benchmark::DoNotOptimize(out.bytes.data());
    benchmark::ClobberMemory();
    nodes = doc.nodes.size();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(file.size()));
  state.counters["nodes"] = static_cast<double>(nodes);
}

// Args: analysis mode, file size in MB. encoding 0: the CP949 file itself
// through detection, 1: UTF-16LE with BOM, 2: UTF-8 without BOM.
void BM_ReadAnalyseWrite(benchmark::State& state) {
  const auto megabytes = static_cast<std::size_t>(state.range(2));
  const int mode = static_cast<int>(state.range(0));
  switch (state.range(1)) {
    case 1: return ReadAnalyseWrite(state, EncodedFile(megabytes, cadenzio::CaptionEncoding::Utf16Le), mode);
    case 2: {
      // UTF-8 without a BOM, found by detection.
      static std::map<std::size_t, std::string> files;
      auto [it, added] = files.try_emplace(megabytes);
      if (added) {
        const std::string& with_bom = EncodedFile(megabytes, cadenzio::CaptionEncoding::Utf8);
        it->second = with_bom.substr(3);
      }
      return ReadAnalyseWrite(state, it->second, mode);
    }
    default: return ReadAnalyseWrite(state, File(megabytes, 0), mode);
  }
}
BENCHMARK(BM_ReadAnalyseWrite)
    ->ArgNames({"mode", "encoding", "MB"})
    ->ArgsProduct({{0, 1}, {0, 1, 2}, {5, 50}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

// Freed memory stays in the heap between iterations, whatever its size, so
// that every file size is measured the same way. By default glibc maps blocks
// over 32 MB afresh and returns them at free: the 50 MB runs would then pay
// some 70,000 new page faults per iteration that the smaller runs, reusing
// their heap, do not, and the sizes would not compare.
int main(int argc, char** argv) {
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
