// Full redraw of four 2048-sample waveforms on a 1920 x 1080 window, at a pixel ratio of 1
// and of 2 (a 3840 x 2160 backing image), and one step of dragging a cursor (erase,
// stretches redrawn, readouts); the same with the difference of slots 1 and 3 drawn as
// well, at 1920 x 1080 and on a maximised 4K screen.
#include "display/display.h"
#include "display/painter_canvas_qt.h"
#include "shell/text_qt.h"
#include "waveform/synth.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

using namespace r470;

struct Scene {
    Workspace session;
    DisplayHost host;
    int width, height;
    double ratio;
    QImage image{DevicePixels(width, ratio), DevicePixels(height, ratio), QImage::Format_RGB32};
    PainterCanvas canvas{&image};
    r470::Display display{session, canvas, host};

    explicit Scene(int w = 1920, int h = 1080, bool difference = false, double r = 1)
        : width(w), height(h), ratio(r) {
        image.fill(Qt::white);
        if (ratio != 1) { // the window's font at the screen's density, as the window does
            QFont f;
            f.setPointSizeF(f.pointSizeF() * ratio);
            canvas.SetQtFont(f);
        }
        session.DisplayDiel = 660;
        for (int n = 1; n <= 4; ++n) {
            SynthOptions o;
            o.faultAtNs = 200.0 * n + 300;
            o.seed = static_cast<unsigned>(n);
            TraceSlot& s = session.set.Slot(n);
            s.data = Synthesize(o);
            s.Loaded = s.Shown = true;
            s.NsPerSample = SampleIntervalNs(s.data.header);
            s.FileName = "/DATA/W" + std::to_string(n) + ".KEL";
            session.set.TraceCount++;
            session.set.CurTrace = n;
        }
        if (difference) {
            // Slot 3 on a coarser grid, so that the other waveform is interpolated.
            TraceSlot& s3 = session.set.Slot(3);
            s3.data.header.SampleIntLo = 1000;
            s3.NsPerSample = SampleIntervalNs(s3.data.header);
            session.set.DiffA = 1;
            session.set.DiffB = 3;
            session.set.Slot(kDiffSlot).Loaded = session.set.Slot(kDiffSlot).Shown = true;
        }
        display.SetSurface({width, height, 140, 25, width, 0, ratio});
        display.SeedFromFirstWaveform(1);
        display.Redraw();
        canvas.Flush();
    }
};

// The argument is the pixel ratio: 1, or 2 for 3840 x 2160 device pixels.
void BM_FullRedraw(benchmark::State& state) {
    Scene scene(1920, 1080, false, static_cast<double>(state.range(0)));
    for (auto _ : state) {
        scene.display.Redraw();
        scene.canvas.Flush(); // the frame is on the image, ready to be shown
    }
}
BENCHMARK(BM_FullRedraw)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_FullRedrawWithDifference(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), true);
    for (auto _ : state) {
        scene.display.Redraw();
        scene.canvas.Flush();
    }
}
BENCHMARK(BM_FullRedrawWithDifference)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void DragSteps(benchmark::State& state, Scene& scene) {
    const DisplayState& s = scene.display.state();
    int x = scene.display.MapNsToX(s.Cursor1Ns);
    scene.display.MouseDown(x, (s.GraphTop + s.TraceBottom) / 2);
    int dir = 1;
    for (auto _ : state) {
        x += dir;
        if (x > scene.image.width() - 120 || x < 100)
            dir = -dir;
        scene.display.MouseMove(x);
        scene.canvas.Flush();
    }
}

void BM_CursorDragStep(benchmark::State& state) {
    Scene scene;
    DragSteps(state, scene);
}

void BM_CursorDragStepWithDifference(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), true);
    DragSteps(state, scene);
}
BENCHMARK(BM_CursorDragStepWithDifference)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_CursorDragStep)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InstallFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
