// Time of one F2 (InsertSync) and one F3 (InsertClearSync) with the caret at
// the end of a caption text of 1,000,000 characters, on the in-memory editor
// the tests use. Every stamp walks the editor through its line operations,
// so this measures how the stamping logic and the editor's position arithmetic
// scale with the length of the text.
//
// The text is restored (outside the timed region) before every iteration, so
// each iteration stamps the same text from the same caret.
#include <benchmark/benchmark.h>

#include <string>

#include "app/sync_stamping.h"
#include "platform/memory_editor.h"
#include "sami_generator.h"

namespace {

constexpr long kCharacters = 1'000'000;

// A generated caption cut after the first line that brings it to 1,000,000
// characters (a double-byte character and a line break each count as one).
const std::string& Caption() {
  static const std::string text = [] {
    std::string file = cadenzio::GenerateSami(2 * cadenzio::kMegabyte, 20240611);
    const long last_line = cadenzio::MemoryEditor(file).LineFromChar(kCharacters);
    std::size_t end = 0;  // the generator ends every line in CR LF
    for (long i = 0; i <= last_line && end != std::string::npos; ++i)
      end = file.find("\r\n", end + (i > 0 ? 2 : 0));
    if (end != std::string::npos) file.resize(end);
    return file;
  }();
  return text;
}

template <typename Stamp>
void StampAtEnd(benchmark::State& state, Stamp stamp) {
  cadenzio::MemoryEditor editor(Caption());
  for (auto _ : state) {
    state.PauseTiming();
    editor.SetText(Caption());
    const long end = editor.TextLength();
    editor.SetSelection({end, end});
    state.ResumeTiming();
    stamp(editor);
    benchmark::ClobberMemory();
  }
  state.counters["chars"] = static_cast<double>(editor.TextLength());
}

void BM_InsertSyncAtEnd(benchmark::State& state) {
  StampAtEnd(state, [](cadenzio::TextEditor& e) { cadenzio::InsertSync(e, 123456, "KRCC"); });
}
void BM_InsertClearSyncAtEnd(benchmark::State& state) {
  StampAtEnd(state, [](cadenzio::TextEditor& e) { cadenzio::InsertClearSync(e, 123456, "KRCC"); });
}

BENCHMARK(BM_InsertSyncAtEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertClearSyncAtEnd)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
