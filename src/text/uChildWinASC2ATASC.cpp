#include "uChildWinASC2ATASC.h"

#include "FileDialogs.h"
#include "FocusMark.h"
#include "ImageView.h"
#include "VekButton.h"
#include "uDocWindow.h"
#include "uFGlobal.h"
#include "uGlobal.h"
#include "uMainLink.h"
#include "uYESNOCANCEL.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <vector>

namespace {
constexpr int TopHeight = 48;
// A PC text is converted into at most 250000 Atari bytes; four times that leaves room
// for line ends and characters that vanish. A larger file is refused, not cut, so a
// later save cannot write a shortened copy over it.
constexpr qint64 MaxPCTextFile = qint64(1024) * 1024;
constexpr int EditorHeight = 145;

const char* const Ruler = "[........10........20........30........40........50........60........70.........]";

// The runtime's integer conversion: a number or an EConvertError.
int StrToInt(const QString& Text) {
    bool Ok = false;
    const int V = Text.trimmed().toInt(&Ok, 10);
    if (!Ok) throw EConvertError(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(Text));
    return V;
}

QFont CourierNew() {
    QFont F(QStringLiteral("Courier New"), 10);
    F.setStyleHint(QFont::TypeWriter);
    F.setFixedPitch(true);
    return F;
}

// Hourglass, status text and progress bar while a page is drawn; put back however
// the drawing ends.
class TFormatting {
public:
    TFormatting() {
        ShowHourglass();
        if (MainWindow()) {
            MainWindow()->StatusMsg(GetMsg(QStringLiteral("mFormatting")));
            MainWindow()->ProgressBar(0, 0);
            MainWindow()->ShowProgressBar(true);
        }
    }
    ~TFormatting() {
        ShowNormalCursor();
        if (MainWindow()) {
            MainWindow()->ShowProgressBar(false);
            MainWindow()->StatusMsg(GetMsg(QStringLiteral("mREADY")));
        }
    }
    TFormatting(const TFormatting&) = delete;
    TFormatting& operator=(const TFormatting&) = delete;
};
} // namespace

TChildWinASC2ATASC::TChildWinASC2ATASC(QWidget* Parent) : QWidget(Parent) {
    setObjectName(NewFormName(QStringLiteral("ChildWinASC2ATASC")));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Editor ASCII->ATASCII"));
    // FormCreate: the three objects live as long as the window.
    AtariFont = std::make_unique<TAtariFont>();
    AtariText = std::make_unique<TAtariText>();
    ConvertA8 = std::make_unique<TConvertA8>();

    QVBoxLayout* Layout = NewWindowColumn(this);

    pnlTop = NewTopPanel(this, TopHeight);
    auto* TopLayout = new QHBoxLayout(pnlTop);
    TopLayout->setContentsMargins(4, 2, 4, 2);
    QHBoxLayout* Controls = NewClippedRow(TopLayout);
    auto Button = [this, Controls](const char* Name, const QString& Caption, const QString& Hint) {
        QToolButton* B = NewPanelButton(pnlTop, Name, Caption, Hint);
        Controls->addWidget(B);
        return B;
    };
    auto Label = [this, Controls](const char* Name, const QString& Caption) {
        QLabel* L = NewPanelLabel(pnlTop, Name, Caption);
        Controls->addWidget(L);
        return L;
    };
    auto Edit = [this, Controls](const char* Name, const QString& Text) {
        auto* E = new QLineEdit(Text, pnlTop);
        E->setObjectName(QLatin1String(Name));
        E->setFixedWidth(40);
        E->setProperty("Tag", -1); // the user's value, not a text to translate
        Controls->addWidget(E);
        return E;
    };
    btnOpen = Button("btnOpen", QStringLiteral("Laden"), QStringLiteral("ASCII laden"));
    btnSave = Button("btnSave", QStringLiteral("Speichern"), QStringLiteral("Text speichern"));
    btnATASCII = Button("btnATASCII", QStringLiteral("ATASCII"), QStringLiteral("ATASCII erzeugen"));
    cbAutoConvert = new QCheckBox(QStringLiteral("Auto"), pnlTop);
    cbAutoConvert->setObjectName(QStringLiteral("cbAutoConvert"));
    SetHint(cbAutoConvert, QStringLiteral("Auto update ATASCII"));
    Controls->addWidget(cbAutoConvert);
    Controls->addSpacing(8);
    lblCharPerL = Label("lblCharPerL", QStringLiteral("Zeich/Zeile"));
    edCPL = Edit("edCPL", QStringLiteral("40"));
    lblLeftMarg = Label("lblLeftMarg", QStringLiteral("Linker Rand"));
    edLMarg = Edit("edLMarg", QStringLiteral("2"));
    btnUpdate = Button("btnUpdate", QString(), QStringLiteral("Aktualisieren"));
    btnUpdate->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    btnUpdate->setProperty("Tag", -1);
    Controls->addStretch(1);
    btnIsChildWin = NewPanelButton(pnlTop, "btnIsChildWin", QStringLiteral("<>"),
                                   QStringLiteral("Fenster aus-/eindocken"));
    TopLayout->addWidget(btnIsChildWin);
    btnIsChildWin->setProperty("Tag", -1);
    ShowFocusMarks(pnlTop);
    Layout->addWidget(pnlTop);

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(5);
    Splitter1->setChildrenCollapsible(false);

    Panel1 = new QWidget(Splitter1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    QVBoxLayout* EditorLayout = NewColumnLayout(Panel1);
    lblASCIIEditor = new QLabel(QStringLiteral("ASCII-Editor"), Panel1);
    lblASCIIEditor->setObjectName(QStringLiteral("lblASCIIEditor"));
    EditorLayout->addWidget(lblASCIIEditor);
    Label3 = new QLabel(QLatin1String(Ruler), Panel1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(CourierNew());
    Label3->setProperty("Tag", -1);
    Label3->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    EditorLayout->addWidget(Label3);
    TextEdit = new QPlainTextEdit(Panel1);
    TextEdit->setObjectName(QStringLiteral("TextEdit"));
    TextEdit->setFont(CourierNew());
    TextEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    EditorLayout->addWidget(TextEdit, 1);

    Panel2 = new QWidget(Splitter1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    QVBoxLayout* PreviewLayout = NewColumnLayout(Panel2);
    lblATASCIIPreview = new QLabel(QStringLiteral("ATASCII-Preview"), Panel2);
    lblATASCIIPreview->setObjectName(QStringLiteral("lblATASCIIPreview"));
    PreviewLayout->addWidget(lblATASCIIPreview);
    imgText = new ImageView;
    imgText->setObjectName(QStringLiteral("imgText"));
    ScrollBox1 = NewImageScrollBox(Panel2, "ScrollBox1", imgText, true, clGray);
    PreviewLayout->addWidget(ScrollBox1, 1);

    Splitter1->addWidget(Panel1);
    Splitter1->addWidget(Panel2);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({EditorHeight, 300});
    Layout->addWidget(Splitter1, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    Layout->addWidget(ClipWidth(StatusBar1));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);

    ConnectGuarded(btnOpen, &QToolButton::clicked, this, &TChildWinASC2ATASC::btnOpenClick);
    ConnectGuarded(btnSave, &QToolButton::clicked, this, &TChildWinASC2ATASC::btnSaveClick);
    ConnectGuarded(btnATASCII, &QToolButton::clicked, this, &TChildWinASC2ATASC::btnATASCIIClick);
    ConnectGuarded(btnUpdate, &QToolButton::clicked, this, &TChildWinASC2ATASC::btnReFormatListingClick);
    ConnectGuarded(btnIsChildWin, &QToolButton::clicked, this, &TChildWinASC2ATASC::btnIsChildWinClick);
    ConnectGuarded(cbAutoConvert, &QCheckBox::toggled, this, &TChildWinASC2ATASC::cbAutoConvertClick);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    resize(660, 420);
}

TChildWinASC2ATASC::~TChildWinASC2ATASC() = default;

bool TChildWinASC2ATASC::FormCloseQuery() {
    if (!Modified()) return true;
    return MayCloseUnsaved(window(), [this] {
        SaveTextFile();
        return !Modified();
    });
}

void TChildWinASC2ATASC::closeEvent(QCloseEvent* E) {
    bool MayClose = CloseAlreadyAgreed(this);
    if (!MayClose) Guarded([&] { MayClose = FormCloseQuery(); });
    if (!MayClose) {
        E->ignore();
        return;
    }
    // FormClose: no tick may reach a closing window.
    Timer1->stop();
    FClosed = true;
    QWidget::closeEvent(E);
}

// ------------------------------------------------------------------ conversion and page

QByteArray TChildWinASC2ATASC::EditorText() const {
    return EditorTextToPCText(TextEdit->toPlainText());
}

QString TChildWinASC2ATASC::EditorFileText() const {
    // The plain text would turn no-break spaces into spaces.
    QString Text = TextEdit->document()->toRawText();
    Text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return Text;
}

QByteArray TChildWinASC2ATASC::EditorAtascii() const {
    TConvertA8 Convert;
    Convert.Text = EditorText();
    Convert.TextLength = int(Convert.Text.size());
    // Room past the buffer shows a text that does not fit (one character gives at most
    // a few bytes).
    std::vector<quint8> Bytes(TAtariText::BufferSize + 16);
    const int N = Convert.ToATASCII(Bytes.data(), int(Bytes.size()));
    return QByteArray(reinterpret_cast<const char*>(Bytes.data()), N);
}

void TChildWinASC2ATASC::ConvertAndReformat() {
    // Events run while the page is drawn; a second conversion then would change the
    // bytes being drawn.
    if (FFormatting) return;
    ConvertA8->Text = EditorText();
    ConvertA8->TextLength = int(ConvertA8->Text.size());
    AtariText->Length = ConvertA8->ToATASCII(AtariText->Buffer.data(), int(AtariText->Buffer.size()));
    ReformatText(imgText, textforecolor, textbackcolor);
}

void TChildWinASC2ATASC::ReformatText(ImageView* Image, quint32 FgColor, quint32 BgColor) {
    const int Cpl = StrToInt(edCPL->text());
    const int Lm = StrToInt(edLMarg->text());
    if (Cpl < 1 || Cpl > 160 || Lm < 0 || Lm > 80) return;
    if (!Image || FFormatting) return;
    QPointer<TChildWinASC2ATASC> Self(this);
    QPointer<ImageView> View(Image);
    bool Done = false;
    {
        FFormatting = true;
        struct TClear {
            QPointer<TChildWinASC2ATASC>& Self;
            ~TClear() {
                if (Self) Self->FFormatting = false;
            }
        } Clear{Self};
        TFormatting Status;
        // The preview and the progress bar are painted only every so often.
        TThrottledProgress Progress;
        TPaintClock Paint;
        Done = AtariFont->RenderText(
            Image->Picture, 1, AtariText->Buffer.data(), AtariText->Length, 0, 155, 0, 1, Cpl, Lm, 0, 0,
            FgColor, BgColor, [&Progress](int Position, int Max) { Progress(Position, Max); }, this,
            [View, &Paint] {
                if (View && Paint.Due()) View->Changed();
            });
        Progress.Flush();
    }
    if (Self && View && Done) View->Changed();
}

void TChildWinASC2ATASC::Timer1Timer() {
    // A failing conversion shows its error box; no further tick may stack another box
    // on it, so the timer waits until the handler is done.
    Timer1->stop();
    QPointer<TChildWinASC2ATASC> Self(this);
    Guarded([this] { ConvertAndReformat(); });
    if (Self && !FClosed && cbAutoConvert->isChecked()) Timer1->start();
}

void TChildWinASC2ATASC::cbAutoConvertClick() {
    if (cbAutoConvert->isChecked() && !FClosed)
        Timer1->start();
    else
        Timer1->stop();
}

// ------------------------------------------------------------------ files

void TChildWinASC2ATASC::OpenTextFile() {
    TFileDialogRequest Request;
    Request.Filter = QStringLiteral("TXT|*.TXT");
    Request.MultiSelect = true;
    Request.InitialDir = openpath;
    QStringList Files;
    if (!ExecuteFileDialog(this, Request, Files) || Files.isEmpty()) return;
    const QString Path = QFileInfo(Files.first()).absoluteFilePath();
    openpath = QFileInfo(Path).absolutePath() + QLatin1Char('/');
    // Read first: a refused file must not become the name a later save proposes.
    TPCTextFormat Format;
    const QString Text = PCTextToEditorText(ReadWholeFile(Path, MaxPCTextFile), &Format);
    FileName = DisplayName(Path);
    SourceFileName = Path;
    TextFormat = Format;
    TextEdit->setPlainText(Text);
    FSavedText = EditorFileText();
    ConvertAndReformat();
}

void TChildWinASC2ATASC::SaveTextFile() {
    TFileDialogRequest Request;
    Request.Save = true;
    Request.Filter = QStringLiteral("Text (ATASCII)|*.TXT|Text (ASCII)|*.TXT");
    Request.FilterIndex = FSaveFilterIndex;
    Request.InitialDir = openpath;
    // The upper-case display name would make a second file beside a lower-case one.
    Request.FileName = SourceFileName.isEmpty() ? FileName : QFileInfo(SourceFileName).fileName();
    QStringList Files;
    if (!ExecuteFileDialog(this, Request, Files) || Files.isEmpty()) return;
    FSaveFilterIndex = Request.FilterIndex;
    const QString Name = Files.first();
    // The file holds the text as the editor shows it, also when it changed after the
    // last conversion (the preview stays as that conversion drew it).
    const QString Text = EditorFileText();
    if (Request.FilterIndex == 1) {
        const QByteArray Atascii = EditorAtascii();
        // A cut file would pass for the whole text.
        if (Atascii.size() > TAtariText::BufferSize) {
            ShowWarningMsg(Name + QStringLiteral(": ") + GetMsg(QStringLiteral("mATASCIITooLong")));
            return;
        }
        WriteWholeFile(Name, Atascii);
    } else if (Request.FilterIndex == 2)
        WriteWholeFile(Name, EditorTextToFile(Text, TextFormat));
    else
        return;
    FSavedText = Text;
}

// ------------------------------------------------------------------ view and printing

void TChildWinASC2ATASC::ZoomIn() {
    ScaleZoom(imgText, 2);
}

void TChildWinASC2ATASC::ZoomOut() {
    ScaleZoom(imgText, 0.5);
}

void TChildWinASC2ATASC::btnIsChildWinClick() {
    ToggleDocking(this, IsChildWin);
}

void TChildWinASC2ATASC::PrintReport() {
    if (!fGlobal) return;
    // Before the first conversion there is no page yet: the report would hold only
    // its frame and title.
    if (imgText->Picture.isNull()) {
        QPointer<TChildWinASC2ATASC> Self(this);
        ConvertAndReformat();
        if (!Self || FClosed) return; // closed while the page was drawn
    }
    fGlobal->SelectReport(QStringLiteral("GraphicReport"));
    fGlobal->SetParam(QStringLiteral("Titel"), QStringLiteral("ATASCII"));
    // The page goes to the report in memory: no file in the program folder.
    fGlobal->SetImage(QStringLiteral("ImagePathGraphic"), imgText->Picture);
    fGlobal->Execute();
}
