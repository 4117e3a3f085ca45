// Runs a fuzz target's entry point over the files named on the command line, so
// the targets build and replay crashes without clang's libFuzzer.
#include <QCoreApplication>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

int main(int argc, char** argv) {
    for (int I = 1; I < argc; ++I) {
        QFile F(QString::fromLocal8Bit(argv[I]));
        if (!F.open(QIODevice::ReadOnly)) continue;
        const QByteArray D = F.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(D.constData()), size_t(D.size()));
    }
    std::printf("replayed %d inputs\n", argc - 1);
    return 0;
}
