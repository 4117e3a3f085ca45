#include "uChildWinFont.h"

#include "Cp1252.h"
#include "FileDialogs.h"
#include "ImageView.h"
#include "VekButton.h"
#include "uDocWindow.h"
#include "uFGlobal.h"
#include "uGlobal.h"
#include "uMainLink.h"
#include "uYESNOCANCEL.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

std::array<TCharBytes, CopyBufferCount> CopyBuffers{};
int CurrentCopyBuffer = 1;

namespace {
// Working copy of the character during one editor operation.
TCharBytes EditScratch{};

constexpr int FontImageWidth = 289; // 32 cells of 8 pixels plus a 1-pixel gap, and the border
constexpr int FontImageHeight = 73;
constexpr quint32 SelectionColour = 0x0000FF;
constexpr quint32 EraseColour = 0xFFFFFF;
constexpr quint32 EditorPanelColour = 0x9D4E01;
constexpr quint32 GridEven = 0xF0CAA6, GridOdd = 0xF0FBFF, GridEvenEditing = 0xD0A0A0;
constexpr quint32 BufferInk = 0xFFFFFF, BufferPaper = 0xC08080, BufferFrame = 0xFFFF00;
const char* const BuiltinFontName = "ATARI (Morvanel intern)";

QLabel* MakeLabel(QWidget* Parent, const QString& Name, const QString& Text, const QRect& Geometry,
                  Qt::Alignment Align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* L = new QLabel(Text, Parent);
    L->setObjectName(Name);
    L->setGeometry(Geometry);
    L->setAlignment(Align);
    L->setTextFormat(Qt::PlainText);
    return L;
}

// A label that shows run-time values: left out of the language files.
QLabel* ValueLabel(QWidget* Parent, const QString& Name, const QRect& Geometry,
                   Qt::Alignment Align = Qt::AlignLeft | Qt::AlignVCenter) {
    QLabel* L = MakeLabel(Parent, Name, QString(), Geometry, Align);
    L->setProperty("Tag", -1);
    return L;
}

void SetTextColour(QWidget* W, const QColor& Colour) {
    QPalette Pal = W->palette();
    Pal.setColor(QPalette::WindowText, Colour);
    W->setPalette(Pal);
}

// " 032 | $020": a code in decimal and hexadecimal.
QString CodeText(int Value) {
    return QStringLiteral(" %1 | $%2")
        .arg(Value, 3, 10, QLatin1Char('0'))
        .arg(QString::number(Value, 16).toUpper().rightJustified(3, QLatin1Char('0')));
}

// Division that rounds toward minus infinity, so positions left of or above a
// picture never land in its first row or column.
int FloorDiv(int Value, int Divisor) {
    return Value >= 0 ? Value / Divisor : -((-Value + Divisor - 1) / Divisor);
}
} // namespace

// ------------------------------------------------------------------ copy-buffer cells

TFontDrawGrid::TFontDrawGrid(TChildWinFont* Owner, QWidget* Parent) : QWidget(Parent), FOwner(Owner) {
    setFixedSize(ColCount * (CellSize + LineWidth) - LineWidth,
                 RowCount * (CellSize + LineWidth) - LineWidth);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Reached by Tab, the arrow keys pick a buffer; a click keeps the focus in the grid.
    setFocusPolicy(Qt::TabFocus);
}

QRect TFontDrawGrid::CellRect(int Col, int Row) const {
    return QRect(Col * (CellSize + LineWidth), Row * (CellSize + LineWidth), CellSize, CellSize);
}

bool TFontDrawGrid::CellAt(const QPoint& P, int& Col, int& Row) const {
    for (int R = 0; R < RowCount; ++R)
        for (int C = 0; C < ColCount; ++C)
            if (CellRect(C, R).contains(P)) {
                Col = C;
                Row = R;
                return true;
            }
    return false;
}

void TFontDrawGrid::paintEvent(QPaintEvent*) {
    QPainter Canvas(this);
    Canvas.fillRect(rect(), WinColorToQColor(EditorPanelColour));
    for (int R = 0; R < RowCount; ++R)
        for (int C = 0; C < ColCount; ++C) FOwner->FontDrawGridDrawCell(Canvas, C, R, CellRect(C, R));
    // The focused grid marks its current cell with a dotted frame inside the cell's own.
    const int Current = CurrentCopyBuffer - 1;
    if (hasFocus() && Current >= 0 && Current < ColCount * RowCount) {
        Canvas.setPen(QPen(Qt::white, 1, Qt::DotLine));
        Canvas.setBrush(Qt::NoBrush);
        Canvas.drawRect(CellRect(Current % ColCount, Current / ColCount).adjusted(1, 1, -2, -2));
    }
}

void TFontDrawGrid::mousePressEvent(QMouseEvent* E) {
    int Col = 0, Row = 0;
    if (E->button() == Qt::LeftButton && CellAt(E->position().toPoint(), Col, Row))
        Guarded([&] { FOwner->FontDrawGridSelectCell(Col, Row); });
}

void TFontDrawGrid::keyPressEvent(QKeyEvent* E) {
    const int Current = std::clamp(CurrentCopyBuffer - 1, 0, ColCount * RowCount - 1);
    int Next = Current;
    switch (E->key()) {
    case Qt::Key_Left:
        Next = Current - 1;
        break;
    case Qt::Key_Right:
        Next = Current + 1;
        break;
    case Qt::Key_Home:
        Next = 0;
        break;
    case Qt::Key_End:
        Next = ColCount * RowCount - 1;
        break;
    default:
        QWidget::keyPressEvent(E);
        return;
    }
    // The grid stops at its first and last cell, as a grid does.
    Next = std::clamp(Next, 0, ColCount * RowCount - 1);
    E->accept();
    if (Next != Current) Guarded([&] { FOwner->FontDrawGridSelectCell(Next % ColCount, Next / ColCount); });
}

void TFontDrawGrid::focusInEvent(QFocusEvent* E) {
    QWidget::focusInEvent(E);
    update();
}

void TFontDrawGrid::focusOutEvent(QFocusEvent* E) {
    QWidget::focusOutEvent(E);
    update();
}

void RepaintCopyBuffers() {
    for (QWidget* W : QApplication::allWidgets())
        if (auto* Grid = dynamic_cast<TFontDrawGrid*>(W)) Grid->update();
}

// ------------------------------------------------------------------ creation

TChildWinFont::TChildWinFont(QWidget* Parent) : QWidget(Parent) {
    setObjectName(NewFormName(QStringLiteral("ChildWinFont")));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    SetFormColour(this, clSilver);

    // FormCreate: every new font window starts on the first copy buffer.
    CurrentCopyBuffer = 1;
    AtariFont = std::make_unique<TAtariFont>();
    imgBuffDummy = QImage(8, 8, QImage::Format_RGB32);
    imgBuffDummy.fill(Qt::white);

    QVBoxLayout* Layout = NewWindowColumn(this);

    pnlTop = NewTopPanel(this, TopHeight);
    pnlTop->setFont(QFont(QStringLiteral("ATASCII"), 6));
    auto* TopLayout = new QHBoxLayout(pnlTop);
    TopLayout->setContentsMargins(2, 1, 2, 1);
    TopLayout->setSpacing(2);
    QHBoxLayout* Buttons = NewClippedRow(TopLayout);
    auto Button = [this](QBoxLayout* Row, const char* Name, const QString& Caption, const QString& Hint) {
        QToolButton* B = NewPanelButton(pnlTop, Name, Caption, Hint);
        // The buttons' style sheet keeps the panel's face from reaching them.
        B->setFont(pnlTop->font());
        B->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        Row->addWidget(B);
        return B;
    };
    btnDetails = Button(Buttons, "btnDetails", QStringLiteral("Details"), QStringLiteral("Details ein/aus"));
    btnATAINT = Button(Buttons, "btnATAINT", QStringLiteral("ATASC/Intern"),
                       QStringLiteral("Umschalten ATASCII-/interne Reihenfolge"));
    btnInternational =
        Button(Buttons, "btnInternational", QStringLiteral("Std/Intnl"),
               QStringLiteral("Umschalten Standard-/internationaler Font (nur im Font-Explorer)"));
    btnReport =
        Button(Buttons, "btnReport", QStringLiteral("Drucken"), QStringLiteral("Font-Report drucken"));
    btnFontEdit = Button(Buttons, "btnFontEdit", QStringLiteral("Editor"), QStringLiteral("Font Editor"));
    Buttons->addStretch(1);
    btnIsChildWin =
        Button(TopLayout, "btnIsChildWin", QStringLiteral("<>"), QStringLiteral("Fenster aus-/eindocken"));
    btnIsChildWin->setProperty("Tag", -1);
    Layout->addWidget(pnlTop);

    imgFont = new ImageView;
    imgFont->setObjectName(QStringLiteral("imgFont"));
    imgFont->setContextMenuPolicy(Qt::CustomContextMenu);
    imgFont->NewPicture(FontImageWidth, FontImageHeight, clWhite);
    ScrollBox = NewImageScrollBox(this, nullptr, imgFont);
    ScrollBox->setFocusPolicy(Qt::NoFocus);
    Layout->addWidget(ScrollBox, 1);

    pnlBottom = new QWidget(this);
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    pnlBottom->setFixedHeight(BottomHeight);
    QFont Small = font();
    Small.setPixelSize(10);
    pnlBottom->setFont(Small);
    Layout->addWidget(pnlBottom);
    BuildDetailsPanel();
    BuildEditorPanel();

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    CopyToClipboard = PopupMenu1->addAction(QStringLiteral("In die Zwischenablage &kopieren"));
    CopyToClipboard->setObjectName(QStringLiteral("CopyToClipboard"));

    auto Connect = [this](QAbstractButton* B, void (TChildWinFont::*Handler)()) {
        ConnectGuarded(B, &QAbstractButton::clicked, this, Handler);
    };
    Connect(btnDetails, &TChildWinFont::btnDetailsClick);
    Connect(btnATAINT, &TChildWinFont::btnATAINTClick);
    Connect(btnInternational, &TChildWinFont::btnInternationalClick);
    Connect(btnReport, &TChildWinFont::btnReportClick);
    Connect(btnFontEdit, &TChildWinFont::btnFontEditClick);
    Connect(btnIsChildWin, &TChildWinFont::btnIsChildWinClick);
    ConnectGuarded(CopyToClipboard, &QAction::triggered, this, &TChildWinFont::CopyToClipboardClick);
    connect(imgFont, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& P) { PopupMenu1->popup(imgFont->mapToGlobal(P)); });
    AddShiftF10MenuKey(this);
    connect(imgFont, &ImageView::MouseDown, this, [this](QMouseEvent* E) {
        const QPoint P = E->position().toPoint();
        setFocus(Qt::MouseFocusReason);
        Guarded([this, P] { imgFontMouseDown(P.x(), P.y()); });
    });
    // The second press of a double click is an edit step like any other press.
    const auto CharPress = [this](QMouseEvent* E) {
        if (E->button() != Qt::LeftButton) return;
        const QPoint P = imgChar->MapToPicture(E->position().toPoint());
        Guarded([this, P] { imgCharMouseDown(P.x(), P.y()); });
    };
    connect(imgChar, &ImageView::MouseDown, this, CharPress);
    connect(imgChar, &ImageView::DoubleClicked, this, CharPress);
    connect(imgChar, &ImageView::MouseMove, this, [this](QMouseEvent* E) {
        const QPoint P = imgChar->MapToPicture(E->position().toPoint());
        const bool Left = E->buttons() & Qt::LeftButton;
        Guarded([this, P, Left] { imgCharMouseMove(P.x(), P.y(), Left); });
    });

    // The empty editing grid until a character is shown.
    AtariFont->DrawEditGrid(imgChar->Picture, 0, 0, CharScale, GridOdd, GridEven);
    imgChar->Changed();
    SetClientSize(this, FontImageWidth, FontImageHeight + TopHeight + BottomHeight + 2);
}

TChildWinFont::~TChildWinFont() = default;

void TChildWinFont::BuildDetailsPanel() {
    // Bit heads over the enlarged character's columns, then the character in its frame.
    for (int C = 0; C < 8; ++C) {
        stBits[C] = MakeLabel(pnlBottom, QStringLiteral("stBit%1").arg(7 - C), QString::number(7 - C),
                              QRect(6 + C * CharScale, 1, CharScale, 12), Qt::AlignCenter);
        stBits[C]->setProperty("Tag", -1);
    }
    shEdit = new QFrame(pnlBottom);
    shEdit->setObjectName(QStringLiteral("shEdit"));
    shEdit->setGeometry(3, 12, 8 * CharScale + 6, 8 * CharScale + 6);
    shEdit->setStyleSheet(QStringLiteral("QFrame#shEdit { border: 2px solid red; }"));
    shEdit->hide();
    imgChar = new ImageView(pnlBottom);
    imgChar->setObjectName(QStringLiteral("imgChar"));
    imgChar->NewPicture(8 * CharScale, 8 * CharScale, clWhite);
    imgChar->move(6, 15);
    imgChar->setMouseTracking(true);
    imgChar->raise();

    stDec = MakeLabel(pnlBottom, QStringLiteral("stDec"), QStringLiteral("Dez"), QRect(98, 1, 30, 12),
                      Qt::AlignRight | Qt::AlignVCenter);
    stHex = MakeLabel(pnlBottom, QStringLiteral("stHex"), QStringLiteral("Hex"), QRect(130, 1, 30, 12),
                      Qt::AlignRight | Qt::AlignVCenter);
    for (int R = 0; R < 8; ++R) {
        const int Y = 15 + R * CharScale;
        DecTexts[R] = ValueLabel(pnlBottom, QStringLiteral("StaticText%1").arg(R + 1),
                                 QRect(98, Y, 30, CharScale), Qt::AlignRight | Qt::AlignVCenter);
        HexTexts[R] = ValueLabel(pnlBottom, QStringLiteral("StaticText%1").arg(R + 10),
                                 QRect(130, Y, 30, CharScale), Qt::AlignRight | Qt::AlignVCenter);
    }

    const struct {
        const char* Caption;
        const char* CaptionName;
        const char* ValueName;
        QLabel** CaptionLabel;
        QLabel** Value;
    } Rows[] = {{"Font", "stFontName", "lblFontname", &stFontName, &lblFontname},
                {"Ordnung", "stFontOrder", "lblFontType", &stFontOrder, &lblFontType},
                {"ATASCII", "stATASC", "lblATASC", &stATASC, &lblATASC},
                {"Intern", "stIntern", "lblInt", &stIntern, &lblInt},
                {"PEEK(764)", "stPEEK764", "lblKeyb", &stPEEK764, &lblKeyb},
                {"Tasten", "stPressKeys", "lblKeysToPress", &stPressKeys, &lblKeysToPress},
                {"ASCII", "stASCII", "lblASCII", &stASCII, &lblASCII}};
    int Y = 1;
    for (const auto& R : Rows) {
        *R.CaptionLabel = MakeLabel(pnlBottom, QLatin1String(R.CaptionName), QLatin1String(R.Caption),
                                    QRect(170, Y, 62, 13));
        *R.Value = ValueLabel(pnlBottom, QLatin1String(R.ValueName), QRect(234, Y, 330, 13));
        Y += 13;
    }
    lblHint1 = MakeLabel(pnlBottom, QStringLiteral("lblHint1"),
                         QStringLiteral("Benutze Maus oder die Pfeiltasten zur Auswahl."),
                         QRect(170, Y + 2, 400, 13));
}

void TChildWinFont::BuildEditorPanel() {
    pnlFontEditor = new QWidget(pnlBottom);
    pnlFontEditor->setObjectName(QStringLiteral("pnlFontEditor"));
    pnlFontEditor->setGeometry(166, 0, 412, BottomHeight);
    pnlFontEditor->setAutoFillBackground(true);
    QPalette Pal = pnlFontEditor->palette();
    Pal.setColor(QPalette::Window, WinColorToQColor(EditorPanelColour));
    Pal.setColor(QPalette::WindowText, Qt::white);
    pnlFontEditor->setPalette(Pal);
    pnlFontEditor->hide();

    const QFont Face(QStringLiteral("ATASCII"), 7);
    // Title and copy-buffer rows take their captions' widths, whatever the language.
    auto Row = [this](const QRect& Geometry) {
        auto* Box = new QWidget(pnlFontEditor);
        Box->setGeometry(Geometry);
        auto* L = new QHBoxLayout(Box);
        L->setContentsMargins(0, 0, 0, 0);
        L->setSpacing(8);
        return L;
    };
    QHBoxLayout* TitleRow = Row(QRect(4, 1, 404, 18));
    lblFETitle =
        MakeLabel(pnlFontEditor, QStringLiteral("lblFETitle"), QStringLiteral("Font-Editor"), QRect());
    lblFETitle->setFont(QFont(QStringLiteral("ATASCII"), 8));
    lblFEVersion =
        MakeLabel(pnlFontEditor, QStringLiteral("lblFEVersion"), QStringLiteral("Version 1.0"), QRect());
    lblFEVersion->setFont(Face);
    TitleRow->addWidget(lblFETitle);
    TitleRow->addWidget(lblFEVersion);
    TitleRow->addStretch(1);
    QHBoxLayout* BufferRow = Row(QRect(76, 90, 332, 20));
    lblCopyBuffText =
        MakeLabel(pnlFontEditor, QStringLiteral("lblCopyBuffText"), QStringLiteral("Copy buffers"), QRect());
    lblCopyBuffText->setFont(Face);
    BufferRow->addWidget(lblCopyBuffText);
    for (QLabel* L : {lblFETitle, lblFEVersion, lblCopyBuffText}) SetTextColour(L, Qt::white);

    auto Make = [this, &Face](const char* Name, const QString& Caption, const QString& Hint,
                              const QRect& Geo) {
        auto* B = new TVekButton(pnlFontEditor);
        B->setObjectName(QLatin1String(Name));
        B->SetCaption(Caption);
        if (!Hint.isEmpty()) B->SetHint(Hint);
        B->LookStyle()->SetBorderColor(clInactiveCaptionText);
        B->LookStyle()->SetButtonColor(EditorPanelColour);
        B->SetFontColor(clWhite);
        B->setFont(Face);
        // Tab reaches every button, but a click leaves the focus where it was, so
        // the arrow keys go on moving the selection in the character grid.
        B->setFocusPolicy(Qt::TabFocus);
        B->setGeometry(Geo);
        return B;
    };
    // The arrows as a cross; their captions are pictures, not texts.
    btnFontUp = Make("btnFontUp", QString(QChar(0x2191)), QString(), QRect(26, 22, 22, 20));
    btnFontLeft = Make("btnFontLeft", QString(QChar(0x2190)), QString(), QRect(4, 44, 22, 20));
    btnFontRight = Make("btnFontRight", QString(QChar(0x2192)), QString(), QRect(48, 44, 22, 20));
    btnFontDown = Make("btnFontDown", QString(QChar(0x2193)), QString(), QRect(26, 66, 22, 20));
    for (TVekButton* B : {btnFontUp, btnFontLeft, btnFontRight, btnFontDown}) {
        B->setFont(QFont());
        B->setProperty("Tag", -1);
    }
    const int W = 54, H = 20, X0 = 76, Y0 = 20, Step = 56, RowStep = 23;
    auto At = [&](int Col, int Row) { return QRect(X0 + Col * Step, Y0 + Row * RowStep, W, H); };
    btnFontClear =
        Make("btnFontClear", QStringLiteral("Clear"), QStringLiteral("Clear entire character"), At(0, 0));
    btnFontInvert =
        Make("btnFontInvert", QStringLiteral("Invert"), QStringLiteral("Invert character"), At(1, 0));
    btnFontXMir = Make("btnFontXMir", QStringLiteral("Mir-X"), QStringLiteral("Mirror x-axis"), At(2, 0));
    btnFontYMir = Make("btnFontYMir", QStringLiteral("Mir-Y"), QStringLiteral("Mirror y-axis"), At(3, 0));
    btnFontAtari = Make("btnFontAtari", QStringLiteral("Atari"),
                        QStringLiteral("Restore original ATARI character"), At(4, 0));
    btnFontRotateLeft =
        Make("btnFontRotateLeft", QStringLiteral("Rot-R"), QStringLiteral("Rotate right 90 deg"), At(5, 0));
    btnFontUndo = Make("btnFontUndo", QStringLiteral("Undo"), QStringLiteral("Undo last change"), At(0, 1));
    btnFontRedo = Make("btnFontRedo", QStringLiteral("Redo"), QStringLiteral("Redo last change"), At(1, 1));
    btnFontCopy = Make("btnFontCopy", QStringLiteral("Copy"),
                       QStringLiteral("Copy char to current copy buffer"), At(2, 1));
    btnFontPaste = Make("btnFontPaste", QStringLiteral("Paste"),
                        QStringLiteral("Paste char from current copy buffer"), At(3, 1));
    btnFontPasteOR =
        Make("btnFontPasteOR", QStringLiteral("OR"), QStringLiteral("Char OR current copy buffer"), At(0, 2));
    btnFontPasteAND = Make("btnFontPasteAND", QStringLiteral("AND"),
                           QStringLiteral("Char AND current copy buffer"), At(1, 2));
    btnFontPasteXOR = Make("btnFontPasteXOR", QStringLiteral("XOR"),
                           QStringLiteral("Char XOR current copy buffer"), At(2, 2));
    BtnFontRotateRight =
        Make("BtnFontRotateRight", QStringLiteral("Rot-L"), QStringLiteral("Rotate left 90 deg"), At(5, 1));

    FontDrawGrid = new TFontDrawGrid(this, pnlFontEditor);
    FontDrawGrid->setObjectName(QStringLiteral("FontDrawGrid"));
    SetHint(FontDrawGrid, QStringLiteral("Set current copy/paste buffer"));
    BufferRow->addWidget(FontDrawGrid);
    BufferRow->addStretch(1);

    auto Connect = [this](TVekButton* B, void (TChildWinFont::*Handler)()) {
        ConnectGuarded(B, &QPushButton::clicked, this, Handler);
    };
    auto ConnectSender = [this](TVekButton* B, void (TChildWinFont::*Handler)(QObject*)) {
        connect(B, &QPushButton::clicked, this,
                [this, B, Handler] { Guarded([this, B, Handler] { (this->*Handler)(B); }); });
    };
    Connect(btnFontUp, &TChildWinFont::btnFontUpClick);
    Connect(btnFontDown, &TChildWinFont::btnFontDownClick);
    Connect(btnFontLeft, &TChildWinFont::btnFontLeftClick);
    Connect(btnFontRight, &TChildWinFont::btnFontRightClick);
    Connect(btnFontClear, &TChildWinFont::btnFontClearClick);
    Connect(btnFontInvert, &TChildWinFont::btnFontInvertClick);
    Connect(btnFontXMir, &TChildWinFont::btnFontXMirClick);
    Connect(btnFontYMir, &TChildWinFont::btnFontYMirClick);
    Connect(btnFontAtari, &TChildWinFont::btnFontAtariClick);
    Connect(btnFontUndo, &TChildWinFont::btnFontUndoClick);
    Connect(btnFontRedo, &TChildWinFont::btnFontRedoClick);
    Connect(btnFontCopy, &TChildWinFont::btnFontCopyClick);
    ConnectSender(btnFontRotateLeft, &TChildWinFont::btnFontRotateLeftClick);
    ConnectSender(BtnFontRotateRight, &TChildWinFont::btnFontRotateLeftClick);
    for (TVekButton* B : {btnFontPaste, btnFontPasteOR, btnFontPasteAND, btnFontPasteXOR})
        ConnectSender(B, &TChildWinFont::btnFontPasteClick);

    // Tab walks the arrow cross, then the buttons row by row as they stand, then
    // the copy buffers.
    const QWidget* const Order[] = {btnFontUp,       btnFontLeft,       btnFontRight,       btnFontDown,
                                    btnFontClear,    btnFontInvert,     btnFontXMir,        btnFontYMir,
                                    btnFontAtari,    btnFontRotateLeft, btnFontUndo,        btnFontRedo,
                                    btnFontCopy,     btnFontPaste,      BtnFontRotateRight, btnFontPasteOR,
                                    btnFontPasteAND, btnFontPasteXOR,   FontDrawGrid};
    for (size_t I = 1; I < std::size(Order); ++I)
        setTabOrder(const_cast<QWidget*>(Order[I - 1]), const_cast<QWidget*>(Order[I]));
}

// ------------------------------------------------------------------ opening

void TChildWinFont::PrepareFontImages() {
    imgFont->NewPicture(FontImageWidth, FontImageHeight, clWhite);
    imgFont->SetZoom(ZoomFactor);
    const int StatusHeight = MainWindow() ? MainWindow()->StatusBarHeight() : 0;
    SetClientSize(this, FontImageWidth, FontImageHeight + TopHeight + BottomPanelHeight() + StatusHeight + 2);
}

void TChildWinFont::OpenDocument(const QString& Path, const QString& Name) {
    btnInternational->setEnabled(false);
    PrepareFontImages();
    AtariFont->InitFontTable();
    AtariFont->LoadFromFile(Path);
    Explorer = false;
    ShowNewFont(Name);
}

void TChildWinFont::OpenBuiltinFont(bool Editor) {
    btnInternational->setEnabled(true);
    PrepareFontImages();
    AtariFont->InitFontTable();
    Explorer = true;
    ShowNewFont(QLatin1String(BuiltinFontName));
    if (Editor) btnFontEdit->click();
}

// Draws a font that was just loaded and shows its character 0 and its name.
void TChildWinFont::ShowNewFont(const QString& Name) {
    DrawFontInto(imgFont->Picture, CharOrder);
    imgFont->Changed();
    AtariFont->DrawChar(imgChar->Picture, 1, 0, 0, 0, clBlack, clWhite, CharScale, false, true);
    imgChar->Changed();
    ZoomIn();
    DisplayCharBytes(0);
    DisplayCharInfos(0);
    AtariFont->FontName = Name;
    setWindowTitle(Caption());
    lblFontname->setText(QStringLiteral(" ") + Name);
    lblFontType->setText(QStringLiteral(" ATASCII"));
}

QString TChildWinFont::Caption() const {
    return QStringLiteral(" ") + (Explorer ? QStringLiteral("Font-Explorer: ") : QString()) +
           AtariFont->FontName;
}

// Shown again (docked, undocked, restored): the caption keeps what the window is.
void TChildWinFont::FormShow() {
    setWindowTitle(Caption());
    lblFontname->setText(QStringLiteral(" ") + AtariFont->FontName);
}

void TChildWinFont::showEvent(QShowEvent* E) {
    QWidget::showEvent(E);
    if (!E->spontaneous()) Guarded([this] { FormShow(); });
}

// ------------------------------------------------------------------ size and zoom

int TChildWinFont::BottomPanelHeight() const {
    return pnlBottom->isHidden() ? 0 : BottomHeight;
}

void TChildWinFont::ShowBottomPanel(bool Show) {
    pnlBottom->setFixedHeight(Show ? BottomHeight : 0);
    pnlBottom->setVisible(Show);
}

void TChildWinFont::FitWindow() {
    // A maximised window becomes normal first: fitted, it would shrink while the
    // area still showed it maximised, without its title bar.
    ShowFrameNormal(this);
    const QSize View = imgFont->ViewSize();
    // Never narrower than the tool bar's buttons nor, while it shows, the details and
    // editor panel: a small zoom must not squeeze or cut them.
    const int PanelWidth = BottomPanelHeight() > 0 ? pnlBottom->childrenRect().right() + 1 : 0;
    const int Width = std::max(View.width(), ControlsWidth(this, {PanelNeed(pnlTop), PanelWidth}));
    SetClientSize(this, Width, View.height() + TopHeight + BottomPanelHeight() + 2);
}

void TChildWinFont::ZoomIn() {
    // The view has a largest size; beyond it the factor would no longer match what
    // is shown and clicks would pick the wrong character.
    if (!imgFont->CanZoom(ZoomFactor * 2.0)) {
        MessageBeep();
        return;
    }
    ZoomFactor *= 2;
    imgFont->SetZoom(ZoomFactor);
    ShowFrameNormal(this);
    FitWindow();
}

void TChildWinFont::ZoomOut() {
    if (ZoomFactor == 1) return;
    ZoomFactor /= 2;
    imgFont->SetZoom(ZoomFactor);
    FitWindow();
}

// ------------------------------------------------------------------ drawing

void TChildWinFont::DrawFontInto(QImage& Image, int Selector) const {
    AtariFont->DrawFont(Image, 1, 1, Selector, Gap, fontforecolor, fontbackcolor);
}

void TChildWinFont::RedrawFont() {
    ShowHourglass();
    struct TRestoreCursor {
        ~TRestoreCursor() { ShowNormalCursor(); }
    } Restore;
    DrawFontInto(imgFont->Picture, CharOrder);
    imgFont->Changed();
    ShowChar(0);
}

void TChildWinFont::DrawFrame(int X, int Y, quint32 Colour) {
    QImage& Pic = imgFont->Picture;
    if (Pic.isNull()) return;
    if (Pic.format() != QImage::Format_RGB32 && Pic.format() != QImage::Format_ARGB32)
        Pic = Pic.convertToFormat(QImage::Format_RGB32);
    const QRgb C = WinColorToRgb(Colour);
    const int Left = X - 1, Top = Y - 1, Right = X + 8 + Gap - 1, Bottom = Y + 8 + Gap - 1;
    auto Plot = [&Pic, C](int Px, int Py) {
        if (Px >= 0 && Py >= 0 && Px < Pic.width() && Py < Pic.height())
            reinterpret_cast<QRgb*>(Pic.scanLine(Py))[Px] = C;
    };
    for (int Px = Left; Px <= Right; ++Px) {
        Plot(Px, Top);
        Plot(Px, Bottom);
    }
    for (int Py = Top; Py <= Bottom; ++Py) {
        Plot(Left, Py);
        Plot(Right, Py);
    }
    imgFont->Changed();
}

void TChildWinFont::DrawSelectionFrame() {
    // The frame marks the character the details panel shows; without the panel it is erased.
    DrawFrame(FrameX, FrameY, BottomPanelHeight() > 0 ? SelectionColour : EraseColour);
}

void TChildWinFont::EraseSelectionFrame() {
    DrawFrame(FrameX, FrameY, EraseColour);
}

void TChildWinFont::ShowChar(int Code) {
    QImage& Pic = imgChar->Picture;
    AtariFont->DrawEditGrid(Pic, 0, 0, CharScale, GridColor1, GridColor2);
    if (Code >= 0 && Code < 128)
        AtariFont->DrawChar(Pic, CharOrder, Code, 0, 0, clBlack, clWhite, CharScale, false, true);
    else if (Code >= 128 && Code < 256)
        AtariFont->DrawChar(Pic, CharOrder, Code - 128, 0, 0, clWhite, clBlack, CharScale, true, false);
    imgChar->Changed();
    DisplayCharBytes(Code);
    DisplayCharInfos(Code);
}

void TChildWinFont::DisplayCharBytes(int Code) {
    // The inverse characters show the bytes of the picture they are drawn with.
    TCharBytes Bytes{};
    AtariFont->GetCharBytes(Code & 127, Bytes, CharOrder);
    if (Code >= 128)
        for (quint8& B : Bytes) B = quint8(~B);
    for (int R = 0; R < 8; ++R) {
        DecTexts[R]->setText(QString::number(Bytes[R]));
        HexTexts[R]->setText(QString::number(Bytes[R], 16).toUpper().rightJustified(3, QLatin1Char('0')));
    }
}

void TChildWinFont::DisplayCharInfos(int Code) {
    const TAtariFont& F = *AtariFont;
    lblFontname->setText(QStringLiteral(" ") + F.FontName);
    const int C = std::clamp(Code, 0, 255);
    int Atascii = C, Internal = C;
    if (CharOrder == 1) {
        lblFontType->setText(QStringLiteral(" ATASCII"));
        Internal = TAtariFont::ATASCIIToInternal(quint8(C));
    } else {
        lblFontType->setText(QStringLiteral(" Intern"));
        Atascii = TAtariFont::InternalToATASCII(quint8(C));
    }
    const FontTable& Entry = F.CharTable[Atascii];
    lblATASC->setText(CodeText(Atascii));
    lblInt->setText(CodeText(Internal));
    lblKeyb->setText(CodeText(Entry.KeyCode));
    lblASCII->setText(QStringLiteral("  ") + Cp1252ToUnicode(Entry.Mnemonic));
    lblKeysToPress->setText(QStringLiteral(" ") + QString::fromLatin1(Entry.KeyCombination));
}

// ------------------------------------------------------------------ selection

void TChildWinFont::ResetUndo() {
    UndoIndex = 1;
    RedoLimit = 1;
    UndoCode = -1;
    for (TCharBytes& Slot : UndoSlots) Slot.fill(0);
}

void TChildWinFont::UpdateCharCursor() {
    if (!EditorOn || SelectedChar >= 128)
        imgChar->setCursor(Qt::ForbiddenCursor);
    else
        imgChar->setCursor(Qt::PointingHandCursor);
}

void TChildWinFont::SelectCell(int Col, int Row) {
    const int Code = Row * 32 + Col;
    ResetUndo();
    EraseSelectionFrame();
    FrameCol = Col;
    FrameRow = Row;
    FrameX = (8 + Gap) * FrameCol + 1;
    FrameY = (8 + Gap) * FrameRow + 1;
    DrawSelectionFrame();
    UpdateGridFocusMark();
    ShowChar(Code);
    SelectedChar = Code;
    UpdateCharCursor();
}

void TChildWinFont::imgFontMouseDown(int X, int Y) {
    if (X < 0 || Y < 0) return;
    const int Pitch = (8 + Gap) * ZoomFactor;
    // The outer border pixels belong to the last column and row.
    SelectCell(std::min(X / Pitch, 31), std::min(Y / Pitch, 7));
}

bool TChildWinFont::FormKeyDown(int Key) {
    int Col = FrameCol, Row = FrameRow;
    switch (Key) {
    case Qt::Key_Right:
        Col = Col >= 31 ? 0 : Col + 1;
        break;
    case Qt::Key_Left:
        Col = Col <= 0 ? 31 : Col - 1;
        break;
    case Qt::Key_Down:
        Row = Row >= 7 ? 0 : Row + 1;
        break;
    case Qt::Key_Up:
        Row = Row <= 0 ? 7 : Row - 1;
        break;
    default:
        return false;
    }
    SelectCell(Col, Row);
    return true;
}

void TChildWinFont::contextMenuEvent(QContextMenuEvent* E) {
    // The menu key (and Shift+F10) opens the grid's menu at the selected character,
    // as a right click on it does.
    if (E->reason() != QContextMenuEvent::Keyboard) {
        QWidget::contextMenuEvent(E);
        return;
    }
    E->accept();
    const QPoint Cell = QPoint(FrameX + 4, FrameY + 4) * ZoomFactor;
    PopupMenu1->popup(imgFont->mapToGlobal(Cell));
}

void TChildWinFont::UpdateGridFocusMark() {
    // Over the selection frame's ring, so it shows whether the frame is drawn or not.
    const int Side = 8 + Gap + 1;
    imgFont->SetFocusMark(hasFocus() ? QRect(FrameX - 1, FrameY - 1, Side, Side) : QRect());
}

void TChildWinFont::focusInEvent(QFocusEvent* E) {
    QWidget::focusInEvent(E);
    UpdateGridFocusMark();
}

void TChildWinFont::focusOutEvent(QFocusEvent* E) {
    QWidget::focusOutEvent(E);
    UpdateGridFocusMark();
}

void TChildWinFont::keyPressEvent(QKeyEvent* E) {
    bool Handled = false;
    Guarded([&] { Handled = FormKeyDown(E->key()); });
    if (!Handled) QWidget::keyPressEvent(E);
}

// ------------------------------------------------------------------ buttons

void TChildWinFont::btnATAINTClick() {
    CharOrder = 1 - CharOrder;
    RedrawFont();
    DrawSelectionFrame();
    ShowChar(SelectedChar);
}

void TChildWinFont::btnInternationalClick() {
    if (AtariFont->FontKind == 1) {
        AtariFont->LoadBuiltinFont(2);
        AtariFont->FontKind = 2;
    } else if (AtariFont->FontKind == 2) {
        AtariFont->LoadBuiltinFont(1);
        AtariFont->FontKind = 1;
    }
    // The history holds glyphs of the set that is gone.
    ResetUndo();
    RedrawFont();
    DrawSelectionFrame();
    ShowChar(SelectedChar);
}

void TChildWinFont::btnDetailsClick() {
    ShowDetails = ShowDetails ? 0 : 1;
    ShowBottomPanel(ShowDetails);
    FitWindow();
    DrawSelectionFrame();
}

void TChildWinFont::btnIsChildWinClick() {
    ToggleDocking(this, IsChildWin);
    if (IsChildWin) FitWindow();
}

void TChildWinFont::CopyToClipboardClick() {
    QApplication::clipboard()->setImage(imgFont->Picture);
}

// ------------------------------------------------------------------ saving and printing

bool TChildWinFont::SaveAs(const QString& FileName) {
    if (ExtractFileExtUpper(QFileInfo(FileName).fileName()) != QLatin1String(".FNT"))
        return SavePictureFile(imgFont->Picture, FileName, 95);
    AtariFont->SaveToFile(FileName, CharOrder);
    Modified = 0;
    return true;
}

void TChildWinFont::SaveToFile() {
    if (MainWindow()) MainWindow()->StatusMsg(GetMsg(QStringLiteral("mFileSaveAs")));
    const TSaveStatusReset Reset;
    TFileDialogRequest Request;
    Request.Save = true;
    Request.Filter =
        QStringLiteral("FNT (ATARI 8-Bit Font (Format: Create a Font)|*.FNT|BMP|*.BMP|JPG|*.JPG");
    Request.InitialDir = openpath;
    Request.FileName = NameBeforeDot(AtariFont->FontName);
    QString Name;
    // The chosen filter supplies the extension; the font's own is the default.
    if (!ExecuteSaveDialogWithExt(this, Request, {".FNT", ".BMP", ".JPG"}, Name, 1)) return;
    if (!SaveAs(Name)) WarnUnknownFileFormat(Name);
}

void TChildWinFont::PrintReport() {
    if (!fGlobal) return;
    fGlobal->SelectReport(QStringLiteral("FontReport"));
    fGlobal->SetParam(QStringLiteral("Titel"), QStringLiteral("FONT: ") + AtariFont->FontName);
    // Both orders go to the report in memory: no files in the program folder.
    for (int Order = 1; Order >= 0; --Order) {
        QImage Pic(FontImageWidth, FontImageHeight, QImage::Format_RGB32);
        Pic.fill(Qt::white);
        DrawFontInto(Pic, Order);
        fGlobal->SetImage(Order == 1 ? QStringLiteral("ImagePathFont1") : QStringLiteral("ImagePathFont2"),
                          Pic);
    }
    fGlobal->SetParam(QStringLiteral("PageFooterText"), GetMsg(QStringLiteral("mCreatedWith")));
    fGlobal->Execute();
}

// ------------------------------------------------------------------ closing

bool TChildWinFont::FormCloseQuery() {
    if (!Modified) return true;
    // Closes only once the font is really saved: a picture export keeps the changes.
    return MayCloseUnsaved(window(), [this] {
        SaveToFile();
        return Modified == 0;
    });
}

void TChildWinFont::closeEvent(QCloseEvent* E) {
    bool MayClose = CloseAlreadyAgreed(this);
    if (!MayClose) Guarded([&] { MayClose = FormCloseQuery(); });
    if (!MayClose) {
        E->ignore();
        return;
    }
    QWidget::closeEvent(E);
}

// ------------------------------------------------------------------ character editor

void TChildWinFont::btnFontEditClick() {
    EditorOn = EditorOn ? 0 : 1;
    if (EditorOn) {
        const bool PanelWasHidden = pnlBottom->isHidden();
        if (PanelWasHidden) ShowBottomPanel(true);
        imgChar->setCursor(Qt::PointingHandCursor);
        pnlFontEditor->show();
        shEdit->show();
        // The editor panel may be wider than the font at a small zoom.
        if (PanelWasHidden || width() <= pnlBottom->childrenRect().right()) FitWindow();
        GridColor1 = GridEvenEditing;
        GridColor2 = GridOdd;
        DrawSelectionFrame();
    } else {
        imgChar->unsetCursor();
        pnlFontEditor->hide();
        shEdit->hide();
        GridColor1 = GridEven;
        GridColor2 = GridOdd;
        if (!ShowDetails) {
            ShowBottomPanel(false);
            FitWindow();
            EraseSelectionFrame();
        }
    }
    ShowChar(SelectedChar);
}

void TChildWinFont::PushUndo(int Code) {
    if (Code < 0 || Code > 127) return;
    const int Atascii = CharOrder == 1 ? Code : TAtariFont::InternalToATASCII(quint8(Code));
    if (Atascii != UndoCode) {
        ResetUndo();
        UndoCode = Atascii;
    }
    if (UndoIndex >= UndoSlotCount) return;
    AtariFont->GetCharBytes(Code, UndoSlots[UndoIndex], CharOrder);
    ++UndoIndex;
    RedoLimit = std::max(RedoLimit, UndoIndex);
}

void TChildWinFont::RefreshAfterEdit() {
    DisplayCharBytes(SelectedChar);
    DisplayCharInfos(SelectedChar);
    EraseSelectionFrame();
    DrawFontInto(imgFont->Picture, CharOrder);
    imgFont->Changed();
    DrawSelectionFrame();
}

void TChildWinFont::EditChar(const std::function<void()>& Change) {
    // The inverse half of the grid is shown but never edited.
    if (SelectedChar < 0 || SelectedChar >= 128) return;
    PushUndo(SelectedChar);
    Change();
    ShowChar(SelectedChar);
    RefreshAfterEdit();
    Modified = 1;
}

void TChildWinFont::PutChar(const TCharBytes& Bytes, int Mode) {
    AtariFont->PutCharBytes(SelectedChar, Bytes, CharOrder, Mode);
}

void TChildWinFont::TransformChar(const std::function<void(TCharBytes&)>& Transform) {
    EditChar([&] {
        AtariFont->GetCharBytes(SelectedChar, EditScratch, CharOrder);
        Transform(EditScratch);
        PutChar(EditScratch, 0);
    });
}

void TChildWinFont::imgCharMouseDown(int X, int Y) {
    if (!EditorOn) return;
    const int Col = FloorDiv(X, CharScale), Row = FloorDiv(Y, CharScale);
    if (Col < 0 || Col > 7 || Row < 0 || Row > 7) return;
    LastCol = Col;
    LastRow = Row;
    EditChar([&] { AtariFont->TogglePixel(SelectedChar, Row, 7 - Col, CharOrder); });
}

void TChildWinFont::imgCharMouseMove(int X, int Y, bool LeftButton) {
    if (!EditorOn) return;
    const int Col = FloorDiv(X, CharScale), Row = FloorDiv(Y, CharScale);
    const bool Inside = Col >= 0 && Col <= 7 && Row >= 0 && Row <= 7;
    if (LeftButton && Inside && (Col != LastCol || Row != LastRow))
        EditChar([&] { AtariFont->TogglePixel(SelectedChar, Row, 7 - Col, CharOrder); });
    LastCol = Col;
    LastRow = Row;
}

void TChildWinFont::btnFontClearClick() {
    TransformChar([](TCharBytes& B) { B.fill(0); });
}

void TChildWinFont::btnFontInvertClick() {
    TransformChar([](TCharBytes& B) {
        for (quint8& V : B) V = quint8(~V);
    });
}

void TChildWinFont::btnFontAtariClick() {
    EditChar([&] {
        AtariFont->GetOriginalCharBytes(SelectedChar, EditScratch, CharOrder);
        PutChar(EditScratch, 0);
    });
}

void TChildWinFont::btnFontUpClick() {
    TransformChar([](TCharBytes& B) { std::rotate(B.begin(), B.begin() + 1, B.end()); });
}

void TChildWinFont::btnFontDownClick() {
    TransformChar([](TCharBytes& B) { std::rotate(B.begin(), B.end() - 1, B.end()); });
}

void TChildWinFont::btnFontLeftClick() {
    TransformChar([](TCharBytes& B) {
        for (quint8& V : B) V = quint8((V << 1) | (V >> 7));
    });
}

void TChildWinFont::btnFontRightClick() {
    TransformChar([](TCharBytes& B) {
        for (quint8& V : B) V = quint8((V >> 1) | (V << 7));
    });
}

void TChildWinFont::btnFontXMirClick() {
    TransformChar([](TCharBytes& B) { std::reverse(B.begin(), B.end()); });
}

void TChildWinFont::btnFontYMirClick() {
    TransformChar([](TCharBytes& B) {
        for (quint8& V : B) {
            quint8 R = 0;
            for (int I = 0; I < 8; ++I)
                if (V & (1u << I)) R = quint8(R | (0x80u >> I));
            V = R;
        }
    });
}

void TChildWinFont::btnFontRotateLeftClick(QObject* Sender) {
    const int Direction = Sender == BtnFontRotateRight ? 0 : 1;
    TransformChar([Direction](TCharBytes& B) { TAtariFont::RotateChar(B, Direction); });
}

void TChildWinFont::btnFontPasteClick(QObject* Sender) {
    int Mode = 0;
    if (Sender == btnFontPasteOR)
        Mode = 1;
    else if (Sender == btnFontPasteAND)
        Mode = 2;
    else if (Sender == btnFontPasteXOR)
        Mode = 3;
    const TCharBytes Buffer = CopyBuffers[std::clamp(CurrentCopyBuffer, 1, CopyBufferCount) - 1];
    EditChar([&] { PutChar(Buffer, Mode); });
}

void TChildWinFont::btnFontCopyClick() {
    if (SelectedChar < 0 || SelectedChar >= 128) return;
    AtariFont->GetCharBytes(SelectedChar, CopyBuffers[std::clamp(CurrentCopyBuffer, 1, CopyBufferCount) - 1],
                            CharOrder);
    RepaintCopyBuffers();
}

int TChildWinFont::UndoCharCode() const {
    if (UndoCode < 0 || UndoCode > 127) return -1;
    return CharOrder == 1 ? UndoCode : TAtariFont::ATASCIIToInternal(quint8(UndoCode));
}

void TChildWinFont::SetCharFromSlot(int Code) {
    AtariFont->PutCharBytes(Code, UndoSlots[UndoIndex], CharOrder, 0);
    ShowChar(SelectedChar);
    RefreshAfterEdit();
    Modified = 1;
}

void TChildWinFont::btnFontUndoClick() {
    const int Code = UndoCharCode();
    if (Code < 0 || UndoIndex <= 1) return;
    AtariFont->GetCharBytes(Code, UndoSlots[UndoIndex], CharOrder);
    --UndoIndex;
    SetCharFromSlot(Code);
}

void TChildWinFont::btnFontRedoClick() {
    const int Code = UndoCharCode();
    if (Code < 0 || UndoIndex >= RedoLimit) return;
    ++UndoIndex;
    SetCharFromSlot(Code);
}

void TChildWinFont::FontDrawGridSelectCell(int Col, int Row) {
    const int Index = Col + Row * TFontDrawGrid::ColCount;
    if (Col < 0 || Col >= TFontDrawGrid::ColCount || Row < 0 || Row >= TFontDrawGrid::RowCount) return;
    CurrentCopyBuffer = Index + 1;
    RepaintCopyBuffers();
}

void TChildWinFont::FontDrawGridDrawCell(QPainter& Canvas, int Col, int Row, const QRect& Rect) {
    const int K = Row * TFontDrawGrid::ColCount + Col;
    if (K < 0 || K >= CopyBufferCount) return;
    imgBuffDummy.fill(Qt::white);
    AtariFont->DrawCharBytes(imgBuffDummy, CharOrder, CopyBuffers[K], 0, 0, BufferInk, BufferPaper, 1, false,
                             false);
    Canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
    Canvas.drawImage(Rect, imgBuffDummy);
    if (K + 1 == CurrentCopyBuffer) {
        Canvas.setPen(QPen(WinColorToQColor(BufferFrame), 1));
        Canvas.setBrush(Qt::NoBrush);
        Canvas.drawRect(Rect.adjusted(0, 0, -1, -1));
    }
}
