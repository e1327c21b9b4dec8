// The live preview's recomputation on every change of a control, for the
// sample drawing: the records OK would emit, their shapes and the status
// line; and one step of a drag of point 4 (the same, with the point moved),
// on the sample and on a drawing of 100,000 elements handed over. The
// budget is one frame (16 ms); reading the sample exchange file, as the
// dialog does once at start, is the baseline measured beside it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "dialog/DimensionPreview.h"
#include "dialog/Unit1.h"
#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"
#include "exchange/Scratch.h"
#include "preview/LivePreview.h"
#include "tests/support/MixedRecords.h"

namespace {

const std::string SamplePath = Q308_SOURCE_DIR "/samples/JWC_TEMP.TXT";

// The dialog shown on a drawing, the host's text type chosen, as a first
// start leaves it; in a folder of its own, so no file of a real
// installation is read. One form at a time: the model is the process's.
TForm1& FormShownOn(const std::string& exchange)
{
    static std::unique_ptr<TForm1> form;
    static std::string shownOn;
    if (!form || shownOn != exchange) {
        const auto folder = std::filesystem::temp_directory_path() / "q308-preview-bench";
        std::filesystem::create_directories(folder);
        {
            std::ofstream out(folder / "JWC_TEMP.TXT", std::ios::binary | std::ios::trunc);
            out << exchange;
        }
        std::filesystem::remove(folder / "q304.dat");
        form = std::make_unique<TForm1>();
        form->ProgramFolder = folder.string() + "/";
        form->FormShow();
        form->ComboBox3.SetItemIndex(0);
        shownOn = exchange;
    }
    return *form;
}

const std::string& SampleBytes()
{
    static const std::string bytes = [] {
        std::ifstream in(SamplePath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    return bytes;
}

TForm1& ShownForm() { return FormShownOn(SampleBytes()); }

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

// One mouse move of a drag of point 4: the point moved, the records, their
// shapes, the picked points and the status anew, and the picture as the
// window paints it. Each step moves the point, as a drag does; it swings
// past the dimension's end so that the value runs out and comes back.
void DragStep(benchmark::State& state)
{
    const long elements = state.range(0);
    TForm1& form = elements == 0 ? ShownForm() : FormShownOn(records::MixedExchangeFile(elements));
    preview::LivePreview live;
    live.Start();
    live.Update(form);
    benchmark::DoNotOptimize(live.Current().Shapes.size());  // the input's shapes, made once
    const PointD p1{DrawingState.PickedPoints[1].X, DrawingState.PickedPoints[1].Y};
    const PointD p2{DrawingState.PickedPoints[2].X, DrawingState.PickedPoints[2].Y};
    int step = 0;
    for (auto _ : state) {
        const double t = -0.5 + (step++ % 40) / 20.0;  // from before point 1 to beyond point 2
        form.MovedPoint4 = PointD{p1.X + t * (p2.X - p1.X) - 500, p1.Y + t * (p2.Y - p1.Y)};
        live.Update(form);
        benchmark::DoNotOptimize(live.Current().Shapes.size());
        benchmark::DoNotOptimize(live.StatusLines().size());
    }
    form.ResetMovedPoints();
    state.counters["shapes"] = static_cast<double>(live.Current().Shapes.size());
    if (live.Result().Outcome != ConstructionOutcome::Drawn)
        state.SkipWithError("the dimension was not drawn");
}

}  // namespace

BENCHMARK(ReadSample)->Unit(benchmark::kMicrosecond);
BENCHMARK(PreviewRecords)->Unit(benchmark::kMicrosecond);
BENCHMARK(RecomputeLivePreview)->Unit(benchmark::kMicrosecond);
// 0: the sample drawing; else a generated drawing of that many elements.
BENCHMARK(DragStep)->Arg(0)->Arg(100000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
