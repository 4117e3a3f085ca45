#pragma once
// The look-style button: a push button that paints its whole face itself in one of
// three looks, highlights while hovered or active, shows a glyph beside its caption,
// offers the dialog-button kinds and two drop-down kinds, and handles Default,
// Cancel and ModalResult on its own.

#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <functional>
#include <memory>
#include <vector>

#include "WinColor.h"

class QAction;
class QPainter;
class TVekButton;

// Modal results handed to the dialog by a click.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrAbort = 3;
constexpr int mrRetry = 4;
constexpr int mrIgnore = 5;
constexpr int mrYes = 6;
constexpr int mrNo = 7;
constexpr int mrAll = 8;

enum TVekStyle : quint8 { vls3D, vlsFlat, vlsUltraFlat };

enum TVekBtnKind : quint8 {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll,
    bkDropDown,
    bkDropDownButton
};

enum TButtonLayout : quint8 { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The glyph images; the ordinal is also the picture cell holding the image.
enum TGlyphState : quint8 { gsUp, gsDisabled, gsDown, gsExclusive };

// Where a drop-down menu lies relative to the point it opens at.
enum TPopupAlignment { paLeft, paRight, paCenter };
// A drop-down menu's alignment is kept on the menu itself (property "Alignment").
void SetMenuAlignment(QMenu* Menu, TPopupAlignment Alignment);
TPopupAlignment MenuAlignment(const QMenu* Menu);

// The kind tables.
QString KindCaption(TVekBtnKind Kind);
int KindModalResult(TVekBtnKind Kind);
// Resource name of the kind's glyph; nullptr for the kinds without one.
const char* KindResourceName(TVekBtnKind Kind);
// The kind's glyph picture, loaded on first request and kept. Only for the ten
// dialog kinds; throws EMorvanelError when the picture cannot be loaded.
const QImage& GetKindGlyph(TVekBtnKind Kind);

// ------------------------------------------------------------------ look settings

class TVekCustomLookStyle : public QObject {
    Q_OBJECT
public:
    // Owner: the button that receives the change notices (may be null).
    explicit TVekCustomLookStyle(TVekButton* Owner = nullptr);

    TVekButton* Owner() const { return FOwner; }

    // Copies every setting of Source through the setters. Throws EConvertError
    // when Source is not a look style; the settings then stay as they were.
    void Assign(const QObject* Source);

    bool AlwaysShowBorder() const { return FAlwaysShowBorder; }
    void SetAlwaysShowBorder(bool Value);
    quint32 BorderColor() const { return FBorderColor; }
    void SetBorderColor(quint32 Value);
    quint32 ButtonColor() const { return FButtonColor; }
    void SetButtonColor(quint32 Value);
    quint32 DownColor() const { return FDownColor; }
    void SetDownColor(quint32 Value);
    quint32 DownTextColor() const { return FDownTextColor; }
    void SetDownTextColor(quint32 Value);
    bool Gradient() const { return FGradient; }
    void SetGradient(bool Value);
    quint32 GradStartColor() const { return FGradStartColor; }
    void SetGradStartColor(quint32 Value);
    quint32 GradStartDownColor() const { return FGradStartDownColor; }
    void SetGradStartDownColor(quint32 Value);
    quint32 GradStartHighlightColor() const { return FGradStartHighlightColor; }
    void SetGradStartHighlightColor(quint32 Value);
    quint32 HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(quint32 Value);
    bool HighlightOnFocused() const { return FHighlightOnFocused; }
    void SetHighlightOnFocused(bool Value);
    quint32 HighlightTextColor() const { return FHighlightTextColor; }
    void SetHighlightTextColor(quint32 Value);
    bool HighlightTrack() const { return FHighlightTrack; }
    void SetHighlightTrack(bool Value);
    TVekStyle Style() const { return FStyle; }
    void SetStyle(TVekStyle Value);

    // Shades derived from ButtonColor and BorderColor when those are set.
    quint32 LightColor() const { return FLightColor; }
    quint32 DarkColor() const { return FDarkColor; }
    quint32 LightBorderColor() const { return FLightBorderColor; }

private:
    void LookChanged();
    void ButtonColorChanged();

    TVekButton* FOwner;
    quint32 FHighlightColor = clDefault;
    quint32 FButtonColor = clBtnFace;
    quint32 FBorderColor = SysColor(COLOR_WINDOWFRAME);
    quint32 FHighlightTextColor = clDefault;
    TVekStyle FStyle = vlsUltraFlat;
    quint32 FLightColor;
    quint32 FDarkColor;
    quint32 FDownColor = clDefault;
    quint32 FDownTextColor = clDefault;
    quint32 FLightBorderColor;
    bool FHighlightTrack = true;
    bool FHighlightOnFocused = true;
    bool FGradient = false;
    bool FAlwaysShowBorder = false;
    quint32 FGradStartColor = clDefault;
    quint32 FGradStartHighlightColor = clDefault;
    quint32 FGradStartDownColor = clDefault;
};

class TVekLookStyle : public TVekCustomLookStyle {
    Q_OBJECT
public:
    using TVekCustomLookStyle::TVekCustomLookStyle;
};

// ------------------------------------------------------------------ glyph images

// Images of one cell size, shared by all glyph holders with glyphs of that size.
// Slots are taken and given back; a freed slot's image is reused by the next add.
class TGlyphList {
public:
    TGlyphList(int Width, int Height) : FWidth(Width), FHeight(Height) {}
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Adds Image with the pixels of MaskColor see-through (clDefault: the colour
    // of the image's bottom-left pixel); returns the slot.
    int AddImage(const QImage& Image, quint32 MaskColor);
    void FreeSlot(int Slot);
    // Slots in use, and all slots the list holds.
    int Count() const { return FCount; }
    int ImageCount() const { return int(FImages.size()); }
    // The masked image of a slot (ARGB); a null image for a slot outside the list.
    QImage Image(int Slot) const;

private:
    int TakeFreeSlot();
    int FWidth, FHeight;
    std::vector<QImage> FImages;
    std::vector<bool> FUsed;
    int FCount = 0;
};

class TGlyphCache {
public:
    // The list for that cell size, made when there is none yet.
    TGlyphList* AcquireList(int Width, int Height);
    // Frees the list when it holds no image in use.
    void ReleaseList(TGlyphList* List);
    bool Empty() const { return FLists.empty(); }
    int ListCount() const { return int(FLists.size()); }

private:
    std::vector<std::unique_ptr<TGlyphList>> FLists;
};

// Exists from the first glyph holder until the last one leaves it empty.
extern TGlyphCache* GlyphCache;

// Where glyph and caption go inside a face.
struct TGlyphLayout {
    QPoint GlyphPos;
    QRect TextBounds;
};

// Keeps a button's glyph picture, builds its state images and draws glyph and caption.
class TButtonGlyph {
public:
    TButtonGlyph();
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    const QImage& Picture() const { return FPicture; }
    // Takes a copy; a picture whose width is a whole multiple of its height sets the
    // cell count to width / height (more than 4 cells count as 1).
    void SetPicture(const QImage& Picture);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    // The picture's see-through colour: its bottom-left pixel; olive before any picture.
    quint32 TransparentColor() const { return FTransparentColor; }
    // Background of opaque glyphs and of built disabled images.
    quint32 FaceColor = clBtnFace;
    // Called after the picture or the cell count changed.
    std::function<void()> OnChange;

    // The slot of the state's image in ImageList(), built when missing; the disabled
    // image is built anew on every call with the colours given. -1 without a picture.
    int BuildStateImage(TGlyphState State, quint32 DarkColor, quint32 LightColor);
    // The state's image as drawn (see-through pixels transparent); null without a picture.
    QImage StateImage(TGlyphState State, quint32 DarkColor, quint32 LightColor);
    TGlyphList* ImageList() const { return FGlyphList; }
    void ReleaseImages();

    // Places glyph and caption inside Client. All divisions truncate toward zero.
    static TGlyphLayout CalcButtonLayout(const QRect& Client, const QPoint& Offset, const QSize& GlyphSize,
                                         const QSize& TextSize, TButtonLayout Layout, int Margin, int Spacing,
                                         bool RightToLeft);
    // Lays out, draws glyph and caption (in the painter's pen colour, or in
    // DisabledTextColor for gsDisabled) and returns the caption rectangle. The
    // caption shows "&" mnemonics as underlines.
    QRect DrawGlyphAndCaption(QPainter& Canvas, const QRect& Client, const QPoint& Offset,
                              const QString& Caption, TButtonLayout Layout, int Margin, int Spacing,
                              TGlyphState State, bool Transparent, bool RightToLeft, bool WordWrap,
                              quint32 DisabledTextColor, quint32 DarkColor, quint32 LightColor);
    // The caption's size as the layout measures it.
    static QSize CaptionSize(const QFontMetrics& Metrics, const QString& Caption, int ClientWidth,
                             bool WordWrap);

private:
    void PictureChanged();
    QSize CellSize() const;
    QImage FPicture;
    TGlyphList* FGlyphList = nullptr;
    int FIndexs[4] = {-1, -1, -1, -1};
    quint32 FTransparentColor = clOlive;
    int FNumGlyphs = 1;
};

// ------------------------------------------------------------------ the button

// ADropDown is True on entry; setting it False cancels the opening.
using TVekBeforeDropDownMenu = std::function<void(TVekButton* Sender, bool& ADropDown)>;
// Shows the help for a help context.
using TVekHelpHandler = std::function<void(int HelpContext)>;
// Installed by the application; a bkHelp button looks for the first of itself and
// its parents with a non-zero "HelpContext" property and hands it to the handler.
void SetVekHelpHandler(TVekHelpHandler Handler);

class TVekButton : public QPushButton {
    Q_OBJECT
    // Texts the language files translate by name.
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)

public:
    explicit TVekButton(QWidget* Parent = nullptr);
    ~TVekButton() override;

    QString Caption() const { return text(); }
    void SetCaption(const QString& Value) { setText(Value); }
    QString Hint() const { return toolTip(); }
    void SetHint(const QString& Value);

    // Look settings; the object lives as long as the button. SetLookStyle copies.
    TVekLookStyle* LookStyle() const { return FLookStyle; }
    void SetLookStyle(const QObject* Value);

    // Caption colour when no highlight or pressed colour applies.
    quint32 FontColor() const { return FFontColor; }
    void SetFontColor(quint32 Value);

    // Enter in the window clicks the Default button unless another push button has
    // the focus; Escape clicks the Cancel button. A click hands ModalResult to a
    // modal QDialog holding the button, which closes with it after the click's
    // handlers ran (a handler may cancel that with setResult(0)). These are the
    // button's own settings; QPushButton's isDefault()/autoDefault() stay off.
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }

    // Dialog kinds silently read as bkCustom once Default, Cancel, ModalResult or
    // the glyph no longer match them.
    TVekBtnKind Kind() const;
    void SetKind(TVekBtnKind Value);
    // What a window layout would store: Default, Cancel, Glyph, ModalResult and
    // NumGlyphs only for bkCustom and the drop-down kinds, the caption only when it
    // is not the kind's own.
    bool IsCustom() const;
    bool IsCustomCaption() const;

    const QImage& Glyph() const { return FGlyph.Picture(); }
    void SetGlyph(const QImage& Value);
    int NumGlyphs() const { return FGlyph.NumGlyphs(); }
    void SetNumGlyphs(int Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    // Pixels between edge and glyph; -1 centres. Values below -1 are ignored.
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    // Pixels between glyph and caption; -1 spreads the free room evenly.
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);

    // Controls that take the focus on the arrow keys (never the button itself).
    QWidget* ControlOnLeft() const { return FControlOnLeft; }
    void SetControlOnLeft(QWidget* Value);
    QWidget* ControlOnRight() const { return FControlOnRight; }
    void SetControlOnRight(QWidget* Value);
    QWidget* ControlOnTop() const { return FControlOnTop; }
    void SetControlOnTop(QWidget* Value);
    QWidget* ControlOnBottom() const { return FControlOnBottom; }
    void SetControlOnBottom(QWidget* Value);
    bool EnterAsTab() const { return FEnterAsTab; }
    void SetEnterAsTab(bool Value) { FEnterAsTab = Value; }

    // The menu of bkDropDown (whole button) and bkDropDownButton (the rightmost
    // ArrowWidth pixels). A reference only.
    QMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(QMenu* Value);
    TVekBeforeDropDownMenu OnBeforeDropDownMenu;
    static constexpr int ArrowWidth = 15;
    bool MenuShowing() const { return FMenuShowing; }

    // The action the button follows: caption, hint, enabled and visible state come
    // from it whenever it changes, a click triggers it, and its icon becomes the
    // glyph while the glyph is empty. A reference only; nullptr unlinks.
    QAction* Action() const { return FAction; }
    void SetAction(QAction* Value);

    // The control's own click: opens the menu (bkDropDown), shows help (bkHelp),
    // closes the window (bkClose), or clicks as a push button. Input (mouse, Space,
    // Enter, mnemonic, Default and Cancel keys) goes through here; click() stays the
    // plain push-button click.
    void Click();

    // State the face is painted from.
    bool IsActive() const { return FIsActive; }
    bool MouseInControl() const { return FMouseInControl; }

    // Menu anchor as the button places it: below the button, above it when the
    // screen has no room below; never left of or above the screen.
    static QPoint DropDownMenuPoint(const QRect& ButtonOnScreen, int MenuHeight, TPopupAlignment Alignment,
                                    const QRect& Screen);
    // Height the menu will take on screen.
    static int GetMenuHeight(QMenu* Menu);

signals:
    void MouseEnter();
    void MouseLeave();

protected:
    // Takes the linked action's texts and state, then its icon (CopyActionImage).
    void ActionChange(QAction* Sender);
    void paintEvent(QPaintEvent* Event) override;
    void enterEvent(QEnterEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void nextCheckState() override;

private:
    friend class TVekCustomLookStyle;
    friend class TVekDialogKeys;
    void CMLookStyleChanged();
    void CMButtonColorChanged();
    void CMShowDropDown();
    void CMDropDownClosed();
    // Asks OnBeforeDropDownMenu and queues the menu; false when vetoed.
    bool DoDropDown();
    void SetActive(bool Value);
    // Clears the hover state when the pointer is no longer over the button.
    void DropHoverIfAway();
    // Follows the moves of the window the button is on.
    void WatchWindow();
    void UpdateActive(QWidget* Focused);
    void FocusChanged(QWidget* Old, QWidget* Now);
    // True when Click() does something other than the push-button click.
    bool OwnClick() const;
    bool IsDropDownKind() const { return FKind == bkDropDown || FKind == bkDropDownButton; }
    void DrawItem(QPainter& Canvas);
    void DrawDropDownArrow(QPainter& Canvas, bool Down, quint32 HiText, quint32 DownText);
    // An empty glyph takes the action's icon on fuchsia, the see-through colour.
    void CopyActionImage(QAction* Sender);

    TButtonGlyph FGlyph;
    mutable TVekBtnKind FKind = bkCustom;
    TButtonLayout FLayout = blGlyphLeft;
    int FSpacing = 4;
    int FMargin = -1;
    bool FIsActive = false;
    bool FModifiedGlyph = false;
    bool FMouseInControl = false;
    TVekLookStyle* FLookStyle = nullptr;
    bool FEnterAsTab = false;
    QPointer<QMenu> FDropDownMenu;
    bool FMenuShowing = false;
    bool FSwallowClick = false;
    bool FArrowPressed = false;
    // A show request is queued; a second request before it runs is dropped.
    bool FDropDownPending = false;
    // The current mouse press already asked for the menu: its release is no click.
    bool FPressOpenedMenu = false;
    QPointer<QWidget> FControlOnRight, FControlOnLeft, FControlOnTop, FControlOnBottom;
    QPointer<QAction> FAction;
    QPointer<QWidget> FWatchedWindow;
    QMetaObject::Connection FActionChanged, FActionTrigger;
    quint32 FFontColor = clWindowText;
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = mrNone;
};
