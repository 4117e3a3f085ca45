#include "uChildWinText.h"

#include "Cp1252.h"
#include "FileDialogs.h"
#include "FocusMark.h"
#include "ImageView.h"
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
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

namespace {
// Clears a window's busy flag however the work ends, unless the window is gone.
struct TClearOnExit {
    QPointer<TChildWinText> W;
    bool TChildWinText::*Flag;
    ~TClearOnExit() {
        if (W) W.data()->*Flag = false;
    }
};

constexpr int TopHeight = 47;
constexpr int StartWidth = 665, StartHeight = 375;
constexpr int RepaintMs = 40; // the page being drawn is shown at most this often

const char* const Ruler = "[........10........20........30........40........50........60........70.........]";

// The rich edit of the text tab: reports key presses before they move the caret
// and mouse presses after they placed it.
class TTextField : public QTextEdit {
public:
    using QTextEdit::QTextEdit;
    std::function<void()> OnKeyDown, OnMouseDown;

protected:
    void keyPressEvent(QKeyEvent* E) override {
        if (OnKeyDown) Guarded(OnKeyDown);
        QTextEdit::keyPressEvent(E);
    }
    void mousePressEvent(QMouseEvent* E) override {
        QTextEdit::mousePressEvent(E);
        if (OnMouseDown) Guarded(OnMouseDown);
    }
};

int EditInteger(const QLineEdit* Edit) {
    const QString Text = Edit->text();
    bool Ok = false;
    const int Value = Text.trimmed().toInt(&Ok, 10);
    if (!Ok) throw EConvertError(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(Text));
    return Value;
}

// Page strips of the picture print are the page's width x 1.35 high, in whole
// character rows.
int PrintStripHeight(int PageWidth) {
    return std::max(8, int(qint64(PageWidth) * 135 / 100) & ~7);
}

// Cursor, status text and progress bar around the drawing of a page.
struct TFormatting {
    TFormatting() {
        ShowHourglass();
        if (!MainWindow()) return;
        MainWindow()->StatusMsg(GetMsg(QStringLiteral("mFormatting")));
        MainWindow()->ProgressBar(0, 0);
        MainWindow()->ShowProgressBar(true);
    }
    ~TFormatting() {
        ShowNormalCursor();
        if (!MainWindow()) return;
        MainWindow()->ShowProgressBar(false);
        MainWindow()->StatusMsg(GetMsg(QStringLiteral("mREADY")));
    }
    TFormatting(const TFormatting&) = delete;
    TFormatting& operator=(const TFormatting&) = delete;
};

// Thrown when the window went away while its page was drawn for printing.
struct TPrintAborted {};
} // namespace

TChildWinText::TChildWinText(QWidget* Parent) : QWidget(Parent) {
    setObjectName(NewFormName(QStringLiteral("ChildWinText")));
    setAttribute(Qt::WA_DeleteOnClose);
    // FormCreate: the document and the character set live as long as the window.
    AtariText = std::make_unique<TAtariText>();
    AtariFont = std::make_unique<TAtariFont>();

    QVBoxLayout* Layout = NewWindowColumn(this);

    // ---- top panel: two rows of controls and the dock button at the right
    pnlTop = NewTopPanel(this, TopHeight);
    auto* TopLayout = new QHBoxLayout(pnlTop);
    TopLayout->setContentsMargins(2, 1, 2, 1);
    TopLayout->setSpacing(4);
    // The two rows are clipped at the dock button in a narrow window.
    auto* RowsHost = new QWidget;
    auto* Rows = new QVBoxLayout(RowsHost);
    Rows->setContentsMargins(0, 0, 0, 0);
    Rows->setSpacing(1);
    auto* Row1 = new QHBoxLayout;
    auto* Row2 = new QHBoxLayout;
    Row1->setSpacing(6);
    Row2->setSpacing(6);
    Rows->addLayout(Row1);
    Rows->addLayout(Row2);
    TopLayout->addWidget(new TClipBox(RowsHost, pnlTop), 1);

    auto Label = [this](const char* Name, const QString& Caption) {
        return NewPanelLabel(pnlTop, Name, Caption);
    };
    // White captions, grey when disabled; the marks inside the white indicators keep
    // the dark text colour.
    auto WhiteCaption = [](QWidget* W) {
        QPalette Pal = W->palette();
        for (QPalette::ColorGroup G : {QPalette::Active, QPalette::Inactive})
            Pal.setColor(G, QPalette::WindowText, Qt::white);
        Pal.setColor(QPalette::Disabled, QPalette::WindowText, WinColorToQColor(clBtnShadow));
        W->setPalette(Pal);
    };
    auto Radio = [this, WhiteCaption](const char* Name, const QString& Caption) {
        auto* R = new QRadioButton(Caption, pnlTop);
        R->setObjectName(QLatin1String(Name));
        WhiteCaption(R);
        return R;
    };
    auto Check = [this, WhiteCaption](const char* Name, const QString& Caption, const QString& Hint) {
        auto* C = new QCheckBox(Caption, pnlTop);
        C->setObjectName(QLatin1String(Name));
        SetHint(C, Hint);
        WhiteCaption(C);
        return C;
    };
    auto Edit = [this](const char* Name, const QString& Text) {
        auto* E = new QLineEdit(Text, pnlTop);
        E->setObjectName(QLatin1String(Name));
        E->setProperty("Tag", -1);
        E->setFixedWidth(36);
        return E;
    };

    btnReport =
        NewPanelButton(pnlTop, "btnReport", QStringLiteral("Drucken"), QStringLiteral("Text drucken"));
    lblTxtFormat = Label("lblTxtFormat", QStringLiteral("Format"));
    btnATASCII = Radio("btnATASCII", QStringLiteral("ATASCII"));
    btnASchreiber = Radio("btnASchreiber", QStringLiteral("ATARI-Schreiber"));
    btnStartexter = Radio("btnStartexter", QStringLiteral("Startexter"));
    btnATASCII->setChecked(true);
    cbSpecChars =
        Check("cbSpecChars", QStringLiteral("Uml"), QStringLiteral("Umlaute im ATARI-Modus anzeigen (j/n)"));
    for (QWidget* W : std::initializer_list<QWidget*>{btnReport, lblTxtFormat, btnATASCII, btnASchreiber,
                                                      btnStartexter, cbSpecChars})
        Row1->addWidget(W);
    Row1->addStretch(1);

    lblCharPerL = Label("lblCharPerL", QStringLiteral("Zeich/Zeile"));
    edCPL = Edit("edCPL", QStringLiteral("40"));
    lblLeftMarg = Label("lblLeftMarg", QStringLiteral("Linker Rand"));
    edLMarg = Edit("edLMarg", QStringLiteral("2"));
    btnReFormatListing =
        NewPanelButton(pnlTop, "btnReFormatListing", QString(), QStringLiteral("Aktualisieren"));
    btnReFormatListing->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    cbWordwrap = Check("cbWordwrap", QStringLiteral("Wortumbruch"), QStringLiteral("Wortumbruch ein/aus"));
    cbWordwrap->setChecked(true);
    lblTextAs = Label("lblTextAs", QStringLiteral("Text als"));
    cbTxtStyles = new QComboBox(pnlTop);
    cbTxtStyles->setObjectName(QStringLiteral("cbTxtStyles"));
    KeepDefaultTextColours(cbTxtStyles);
    cbTxtStyles->setProperty("Tag", -1);
    cbTxtStyles->addItems({QStringLiteral("ASCII"), QStringLiteral("RTF")});
    SetHint(cbTxtStyles, QStringLiteral("Steuerzeichen darstellen"));
    for (QWidget* W : std::initializer_list<QWidget*>{lblCharPerL, edCPL, lblLeftMarg, edLMarg,
                                                      btnReFormatListing, cbWordwrap, lblTextAs, cbTxtStyles})
        Row2->addWidget(W);
    Row2->addStretch(1);

    btnIsChildWin = NewPanelButton(pnlTop, "btnIsChildWin", QStringLiteral("<>"),
                                   QStringLiteral("Fenster aus-/eindocken"));
    btnIsChildWin->setProperty("Tag", -1);
    TopLayout->addWidget(btnIsChildWin, 0, Qt::AlignTop);
    ShowFocusMarks(pnlTop);
    Layout->addWidget(pnlTop);

    // ---- the two tabs
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    QFont RulerFont(QStringLiteral("ATASCII"));
    RulerFont.setPixelSize(8);
    QFont Courier(QStringLiteral("Courier New"), 10);
    Courier.setStyleHint(QFont::TypeWriter);

    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    QVBoxLayout* Page0 = NewColumnLayout(TabSheet2);
    Label2 = new QLabel(QLatin1String(Ruler), TabSheet2);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setProperty("Tag", -1);
    Label2->setFont(RulerFont);
    // A ruler is cut at the window's edge; it must not keep the window wide.
    Label2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    Label2->setAutoFillBackground(true);
    QPalette RulerPal = Label2->palette();
    RulerPal.setColor(QPalette::Window, Qt::black);
    RulerPal.setColor(QPalette::WindowText, Qt::white);
    Label2->setPalette(RulerPal);
    Page0->addWidget(Label2);
    imgText = new ImageView;
    imgText->setObjectName(QStringLiteral("imgText"));
    ScrollBox1 = NewImageScrollBox(TabSheet2, "ScrollBox1", imgText, true, clGray);
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);
    ScrollBox1->viewport()->installEventFilter(this);
    Page0->addWidget(ScrollBox1, 1);
    PageControl1->addTab(TabSheet2, QStringLiteral("ATARI Original (Bitmap)"));

    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    QVBoxLayout* Page1 = NewColumnLayout(TabSheet1);
    Label3 = new QLabel(QLatin1String(Ruler), TabSheet1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setProperty("Tag", -1);
    Label3->setFont(Courier);
    Label3->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    Label3->setAutoFillBackground(true);
    Label3->setPalette(RulerPal);
    Page1->addWidget(Label3);
    auto* Field = new TTextField(TabSheet1);
    TextField = Field;
    TextField->setObjectName(QStringLiteral("TextField"));
    TextField->setFont(Courier);
    TextField->document()->setDefaultFont(Courier);
    TextField->setAcceptRichText(false);
    TextField->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    TextField->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Field->OnKeyDown = [this] { TextFieldKeyDown(); };
    Field->OnMouseDown = [this] { TextFieldMouseDown(); };
    Page1->addWidget(TextField, 1);
    PageControl1->addTab(TabSheet1, QStringLiteral("PC-Text (ASCII/RTF)"));
    Layout->addWidget(PageControl1, 1);

    // ---- status bar: caret position, file name and length
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    const int PanelWidths[2] = {150, 250};
    for (int I = 0; I < 2; ++I) {
        StatusPanels[I] = new QLabel(StatusBar1);
        StatusPanels[I]->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(I));
        StatusPanels[I]->setProperty("Tag", -1);
        StatusPanels[I]->setTextFormat(Qt::PlainText);
        StatusPanels[I]->setFixedWidth(PanelWidths[I]);
        StatusBar1->addWidget(StatusPanels[I]);
    }
    Layout->addWidget(ClipWidth(StatusBar1));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    CopyToClipboard = PopupMenu1->addAction(QStringLiteral("In die Zwischenablage &kopieren"));
    CopyToClipboard->setObjectName(QStringLiteral("CopyToClipboard"));

    // ---- events
    ConnectGuarded(btnReport, &QToolButton::clicked, this, &TChildWinText::Button1Click);
    for (QRadioButton* R : {btnATASCII, btnASchreiber, btnStartexter})
        connect(R, &QRadioButton::toggled, this, [this](bool Checked) {
            if (Checked) Guarded([this] { btnASchreiberClick(); });
        });
    ConnectGuarded(cbSpecChars, &QCheckBox::toggled, this, &TChildWinText::cbSpecCharsClick);
    connect(edCPL, &QLineEdit::returnPressed, this, [this] { Guarded([this] { edCPLKeyDown(13); }); });
    connect(edLMarg, &QLineEdit::returnPressed, this, [this] { Guarded([this] { edCPLKeyDown(13); }); });
    ConnectGuarded(btnReFormatListing, &QToolButton::clicked, this, &TChildWinText::btnReFormatListingClick);
    ConnectGuarded(cbWordwrap, &QCheckBox::toggled, this, &TChildWinText::cbWordwrapClick);
    ConnectGuarded(cbTxtStyles, &QComboBox::currentIndexChanged, this, &TChildWinText::cbTxtStylesChange);
    ConnectGuarded(btnIsChildWin, &QToolButton::clicked, this, &TChildWinText::btnIsChildWinClick);
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this](int Index) { Guarded([this, Index] { PageControl1Change(Index); }); });
    ConnectGuarded(imgText, &ImageView::MouseUp, this, &TChildWinText::imgTextClick);
    AttachPopupMenu(this, imgText, PopupMenu1);
    ConnectGuarded(CopyToClipboard, &QAction::triggered, this, &TChildWinText::CopyToClipboardClick);

    PageControl1Change(PageControl1->currentIndex());
    resize(StartWidth, StartHeight);
}

TChildWinText::~TChildWinText() = default;

// ------------------------------------------------------------------ opening

void TChildWinText::OpenDocument(const QString& Path, const QString& Name) {
    QPointer<TChildWinText> Self(this);
    FOpenNotices.clear();
    FShownLength = -1;
    FOpening = true;
    const TClearOnExit Opened{Self, &TChildWinText::FOpening};
    SourceFileName = Path;
    setWindowTitle(QStringLiteral(" ") + Name);
    if (MainWindow()) {
        setWindowIcon(MainWindow()->DocumentIcon(TDocIcon::Txt));
        if (auto* Sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            Sub->setWindowIcon(MainWindow()->DocumentIcon(TDocIcon::Txt));
    }
    AtariText->Clear();
    AtariText->LoadFromFile(Path);
    AtariText->DetectFormat(Path);

    TextField->clear();
    const int Mode = TextMode >= 0 && TextMode <= 2 ? TextMode : AtariText->TextType;
    InsertPCText(AtariText->ToPCText(Mode));
    {
        const QSignalBlocker Block(cbTxtStyles);
        cbTxtStyles->setCurrentIndex(0);
    }
    AtariFont->InitFontTable();

    // The text tab is filled already: setting the dialect must not convert again.
    const int Cpl = Mode == TAtariText::ttStartexter ? 80 : 40;
    QRadioButton* Radio = Mode == TAtariText::ttASchreiber   ? btnASchreiber
                          : Mode == TAtariText::ttStartexter ? btnStartexter
                                                             : btnATASCII;
    for (QRadioButton* R : {btnATASCII, btnASchreiber, btnStartexter}) {
        const QSignalBlocker Block(R);
        R->setChecked(R == Radio);
    }
    edCPL->setText(QString::number(Cpl));
    edLMarg->setText(QStringLiteral("0"));
    ReformatText(imgText->Picture, textforecolor, textbackcolor);
    if (!Self) return; // closed while its page was drawn

    if (Cpl <= 40)
        SetFrameSize(this, StartWidth, StartHeight);
    else
        FitWindow();
    TextField->moveCursor(QTextCursor::Start);
    StatusPanels[1]->setText(GetMsg(QStringLiteral("mFile")) + QLatin1Char(' ') + Name +
                             QStringLiteral(" / ") + GetMsg(QStringLiteral("mLenBytes")) + QLatin1Char(' ') +
                             QString::number(AtariText->Length));
    ShowNormalCursor();
    if (AtariText->WasCut())
        FOpenNotices.prepend(Name + QStringLiteral(" (") + QString::number(AtariText->FileLength) +
                             QStringLiteral(" Bytes): ") + GetMsg(QStringLiteral("mTextCut")));
}

void TChildWinText::ShowOpenNotices() {
    const QStringList Notices = std::exchange(FOpenNotices, {});
    if (!Notices.isEmpty()) ShowWarningMsg(Notices.join(QLatin1Char('\n')));
}

// The PC text goes in at the end of the text tab, without styles.
void TChildWinText::InsertPCText(const QByteArray& Text) {
    QString Unicode = Cp1252ToUnicode(Text);
    Unicode.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QTextCursor Cursor(TextField->document());
    Cursor.movePosition(QTextCursor::End);
    Cursor.insertText(Unicode, QTextCharFormat());
}

int TChildWinText::Dialect() const {
    if (btnATASCII->isChecked()) return TAtariText::ttATASCII;
    if (btnASchreiber->isChecked()) return TAtariText::ttASchreiber;
    return TAtariText::ttStartexter;
}

// ------------------------------------------------------------------ drawing the page

bool TChildWinText::ReformatText(QImage& Image, quint32 FgColor, quint32 BgColor) {
    const int Cpl = EditInteger(edCPL), Lm = EditInteger(edLMarg);
    if (Cpl < 1 || Cpl > 160 || Lm < 0 || Lm > 80) return false;
    const TPageLayout Layout{Cpl, Lm, CharSelector, FgColor, BgColor};
    if (&Image == &imgText->Picture) return DrawShownPage(Layout);
    return RenderPage(Image, Layout, false);
}

bool TChildWinText::DrawShownPage(const TPageLayout& Layout) {
    if (FDrawing) {
        // Asked again while drawing (events run meanwhile): the running drawing
        // stops and starts over with these values.
        FPendingLayout = Layout;
        FRedrawPending = true;
        return false;
    }
    QPointer<TChildWinText> Self(this);
    FDrawing = true;
    struct TReset {
        QPointer<TChildWinText> W;
        ~TReset() {
            if (W) W->FDrawing = false, W->FRedrawPending = false;
        }
    } Reset{Self};
    TPageLayout Next = Layout;
    for (;;) {
        FRedrawPending = false;
        // The page gets a new size: it is shown 1:1 again, as it is drawn.
        imgText->SetZoom(1.0);
        int Drawn = 0;
        const bool Done = RenderPage(imgText->Picture, Next, true, &Drawn);
        if (!Self) return false;
        if (Done) FShown = Next;
        imgText->Changed();
        if (!FRedrawPending) {
            if (Done) NoteShownLength(Drawn);
            return Done;
        }
        Next = FPendingLayout;
    }
}

void TChildWinText::NoteShownLength(int Drawn) {
    const bool Tell = Drawn < AtariText->Length && Drawn != FShownLength;
    FShownLength = Drawn;
    if (!Tell) return;
    // The page is 4 + 8 x lines + 10 pixels high; the last row is empty.
    const QString Notice = AtariText->FileName + QStringLiteral(" (") +
                           QString::number(AtariText->FileLength) + QStringLiteral(" Bytes): ") +
                           GetMsg(QStringLiteral("mTextTooTall")) + QLatin1Char(' ') +
                           QString::number((imgText->Picture.height() - 14) / 8);
    if (FOpening)
        FOpenNotices << Notice;
    else
        ShowWarningMsg(Notice);
}

bool TChildWinText::RenderPage(QImage& Image, const TPageLayout& Layout, bool Shown, int* Drawn) {
    TFormatting Formatting;
    TThrottledProgress Progress;
    std::function<void()> Repaint;
    if (Shown) {
        FRepaintClock.start();
        Repaint = [this] {
            if (FRedrawPending) {
                imgText->Picture = QImage(); // ends this drawing; the new one follows
                return;
            }
            if (FRepaintClock.elapsed() >= RepaintMs) {
                imgText->Changed();
                FRepaintClock.restart();
            }
        };
    }
    // A page taller than the drawing allows shows the lines that fit.
    const int Fits = TAtariFont::FittingLength(AtariText->Buffer.data(), AtariText->Length, 0, 155, 0, 1,
                                               Layout.Cpl, Layout.Lm, 0);
    if (Drawn) *Drawn = Fits;
    const bool Done = AtariFont->RenderText(
        Image, Layout.Selector, AtariText->Buffer.data(), Fits, 0, 155, 0, 1, Layout.Cpl, Layout.Lm, 0, 0,
        Layout.Fg, Layout.Bg, [&Progress](int Pos, int Max) { Progress(Pos, Max); }, this, Repaint);
    Progress.Flush(); // the bar ends where the drawing ended
    return Done;
}

void TChildWinText::btnReFormatListingClick() {
    ReformatText(imgText->Picture, textforecolor, textbackcolor);
}

void TChildWinText::edCPLKeyDown(int Key) {
    if (Key == 13) btnReFormatListingClick();
}

void TChildWinText::cbSpecCharsClick() {
    if (cbSpecChars->isChecked()) {
        if (btnStartexter->isChecked())
            CharSelector = 2;
        else if (btnASchreiber->isChecked() || btnATASCII->isChecked())
            CharSelector = 3;
    } else {
        CharSelector = 1;
    }
    ReformatText(imgText->Picture, textforecolor, textbackcolor);
}

// ------------------------------------------------------------------ dialect and text tab

void TChildWinText::btnASchreiberClick() {
    const int D = Dialect();
    const int Cpl = D == TAtariText::ttStartexter ? 80 : 40, Lm = 0;
    TextField->clear();
    if (cbTxtStyles->currentIndex() == 1) {
        TTextDocumentSink Sink(*TextField->document());
        AtariText->ToRichEdit(Sink, D);
    } else {
        InsertPCText(AtariText->ToPCText(D));
    }
    TextField->moveCursor(QTextCursor::Start);
    edCPL->setText(QString::number(Cpl));
    edLMarg->setText(QString::number(Lm));
    ReformatText(imgText->Picture, textforecolor, textbackcolor);
}

void TChildWinText::cbTxtStylesChange() {
    const int D = Dialect();
    TextField->clear();
    TextField->setCurrentCharFormat(QTextCharFormat());
    ShowHourglass();
    if (cbTxtStyles->currentIndex() == 1) {
        TTextDocumentSink Sink(*TextField->document());
        AtariText->ToRichEdit(Sink, D);
    } else {
        InsertPCText(AtariText->ToPCText(D) + "\r\n");
    }
    TextField->moveCursor(QTextCursor::Start);
    ShowNormalCursor();
}

void TChildWinText::PageControl1Change(int Index) {
    const bool TextPage = Index == 1;
    cbWordwrap->setEnabled(TextPage);
    cbTxtStyles->setEnabled(TextPage);
    for (QWidget* W :
         std::initializer_list<QWidget*>{lblCharPerL, lblLeftMarg, edCPL, edLMarg, btnReFormatListing})
        W->setEnabled(!TextPage);
}

void TChildWinText::cbWordwrapClick() {
    TextField->setLineWrapMode(cbWordwrap->isChecked() ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

void TChildWinText::ShowCaretPos() {
    // Lines as the text field shows them (wrapped lines count), both from 1.
    const QTextCursor C = TextField->textCursor();
    const QTextBlock Block = C.block();
    int Line = 0, Column = C.positionInBlock();
    for (QTextBlock B = TextField->document()->begin(); B.isValid() && B != Block; B = B.next())
        Line += std::max(1, B.layout() ? B.layout()->lineCount() : 1);
    if (const QTextLayout* L = Block.layout(); L && L->lineCount() > 0) {
        const QTextLine Visual = L->lineForTextPosition(C.positionInBlock());
        if (Visual.isValid()) {
            Line += Visual.lineNumber();
            Column = C.positionInBlock() - Visual.textStart();
        }
    }
    StatusPanels[0]->setText(QStringLiteral("X:%1 Y:%2").arg(Column + 1).arg(Line + 1));
}

QString TChildWinText::StatusPanelText(int Index) const {
    return Index >= 0 && Index < 2 ? StatusPanels[Index]->text() : QString();
}

// ------------------------------------------------------------------ scroll box and image

bool TChildWinText::eventFilter(QObject* Watched, QEvent* E) {
    if (Watched == ScrollBox1->viewport()) {
        if (E->type() == QEvent::Wheel) {
            const int Delta = static_cast<QWheelEvent*>(E)->angleDelta().y();
            if (Delta < 0) Guarded([this] { ScrollBox1MouseWheelDown(); });
            if (Delta > 0) Guarded([this] { ScrollBox1MouseWheelUp(); });
            return true;
        }
        if (E->type() == QEvent::MouseButtonRelease) Guarded([this] { ScrollBox1Click(); });
    }
    return QWidget::eventFilter(Watched, E);
}

void TChildWinText::imgTextClick() {
    ScrollBox1->setFocus();
}

void TChildWinText::ScrollBox1Click() {
    ScrollBox1->setFocus();
}

void TChildWinText::ScrollBox1MouseWheelDown() {
    ScrollVertically(ScrollBox1, WheelScrollStep);
}

void TChildWinText::ScrollBox1MouseWheelUp() {
    ScrollVertically(ScrollBox1, -WheelScrollStep);
}

void TChildWinText::CopyToClipboardClick() {
    QApplication::clipboard()->setImage(imgText->Picture);
}

// ------------------------------------------------------------------ window size and zoom

void TChildWinText::FitWindow() {
    ShowFrameNormal(this);
    QWidget* F = DocumentFrame(this);
    const int Client = std::max(imgText->ViewSize().width() + 32,
                                ControlsWidth(this, {PanelNeed(pnlTop), PanelNeed(StatusBar1)}));
    SetFrameSize(this, Client + (F->width() - width()), F->height());
}

void TChildWinText::ZoomIn() {
    ScaleZoom(imgText, 2);
}

void TChildWinText::ZoomOut() {
    ScaleZoom(imgText, 0.5);
}

void TChildWinText::btnIsChildWinClick() {
    ToggleDocking(this, IsChildWin, QPoint(10, 10));
    SetFrameSize(this, StartWidth, StartHeight);
}

// ------------------------------------------------------------------ saving

void TChildWinText::FileSaveAsItemClick() {
    if (MainWindow()) MainWindow()->StatusMsg(GetMsg(QStringLiteral("mFileSaveAs")));
    TFileDialogRequest Request;
    Request.Save = true;
    Request.Filter = QStringLiteral("RTF|*.RTF|TXT|*.TXT|BMP|*.BMP|JPG|*.JPG");
    Request.FilterIndex = 1;
    Request.FileName = NameBeforeDot(AtariText->FileName);
    Request.InitialDir = SourceFileName.isEmpty() ? openpath : QFileInfo(SourceFileName).absolutePath();
    QString Name;
    if (ExecuteSaveDialogWithExt(this, Request, {".RTF", ".TXT", ".BMP", ".JPG"}, Name)) SaveToFile(Name);
}

void TChildWinText::SaveToFile(const QString& FileName) {
    const QString Ext = ExtractFileExtUpper(QFileInfo(FileName).fileName());
    if (Ext == QLatin1String(".RTF")) {
        WriteWholeFile(FileName, DocumentToRtf(*TextField->document()));
    } else if (Ext == QLatin1String(".TXT")) {
        // The text as it stands in the field; paragraphs end with CR LF.
        QString Text = TextField->document()->toRawText();
        Text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
        Text.replace(QChar::LineSeparator, QLatin1String("\r\n"));
        WriteWholeFile(FileName, UnicodeToCp1252(Text));
    } else if (!SavePictureFile(imgText->Picture, FileName, 95)) {
        // Nothing can be written under that name: say so instead of pretending.
        WarnUnknownFileFormat(FileName);
    }
}

// ------------------------------------------------------------------ printing

void TChildWinText::PrintReport() {
    if (!fGlobal || FPrinting) return;
    const int Page = PageControl1->currentIndex();
    if (Page == 0 && FShown.Cpl == 0) return; // no page drawn yet
    if (Page != 0 && Page != 1) return;
    QPointer<TChildWinText> Self(this);
    FPrinting = true;
    const TClearOnExit Reset{Self, &TChildWinText::FPrinting};
    try {
        fGlobal->ExecuteJob([this, Page](TReportJob& Job) {
            if (Page == 1)
                Job.AddFlowingText(*TextField->document(), 1.0, 7.0, 2);
            else
                AddPicturePages(Job);
        });
    } catch (const TPrintAborted&) {
        // The window was closed meanwhile: nothing is printed.
    }
}

void TChildWinText::AddPicturePages(TReportJob& Job) {
    QPointer<TChildWinText> Self(this);
    // The page as shown, drawn again in the print colours.
    TPageLayout Layout = FShown;
    Layout.Fg = textPrintforecolor;
    Layout.Bg = textPrintbackcolor;
    QImage Full;
    const bool Done = RenderPage(Full, Layout, false);
    if (!Self || !Done) throw TPrintAborted();

    const int Width = Full.width(), Height = Full.height();
    const int Strip = PrintStripHeight(Width);
    const int Pages = Height / Strip + 1;
    for (int I = 0; I < Pages; ++I) {
        // Rows from I x Strip + 4 on, without the frame's outer columns.
        QImage Part(Width, Strip, QImage::Format_RGB32);
        Part.fill(Qt::white);
        const int Top = I * Strip + 4;
        const int Rows = std::min(Strip, Height - Top);
        const int Columns = Width - 2;
        for (int Y = 0; Y < Rows; ++Y) {
            const QRgb* Src = reinterpret_cast<const QRgb*>(Full.constScanLine(Top + Y)) + 1;
            std::copy_n(Src, Columns, reinterpret_cast<QRgb*>(Part.scanLine(Y)));
        }
        fGlobal->SelectReport(QStringLiteral("TextGraphicReport"));
        fGlobal->SetParam(QStringLiteral("Titel"), AtariText->FileName);
        fGlobal->SetParam(QStringLiteral("PageNumText"), QStringLiteral("%1 / %2").arg(I + 1).arg(Pages));
        fGlobal->SetImage(QStringLiteral("ImagepathText"), Part);
        fGlobal->AddPage(Job);
    }
}
