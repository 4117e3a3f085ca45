// Speed of laying out and drawing a full-size text page.
#include "uTAtariFont.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

// 250000 bytes of ATASCII text: lines of varying length, some inverse words.
QByteArray SampleText() {
    QByteArray T;
    T.reserve(250000);
    const QByteArray Words[] = {"ATARI ", "Morvanel ", "PRINT ", "GOTO 10 ", "Zeichensatz ", "READY "};
    int K = 0;
    while (T.size() < 250000) {
        QByteArray W = Words[K % 6];
        if (K % 7 == 3)
            for (char& C : W) C = char(quint8(C) | 0x80);
        T += W;
        if (K % 9 == 8) T += char(155);
        ++K;
    }
    T.truncate(250000);
    return T;
}

void RenderPage(benchmark::State& State, QObject* App) {
    const QByteArray Text = SampleText();
    TAtariFont Font;
    QImage Page;
    for (auto _ : State) {
        Font.RenderText(
            Page, 1, reinterpret_cast<const quint8*>(Text.constData()), int(Text.size()), 0, 155, 0, 1, 40, 0,
            0, 0, 0xFFFFFF, 0x000000, [](int, int) {}, App);
        benchmark::DoNotOptimize(Page.constBits());
    }
    State.SetItemsProcessed(State.iterations() * Text.size());
    State.counters["chars/s"] =
        benchmark::Counter(double(State.iterations() * Text.size()), benchmark::Counter::kIsRate);
}

void BM_RenderText(benchmark::State& State) {
    RenderPage(State, nullptr);
}

// With events let run every 16 bytes, as the windows call it.
void BM_RenderTextWithEvents(benchmark::State& State) {
    QObject Owner;
    RenderPage(State, &Owner);
}

void BM_DrawFont(benchmark::State& State) {
    TAtariFont Font;
    QImage Map(289, 73, QImage::Format_RGB32);
    for (auto _ : State) {
        Font.DrawFont(Map, 1, 1, 1, 1, 0xFFFFFF, 0x000000);
        benchmark::DoNotOptimize(Map.constBits());
    }
    State.SetItemsProcessed(State.iterations() * 256);
}

} // namespace

BENCHMARK(BM_RenderText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderTextWithEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawFont);

int main(int argc, char** argv) {
    QCoreApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
