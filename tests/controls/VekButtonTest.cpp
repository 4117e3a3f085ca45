// Look-style button: settings, glyphs and layout, kinds, keys and clicks.
#include "VekButton.h"
#include "VekKindGlyphs.h"
#include "test_common.h"
#include "test_drive_events.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>

namespace {
void Mouse(QWidget* W, QEvent::Type Type, int X) {
    const QPointF P(X, 5);
    QMouseEvent E(Type, P, W->mapToGlobal(P), Qt::LeftButton,
                  Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(W, &E);
}

void ClickAt(QWidget* W, int X) {
    Mouse(W, QEvent::MouseButtonPress, X);
    Mouse(W, QEvent::MouseButtonRelease, X);
}

using drive::Key;

void Activate(QWidget* Win, QWidget* Focus) {
    Win->show();
    QApplication::setActiveWindow(Win);
    Focus->setFocus();
    QApplication::processEvents();
}

QImage Solid(int W, int H) {
    return Filled(W, H, qRgb(0, 0, 255));
}
} // namespace

// ------------------------------------------------------------------ look settings

TEST(VekLookStyle, DerivedShadesAndAssign) {
    TVekButton A, B;
    EXPECT_EQ(A.LookStyle()->LightBorderColor(), 0x7F7F7Fu);
    A.LookStyle()->SetBorderColor(0x9D4E01);
    EXPECT_EQ(A.LookStyle()->LightBorderColor(), 0xDB6D01u);
    A.LookStyle()->SetStyle(vls3D);
    A.LookStyle()->SetButtonColor(0xC08000);
    EXPECT_EQ(A.LookStyle()->DarkColor(), 0x754E00u);
    A.LookStyle()->SetHighlightTrack(false);
    B.SetLookStyle(A.LookStyle());
    EXPECT_EQ(B.LookStyle()->Style(), vls3D);
    EXPECT_EQ(B.LookStyle()->DarkColor(), 0x754E00u);
    EXPECT_FALSE(B.LookStyle()->HighlightTrack());
    EXPECT_EQ(B.LookStyle()->Owner(), &B);
    QObject Other;
    EXPECT_THROW(B.SetLookStyle(&Other), EConvertError);
    EXPECT_THROW(B.SetLookStyle(nullptr), EConvertError);
    EXPECT_EQ(B.LookStyle()->ButtonColor(), 0xC08000u);
}

// ------------------------------------------------------------------ glyphs

TEST(VekGlyph, CellCountFromProportions) {
    TVekButton Btn;
    Btn.SetGlyph(Solid(64, 16));
    EXPECT_EQ(Btn.NumGlyphs(), 4);
    Btn.SetGlyph(Solid(80, 16));
    EXPECT_EQ(Btn.NumGlyphs(), 1);
    Btn.SetNumGlyphs(3);
    Btn.SetGlyph(Solid(30, 16));
    EXPECT_EQ(Btn.NumGlyphs(), 3);
    Btn.SetNumGlyphs(9);
    EXPECT_EQ(Btn.NumGlyphs(), 4);
}

TEST(VekGlyph, OneCellDisabledIsEmbossedBlack) {
    QImage Pic(6, 6, QImage::Format_RGB32);
    Pic.fill(QColor(128, 128, 0));
    Pic.setPixel(2, 2, qRgb(0, 0, 0));
    Pic.setPixel(4, 1, qRgb(255, 0, 0));
    TButtonGlyph G;
    G.SetPicture(Pic);
    G.FaceColor = 0x00FFFF;
    const QImage Up = G.StateImage(gsUp, 0x111111, 0xEEEEEE);
    EXPECT_EQ(qAlpha(Up.pixel(0, 0)), 0);
    EXPECT_EQ(Up.pixel(4, 1), qRgb(255, 0, 0));
    const QImage Off = G.StateImage(gsDisabled, 0x111111, 0xEEEEEE);
    EXPECT_EQ(Off.pixel(2, 2), qRgb(0x11, 0x11, 0x11));
    EXPECT_EQ(Off.pixel(3, 3), qRgb(0xEE, 0xEE, 0xEE));
    // Face pixels (bottom-left colour) are see-through; the red pixel is gone.
    EXPECT_EQ(qAlpha(Off.pixel(4, 1)), 0);
    EXPECT_EQ(qAlpha(Off.pixel(0, 5)), 0);
    // The disabled image follows the colours of each request.
    EXPECT_EQ(G.StateImage(gsDisabled, 0x222222, 0xEEEEEE).pixel(2, 2), qRgb(0x22, 0x22, 0x22));
}

TEST(VekGlyph, ImageListsAreSharedAndReleased) {
    {
        TButtonGlyph A, B;
        A.SetPicture(Solid(16, 16));
        B.SetPicture(Solid(32, 16));
        A.BuildStateImage(gsUp, 0, 0);
        B.BuildStateImage(gsDisabled, 0, 0);
        B.BuildStateImage(gsDisabled, 0, 0); // the rebuilt image reuses its slot
        ASSERT_EQ(A.ImageList(), B.ImageList());
        EXPECT_EQ(A.ImageList()->ImageCount(), 2);
        A.SetPicture(QImage());
        EXPECT_EQ(B.ImageList()->Count(), 1);
        EXPECT_EQ(A.BuildStateImage(gsUp, 0, 0), -1);
    }
    EXPECT_EQ(GlyphCache, nullptr);
}

TEST(VekGlyph, KindPicturesRecolourTheirOwnDisabledCell) {
    int Dark = 0, Light = 0;
    for (int K = bkOK; K <= bkAll; ++K) {
        const QImage& Pic = GetKindGlyph(TVekBtnKind(K));
        ASSERT_EQ(Pic.width(), 36) << K;
        ASSERT_EQ(Pic.height(), K == bkAll ? 19 : 18) << K;
        TButtonGlyph G;
        G.SetPicture(Pic);
        G.SetNumGlyphs(2);
        G.FaceColor = 0x0000FF;
        const QImage Off = G.StateImage(gsDisabled, 0x101010, 0xF0F0F0);
        // The disabled cell: grey turns dark, white light, the olive face see-through.
        for (int Y = 0; Y < Pic.height(); ++Y)
            for (int X = 0; X < 18; ++X) {
                const QRgb Src = Pic.pixel(18 + X, Y) & 0xFFFFFF, P = Off.pixel(X, Y);
                if (Src == 0x808080) {
                    ASSERT_EQ(P, qRgb(0x10, 0x10, 0x10)) << K;
                    ++Dark;
                } else if (Src == 0xFFFFFF) {
                    ASSERT_EQ(P, qRgb(0xF0, 0xF0, 0xF0)) << K;
                    ++Light;
                } else {
                    ASSERT_EQ(Src, 0x808000u) << K << ":" << X << "," << Y;
                    ASSERT_EQ(qAlpha(P), 0) << K;
                }
            }
        // With two cells the pressed image is the up image.
        EXPECT_EQ(G.BuildStateImage(gsDown, 0, 0), G.BuildStateImage(gsUp, 0, 0));
    }
    EXPECT_GT(Dark, 10);
    EXPECT_GT(Light, 10);
    EXPECT_TRUE(LoadKindGlyphResource("NOSUCHGLYPH").isNull());
}

// ------------------------------------------------------------------ layout

TEST(VekLayout, MarginAndSpacing) {
    const QSize G(16, 16);
    auto L = [&](TButtonLayout Lay, int M, int S, const QRect& Client = QRect(0, 0, 75, 25),
                 QSize Text = QSize(30, 13)) {
        return TButtonGlyph::CalcButtonLayout(Client, QPoint(), G, Text, Lay, M, S, false);
    };
    // Centred with spacing 4: margin (75 - 50 + 1) / 2.
    TGlyphLayout R = L(blGlyphLeft, -1, 4);
    EXPECT_EQ(R.GlyphPos, QPoint(13, 5));
    EXPECT_EQ(R.TextBounds, QRect(33, 6, 30, 13));
    // Both automatic: three equal gaps of (75 - 46) / 3.
    R = L(blGlyphLeft, -1, -1);
    EXPECT_EQ(R.GlyphPos, QPoint(9, 5));
    EXPECT_EQ(R.TextBounds.left(), 9 + 16 + 9);
    // Fixed margin, spacing spreads the rest: (75 - 18 - 30) / 2.
    R = L(blGlyphLeft, 2, -1);
    EXPECT_EQ(R.GlyphPos.x(), 2);
    EXPECT_EQ(R.TextBounds.left(), 2 + 16 + 13);
    R = L(blGlyphRight, 2, 4);
    EXPECT_EQ(R.GlyphPos.x(), 57);
    EXPECT_EQ(R.TextBounds.left(), 23);
    R = L(blGlyphBottom, 3, 4, QRect(0, 0, 40, 60));
    EXPECT_EQ(R.GlyphPos, QPoint(12, 41));
    EXPECT_EQ(R.TextBounds, QRect(5, 24, 30, 13));
    // No caption: no spacing, the glyph is centred.
    EXPECT_EQ(L(blGlyphLeft, -1, 4, QRect(0, 0, 75, 25), QSize(0, 0)).GlyphPos.x(), 30);
    // Cramped room: divisions truncate toward zero.
    EXPECT_EQ(L(blGlyphLeft, -1, -1, QRect(0, 0, 20, 25)).GlyphPos.x(), -8);
    // Right to left mirrors the glyph-left layout; client origin and press offset add.
    R = TButtonGlyph::CalcButtonLayout(QRect(1, 2, 75, 25), QPoint(1, 1), G, QSize(30, 13), blGlyphLeft, 2, 4,
                                       true);
    EXPECT_EQ(R.GlyphPos, QPoint(1 + 1 + 57, 2 + 1 + 5));
    EXPECT_EQ(R.TextBounds.topLeft(), QPoint(1 + 1 + 23, 2 + 1 + 6));
    // The mnemonic marker takes no room.
    const QFontMetrics M{QFont()};
    EXPECT_EQ(TButtonGlyph::CaptionSize(M, QStringLiteral("&Yes"), 100, false),
              TButtonGlyph::CaptionSize(M, QStringLiteral("Yes"), 100, false));
}

TEST(VekButtonProps, MarginClampAndVanishingNeighbours) {
    TVekButton Btn;
    Btn.SetMargin(-2);
    EXPECT_EQ(Btn.Margin(), -1);
    Btn.SetControlOnLeft(&Btn);
    EXPECT_EQ(Btn.ControlOnLeft(), nullptr);
    auto* Edit = new QLineEdit;
    Btn.SetControlOnLeft(Edit);
    Btn.SetControlOnTop(Edit);
    delete Edit;
    EXPECT_EQ(Btn.ControlOnLeft(), nullptr);
    EXPECT_EQ(Btn.ControlOnTop(), nullptr);
    auto* Menu = new QMenu;
    Btn.SetDropDownMenu(Menu);
    delete Menu;
    EXPECT_EQ(Btn.DropDownMenu(), nullptr);
}

// ------------------------------------------------------------------ kinds

TEST(VekKinds, OkAndFallBackToCustom) {
    TVekButton Btn;
    Btn.SetKind(bkOK);
    EXPECT_EQ(std::make_tuple(Btn.text(), Btn.ModalResult(), Btn.Default(), Btn.Cancel(), Btn.NumGlyphs()),
              std::make_tuple(QStringLiteral("OK"), 1, true, false, 2));
    Btn.SetModalResult(mrCancel);
    EXPECT_EQ(Btn.Kind(), bkCustom);

    TVekButton No;
    No.SetKind(bkNo);
    No.SetKind(bkCustom); // back to bkCustom keeps what the kind set
    EXPECT_EQ(std::make_tuple(No.text(), No.ModalResult(), No.Cancel(), No.IsCustomCaption()),
              std::make_tuple(QStringLiteral("&No"), int(mrNo), true, true));

    // New button colours also end the kind.
    TVekButton All;
    All.SetKind(bkAll);
    All.LookStyle()->SetButtonColor(0x00FF00);
    EXPECT_EQ(All.Kind(), bkCustom);
    EXPECT_EQ(All.NumGlyphs(), 2);
}

TEST(VekKinds, CloseAndHelp) {
    QWidget Win;
    auto* Close = new TVekButton(&Win);
    Close->SetKind(bkClose);
    auto* Help = new TVekButton(&Win);
    Help->SetKind(bkHelp);
    int Clicks = 0, Shown = -1;
    QObject::connect(Close, &QPushButton::clicked, [&] { ++Clicks; });
    QObject::connect(Help, &QPushButton::clicked, [&] { ++Clicks; });
    SetVekHelpHandler([&](int Context) { Shown = Context; });
    Win.show();
    Close->Click();
    EXPECT_FALSE(Win.isVisible());
    EXPECT_EQ(Clicks, 0);
    // No help context anywhere: an ordinary click.
    Help->Click();
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Shown, -1);
    Win.setProperty("HelpContext", 42);
    Help->Click();
    EXPECT_EQ(Shown, 42);
    EXPECT_EQ(Clicks, 1);
    SetVekHelpHandler(nullptr);
}

// ------------------------------------------------------------------ keys

TEST(VekKeys, DefaultAndCancelKeysAndClicksCloseADialogAfterTheHandlers) {
    QDialog Dlg;
    auto* Edit = new QLineEdit(&Dlg);
    auto* Ok = new TVekButton(&Dlg);
    Ok->SetKind(bkOK);
    auto* Cancel = new TVekButton(&Dlg);
    Cancel->SetKind(bkCancel);
    int OkClicks = 0, CancelClicks = 0;
    bool Keep = false;
    QObject::connect(Ok, &QPushButton::clicked, [&] {
        ++OkClicks;
        EXPECT_TRUE(Dlg.isVisible()); // the handler runs before the dialog closes
        if (Keep) Dlg.setResult(0);   // and may keep it open by resetting the result
    });
    QObject::connect(Cancel, &QPushButton::clicked, [&] { ++CancelClicks; });
    const auto Press = [&](QWidget* Focus, int K) {
        Dlg.open();
        Activate(&Dlg, Focus);
        Key(Focus, K);
        QApplication::processEvents();
        return std::make_tuple(OkClicks, CancelClicks, Dlg.isVisible(), Dlg.result());
    };
    EXPECT_EQ(Press(Edit, Qt::Key_Return), std::make_tuple(1, 0, false, int(mrOk)));
    EXPECT_EQ(Press(Edit, Qt::Key_Escape), std::make_tuple(1, 1, false, int(mrCancel)));
    // Enter on a focused button clicks that button, not the Default one.
    EXPECT_EQ(Press(Cancel, Qt::Key_Return), std::make_tuple(1, 2, false, int(mrCancel)));
    Keep = true;
    Dlg.open();
    ClickAt(Ok, 3);
    QApplication::processEvents();
    EXPECT_TRUE(Dlg.isVisible());
    EXPECT_EQ(OkClicks, 2);
    Dlg.close();
}

TEST(VekKeys, EnterAsTabAndNeighbours) {
    QWidget Win;
    auto* Btn = new TVekButton(&Win);
    auto* Next = new QLineEdit(&Win);
    auto* Right = new QLineEdit(&Win);
    int Clicks = 0;
    QObject::connect(Btn, &QPushButton::clicked, [&] { ++Clicks; });
    Activate(&Win, Btn);
    ASSERT_TRUE(Btn->hasFocus());
    Key(Btn, Qt::Key_Return);
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(Btn->hasFocus());
    Btn->SetEnterAsTab(true);
    Key(Btn, Qt::Key_Return);
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(Next->hasFocus());

    Btn->setFocus();
    Btn->SetControlOnRight(Right);
    // A disabled neighbour: the key takes the window's usual way (next in tab order).
    Right->setEnabled(false);
    Key(Btn, Qt::Key_Right);
    EXPECT_TRUE(Next->hasFocus());
    Right->setEnabled(true);
    Btn->setFocus();
    Key(Btn, Qt::Key_Right);
    EXPECT_TRUE(Right->hasFocus());
}

TEST(VekKeys, DoubleClickAndHoverWithoutTracking) {
    TVekButton Btn;
    Btn.resize(50, 20);
    int Clicks = 0, Enter = 0, Leave = 0;
    QObject::connect(&Btn, &QPushButton::clicked, [&] { ++Clicks; });
    QObject::connect(&Btn, &TVekButton::MouseEnter, [&] { ++Enter; });
    QObject::connect(&Btn, &TVekButton::MouseLeave, [&] { ++Leave; });
    ClickAt(&Btn, 10);
    Mouse(&Btn, QEvent::MouseButtonDblClick, 10);
    Mouse(&Btn, QEvent::MouseButtonRelease, 10);
    EXPECT_EQ(Clicks, 2);

    Btn.LookStyle()->SetHighlightTrack(false);
    QEnterEvent E(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&Btn, &E);
    EXPECT_FALSE(Btn.MouseInControl());
    QEvent L(QEvent::Leave);
    QApplication::sendEvent(&Btn, &L);
    EXPECT_EQ(Enter + Leave, 2);
    Btn.LookStyle()->SetHighlightTrack(true);
    QApplication::sendEvent(&Btn, &E);
    Btn.setEnabled(false);
    EXPECT_FALSE(Btn.MouseInControl());
}

TEST(VekKeys, HoverFaceDropsWhenTheButtonLeavesThePointerWithoutALeave) {
    QWidget Win, Other;
    Win.setGeometry(100, 100, 300, 120);
    Other.setGeometry(600, 400, 200, 100);
    auto* Btn = new TVekButton(&Win);
    Btn->setGeometry(10, 10, 60, 22);
    Win.show();
    Other.show();
    QApplication::processEvents();
    // The pointer comes onto the button.
    const auto Enter = [Btn] {
        const QPoint At = Btn->mapToGlobal(QPoint(30, 10));
        QCursor::setPos(At);
        QEnterEvent E(QPointF(30, 10), QPointF(30, 10), QPointF(At));
        QApplication::sendEvent(Btn, &E);
        return Btn->MouseInControl();
    };
    ASSERT_TRUE(Enter());
    Btn->move(15, 10); // still under the pointer: it stays lit
    EXPECT_TRUE(Btn->MouseInControl());
    Btn->move(200, 80); // away from it: no leave comes, the face drops all the same
    EXPECT_FALSE(Btn->MouseInControl());
    // Its window moved away from under the pointer, as a window manager places a
    // window just undocked where the pointer was.
    Btn->move(10, 10);
    ASSERT_TRUE(Enter());
    Win.move(Win.pos() + QPoint(0, 150));
    QApplication::processEvents();
    EXPECT_FALSE(Btn->MouseInControl());
    // Hidden on the way to another frame, as docking does, or moved to another window.
    ASSERT_TRUE(Enter());
    Btn->hide();
    EXPECT_FALSE(Btn->MouseInControl());
    Btn->show();
    ASSERT_TRUE(Enter());
    Btn->setParent(&Other);
    Btn->show();
    QApplication::processEvents();
    EXPECT_FALSE(Btn->MouseInControl());
    EXPECT_TRUE(Enter()); // only the mouse lights it again
}

// ------------------------------------------------------------------ drop-down menus

class VekDropDown : public ::testing::Test {
protected:
    void SetUp() override {
        Menu.addAction(QStringLiteral("Eins"));
        Menu.addAction(QStringLiteral("Zwei"));
        Btn = new TVekButton(&Win);
        Btn->setGeometry(10, 10, 80, 22);
        Btn->SetDropDownMenu(&Menu);
        QObject::connect(Btn, &QPushButton::clicked, [this] { ++Clicks; });
        QObject::connect(&Menu, &QMenu::aboutToShow, [this] {
            ++Shows;
            EXPECT_TRUE(Btn->MenuShowing());
            if (WhileOpen) WhileOpen();
            drive::Soon(&Menu, [this] { Menu.close(); }); // from inside the menu's own loop
        });
        Win.resize(200, 100);
        Win.show();
    }
    void Settle() {
        for (int I = 0; I < 5; ++I) QApplication::processEvents();
    }
    QWidget Win;
    QMenu Menu;
    TVekButton* Btn = nullptr;
    int Clicks = 0, Shows = 0;
    std::function<void()> WhileOpen;
};

TEST_F(VekDropDown, ClickSpaceOrAltDownOpensOnceAndAVetoStopsAll) {
    Btn->SetKind(bkDropDown);
    ClickAt(Btn, 20);
    Settle();
    Key(Btn, Qt::Key_Space);
    Settle();
    // The same key while the menu is open does not open it again.
    WhileOpen = [this] { Key(Btn, Qt::Key_Down, Qt::AltModifier); };
    Key(Btn, Qt::Key_Down, Qt::AltModifier);
    Settle();
    EXPECT_EQ(Shows, 3);
    EXPECT_FALSE(Btn->MenuShowing() || Btn->isDown());
    // Vetoed: neither a menu nor a click.
    Btn->OnBeforeDropDownMenu = [](TVekButton*, bool& ADropDown) { ADropDown = false; };
    ClickAt(Btn, 10);
    Key(Btn, Qt::Key_Space);
    Settle();
    EXPECT_EQ(Shows, 3);
    EXPECT_EQ(Clicks, 0);
    // A press on the open split button closes it without a click.
    Btn->OnBeforeDropDownMenu = nullptr;
    Btn->SetKind(bkDropDownButton);
    WhileOpen = [this] { Mouse(Btn, QEvent::MouseButtonPress, 70); };
    ClickAt(Btn, 70);
    Settle();
    Mouse(Btn, QEvent::MouseButtonRelease, 70);
    Settle();
    EXPECT_EQ(Shows, 4);
    EXPECT_EQ(Clicks, 0);
    ClickAt(Btn, 10); // the next ordinary click is a click again
    EXPECT_EQ(Clicks, 1);
}

TEST_F(VekDropDown, SplitButtonOpensFromArrowPartOnly) {
    Btn->SetKind(bkDropDownButton);
    QList<int> Asked;
    int PressX = 0;
    Btn->OnBeforeDropDownMenu = [&](TVekButton* Sender, bool& ADropDown) {
        EXPECT_EQ(Sender, Btn);
        Asked << PressX;
        ADropDown = false;
    };
    for (int X : {0, 40, 64, 65, 72, 79}) {
        PressX = X;
        ClickAt(Btn, X);
    }
    Settle();
    EXPECT_EQ(Asked, (QList<int>{65, 72, 79}));
    EXPECT_EQ(Shows, 0);
    // The button part clicks without a menu.
    Clicks = 0;
    ClickAt(Btn, 30);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Shows, 0);
}

TEST(VekMenuPlace, BelowAboveAndClamped) {
    const QRect S(0, 0, 1024, 768);
    const std::tuple<QRect, int, TPopupAlignment, QRect, QPoint> Rows[] = {
        {{100, 200, 80, 22}, 100, paRight, S, {180, 222}},
        {{100, 200, 80, 22}, 100, paCenter, S, {140, 222}},
        {{100, 700, 80, 22}, 100, paLeft, S, {100, 600}}, // no room below: above the button
        {{100, 646, 80, 22}, 100, paLeft, S, {100, 668}}, // exactly enough room: below
        {{-60, 30, 80, 22}, 900, paCenter, S, {0, 0}},    // never left of or above the screen
        {{1000, 550, 80, 22}, 100, paLeft, {1024, 0, 800, 600}, {1024, 450}}}; // that screen's edges
    for (const auto& [Btn, H, Align, Screen, Want] : Rows)
        EXPECT_EQ(TVekButton::DropDownMenuPoint(Btn, H, Align, Screen), Want) << Btn.y();
}
