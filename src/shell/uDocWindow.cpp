#include "uDocWindow.h"

#include <QBoxLayout>

#include "FileDialogs.h"
#include "FocusMark.h"
#include "FramePlacement.h"
#include "ImageView.h"
#include "JPEGImage.h"
#include "uMainLink.h"

#include <QApplication>
#include <QBuffer>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

// ---------------------------------------------------------------- colours

void SetWindowColour(QWidget* W, quint32 Colour) {
    QPalette Pal = W->palette();
    Pal.setColor(QPalette::Window, WinColorToQColor(Colour));
    W->setPalette(Pal);
}

void SetFormColour(QWidget* W, quint32 Colour) {
    SetWindowColour(W, Colour);
    W->setAutoFillBackground(true);
}

// ---------------------------------------------------------------- layout

QVBoxLayout* NewColumnLayout(QWidget* W) {
    auto* Layout = new QVBoxLayout(W);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    return Layout;
}

TClipBox::TClipBox(QWidget* Content, QWidget* Parent, int Clip)
    : QWidget(Parent), FContent(Content), FClip(Clip) {
    const bool Hidden = Content->isHidden() && Content->testAttribute(Qt::WA_WState_ExplicitShowHide);
    Content->setParent(this);
    Content->setVisible(!Hidden);
    if (Hidden) hide();
    Content->installEventFilter(this);
    FollowLimits();
}

QSize TClipBox::ContentMinimum() const {
    return FContent->minimumSizeHint().expandedTo(FContent->minimumSize());
}

QSize TClipBox::sizeHint() const {
    return FContent->sizeHint().expandedTo(FContent->minimumSize()).boundedTo(FContent->maximumSize());
}

QSize TClipBox::minimumSizeHint() const {
    const QSize Min = ContentMinimum();
    return QSize(FClip & ClipWidth ? 0 : Min.width(), FClip & ClipHeight ? 0 : Min.height());
}

void TClipBox::FollowLimits() {
    const QSize Min = FContent->minimumSize(), Max = FContent->maximumSize();
    if (!(FClip & ClipWidth)) setMinimumWidth(Min.width()), setMaximumWidth(Max.width());
    if (!(FClip & ClipHeight)) setMinimumHeight(Min.height()), setMaximumHeight(Max.height());
    setSizePolicy(FContent->sizePolicy());
}

void TClipBox::Place() {
    const QSize Min = ContentMinimum();
    int W = width(), H = height();
    if (FClip & ClipWidth) W = std::max(W, Min.width());
    if (FClip & ClipHeight) H = std::max(H, Min.height());
    FContent->setGeometry(0, 0, W, H);
}

bool TClipBox::event(QEvent* E) {
    // A size limit of the widget changed: the box takes it on and lays it out anew.
    if (E->type() == QEvent::LayoutRequest) {
        FollowLimits();
        updateGeometry();
        Place();
    }
    return QWidget::event(E);
}

bool TClipBox::eventFilter(QObject* Watched, QEvent* E) {
    if (Watched == FContent) {
        switch (E->type()) {
        case QEvent::ShowToParent:
            // Limits set while the widget was hidden reach the box only now.
            FollowLimits();
            show();
            break;
        case QEvent::HideToParent:
            hide();
            break;
        case QEvent::LayoutRequest:
            // The widget's own parts changed; its minimum may have grown.
            updateGeometry();
            QMetaObject::invokeMethod(
                this, [this] { Place(); }, Qt::QueuedConnection);
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(Watched, E);
}

void TClipBox::resizeEvent(QResizeEvent* E) {
    QWidget::resizeEvent(E);
    Place();
}

TClipBox* ClipWidth(QWidget* Panel) {
    return new TClipBox(Panel, Panel->parentWidget());
}

QHBoxLayout* NewClippedRow(QBoxLayout* Row) {
    auto* Controls = new QWidget;
    auto* Inner = new QHBoxLayout(Controls);
    Inner->setContentsMargins(0, 0, 0, 0);
    Inner->setSpacing(Row->spacing());
    Row->addWidget(new TClipBox(Controls, nullptr), 1);
    return Inner;
}

QVBoxLayout* NewWindowColumn(QWidget* Window) {
    auto* Surface = new QWidget;
    Surface->setObjectName(QStringLiteral("Surface"));
    auto* Box = new TClipBox(Surface, Window, TClipBox::ClipBoth);
    NewColumnLayout(Window)->addWidget(Box);
    return NewColumnLayout(Surface);
}

// ---------------------------------------------------------------- top panel

QWidget* NewTopPanel(QWidget* Parent, int Height, quint32 Colour) {
    auto* Panel = new QWidget(Parent);
    Panel->setObjectName(QStringLiteral("pnlTop"));
    Panel->setFixedHeight(Height);
    Panel->setAutoFillBackground(true);
    QPalette Pal = Panel->palette();
    Pal.setColor(QPalette::Window, WinColorToQColor(Colour));
    Pal.setColor(QPalette::WindowText, Qt::white);
    Pal.setColor(QPalette::ButtonText, Qt::white);
    // Disabled captions of check boxes and radio buttons grey out.
    Pal.setColor(QPalette::Disabled, QPalette::WindowText, WinColorToQColor(clBtnShadow));
    Pal.setColor(QPalette::Disabled, QPalette::ButtonText, WinColorToQColor(clBtnShadow));
    Panel->setPalette(Pal);
    return Panel;
}

namespace {
class TPanelLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* E) override {
        if (isEnabled()) {
            QLabel::paintEvent(E);
            return;
        }
        QPainter P(this);
        const QRect R = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
        const int Flags = int(QStyle::visualAlignment(layoutDirection(), alignment())) | Qt::TextShowMnemonic;
        P.setFont(font());
        P.setPen(WinColorToQColor(clBtnHighlight));
        P.drawText(R.translated(1, 1), Flags, text());
        P.setPen(WinColorToQColor(clBtnShadow));
        P.drawText(R, Flags, text());
    }
};
} // namespace

QLabel* NewPanelLabel(QWidget* Panel, const char* Name, const QString& Caption) {
    auto* L = new TPanelLabel(Caption, Panel);
    L->setObjectName(QLatin1String(Name));
    return L;
}

void SetHint(QWidget* W, const QString& Hint) {
    W->setToolTip(Hint);
    W->setStatusTip(Hint);
}

void KeepDefaultTextColours(QWidget* W) {
    const QPalette App = QApplication::palette(W);
    QPalette Pal = W->palette();
    for (QPalette::ColorGroup G : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (QPalette::ColorRole R : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            Pal.setColor(G, R, App.color(G, R));
    W->setPalette(Pal);
}

namespace {
// A panel button that leaves the pointer without a leave notice (its window docked
// or undocked, the layout moved it) drops its hover face itself; it stays lit only
// where the pointer really is over it.
class THoverDrop : public QObject {
public:
    explicit THoverDrop(QWidget* Button) : QObject(Button), FButton(Button) {
        Button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override {
        const QEvent::Type T = E->type();
        if (Watched != FButton) {
            // The window manager moves a window just shown (undocked) to its place: the
            // pointer's enter came where the window first stood.
            if (T == QEvent::Move) DropLater();
            return false;
        }
        if (T != QEvent::Hide && T != QEvent::Show && T != QEvent::Move && T != QEvent::Enter) return false;
        if (T == QEvent::Hide) Drop(FButton);
        if (T == QEvent::Show) WatchWindow();
        DropLater();
        return false;
    }

private:
    // Checked once the events on the way are through: the click that moved it, or
    // an enter the window system reports for a window just shown under the pointer,
    // can light it again where the pointer is not.
    void DropLater() {
        if (!FButton->underMouse()) return;
        QMetaObject::invokeMethod(
            this, [B = FButton] { DropIfAway(B); }, Qt::QueuedConnection);
    }
    void WatchWindow() {
        QWidget* Window = FButton->window();
        if (Window == FWindow) return;
        if (FWindow) FWindow->removeEventFilter(this);
        FWindow = Window;
        Window->installEventFilter(this);
    }
    static void DropIfAway(QWidget* B) {
        const QPoint At = QCursor::pos();
        if (!B->isVisible() || !B->rect().contains(B->mapFromGlobal(At)) || QApplication::widgetAt(At) != B)
            Drop(B);
    }
    static void Drop(QWidget* B) {
        if (!B->underMouse()) return;
        B->setAttribute(Qt::WA_UnderMouse, false);
        QEvent Leave(QEvent::Leave);
        QCoreApplication::sendEvent(B, &Leave);
        B->update();
    }
    QWidget* FButton;
    QPointer<QWidget> FWindow;
};
} // namespace

void SetPanelButtonColours(QToolButton* B) {
    // The face that hovering and pressing show is a lighter shade of the panel,
    // not the light button colour, so the white caption stays readable.
    QPalette Pal = B->palette();
    Pal.setColor(QPalette::Button, WinColorToQColor(TopPanelColor).lighter(135));
    B->setPalette(Pal);
    B->setStyleSheet(QStringLiteral("QToolButton { color: white; } QToolButton:disabled { color: %1; }")
                         .arg(WinColorToQColor(clBtnShadow).name()));
    // The style's own focus mark hardly shows on the panel's blue; an icon has no
    // caption to underline.
    ShowFocusMark(B);
    new THoverDrop(B);
}

QToolButton* NewPanelButton(QWidget* Panel, const char* Name, const QString& Caption, const QString& Hint) {
    auto* B = new QToolButton(Panel);
    B->setObjectName(QLatin1String(Name));
    B->setText(Caption);
    SetHint(B, Hint);
    B->setAutoRaise(true);
    SetPanelButtonColours(B);
    return B;
}

namespace {
class TKeyboardPopup : public QObject {
public:
    TKeyboardPopup(QWidget* Window, QWidget* Image, QMenu* Menu)
        : QObject(Window), FImage(Image), FMenu(Menu) {}

protected:
    bool eventFilter(QObject*, QEvent* E) override {
        if (E->type() != QEvent::ContextMenu ||
            static_cast<QContextMenuEvent*>(E)->reason() != QContextMenuEvent::Keyboard)
            return false;
        const QRect Shown = FImage->visibleRegion().boundingRect();
        FMenu->popup(FImage->mapToGlobal(Shown.topLeft() + QPoint(8, 8)));
        return true;
    }

private:
    QWidget* FImage;
    QMenu* FMenu;
};
} // namespace

void AttachPopupMenu(QWidget* Window, QWidget* Image, QMenu* Menu) {
    Image->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(Image, &QWidget::customContextMenuRequested, Menu,
                     [Image, Menu](const QPoint& P) { Menu->popup(Image->mapToGlobal(P)); });
    Window->installEventFilter(new TKeyboardPopup(Window, Image, Menu));
    AddShiftF10MenuKey(Window);
}

void AddShiftF10MenuKey(QWidget* Window) {
    // X11 makes a context-menu request of the menu key only; Shift+F10 is a plain key.
    auto* Key = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), Window);
    Key->setObjectName(QStringLiteral("scShiftF10"));
    Key->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(Key, &QShortcut::activated, Window, [Window] {
        QWidget* Target = QApplication::focusWidget();
        if (!Target || !Window->isAncestorOf(Target)) Target = Window;
        // Where Qt puts the menu key's request: the focused control's text cursor.
        const QPoint At = Target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent Request(QContextMenuEvent::Keyboard, At, Target->mapToGlobal(At));
        QApplication::sendEvent(Target, &Request);
    });
}

// ---------------------------------------------------------------- info panel

TInfoPanel NewInfoPanel(QWidget* Parent, int Height, int FontPixelSize) {
    TInfoPanel Info;
    Info.Panel = new QWidget(Parent);
    Info.Panel->setObjectName(QStringLiteral("pnlBottom"));
    Info.Panel->setFixedHeight(Height);
    SetFormColour(Info.Panel, SysColor(COLOR_APPWORKSPACE));
    QFont Small = Parent->font();
    Small.setPixelSize(FontPixelSize);
    Info.Panel->setFont(Small);
    Info.Grid = new QGridLayout(Info.Panel);
    Info.Grid->setContentsMargins(2, 1, 2, 1);
    Info.Grid->setVerticalSpacing(0);
    // Values get the panel's width less their caption's and 12 pixels.
    Info.Grid->setHorizontalSpacing(8);
    Info.Grid->setColumnStretch(1, 1);
    return Info;
}

QLabel* NewInfoLabel(const TInfoPanel& Info, int Row, const char* Name, const QString& Caption, int Width) {
    auto* L = new QLabel(Caption, Info.Panel);
    L->setObjectName(QLatin1String(Name));
    L->setFixedWidth(Width);
    L->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Info.Grid->addWidget(L, Row, 0);
    return L;
}

QLabel* NewValueLabel(const TInfoPanel& Info, int Row, const char* Name, quint32 Colour) {
    auto* L = new QLabel(QStringLiteral("-"), Info.Panel);
    L->setObjectName(QLatin1String(Name));
    L->setProperty("Tag", -1);
    L->setTextFormat(Qt::PlainText);
    // A long value is cut at the panel's edge; it never widens the window.
    L->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // Bold: the light blue values have little contrast to the work-space grey, and
    // the panel's small type thins them further.
    L->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(WinColorToQColor(Colour).name()));
    Info.Grid->addWidget(L, Row, 1);
    return L;
}

// ---------------------------------------------------------------- the picture

namespace {
// A scroll box shrinks with its window to nothing, its scroll bars with it: its
// minimum would otherwise be what both scroll bars need, and a small picture's box
// would push the panels below it out of the window.
class TImageScrollBox : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize minimumSizeHint() const override { return QSize(0, 0); }
    void SetMargins(int Width) { setViewportMargins(Width, Width, Width, Width); }
};
} // namespace

QScrollArea* NewImageScrollBox(QWidget* Parent, const char* Name, ImageView* View, bool Framed,
                               quint32 Background) {
    auto* Box = new TImageScrollBox(Parent);
    if (Name) Box->setObjectName(QLatin1String(Name));
    if (!Framed) Box->setFrameShape(QFrame::NoFrame);
    Box->setWidgetResizable(false);
    Box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (Background != clDefault) SetWindowColour(Box, Background);
    Box->setBackgroundRole(QPalette::Window);
    Box->setWidget(View);
    return Box;
}

void KeepRoomForFocusFrame(QScrollArea* Box) {
    auto* Own = dynamic_cast<TImageScrollBox*>(Box);
    if (!Own) return;
    Own->SetMargins(ScrollFocusFrameWidth);
    PutScrollFocusFrameInMargins(Box);
    // The room shows the box's background while the frame is not there.
    Box->setAutoFillBackground(true);
}

bool ScaleZoom(ImageView* View, double Factor) {
    if (View->SetZoom(View->Zoom() * Factor)) return true;
    MessageBeep();
    return false;
}

void ScrollVertically(QScrollArea* Box, int Pixels) {
    QScrollBar* Bar = Box->verticalScrollBar();
    Bar->setValue(Bar->value() + Pixels);
    Box->viewport()->repaint();
}

// ---------------------------------------------------------------- drawing a long page

bool TPaintClock::Due() {
    if (FClock.elapsed() < PaintIntervalMs) return false;
    FClock.restart();
    return true;
}

void TThrottledProgress::operator()(int Position, int Max) {
    FPosition = Position, FMax = Max, FPending = true;
    if (FStarted && !FClock.Due()) return;
    FStarted = true;
    Flush();
}

void TThrottledProgress::Flush() {
    if (!FPending) return;
    FPending = false;
    if (MainWindow()) MainWindow()->ProgressBar(FPosition, FMax);
}

// ---------------------------------------------------------------- the window in the MDI area

QWidget* DocumentFrame(QWidget* Window) {
    if (auto* Sub = qobject_cast<QMdiSubWindow*>(Window->parentWidget())) return Sub;
    return Window;
}

void ShowFrameNormal(QWidget* Window) {
    QWidget* Frame = DocumentFrame(Window);
    if (Frame->isMaximized()) Frame->showNormal();
}

namespace {
QSize WindowSize(int Width, int Height) {
    return QSize(std::min(Width, MaxWindowSide), std::min(Height, MaxWindowSide));
}
} // namespace

void SetFrameSize(QWidget* Window, int Width, int Height) {
    DocumentFrame(Window)->resize(WindowSize(Width, Height));
}

// The frame is resized first and its layout sizes the window inside it, so the
// window's panels are laid out and painted at the new size at once. Resizing the
// window ahead of its frame left the newly uncovered parts unpainted.
void SetClientSize(QWidget* Window, int Width, int Height) {
    if (auto* Sub = qobject_cast<QMdiSubWindow*>(Window->parentWidget())) {
        const QMargins M = Sub->contentsMargins();
        Sub->resize(WindowSize(Width + M.left() + M.right(), Height + M.top() + M.bottom()));
        Sub->update();
    } else {
        Window->resize(WindowSize(Width, Height));
    }
}

void SetClientWidth(QWidget* Window, int Width) {
    SetClientSize(Window, Width, Window->height());
}

int RoomForClient(QWidget* Window) {
    if (auto* Sub = qobject_cast<QMdiSubWindow*>(Window->parentWidget())) {
        const QMargins M = Sub->contentsMargins();
        const int Room = Sub->mdiArea() ? Sub->mdiArea()->viewport()->width() : MaxWindowSide;
        return std::max(0, Room - M.left() - M.right());
    }
    const QScreen* Screen = Window->screen();
    const int Borders = Window->frameGeometry().width() - Window->width();
    return std::max(0, (Screen ? Screen->availableGeometry().width() : MaxWindowSide) - Borders);
}

int PanelNeed(const QWidget* Panel) {
    if (!Panel || Panel->isHidden()) return 0;
    const QLayout* Layout = Panel->layout();
    const auto* Grid = qobject_cast<const QGridLayout*>(Layout);
    if (!Grid) return Layout ? Layout->sizeHint().width() : Panel->sizeHint().width();
    // The grid's own hint leaves out values that may be cut; here they count whole.
    int Widest = 0;
    for (int Row = 0; Row < Grid->rowCount(); ++Row) {
        int Width = 0, Parts = 0;
        for (int Column = 0; Column < Grid->columnCount(); ++Column) {
            const QLayoutItem* Item = Grid->itemAtPosition(Row, Column);
            const QWidget* W = Item ? Item->widget() : nullptr;
            if (!W || W->isHidden()) continue;
            Width += W->sizeHint().expandedTo(W->minimumSize()).boundedTo(W->maximumSize()).width();
            ++Parts;
        }
        if (Parts > 1) Width += (Parts - 1) * Grid->horizontalSpacing();
        Widest = std::max(Widest, Width);
    }
    const QMargins M = Grid->contentsMargins();
    return Widest + M.left() + M.right();
}

int ControlsWidth(QWidget* Window, std::initializer_list<int> Needs) {
    int Need = 0;
    for (const int N : Needs) Need = std::max(Need, N);
    // The title bar's buttons and some of its title, as the frame keeps them.
    if (auto* Sub = qobject_cast<QMdiSubWindow*>(Window->parentWidget())) {
        const QMargins M = Sub->contentsMargins();
        Need = std::max(Need, Sub->minimumSizeHint().width() - M.left() - M.right());
    }
    return std::min(Need, RoomForClient(Window));
}

void FitToPicture(QWidget* Window, const QSize& Picture, const QWidget* TopPanel, const QWidget* InfoPanel) {
    ShowFrameNormal(Window);
    const bool Info = !InfoPanel->isHidden();
    const int Width =
        std::max(Picture.width(), ControlsWidth(Window, {PanelNeed(TopPanel), PanelNeed(InfoPanel)}));
    SetClientSize(Window, Width,
                  Picture.height() + TopPanel->maximumHeight() + (Info ? InfoPanel->maximumHeight() : 0) + 2);
}

namespace {
const char* const CascadeStepProperty = "cascadeStep";
const char* const CascadePlaceProperty = "cascadePlace";
} // namespace

void PlaceAtCascadeStep(QMdiArea* Area, QMdiSubWindow* Frame) {
    QStyleOptionTitleBar Option;
    Option.initFrom(Frame);
    const int Step = std::max(1, Frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, &Option, Frame));
    const QSize Shown = Area->viewport()->size();
    // Placed before: it keeps its step, unless it was moved meanwhile.
    const QVariant Placed = Frame->property(CascadePlaceProperty);
    if (Placed.isValid() && Placed.toPoint() != Frame->pos()) return;
    int K = Frame->property(CascadeStepProperty).toInt();
    if (!Placed.isValid()) {
        // Room for the corner plus a usable part of the window at every step.
        const int Steps = std::max(1, std::min((Shown.width() - 100) / Step, (Shown.height() - 50) / Step));
        const int Others = int(Area->subWindowList().size()) - 1;
        K = std::max(0, Others) % Steps;
        Frame->setProperty(CascadeStepProperty, K);
    }
    // Above the rows of minimised windows when it fits there: the cascade starts
    // again at the top before the window would reach them.
    int Free = Shown.height();
    for (const QMdiSubWindow* W : Area->subWindowList())
        if (W != Frame && W->isVisible() && W->isMinimized()) Free = std::min(Free, W->y());
    const int Height = Frame->height();
    if (Free < Shown.height() && Height <= Free) K %= 1 + (Free - Height) / Step;
    // Frames move in the area's viewport coordinates: whatever the area's scrolling,
    // the corner lands in view.
    Frame->move(K * Step, K * Step);
    Frame->setProperty(CascadePlaceProperty, Frame->pos());
}

void ToggleDocking(QWidget* Window, quint8& IsChildWin, const QPoint& TopLeft) {
    IsChildWin = IsChildWin ? 0 : 1;
    SetMDIChildStyle(Window, IsChildWin);
    QWidget* Frame = DocumentFrame(Window);
    const QScreen* Screen = Frame->screen();
    if (!Frame->isWindow() || !Screen) {
        MoveFrameTo(Frame, TopLeft);
        return;
    }
    // A window zoomed beyond the screen is fitted to it, so that its title bar and its
    // dock button can be reached: at once as far as its frame is known, wholly once
    // the window manager has framed it.
    const QRect Area = Screen->availableGeometry();
    PlaceFrameInside(Frame, TopLeft, Frame->size().boundedTo(Area.size()), Area);
}

// ---------------------------------------------------------------- closing

namespace {
const char* const CloseAgreedProperty = "closeAgreed";
}

bool CloseAgreed(QWidget* Window) {
    const QPointer<QWidget> Guard(Window);
    Window->setProperty(CloseAgreedProperty, true);
    const bool Closed = DocumentFrame(Window)->close();
    if (Guard) Window->setProperty(CloseAgreedProperty, QVariant());
    return Closed;
}

bool CloseAlreadyAgreed(const QWidget* Window) {
    return Window->property(CloseAgreedProperty).toBool();
}

// ---------------------------------------------------------------- saving

bool SavePictureFile(const QImage& Picture, const QString& FileName, int JpegQuality) {
    const QString Ext = ExtractFileExtUpper(QFileInfo(FileName).fileName());
    if (Ext == QLatin1String(".BMP")) {
        QByteArray Data;
        QBuffer Buffer(&Data);
        Buffer.open(QIODevice::WriteOnly);
        if (!Picture.save(&Buffer, "BMP")) RaiseInOutError(ioDiskFull, FileName);
        WriteWholeFile(FileName, Data);
        return true;
    }
    if (Ext == QLatin1String(".JPG")) {
        TJPEGImage Jpeg;
        Jpeg.CompressionQuality = JpegQuality;
        Jpeg.Assign(Picture);
        Jpeg.SaveToFile(FileName);
        return true;
    }
    return false;
}

void WarnUnknownFileFormat(const QString& FileName) {
    MessageBeep(32);
    ShowWarningMsg(WithFileName(GetMsg(QStringLiteral("mFileFormatUnk")), FileName));
}

bool ExecuteSaveDialogWithExt(QWidget* Parent, TFileDialogRequest& Request, const QStringList& Extensions,
                              QString& FileName, int DefaultIndex) {
    // The dialog appends the extension and asks before replacing: "No" returns to it.
    Request.Save = true;
    Request.Extensions = Extensions;
    Request.DefaultExtension = DefaultIndex;
    Request.ConfirmReplace = [](const QString& Name) {
        return AskYesNo(
            QCoreApplication::translate("QFileDialog", "Save As"),
            QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
                .arg(QFileInfo(Name).fileName()));
    };
    QStringList Files;
    if (!ExecuteFileDialog(Parent, Request, Files) || Files.isEmpty()) return false;
    FileName = Files.first();
    return true;
}

void ResetSaveStatus() {
    if (!MainWindow()) return;
    MainWindow()->ProgressBar(0, 0);
    MainWindow()->ShowProgressBar(false);
    MainWindow()->delmsg();
}

void EnterFullscreen(QWidget* Window, bool& Fullscreen) {
    QWidget* Frame = DocumentFrame(Window);
    Fullscreen = true;
    Frame->setWindowFlag(Qt::FramelessWindowHint, true);
    Frame->showMaximized();
    Window->setFocus();
}

void LeaveFullscreen(QWidget* Window, bool& Fullscreen) {
    QWidget* Frame = DocumentFrame(Window);
    if (Fullscreen) Frame->setWindowFlag(Qt::FramelessWindowHint, false);
    Fullscreen = false;
    Frame->showNormal();
}

QToolButton* AddAtasciiPanelButton(QBoxLayout* Row, QWidget* Panel, const char* Name, const QString& Caption,
                                   const QString& Hint) {
    QToolButton* B = NewPanelButton(Panel, Name, Caption, Hint);
    B->setFont(QFont(QStringLiteral("ATASCII"), 8));
    Row->addWidget(B);
    return B;
}
