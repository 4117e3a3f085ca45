#include "uChildWinListing.h"

#include "Cp1252.h"
#include "FileDialogs.h"
#include "FocusMark.h"
#include "ImageView.h"
#include "IniFile.h"
#include "RichTextSink.h"
#include "uDocWindow.h"
#include "uFGlobal.h"
#include "uGlobal.h"
#include "uMainLink.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
constexpr int TopHeight = 75;
constexpr quint32 HitBackground = 0xFF9F9F; // light blue behind search hits
const char* const Ruler = "[........10........20........30........40........50........60........70.........]";

int StrToInt(const QString& Text) {
    int Value = 0;
    if (!TIniFile::StrToIntDef(Text, Value))
        throw EConvertError(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(Text));
    return Value;
}

bool IsEnter(int Key) {
    return Key == Qt::Key_Return || Key == Qt::Key_Enter;
}

void ShowProgressBar() {
    if (!MainWindow()) return;
    MainWindow()->ProgressBar(0, 0);
    MainWindow()->ShowProgressBar(true);
}

// Hides the progress bar and restores the cursor however the drawing ends.
struct TDrawingDone {
    ~TDrawingDone() {
        ShowNormalCursor();
        if (MainWindow()) MainWindow()->ShowProgressBar(false);
    }
};

void Status(const QString& Text) {
    if (MainWindow()) MainWindow()->StatusMsg(Text);
}

QImage BlankImage(int Width, int Height) {
    QImage Image(std::max(1, Width), std::max(1, Height), QImage::Format_RGB32);
    Image.fill(Qt::white);
    return Image;
}
} // namespace

// ------------------------------------------------------------------ status bar

TListingStatusBar::TListingStatusBar(QWidget* Parent) : QWidget(Parent) {
    auto* Layout = new QHBoxLayout(this);
    Layout->setContentsMargins(0, 1, 0, 1);
    Layout->setSpacing(2);
    static const int Widths[3] = {100, 175, 50};
    for (int I = 0; I < 3; ++I) {
        auto* Panel = new QLabel(this);
        Panel->setFrameShape(QFrame::Panel);
        Panel->setFrameShadow(QFrame::Sunken);
        Panel->setTextFormat(Qt::PlainText);
        Panel->setProperty("Tag", -1);
        if (I < 2)
            Panel->setFixedWidth(Widths[I]);
        else
            Panel->setMinimumWidth(Widths[I]);
        Layout->addWidget(Panel, I == 2 ? 1 : 0);
        FPanels[I] = Panel;
    }
}

void TListingStatusBar::SetPanelText(int Index, const QString& Text) {
    if (Index >= 0 && Index < int(FPanels.size())) FPanels[Index]->setText(Text);
}

QString TListingStatusBar::PanelText(int Index) const {
    return Index >= 0 && Index < int(FPanels.size()) ? FPanels[Index]->text() : QString();
}

// ------------------------------------------------------------------ creation

TChildWinListing::TChildWinListing(QWidget* Parent) : QWidget(Parent) {
    setObjectName(NewFormName(QStringLiteral("ChildWinListing")));
    setAttribute(Qt::WA_DeleteOnClose);
    if (MainWindow()) setWindowIcon(MainWindow()->DocumentIcon(TDocIcon::Listing));
    // FormCreate: both document objects live as long as the window.
    AtariListing = std::make_unique<TAtariListing>();
    AtariFont = std::make_unique<TAtariFont>();

    QVBoxLayout* Layout = NewWindowColumn(this);
    BuildTopPanel();
    ShowFocusMarks(pnlTop);
    Layout->addWidget(pnlTop);
    BuildPages();
    Layout->addWidget(PageControl1, 1);
    StatusBar1 = new TListingStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    Layout->addWidget(ClipWidth(StatusBar1));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    CopyToClipboard = PopupMenu1->addAction(QStringLiteral("In die Zwischenablage &kopieren"));
    CopyToClipboard->setObjectName(QStringLiteral("CopyToClipboard"));

    ConnectGuarded(btnReport, &QToolButton::clicked, this, &TChildWinListing::btnReportClick);
    ConnectGuarded(btnReFormatListing, &QToolButton::clicked, this, &TChildWinListing::btnReFormatClick);
    connect(edcpl, &QLineEdit::returnPressed, this,
            [this] { Guarded([this] { edcplKeyDown(Qt::Key_Return); }); });
    connect(edlmarg, &QLineEdit::returnPressed, this,
            [this] { Guarded([this] { edcplKeyDown(Qt::Key_Return); }); });
    ConnectGuarded(cbWordwrap, &QCheckBox::clicked, this, &TChildWinListing::cbWordwrapClick);
    ConnectGuarded(cbInvStyles, &QComboBox::activated, this, &TChildWinListing::cbInvStylesChange);
    connect(edFontSize, &QLineEdit::returnPressed, this,
            [this] { Guarded([this] { edFontSizeKeyDown(Qt::Key_Return); }); });
    connect(edSearch, &QLineEdit::returnPressed, this,
            [this] { Guarded([this] { edSearchKeyDown(Qt::Key_Return); }); });
    ConnectGuarded(btnSearch, &QToolButton::clicked, this, &TChildWinListing::btnSearchClick);
    ConnectGuarded(btnIsChildWin, &QToolButton::clicked, this, &TChildWinListing::btnIsChildWinClick);
    ConnectGuarded(PageControl1, &QTabWidget::currentChanged, this, &TChildWinListing::PageControl1Change);
    ConnectGuarded(imgListing, &ImageView::MouseDown, this, &TChildWinListing::imgListingClick);
    ConnectGuarded(CopyToClipboard, &QAction::triggered, this, &TChildWinListing::CopyToClipboardClick);
    AttachPopupMenu(this, imgListing, PopupMenu1);
    pnlTop->installEventFilter(this);
    ScrollBox1->viewport()->installEventFilter(this);
    TextField->installEventFilter(this);
    TextField->viewport()->installEventFilter(this);
    resize(600, 450);
}

TChildWinListing::~TChildWinListing() = default;

void TChildWinListing::BuildTopPanel() {
    pnlTop = NewTopPanel(this, TopHeight);
    // The controls lie on a part of the panel that ends at the dock button, so a
    // narrow window clips them there instead of putting the button over them.
    FControls = new QWidget(pnlTop);
    QWidget* Controls = FControls;
    QFont Atascii(QStringLiteral("ATASCII"));
    Atascii.setPixelSize(8);

    // Fixed places, as the panel was always laid out; two rows of controls.
    auto Place = [](QWidget* W, int X, int Y, int Width, int Height) { W->setGeometry(X, Y, Width, Height); };
    auto Label = [&](const char* Name, const QString& Caption, int X, int Y, int Width) {
        QLabel* L = NewPanelLabel(Controls, Name, Caption);
        L->setFont(Atascii);
        L->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
        Place(L, X, Y, Width, 24);
        return L;
    };
    auto Edit = [&](const char* Name, const QString& Text, int X, int Y, int Width) {
        auto* E = new QLineEdit(Text, Controls);
        E->setObjectName(QLatin1String(Name));
        E->setProperty("Tag", -1);
        Place(E, X, Y, Width, 24);
        return E;
    };
    auto Button = [&](const char* Name, const QString& Caption, const QString& Hint, int X, int Y,
                      int Width) {
        QToolButton* B = NewPanelButton(Controls, Name, Caption, Hint);
        B->setFont(Atascii);
        Place(B, X, Y, Width, 24);
        return B;
    };

    const int Y1 = 8, Y2 = 42;
    btnReport = Button("btnReport", QStringLiteral("Drucken"), QStringLiteral("Listing drucken"), 4, Y1, 64);
    lblCharPerL = Label("lblCharPerL", QStringLiteral("Zeich/Zeile"), 76, Y1, 90);
    edcpl = Edit("edcpl", QStringLiteral("40"), 168, Y1, 36);
    lblLeftMarg = Label("lblLeftMarg", QStringLiteral("Linker Rand"), 212, Y1, 90);
    edlmarg = Edit("edlmarg", QStringLiteral("2"), 304, Y1, 36);
    btnReFormatListing =
        Button("btnReFormatListing", QString(), QStringLiteral("Aktualisieren"), 346, Y1, 26);
    btnReFormatListing->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    cbWordwrap = new QCheckBox(QStringLiteral("Wortumbruch"), Controls);
    cbWordwrap->setObjectName(QStringLiteral("cbWordwrap"));
    cbWordwrap->setFont(Atascii);
    cbWordwrap->setChecked(true);
    cbWordwrap->setEnabled(false);
    SetHint(cbWordwrap, QStringLiteral("Wortumbruch ein/aus"));
    Place(cbWordwrap, 380, Y1, 130, 24);

    lblInvStyle = Label("lblInvStyle", QStringLiteral("Inverse als"), 4, Y2, 90);
    lblInvStyle->setEnabled(false);
    cbInvStyles = new QComboBox(Controls);
    cbInvStyles->setObjectName(QStringLiteral("cbInvStyles"));
    KeepDefaultTextColours(cbInvStyles);
    cbInvStyles->setProperty("Tag", -1);
    cbInvStyles->addItems({QStringLiteral("ASCII (plain)"), QStringLiteral("ASCII (keys)"),
                           QStringLiteral("Underline (RTF)"), QStringLiteral("Bold (RTF)"),
                           QStringLiteral("Italic (RTF)")});
    cbInvStyles->setEnabled(false);
    SetHint(cbInvStyles, QStringLiteral("Darstellung für inverse Zeichen"));
    Place(cbInvStyles, 96, Y2, 130, 24);
    lblFontSize = Label("lblFontSize", QStringLiteral("Groesse"), 232, Y2, 58);
    lblFontSize->setEnabled(false);
    SetHint(lblFontSize, QStringLiteral("Schriftgröße"));
    edFontSize = Edit("edFontSize", QStringLiteral("9"), 292, Y2, 32);
    edFontSize->setEnabled(false);
    SetHint(edFontSize, QStringLiteral("Schriftgröße"));
    lblSearch = Label("lblSearch", QStringLiteral("Suchen nach"), 330, Y2, 90);
    lblSearch->setEnabled(false);
    edSearch = Edit("edSearch", QString(), 422, Y2, 100);
    btnSearch = Button("btnSearch", QString(), QStringLiteral("Suchen"), 526, Y2, 26);
    btnSearch->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    btnIsChildWin =
        NewPanelButton(pnlTop, "btnIsChildWin", QString(), QStringLiteral("Fenster aus-/eindocken"));
    Place(btnIsChildWin, 0, Y1, 26, 24);
    btnIsChildWin->setIcon(style()->standardIcon(QStyle::SP_TitleBarNormalButton));
}

void TChildWinListing::BuildPages() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto MakeRuler = [](QWidget* Parent, const char* Name, const QFont& Font, const QString& Style) {
        auto* L = new QLabel(QString::fromLatin1(Ruler), Parent);
        L->setObjectName(QLatin1String(Name));
        L->setProperty("Tag", -1);
        L->setFont(Font);
        L->setStyleSheet(Style);
        // A ruler is cut at the window's edge; it must not keep the window wide.
        L->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        return L;
    };

    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    QVBoxLayout* Page0 = NewColumnLayout(TabSheet2);
    QFont Atascii(QStringLiteral("ATASCII"));
    Atascii.setPixelSize(8);
    Label2 = MakeRuler(TabSheet2, "Label2", Atascii, QStringLiteral("color: white; background: black;"));
    Page0->addWidget(Label2);
    imgListing = new ImageView;
    imgListing->setObjectName(QStringLiteral("imgListing"));
    ScrollBox1 = NewImageScrollBox(TabSheet2, "ScrollBox1", imgListing, true, clGray);
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);
    Page0->addWidget(ScrollBox1, 1);

    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    QVBoxLayout* Page1 = NewColumnLayout(TabSheet1);
    const QFont Courier(QStringLiteral("Courier New"), 9);
    Label3 = MakeRuler(TabSheet1, "Label3", Courier, QString());
    Page1->addWidget(Label3);
    TextField = new QTextEdit(TabSheet1);
    TextField->setObjectName(QStringLiteral("TextField"));
    TextField->setFont(Courier);
    TextField->setLineWrapMode(QTextEdit::WidgetWidth);
    TextField->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextField->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Page1->addWidget(TextField, 1);

    PageControl1->addTab(TabSheet2, QStringLiteral("ATARI Original (Bitmap)"));
    PageControl1->addTab(TabSheet1, QStringLiteral("PC-Text (ASCII/RTF)"));
}

void TChildWinListing::PlaceTopControls() {
    const int DockX = std::max(0, pnlTop->width() - btnIsChildWin->width() - 4);
    btnIsChildWin->move(DockX, btnIsChildWin->y());
    FControls->setGeometry(0, 0, std::max(0, DockX - 2), TopHeight);
}

// ------------------------------------------------------------------ opening

bool TChildWinListing::OpenDocument(const QString& Path, const QString& Name) {
    QPointer<TChildWinListing> Self(this);
    setWindowTitle(QStringLiteral(" ") + Name);
    TAtariListing& L = *AtariListing;
    L.Clear();
    L.LoadFromFile(Path);
    L.SetListingType(Name);
    SetPCText(L.ToText(0), false);
    cbInvStyles->setCurrentIndex(0);
    AtariFont->InitFontTable();
    {
        TDrawingDone Done;
        ShowHourglass();
        Status(GetMsg(QStringLiteral("mFormatting")));
        ShowProgressBar();
        RenderPage(imgListing->Picture, 40, 2, listingforecolor, listingbackcolor);
        if (!Self) return false;
    }
    Status(QStringLiteral("READY"));
    SetFrameSize(this, 600, 450);
    StatusBar1->SetPanelText(2, GetMsg(QStringLiteral("mFile")) + QLatin1Char(' ') + L.FileName +
                                    QStringLiteral(" / ") + GetMsg(QStringLiteral("mLenBytes")) +
                                    QLatin1Char(' ') + QString::number(L.Length));
    StatusBar1->SetPanelText(1, L.LanguageName + QStringLiteral(" (") + L.KindText + QLatin1Char(')'));
    FOpenNotice.clear();
    if (L.WasCut())
        FOpenNotice = Name + QStringLiteral(" (") + QString::number(L.FileLength) +
                      QStringLiteral(" Bytes): ") + GetMsg(QStringLiteral("mListingCut"));
    ScrollBox1->setFocus();
    return Self;
}

void TChildWinListing::ShowOpenNotices() {
    const QString Notice = std::exchange(FOpenNotice, {});
    if (!Notice.isEmpty()) ShowWarningMsg(Notice);
}

void TChildWinListing::SetPCText(const QByteArray& Text, bool AsLine) {
    TextField->clear();
    TextField->setCurrentCharFormat(QTextCharFormat());
    TTextDocumentSink Sink(*TextField->document());
    QString Plain = Cp1252ToUnicode(Text);
    Plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (AsLine) Plain += QLatin1Char('\n');
    Sink.InsertText(Plain);
    TextField->moveCursor(QTextCursor::Start);
}

// ------------------------------------------------------------------ drawing

bool TChildWinListing::RenderPage(QImage& Image, int CharsPerLine, int LeftMargin, quint32 FgColor,
                                  quint32 BgColor) {
    const bool Shown = &Image == &imgListing->Picture;
    QPointer<ImageView> View(imgListing);
    const TAtariListing& L = *AtariListing;
    // The new page is shown 1:1 while it is drawn; it and the progress bar are
    // painted only every so often, events still run every 16 bytes.
    if (Shown) imgListing->SetZoom(1.0);
    TThrottledProgress Progress;
    TPaintClock Paint;
    const bool Complete = AtariFont->RenderText(
        Image, 1, L.Buffer.data(), std::clamp(L.Length, 0, TAtariListing::BufferSize), L.ListingType,
        L.EOLCode, L.TABCode, L.TabWidth, CharsPerLine, LeftMargin, 0, 0, FgColor, BgColor,
        [&Progress](int Pos, int Max) { Progress(Pos, Max); }, this,
        [View, Shown, &Paint] {
            if (Shown && View && Paint.Due()) View->Changed();
        });
    Progress.Flush();
    // The page was replaced: it is shown at its own size again.
    if (Complete && Shown) {
        imgListing->SetZoom(1.0);
        imgListing->Changed();
    }
    return Complete;
}

bool TChildWinListing::ReformatListing(QImage& Image, quint32 FgColor, quint32 BgColor) {
    const int Cpl = StrToInt(edcpl->text());
    const int Lm = StrToInt(edlmarg->text());
    if (Cpl < 1 || Cpl > 160 || Lm < 0 || Lm > 40) return true;
    QPointer<TChildWinListing> Self(this);
    TDrawingDone Done;
    ShowHourglass();
    Status(GetMsg(QStringLiteral("mFormatting")));
    ShowProgressBar();
    // The page will be 8 x Cpl + 8 pixels wide; the window is sized for it first.
    if (Cpl >= 65) {
        if (&Image == &imgListing->Picture)
            FitToImageWidth(8 * Cpl + 10);
        else
            FitWindow();
    } else {
        SetFrameSize(this, 600, DocumentFrame(this)->height());
    }
    const bool Complete = RenderPage(Image, Cpl, Lm, FgColor, BgColor);
    if (!Self) return false;
    Status(GetMsg(QStringLiteral("mREADY")));
    return Complete;
}

void TChildWinListing::btnReFormatClick() {
    ReformatListing(imgListing->Picture, listingforecolor, listingbackcolor);
}

void TChildWinListing::edcplKeyDown(int Key) {
    if (IsEnter(Key)) btnReFormatClick();
}

// ------------------------------------------------------------------ size and zoom

void TChildWinListing::FitToImageWidth(int ImageWidth) {
    ShowFrameNormal(this);
    // The tool bar's controls end where the dock button's gap begins.
    const int Tools = FControls->childrenRect().right() + 1 + 2 + btnIsChildWin->width() + 4;
    SetClientWidth(this, std::max(ImageWidth + 32, ControlsWidth(this, {Tools, PanelNeed(StatusBar1)})));
}

void TChildWinListing::FitWindow() {
    FitToImageWidth(imgListing->ViewSize().width());
}

void TChildWinListing::ZoomIn() {
    if (ScaleZoom(imgListing, 2)) FitWindow();
}

void TChildWinListing::ZoomOut() {
    if (ScaleZoom(imgListing, 0.5)) FitWindow();
}

void TChildWinListing::btnIsChildWinClick() {
    ToggleDocking(this, IsChildWin);
    // Moving back into the MDI area must not leave the window hidden inside its frame.
    if (IsChildWin && isHidden()) show();
    if (IsChildWin) FitWindow();
}

// ------------------------------------------------------------------ tabs and text

void TChildWinListing::PageControl1Change() {
    const bool Text = PageControl1->currentIndex() == 1;
    for (QWidget* W : {static_cast<QWidget*>(cbWordwrap), static_cast<QWidget*>(lblInvStyle),
                       static_cast<QWidget*>(cbInvStyles), static_cast<QWidget*>(edFontSize),
                       static_cast<QWidget*>(lblSearch), static_cast<QWidget*>(edSearch),
                       static_cast<QWidget*>(btnSearch)})
        W->setEnabled(Text);
    for (QWidget* W : {static_cast<QWidget*>(lblCharPerL), static_cast<QWidget*>(lblLeftMarg),
                       static_cast<QWidget*>(edcpl), static_cast<QWidget*>(edlmarg),
                       static_cast<QWidget*>(btnReFormatListing)})
        W->setEnabled(!Text);
    lblFontSize->setEnabled(false);
}

void TChildWinListing::cbWordwrapClick() {
    TextField->setLineWrapMode(cbWordwrap->isChecked() ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

void TChildWinListing::cbInvStylesChange() {
    ShowHourglass();
    struct TNormal {
        ~TNormal() { ShowNormalCursor(); }
    } Normal;
    const int Item = cbInvStyles->currentIndex();
    if (Item == 0) {
        SetPCText(AtariListing->ToText(0), true);
    } else if (Item == 1) {
        SetPCText(AtariListing->ToText(1), false);
    } else if (Item >= 2 && Item <= 4) {
        TextField->clear();
        TextField->setCurrentCharFormat(QTextCharFormat());
        TTextDocumentSink Sink(*TextField->document());
        AtariListing->ToRichEdit(Sink, Item - 2);
        TextField->moveCursor(QTextCursor::Start);
    }
}

void TChildWinListing::edFontSizeKeyDown(int Key) {
    if (!IsEnter(Key)) return;
    int Size = 0;
    // Anything but a usable point size is ignored without a message.
    if (!TIniFile::StrToIntDef(edFontSize->text(), Size) || Size < 1 || Size > 500) return;
    QFont F = TextField->font();
    F.setPointSize(Size);
    TextField->setFont(F);
}

void TChildWinListing::edSearchKeyDown(int Key) {
    if (IsEnter(Key)) btnSearchClick();
}

QList<int> TChildWinListing::FindAll(QTextEdit* RichEdit, const QString& Text,
                                     QTextDocument::FindFlags Options) {
    QList<int> Hits;
    if (!RichEdit || Text.isEmpty()) return Hits;
    const QTextDocument* Doc = RichEdit->document();
    const int Total = int(Doc->toPlainText().size());
    int Pos = 0;
    // A word that ends the text is found as well.
    while (Pos <= Total - Text.size()) {
        const QTextCursor Found = Doc->find(Text, Pos, Options);
        if (Found.isNull()) break;
        Hits.append(Found.selectionStart());
        Pos = Found.selectionStart() + int(Text.size());
    }
    return Hits;
}

void TChildWinListing::btnSearchClick() {
    const QString S = edSearch->text();
    if (S.isEmpty()) return;
    SetPCText(AtariListing->ToText(0), false);
    const QList<int> Hits = FindAll(TextField, S, QTextDocument::FindWholeWords);
    QTextCharFormat Mark;
    Mark.setForeground(Qt::white);
    Mark.setBackground(WinColorToQColor(HitBackground));
    int FirstLine = -1;
    for (int Hit : Hits) {
        QTextCursor C(TextField->document());
        C.setPosition(Hit);
        C.setPosition(Hit + int(S.size()), QTextCursor::KeepAnchor);
        TextField->setTextCursor(C);
        TextField->ensureCursorVisible();
        if (FirstLine < 0) {
            int Col = 0;
            CaretLineCol(FirstLine, Col);
        }
        C.mergeCharFormat(Mark);
    }
    if (FirstLine > 0) {
        QScrollBar* Bar = TextField->verticalScrollBar();
        Bar->setValue(Bar->value() + FirstLine * QFontMetrics(TextField->font()).lineSpacing());
    }
}

void TChildWinListing::CaretLineCol(int& Line, int& Col) const {
    const QTextCursor C = TextField->textCursor();
    const QTextBlock Block = C.block();
    const int InBlock = C.positionInBlock();
    Line = 0;
    Col = InBlock;
    // Lines as shown: a wrapped paragraph counts one line per screen line.
    for (QTextBlock B = TextField->document()->begin(); B.isValid() && B != Block; B = B.next())
        Line += std::max(1, B.layout() ? B.layout()->lineCount() : 1);
    if (QTextLayout* Layout = Block.layout(); Layout && Layout->lineCount() > 0) {
        const QTextLine TL = Layout->lineForTextPosition(InBlock);
        if (TL.isValid()) {
            Line += TL.lineNumber();
            Col = InBlock - TL.textStart();
        }
    }
}

void TChildWinListing::ShowCaretPos() {
    int Line = 0, Col = 0;
    CaretLineCol(Line, Col);
    StatusBar1->SetPanelText(0, QStringLiteral("X:%1 Y:%2").arg(Col + 1).arg(Line + 1));
}

// ------------------------------------------------------------------ picture tab

void TChildWinListing::imgListingClick() {
    ScrollBox1->setFocus();
}

void TChildWinListing::ScrollBox1Click() {
    ScrollBox1->setFocus();
}

void TChildWinListing::ScrollBox1MouseWheelDown() {
    ScrollVertically(ScrollBox1, WheelScrollStep);
}

void TChildWinListing::ScrollBox1MouseWheelUp() {
    ScrollVertically(ScrollBox1, -WheelScrollStep);
}

void TChildWinListing::CopyToClipboardClick() {
    QApplication::clipboard()->setImage(imgListing->Picture);
}

bool TChildWinListing::eventFilter(QObject* Watched, QEvent* E) {
    if (Watched == pnlTop && E->type() == QEvent::Resize) {
        PlaceTopControls();
    } else if (Watched == ScrollBox1->viewport()) {
        if (E->type() == QEvent::Wheel) {
            const int Delta = static_cast<QWheelEvent*>(E)->angleDelta().y();
            Guarded([&] {
                if (Delta < 0) ScrollBox1MouseWheelDown();
                if (Delta > 0) ScrollBox1MouseWheelUp();
            });
            return true;
        }
        if (E->type() == QEvent::MouseButtonPress) Guarded([this] { ScrollBox1Click(); });
    } else if (Watched == TextField && E->type() == QEvent::KeyPress) {
        // The position before the key moves the caret.
        Guarded([this] { ShowCaretPos(); });
    } else if (Watched == TextField->viewport() && E->type() == QEvent::MouseButtonPress) {
        // The position after the click has placed the caret.
        QPointer<TChildWinListing> Self(this);
        QMetaObject::invokeMethod(
            this,
            [Self] {
                Guarded([Self] {
                    if (Self) Self->ShowCaretPos();
                });
            },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(Watched, E);
}

// ------------------------------------------------------------------ saving

void TChildWinListing::SaveToFile() {
    Status(GetMsg(QStringLiteral("mFileSaveAs")));
    TFileDialogRequest Request;
    Request.Save = true;
    Request.Filter = QStringLiteral("RTF|*.RTF|TXT|*.TXT|BMP|*.BMP|JPG|*.JPG");
    Request.FilterIndex = 1;
    Request.InitialDir = openpath;
    Request.FileName = NameBeforeDot(AtariListing->FileName);
    QString Name;
    if (!ExecuteSaveDialogWithExt(this, Request, {".RTF", ".TXT", ".BMP", ".JPG"}, Name)) return;
    const QString Ext = ExtractFileExtUpper(QFileInfo(Name).fileName());
    if (Ext == QLatin1String(".RTF")) {
        WriteWholeFile(Name, DocumentToRtf(*TextField->document()));
    } else if (Ext == QLatin1String(".TXT")) {
        QString Plain = TextField->toPlainText();
        Plain.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        WriteWholeFile(Name, UnicodeToCp1252(Plain));
    } else if (!SavePictureFile(imgListing->Picture, Name, 95)) {
        // Nothing can be written under that name: say so instead of pretending.
        WarnUnknownFileFormat(Name);
    }
}

// ------------------------------------------------------------------ printing

namespace {
// Ends a print whose window went away while its pages were drawn.
struct TPrintAborted {};
} // namespace

void TChildWinListing::PrintReport() {
    if (!fGlobal) return;
    const int Page = PageControl1->currentIndex();
    try {
        fGlobal->ExecuteJob([this, Page](TReportJob& Job) { RvSystem1Print(Job, Page); });
    } catch (const TPrintAborted&) {
        // the window is gone: nothing of it may be touched any more
    }
}

void TChildWinListing::RvSystem1Print(TReportJob& Job, int Page) {
    if (Page == 1) {
        Job.AddFlowingText(*TextField->document(), 1.0, 7.0, 3);
        return;
    }
    if (Page != 0) return;
    QPointer<TChildWinListing> Self(this);
    // The page is drawn again in the print colours; strips and page count follow
    // from what was drawn, so the whole listing is printed.
    QImage Full = BlankImage(imgListing->Picture.width(), imgListing->Picture.height());
    ReformatListing(Full, listingprintforecolor, listingprintbackcolor);
    if (!Self) throw TPrintAborted();
    const int Strip = std::max(8, int(std::floor(Full.width() * 1.35)) / 8 * 8);
    const int Pages = Full.height() / Strip + 1;
    const QString Title = AtariListing->FileName;
    for (int I = 0; I < Pages; ++I) {
        QImage Part = BlankImage(Full.width(), Strip);
        const int Top = I * Strip + 4;
        const QRect Source = QRect(1, Top, Full.width() - 2, Strip).intersected(Full.rect());
        if (!Source.isEmpty()) {
            QPainter P(&Part);
            P.drawImage(QPoint(Source.x() - 1, Source.y() - Top), Full, Source);
        }
        fGlobal->SelectReport(QStringLiteral("ListingGraphicReport"));
        fGlobal->SetParam(QStringLiteral("Titel"), Title);
        fGlobal->SetParam(QStringLiteral("PageNumText"), QStringLiteral("%1 / %2").arg(I + 1).arg(Pages));
        fGlobal->SetImage(QStringLiteral("ImagepathListing"), Part);
        fGlobal->AddPage(Job);
    }
}
