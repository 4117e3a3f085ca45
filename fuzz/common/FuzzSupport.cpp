#include "FuzzSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>

bool WriteSeed(const QString& Dir, const QString& Name, const QByteArray& Data) {
    QFile F(QDir(Dir).filePath(Name));
    return F.open(QIODevice::WriteOnly | QIODevice::Truncate) && F.write(Data) == Data.size();
}

// Targets that have not adopted the seed convention yet still link.
__attribute__((weak)) void MakeSeeds(const QString& Dir);

bool MakeSeedsInto(const QString& Dir) {
    if (!QDir().mkpath(Dir)) return false;
    if (&MakeSeeds == nullptr) {
        std::fprintf(stderr, "this target makes no seeds\n");
        return true;
    }
    MakeSeeds(Dir);
    return true;
}

void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int Argc = 1;
    static char Name[] = "fuzz";
    static char* Argv[] = {Name, nullptr};
    static QApplication* App = new QApplication(Argc, Argv);
    (void)App;
}

void FuzzFail(const char* What) {
    std::fprintf(stderr, "fuzz check failed: %s\n", What);
    std::abort();
}
