// The live preview's recomputation on every change of a control, for the
// sample drawing: the records OK would emit, their shapes and the status
// line. The budget is one frame (16 ms); reading the sample exchange file,
// as the dialog does once at start, is the baseline measured beside it.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "dialog/DimensionPreview.h"
#include "dialog/Unit1.h"
#include "exchange/ExchangeReader.h"
#include "exchange/Scratch.h"
#include "preview/LivePreview.h"

namespace {

const std::string SamplePath = Q308_SOURCE_DIR "/samples/JWC_TEMP.TXT";

// The dialog shown on the sample drawing, the host's text type chosen, as
// a first start leaves it; in a folder of its own, so no file of a real
// installation is read.
TForm1& ShownForm()
{
    static TForm1 form;
    static bool shown = false;
    if (!shown) {
        const auto folder = std::filesystem::temp_directory_path() / "q308-preview-bench";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(SamplePath, folder / "JWC_TEMP.TXT",
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::remove(folder / "q304.dat");
        form.ProgramFolder = folder.string() + "/";
        form.FormShow();
        form.ComboBox3.SetItemIndex(0);
        shown = true;
    }
    return form;
}

void ReadSample(benchmark::State& state)
{
    for (auto _ : state) {
        const ScratchModel scratch;
        if (!ReadExchangeFile(SamplePath))
            state.SkipWithError("the sample could not be read");
        benchmark::DoNotOptimize(DrawingState.ElementOrder.Count());
    }
}

void PreviewRecords(benchmark::State& state)
{
    const TForm1& form = ShownForm();
    for (auto _ : state) {
        const DimensionPreviewResult result = PreviewDimension(form);
        benchmark::DoNotOptimize(result.Records.size());
    }
}

void RecomputeLivePreview(benchmark::State& state)
{
    TForm1& form = ShownForm();
    preview::LivePreview live;
    live.Start();
    for (auto _ : state) {
        live.Update(form);
        benchmark::DoNotOptimize(live.Current().Shapes.size());
    }
    state.counters["shapes"] = static_cast<double>(live.Current().Shapes.size());
    if (live.Result().Outcome != ConstructionOutcome::Drawn)
        state.SkipWithError("the sample's dimension was not drawn");
}

}  // namespace

BENCHMARK(ReadSample)->Unit(benchmark::kMicrosecond);
BENCHMARK(PreviewRecords)->Unit(benchmark::kMicrosecond);
BENCHMARK(RecomputeLivePreview)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
