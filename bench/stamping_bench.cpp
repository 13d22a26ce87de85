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

const std::string& Caption() {
  static const std::string text = cadenzio::GenerateEditorText(kCharacters, 20240611);
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
