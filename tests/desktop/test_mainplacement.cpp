// The main window's placement under a window manager: what is saved after a
// maximised close, and where a stored placement comes back.
#include "IniFile.h"
#include "X11Desk.h"
#include "test_desktop_common.h"
#include "test_drive_events.h"

#include <QComboBox>
#include <QDialog>
#include <QScreen>
#include <QStatusBar>
#include <optional>

namespace {
class MainPlacementTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        SettingsFolder = Dir.path() + "/";
    }
    void TearDown() override {
        delete Main;
        MainWindowFixture::TearDown();
    }
    QString Stored() {
        TIniFile Ini(SettingsFileName());
        const auto Read = [&](const char* Key) { return Ini.ReadInteger("Setup", Key, -1); };
        return RectText(QRect(Read("left"), Read("top"), Read("width"), Read("height")));
    }
    // The main window placed from the settings file as the program starts, shown and
    // framed; its frame's corner and its size.
    QString Start(std::optional<QRect> Placement = {}) {
        if (Placement) {
            TIniFile Ini(SettingsFileName());
            for (const auto& [Key, V] : {std::pair{"left", Placement->x()},
                                         {"top", Placement->y()},
                                         {"width", Placement->width()},
                                         {"height", Placement->height()}})
                Ini.WriteInteger("Setup", Key, V);
            Ini.UpdateFile();
        }
        delete Main;
        frmMain = Main = new TfrmMain;
        LoadSettings();
        Main->show();
        EXPECT_TRUE(Framed(Main)) << "the window manager did not frame the main window";
        return RectText(QRect(FrameOf(Main).topLeft(), Main->size()));
    }
    TfrmMain* Main = nullptr;
};
} // namespace

TEST_F(MainPlacementTest, AMaximisedCloseSavesTheNormalPlacement) {
    EXPECT_EQ(Start(QRect(120, 90, 700, 500)), "120,90 700x500");
    Main->showMaximized();
    ASSERT_TRUE(WaitFor([this] { return Main->isMaximized() && Main->width() > 1000; }));
    Settle(200); // every event of the window manager's maximising has been processed
    SaveSettings();
    EXPECT_EQ(Stored(), "120,90 700x500");
    // The saved placement comes back as it was.
    EXPECT_EQ(Start(), "120,90 700x500");
    EXPECT_FALSE(Main->isMaximized());
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

// Maximised by the window manager, as by the title bar's button: some window
// managers move and resize the window before they tell its new state.
TEST_F(MainPlacementTest, AWindowMaximisedByTheWindowManagerSavesTheNormalPlacement) {
    EXPECT_EQ(Start(QRect(120, 90, 700, 500)), "120,90 700x500");
    const QRect Area = Main->screen()->availableGeometry();
    AskWindowManagerToMaximise(Main, true);
    ASSERT_TRUE(WaitFor([&] { return Main->isMaximized() && Main->width() > Area.width() * 3 / 4; }));
    Settle(200);
    SaveSettings();
    EXPECT_EQ(Stored(), "120,90 700x500");
    // Closed maximised: the program saves its settings once the window is gone, and
    // the window manager may have dropped the state by then.
    Main->close();
    Settle(200);
    SaveSettings();
    EXPECT_EQ(Stored(), "120,90 700x500");
    // Made normal again by the window manager, the window comes back where it was.
    EXPECT_EQ(Start(), "120,90 700x500");
    AskWindowManagerToMaximise(Main, true);
    ASSERT_TRUE(WaitFor([&] { return Main->isMaximized() && Main->width() > Area.width() * 3 / 4; }));
    AskWindowManagerToMaximise(Main, false);
    ASSERT_TRUE(WaitFor([&] { return !Main->isMaximized() && Main->width() < Area.width() * 3 / 4; }));
    Settle(200);
    SaveSettings();
    EXPECT_EQ(Stored(), "120,90 700x500");
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

// Maximised one way first, as a title bar's button can, then fully or not: the placement before is saved.
TEST_F(MainPlacementTest, AMaximiseInTwoStepsSavesThePlacementFromBeforeTheFirst) {
    for (const TWays First : {TWays::Down, TWays::Across})
        for (const bool Fully : {true, false}) {
            SCOPED_TRACE(::testing::Message() << "ways " << int(First) << ", fully " << Fully);
            EXPECT_EQ(Start(QRect(100, 80, 700, 500)), "100,80 700x500");
            const QRect Area = Main->screen()->availableGeometry();
            AskWindowManagerToMaximise(Main, true, First);
            const auto Along = [&](QSize S) { return First == TWays::Down ? S.height() : S.width(); };
            ASSERT_TRUE(WaitFor([&] { return Along(FrameOf(Main).size()) >= Along(Area.size()) - 2; }));
            EXPECT_TRUE(WaitFor([&] { return TNormalPlacement::LooksMaximised(Main); }));
            // However long the first step lasts: a one-way size that would count has counted.
            auto* Settling = Main->findChild<QTimer*>(QStringLiteral("normalPlacementSettle"));
            ASSERT_TRUE(Settling && WaitFor([&] { return !Settling->isActive(); }));
            if (Fully) {
                AskWindowManagerToMaximise(Main, true);
                ASSERT_TRUE(
                    WaitFor([&] { return Main->isMaximized() && Main->width() > Area.width() * 3 / 4; }));
            }
            Main->close(); // saved as the program saves: once the window is gone
            SaveSettings();
            EXPECT_EQ(Stored(), "100,80 700x500");
        }
    EXPECT_EQ(Start(), "100,80 700x500");
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

// Borders told after the last move (as fluxbox may do) set the saved corner, also after a maximised close.
TEST_F(MainPlacementTest, TheSavedCornerFollowsBordersToldAfterTheLastMove) {
    Start(QRect(120, 90, 700, 500));
    const QMargins Told(3, 27, 2, 4); // no window manager's own
    const QString Corner =
        RectText(QRect(Main->geometry().topLeft() - QPoint(Told.left(), Told.top()), QSize(700, 500)));
    ReportFrameBorders(Main, Told);
    ASSERT_TRUE(WaitFor([&] { return FrameMargins(Main) == Told; }));
    QCoreApplication::sendPostedEvents();
    SaveSettings();
    EXPECT_EQ(Stored(), Corner);
    Main->showMaximized();
    ASSERT_TRUE(WaitFor([this] { return Main->isMaximized() && Main->width() > 1000; }));
    Main->close();
    SaveSettings();
    EXPECT_EQ(Stored(), Corner);
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

// An error about a file on the command line, shown as the main window first shows: its box, centred on it.
TEST_F(MainPlacementTest, ErrorsForFilesOnTheCommandLineBelongToTheMainWindow) {
    SetMessageBoxHook(nullptr);
    delete Main;
    frmMain = Main = new TfrmMain;
    LoadSettings();
    Main->CommandLineFiles = {Dir.filePath("MISSING.PIC")};
    bool Shown = false;
    EXPECT_EQ(drive::WhileModal([&] { Main->show(), WaitFor([&] { return Shown; }, 10000); },
                                [&](QWidget* Box) {
                                    Shown = true;
                                    ASSERT_TRUE(Framed(Box));
                                    EXPECT_EQ(TransientFor(Box), Main->winId());
                                    EXPECT_TRUE(FrameCentredOn(Box, Main));
                                    static_cast<QDialog*>(Box)->accept();
                                }),
              1);
}

TEST_F(MainPlacementTest, APlacementFromFarOffTheScreenComesBackWithItsWholeFrameInside) {
    const QRect Area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QRect Placement : {QRect(3000, 2500, 920, 800), QRect(-5000, -4000, 625, 475),
                                  QRect(400, 300, 1260, 1000), QRect(10, 10, 5000, 5000)}) {
        SCOPED_TRACE(RectText(Placement).toStdString());
        Start(Placement);
        EXPECT_TRUE(Area.contains(FrameOf(Main))) << RectText(FrameOf(Main)).toStdString();
        // The status bar and the language box at the bottom are in view.
        for (QWidget* W : {static_cast<QWidget*>(Main->StatusBar1), static_cast<QWidget*>(Main->ComboLng)})
            EXPECT_TRUE(Area.contains(QRect(W->mapToGlobal(QPoint(0, 0)), W->size())))
                << W->objectName().toStdString();
    }
    // Inside the area, the stored corner and size are kept.
    EXPECT_EQ(Start(QRect(200, 150, 625, 475)), "200,150 625x475");
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}
