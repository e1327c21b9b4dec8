// The live preview's recomputation on every change of a control, for the
// sample drawing: the records OK would emit, their shapes and the status
// line; and one step of a drag of point 4 (the same, with the point moved),
// on the sample and on a drawing of 100,000 elements handed over, and of a
// value in a row of 97 spans on that drawing. The
// budget is one frame (16 ms); reading the sample exchange file, as the
// dialog does once at start, is the baseline measured beside it.
//
// The host's drawing as the preview paints it, on generated drawings of
// 100,000 and 1,000,000 records: the paint plan made from the model, and
// walked for the preview's picture at the whole drawing and at the
// dimension (what is painted whole, what as a pixel), beside reading the
// same file as the baseline. Then the memory: the plan and the pictures
// against the file's size, and the peak of a process that reads the file
// as the program does, with and without the preview's plan and pictures.
//
//   PreviewBench [benchmark options]
//   PreviewBench --memory FOLDER [--without-preview]   (the process measured)
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

#include "dialog/DimensionPreview.h"
#include "dialog/Unit1.h"
#include "exchange/DrawingState.h"
#include "exchange/ExchangeReader.h"
#include "exchange/Scratch.h"
#include "bench/BenchFiles.h"
#include "preview/InputPlan.h"
#include "preview/LivePreview.h"
#include "preview/PlanRaster.h"
#include "preview/View.h"
#include "tests/support/MixedRecords.h"

extern char** environ;

namespace {

const std::string SamplePath = Q308_SOURCE_DIR "/samples/JWC_TEMP.TXT";

// The dialog shown on a drawing, the host's text type chosen, as a first
// start leaves it; in a folder of its own, so no file of a real
// installation is read. One form at a time: the model is the process's.
TForm1& FormShownOn(const std::string& exchange, DimensionKind kind = DimensionKind::Vertical)
{
    static std::unique_ptr<TForm1> form;
    static std::string shownOn;
    if (!form || shownOn != exchange || form->Kind != kind) {
        const auto folder = std::filesystem::temp_directory_path() / "q308-preview-bench";
        std::filesystem::create_directories(folder);
        {
            std::ofstream out(folder / "JWC_TEMP.TXT", std::ios::binary | std::ios::trunc);
            out << exchange;
        }
        std::filesystem::remove(folder / "q304.dat");
        form = std::make_unique<TForm1>(nullptr, kind);
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

// The longest row the host hands over (hp1 its line, hp2 to hp99 measured:
// 97 spans), a plan's grid with its small spans (3640, 150, 75, 900, 2730
// over and over), in place of the generated drawing's four picks.
std::string ChainRowExchangeFile(long elements)
{
    std::string bytes = records::MixedExchangeFile(elements);
    const std::size_t from = bytes.find("hp1-"), to = bytes.find("lg4");
    std::string picks = "hp1- -30000 -20000\r\n";
    const double spans[] = {3640, 150, 75, 900, 2730};
    double y = -20000;
    for (int n = 2; n <= 99; ++n) {
        picks += "hp" + std::to_string(n) + " -28000 " + std::to_string(y) + "\r\n";
        y += spans[n % 5];
    }
    return bytes.replace(from, to - from, picks);
}

// One mouse move of a drag of a value in the middle of that row, on a
// drawing of that many elements: the whole row's records, shapes, grips and
// status anew, as DragStep does for one dimension.
void ChainDragStep(benchmark::State& state)
{
    TForm1& form = FormShownOn(ChainRowExchangeFile(state.range(0)), DimensionKind::VerticalChain);
    preview::LivePreview live;
    live.Start();
    live.Update(form);
    benchmark::DoNotOptimize(live.Current().Shapes.size());
    const std::size_t spans = live.Result().Chain.Spans.size();
    if (live.Result().Outcome != ConstructionOutcome::Drawn || spans != 97) {
        state.SkipWithError("the row was not drawn whole");
        return;
    }
    const PointD at = live.Result().Chain.Spans[48].Dimension.P4;
    int step = 0;
    for (auto _ : state) {
        const double t = -4000 + (step++ % 40) * 200.0;  // along the row, over its neighbours
        form.MovedSpanValues[49] = PointD{at.X - 300, at.Y + t};
        live.Update(form);
        benchmark::DoNotOptimize(live.Current().Shapes.size());
        benchmark::DoNotOptimize(live.StatusLines().size());
    }
    form.ResetMovedPoints();
    state.counters["shapes"] = static_cast<double>(live.Current().Shapes.size());
}

// The preview's picture at 96 DPI, as the window opens beside the dialog,
// with the painters' guard all round.
constexpr int PictureWidth = 420, PictureHeight = 300, PictureGuard = 16;
// The renderer's three bitmaps and the window's frame, 32 bits a pixel.
constexpr std::size_t PictureBytes = 4ull * PictureWidth * (PictureHeight + 100) * 4;

// The generated drawing's file, written once a count.
const std::string& RecordsPath(long count, std::size_t* bytes = nullptr)
{
    static std::map<long, std::pair<std::string, std::size_t>> files;
    auto found = files.find(count);
    if (found == files.end()) {
        std::size_t size = 0;
        const std::string path = benchfiles::RecordsFile(count, size);
        found = files.emplace(count, std::pair{path, size}).first;
    }
    if (bytes != nullptr)
        *bytes = found->second.second;
    return found->second.first;
}

// The dialog shown on the generated drawing, its preview's plan and the two
// views the preview is worked at: the dimension framed, and the whole drawing.
struct PreviewOn {
    long Count = -1;
    preview::LivePreview Live;
    std::shared_ptr<const preview::PaintPlan> Plan;
    preview::View Dimension, Whole;
};

PreviewOn& PreviewOnRecords(long count)
{
    static PreviewOn on;
    if (on.Count != count) {
        on.Plan.reset();
        TForm1& form = FormShownOn(records::MixedExchangeFile(count));
        on.Live.Start();
        on.Live.Update(form);
        on.Plan = on.Live.Plan();
        const preview::Box dimension = preview::DimensionBounds(on.Live.Dimension());
        preview::Box whole = dimension;
        whole.Add(on.Plan->Bounds());
        on.Dimension = preview::Framed(dimension, PictureWidth, PictureHeight, 24);
        on.Whole = preview::Framed(whole, PictureWidth, PictureHeight, 24);
        on.Count = count;
    }
    return on;
}

// Counts what a walk hands over, and touches it as a painter would.
struct CountingPainter : preview::PlanPainter {
    std::size_t Shapes = 0, Pixels = 0;
    double Sum = 0;
    void Paint(const preview::PlanShape& shape) override
    {
        ++Shapes;
        Sum += shape.Values[0];
    }
    void Pixel(int x, int y, bool) override
    {
        ++Pixels;
        Sum += x + y;
    }
};

preview::Box GuardedPixels()
{
    preview::Box box;
    box.Add(-PictureGuard, -PictureGuard);
    box.Add(PictureWidth + PictureGuard, PictureHeight + PictureGuard);
    return box;
}

void ReadRecords(benchmark::State& state)
{
    std::size_t bytes = 0;
    const std::string& path = RecordsPath(state.range(0), &bytes);
    for (auto _ : state) {
        const ScratchModel scratch;
        if (!ReadExchangeFile(path))
            state.SkipWithError("the drawing could not be read");
        benchmark::DoNotOptimize(DrawingState.ElementOrder.Count());
    }
    state.counters["MB"] = bytes / 1e6;
}

// The plan made from the model the dialog read, once at the preview's first picture.
void MakePlan(benchmark::State& state)
{
    PreviewOn& on = PreviewOnRecords(state.range(0));
    double scales[LayerGroupCount];
    std::copy(std::begin(DrawingState.LayerGroupScales), std::end(DrawingState.LayerGroupScales), scales);
    std::size_t planBytes = 0;
    for (auto _ : state) {
        preview::Tally tally;
        const auto plan = preview::MakeInputPlan(DrawingState, scales, tally);
        planBytes = plan->Bytes();
        benchmark::DoNotOptimize(plan->Count());
    }
    std::size_t fileBytes = 0;
    RecordsPath(state.range(0), &fileBytes);
    state.counters["shapes"] = static_cast<double>(on.Plan->Count());
    state.counters["plan_MB"] = planBytes / 1e6;
    state.counters["own/file"] = static_cast<double>(planBytes + PictureBytes) / static_cast<double>(fileBytes);
}

// What the renderer walks for one picture: 0 at the dimension, 1 at the whole drawing.
void WalkPlan(benchmark::State& state)
{
    PreviewOn& on = PreviewOnRecords(state.range(0));
    const preview::View& view = state.range(1) == 0 ? on.Dimension : on.Whole;
    const preview::Fit fit = preview::FitOf(view, PictureWidth, PictureHeight);
    CountingPainter counted;
    for (auto _ : state) {
        CountingPainter painter;
        on.Plan->Walk(fit, GuardedPixels(), painter);
        benchmark::DoNotOptimize(painter.Sum);
        counted = painter;
    }
    state.counters["whole"] = static_cast<double>(counted.Shapes);
    state.counters["pixels"] = static_cast<double>(counted.Pixels);
}

// The same walk drawn into a picture of 32-bit pixels, as the Windows
// preview's renderer draws it (all but texts large enough to read, which
// there are none of at these views).
void RasterPlan(benchmark::State& state)
{
    PreviewOn& on = PreviewOnRecords(state.range(0));
    const preview::View& view = state.range(1) == 0 ? on.Dimension : on.Whole;
    const preview::Fit fit = preview::FitOf(view, PictureWidth, PictureHeight);
    std::vector<uint32_t> picture(static_cast<std::size_t>(PictureWidth) * PictureHeight);
    std::size_t later = 0;
    for (auto _ : state) {
        std::fill(picture.begin(), picture.end(), 0xFFFFFFFF);
        preview::Raster raster(picture.data(), PictureWidth, PictureHeight, 0x9A9A9A);
        preview::PlanRaster painter(raster, fit, 2);
        on.Plan->Walk(fit, GuardedPixels(), painter);
        later = painter.Later().size();
        benchmark::DoNotOptimize(picture.data());
    }
    state.counters["grey"] = static_cast<double>(std::count(picture.begin(), picture.end(), 0x9A9A9Au));
    state.counters["later"] = static_cast<double>(later);
}

// Remembers each benchmark's time a run, for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred && run.iterations > 0)
                Seconds[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
    }
    std::map<std::string, double> Seconds;
};

// The process the memory is measured in: the file read as the program reads
// it, the dimension recomputed, and with the preview its plan made and
// walked for both views into pictures of the window's size.
int MemoryProbe(const std::string& folder, bool withPreview)
{
    TForm1 form;
    form.ProgramFolder = folder + "/";
    form.FormShow();
    form.ComboBox3.SetItemIndex(0);
    preview::LivePreview live;
    live.Start();
    live.Update(form);
    std::size_t painted = 0;
    if (withPreview) {
        const auto plan = live.Plan();
        std::vector<uint32_t> pictures(PictureBytes / 4, 0xFFFFFFFF);
        preview::Box whole = preview::DimensionBounds(live.Dimension());
        whole.Add(plan->Bounds());
        std::size_t at = 0;
        for (const preview::Box& bounds : {preview::DimensionBounds(live.Dimension()), whole}) {
            const preview::Fit fit =
                preview::FitOf(preview::Framed(bounds, PictureWidth, PictureHeight, 24), PictureWidth, PictureHeight);
            preview::Raster raster(pictures.data() + at, PictureWidth, PictureHeight, 0x9A9A9A);
            preview::PlanRaster painter(raster, fit, 2);
            plan->Walk(fit, GuardedPixels(), painter);
            at += static_cast<std::size_t>(PictureWidth) * PictureHeight;
        }
        painted = static_cast<std::size_t>(std::count(pictures.begin(), pictures.end(), 0x9A9A9Au));
    }
    form.FormClose();
    // The process's own high-water mark: a child's rusage would also count
    // the parent's, whose memory it shares until it runs the program.
    std::ifstream status("/proc/self/status");
    std::ofstream peak(folder + "/peak.txt");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            peak << std::strtol(line.c_str() + 6, nullptr, 10) << "\n";
    return painted > 0 || !withPreview ? 0 : 1;
}

// The peak the process of argv left in FOLDER/peak.txt (argv[2] is FOLDER).
long PeakKilobytes(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0)
        return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    long peak = -1;
    std::ifstream(argv[2] + "/peak.txt") >> peak;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? peak : -1;
}

void ReportMemory(const char* self)
{
    for (const long count : {100000L, 1000000L}) {
        std::size_t bytes = 0;
        const std::string& source = RecordsPath(count, &bytes);
        long peaks[2] = {};
        for (int preview = 0; preview < 2; ++preview) {
            const auto folder = std::filesystem::temp_directory_path() / "q308-preview-memory";
            std::filesystem::remove_all(folder);
            std::filesystem::create_directories(folder);
            std::filesystem::copy_file(source, folder / "JWC_TEMP.TXT");
            std::vector<std::string> argv{self, "--memory", folder.string()};
            if (preview == 0)
                argv.push_back("--without-preview");
            peaks[preview] = PeakKilobytes(argv);
            std::filesystem::remove_all(folder);
        }
        const double file = static_cast<double>(bytes);
        std::printf("%7ld records (%.1f MB): peak memory without the preview %.1f MiB = %.2f x the file, "
                    "with it %.1f MiB = %.2f x the file\n",
                    count, file / 1e6, peaks[0] / 1024.0, peaks[0] * 1024.0 / file, peaks[1] / 1024.0,
                    peaks[1] * 1024.0 / file);
    }
}

void ReportRatios(const std::map<std::string, double>& seconds)
{
    const auto ratio = [&](const std::string& name, const std::string& baseline) {
        const auto a = seconds.find(name), b = seconds.find(baseline);
        if (a == seconds.end() || b == seconds.end())
            return;
        std::printf("%-28s %9.2f ms = %5.2f x %s\n", name.c_str(), a->second * 1e3, a->second / b->second,
                    baseline.c_str());
    };
    ratio("ChainDragStep/100000", "DragStep/100000");
    for (const char* count : {"100000", "1000000"}) {
        const std::string read = std::string("ReadRecords/") + count;
        for (const std::string& name :
             {std::string("MakePlan/") + count, std::string("WalkPlan/") + count + "/0",
              std::string("WalkPlan/") + count + "/1", std::string("RasterPlan/") + count + "/0",
              std::string("RasterPlan/") + count + "/1"})
            ratio(name, read);
    }
}

}  // namespace

BENCHMARK(ReadSample)->Unit(benchmark::kMicrosecond);
BENCHMARK(PreviewRecords)->Unit(benchmark::kMicrosecond);
BENCHMARK(RecomputeLivePreview)->Unit(benchmark::kMicrosecond);
// 0: the sample drawing; else a generated drawing of that many elements.
BENCHMARK(DragStep)->Arg(0)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ChainDragStep)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadRecords)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(MakePlan)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
// The records, then the view: 0 the dimension, 1 the whole drawing.
BENCHMARK(WalkPlan)->Args({100000, 0})->Args({100000, 1})->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(RasterPlan)->Args({100000, 0})->Args({100000, 1})->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--memory") == 0)
        return MemoryProbe(argv[2], !(argc >= 4 && std::strcmp(argv[3], "--without-preview") == 0));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\n");
    ReportRatios(reporter.Seconds);
    ReportMemory(argv[0]);
    return 0;
}
