// Runs a fuzz target's entry point without libFuzzer, so the targets build with gcc
// and CI keeps their seeds and saved crash reproducers fixed:
//   fuzz_x --make-seeds DIR   writes the target's seed inputs into DIR
//   fuzz_x --seeds            makes the seeds in a temporary folder and replays them
//   fuzz_x FILE|DIR ...       replays files, and every file in a folder (a missing
//                             folder holds no reproducers yet)
#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace {
int ReplayFile(const QString& Path) {
    QFile F(Path);
    if (!F.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(Path));
        return 0;
    }
    const QByteArray D = F.readAll();
    std::fprintf(stderr, "replaying %s (%lld bytes)\n", qPrintable(Path), (long long)D.size());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(D.constData()), size_t(D.size()));
    return 1;
}

// Returns the number of inputs replayed, -1 when a named file cannot be read.
int Replay(const QString& Path) {
    const QFileInfo Info(Path);
    if (Info.isDir()) {
        int Count = 0;
        for (const QFileInfo& F : QDir(Path).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
            Count += ReplayFile(F.filePath());
        return Count;
    }
    if (!Info.exists()) return 0;
    return ReplayFile(Path) ? 1 : -1;
}
} // namespace

int main(int argc, char** argv) {
    const QString First = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (First == QLatin1String("--make-seeds")) {
        if (argc != 3) {
            std::fprintf(stderr, "usage: %s --make-seeds DIR\n", argv[0]);
            return 2;
        }
        return MakeSeedsInto(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    int Count = 0;
    if (First == QLatin1String("--seeds")) {
        QTemporaryDir Dir;
        if (!Dir.isValid() || !MakeSeedsInto(Dir.path())) return 1;
        Count = Replay(Dir.path());
    } else {
        for (int I = 1; I < argc; ++I) {
            const int N = Replay(QString::fromLocal8Bit(argv[I]));
            if (N < 0) return 1;
            Count += N;
        }
    }
    std::printf("replayed %d inputs\n", Count);
    return 0;
}
