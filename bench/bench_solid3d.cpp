// Projection and drawing of a large wireframe: a sphere of 10000 points and 10000
// lines, one rotation step and one full redraw per iteration, as each 40 ms tick.
#include "uTom3D.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

namespace {

std::unique_ptr<Tom3D> Sphere(TPlainImageTarget& Target) {
    auto M = std::make_unique<Tom3D>();
    M->Image = &Target;
    const int Rings = 100, Segments = 100;
    int N = 0;
    for (int R = 0; R < Rings; ++R) {
        const double Theta = M_PI * (R + 0.5) / Rings;
        for (int S = 0; S < Segments; ++S) {
            const double Phi = 2 * M_PI * S / Segments;
            ++N;
            M->X[N] = 20 * std::sin(Theta) * std::cos(Phi);
            M->Y[N] = 20 * std::sin(Theta) * std::sin(Phi);
            M->Z[N] = 20 * std::cos(Theta);
        }
    }
    M->PointCount = N;
    for (int I = 1; I <= Tom3D::MaxLines; ++I) {
        const int Ring = (I - 1) / Segments, Seg = (I - 1) % Segments;
        M->Lines[I] = {I, Ring * Segments + (Seg + 1) % Segments + 1};
    }
    M->LineCount = Tom3D::MaxLines;
    return M;
}

void BM_RotateAndRedraw(benchmark::State& State) {
    TPlainImageTarget Target(320, 192);
    auto M = Sphere(Target);
    M->DrawPoints = quint8(State.range(0));
    for (auto _ : State) {
        M->RotateStep();
        M->Redraw();
        benchmark::DoNotOptimize(Target.Picture.constBits());
    }
    State.SetItemsProcessed(State.iterations() * (M->PointCount + M->LineCount));
}
BENCHMARK(BM_RotateAndRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One full frame (projection and drawing, no rotation) of the sphere, without
// numbers and with both line and point numbers.
void BM_Frame(benchmark::State& State) {
    TPlainImageTarget Target(320, 192);
    auto M = Sphere(Target);
    M->LineCount = int(State.range(0));
    for (auto _ : State) {
        M->Redraw();
        benchmark::DoNotOptimize(Target.Picture.constBits());
    }
}
BENCHMARK(BM_Frame)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_FrameNumbers(benchmark::State& State) {
    TPlainImageTarget Target(320, 192);
    auto M = Sphere(Target);
    M->LineCount = int(State.range(0));
    M->DrawLineNumbers = 1;
    M->DrawPointNumbers = 1;
    for (auto _ : State) {
        M->Redraw();
        benchmark::DoNotOptimize(Target.Picture.constBits());
    }
}
BENCHMARK(BM_FrameNumbers)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ProjectOnly(benchmark::State& State) {
    TPlainImageTarget Target(320, 192);
    auto M = Sphere(Target);
    for (auto _ : State) {
        M->RotateStep();
        M->Project();
        benchmark::DoNotOptimize(M->ScreenX.data());
    }
    State.SetItemsProcessed(State.iterations() * M->PointCount);
}
BENCHMARK(BM_ProjectOnly)->Unit(benchmark::kMicrosecond);

// Observer inside the sphere: half the lines cross the observer's plane and are
// cut by bisection.
void BM_RedrawFromInside(benchmark::State& State) {
    TPlainImageTarget Target(320, 192);
    auto M = Sphere(Target);
    M->Observer = {0, 0, 0};
    M->ViewPoint = {1, 0, 0};
    for (auto _ : State) {
        M->Redraw();
        benchmark::DoNotOptimize(Target.Picture.constBits());
    }
}
BENCHMARK(BM_RedrawFromInside)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
