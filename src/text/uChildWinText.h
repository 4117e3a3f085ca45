#pragma once
// The window of one Atari text file: the text as an Atari screen page and as PC or
// rich text, on two tabs.
#include "uTAtariFont.h"
#include "uTAtariText.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>
#include <memory>

class ImageView;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QScrollArea;
class QStatusBar;
class QTabWidget;
class QTextEdit;
class QToolButton;
class TReportJob;

class TChildWinText : public QWidget {
    Q_OBJECT
public:
    explicit TChildWinText(QWidget* Parent = nullptr);
    ~TChildWinText() override;

    // The open dispatch for a text file, run after the window was put into the MDI
    // area: loads Path, converts it in the dialect forced by TextMode (else the one
    // detected), draws the page and sizes the window. Name is the display name.
    // Throws EInOutError when the file cannot be read. A text too tall for one page
    // shows the lines that fit. What was left out is told by ShowOpenNotices.
    void OpenDocument(const QString& Path, const QString& Name);
    // Shows, in one warning, what the last OpenDocument could not show (the file's end
    // beyond the buffer, the lines beyond the page), then forgets it. The open dispatch
    // calls it once the window is translated.
    void ShowOpenNotices();

    // Operations the main window calls (the invert command inverts imgText->Picture,
    // then calls imgText->Changed()).
    void FitWindow();
    void ZoomIn();
    void ZoomOut();
    void FileSaveAsItemClick();
    void PrintReport();

    // Saves by the extension of FileName (upper-cased): .RTF the text tab as rich text,
    // .TXT as Windows-1252 text with CR LF line ends, .BMP / .JPG the page. Any other
    // extension writes nothing.
    void SaveToFile(const QString& FileName);
    // Draws the document into Image at the width and margin of edCPL / edLMarg
    // (1-160, 0-80; outside them nothing happens) with CharSelector. Throws
    // EConvertError when an edit holds no integer. True when the page is complete.
    bool ReformatText(QImage& Image, quint32 FgColor, quint32 BgColor);
    // The dialect of the radio buttons: 0 ATASCII, 1 ATARI-Schreiber, 2 Startexter.
    int Dialect() const;
    void ShowCaretPos();
    QString StatusPanelText(int Index) const;

    // Event handlers.
    void btnASchreiberClick();
    void cbTxtStylesChange();
    void cbSpecCharsClick();
    void btnReFormatListingClick();
    void edCPLKeyDown(int Key);
    void PageControl1Change(int Index);
    void cbWordwrapClick();
    void TextFieldKeyDown() { ShowCaretPos(); }
    void TextFieldMouseDown() { ShowCaretPos(); }
    void imgTextClick();
    void ScrollBox1Click();
    void ScrollBox1MouseWheelDown();
    void ScrollBox1MouseWheelUp();
    void CopyToClipboardClick();
    void btnIsChildWinClick();
    void Button1Click() { PrintReport(); }

    std::unique_ptr<TAtariText> AtariText;
    std::unique_ptr<TAtariFont> AtariFont;
    quint8 IsChildWin = 1;
    quint8 CharSelector = 1;
    QString SourceFileName; // real path of the opened file

    QWidget* pnlTop = nullptr;
    QToolButton *btnReport = nullptr, *btnReFormatListing = nullptr, *btnIsChildWin = nullptr;
    QLabel *lblTxtFormat = nullptr, *lblCharPerL = nullptr, *lblLeftMarg = nullptr, *lblTextAs = nullptr;
    QRadioButton *btnATASCII = nullptr, *btnASchreiber = nullptr, *btnStartexter = nullptr;
    QCheckBox *cbSpecChars = nullptr, *cbWordwrap = nullptr;
    QLineEdit *edCPL = nullptr, *edLMarg = nullptr;
    QComboBox* cbTxtStyles = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr, *TabSheet2 = nullptr;
    QLabel *Label2 = nullptr, *Label3 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    ImageView* imgText = nullptr;
    QTextEdit* TextField = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanels[2] = {nullptr, nullptr};
    QMenu* PopupMenu1 = nullptr;
    QAction* CopyToClipboard = nullptr;

protected:
    bool eventFilter(QObject* Watched, QEvent* E) override;

private:
    struct TPageLayout {
        int Cpl = 0, Lm = 0, Selector = 1;
        quint32 Fg = 0, Bg = 0;
    };
    // Draws with the status text, hourglass and progress bar around it: as many bytes
    // as fit on one page (their number in Drawn).
    bool RenderPage(QImage& Image, const TPageLayout& Layout, bool Shown, int* Drawn = nullptr);
    bool DrawShownPage(const TPageLayout& Layout);
    // The shown page holds Drawn bytes: tells when it newly leaves lines out.
    void NoteShownLength(int Drawn);
    void InsertPCText(const QByteArray& Text);
    void AddPicturePages(TReportJob& Job);

    TPageLayout FShown;    // how the shown page was drawn last (Cpl 0: never)
    int FShownLength = -1; // bytes of the document the shown page holds
    bool FOpening = false; // notices wait for ShowOpenNotices
    QStringList FOpenNotices;
    TPageLayout FPendingLayout; // asked for while the shown page was being drawn
    bool FDrawing = false;      // the shown page is being drawn (events run meanwhile)
    bool FRedrawPending = false;
    bool FPrinting = false;
    QElapsedTimer FRepaintClock;
};
