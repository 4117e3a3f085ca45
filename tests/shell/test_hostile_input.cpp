// Hostile input: FIFOs, devices and folders named like documents or as save targets,
// files longer than their format, JPEG headers claiming huge pictures, broken or
// unreadable settings, names that are not UTF-8. Nothing may block, grow without
// bound, open a window or be replaced by a save.
#include "IniFile.h"
#include "JPEGImage.h"
#include "VekButton.h"
#include "test_shell_common.h"
#include "uParam.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QScreen>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

// Fails the test instead of letting it hang: after Limit it keeps opening every FIFO
// for writing, which releases a reader blocked in open or read (the body then
// finishes and the test reports the block); a body still running after a second
// Limit (an endless device read) aborts the run.
class TWatchdog {
public:
    TWatchdog(QStringList Fifos, std::chrono::seconds Limit)
        : FThread([this, Fifos, Limit] {
              const auto Start = std::chrono::steady_clock::now();
              while (!FDone) {
                  const auto Spent = std::chrono::steady_clock::now() - Start;
                  if (Spent > 2 * Limit) {
                      std::fprintf(stderr, "a read still runs after the watchdog released every FIFO\n");
                      std::abort();
                  }
                  for (const QString& F : Fifos) {
                      if (Spent < Limit) break;
                      Fired = true;
                      const int Fd = ::open(QFile::encodeName(F).constData(), O_WRONLY | O_NONBLOCK);
                      if (Fd >= 0) ::close(Fd);
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          }) {}
    ~TWatchdog() {
        FDone = true;
        FThread.join();
    }
    std::atomic<bool> Fired{false};

private:
    std::atomic<bool> FDone{false};
    std::thread FThread;
};

bool MakeSocket(const QString& Path) {
    const int Fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un A{};
    A.sun_family = AF_UNIX;
    const QByteArray N = QFile::encodeName(Path);
    if (Fd < 0 || size_t(N.size()) >= sizeof(A.sun_path)) return false;
    std::memcpy(A.sun_path, N.constData(), size_t(N.size()));
    const bool Ok = ::bind(Fd, reinterpret_cast<sockaddr*>(&A), sizeof(A)) == 0;
    ::close(Fd);
    return Ok;
}

using HostileInputTest = MainWindowFixture;
using HostileOnScreen = OpenedMainWindow;
using HostileSettings = SettingsFixture;

// A JPEG of W x H whose frame header is then patched to claim ClaimW x ClaimH.
QByteArray JpegClaiming(int ClaimW, int ClaimH) {
    QImage Img(16, 8, QImage::Format_RGB32);
    Img.fill(qRgb(10, 200, 30));
    TJPEGImage J;
    J.Assign(Img);
    QByteArray Data = J.SaveToData();
    const int Sof = int(Data.indexOf("\xFF\xC0"));
    if (Sof < 0) return {};
    Data[Sof + 5] = char(ClaimH >> 8);
    Data[Sof + 6] = char(ClaimH);
    Data[Sof + 7] = char(ClaimW >> 8);
    Data[Sof + 8] = char(ClaimW);
    return Data;
}

// A progressive JPEG (our writer makes baseline files only).
QByteArray ProgressiveJpeg() {
    QImage Img(16, 16, QImage::Format_RGB32);
    for (int I = 0; I < 256; ++I) Img.setPixel(I % 16, I / 16, qRgb(I, 255 - I, I * 5));
    QBuffer Out;
    QImageWriter W(&Out, "jpeg");
    W.setProgressiveScanWrite(true);
    W.write(Img);
    return Out.data();
}

// The kind of Path itself (a link is not followed); 0 when there is nothing.
mode_t TypeOf(const QString& Path) {
    struct stat St {};
    return ::lstat(QFile::encodeName(Path).constData(), &St) == 0 ? St.st_mode & S_IFMT : 0;
}

} // namespace

TEST_F(HostileOnScreen, FifosDevicesSocketsAndFoldersNamedLikeDocumentsGiveAnErrorAndNoWindow) {
    // One extension per reader.
    QStringList Fifos, Others;
    for (const QString& E :
         QStringList{".GR8", ".MIC", ".KOA", ".PHO", ".ALB", ".COL", ".FNT", ".TXT", ".LST", ".3D", ".JPG",
                     ".BMP", ".NEO", ".PI1", ".PC1", ".DOO", ".PAC"}) {
        const QString Fifo = Dir.filePath("fifo" + E), Zero = Dir.filePath("zero" + E);
        ASSERT_EQ(::mkfifo(QFile::encodeName(Fifo).constData(), 0600), 0);
        ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(Zero).constData()), 0);
        Fifos << Fifo;
        Others << Zero;
    }
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.GR8"));
    Others << Dir.filePath("folder.GR8");
    if (MakeSocket(Dir.filePath("s.TXT"))) Others << Dir.filePath("s.TXT");

    {
        TWatchdog Watchdog(Fifos, std::chrono::seconds(20));
        for (const QString& P : Fifos + Others) Guarded([&] { Main->CreateMDIChild(P); });
        EXPECT_FALSE(Watchdog.Fired) << "an open blocked";
    }
    EXPECT_EQ(Main->MDIChildCount(), 0);
    ASSERT_EQ(Boxes.size(), Fifos.size() + Others.size());
    for (const QString& B : Boxes)
        EXPECT_TRUE(B.startsWith("Fehler|Keine gewöhnliche Datei")) << B.toStdString();
    EXPECT_TRUE(Boxes.first().contains("eine FIFO"));
    EXPECT_TRUE(Boxes[Fifos.size()].contains("ein Gerät"));

    // Every reader on its own refuses them too.
    TWatchdog Watchdog(Fifos, std::chrono::seconds(20));
    for (const QString& P : {Fifos.first(), Others.first()}) {
        EXPECT_THROW(ReadWholeFile(P), EInOutError);
        EXPECT_THROW(ReadFileHead(P, 10), EInOutError);
        EXPECT_THROW(GetFileLength(P), EInOutError);
    }
    EXPECT_FALSE(Watchdog.Fired);
}

TEST_F(HostileInputTest, ReadsStopAtTheirLimit) {
    const QString Path = Dir.filePath("data.bin");
    WriteWholeFile(Path, QByteArray(100, 'x'));
    EXPECT_EQ(ReadWholeFile(Path, 100).size(), 100);
    EXPECT_EQ(ReadFileHead(Path, 7), QByteArray(7, 'x'));
    EXPECT_EQ(ReadFileHead(Path, 1000).size(), 100);
    EXPECT_TRUE(ErrorOf([&] {
                    ReadWholeFile(Path, 99);
                }).startsWith(QString::number(ioFileTooLarge) + ": Datei zu groß (mehr als 99 Bytes)"));
}

TEST_F(HostileInputTest, SavesReplaceOnlyRegularFiles) {
    // Targets live in a folder of their own, so a stray temporary file shows.
    const QString T = Dir.filePath("targets/");
    ASSERT_TRUE(QDir().mkpath(T));
    const auto Native = [](const QString& P) { return QFile::encodeName(P); };
    const struct {
        const char* Name;
        std::function<bool(const QString& Path)> Make;
        const char* Kind; // nullptr: the save must succeed
    } Rows[] = {{"new", [](const QString&) { return true; }, nullptr},
                {"file", [](const QString& P) { return WriteWholeFile(P, "old"), true; }, nullptr},
                {"fifo", [&](const QString& P) { return ::mkfifo(Native(P), 0600) == 0; }, "eine FIFO"},
                {"folder", [&](const QString& P) { return ::mkdir(Native(P), 0700) == 0; }, "ein Ordner"},
                {"socket", MakeSocket, "ein Socket"},
                {"device",
                 [&](const QString& P) { return ::mknod(Native(P), S_IFCHR | 0600, makedev(1, 3)) == 0; },
                 "ein Gerät"}};
    for (const auto& R : Rows) {
        for (const bool Link : {false, true}) {
            QString Target = T + R.Name + (Link ? "-linked" : "");
            // Without our own device node, /dev/null only where a faulty save could not replace it.
            if (!R.Make(Target))
                Target = ::geteuid() != 0 && R.Kind ? QStringLiteral("/dev/null") : QString();
            if (Target.isEmpty()) continue;
            const QString Name = Link ? Dir.filePath(QString(R.Name) + ".lnk") : Target;
            if (Link) {
                ASSERT_EQ(::symlink(Native(Target), Native(Name)), 0);
            }
            const mode_t Type = TypeOf(Target);
            const QStringList Before = QDir(T).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);
            const std::string Error = ErrorOf([&] { WriteWholeFile(Name, "new"); }).toStdString();
            const std::string Case = std::string(R.Name) + (Link ? " through a link" : "");
            if (!R.Kind) {
                EXPECT_EQ(Error, "no error") << Case;
                EXPECT_EQ(ReadWholeFile(Target), "new") << Case;
                EXPECT_EQ(TypeOf(Name), Link ? S_IFLNK : S_IFREG) << Case;
                continue;
            }
            EXPECT_EQ(Error, QStringLiteral("%1: Keine gewöhnliche Datei, sondern %2 (%3)")
                                 .arg(ioNotRegularFile)
                                 .arg(QString::fromUtf8(R.Kind), Name)
                                 .toStdString());
            EXPECT_EQ(TypeOf(Target), Type) << Case;
            EXPECT_EQ(QDir(T).entryList(QDir::AllEntries | QDir::System | QDir::Hidden), Before) << Case;
        }
    }
}

// A settings file that exists but cannot be read is never replaced: the run goes on
// the defaults, warns once, and the file stays as it was.
TEST_F(HostileSettings, SettingsFileThatCannotBeReadIsLeftAsItIs) {
    const QString Ini = SettingsFileName();
    const auto Run = [] { // start-up, OK in the settings dialog, shutdown
        CreateApplicationWindows();
        LoadSettings();
        frmParameter->btnOK->click();
        SaveSettings();
        DestroyApplicationWindows();
    };
    const QByteArray Big = "[Setup]\nwidth=700\nmine=kept\n" + QByteArray(TIniFile::MaxFileSize, ';');
    WriteWholeFile(Ini, Big);
    col3 = 1;
    Run();
    EXPECT_EQ(col3, 0x904F1Fu);
    TIniFile Direct(Ini);
    Direct.WriteString("Setup", "width", "1");
    EXPECT_EQ(ErrorOf([&] { Direct.UpdateFile(); }), "In " + Ini + " kann nicht geschrieben werden");
    EXPECT_TRUE(ReadWholeFile(Ini, 2 * TIniFile::MaxFileSize) == Big);
    const QString Unread = "Warnung|" + GetMsg("mSettingsUnread") + "\n";
    EXPECT_EQ(Boxes.join('|').toStdString(),
              (Unread + "Datei zu groß (mehr als 4194304 Bytes) (" + Ini + ")").toStdString());

    // A link to a FIFO: no read blocks, and both stay what they were.
    const QString Fifo = Dir.filePath("settings.fifo");
    ASSERT_TRUE(QFile::remove(Ini));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Fifo).constData(), 0600), 0);
    ASSERT_EQ(::symlink(QFile::encodeName(Fifo).constData(), QFile::encodeName(Ini).constData()), 0);
    {
        TWatchdog Watchdog({Fifo}, std::chrono::seconds(20));
        Run();
        EXPECT_FALSE(Watchdog.Fired);
    }
    EXPECT_EQ(TypeOf(Ini), S_IFLNK);
    EXPECT_EQ(TypeOf(Fifo), S_IFIFO);
    EXPECT_EQ(Boxes.mid(1).join('|').toStdString(),
              (Unread + "Keine gewöhnliche Datei, sondern eine FIFO (" + Ini + ")").toStdString());
}

TEST_F(HostileInputTest, JpegClaimingAHugePictureIsRefusedFromItsHeader) {
    // Refused from the header's numbers alone: the decoded data (16 x 8) would fit. (The
    // sides are tried at their limits with the other picture limits.)
    TJPEGImage J;
    EXPECT_EQ(ErrorOf([&] { J.LoadFromData(JpegClaiming(16384, 8193)); }),
              "Bild zu groß: 16384 x 8193 Pixel (höchstens 32000 Pixel je Seite und 128 Megapixel)");
    EXPECT_TRUE(J.Empty());
    // Within the limits the claimed size is decoded (the missing data as grey).
    J.LoadFromData(JpegClaiming(3000, 2000));
    EXPECT_EQ(J.Image().size(), QSize(3000, 2000));

    // A progressive file repeating its last scan without end is stopped.
    const QByteArray P = ProgressiveJpeg();
    ASSERT_TRUE(P.contains("\xFF\xC2")) << "not progressive";
    const qsizetype LastScan = P.lastIndexOf("\xFF\xDA"), End = P.lastIndexOf("\xFF\xD9");
    ASSERT_GT(LastScan, 0);
    const QByteArray Scan = P.mid(LastScan, End - LastScan);
    TJPEGImage Ok;
    Ok.LoadFromData(P);
    EXPECT_EQ(Ok.Width(), 16);
    EXPECT_EQ(ErrorOf([&] { Ok.LoadFromData(P.left(End) + Scan.repeated(1100) + "\xFF\xD9"); }),
              "JPEG-Fehler: mehr als 1000 Scans");
}

TEST_F(HostileOnScreen, OpenErrorsSayWhatIsWrongAndNameTheFile) {
    const QString BadJpeg = ErrorOf([] { TJPEGImage().LoadFromData("no picture"); }); // "JPEG-Fehler #nn"
    // A Koala header, then empty runs far beyond the 64 KB such a file can use.
    const QByteArray Koala = QByteArray("\xFF\x80\xC9\xC7\0\0\0\x02", 8) + QByteArray(80000, '\0');
    const QString Loop = Dir.filePath("loop.gr8");
    ASSERT_EQ(::symlink(QFile::encodeName(Loop).constData(), QFile::encodeName(Loop).constData()), 0);
    const struct {
        const char* Name;
        QByteArray Data; // empty: nothing written
        QString Text;
    } Rows[] = {
        {"bad.jpg", "no picture", BadJpeg},
        {"huge.jpg", JpegClaiming(65500, 65500),
         "Bild zu groß: 65500 x 65500 Pixel (höchstens 32000 Pixel je Seite und 128 Megapixel)"},
        {"head.pho", "abc\x9b", "'abc' ist kein gültiger Integerwert"},
        {"big.koa", Koala, "Datei zu groß (mehr als 65536 Bytes)"},
        {"none/x.gr8", {}, "Ordner nicht gefunden"},
        {"loop.gr8", {}, "Zu viele symbolische Links"},
    };
    for (const auto& R : Rows) {
        const QString Path = Dir.filePath(R.Name);
        if (!R.Data.isEmpty()) WriteWholeFile(Path, R.Data);
        Boxes.clear();
        Main->OpenFiles({Path});
        EXPECT_EQ(Boxes.join('\n').toStdString(), ("Fehler|" + R.Text + " (" + Path + ")").toStdString());
    }
}

TEST_F(HostileSettings, RestoredWindowGeometryLiesOnTheScreen) {
    const QRect Area(0, 0, 1024, 768);
    EXPECT_EQ(FitGeometryToArea(10, 10, 625, 475, Area), QRect(10, 10, 625, 475));
    EXPECT_EQ(FitGeometryToArea(0, 0, 2147483647, 2147483647, Area), Area);
    EXPECT_EQ(FitGeometryToArea(-2147483647 - 1, 2147483647, 1, -5, Area), QRect(0, 568, 320, 200));
    EXPECT_EQ(FitGeometryToArea(900, 700, 625, 475, Area), QRect(399, 293, 625, 475));
    EXPECT_EQ(FitGeometryToArea(5, 5, 625, 475, QRect(0, 0, 300, 100)), QRect(0, 0, 300, 100));

    // A damaged settings file heals itself at the next save.
    WriteWholeFile(SettingsFileName(),
                   "[Setup]\nleft=-99999\ntop=2147483647\nwidth=2147483647\nheight=2147483647\n");
    TfrmMain Main;
    frmMain = &Main;
    LoadSettings();
    const QRect Screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(Screen.contains(QRect(Main.pos(), Main.size()))) << Main.width() << "x" << Main.height();
    SaveSettings();
    TIniFile Ini(SettingsFileName());
    EXPECT_TRUE(
        Screen.contains(QRect(Ini.ReadInteger("Setup", "left", -1), Ini.ReadInteger("Setup", "top", -1),
                              Ini.ReadInteger("Setup", "width", 0), Ini.ReadInteger("Setup", "height", 0))));
}

TEST_F(HostileOnScreen, NameThatIsNotUtf8GivesThePlainMessage) {
    // The bytes "bad\xFF.txt" on disk; the program gets the name decoded, as from
    // the command line or a drop.
    const QByteArray Raw = QFile::encodeName(Dir.path()) + "/bad\xFF.txt";
    const int Fd = ::open(Raw.constData(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(Fd, 0);
    ::close(Fd);
    const QString Path = QFile::decodeName(Raw);
    EXPECT_TRUE(IsLossyFileName(Path));
    EXPECT_TRUE(IsLossyFileName(Dir.filePath(QString(QChar(0xD800)) + "x")));
    // A name really holding U+FFFD (valid UTF-8) is an ordinary name.
    const QString Real = Dir.filePath(QString(QChar(0xFFFD)) + ".txt");
    WriteWholeFile(Real, "A");
    EXPECT_FALSE(IsLossyFileName(Real));

    Main->OpenFiles({Path});
    EXPECT_EQ(Main->MDIChildCount(), 0);
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].startsWith("Fehler|Dateiname ist kein gültiges UTF-8")) << Boxes[0].toStdString();
    EXPECT_FALSE(Boxes[0].contains("nicht gefunden"));
    ::unlink(Raw.constData()); // the folder's removal cannot name it
}
