// Opening a 10 MB caption in the main window: the whole path a user waits
// for, from the bytes read to the first paint of the new text, and the
// editor's share of it. Runs without a display (Qt's offscreen platform)
// unless QT_QPA_PLATFORM says otherwise; real time, not CPU time, since the
// user waits for both.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/cadenzio_app.h"
#include "app/qt/main_window.h"
#include "platform/qt/qt_editor.h"
#include "sami_generator.h"

namespace {

const std::string& Caption() {
  static const std::string text = cadenzio::GenerateSami(10 * cadenzio::kMegabyte, 20240611);
  return text;
}

void BM_OpenTenMegabytesInWindow(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "cadenzio-open-bench";
  std::filesystem::create_directories(folder);
  cadenzio::CCadenzioApp app(folder.string());
  cadenzio::CadenzioWindow window(app, {.audio = false});
  window.Start({});
  QApplication::processEvents();
  const std::string path = (folder / "big.smi").string();
  for (auto _ : state) {
    window.dlg().SMIOpen(path, Caption());
    QApplication::processEvents();  // the first paint of the new text
    state.PauseTiming();
    window.editor().SetText("");
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["chars"] = static_cast<double>(Caption().size());
  std::filesystem::remove_all(folder);
}

// Saving the opened 10 MB caption: the text out of the editor, analysis,
// writing, reading the file back into the editor.
void BM_SaveTenMegabytesInWindow(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "cadenzio-save-bench";
  std::filesystem::create_directories(folder);
  cadenzio::CCadenzioApp app(folder.string());
  cadenzio::CadenzioWindow window(app, {.audio = false});
  window.Start({});
  const std::string path = (folder / "big.smi").string();
  window.dlg().SMIOpen(path, Caption());
  QApplication::processEvents();
  for (auto _ : state) {
    if (!window.dlg().SMISave(path)) state.SkipWithError("the save failed");
    QApplication::processEvents();
  }
  std::filesystem::remove_all(folder);
}

// The editor alone, on captions of state.range(0) megabytes.
void BM_EditorSetText(benchmark::State& state) {
  const std::string caption =
      cadenzio::GenerateSami(state.range(0) * cadenzio::kMegabyte, 20240611);
  cadenzio::QtEditor editor;
  editor.resize(400, 580);
  editor.show();
  for (auto _ : state) {
    editor.SetText(caption);
    QApplication::processEvents();
    state.PauseTiming();
    editor.SetText("");
    QApplication::processEvents();
    state.ResumeTiming();
  }
}

BENCHMARK(BM_OpenTenMegabytesInWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_SaveTenMegabytesInWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_EditorSetText)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
