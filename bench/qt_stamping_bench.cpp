// F2, F3 and the CTRL+UP nudge with the caret at the end of a caption of
// 1,000,000 characters (the editor's limit) in the window's own editor, the
// QPlainTextEdit-based QtEditor. Runs without a display (Qt's offscreen
// platform) unless QT_QPA_PLATFORM says otherwise.
//
// Loading a million characters into the widget takes about half a second, so
// the text is reloaded outside the timed region and the iterations are few.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <string>

#include "app/sync_stamping.h"
#include "platform/memory_dialogs.h"
#include "platform/qt/qt_editor.h"
#include "sami_generator.h"
#include "tools/sync_line.h"

namespace {

constexpr long kCharacters = 1'000'000;

const std::string& Caption() {
  static const std::string text = cadenzio::GenerateEditorText(kCharacters, 20240611);
  return text;
}

// The caret goes to the start of the last line for the stamps (a caption line
// of the generated text) and stays there for the nudge.
template <typename Action>
void AtEnd(benchmark::State& state, Action action) {
  cadenzio::QtEditor editor;
  editor.resize(400, 580);
  for (auto _ : state) {
    state.PauseTiming();
    editor.SetText(Caption());
    const long caret = editor.LineIndex(editor.LineCount() - 1);
    editor.SetSelection({caret, caret});
    state.ResumeTiming();
    action(editor);
  }
  state.counters["chars"] = static_cast<double>(editor.TextLength());
}

void BM_QtInsertSyncAtEnd(benchmark::State& state) {
  AtEnd(state, [](cadenzio::TextEditor& e) { cadenzio::InsertSync(e, 123456, "KRCC"); });
}
void BM_QtInsertClearSyncAtEnd(benchmark::State& state) {
  AtEnd(state, [](cadenzio::TextEditor& e) { cadenzio::InsertClearSync(e, 123456, "KRCC"); });
}
void BM_QtNudgeAtEnd(benchmark::State& state) {
  cadenzio::MemoryDialogs dialogs;
  AtEnd(state, [&](cadenzio::TextEditor& e) { cadenzio::ShiftSyncAtCaret(e, dialogs, 200); });
}

BENCHMARK(BM_QtInsertSyncAtEnd)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_QtInsertClearSyncAtEnd)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_QtNudgeAtEnd)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
