// The main window's placement under a window manager: what is saved after a
// maximised close, and where a stored placement comes back.
#include "FramePlacement.h"
#include "IniFile.h"
#include "test_desktop_common.h"

#include <QComboBox>
#include <QScreen>
#include <QStatusBar>
#include <QWindow>

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
    void StorePlacement(int Left, int Top, int Width, int Height) {
        TIniFile Ini(SettingsFileName());
        Ini.WriteInteger("Setup", "left", Left);
        Ini.WriteInteger("Setup", "top", Top);
        Ini.WriteInteger("Setup", "width", Width);
        Ini.WriteInteger("Setup", "height", Height);
        Ini.UpdateFile();
    }
    QRect StoredPlacement() {
        TIniFile Ini(SettingsFileName());
        return QRect(Ini.ReadInteger("Setup", "left", -1), Ini.ReadInteger("Setup", "top", -1),
                     Ini.ReadInteger("Setup", "width", -1), Ini.ReadInteger("Setup", "height", -1));
    }
    // A main window placed from the settings file as the program starts, shown and
    // settled with the window manager's frame around it.
    void StartMainWindow() {
        frmMain = Main = new TfrmMain;
        LoadSettings();
        Main->show();
        ASSERT_TRUE(WaitFor([this] { return !FrameMargins(Main).isNull() && !FramePlacementPending(Main); }))
            << "the window manager did not frame the main window";
        Settle(100);
    }
    QRect Frame() const { return Main->windowHandle()->frameGeometry(); }
    TfrmMain* Main = nullptr;
};
} // namespace

TEST_F(MainPlacementTest, AMaximisedCloseSavesTheNormalPlacement) {
    StorePlacement(120, 90, 700, 500);
    StartMainWindow();
    EXPECT_EQ(RectText(QRect(Frame().topLeft(), Main->size())), "120,90 700x500");

    Main->showMaximized();
    ASSERT_TRUE(WaitFor([this] { return Main->isMaximized() && Main->width() > 1000; }));
    Settle(200); // every event of the window manager's maximising has been processed
    SaveSettings();
    EXPECT_EQ(RectText(StoredPlacement()), "120,90 700x500");

    // The saved placement comes back as it was.
    delete Main;
    StartMainWindow();
    EXPECT_FALSE(Main->isMaximized());
    EXPECT_EQ(RectText(QRect(Frame().topLeft(), Main->size())), "120,90 700x500");
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}

TEST_F(MainPlacementTest, APlacementFromFarOffTheScreenComesBackWithItsWholeFrameInside) {
    const QRect Area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QRect Stored : {QRect(3000, 2500, 920, 800), QRect(-5000, -4000, 625, 475),
                               QRect(400, 300, 1260, 1000), QRect(10, 10, 5000, 5000)}) {
        SCOPED_TRACE(RectText(Stored).toStdString());
        StorePlacement(Stored.x(), Stored.y(), Stored.width(), Stored.height());
        StartMainWindow();
        EXPECT_TRUE(Area.contains(Frame()))
            << RectText(Frame()).toStdString() << " in " << RectText(Area).toStdString();
        // The status bar and the language box at the bottom are in view.
        for (QWidget* W : {static_cast<QWidget*>(Main->StatusBar1), static_cast<QWidget*>(Main->ComboLng)}) {
            const QRect OnScreen(W->mapToGlobal(QPoint(0, 0)), W->size());
            EXPECT_TRUE(Area.contains(OnScreen))
                << W->objectName().toStdString() << " " << RectText(OnScreen).toStdString();
        }
        delete Main;
        Main = nullptr;
    }
    // Inside the area, the stored corner and size are kept.
    delete Main;
    StorePlacement(200, 150, 625, 475);
    StartMainWindow();
    EXPECT_EQ(RectText(QRect(Frame().topLeft(), Main->size())), "200,150 625x475");
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join("\n").toStdString();
}
