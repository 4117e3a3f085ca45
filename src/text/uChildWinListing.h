#pragma once
#include "uTAtariFont.h"
#include "uTAtariListing.h"

#include <QList>
#include <QTextDocument>
#include <QWidget>
#include <array>
#include <memory>

class ImageView;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QTabWidget;
class QTextEdit;
class QToolButton;
class TReportJob;

// The listing window's status bar: panels of 100 and 175 pixels and a last one
// (at least 50) that takes the rest of the width.
class TListingStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit TListingStatusBar(QWidget* Parent = nullptr);
    void SetPanelText(int Index, const QString& Text);
    QString PanelText(int Index) const;

private:
    std::array<QLabel*, 3> FPanels{};
};

// The window of one Atari program listing: the listing drawn as Atari screen lines
// on one tab, as PC text or rich text on the other.
class TChildWinListing : public QWidget {
    Q_OBJECT
public:
    explicit TChildWinListing(QWidget* Parent = nullptr);
    ~TChildWinListing() override;

    // Loads, types and draws the file at Path (Name: its display name), after the
    // window has been put into the main window's MDI area. False when the window
    // was closed while its page was being drawn; nothing of it may be touched then.
    bool OpenDocument(const QString& Path, const QString& Name);
    // Tells what the open left out (a listing cut at its buffer); the main window
    // calls it once the window is translated.
    void ShowOpenNotices();

    // Operations the main window calls; its invert command inverts imgListing->Picture.
    void FitWindow();
    void ZoomIn();
    void ZoomOut();
    void SaveToFile();
    void PrintReport();

    // Draws the listing into Image (the shown page or a page to print) with the
    // characters per line and left margin of the edits; nothing happens for values
    // outside 1-160 and 0-40. Throws EConvertError for text that is not a number.
    // False when the drawing was cut short (the window went away or the page is
    // already being drawn).
    bool ReformatListing(QImage& Image, quint32 FgColor, quint32 BgColor);
    void ShowCaretPos();
    // Start positions of Text in the rich edit's document, searched with Options.
    static QList<int> FindAll(QTextEdit* RichEdit, const QString& Text, QTextDocument::FindFlags Options);

    // Event handlers.
    void btnReportClick() { PrintReport(); }
    void btnReFormatClick();
    void edcplKeyDown(int Key);
    void cbWordwrapClick();
    void cbInvStylesChange();
    void edFontSizeKeyDown(int Key);
    void edSearchKeyDown(int Key);
    void btnSearchClick();
    void btnIsChildWinClick();
    void PageControl1Change();
    void imgListingClick();
    void ScrollBox1Click();
    void ScrollBox1MouseWheelDown();
    void ScrollBox1MouseWheelUp();
    void CopyToClipboardClick();

    std::unique_ptr<TAtariListing> AtariListing;
    std::unique_ptr<TAtariFont> AtariFont;
    quint8 IsChildWin = 1;

    QWidget* pnlTop = nullptr;
    QToolButton *btnReport = nullptr, *btnReFormatListing = nullptr, *btnSearch = nullptr,
                *btnIsChildWin = nullptr;
    QLabel *lblCharPerL = nullptr, *lblLeftMarg = nullptr, *lblInvStyle = nullptr, *lblFontSize = nullptr,
           *lblSearch = nullptr;
    QLineEdit *edcpl = nullptr, *edlmarg = nullptr, *edFontSize = nullptr, *edSearch = nullptr;
    QCheckBox* cbWordwrap = nullptr;
    QComboBox* cbInvStyles = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr, *TabSheet2 = nullptr;
    QLabel *Label2 = nullptr, *Label3 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    ImageView* imgListing = nullptr;
    QTextEdit* TextField = nullptr;
    TListingStatusBar* StatusBar1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* CopyToClipboard = nullptr;

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override;

private:
    QWidget* FControls = nullptr; // the top panel's controls, left of the dock button
    QString FOpenNotice;
    void BuildTopPanel();
    // The dock button at the panel's right end, the controls clipped before it.
    void PlaceTopControls();
    void BuildPages();
    // Empties TextField and puts the PC text in; AsLine ends it with a line break.
    void SetPCText(const QByteArray& Text, bool AsLine);
    // Draws the listing into Image; the shown page gets its natural size back.
    bool RenderPage(QImage& Image, int CharsPerLine, int LeftMargin, quint32 FgColor, quint32 BgColor);
    // Puts the pages of the shown tab into Job: the PC text as flowing text, the
    // Atari page as picture strips.
    void RvSystem1Print(TReportJob& Job, int Page);
    void FitToImageWidth(int ImageWidth);
    void CaretLineCol(int& Line, int& Col) const;
};
