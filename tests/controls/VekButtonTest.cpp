// Look-style button: settings, glyphs and layout, kinds, keys and clicks.
#include "VekButton.h"
#include "FileIO.h"
#include "VekKindGlyphs.h"
#include "VekUtils.h"
#include "uParam.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {
void Mouse(QWidget* W, QEvent::Type Type, int X, int Y = 5) {
    const QPointF P(X, Y);
    QMouseEvent E(Type, P, W->mapToGlobal(P), Qt::LeftButton,
                  Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(W, &E);
}

void ClickAt(QWidget* W, int X, int Y = 5) {
    Mouse(W, QEvent::MouseButtonPress, X, Y);
    Mouse(W, QEvent::MouseButtonRelease, X, Y);
}

void Key(QWidget* W, int K, Qt::KeyboardModifiers M = Qt::NoModifier) {
    QKeyEvent Press(QEvent::KeyPress, K, M);
    QApplication::sendEvent(W, &Press);
    QKeyEvent Release(QEvent::KeyRelease, K, M);
    QApplication::sendEvent(W, &Release);
}

void Activate(QWidget* Win, QWidget* Focus) {
    Win->show();
    QApplication::setActiveWindow(Win);
    Focus->setFocus();
    QApplication::processEvents();
}

QImage Solid(int W, int H) {
    QImage I(W, H, QImage::Format_RGB32);
    I.fill(Qt::blue);
    return I;
}
} // namespace

// ------------------------------------------------------------------ look settings

TEST(VekLookStyle, DerivedShadesFollowTheirColours) {
    TVekButton Btn;
    const TVekLookStyle* L = Btn.LookStyle();
    EXPECT_EQ(L->Owner(), &Btn);
    EXPECT_EQ(L->LightColor(), LightenColor(clBtnFace, 100));
    EXPECT_EQ(L->DarkColor(), DarkenColor(clBtnFace, 100));
    EXPECT_EQ(L->LightBorderColor(), 0x7F7F7Fu);
    Btn.LookStyle()->SetBorderColor(0x9D4E01);
    EXPECT_EQ(L->LightBorderColor(), 0xDB6D01u);
    Btn.LookStyle()->SetButtonColor(0xC08000);
    EXPECT_EQ(L->LightColor(), 0xFFB27Fu);
    EXPECT_EQ(L->DarkColor(), 0x754E00u);
}

TEST(VekLookStyle, AssignCopiesAndRefusesOtherObjects) {
    TVekButton A, B;
    A.LookStyle()->SetStyle(vls3D);
    A.LookStyle()->SetButtonColor(0x123456);
    A.LookStyle()->SetDownTextColor(0x00FF00);
    A.LookStyle()->SetHighlightTrack(false);
    A.LookStyle()->SetGradStartDownColor(0x111111);
    B.SetLookStyle(A.LookStyle());
    EXPECT_EQ(B.LookStyle()->Style(), vls3D);
    EXPECT_EQ(B.LookStyle()->ButtonColor(), 0x123456u);
    EXPECT_EQ(B.LookStyle()->DarkColor(), DarkenColor(0x123456, 100));
    EXPECT_EQ(B.LookStyle()->DownTextColor(), 0x00FF00u);
    EXPECT_FALSE(B.LookStyle()->HighlightTrack());
    EXPECT_EQ(B.LookStyle()->GradStartDownColor(), 0x111111u);
    EXPECT_EQ(B.LookStyle()->Owner(), &B);
    QObject Other;
    EXPECT_THROW(B.SetLookStyle(&Other), EConvertError);
    EXPECT_THROW(B.SetLookStyle(nullptr), EConvertError);
    EXPECT_EQ(B.LookStyle()->Style(), vls3D);
    EXPECT_EQ(B.LookStyle()->ButtonColor(), 0x123456u);
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
    Btn.SetNumGlyphs(0);
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

TEST(VekGlyph, TwoCellDisabledRecoloursItsOwnCell) {
    const QImage Pic = LoadKindGlyphResource("VEKBBCANCEL");
    TButtonGlyph G;
    G.SetPicture(Pic);
    ASSERT_EQ(G.NumGlyphs(), 2);
    G.FaceColor = 0x0000FF;
    const QImage Off = G.StateImage(gsDisabled, 0x101010, 0xF0F0F0);
    ASSERT_EQ(Off.size(), QSize(18, 18));
    int Dark = 0, Light = 0;
    for (int Y = 0; Y < 18; ++Y)
        for (int X = 0; X < 18; ++X) {
            const QRgb Src = Pic.pixel(18 + X, Y) & 0xFFFFFF, P = Off.pixel(X, Y);
            if (Src == 0x808080) {
                EXPECT_EQ(P, qRgb(0x10, 0x10, 0x10));
                ++Dark;
            } else if (Src == 0xFFFFFF) {
                EXPECT_EQ(P, qRgb(0xF0, 0xF0, 0xF0));
                ++Light;
            } else
                EXPECT_EQ(qAlpha(P), 0) << X << "," << Y;
        }
    EXPECT_GT(Dark, 0);
    EXPECT_GT(Light, 0);
    // gsDown with two cells is the up image.
    EXPECT_EQ(G.BuildStateImage(gsDown, 0, 0), G.BuildStateImage(gsUp, 0, 0));
}

TEST(VekGlyph, ImageListsAreSharedAndReleased) {
    {
        TButtonGlyph A, B;
        ASSERT_NE(GlyphCache, nullptr);
        A.SetPicture(Solid(16, 16));
        B.SetPicture(Solid(32, 16));
        A.BuildStateImage(gsUp, 0, 0);
        B.BuildStateImage(gsUp, 0, 0);
        B.BuildStateImage(gsDisabled, 0, 0);
        EXPECT_EQ(A.ImageList(), B.ImageList());
        EXPECT_EQ(A.ImageList()->Count(), 3);
        // The rebuilt disabled image reuses its slot.
        B.BuildStateImage(gsDisabled, 0, 0);
        EXPECT_EQ(A.ImageList()->ImageCount(), 3);
        A.SetPicture(QImage());
        EXPECT_EQ(B.ImageList()->Count(), 2);
        EXPECT_EQ(GlyphCache->ListCount(), 1);
        EXPECT_EQ(A.BuildStateImage(gsUp, 0, 0), -1);
    }
    EXPECT_EQ(GlyphCache, nullptr);
}

TEST(VekGlyph, KindPictures) {
    for (int K = bkOK; K <= bkAll; ++K) {
        const QImage& G = GetKindGlyph(TVekBtnKind(K));
        ASSERT_EQ(G.width(), 36) << K;
        EXPECT_EQ(G.height(), K == bkAll ? 19 : 18) << K;
        EXPECT_EQ(G.pixel(0, G.height() - 1) & 0xFFFFFF, 0x808000u);
        // The disabled cell holds only olive, white and grey.
        for (int Y = 0; Y < G.height(); ++Y)
            for (int X = 18; X < 36; ++X) {
                const QRgb P = G.pixel(X, Y) & 0xFFFFFF;
                ASSERT_TRUE(P == 0x808000 || P == 0xFFFFFF || P == 0x808080) << K << ":" << X << "," << Y;
            }
    }
    EXPECT_TRUE(LoadKindGlyphResource("NOSUCHGLYPH").isNull());
}

// ------------------------------------------------------------------ layout

TEST(VekLayout, MarginAndSpacing) {
    const QRect C(0, 0, 75, 25);
    const QSize G(16, 16), T(30, 13);
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
    const QRect Tall(0, 0, 40, 60);
    R = L(blGlyphTop, -1, 4, Tall);
    EXPECT_EQ(R.GlyphPos, QPoint(12, 14));
    EXPECT_EQ(R.TextBounds, QRect(5, 34, 30, 13));
    R = L(blGlyphBottom, 3, 4, Tall);
    EXPECT_EQ(R.GlyphPos, QPoint(12, 41));
    EXPECT_EQ(R.TextBounds.top(), 24);
    // No caption: no spacing, the glyph is centred.
    R = L(blGlyphLeft, -1, 4, C, QSize(0, 0));
    EXPECT_EQ(R.GlyphPos.x(), 30);
    // Cramped room: divisions truncate toward zero.
    R = L(blGlyphLeft, -1, -1, QRect(0, 0, 20, 25));
    EXPECT_EQ(R.GlyphPos.x(), -8);
}

TEST(VekLayout, RightToLeftAndOffsets) {
    const TGlyphLayout R = TButtonGlyph::CalcButtonLayout(QRect(1, 2, 75, 25), QPoint(1, 1), QSize(16, 16),
                                                          QSize(30, 13), blGlyphLeft, 2, 4, true);
    EXPECT_EQ(R.GlyphPos, QPoint(1 + 1 + 57, 2 + 1 + 5));
    EXPECT_EQ(R.TextBounds.topLeft(), QPoint(1 + 1 + 23, 2 + 1 + 6));
}

TEST(VekLayout, MnemonicDoesNotCount) {
    QFont F;
    const QFontMetrics M(F);
    EXPECT_EQ(TButtonGlyph::CaptionSize(M, QStringLiteral("&Yes"), 100, false),
              TButtonGlyph::CaptionSize(M, QStringLiteral("Yes"), 100, false));
    EXPECT_EQ(TButtonGlyph::CaptionSize(M, QString(), 100, false), QSize(0, 0));
}

TEST(VekButtonProps, SettersAndNeighbours) {
    TVekButton Btn;
    EXPECT_EQ(Btn.Margin(), -1);
    EXPECT_EQ(Btn.Spacing(), 4);
    EXPECT_EQ(Btn.Layout(), blGlyphLeft);
    EXPECT_FALSE(Btn.autoDefault());
    Btn.SetMargin(-2);
    EXPECT_EQ(Btn.Margin(), -1);
    Btn.SetMargin(0);
    EXPECT_EQ(Btn.Margin(), 0);
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

TEST(VekButtonProps, TranslatedThroughCaptionAndHint) {
    TVekButton Btn;
    EXPECT_TRUE(SetComponentText(&Btn, QStringLiteral("Caption"), QStringLiteral("&Übernehmen")));
    EXPECT_TRUE(SetComponentText(&Btn, QStringLiteral("Hint"), QStringLiteral("Speichert")));
    EXPECT_EQ(Btn.text(), QStringLiteral("&Übernehmen"));
    EXPECT_EQ(Btn.toolTip(), QStringLiteral("Speichert"));
    EXPECT_EQ(GetComponentText(&Btn, QStringLiteral("Caption")), QStringLiteral("&Übernehmen"));
    EXPECT_EQ(Btn.property("Hint").toString(), QStringLiteral("Speichert"));
}

// ------------------------------------------------------------------ kinds

TEST(VekKinds, OkAndFallBackToCustom) {
    TVekButton Btn;
    Btn.SetKind(bkOK);
    EXPECT_EQ(Btn.Kind(), bkOK);
    EXPECT_EQ(Btn.text(), QStringLiteral("OK"));
    EXPECT_EQ(Btn.ModalResult(), mrOk);
    EXPECT_TRUE(Btn.Default());
    EXPECT_FALSE(Btn.Cancel());
    EXPECT_EQ(Btn.Glyph().size(), QSize(36, 18));
    EXPECT_EQ(Btn.NumGlyphs(), 2);
    EXPECT_FALSE(Btn.IsCustom());
    EXPECT_FALSE(Btn.IsCustomCaption());
    Btn.SetModalResult(mrCancel);
    EXPECT_EQ(Btn.Kind(), bkCustom);
    EXPECT_TRUE(Btn.IsCustom());

    TVekButton No;
    No.SetKind(bkNo);
    EXPECT_EQ(No.text(), QStringLiteral("&No"));
    EXPECT_TRUE(No.Cancel());
    EXPECT_FALSE(No.Default());
    EXPECT_EQ(No.ModalResult(), mrNo);
    // Back to bkCustom keeps what the kind set.
    No.SetKind(bkCustom);
    EXPECT_EQ(No.text(), QStringLiteral("&No"));
    EXPECT_EQ(No.ModalResult(), mrNo);
    EXPECT_EQ(No.NumGlyphs(), 2);
    EXPECT_TRUE(No.IsCustomCaption());

    // A new glyph, or new button colours, also end the kind.
    TVekButton All;
    All.SetKind(bkAll);
    EXPECT_EQ(All.Glyph().height(), 19);
    EXPECT_EQ(All.NumGlyphs(), 2);
    All.LookStyle()->SetButtonColor(0x00FF00);
    EXPECT_EQ(All.Kind(), bkCustom);
    EXPECT_EQ(All.NumGlyphs(), 2);
}

TEST(VekKinds, DialogClosesWithModalResultAfterHandlers) {
    QDialog Dlg;
    auto* Btn = new TVekButton(&Dlg);
    Btn->SetKind(bkYes);
    int Clicks = 0;
    QObject::connect(Btn, &QPushButton::clicked, [&] {
        ++Clicks;
        EXPECT_TRUE(Dlg.isVisible());
    });
    Dlg.open();
    Btn->Click();
    EXPECT_EQ(Clicks, 1);
    QApplication::processEvents();
    EXPECT_FALSE(Dlg.isVisible());
    EXPECT_EQ(Dlg.result(), mrYes);

    // A handler may keep the dialog open by resetting the result.
    QDialog Keep;
    auto* Ok = new TVekButton(&Keep);
    Ok->SetKind(bkOK);
    QObject::connect(Ok, &QPushButton::clicked, [&] { Keep.setResult(0); });
    Keep.open();
    ClickAt(Ok, 3);
    QApplication::processEvents();
    EXPECT_TRUE(Keep.isVisible());
    Keep.close();
}

TEST(VekKinds, CloseAndHelp) {
    QWidget Win;
    auto* Close = new TVekButton(&Win);
    Close->SetKind(bkClose);
    int Clicks = 0;
    QObject::connect(Close, &QPushButton::clicked, [&] { ++Clicks; });
    Win.show();
    Close->Click();
    EXPECT_FALSE(Win.isVisible());
    EXPECT_EQ(Clicks, 0);

    auto* Help = new TVekButton(&Win);
    Help->SetKind(bkHelp);
    int Shown = -1;
    SetVekHelpHandler([&](int Context) { Shown = Context; });
    QObject::connect(Help, &QPushButton::clicked, [&] { ++Clicks; });
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

TEST(VekKeys, DefaultAndCancelKeysInADialog) {
    QDialog Dlg;
    auto* Edit = new QLineEdit(&Dlg);
    auto* Ok = new TVekButton(&Dlg);
    Ok->SetKind(bkOK);
    auto* Cancel = new TVekButton(&Dlg);
    Cancel->SetKind(bkCancel);
    int OkClicks = 0, CancelClicks = 0;
    QObject::connect(Ok, &QPushButton::clicked, [&] { ++OkClicks; });
    QObject::connect(Cancel, &QPushButton::clicked, [&] { ++CancelClicks; });
    Dlg.open();
    QApplication::setActiveWindow(&Dlg);
    Edit->setFocus();
    QApplication::processEvents();
    Key(Edit, Qt::Key_Return);
    EXPECT_EQ(OkClicks, 1);
    EXPECT_EQ(CancelClicks, 0);
    QApplication::processEvents();
    EXPECT_EQ(Dlg.result(), mrOk);

    Dlg.open();
    QApplication::setActiveWindow(&Dlg);
    Edit->setFocus();
    Key(Edit, Qt::Key_Escape);
    EXPECT_EQ(CancelClicks, 1);
    QApplication::processEvents();
    EXPECT_FALSE(Dlg.isVisible());
    EXPECT_EQ(Dlg.result(), mrCancel);

    // Enter on a focused button clicks that button, not the Default one.
    Dlg.open();
    QApplication::setActiveWindow(&Dlg);
    Cancel->setFocus();
    Key(Cancel, Qt::Key_Return);
    EXPECT_EQ(CancelClicks, 2);
    EXPECT_EQ(OkClicks, 1);
    QApplication::processEvents();
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

TEST(VekKeys, DoubleClickGivesTwoClicks) {
    TVekButton Btn;
    Btn.resize(50, 20);
    int Clicks = 0;
    QObject::connect(&Btn, &QPushButton::clicked, [&] { ++Clicks; });
    ClickAt(&Btn, 10);
    Mouse(&Btn, QEvent::MouseButtonDblClick, 10);
    Mouse(&Btn, QEvent::MouseButtonRelease, 10);
    EXPECT_EQ(Clicks, 2);
}

TEST(VekKeys, HoverWithoutTrackingOnlySignals) {
    TVekButton Btn;
    int Enter = 0, Leave = 0;
    QObject::connect(&Btn, &TVekButton::MouseEnter, [&] { ++Enter; });
    QObject::connect(&Btn, &TVekButton::MouseLeave, [&] { ++Leave; });
    Btn.LookStyle()->SetHighlightTrack(false);
    QEnterEvent E(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&Btn, &E);
    EXPECT_FALSE(Btn.MouseInControl());
    QEvent L(QEvent::Leave);
    QApplication::sendEvent(&Btn, &L);
    EXPECT_EQ(Enter, 1);
    EXPECT_EQ(Leave, 1);
    Btn.LookStyle()->SetHighlightTrack(true);
    QApplication::sendEvent(&Btn, &E);
    EXPECT_TRUE(Btn.MouseInControl());
    Btn.setEnabled(false);
    EXPECT_FALSE(Btn.MouseInControl());
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
            QTimer::singleShot(0, &Menu, &QMenu::close);
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

TEST_F(VekDropDown, QuickClickOpensOnceAndReleases) {
    Btn->SetKind(bkDropDown);
    ClickAt(Btn, 20);
    Settle();
    EXPECT_EQ(Shows, 1);
    EXPECT_EQ(Clicks, 0);
    EXPECT_FALSE(Btn->MenuShowing());
    EXPECT_FALSE(Btn->isDown());
    // Space opens it as well.
    Key(Btn, Qt::Key_Space);
    Settle();
    EXPECT_EQ(Shows, 2);
    EXPECT_EQ(Clicks, 0);
}

TEST_F(VekDropDown, AltDownOpensOnceWhileOpen) {
    Btn->SetKind(bkDropDown);
    WhileOpen = [this] { Key(Btn, Qt::Key_Down, Qt::AltModifier); };
    Key(Btn, Qt::Key_Down, Qt::AltModifier);
    Settle();
    EXPECT_EQ(Shows, 1);
    EXPECT_FALSE(Btn->MenuShowing());
}

TEST_F(VekDropDown, PressWhileOpenClosesWithoutClickOrReopen) {
    Btn->SetKind(bkDropDownButton);
    WhileOpen = [this] { Mouse(Btn, QEvent::MouseButtonPress, 70); };
    ClickAt(Btn, 70);
    Settle();
    EXPECT_EQ(Shows, 1);
    Mouse(Btn, QEvent::MouseButtonRelease, 70);
    Settle();
    EXPECT_EQ(Shows, 1);
    EXPECT_EQ(Clicks, 0);
    // The next ordinary click is a click again.
    ClickAt(Btn, 10);
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
    // Without a veto the arrow part opens the menu and gives no click.
    Btn->OnBeforeDropDownMenu = nullptr;
    Clicks = 0;
    ClickAt(Btn, 70);
    Settle();
    EXPECT_EQ(Shows, 1);
    EXPECT_EQ(Clicks, 0);
    ClickAt(Btn, 30);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Shows, 1);
}

TEST_F(VekDropDown, VetoedDropDownGivesNoClick) {
    Btn->SetKind(bkDropDown);
    Btn->OnBeforeDropDownMenu = [](TVekButton*, bool& ADropDown) { ADropDown = false; };
    ClickAt(Btn, 10);
    Key(Btn, Qt::Key_Space);
    Settle();
    EXPECT_EQ(Shows, 0);
    EXPECT_EQ(Clicks, 0);
}

TEST(VekMenuPlace, BelowAboveAndClamped) {
    const QRect Screen(0, 0, 1024, 768);
    EXPECT_EQ(TVekButton::DropDownMenuPoint(QRect(100, 200, 80, 22), 100, paLeft, Screen), QPoint(100, 222));
    EXPECT_EQ(TVekButton::DropDownMenuPoint(QRect(100, 200, 80, 22), 100, paRight, Screen), QPoint(180, 222));
    EXPECT_EQ(TVekButton::DropDownMenuPoint(QRect(100, 200, 80, 22), 100, paCenter, Screen),
              QPoint(140, 222));
    // No room below: above the button.
    EXPECT_EQ(TVekButton::DropDownMenuPoint(QRect(100, 700, 80, 22), 100, paLeft, Screen), QPoint(100, 600));
    EXPECT_EQ(TVekButton::DropDownMenuPoint(QRect(100, 646, 80, 22), 100, paLeft, Screen), QPoint(100, 668));
    // Never left of or above the screen.
    EXPECT_EQ(TVekButton::DropDownMenuPoint(QRect(-60, 30, 80, 22), 900, paCenter, Screen), QPoint(0, 0));
    // A second screen right of the first: its own edges count.
    const QRect Second(1024, 0, 800, 600);
    EXPECT_EQ(TVekButton::DropDownMenuPoint(QRect(1000, 550, 80, 22), 100, paLeft, Second),
              QPoint(1024, 450));
}
