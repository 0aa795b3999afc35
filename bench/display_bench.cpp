// Full redraw of four 2048-sample waveforms on a 1920 x 1080 backing image, and one step of
// dragging a cursor (erase, stretches redrawn, readouts).
#include "display/display.h"
#include "display/painter_canvas_qt.h"
#include "shell/text_qt.h"
#include "waveform/synth.h"

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

using namespace r470;

struct Scene {
    Session session;
    DisplayHost host;
    QImage image{1920, 1080, QImage::Format_RGB32};
    PainterCanvas canvas{&image};
    r470::Display display{session, canvas, host};

    Scene() {
        image.fill(Qt::white);
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
        display.SetSurface({1920, 1080, 140, 25, 1920, 0});
        display.SeedFromFirstWaveform(1);
        display.Redraw();
        canvas.Flush();
    }
};

void BM_FullRedraw(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.display.Redraw();
        scene.canvas.Flush(); // the frame is on the image, ready to be shown
    }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_CursorDragStep(benchmark::State& state) {
    Scene scene;
    const DisplayState& s = scene.display.state();
    int x = scene.display.MapNsToX(s.Cursor1Ns);
    scene.display.MouseDown(x, (s.GraphTop + s.TraceBottom) / 2);
    int dir = 1;
    for (auto _ : state) {
        x += dir;
        if (x > 1800 || x < 100)
            dir = -dir;
        scene.display.MouseMove(x);
        scene.canvas.Flush();
    }
}
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
