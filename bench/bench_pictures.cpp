// Decode + render speed of the Atari 8-bit picture formats, in pictures per second,
// and the whole open of every picture type against the least work any viewer does:
// runs that know their pixel count show the CPU time a pixel (ns_px) and, when
// BM_UnpackFloor and BM_OpenPicture/GR8 ran before them, that time as a multiple of
// theirs (x_floor, x_GR8). With repetitions the median rows compare medians.
#include "uPictureOpen.h"
#include "uTAtariGraphic.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <map>
#include <random>
#include <unistd.h>

namespace {

QTemporaryDir* Dir = nullptr;
const quint32 Colors[4] = {0x000000, 0x5FB7CF, 0x70D890, 0x904F1F};

QByteArray Noise(int Size, unsigned Seed) {
    std::mt19937 Gen(Seed);
    QByteArray B(Size, '\0');
    // Runs of equal bytes, as real pictures have, so the packed formats pack.
    for (int I = 0; I < Size;) {
        const char V = char(Gen() & 0xFF);
        for (int N = int(Gen() % 24) + 1; N > 0 && I < Size; --N) B[I++] = V;
    }
    return B;
}

// Pixels drawn per iteration: the per-pixel time and the ratios come from it.
void SetPixels(benchmark::State& State, qint64 Pixels) {
    State.SetItemsProcessed(State.iterations());
    State.counters["pixels"] = double(Pixels);
}

QString Put(const QString& Name, const QByteArray& Data) {
    const QString Path = Dir->filePath(Name);
    QFile F(Path);
    if (F.open(QIODevice::WriteOnly | QIODevice::Truncate)) F.write(Data);
    return Path;
}

// Repeat runs of the page: value and count bytes of at most 127.
QByteArray KoalaFile(int Compression, const QByteArray& Page) {
    QByteArray F(27, '\0');
    F[0] = char(0xFF), F[1] = char(0x80), F[2] = char(0xC9), F[3] = char(0xC7), F[7] = char(Compression);
    if (Compression == 0) return F + Page;
    for (int I = 0; I < Page.size();) {
        int N = 1;
        while (I + N < Page.size() && N < 127 && Page[I + N] == Page[I]) ++N;
        F += char(N);
        F += Page[I];
        I += N;
    }
    return F;
}

void Raw(benchmark::State& State, const char* Name, int Size, int Mode) {
    const QString Path = Put(QString::fromLatin1(Name), Noise(Size, 1));
    TAtariGraphic G;
    QImage Img(320, 192, QImage::Format_RGB32);
    for (auto _ : State) {
        int Bytes = 0;
        G.LoadRawPic(Path, Bytes);
        G.RenderPic(Img, Bytes, 319, nullptr, Mode, Colors);
        benchmark::DoNotOptimize(Img.constBits());
    }
    State.SetItemsProcessed(State.iterations());
}

void Koala(benchmark::State& State, int Compression) {
    const QString Path =
        Put(QStringLiteral("k%1.koa").arg(Compression), KoalaFile(Compression, Noise(7680, 2)));
    TAtariGraphic G;
    QImage Img(320, 192, QImage::Format_RGB32);
    for (auto _ : State) {
        int Bytes = 0;
        G.LoadKoala(Path, Bytes);
        G.RenderPic(Img, Bytes, 319, nullptr, 15, Colors);
        benchmark::DoNotOptimize(Img.constBits());
    }
    State.SetItemsProcessed(State.iterations());
}

void BM_Technicolor(benchmark::State& State) {
    const QString Path = Put(QStringLiteral("t.col"), QByteArray(6, 0) + Noise(4760, 3));
    Put(QStringLiteral("t.lum"), QByteArray(6, 0) + Noise(4760, 4));
    TAtariGraphic G;
    QImage Img(320, 238, QImage::Format_RGB32);
    for (auto _ : State) {
        int Bytes = 0;
        G.LoadTechnicolor(Path, Bytes);
        G.ShowTechnicolor(Img, Bytes, 319, nullptr, 911, Colors);
        benchmark::DoNotOptimize(Img.constBits());
    }
    State.SetItemsProcessed(State.iterations());
}

void BM_Photo(benchmark::State& State) {
    const QString Path = Put(QStringLiteral("p.pho"), "7682\x9b" + QByteArray(2, 0) + Noise(7680, 5) +
                                                          "191\x9b"
                                                          "39\x9b");
    TAtariGraphic G;
    for (auto _ : State) {
        int Bytes = 0, LastX = 0, Height = 0;
        G.LoadPhoto(Path, Bytes, LastX, Height, 0);
        QImage Img(LastX + 1, Height, QImage::Format_RGB32);
        G.RenderPic(Img, Bytes, LastX, nullptr, 8, Colors);
        benchmark::DoNotOptimize(Img.constBits());
    }
    State.SetItemsProcessed(State.iterations());
}

void BM_Album(benchmark::State& State) {
    QByteArray Entries;
    for (int I = 0; I < 12; ++I)
        Entries += QByteArray("PICTURE ").append(QByteArray::number(I)).leftJustified(15, ' ') + char(48) +
                   char(6) + Noise(6 * 48, 6 + I);
    const QString Path = Put(QStringLiteral("a.alb"), QByteArray::number(Entries.size()) + "\x9b" + Entries);
    TAtariGraphic G;
    for (auto _ : State) {
        int Total = 0, Count = 0, W = 0, H = 0;
        G.LoadAlbum(Path, Total, Count, W, H);
        QImage Img(W * 5, (Count / 5 + 1) * (H + 16) + 8, QImage::Format_RGB32);
        G.ShowAlbum(Img, 5, true, true);
        benchmark::DoNotOptimize(Img.constBits());
    }
    State.SetItemsProcessed(State.iterations());
}

void BM_GR8Save(benchmark::State& State) {
    TAtariGraphic G;
    QImage Img(320, 192, QImage::Format_RGB32);
    const QByteArray Page = Noise(7680, 7);
    std::copy_n(reinterpret_cast<const quint8*>(Page.constData()), 7680, G.PicBuffer.begin());
    G.RenderPic(Img, 7680, 319, nullptr, 8, Colors);
    const QString Path = Dir->filePath(QStringLiteral("out.gr8"));
    for (auto _ : State) {
        G.ImageToGR8Bits(Img, 39, 191, 0, 0);
        G.SaveGR8Pic(Path);
    }
    State.SetItemsProcessed(State.iterations());
}

// The floor for showing a GR.8 page: a 320 x 192 image and 7680 bytes of 1-bit
// data unpacked into it with a plain loop.
void BM_UnpackFloor(benchmark::State& State) {
    const QByteArray Page = Noise(7680, 11);
    for (auto _ : State) {
        QImage Img(320, 192, QImage::Format_RGB32);
        const auto* P = reinterpret_cast<const quint8*>(Page.constData());
        for (int Y = 0; Y < 192; ++Y) {
            auto* Line = reinterpret_cast<QRgb*>(Img.scanLine(Y));
            for (int X = 0; X < 320; X += 8, ++P)
                for (int Bit = 0; Bit < 8; ++Bit)
                    Line[X + Bit] = (*P >> (7 - Bit)) & 1 ? 0xFFFFFFFF : 0xFF000000;
        }
        benchmark::DoNotOptimize(Img.constBits());
    }
    SetPixels(State, 320 * 192);
}

// PackBits as the compressed Degas files hold it: repeats of two or more as runs,
// the bytes between them as literal runs of up to 128.
QByteArray PackBits(const QByteArray& In) {
    QByteArray Out;
    const int N = int(In.size());
    for (int I = 0; I < N;) {
        int Run = 1;
        while (I + Run < N && Run < 128 && In[I + Run] == In[I]) ++Run;
        if (Run > 1) {
            Out.append(char(1 - Run)).append(In[I]);
            I += Run;
            continue;
        }
        int Lit = 1;
        while (I + Lit < N && Lit < 128 && !(I + Lit + 1 < N && In[I + Lit] == In[I + Lit + 1])) ++Lit;
        Out.append(char(Lit - 1)).append(In.mid(I, Lit));
        I += Lit;
    }
    return Out;
}

// Row-packed STAD data: value runs for repeats, the markers never as plain bytes.
QByteArray STADFile(const QByteArray& Screen) {
    QByteArray F("pM85\xCB\x00\xCC", 7);
    for (int I = 0; I < Screen.size();) {
        int N = 1;
        while (I + N < Screen.size() && N < 256 && Screen[I + N] == Screen[I]) ++N;
        const quint8 V = quint8(Screen[I]);
        if (N > 2 || V == 0xCB || V == 0xCC) {
            F.append('\xCC').append(char(V)).append(char(N - 1));
        } else {
            N = 1;
            F.append(char(V));
        }
        I += N;
    }
    return F;
}

// What the open-file dispatch runs for a picture, from the file on disk to the
// rendered image, without the window: identification, format info, the open.
void BM_OpenPicture(benchmark::State& State, const QString& Path) {
    const QString Name = DisplayName(Path);
    QImage Picture;
    TPictureCanvas Canvas;
    Canvas.NewPicture = [&](int W, int H, QSize) -> QImage& {
        Picture = QImage(W, H, QImage::Format_RGB32);
        Picture.fill(0);
        return Picture;
    };
    Canvas.SetPicture = [&](const QImage& P) { Picture = P; };
    TPictureOpenOptions Options;
    std::copy(std::begin(Colors), std::end(Colors), Options.Colors.begin());
    for (auto _ : State) {
        TAtariGraphic G;
        TAtariSTGraphic ST;
        G.IdentifyFileType(Path, Name);
        G.SetFormatInfo();
        OpenPictureFile(Path, Name, G, ST, Options, Canvas);
        benchmark::DoNotOptimize(Picture.constBits());
    }
    SetPixels(State, qint64(Picture.width()) * Picture.height());
}

QByteArray STPalette() {
    QByteArray Palette;
    for (int I = 0; I < 16; ++I) Palette.append(char(I & 7)).append(char((I * 0x23) & 0x77));
    return Palette;
}

// The ST drawing alone, in each resolution, into an image of the screen's size.
void BM_DrawDegas(benchmark::State& State, int Resolution) {
    TAtariSTGraphic ST;
    const QByteArray Screen = Noise(TAtariSTGraphic::ScreenSize, 21), Palette = STPalette();
    std::memcpy(ST.Screen.data(), Screen.constData(), ST.Screen.size());
    ST.ReadSTPalette(std::span<const quint8, 32>(reinterpret_cast<const quint8*>(Palette.constData()), 32));
    QImage Img(Resolution == TAtariSTGraphic::ResLow ? 320 : 640,
               Resolution == TAtariSTGraphic::ResHigh ? 400 : 200, QImage::Format_RGB32);
    for (auto _ : State) {
        ST.DrawDegas(Img, Resolution);
        benchmark::DoNotOptimize(Img.constBits());
    }
    SetPixels(State, qint64(Img.width()) * Img.height());
}

// The console output with the time a pixel and its ratios to the floor and to the
// GR.8 open of the same run.
class TPixelReporter : public benchmark::ConsoleReporter {
public:
    using ConsoleReporter::ConsoleReporter;
    void ReportRuns(const std::vector<Run>& Runs) override {
        std::vector<Run> Out = Runs;
        for (Run& R : Out) {
            const auto Pixels = R.counters.find("pixels");
            if (Pixels == R.counters.end() || R.error_occurred || R.aggregate_unit != benchmark::kTime ||
                R.aggregate_name == "stddev")
                continue;
            const double Ns = R.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(R.time_unit) /
                              Pixels->second.value;
            R.counters["ns_px"] = Ns;
            const std::string& Name = R.run_name.function_name;
            if (Name == "BM_UnpackFloor")
                Floor[R.aggregate_name] = Ns;
            else if (Name == "BM_OpenPicture/GR8")
                GR8[R.aggregate_name] = Ns;
            if (const auto F = Floor.find(R.aggregate_name); F != Floor.end() && Name != "BM_UnpackFloor")
                R.counters["x_floor"] = Ns / F->second;
            if (const auto G = GR8.find(R.aggregate_name); G != GR8.end() && Name != "BM_OpenPicture/GR8")
                R.counters["x_GR8"] = Ns / G->second;
        }
        ConsoleReporter::ReportRuns(Out);
    }

private:
    // Per kind of row: single runs ("") and each aggregate.
    std::map<std::string, double> Floor, GR8;
};

void RegisterOpenBenchmarks() {
    const QByteArray Palette = STPalette();
    const QByteArray Screen = Noise(32000, 21);
    const QByteArray Photo = "7682\x9b" + QByteArray(2, 0) + Noise(7680, 6) +
                             "191\x9b"
                             "39\x9b";
    Put(QStringLiteral("P.LUM"), QByteArray(6, 0) + Noise(4760, 8));
    const struct {
        const char* Ext;
        QString Path;
    } Files[] = {
        {"GR8", Put(QStringLiteral("P.GR8"), Noise(7680, 1))},
        {"GR9", Put(QStringLiteral("P.GR9"), Noise(7680, 2))},
        {"MIC", Put(QStringLiteral("P.MIC"), Noise(7684, 3))},
        {"KOA", Put(QStringLiteral("P.KOA"), KoalaFile(2, Noise(7680, 2)))},
        {"APC", Put(QStringLiteral("P.APC"), Noise(7720, 4))},
        {"AP2", Put(QStringLiteral("P.AP2"), Noise(7680, 5))},
        {"PHO", Put(QStringLiteral("P.PHO"), Photo)},
        {"PI1", Put(QStringLiteral("P.PI1"), QByteArray(2, 0) + Palette + Screen)},
        {"PI2", Put(QStringLiteral("P.PI2"), QByteArray("\x00\x01", 2) + Palette + Screen)},
        {"PI3", Put(QStringLiteral("P.PI3"), QByteArray("\x00\x02", 2) + Palette + Screen)},
        {"PC1", Put(QStringLiteral("P.PC1"), QByteArray("\x80\x00", 2) + Palette + PackBits(Screen))},
        {"PC2", Put(QStringLiteral("P.PC2"), QByteArray("\x80\x01", 2) + Palette + PackBits(Screen))},
        {"PC3", Put(QStringLiteral("P.PC3"), QByteArray("\x80\x02", 2) + Palette + PackBits(Screen))},
        {"NEO", Put(QStringLiteral("P.NEO"), QByteArray(4, 0) + Palette + QByteArray(92, 0) + Screen)},
        {"DOO", Put(QStringLiteral("P.DOO"), Screen)},
        {"PAC", Put(QStringLiteral("P.PAC"), STADFile(Screen))},
        {"COL", Put(QStringLiteral("P.COL"), QByteArray(6, 0) + Noise(4760, 7))},
    };
    benchmark::RegisterBenchmark("BM_UnpackFloor", BM_UnpackFloor);
    for (const auto& F : Files)
        benchmark::RegisterBenchmark((std::string("BM_OpenPicture/") + F.Ext).c_str(), BM_OpenPicture,
                                     F.Path);
    benchmark::RegisterBenchmark("BM_DrawDegas/Low", BM_DrawDegas, int(TAtariSTGraphic::ResLow));
    benchmark::RegisterBenchmark("BM_DrawDegas/Medium", BM_DrawDegas, int(TAtariSTGraphic::ResMedium));
    benchmark::RegisterBenchmark("BM_DrawDegas/High", BM_DrawDegas, int(TAtariSTGraphic::ResHigh));
}

} // namespace

BENCHMARK_CAPTURE(Raw, GR8, "p.gr8", 7680, 8);
BENCHMARK_CAPTURE(Raw, GR9, "p.gr9", 7680, 9);
BENCHMARK_CAPTURE(Raw, MIC, "p.mic", 7684, 15);
BENCHMARK_CAPTURE(Raw, APAC, "p.apc", 7720, 911);
BENCHMARK_CAPTURE(Raw, APAC2, "p.ap2", 7680, 119);
BENCHMARK_CAPTURE(Koala, Uncompressed, 0);
BENCHMARK_CAPTURE(Koala, Vertical, 1);
BENCHMARK_CAPTURE(Koala, Horizontal, 2);
BENCHMARK(BM_Technicolor);
BENCHMARK(BM_Photo);
BENCHMARK(BM_Album);
BENCHMARK(BM_GR8Save);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    QTemporaryDir Temp;
    Dir = &Temp;
    // The language file in use, as the program runs: the build copies it beside us.
    LanguageFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/langscripts/");
    LngFile = QStringLiteral("german.lng");
    SetMessageBoxHook([](TMsgKind, const QString&, const QString&) {});
    RegisterOpenBenchmarks();
    // The ratios go to the console; another format asked for gets the plain report.
    bool Console = true;
    for (int I = 1; I < argc; ++I)
        if (std::strncmp(argv[I], "--benchmark_format=", 19) == 0)
            Console = std::strcmp(argv[I] + 19, "console") == 0;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TPixelReporter Reporter(isatty(STDOUT_FILENO) ? TPixelReporter::OO_Color : TPixelReporter::OO_None);
    if (Console)
        benchmark::RunSpecifiedBenchmarks(&Reporter);
    else
        benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
