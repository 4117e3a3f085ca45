// Speed of the message lookup that every opened window makes several times.
#include "uGlobal.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A language file of the real one's size and shape: thirteen window sections of
// aligned "Component.Caption = text" lines, then the messages.
QByteArray SampleLanguageFile() {
    QByteArray T = "; Morvanel - Testtexte\n";
    const char* Windows[] = {"frmMain",
                             "frmParameter",
                             "frmAbout",
                             "ChildWinGraphic",
                             "frmYESNOCANCEL",
                             "ChildWinATASCIITable",
                             "ChildWinText",
                             "ChildWinASC2ATASC",
                             "ChildWinListing",
                             "ChildWinSolidStates",
                             "ChildWinFont",
                             "frmReportOptions",
                             "frmSolidStatesController"};
    int N = 0;
    for (const char* W : Windows) {
        T += QByteArray("[") + W + "]\n";
        for (int I = 0; I < 26; ++I, ++N) {
            QByteArray Key = "Component" + QByteArray::number(N) + (I % 3 == 2 ? ".Hint" : ".Caption");
            T += Key.leftJustified(44, ' ') + "= Beschriftung Nummer " + QByteArray::number(N) + "\n";
        }
        T += "\n";
    }
    T += "[GeneralMsg]\n";
    const char* Keys[] = {"mLoadingFile", "mFile",        "mLenBytes",      "mFormatting", "mREADY",
                          "mNotFound",    "mCh2PIC",      "mCh4PIC",        "mCompressed", "mUnCompressed",
                          "mFileSaveAs",  "mFormat320",   "mFileFormatUnk", "mWrongRes1",  "mSave2x2",
                          "mPicsSaved",   "mCreatedWith", "mATASCTable",    "mFontMap",    "mMorvanelDesc",
                          "mErrBrowser"};
    for (const char* K : Keys) T += QByteArray(K).leftJustified(44, ' ') + "= Meldungstext für " + K + "\n";
    return T;
}

void BM_GetMsg(benchmark::State& State) {
    QTemporaryDir Dir;
    QFile F(Dir.filePath(QStringLiteral("german.lng")));
    if (!F.open(QIODevice::WriteOnly) || F.write(SampleLanguageFile()) < 0) {
        State.SkipWithError("cannot write the language file");
        return;
    }
    F.close();
    const QString SavedFolder = LanguageFolder, SavedFile = LngFile;
    LanguageFolder = Dir.path() + QLatin1Char('/');
    LngFile = QStringLiteral("german.lng");
    // The three lookups of opening a picture window.
    const QString Keys[] = {QStringLiteral("mLoadingFile"), QStringLiteral("mFile"),
                            QStringLiteral("mLenBytes")};
    int I = 0;
    for (auto _ : State) {
        QString Text = GetMsg(Keys[I]);
        benchmark::DoNotOptimize(Text);
        I = (I + 1) % 3;
    }
    State.SetItemsProcessed(State.iterations());
    LanguageFolder = SavedFolder;
    LngFile = SavedFile;
}
BENCHMARK(BM_GetMsg);

} // namespace

BENCHMARK_MAIN();
