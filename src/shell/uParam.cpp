#include "uParam.h"

#include "DialogBody.h"
#include "FileDialogs.h"
#include "FocusMark.h"
#include "IniFile.h"
#include "VekButton.h"
#include "uGlobal.h"
#include "uSplash.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCollator>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

TfrmParameter* frmParameter = nullptr;

namespace {
constexpr quint32 clYellow = 0x00FFFF;

void SetTextColor(QWidget* W, const QColor& Colour) {
    QPalette Pal = W->palette();
    Pal.setColor(QPalette::WindowText, Colour);
    W->setPalette(Pal);
}

template <class T> T* Named(T* W, const char* Name) {
    W->setObjectName(QLatin1String(Name));
    return W;
}

QLabel* Heading(QWidget* Parent, const char* Name, const QString& Text) {
    auto* L = Named(new QLabel(Text, Parent), Name);
    QFont F = L->font();
    F.setBold(true);
    F.setPointSize(F.pointSize() + 2);
    L->setFont(F);
    SetTextColor(L, WinColorToQColor(clYellow));
    return L;
}

// The style's focus frame hardly shows on a selected entry's blue: the entry with
// the focus gets a dotted line of white and black, which shows on any entry.
class TFocusedEntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override {
        QStyleOptionViewItem Plain = Option;
        Plain.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(Painter, Plain, Index);
        if (Option.state & QStyle::State_HasFocus) DrawFocusMark(*Painter, Option.rect, Qt::white, Qt::black);
    }
};

// Some window managers give the keyboard to the main window, behind the dialog, when
// a dialog over it closes: before the dialog asks for the keyboard back, or after. So
// until the user acts, or for a moment, the dialog takes the keyboard back, on Control,
// whenever another window of the program becomes the active one.
class TKeepKeyboard : public QObject {
public:
    TKeepKeyboard(QWidget* Dialog, QWidget* Control) : QObject(Dialog), FDialog(Dialog), FControl(Control) {
        qApp->installEventFilter(this);
        QTimer::singleShot(1000, this, [this] { deleteLater(); });
        TakeBack();
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override {
        switch (E->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
            deleteLater();
            break;
        case QEvent::WindowActivate:
            if (Watched != FDialog && Watched->isWidgetType() && static_cast<QWidget*>(Watched)->isWindow())
                QMetaObject::invokeMethod(
                    this, [this] { TakeBack(); }, Qt::QueuedConnection);
            break;
        default:
            break;
        }
        return false;
    }

private:
    void TakeBack() {
        if (!FDialog->isVisible()) return;
        FDialog->activateWindow();
        if (FControl) FControl->setFocus(Qt::OtherFocusReason);
    }
    QWidget* FDialog;
    QPointer<QWidget> FControl;
};

TVekButton* DialogButton(QWidget* Parent, const char* Name, const QString& Caption,
                         const QString& Hint = {}) {
    auto* B = Named(new TVekButton(Parent), Name);
    B->SetCaption(Caption);
    if (!Hint.isEmpty()) B->SetHint(Hint);
    B->LookStyle()->SetBorderColor(clInactiveCaptionText);
    B->setMinimumSize(90, 25);
    return B;
}
} // namespace

TVekButton* TfrmParameter::ColorButton(const char* Name, quint32* Setting) {
    auto* B = Named(new TVekButton(this), Name);
    B->SetHint(QStringLiteral("Farbe wählen"));
    B->setCursor(Qt::PointingHandCursor);
    B->LookStyle()->SetBorderColor(clInactiveCaptionText);
    B->setFixedSize(44, 22);
    connect(B, &QPushButton::clicked, this, [this, B] { Guarded([this, B] { btnCol0Click(B); }); });
    FColorSettings.push_back({B, Setting});
    return B;
}

TfrmParameter::TfrmParameter(QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("frmParameter"));
    setWindowTitle(QStringLiteral("Einstellungen"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // Of fixed size; on a screen too small for it, it scrolls.
    QWidget* Body = NewDialogBody(this, QSize(691, 630));
    setAutoFillBackground(true);
    QPalette Pal = palette();
    Pal.setColor(QPalette::Window, WinColorToQColor(TopPanelColor));
    Pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(Pal);

    // A group of colour buttons, each with its label on the left.
    auto ColourGroup = [this](const char* Name, const QString& Title,
                              std::initializer_list<std::tuple<TVekButton*, const char*, QString>> Rows) {
        auto* G = Named(new QGroupBox(Title, this), Name);
        auto* Grid = new QGridLayout(G);
        int Row = 0;
        for (const auto& [Button, LabelName, Text] : Rows) {
            auto* L = Named(new QLabel(Text, G), LabelName);
            Button->setParent(G);
            Grid->addWidget(L, Row, 0);
            Grid->addWidget(Button, Row, 1, Qt::AlignRight);
            ++Row;
        }
        return G;
    };
    const QString Back = QStringLiteral("Hintergrund"), Fore = QStringLiteral("Vordergrund");

    Image12 = Named(new QLabel(this), "Image12");
    Image12->setPixmap(DecorationStrip(width()));
    Image12->setFixedHeight(3);
    Image1 = Named(new QLabel(this), "Image1");
    Image1->setPixmap(DecorationStrip(width()));
    Image1->setFixedHeight(3);

    lblGrapics = Heading(this, "lblGrapics", QStringLiteral("Grafiken"));
    lblListings = Heading(this, "lblListings", QStringLiteral("Listings"));
    lblText = Heading(this, "lblText", QStringLiteral("Texte"));
    lblFonts = Heading(this, "lblFonts", QStringLiteral("Fonts"));
    Label21 = Heading(this, "Label21", QStringLiteral("Datei-Erweiterungen"));

    // Graphics: base colours and photo format, below them 2x2 order and GR.8 colours.
    rgBaseColors = Named(new QGroupBox(QStringLiteral(" ATARI GR.15 Grundfarben  "), this), "rgBaseColors");
    {
        auto* Grid = new QGridLayout(rgBaseColors);
        TVekButton** Buttons[4] = {&btnCol0, &btnCol1, &btnCol2, &btnCol3};
        quint32* Settings[4] = {&col0, &col1, &col2, &col3};
        const char* ButtonNames[4] = {"btnCol0", "btnCol1", "btnCol2", "btnCol3"};
        const char* LabelNames[4] = {"lblCol0", "lblCol1", "lblCol2", "lblCol3"};
        for (int I = 0; I < 4; ++I) {
            *Buttons[I] = ColorButton(ButtonNames[I], Settings[I]);
            (*Buttons[I])->setParent(rgBaseColors);
            auto* L = Named(new QLabel(QStringLiteral("Col. %1").arg(I), rgBaseColors), LabelNames[I]);
            Grid->addWidget(L, 0, I, Qt::AlignHCenter);
            Grid->addWidget(*Buttons[I], 1, I, Qt::AlignHCenter);
        }
    }
    rgPhoFormat = Named(new QGroupBox(QStringLiteral(" PHOTO-Format "), this), "rgPhoFormat");
    {
        auto* Box = new QVBoxLayout(rgPhoFormat);
        rbPHO1 = Named(new QRadioButton(QStringLiteral("Quillorn (alt)"), rgPhoFormat), "rbPHO1");
        rbPHO2 = Named(new QRadioButton(QStringLiteral("TEVRA-Publisher (neu)"), rgPhoFormat), "rbPHO2");
        rbPHO1->setChecked(true);
        Box->addWidget(rbPHO1);
        Box->addWidget(rbPHO2);
    }
    rg2x2Pics = Named(new QGroupBox(QStringLiteral(" Anordnung 2x2 Bilder "), this), "rg2x2Pics");
    {
        auto* Grid = new QGridLayout(rg2x2Pics);
        rb2x2A = Named(new QRadioButton(rg2x2Pics), "rb2x2A");
        rb2x2B = Named(new QRadioButton(rg2x2Pics), "rb2x2B");
        rb2x2A->setChecked(true);
        // The page as numbers: "1 2" over "3 4" by rows, "1 3" over "2 4" by columns.
        const char* Names[4] = {"lbl2x2A1", "lbl2x2A2", "lbl2x2B1", "lbl2x2B2"};
        const char* Texts[4] = {"1 2", "3 4", "1 3", "2 4"};
        QLabel* Pages[4];
        for (int I = 0; I < 4; ++I) {
            Pages[I] = Named(new QLabel(QLatin1String(Texts[I]), rg2x2Pics), Names[I]);
            Pages[I]->setFont(ATASCIIFace(16));
        }
        Grid->addWidget(rb2x2A, 0, 0, 2, 1);
        Grid->addWidget(Pages[0], 0, 1);
        Grid->addWidget(Pages[1], 1, 1);
        Grid->setColumnMinimumWidth(2, 40);
        Grid->addWidget(rb2x2B, 0, 3, 2, 1);
        Grid->addWidget(Pages[2], 0, 4);
        Grid->addWidget(Pages[3], 1, 4);
        Grid->setColumnStretch(5, 1);
    }
    // The style's focus mark on a radio button cannot be seen on the dialog's blue.
    ShowFocusMarks(rgPhoFormat);
    ShowFocusMarks(rg2x2Pics);
    btnGR8BackCol = ColorButton("btnGR8BackCol", &gr8backcolor);
    btnGR8ForeCol = ColorButton("btnGR8ForeCol", &gr8forecolor);
    rgGR8Cols = ColourGroup("rgGR8Cols", QStringLiteral(" GR8-Farben "),
                            {{btnGR8BackCol, "lblGR8BackCol", Back}, {btnGR8ForeCol, "lblGR8ForeCol", Fore}});

    // The three columns.
    btnListingBackCol = ColorButton("btnListingBackCol", &listingbackcolor);
    btnListingForeCol = ColorButton("btnListingForeCol", &listingforecolor);
    rgListingCols = ColourGroup(
        "rgListingCols", QStringLiteral(" Bildschirm "),
        {{btnListingBackCol, "lblListingBackCol", Back}, {btnListingForeCol, "lblListingForeCol", Fore}});
    btnListingPrintBackCol = ColorButton("btnListingPrintBackCol", &listingprintbackcolor);
    btnListingPrintForeCol = ColorButton("btnListingPrintForeCol", &listingprintforecolor);
    rgPrintListings = ColourGroup("rgPrintListings", QStringLiteral(" Druckbericht "),
                                  {{btnListingPrintBackCol, "lblListingPrintBackCol", Back},
                                   {btnListingPrintForeCol, "lblListingPrintForeCol", Fore}});
    btnTextBackCol = ColorButton("btnTextBackCol", &textbackcolor);
    btnTextForeCol = ColorButton("btnTextForeCol", &textforecolor);
    rbTextCols =
        ColourGroup("rbTextCols", QStringLiteral(" Bildschirm "),
                    {{btnTextBackCol, "lblTextBackCol", Back}, {btnTextForeCol, "lblTextForeCol", Fore}});
    btnTextPrintBackCol = ColorButton("btnTextPrintBackCol", &textPrintbackcolor);
    btnTextPrintForeCol = ColorButton("btnTextPrintForeCol", &textPrintforecolor);
    rgPrintText = ColourGroup("rgPrintText", QStringLiteral(" Druckbericht "),
                              {{btnTextPrintBackCol, "lblTextPrintBackCol", Back},
                               {btnTextPrintForeCol, "lblTextPrintForeCol", Fore}});
    btnFontBackCol = ColorButton("btnFontBackCol", &fontbackcolor);
    btnFontForeCol = ColorButton("btnFontForeCol", &fontforecolor);
    rgFontCols =
        ColourGroup("rgFontCols", QStringLiteral(" Bildschirm "),
                    {{btnFontBackCol, "lblFontBackCol", Back}, {btnFontForeCol, "lblFontForeCol", Fore}});

    // File types.
    btnRegisterFileExt = DialogButton(this, "btnRegisterFileExt", QStringLiteral("Register"),
                                      QStringLiteral("Morvanel Datei-Erweiterungen registrieren"));
    btnUnregisterFileExt = DialogButton(this, "btnUnregisterFileExt", QStringLiteral("Unregister"),
                                        QStringLiteral("Morvanel Datei-Erweiterungen de-registrieren"));
    FileTypeListBox = Named(new QListWidget(this), "FileTypeListBox");
    FileTypeListBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FileTypeListBox->setItemDelegate(new TFocusedEntryDelegate(FileTypeListBox));
    // Two columns: the entries run top to bottom and wrap into the second column.
    FileTypeListBox->setFlow(QListView::TopToBottom);
    FileTypeListBox->setWrapping(true);
    FileTypeListBox->setUniformItemSizes(true);
    const int RowHeight = FileTypeListBox->fontMetrics().height() + 4;
    FileTypeListBox->setGridSize(QSize(80, RowHeight));
    FileTypeListBox->setFixedSize(2 * 80 + 8, (TMorvanelFileTypes::Count / 2) * RowHeight + 8);
    FileTypeListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FileTypeListBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    btnSetStandards = DialogButton(this, "btnSetStandards", QStringLiteral("&Standards"),
                                   QStringLiteral("Standardwerte herstellen"));
    btnOK = DialogButton(this, "btnOK", QStringLiteral("&OK"));
    btnOK->SetDefault(true);
    btnCancel = DialogButton(this, "btnCancel", QStringLiteral("A&bbrechen"));

    // Layout.
    auto* Main = new QVBoxLayout(Body);
    Main->setContentsMargins(0, 0, 0, 0);
    Main->setSpacing(0);
    Main->addWidget(Image12);
    auto* Sections = new QVBoxLayout;
    Sections->setContentsMargins(14, 8, 14, 10);
    Sections->setSpacing(6);
    Main->addLayout(Sections, 1);
    Main->addWidget(Image1);

    Sections->addWidget(lblGrapics);
    auto* Graphics = new QGridLayout;
    Graphics->addWidget(rgBaseColors, 0, 0);
    Graphics->addWidget(rgPhoFormat, 0, 1);
    Graphics->addWidget(rg2x2Pics, 1, 0);
    Graphics->addWidget(rgGR8Cols, 1, 1);
    Sections->addLayout(Graphics);

    auto* Columns = new QHBoxLayout;
    for (const auto& Column : {std::vector<QWidget*>{lblListings, rgListingCols, rgPrintListings},
                               std::vector<QWidget*>{lblText, rbTextCols, rgPrintText},
                               std::vector<QWidget*>{lblFonts, rgFontCols}}) {
        auto* Box = new QVBoxLayout;
        for (QWidget* W : Column) Box->addWidget(W);
        Box->addStretch(1);
        Columns->addLayout(Box, 1);
    }
    Sections->addLayout(Columns, 1);

    Sections->addWidget(Label21);
    auto* Files = new QHBoxLayout;
    auto* FileButtons = new QVBoxLayout;
    FileButtons->addWidget(btnRegisterFileExt);
    FileButtons->addWidget(btnUnregisterFileExt);
    FileButtons->addStretch(1);
    Files->addLayout(FileButtons);
    Files->addWidget(FileTypeListBox);
    Files->addStretch(1);
    Sections->addLayout(Files);

    auto* Bottom = new QHBoxLayout;
    Bottom->addWidget(btnSetStandards);
    Bottom->addStretch(1);
    Bottom->addWidget(btnOK);
    Bottom->addWidget(btnCancel);
    Sections->addLayout(Bottom);

    auto Connect = [this](TVekButton* B, void (TfrmParameter::*Handler)()) {
        connect(B, &QPushButton::clicked, this,
                [this, Handler] { Guarded([this, Handler] { (this->*Handler)(); }); });
    };
    Connect(btnSetStandards, &TfrmParameter::btnSetStandardsClick);
    Connect(btnOK, &TfrmParameter::OKBtnClick);
    Connect(btnCancel, &TfrmParameter::CancelBtnClick);
    Connect(btnRegisterFileExt, &TfrmParameter::btnRegisterFileExtClick);
    Connect(btnUnregisterFileExt, &TfrmParameter::btnUnregisterFileExtClick);
    // Each showing starts on the first control, as the first one does.
    FocusOnEachShowing(this, btnCol0);
    FormCreate();
}

void TfrmParameter::FormCreate() {
    LoadSettings();
    ShowParameters();
}

void TfrmParameter::ShowParameters() {
    // Values other than 0 and 1 leave the buttons as they are.
    if (phoformat == 0) {
        rbPHO1->setChecked(true);
    } else if (phoformat == 1) {
        rbPHO2->setChecked(true);
    }
    if (pic2x2mode == 0) {
        rb2x2A->setChecked(true);
    } else if (pic2x2mode == 1) {
        rb2x2B->setChecked(true);
    }
    for (const TColorSetting& C : FColorSettings) C.Button->LookStyle()->SetButtonColor(*C.Setting);
    FileTypeListBox->clear();
    const TMorvanelFileTypes Types;
    for (int I = 1; I <= TMorvanelFileTypes::Count; ++I) FileTypeListBox->addItem(Types.Extension(I));
    FileTypeListBox->selectAll();
}

void TfrmParameter::btnCol0Click(TVekButton* Sender) {
    if (!Sender) return;
    quint32 Colour = Sender->LookStyle()->ButtonColor();
    const bool Chosen = ExecuteColorDialog(this, Colour);
    new TKeepKeyboard(this, Sender);
    if (Chosen) Sender->LookStyle()->SetButtonColor(Colour);
}

void TfrmParameter::btnSetStandardsClick() {
    SetStandardValues();
    ShowParameters();
}

void TfrmParameter::OKBtnClick() {
    phoformat = rbPHO1->isChecked() ? 0 : 1;
    pic2x2mode = rb2x2A->isChecked() ? 0 : 1;
    for (const TColorSetting& C : FColorSettings) *C.Setting = C.Button->LookStyle()->ButtonColor();
    // The base colours reach the pictures only at the next start (CurrentColors stays).
    SaveSettings();
    hide();
}

void TfrmParameter::CancelBtnClick() {
    hide();
}

void TfrmParameter::btnRegisterFileExtClick() {
    // The whole list, whatever is selected. Files open with the program as it runs.
    const TMorvanelFileTypes Types;
    const QString Program = QCoreApplication::applicationFilePath();
    ShowHourglass();
    for (int I = 1; I <= TMorvanelFileTypes::Count; ++I)
        RegisterFileType(Types.Extension(I), MorvanelFileTypeName, MorvanelFileDescription, 0,
                         QStringLiteral("%F"), Program, RegistrationFolders);
    ShowNormalCursor();
}

void TfrmParameter::btnUnregisterFileExtClick() {
    const TMorvanelFileTypes Types;
    ShowHourglass();
    for (int I = 1; I <= TMorvanelFileTypes::Count; ++I)
        UnregisterFileType(Types.Extension(I), MorvanelFileTypeName, RegistrationFolders);
    ShowNormalCursor();
}

// ------------------------------------------------------------------ translation

namespace {
QTabWidget* TabOwner(QObject* Component, int* Index) {
    auto* W = qobject_cast<QWidget*>(Component);
    if (!W || !W->parentWidget()) return nullptr;
    auto* Stack = qobject_cast<QStackedWidget*>(W->parentWidget());
    if (!Stack) return nullptr;
    auto* Tabs = qobject_cast<QTabWidget*>(Stack->parentWidget());
    if (Tabs) *Index = Tabs->indexOf(W);
    return Tabs && *Index >= 0 ? Tabs : nullptr;
}

bool IsComponent(QObject* O) {
    return qobject_cast<QWidget*>(O) || qobject_cast<QAction*>(O);
}
} // namespace

QString GetComponentText(QObject* C, const QString& Property, bool* Has) {
    bool Dummy = false;
    bool& Found = Has ? *Has : Dummy;
    Found = true;
    // A class may publish the property itself under the name the language file uses.
    const QByteArray Name = Property.toLatin1();
    if (C->metaObject()->indexOfProperty(Name.constData()) >= 0)
        return C->property(Name.constData()).toString();
    if (Property == QLatin1String("Hint")) {
        if (auto* W = qobject_cast<QWidget*>(C)) return W->toolTip();
        // Qt makes up a tool tip from an action's text; the hint we set is the status tip too.
        if (auto* A = qobject_cast<QAction*>(C)) return A->statusTip();
    } else if (Property == QLatin1String("Caption")) {
        int Tab = -1;
        if (auto* Tabs = TabOwner(C, &Tab)) return Tabs->tabText(Tab);
        if (auto* M = qobject_cast<QMenu*>(C)) return M->title();
        if (auto* A = qobject_cast<QAction*>(C)) return A->text();
        if (auto* B = qobject_cast<QAbstractButton*>(C)) return B->text();
        if (auto* L = qobject_cast<QLabel*>(C)) return L->text();
        if (auto* G = qobject_cast<QGroupBox*>(C)) return G->title();
    } else if (Property == QLatin1String("Text")) {
        if (auto* E = qobject_cast<QLineEdit*>(C)) return E->text();
        if (auto* Cb = qobject_cast<QComboBox*>(C)) return Cb->currentText();
    }
    Found = false;
    return QString();
}

bool SetComponentText(QObject* C, const QString& Property, const QString& Value) {
    const QByteArray Name = Property.toLatin1();
    if (C->metaObject()->indexOfProperty(Name.constData()) >= 0)
        return C->setProperty(Name.constData(), Value);
    if (Property == QLatin1String("Hint")) {
        if (auto* W = qobject_cast<QWidget*>(C)) {
            W->setToolTip(Value);
            W->setStatusTip(Value);
            return true;
        }
        if (auto* A = qobject_cast<QAction*>(C)) {
            A->setToolTip(Value);
            A->setStatusTip(Value);
            return true;
        }
    } else if (Property == QLatin1String("Caption")) {
        int Tab = -1;
        if (auto* Tabs = TabOwner(C, &Tab)) return Tabs->setTabText(Tab, Value), true;
        if (auto* M = qobject_cast<QMenu*>(C)) return M->setTitle(Value), true;
        if (auto* A = qobject_cast<QAction*>(C)) return A->setText(Value), true;
        if (auto* B = qobject_cast<QAbstractButton*>(C)) return B->setText(Value), true;
        if (auto* L = qobject_cast<QLabel*>(C)) return L->setText(Value), true;
        if (auto* G = qobject_cast<QGroupBox*>(C)) return G->setTitle(Value), true;
    } else if (Property == QLatin1String("Text")) {
        if (auto* E = qobject_cast<QLineEdit*>(C)) return E->setText(Value), true;
        if (auto* Cb = qobject_cast<QComboBox*>(C)) return Cb->setCurrentText(Value), true;
    }
    return false;
}

static QString SectionOf(const QObject* Form) {
    const QString Name = Form->objectName();
    const int P = Name.indexOf(QLatin1Char('_'));
    return P < 0 ? Name : Name.left(P);
}

// Another window inside this one's object tree: a dialog or free window it owns,
// or a document window in the MDI area. Its components are its own, not ours.
static bool IsOtherWindow(QObject* O) {
    auto* W = qobject_cast<QWidget*>(O);
    if (!W || qobject_cast<QMenu*>(W)) return false; // menus belong to their window
    return W->isWindow() || qobject_cast<QMdiSubWindow*>(W);
}

static void CollectComponents(QObject* Parent, QList<QObject*>& List) {
    for (QObject* O : Parent->children()) {
        if (IsOtherWindow(O)) continue;
        const QString N = O->objectName();
        if (!N.isEmpty() && !N.startsWith(QLatin1String("qt_"))) List << O;
        CollectComponents(O, List);
    }
}

static QList<QObject*> Components(QObject* Form) {
    QList<QObject*> List;
    CollectComponents(Form, List);
    return List;
}

static const QStringList Properties = {QStringLiteral("Text"), QStringLiteral("Caption"),
                                       QStringLiteral("Hint")};

void TranslateForm(QObject* Form, const QString& Path) {
    if (!Form) return;
    TranslateForm(Form, *LanguageFileContents(Path));
}

void TranslateForm(QObject* Form, const TIniFile& Ini) {
    if (!Form) return;
    const QString Section = SectionOf(Form);
    if (!Ini.SectionExists(Section)) return;
    try {
        // A second window of a kind (ChildWinASC2ATASC_1) takes the caption of the kind.
        QString Caption = Ini.ReadString(Section, Form->objectName() + QStringLiteral(".Caption"), QString());
        if (Caption.isEmpty())
            Caption = Ini.ReadString(Section, Section + QStringLiteral(".Caption"), QString());
        if (!Caption.isEmpty())
            if (auto* W = qobject_cast<QWidget*>(Form)) W->setWindowTitle(Caption);
        for (QObject* C : Components(Form)) {
            if (!IsComponent(C)) continue;
            for (const QString& P : Properties) {
                bool Has = false;
                GetComponentText(C, P, &Has);
                if (!Has) continue;
                const QString Value =
                    Ini.ReadString(Section, C->objectName() + QLatin1Char('.') + P, QString());
                if (!Value.isEmpty()) SetComponentText(C, P, Value);
            }
        }
    } catch (const std::exception& E) {
        ShowPlainMsg(QString::fromUtf8(E.what()));
    }
}

void WriteFormTranslation(QObject* Form, QStringList& Lines) {
    if (!Form) return;
    QStringList Body;
    for (QObject* C : Components(Form)) {
        if (!IsComponent(C) || C->property("Tag").toInt() == -1) continue;
        for (const QString& P : Properties) {
            bool Has = false;
            const QString Value = GetComponentText(C, P, &Has);
            if (!Has || Value.isEmpty()) continue;
            const QString Key = C->objectName() + QLatin1Char('.') + P;
            QString Line = Key.size() < 44
                               ? Key.leftJustified(44, QLatin1Char(' ')) + QStringLiteral("= ") + Value
                               : Key + QStringLiteral(" = ") + Value;
            Body << Line.trimmed();
        }
    }
    QCollator Collator;
    Collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(Body.begin(), Body.end(),
                     [&](const QString& A, const QString& B) { return Collator.compare(A, B) < 0; });
    Lines << QLatin1Char('[') + Form->objectName() + QLatin1Char(']');
    Lines << Body;
    Lines << QString();
}

QLocale::Language LanguageOfFile(const QString& FileName) {
    const QString Name = NameBeforeDot(QFileInfo(FileName).fileName()).trimmed();
    for (int L = QLocale::C + 1; L <= QLocale::LastLanguage; ++L)
        if (QLocale::languageToString(QLocale::Language(L)).compare(Name, Qt::CaseInsensitive) == 0)
            return QLocale::Language(L);
    return QLocale::AnyLanguage;
}

bool LoadQtTranslation(const QString& FileName) {
    // Qt names the entries of a child window's system menu once, when it makes the
    // window; those of open windows are renamed from the old language's texts.
    static const char* const SystemMenu[] = {"&Restore",  "&Move",        "&Size", "Mi&nimize",
                                             "Ma&ximize", "Stay on &Top", "&Close"};
    QHash<QString, const char*> Source;
    for (const char* S : SystemMenu) Source.insert(QMdiSubWindow::tr(S), S);
    // One translator for the whole program, replaced at every change of language.
    static QPointer<QTranslator> Translator;
    if (Translator)
        QCoreApplication::removeTranslator(Translator);
    else
        Translator = new QTranslator(QCoreApplication::instance());
    const QLocale::Language L = LanguageOfFile(FileName);
    const bool Loaded = L != QLocale::AnyLanguage &&
                        Translator->load(QLocale(L), QStringLiteral("qtbase"), QStringLiteral("_"),
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                        QCoreApplication::installTranslator(Translator);
    for (QWidget* W : QApplication::allWidgets())
        if (auto* Sub = qobject_cast<QMdiSubWindow*>(W); Sub && Sub->systemMenu())
            for (QAction* A : Sub->systemMenu()->actions())
                if (const char* S = Source.value(A->text())) A->setText(QMdiSubWindow::tr(S));
    return Loaded;
}
