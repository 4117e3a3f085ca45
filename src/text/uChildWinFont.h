#pragma once
#include "uTAtariFont.h"

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class ImageView;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPainter;
class QScrollArea;
class QToolButton;
class TVekButton;
class TChildWinFont;

// One-character copy buffers shared by every font window: a character copied in
// one window can be pasted in another.
constexpr int CopyBufferCount = 5;
extern std::array<TCharBytes, CopyBufferCount> CopyBuffers;
extern int CurrentCopyBuffer; // 1..CopyBufferCount

// The row of copy-buffer cells of the character editor.
class TFontDrawGrid : public QWidget {
public:
    static constexpr int ColCount = CopyBufferCount;
    static constexpr int RowCount = 1;
    static constexpr int CellSize = 16;
    static constexpr int LineWidth = 1;

    TFontDrawGrid(TChildWinFont* Owner, QWidget* Parent);
    QRect CellRect(int Col, int Row) const;
    // The cell under a point; false between or outside the cells.
    bool CellAt(const QPoint& P, int& Col, int& Row) const;

protected:
    void paintEvent(QPaintEvent* E) override;
    void mousePressEvent(QMouseEvent* E) override;
    void keyPressEvent(QKeyEvent* E) override;
    void focusInEvent(QFocusEvent* E) override;
    void focusOutEvent(QFocusEvent* E) override;

private:
    TChildWinFont* FOwner;
};

// The document window of a character set: a .FNT file or the built-in set, with
// the character grid, the selected character's codes and the character editor.
class TChildWinFont : public QWidget {
    Q_OBJECT
public:
    explicit TChildWinFont(QWidget* Parent = nullptr);
    ~TChildWinFont() override;

    // ---- what the main window calls ----
    // Loads the font file at Path (its real path) and draws it; Name is the display
    // name. Throws EInOutError when the file cannot be read.
    void OpenDocument(const QString& Path, const QString& Name);
    // The built-in set as font explorer; Editor also opens the character editor.
    void OpenBuiltinFont(bool Editor);
    void FitWindow();
    void ZoomIn();
    void ZoomOut();
    void PrintReport();
    // Save dialog, then the font as .FNT or the grid as .BMP / .JPG.
    void SaveToFile();
    // Writes the font (.FNT) or the shown grid (.BMP, .JPG) by the extension of
    // FileName; false for any other extension (nothing is written then).
    bool SaveAs(const QString& FileName);

    // ---- handlers ----
    void FormShow();
    // True when the window may close; asks about unsaved changes.
    bool FormCloseQuery();
    // Arrow keys move the selection; false for other keys.
    bool FormKeyDown(int Key);
    void imgFontMouseDown(int X, int Y); // zoomed pixel position in imgFont
    void btnATAINTClick();
    void btnInternationalClick();
    void btnDetailsClick();
    void btnIsChildWinClick();
    void btnReportClick() { PrintReport(); }
    void CopyToClipboardClick();
    void DisplayCharBytes(int Code);
    void DisplayCharInfos(int Code);

    // ---- character editor ----
    void btnFontEditClick();
    void imgCharMouseDown(int X, int Y);
    void imgCharMouseMove(int X, int Y, bool LeftButton);
    void btnFontClearClick();
    void btnFontInvertClick();
    void btnFontAtariClick();
    void btnFontUpClick();
    void btnFontDownClick();
    void btnFontLeftClick();
    void btnFontRightClick();
    void btnFontXMirClick();
    void btnFontYMirClick();
    // btnFontRotateLeft turns clockwise, BtnFontRotateRight counter-clockwise.
    void btnFontRotateLeftClick(QObject* Sender);
    // btnFontPaste copies, btnFontPasteOR / AND / XOR combine.
    void btnFontPasteClick(QObject* Sender);
    void btnFontCopyClick();
    void btnFontUndoClick();
    void btnFontRedoClick();
    void FontDrawGridSelectCell(int Col, int Row);
    void FontDrawGridDrawCell(QPainter& Canvas, int Col, int Row, const QRect& Rect);
    // Records the bytes of Code (current order) before an edit; an edit of another
    // character than the history's starts a new history.
    void PushUndo(int Code);
    void RefreshAfterEdit();

    // ---- state ----
    std::unique_ptr<TAtariFont> AtariFont;
    int Gap = 1;
    int FrameX = 1, FrameY = 1;
    int FrameCol = 0, FrameRow = 0;
    int ZoomFactor = 1;
    int CharOrder = 1; // 1 ATASCII order, 0 internal order
    quint8 ShowDetails = 1;
    quint8 EditorOn = 0;
    int SelectedChar = 0; // grid cell 0..255; 128..255 are the inverse characters
    quint8 IsChildWin = 1;
    quint8 Modified = 0;
    bool Explorer = false; // the built-in set: the caption says "Font-Explorer: "
    static constexpr int UndoSlotCount = 100;
    std::array<TCharBytes, UndoSlotCount + 1> UndoSlots{}; // slots 1..100
    int UndoIndex = 1;
    int RedoLimit = 1;
    // ATASCII code of the character the undo history belongs to, -1 without history:
    // switching the order changes what the selected cell means, not the history's character.
    int UndoCode = -1;
    int LastCol = 0, LastRow = 0;
    quint32 GridColor1 = 0xF0CAA6, GridColor2 = 0xF0FBFF;
    QImage imgBuffDummy; // one copy buffer, drawn before it is stretched into its cell

    // ---- components ----
    QWidget* pnlTop = nullptr;
    QToolButton *btnDetails = nullptr, *btnATAINT = nullptr, *btnInternational = nullptr,
                *btnReport = nullptr, *btnFontEdit = nullptr, *btnIsChildWin = nullptr;
    QScrollArea* ScrollBox = nullptr;
    ImageView* imgFont = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* CopyToClipboard = nullptr;
    QWidget* pnlBottom = nullptr;
    QFrame* shEdit = nullptr;
    ImageView* imgChar = nullptr;
    QLabel *stDec = nullptr, *stHex = nullptr;
    std::array<QLabel*, 8> stBits{};
    std::array<QLabel*, 8> DecTexts{}; // StaticText1..StaticText8
    std::array<QLabel*, 8> HexTexts{}; // StaticText10..StaticText17
    QLabel *stFontName = nullptr, *stFontOrder = nullptr, *stATASC = nullptr, *stIntern = nullptr,
           *stPEEK764 = nullptr, *stPressKeys = nullptr, *stASCII = nullptr;
    QLabel *lblFontname = nullptr, *lblFontType = nullptr, *lblATASC = nullptr, *lblInt = nullptr,
           *lblKeyb = nullptr, *lblKeysToPress = nullptr, *lblASCII = nullptr;
    QLabel* lblHint1 = nullptr;
    QWidget* pnlFontEditor = nullptr;
    QLabel *lblFETitle = nullptr, *lblFEVersion = nullptr, *lblCopyBuffText = nullptr;
    TVekButton *btnFontUp = nullptr, *btnFontDown = nullptr, *btnFontLeft = nullptr, *btnFontRight = nullptr,
               *btnFontClear = nullptr, *btnFontInvert = nullptr, *btnFontXMir = nullptr,
               *btnFontYMir = nullptr, *btnFontAtari = nullptr, *btnFontUndo = nullptr,
               *btnFontRedo = nullptr, *btnFontCopy = nullptr, *btnFontPaste = nullptr,
               *btnFontPasteOR = nullptr, *btnFontPasteAND = nullptr, *btnFontPasteXOR = nullptr,
               *btnFontRotateLeft = nullptr, *BtnFontRotateRight = nullptr;
    TFontDrawGrid* FontDrawGrid = nullptr;

    static constexpr int TopHeight = 27;
    static constexpr int BottomHeight = 115;
    static constexpr int CharScale = 11;

protected:
    void keyPressEvent(QKeyEvent* E) override;
    void contextMenuEvent(QContextMenuEvent* E) override;
    void closeEvent(QCloseEvent* E) override;
    void showEvent(QShowEvent* E) override;
    void focusInEvent(QFocusEvent* E) override;
    void focusOutEvent(QFocusEvent* E) override;

private:
    // The grid takes the arrow keys while the window itself has the focus; its
    // current cell then shows a focus mark.
    void UpdateGridFocusMark();
    void BuildDetailsPanel();
    void ShowNewFont(const QString& Name);
    QString Caption() const;
    void BuildEditorPanel();
    void PrepareFontImages(); // the sizing and drawing shared by both ways of opening
    int BottomPanelHeight() const;
    void ShowBottomPanel(bool Show);
    void ShowChar(int Code);
    void RedrawFont();
    void DrawFontInto(QImage& Image, int Selector) const;
    void DrawFrame(int X, int Y, quint32 Colour);
    void DrawSelectionFrame(); // red while the details panel shows, else erased
    void EraseSelectionFrame();
    void SelectCell(int Col, int Row);
    void ResetUndo();
    void UpdateCharCursor();
    // One change of the selected character (codes 0..127 only), with undo snapshot.
    void EditChar(const std::function<void()>& Change);
    void TransformChar(const std::function<void(TCharBytes&)>& Transform);
    void PutChar(const TCharBytes& Bytes, int Mode);
    // The history's character in the current order, -1 without history.
    int UndoCharCode() const;
    void SetCharFromSlot(int Code);
};

// Repaints the copy-buffer cells of every font window.
void RepaintCopyBuffers();
