#include "VekButton.h"

#include "FileIO.h"
#include "VekKindGlyphs.h"
#include "VekUtils.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcutEvent>
#include <algorithm>

// ------------------------------------------------------------------ kind tables

namespace {
struct TKindInfo {
    const char* Caption;
    int ModalResult;
    const char* ResourceName;
};
constexpr TKindInfo KindInfo[13] = {{"", mrNone, nullptr},
                                    {"OK", mrOk, "VEKBBOK"},
                                    {"Cancel", mrCancel, "VEKBBCANCEL"},
                                    {"&Help", mrNone, "VEKBBHELP"},
                                    {"&Yes", mrYes, "VEKBBYES"},
                                    {"&No", mrNo, "VEKBBNO"},
                                    {"&Close", mrNone, "VEKBBCLOSE"},
                                    {"Abort", mrAbort, "VEKBBABORT"},
                                    {"&Retry", mrRetry, "VEKBBRETRY"},
                                    {"&Ignore", mrIgnore, "VEKBBIGNORE"},
                                    {"&All", mrAll, "VEKBBALL"},
                                    {"", mrNone, nullptr},
                                    {"", mrNone, nullptr}};

const TKindInfo& Info(TVekBtnKind Kind) {
    return KindInfo[std::min<int>(Kind, 12)];
}

bool IsDialogKind(TVekBtnKind Kind) {
    return Kind >= bkOK && Kind <= bkAll;
}

bool IsUnset(quint32 Color) {
    return Color == clDefault || Color == clNone;
}

QColor Qc(quint32 Color) {
    const quint32 C = VekResolveColor(Color);
    return QColor(int(C & 0xFF), int((C >> 8) & 0xFF), int((C >> 16) & 0xFF));
}

QRgb RgbOf(quint32 Color) {
    return Qc(Color).rgb();
}

constexpr QRgb RgbMask = 0x00FFFFFF;

// The form a widget belongs to: its MDI subwindow or its window.
QWidget* FormOf(QWidget* W) {
    for (QWidget* X = W; X; X = X->parentWidget())
        if (X->isWindow() || qobject_cast<QMdiSubWindow*>(X)) return X;
    return nullptr;
}

TVekHelpHandler& HelpHandler() {
    static TVekHelpHandler Handler;
    return Handler;
}

int HelpContextOf(QWidget* W) {
    for (QWidget* X = W; X; X = X->parentWidget()) {
        const int Context = X->property("HelpContext").toInt();
        if (Context != 0) return Context;
    }
    return 0;
}

std::vector<TVekButton*>& AllButtons() {
    static std::vector<TVekButton*> Buttons;
    return Buttons;
}
} // namespace

QString KindCaption(TVekBtnKind Kind) {
    return QString::fromLatin1(Info(Kind).Caption);
}
int KindModalResult(TVekBtnKind Kind) {
    return Info(Kind).ModalResult;
}
const char* KindResourceName(TVekBtnKind Kind) {
    return Info(Kind).ResourceName;
}

const QImage& GetKindGlyph(TVekBtnKind Kind) {
    static QImage KindGlyphs[13];
    QImage& Glyph = KindGlyphs[std::min<int>(Kind, 12)];
    if (Glyph.isNull()) {
        const char* Name = KindResourceName(Kind);
        Glyph = LoadKindGlyphResource(Name);
        if (Glyph.isNull())
            throw EMorvanelError(
                QStringLiteral("Resource %1 not found").arg(QLatin1String(Name ? Name : "")));
    }
    return Glyph;
}

void SetMenuAlignment(QMenu* Menu, TPopupAlignment Alignment) {
    if (Menu) Menu->setProperty("Alignment", int(Alignment));
}

TPopupAlignment MenuAlignment(const QMenu* Menu) {
    const int A = Menu ? Menu->property("Alignment").toInt() : 0;
    return A == paRight ? paRight : A == paCenter ? paCenter : paLeft;
}

void SetVekHelpHandler(TVekHelpHandler Handler) {
    HelpHandler() = std::move(Handler);
}

// ------------------------------------------------------------------ look settings

TVekCustomLookStyle::TVekCustomLookStyle(TVekButton* Owner)
    : FOwner(Owner), FLightColor(LightenColor(FButtonColor, 100)), FDarkColor(DarkenColor(FButtonColor, 100)),
      FLightBorderColor(LightenColor(FBorderColor, 100)) {}

void TVekCustomLookStyle::LookChanged() {
    if (FOwner) FOwner->CMLookStyleChanged();
}

void TVekCustomLookStyle::ButtonColorChanged() {
    if (FOwner) FOwner->CMButtonColorChanged();
}

void TVekCustomLookStyle::Assign(const QObject* Source) {
    const auto* S = qobject_cast<const TVekCustomLookStyle*>(Source);
    if (!S)
        throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2.")
                                .arg(QLatin1String(Source ? Source->metaObject()->className() : "nil"),
                                     QLatin1String(metaObject()->className())));
    // Read everything first: Source may be this object.
    const bool AlwaysShowBorder = S->FAlwaysShowBorder, Gradient = S->FGradient;
    const bool HighlightOnFocused = S->FHighlightOnFocused, HighlightTrack = S->FHighlightTrack;
    const quint32 Border = S->FBorderColor, Button = S->FButtonColor, Down = S->FDownColor;
    const quint32 DownText = S->FDownTextColor, GradStart = S->FGradStartColor;
    const quint32 GradDown = S->FGradStartDownColor, GradHigh = S->FGradStartHighlightColor;
    const quint32 High = S->FHighlightColor, HighText = S->FHighlightTextColor;
    const TVekStyle Style = S->FStyle;
    SetAlwaysShowBorder(AlwaysShowBorder);
    SetBorderColor(Border);
    SetButtonColor(Button);
    FDownColor = Down;
    FDownTextColor = DownText;
    SetGradient(Gradient);
    SetGradStartColor(GradStart);
    SetGradStartDownColor(GradDown);
    SetGradStartHighlightColor(GradHigh);
    FHighlightColor = High;
    FHighlightOnFocused = HighlightOnFocused;
    FHighlightTextColor = HighText;
    FHighlightTrack = HighlightTrack;
    SetStyle(Style);
    LookChanged();
}

void TVekCustomLookStyle::SetAlwaysShowBorder(bool Value) {
    if (Value == FAlwaysShowBorder) return;
    FAlwaysShowBorder = Value;
    LookChanged();
}

void TVekCustomLookStyle::SetBorderColor(quint32 Value) {
    if (Value == FBorderColor) return;
    FBorderColor = Value;
    FLightBorderColor = LightenColor(Value, 100);
    LookChanged();
}

void TVekCustomLookStyle::SetButtonColor(quint32 Value) {
    if (Value == FButtonColor) return;
    FButtonColor = Value;
    FLightColor = LightenColor(Value, 100);
    FDarkColor = DarkenColor(Value, 100);
    ButtonColorChanged();
}

void TVekCustomLookStyle::SetGradient(bool Value) {
    if (Value == FGradient) return;
    FGradient = Value;
    LookChanged();
}

void TVekCustomLookStyle::SetGradStartColor(quint32 Value) {
    if (Value == FGradStartColor) return;
    FGradStartColor = Value;
    LookChanged();
}

void TVekCustomLookStyle::SetGradStartDownColor(quint32 Value) {
    if (Value == FGradStartDownColor) return;
    FGradStartDownColor = Value;
    LookChanged();
}

void TVekCustomLookStyle::SetGradStartHighlightColor(quint32 Value) {
    if (Value == FGradStartHighlightColor) return;
    FGradStartHighlightColor = Value;
    LookChanged();
}

void TVekCustomLookStyle::SetStyle(TVekStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    LookChanged();
}

// These settings change the picture as well, so they repaint like the others.
void TVekCustomLookStyle::SetDownColor(quint32 Value) {
    if (Value == FDownColor) return;
    FDownColor = Value;
    LookChanged();
}

void TVekCustomLookStyle::SetDownTextColor(quint32 Value) {
    if (Value == FDownTextColor) return;
    FDownTextColor = Value;
    LookChanged();
}

void TVekCustomLookStyle::SetHighlightColor(quint32 Value) {
    if (Value == FHighlightColor) return;
    FHighlightColor = Value;
    LookChanged();
}

void TVekCustomLookStyle::SetHighlightOnFocused(bool Value) {
    if (Value == FHighlightOnFocused) return;
    FHighlightOnFocused = Value;
    LookChanged();
}

void TVekCustomLookStyle::SetHighlightTextColor(quint32 Value) {
    if (Value == FHighlightTextColor) return;
    FHighlightTextColor = Value;
    LookChanged();
}

void TVekCustomLookStyle::SetHighlightTrack(bool Value) {
    if (Value == FHighlightTrack) return;
    FHighlightTrack = Value;
    LookChanged();
}

// ------------------------------------------------------------------ image lists

TGlyphCache* GlyphCache = nullptr;

int TGlyphList::TakeFreeSlot() {
    for (int I = 0; I < int(FUsed.size()); ++I)
        if (!FUsed[size_t(I)]) {
            FUsed[size_t(I)] = true;
            return I;
        }
    FImages.emplace_back();
    FUsed.push_back(true);
    return int(FImages.size()) - 1;
}

int TGlyphList::AddImage(const QImage& Image, quint32 MaskColor) {
    const int Slot = TakeFreeSlot();
    QImage Masked = Image.convertToFormat(QImage::Format_ARGB32);
    if (!Masked.isNull()) {
        const QRgb Mask =
            (MaskColor == clDefault ? Masked.pixel(0, Masked.height() - 1) : RgbOf(MaskColor)) & RgbMask;
        for (int Y = 0; Y < Masked.height(); ++Y) {
            auto* Line = reinterpret_cast<QRgb*>(Masked.scanLine(Y));
            for (int X = 0; X < Masked.width(); ++X)
                if ((Line[X] & RgbMask) == Mask) Line[X] = 0;
        }
    }
    FImages[size_t(Slot)] = Masked;
    ++FCount;
    return Slot;
}

void TGlyphList::FreeSlot(int Slot) {
    if (Slot < 0 || Slot >= int(FUsed.size()) || !FUsed[size_t(Slot)]) return;
    FUsed[size_t(Slot)] = false;
    --FCount;
}

QImage TGlyphList::Image(int Slot) const {
    if (Slot < 0 || Slot >= int(FImages.size())) return QImage();
    return FImages[size_t(Slot)];
}

TGlyphList* TGlyphCache::AcquireList(int Width, int Height) {
    for (auto It = FLists.rbegin(); It != FLists.rend(); ++It)
        if ((*It)->Width() == Width && (*It)->Height() == Height) return It->get();
    FLists.push_back(std::make_unique<TGlyphList>(Width, Height));
    return FLists.back().get();
}

void TGlyphCache::ReleaseList(TGlyphList* List) {
    if (!List || List->Count() != 0) return;
    FLists.erase(
        std::remove_if(FLists.begin(), FLists.end(), [List](const auto& L) { return L.get() == List; }),
        FLists.end());
}

// ------------------------------------------------------------------ glyph holder

TButtonGlyph::TButtonGlyph() {
    if (!GlyphCache) GlyphCache = new TGlyphCache;
}

TButtonGlyph::~TButtonGlyph() {
    ReleaseImages();
    if (GlyphCache && GlyphCache->Empty()) {
        delete GlyphCache;
        GlyphCache = nullptr;
    }
}

void TButtonGlyph::SetPicture(const QImage& Picture) {
    ReleaseImages();
    FPicture = Picture;
    PictureChanged();
    if (!FPicture.isNull() && FPicture.height() > 0 && FPicture.width() % FPicture.height() == 0) {
        int Cells = FPicture.width() / FPicture.height();
        if (Cells > 4) Cells = 1;
        SetNumGlyphs(Cells);
    }
}

void TButtonGlyph::SetNumGlyphs(int Value) {
    if (Value == FNumGlyphs || Value <= 0) return;
    ReleaseImages();
    FNumGlyphs = Value;
    PictureChanged();
}

void TButtonGlyph::PictureChanged() {
    if (!FPicture.isNull() && FPicture.width() > 0 && FPicture.height() > 0)
        FTransparentColor = RgbToWinColor(FPicture.pixel(0, FPicture.height() - 1));
    ReleaseImages();
    if (OnChange) OnChange();
}

void TButtonGlyph::ReleaseImages() {
    for (int& Index : FIndexs) {
        if (Index != -1 && FGlyphList) FGlyphList->FreeSlot(Index);
        Index = -1;
    }
    if (GlyphCache && FGlyphList) GlyphCache->ReleaseList(FGlyphList);
    FGlyphList = nullptr;
}

QSize TButtonGlyph::CellSize() const {
    if (FPicture.isNull()) return QSize(0, 0);
    return QSize(FPicture.width() / FNumGlyphs, FPicture.height());
}

int TButtonGlyph::BuildStateImage(TGlyphState State, quint32 DarkColor, quint32 LightColor) {
    if (State == gsDown && FNumGlyphs < 3) State = gsUp;
    int& Index = FIndexs[State];
    if (Index != -1) {
        if (State != gsDisabled) return Index;
        if (FGlyphList) FGlyphList->FreeSlot(Index);
        Index = -1;
    }
    const QSize Cell = CellSize();
    if (Cell.width() < 1 || Cell.height() < 1) return Index;
    const int W = Cell.width(), H = Cell.height();
    if (!FGlyphList) {
        if (!GlyphCache) GlyphCache = new TGlyphCache;
        FGlyphList = GlyphCache->AcquireList(W, H);
    }
    const int Source = int(State) < FNumGlyphs ? int(State) : 0;
    const QImage Src = FPicture.copy(Source * W, 0, W, H).convertToFormat(QImage::Format_ARGB32);
    if (State != gsDisabled) {
        Index = FGlyphList->AddImage(Src, clDefault);
        return Index;
    }
    const QRgb Face = RgbOf(FaceColor), Dark = RgbOf(DarkColor), Light = RgbOf(LightColor);
    QImage Tmp(W, H, QImage::Format_ARGB32);
    if (FNumGlyphs > 1) {
        // The picture's own disabled cell: white, grey and background take the
        // light, dark and face colours of the moment.
        const QRgb Transparent = RgbOf(FTransparentColor) & RgbMask;
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X) {
                const QRgb P = Src.pixel(X, Y) & RgbMask;
                QRgb Out = Src.pixel(X, Y) | 0xFF000000u;
                if (P == Transparent)
                    Out = Face;
                else if (P == 0x808080)
                    Out = Dark;
                else if (P == 0xFFFFFF)
                    Out = Light;
                Tmp.setPixel(X, Y, Out);
            }
    } else {
        // Embossed silhouette of the black pixels.
        Tmp.fill(Face);
        auto IsBlack = [&Src](int X, int Y) {
            const QRgb P = Src.pixel(X, Y);
            return qAlpha(P) != 0 && (P & RgbMask) == 0;
        };
        for (int Y = 0; Y + 1 < H; ++Y)
            for (int X = 0; X + 1 < W; ++X)
                if (IsBlack(X, Y)) Tmp.setPixel(X + 1, Y + 1, Light);
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X)
                if (IsBlack(X, Y)) Tmp.setPixel(X, Y, Dark);
    }
    Index = FGlyphList->AddImage(Tmp, clDefault);
    return Index;
}

QImage TButtonGlyph::StateImage(TGlyphState State, quint32 DarkColor, quint32 LightColor) {
    const int Slot = BuildStateImage(State, DarkColor, LightColor);
    return Slot >= 0 && FGlyphList ? FGlyphList->Image(Slot) : QImage();
}

TGlyphLayout TButtonGlyph::CalcButtonLayout(const QRect& Client, const QPoint& Offset, const QSize& GlyphSize,
                                            const QSize& TextSize, TButtonLayout Layout, int Margin,
                                            int Spacing, bool RightToLeft) {
    if (RightToLeft) {
        if (Layout == blGlyphLeft)
            Layout = blGlyphRight;
        else if (Layout == blGlyphRight)
            Layout = blGlyphLeft;
    }
    const int CW = Client.width(), CH = Client.height();
    const int GW = GlyphSize.width(), GH = GlyphSize.height();
    const int TW = TextSize.width(), TH = TextSize.height();
    const bool Across = Layout == blGlyphLeft || Layout == blGlyphRight;
    int GX = 0, GY = 0, TX = 0, TY = 0;
    if (Across) {
        GY = (CH - GH + 1) / 2;
        TY = (CH - TH + 1) / 2;
    } else {
        GX = (CW - GW + 1) / 2;
        TX = (CW - TW + 1) / 2;
    }
    if (TW == 0 || GW == 0) Spacing = 0;
    const int Room = Across ? CW : CH;
    const int G = Across ? GW : GH;
    const int T = Across ? TW : TH;
    if (Margin == -1) {
        if (Spacing == -1) {
            Margin = (Room - (G + T)) / 3;
            Spacing = Margin;
        } else
            Margin = (Room - (G + Spacing + T) + 1) / 2;
    } else if (Spacing == -1)
        Spacing = (Room - (Margin + G) - T) / 2;
    switch (Layout) {
    case blGlyphLeft:
        GX = Margin;
        TX = GX + GW + Spacing;
        break;
    case blGlyphRight:
        GX = CW - Margin - GW;
        TX = GX - Spacing - TW;
        break;
    case blGlyphTop:
        GY = Margin;
        TY = GY + GH + Spacing;
        break;
    case blGlyphBottom:
        GY = CH - Margin - GH;
        TY = GY - Spacing - TH;
        break;
    }
    TGlyphLayout Result;
    Result.GlyphPos = QPoint(GX + Client.left() + Offset.x(), GY + Client.top() + Offset.y());
    Result.TextBounds = QRect(TX + Client.left() + Offset.x(), TY + Client.top() + Offset.y(), TW, TH);
    return Result;
}

QSize TButtonGlyph::CaptionSize(const QFontMetrics& Metrics, const QString& Caption, int ClientWidth,
                                bool WordWrap) {
    if (Caption.isEmpty()) return QSize(0, 0);
    const int Flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | (WordWrap ? Qt::TextWordWrap : 0);
    return Metrics.boundingRect(QRect(0, 0, std::max(ClientWidth, 0), 0), Flags, Caption).size();
}

QRect TButtonGlyph::DrawGlyphAndCaption(QPainter& Canvas, const QRect& Client, const QPoint& Offset,
                                        const QString& Caption, TButtonLayout Layout, int Margin, int Spacing,
                                        TGlyphState State, bool Transparent, bool RightToLeft, bool WordWrap,
                                        quint32 DisabledTextColor, quint32 DarkColor, quint32 LightColor) {
    const QSize Glyph = FPicture.isNull() ? QSize(0, 0) : CellSize();
    const QSize Text = CaptionSize(Canvas.fontMetrics(), Caption, Client.width(), WordWrap);
    const TGlyphLayout L =
        CalcButtonLayout(Client, Offset, Glyph, Text, Layout, Margin, Spacing, RightToLeft);
    if (Glyph.width() > 0 && Glyph.height() > 0) {
        const int Slot = BuildStateImage(State, DarkColor, LightColor);
        if (Slot >= 0 && FGlyphList) {
            if (!Transparent && State != gsExclusive)
                Canvas.fillRect(QRect(L.GlyphPos, Glyph), Qc(FaceColor));
            Canvas.drawImage(L.GlyphPos, FGlyphList->Image(Slot));
        }
    }
    if (!Caption.isEmpty()) {
        Canvas.save();
        Canvas.setBrush(Qt::NoBrush);
        if (State == gsDisabled) Canvas.setPen(Qc(DisabledTextColor));
        const int Flags = Qt::AlignCenter | Qt::TextShowMnemonic | (WordWrap ? Qt::TextWordWrap : 0);
        Canvas.drawText(L.TextBounds, Flags, Caption);
        Canvas.restore();
    }
    return L.TextBounds;
}

// ------------------------------------------------------------------ Enter and Escape

// Sees the Enter and Escape keys that no control of a form took and hands them to
// the form's Default or Cancel button.
class TVekDialogKeys : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* Object, QEvent* Event) override {
        if (Event->type() != QEvent::KeyPress || !Object->isWidgetType()) return false;
        auto* Form = static_cast<QWidget*>(Object);
        if (!Form->isWindow() && !qobject_cast<QMdiSubWindow*>(Form)) return false;
        auto* Key = static_cast<QKeyEvent*>(Event);
        if ((Key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        const bool Enter = Key->key() == Qt::Key_Return || Key->key() == Qt::Key_Enter;
        const bool Escape = Key->key() == Qt::Key_Escape;
        if (!Enter && !Escape) return false;
        if (Enter) {
            // A focused push button takes Enter itself.
            QWidget* Focus = QApplication::focusWidget();
            if (qobject_cast<QPushButton*>(Focus) && FormOf(Focus) == Form) return false;
        }
        TVekButton* Target = nullptr;
        for (TVekButton* B : AllButtons()) {
            if ((Enter ? !B->FDefault : !B->FCancel) || !B->isVisible() || !B->isEnabled()) continue;
            if (FormOf(B) != Form) continue;
            Target = B;
            break;
        }
        if (!Target) return false;
        Target->Click();
        return true;
    }
};

// ------------------------------------------------------------------ the button

TVekButton::TVekButton(QWidget* Parent) : QPushButton(Parent) {
    FGlyph.OnChange = [this] { update(); };
    setAutoDefault(false);
    FLookStyle = new TVekLookStyle(this);
    AllButtons().push_back(this);
    static QPointer<TVekDialogKeys> Keys;
    if (!Keys && qApp) {
        Keys = new TVekDialogKeys(qApp);
        qApp->installEventFilter(Keys);
    }
    if (qApp) connect(qApp, &QApplication::focusChanged, this, &TVekButton::FocusChanged);
}

TVekButton::~TVekButton() {
    auto& All = AllButtons();
    All.erase(std::remove(All.begin(), All.end(), this), All.end());
    delete FLookStyle;
    FLookStyle = nullptr;
}

void TVekButton::SetHint(const QString& Value) {
    setToolTip(Value);
    setStatusTip(Value);
}

void TVekButton::SetLookStyle(const QObject* Value) {
    FLookStyle->Assign(Value);
}

void TVekButton::SetFontColor(quint32 Value) {
    if (Value == FFontColor) return;
    FFontColor = Value;
    update();
}

void TVekButton::SetDefault(bool Value) {
    FDefault = Value;
    QWidget* Form = FormOf(this);
    UpdateActive(Form ? Form->focusWidget() : nullptr);
}

TVekBtnKind TVekButton::Kind() const {
    if (IsDialogKind(FKind)) {
        const bool Default = FKind == bkOK || FKind == bkYes;
        const bool Cancel = FKind == bkCancel || FKind == bkNo;
        if (FDefault != Default || FCancel != Cancel || FModalResult != KindModalResult(FKind) ||
            FModifiedGlyph)
            FKind = bkCustom;
    }
    return FKind;
}

void TVekButton::SetKind(TVekBtnKind Value) {
    if (Value == FKind || int(Value) > int(bkDropDownButton)) return;
    if (IsDialogKind(Value)) {
        SetDefault(Value == bkOK || Value == bkYes);
        SetCancel(Value == bkCancel || Value == bkNo);
        const QString Caption = KindCaption(Value);
        if (!Caption.isEmpty()) setText(Caption);
        FModalResult = KindModalResult(Value);
        FGlyph.SetPicture(GetKindGlyph(Value));
        SetNumGlyphs(2);
        FModifiedGlyph = false;
    }
    FKind = Value;
    update();
}

bool TVekButton::IsCustom() const {
    const TVekBtnKind K = Kind();
    return K == bkCustom || K == bkDropDown || K == bkDropDownButton;
}

bool TVekButton::IsCustomCaption() const {
    return QString::localeAwareCompare(text(), KindCaption(FKind)) != 0;
}

void TVekButton::SetGlyph(const QImage& Value) {
    FGlyph.SetPicture(Value);
    FModifiedGlyph = true;
    update();
}

void TVekButton::SetNumGlyphs(int Value) {
    if (Value > 4) Value = 4;
    if (Value != FGlyph.NumGlyphs()) {
        FGlyph.SetNumGlyphs(Value);
        update();
    }
}

void TVekButton::SetLayout(TButtonLayout Value) {
    if (Value == FLayout) return;
    FLayout = Value;
    update();
}

void TVekButton::SetMargin(int Value) {
    if (Value == FMargin || Value < -1) return;
    FMargin = Value;
    update();
}

void TVekButton::SetSpacing(int Value) {
    if (Value == FSpacing) return;
    FSpacing = Value;
    update();
}

void TVekButton::SetControlOnLeft(QWidget* Value) {
    FControlOnLeft = Value == this ? nullptr : Value;
}
void TVekButton::SetControlOnRight(QWidget* Value) {
    FControlOnRight = Value == this ? nullptr : Value;
}
void TVekButton::SetControlOnTop(QWidget* Value) {
    FControlOnTop = Value == this ? nullptr : Value;
}
void TVekButton::SetControlOnBottom(QWidget* Value) {
    FControlOnBottom = Value == this ? nullptr : Value;
}

void TVekButton::SetDropDownMenu(QMenu* Value) {
    FDropDownMenu = Value;
    // A menu that follows its parent's direction takes the button's.
    if (Value && !Value->testAttribute(Qt::WA_SetLayoutDirection))
        Value->setLayoutDirection(layoutDirection());
}

// ------------------------------------------------------------------ state messages

void TVekButton::CMLookStyleChanged() {
    update();
}

void TVekButton::CMButtonColorChanged() {
    // All glyph images are rebuilt with the new shades.
    SetGlyph(QImage(Glyph()));
    update();
}

void TVekButton::SetActive(bool Value) {
    if (Value == FIsActive) return;
    FIsActive = Value;
    repaint();
}

void TVekButton::UpdateActive(QWidget* Focused) {
    SetActive(qobject_cast<QPushButton*>(Focused) ? Focused == this : FDefault);
}

void TVekButton::FocusChanged(QWidget*, QWidget* Now) {
    if (!Now || FormOf(Now) != FormOf(this)) return;
    UpdateActive(Now);
}

void TVekButton::enterEvent(QEnterEvent* Event) {
    QPushButton::enterEvent(Event);
    // Qt's own enter after its window moved can name a point beside the button.
    if (FLookStyle->HighlightTrack() && !FMouseInControl && isEnabled() &&
        rect().contains(Event->position().toPoint())) {
        FMouseInControl = true;
        repaint();
    }
    emit MouseEnter();
}

void TVekButton::leaveEvent(QEvent* Event) {
    QPushButton::leaveEvent(Event);
    if (FLookStyle->HighlightTrack() && FMouseInControl) {
        FMouseInControl = false;
        repaint();
    }
    emit MouseLeave();
}

void TVekButton::changeEvent(QEvent* Event) {
    QPushButton::changeEvent(Event);
    if (Event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) FMouseInControl = false;
        update();
    } else if (Event->type() == QEvent::FontChange)
        update();
}

// ------------------------------------------------------------------ clicks and keys

bool TVekButton::OwnClick() const {
    if (FKind == bkDropDown && !FMenuShowing) return true;
    if (FSwallowClick) return true;
    if (FKind == bkHelp) return HelpHandler() && HelpContextOf(const_cast<TVekButton*>(this)) != 0;
    if (FKind == bkClose) return FormOf(parentWidget()) != nullptr;
    return false;
}

void TVekButton::SetAction(QAction* Value) {
    if (Value == FAction) return;
    disconnect(FActionChanged);
    disconnect(FActionTrigger);
    FAction = Value;
    if (!Value) return;
    FActionChanged = connect(Value, &QAction::changed, this, [this] {
        if (FAction) ActionChange(FAction);
    });
    FActionTrigger = connect(this, &QPushButton::clicked, Value, &QAction::trigger);
    ActionChange(Value);
}

void TVekButton::ActionChange(QAction* Sender) {
    if (!Sender) return;
    setText(Sender->text());
    // The program keeps an action's hint in its status tip (the tool tip Qt makes up
    // from the text otherwise).
    SetHint(Sender->statusTip());
    setEnabled(Sender->isEnabled());
    setVisible(Sender->isVisible());
    CopyActionImage(Sender);
}

void TVekButton::CopyActionImage(QAction* Sender) {
    const QIcon Icon = Sender->icon();
    if (Icon.isNull() || !FGlyph.Picture().isNull()) return;
    // The icon's own size; the smallest when it has several, a small glyph when it has none.
    QSize Size(16, 16);
    const QList<QSize> Sizes = Icon.availableSizes();
    if (!Sizes.isEmpty())
        Size = *std::min_element(Sizes.begin(), Sizes.end(), [](const QSize& A, const QSize& B) {
            return A.width() * A.height() < B.width() * B.height();
        });
    QImage Image(Size, QImage::Format_RGB32);
    Image.fill(QColor(0xFF, 0x00, 0xFF));
    {
        QPainter P(&Image);
        P.drawPixmap(0, 0, Icon.pixmap(Size));
    }
    FGlyph.SetPicture(Image);
    update();
}

void TVekButton::Click() {
    if (FKind == bkDropDown && !FMenuShowing) {
        if (!FSwallowClick && !FDropDownPending) DoDropDown();
        FSwallowClick = false;
        return;
    }
    if (FSwallowClick) {
        FSwallowClick = false;
        return;
    }
    if (FKind == bkHelp) {
        const int Context = HelpContextOf(this);
        if (Context != 0 && HelpHandler()) {
            HelpHandler()(Context);
            return;
        }
    } else if (FKind == bkClose) {
        if (QWidget* Form = FormOf(parentWidget())) {
            Form->close();
            return;
        }
    }
    QPushButton::click();
}

void TVekButton::nextCheckState() {
    QPushButton::nextCheckState();
    if (FModalResult == mrNone) return;
    auto* Dialog = qobject_cast<QDialog*>(window());
    if (!Dialog) return;
    // Like a form's modal result: the dialog closes once the click's handlers ran,
    // unless one of them reset the result.
    Dialog->setResult(FModalResult);
    QMetaObject::invokeMethod(
        Dialog,
        [Dialog] {
            if (Dialog->isVisible() && Dialog->isModal() && Dialog->result() != 0)
                Dialog->done(Dialog->result());
        },
        Qt::QueuedConnection);
}

void TVekButton::DropHoverIfAway() {
    if (!FMouseInControl) return;
    // A button that moved away from under the pointer gets no leave notice (a window
    // docked or undocked, the layout moved it); it drops its hover face by itself.
    // Only the mouse's own enter lights it again.
    if (isVisible() && isEnabled() && rect().contains(mapFromGlobal(QCursor::pos())) &&
        QApplication::widgetAt(QCursor::pos()) == this)
        return;
    FMouseInControl = false;
    update();
}

void TVekButton::WatchWindow() {
    QWidget* Window = window();
    if (Window == FWatchedWindow) return;
    if (FWatchedWindow) FWatchedWindow->removeEventFilter(this);
    FWatchedWindow = Window != this ? Window : nullptr;
    if (FWatchedWindow) FWatchedWindow->installEventFilter(this);
}

bool TVekButton::eventFilter(QObject* Watched, QEvent* Event) {
    // The window manager moves a window just shown (undocked) to its place: the
    // pointer's enter came where the window first stood.
    if (Watched == FWatchedWindow && Event->type() == QEvent::Move && isVisible()) DropHoverIfAway();
    return QPushButton::eventFilter(Watched, Event);
}

bool TVekButton::event(QEvent* Event) {
    switch (Event->type()) {
    case QEvent::Hide:
        DropHoverIfAway();
        break;
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::ParentChange:
        WatchWindow();
        // A hidden button's moves arrive late, when it is shown or painted: only a
        // button on the screen can have moved away from the pointer.
        if (isVisible() && window()->isVisible() && !testAttribute(Qt::WA_PendingMoveEvent))
            DropHoverIfAway();
        break;
    default:
        break;
    }
    if (Event->type() == QEvent::Shortcut) {
        auto* S = static_cast<QShortcutEvent*>(Event);
        if (!S->isAmbiguous() && isEnabled() && OwnClick()) {
            Click();
            return true;
        }
    }
    return QPushButton::event(Event);
}

void TVekButton::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton) {
        const QPoint P = Event->position().toPoint();
        const bool Inside = rect().contains(P);
        const bool InArrow = Inside && P.x() >= width() - ArrowWidth;
        FPressOpenedMenu = false;
        if (FDropDownMenu && InArrow) FArrowPressed = true;
        if (IsDropDownKind() && FDropDownMenu) {
            if (FMenuShowing) {
                // This press ends the open menu; its click must not open it again.
                FSwallowClick = true;
                FMenuShowing = false;
                repaint();
            } else if ((FKind == bkDropDown && Inside) || (FKind == bkDropDownButton && InArrow))
                FPressOpenedMenu = DoDropDown();
        }
    }
    QPushButton::mousePressEvent(Event);
}

void TVekButton::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) {
        QPushButton::mouseReleaseEvent(Event);
        return;
    }
    if (FPressOpenedMenu) {
        // The press opened the menu; the menu owns this mouse action.
        FPressOpenedMenu = false;
        setDown(false);
        Event->accept();
        return;
    }
    FArrowPressed = false;
    QPointer<TVekButton> Self(this);
    if (isDown() && hitButton(Event->position().toPoint()) && OwnClick()) {
        setDown(false);
        Event->accept();
        Click();
    } else
        QPushButton::mouseReleaseEvent(Event);
    // A swallowed click belongs to one press only.
    if (Self) FSwallowClick = false;
}

void TVekButton::keyPressEvent(QKeyEvent* Event) {
    const int Key = Event->key();
    const bool Enter = Key == Qt::Key_Return || Key == Qt::Key_Enter;
    if (Enter && FEnterAsTab) {
        focusNextPrevChild(!(Event->modifiers() & Qt::ShiftModifier));
        Event->accept();
        return;
    }
    QWidget* Neighbour = nullptr;
    switch (Key) {
    case Qt::Key_Left:
        Neighbour = FControlOnLeft;
        break;
    case Qt::Key_Up:
        Neighbour = FControlOnTop;
        break;
    case Qt::Key_Right:
        Neighbour = FControlOnRight;
        break;
    case Qt::Key_Down:
        Neighbour = FControlOnBottom;
        break;
    default:
        break;
    }
    if (Neighbour && Neighbour->isVisible() && Neighbour->isEnabled()) {
        Neighbour->setFocus(Qt::OtherFocusReason);
        Event->accept();
        return;
    }
    if (IsDropDownKind() && FDropDownMenu && (Key == Qt::Key_Up || Key == Qt::Key_Down) &&
        (Event->modifiers() & (Qt::AltModifier | Qt::ShiftModifier))) {
        if (!FMenuShowing) DoDropDown();
        Event->accept();
        return;
    }
    if (Enter && (Event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // The focused button is the active one: Enter clicks it.
        Event->accept();
        Click();
        return;
    }
    QPushButton::keyPressEvent(Event);
}

void TVekButton::keyReleaseEvent(QKeyEvent* Event) {
    if ((Event->key() == Qt::Key_Space || Event->key() == Qt::Key_Select) && !Event->isAutoRepeat() &&
        isDown() && OwnClick()) {
        setDown(false);
        Event->accept();
        Click();
        return;
    }
    QPushButton::keyReleaseEvent(Event);
}

// ------------------------------------------------------------------ drop-down menu

bool TVekButton::DoDropDown() {
    bool ADropDown = true;
    if (OnBeforeDropDownMenu) OnBeforeDropDownMenu(this, ADropDown);
    if (!ADropDown) return false;
    FArrowPressed = true;
    if (!FDropDownPending) {
        FDropDownPending = true;
        QMetaObject::invokeMethod(
            this, [this] { CMShowDropDown(); }, Qt::QueuedConnection);
    }
    return true;
}

QPoint TVekButton::DropDownMenuPoint(const QRect& ButtonOnScreen, int MenuHeight, TPopupAlignment Alignment,
                                     const QRect& Screen) {
    int X = ButtonOnScreen.left();
    if (Alignment == paRight)
        X += ButtonOnScreen.width();
    else if (Alignment == paCenter)
        X += ButtonOnScreen.width() / 2;
    if (X < Screen.left()) X = Screen.left();
    int Y = ButtonOnScreen.top() + ButtonOnScreen.height();
    if (Screen.top() + Screen.height() < Y + MenuHeight) Y = ButtonOnScreen.top() - MenuHeight;
    if (Y < Screen.top()) Y = Screen.top();
    return QPoint(X, Y);
}

int TVekButton::GetMenuHeight(QMenu* Menu) {
    return Menu ? Menu->sizeHint().height() : 0;
}

void TVekButton::CMShowDropDown() {
    FDropDownPending = false;
    QMenu* Menu = FDropDownMenu;
    if (!IsDropDownKind() || !Menu) {
        FArrowPressed = false;
        return;
    }
    FMenuShowing = true;
    // The menu takes the mouse from here on: the press that opened it is over.
    setDown(false);
    repaint();
    const int H = GetMenuHeight(Menu);
    const QPoint TopLeft = mapToGlobal(QPoint(0, 0));
    const QScreen* S = screen();
    const QRect Screen = S ? S->geometry() : QRect(0, 0, 0x7FFF, 0x7FFF);
    const TPopupAlignment Alignment = MenuAlignment(Menu);
    QPoint At = DropDownMenuPoint(QRect(TopLeft, size()), H, Alignment, Screen);
    // The point is the menu's left edge, right edge or centre.
    const int W = Menu->sizeHint().width();
    if (Alignment == paRight)
        At.rx() -= W;
    else if (Alignment == paCenter)
        At.rx() -= W / 2;
    QPointer<TVekButton> Self(this);
    Menu->exec(At);
    if (!Self) return;
    QMetaObject::invokeMethod(
        this, [this] { CMDropDownClosed(); }, Qt::QueuedConnection);
}

void TVekButton::CMDropDownClosed() {
    FMouseInControl = FLookStyle->HighlightTrack() && QApplication::widgetAt(QCursor::pos()) == this;
    FMenuShowing = false;
    repaint();
    FArrowPressed = false;
}

// ------------------------------------------------------------------ painting

namespace {
// Rectangles with exclusive right and bottom edges, as the drawing steps use them.
struct TWinRect {
    int Left, Top, Right, Bottom;
    void Shrink() {
        ++Left;
        ++Top;
        --Right;
        --Bottom;
    }
    void Grow() {
        --Left;
        --Top;
        ++Right;
        ++Bottom;
    }
    QRect Q() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
};

// Pen and brush drawing in exact pixels.
struct TGdi {
    explicit TGdi(QPainter& Canvas) : Canvas(Canvas) {}
    QPainter& Canvas;
    quint32 Pen = clBlack;
    quint32 Brush = clWhite;
    bool BrushClear = false;

    void SetBrush(quint32 Color) {
        Brush = Color;
        BrushClear = false;
    }
    void Fill(int X, int Y, int W, int H, quint32 Color) {
        if (W > 0 && H > 0) Canvas.fillRect(QRect(X, Y, W, H), Qc(Color));
    }
    // 1-pixel border in the pen colour, the inside in the brush colour.
    void Outline(const TWinRect& R) {
        const int W = R.Right - R.Left, H = R.Bottom - R.Top;
        if (W <= 0 || H <= 0) return;
        if (!BrushClear) Fill(R.Left + 1, R.Top + 1, W - 2, H - 2, Brush);
        Fill(R.Left, R.Top, W, 1, Pen);
        Fill(R.Left, R.Bottom - 1, W, 1, Pen);
        Fill(R.Left, R.Top, 1, H, Pen);
        Fill(R.Right - 1, R.Top, 1, H, Pen);
    }
    // Left and top edges in C1; right and bottom edges with the top-right and
    // bottom-left corners in C2; then R shrinks.
    void Frame(TWinRect& R, quint32 C1, quint32 C2) {
        const int W = R.Right - R.Left, H = R.Bottom - R.Top;
        if (W > 0 && H > 0) {
            Fill(R.Left, R.Top, W - 1, 1, C1);
            Fill(R.Left, R.Top, 1, H - 1, C1);
            Fill(R.Right - 1, R.Top, 1, H, C2);
            Fill(R.Left, R.Bottom - 1, W, 1, C2);
        }
        R.Shrink();
    }
    // Dotted focus rectangle: every other edge pixel is XORed with the brush colour,
    // the others with the text colour.
    void FocusRect(const TWinRect& R, quint32 TextColor) {
        const int W = R.Right - R.Left, H = R.Bottom - R.Top;
        if (W <= 0 || H <= 0) return;
        Canvas.save();
        Canvas.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        const QColor Back = Qc(Brush), Text = Qc(TextColor);
        auto Dot = [&](int X, int Y) { Canvas.fillRect(QRect(X, Y, 1, 1), ((X + Y) & 1) ? Back : Text); };
        for (int X = R.Left; X < R.Right; ++X) {
            Dot(X, R.Top);
            if (H > 1) Dot(X, R.Bottom - 1);
        }
        for (int Y = R.Top + 1; Y < R.Bottom - 1; ++Y) {
            Dot(R.Left, Y);
            if (W > 1) Dot(R.Right - 1, Y);
        }
        Canvas.restore();
    }
};
} // namespace

void TVekButton::paintEvent(QPaintEvent*) {
    QPainter Canvas(this);
    DrawItem(Canvas);
}

void TVekButton::DrawItem(QPainter& Canvas) {
    Canvas.setFont(font());
    const int Width = width(), Height = height();
    TWinRect R{0, 0, Width, Height};
    const TVekBtnKind K = Kind();
    const bool D = K == bkDropDown ? FMenuShowing : (FArrowPressed ? false : isDown());
    const bool F = hasFocus();
    const bool A = FIsActive;
    const bool H = FMouseInControl;
    const bool Enabled = isEnabled();
    const TGlyphState S = !Enabled ? gsDisabled : (D && !FArrowPressed ? gsDown : gsUp);

    const TVekLookStyle& L = *FLookStyle;
    const bool HiOn = L.HighlightTrack() || L.HighlightOnFocused();
    const quint32 Face = IsUnset(L.ButtonColor()) ? clBtnFace : L.ButtonColor();
    const quint32 Border = IsUnset(L.BorderColor()) ? SysColor(COLOR_WINDOWFRAME) : L.BorderColor();
    const quint32 Hi = HiOn ? (IsUnset(L.HighlightColor()) ? L.LightColor() : L.HighlightColor()) : Face;
    const quint32 HiText =
        HiOn ? (IsUnset(L.HighlightTextColor()) ? FFontColor : L.HighlightTextColor()) : FFontColor;
    const quint32 Down = IsUnset(L.DownColor()) ? L.DarkColor() : L.DownColor();
    const quint32 DownText = IsUnset(L.DownTextColor()) ? L.LightColor() : L.DownTextColor();
    const bool SystemFace = Face == clBtnFace;
    const quint32 FrameLight = SystemFace ? clBtnHighlight : L.LightColor();
    const quint32 FrameDark = SystemFace ? clBtnShadow : L.DarkColor();
    auto Start = [](quint32 Set, quint32 From) {
        return IsUnset(Set) ? LightenColor(LightenColor(From, 100), 100) : Set;
    };
    const quint32 StartNormal = Start(L.GradStartColor(), Face);
    const quint32 StartDown = Start(L.GradStartDownColor(), Down);
    const quint32 StartHi = Start(L.GradStartHighlightColor(), Hi);

    const TVekStyle Style = L.Style();
    const bool ASB = L.AlwaysShowBorder();
    const bool Flat = Style == vlsFlat, Ultra = Style == vlsUltraFlat;
    const bool Split = K == bkDropDownButton;
    const bool OpenSplit = Split && FMenuShowing;
    TGdi Gdi(Canvas);
    auto Gradient = [&](const TWinRect& G, quint32 From, quint32 To) {
        FillGradient(Canvas, G.Q(), From, To, true);
    };

    // 1. Split layout.
    TWinRect AR{0, 0, 0, 0};
    auto SplitRight = [&](TWinRect& X, int Extra) {
        X.Right = AR.Left + Extra;
        if (!Ultra && ASB) ++X.Right;
    };
    if (Split) {
        AR = TWinRect{R.Right - ArrowWidth, R.Top, R.Right, R.Bottom};
        SplitRight(R, Style == vls3D ? 1 : 2);
    }
    // 2. Border outline.
    if (A || F || (!Ultra && ASB)) {
        Gdi.Pen = Border;
        Gdi.BrushClear = true;
        Gdi.Outline(R);
        R.Shrink();
        if (Split) {
            Gdi.Outline(AR);
            AR.Shrink();
        }
    }
    // 3. Open arrow part.
    if (OpenSplit) {
        if (Flat) {
            Gdi.Frame(AR, FrameDark, FrameLight);
            Gdi.Pen = Down;
        } else
            Gdi.Pen = L.LightBorderColor();
        Gdi.SetBrush(Down);
        Gdi.Outline(AR);
        if (!Flat) AR.Shrink();
        if (L.Gradient()) Gradient(AR, Down, StartDown);
    }
    if (D) {
        // 4. Pressed face.
        if (Flat) {
            Gdi.Frame(R, FrameDark, FrameLight);
            if (Split) Gdi.Frame(AR, FrameDark, FrameLight);
            Gdi.Pen = Down;
        } else
            Gdi.Pen = L.LightBorderColor();
        Gdi.SetBrush(Down);
        Gdi.Outline(R);
        if (!Flat) R.Shrink();
        if (L.Gradient()) Gradient(R, Down, StartDown);
        if (Split) {
            Gdi.Outline(AR);
            if (!Flat) AR.Shrink();
            if (L.Gradient()) Gradient(AR, Down, StartDown);
        }
    } else {
        // 5.1 Relief.
        auto Relief = [&](TWinRect& X) {
            switch (Style) {
            case vls3D:
                Gdi.Frame(X, FrameLight, DarkenColor(FrameDark, 100));
                Gdi.Frame(X, LightenColor(Face, 25), FrameDark);
                break;
            case vlsFlat:
                Gdi.Frame(X, FrameLight, FrameDark);
                break;
            case vlsUltraFlat:
                Gdi.Frame(X, Border, Border);
                if (!(A || F)) X.Grow();
                break;
            }
        };
        Relief(R);
        if (Split && !FMenuShowing) Relief(AR);
        // 5.2 Fill colours.
        quint32 Start = StartNormal;
        if (!OpenSplit && HiOn) {
            if (H || (L.HighlightOnFocused() && A)) {
                Gdi.Pen = (A || F) ? Hi : (Ultra ? Border : Hi);
                Gdi.SetBrush(Hi);
                Start = StartHi;
            } else {
                Gdi.Pen = Ultra ? Border : Face;
                Gdi.SetBrush(Face);
            }
        } else {
            Gdi.Pen = Ultra ? (OpenSplit ? Face : Border) : Face;
            Gdi.SetBrush(Face);
        }
        // 5.3 Fill.
        const bool GradOn = Enabled && L.Gradient();
        if (!(Split && !FMenuShowing)) {
            Gdi.Outline(R);
            if (GradOn) {
                TWinRect G = R;
                if (Ultra && !OpenSplit && !(A || F)) G.Shrink();
                Gradient(G, Start, Gdi.Brush);
            }
        } else {
            Gdi.Outline(AR);
            if (GradOn) {
                TWinRect G = AR;
                if (Ultra) G.Shrink();
                Gradient(G, Start, Gdi.Brush);
            }
            if (A) {
                Gdi.Outline(R);
                if (GradOn) {
                    TWinRect G = R;
                    if (Ultra) G.Shrink();
                    Gradient(G, Start, Gdi.Brush);
                }
            } else {
                const bool Full = Style == vls3D || (Flat && ASB);
                TWinRect O = R;
                if (!Full) --O.Right;
                Gdi.Outline(O);
                if (GradOn) {
                    TWinRect G = R;
                    if (Ultra) G.Shrink();
                    if (!Full) --G.Right;
                    Gradient(G, Start, Gdi.Brush);
                }
            }
            AR.Shrink();
        }
        R.Shrink();
    }
    // 6. Content rectangle of the active button.
    if (A) {
        R = TWinRect{0, 0, Width, Height};
        if (Split) {
            AR = TWinRect{R.Right - ArrowWidth, R.Top, R.Right, R.Bottom};
            SplitRight(R, Style == vls3D && !ASB ? 1 : 2);
        }
        R.Shrink();
    }
    // 7. Caption colour.
    quint32 TextColor = FFontColor;
    if (OpenSplit)
        TextColor = FFontColor;
    else if (D) {
        R.Left += 1;
        R.Right += 1;
        R.Top += 1;
        R.Bottom += 1;
        TextColor = DownText;
    } else if ((L.HighlightTrack() && H) || (L.HighlightOnFocused() && A))
        TextColor = HiText;
    // 8. Glyph and caption.
    Canvas.setPen(Qc(TextColor));
    FGlyph.FaceColor = Face;
    const bool Transparent = L.HighlightTrack() || L.HighlightOnFocused() || D;
    FGlyph.DrawGlyphAndCaption(Canvas, R.Q(), QPoint(0, 0), text(), FLayout, FMargin, FSpacing, S,
                               Transparent, isRightToLeft(), false, L.DarkColor(), L.DarkColor(),
                               L.LightColor());
    // 9. Focus rectangle.
    if (A && F && !OpenSplit) {
        TWinRect FR{0, 0, Width, Height};
        if (Split) {
            AR = TWinRect{Width - ArrowWidth, 0, Width, Height};
            SplitRight(FR, Style == vls3D ? 1 : 2);
        }
        const int Inset = Style == vls3D ? 4 : 3;
        FR.Left += Inset;
        FR.Top += Inset;
        FR.Right -= Inset;
        FR.Bottom -= Inset;
        Gdi.Pen = Border;
        Gdi.SetBrush(D ? Down : (((L.HighlightTrack() && H) || (L.HighlightOnFocused() && A)) ? Hi : Face));
        Gdi.FocusRect(FR, TextColor);
    }
    if (K == bkDropDown || K == bkDropDownButton) DrawDropDownArrow(Canvas, D, HiText, DownText);
}

void TVekButton::DrawDropDownArrow(QPainter& Canvas, bool Down, quint32 HiText, quint32 DownText) {
    TWinRect AR{width() - ArrowWidth, 0, width(), height()};
    AR.Shrink();
    const int HW = (AR.Right - AR.Left) / 2;
    const int HH = (AR.Bottom - AR.Top) / 2;
    const int Q = HW / 2;
    int Y = AR.Bottom - (Q + HH) + 1;
    int X1 = AR.Left + Q;
    int X2 = AR.Right - Q;
    if (Down) {
        ++X1;
        ++X2;
        ++Y;
    }
    const TVekLookStyle& L = *FLookStyle;
    quint32 Color;
    if (!isEnabled())
        Color = L.DarkColor();
    else if (Down || FMenuShowing)
        Color = DownText;
    else if ((L.HighlightTrack() && FMouseInControl) || (L.HighlightOnFocused() && FIsActive))
        Color = HiText;
    else
        Color = FFontColor;
    const QColor C = Qc(Color);
    for (; X1 <= X2; ++X1, --X2, ++Y)
        if (X2 > X1) Canvas.fillRect(QRect(X1, Y, X2 - X1, 1), C);
}
