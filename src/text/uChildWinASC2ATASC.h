#pragma once
// The ASCII to ATASCII editor: a PC text above, converted to ATASCII and shown as an
// Atari screen page below.
#include "uConvertA8.h"
#include "uTAtariFont.h"
#include "uTAtariText.h"

#include <QWidget>
#include <memory>

class ImageView;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;
class QSplitter;
class QStatusBar;
class QTimer;
class QToolButton;

class TChildWinASC2ATASC : public QWidget {
    Q_OBJECT
public:
    explicit TChildWinASC2ATASC(QWidget* Parent = nullptr);
    ~TChildWinASC2ATASC() override;

    // Operations the main window calls (the invert command inverts imgText->Picture,
    // then calls imgText->Changed()). The window has no fit operation.
    void ZoomIn();
    void ZoomOut();
    void SaveTextFile();
    void PrintReport();

    void ConvertAndReformat();
    // Draws this window's ATASCII bytes into Image at the width and margin of the two
    // edits; cpl outside 1-160 or lm outside 0-80 draws nothing. Throws EConvertError
    // when an edit holds no integer.
    void ReformatText(ImageView* Image, quint32 FgColor, quint32 BgColor);
    void OpenTextFile();
    // The editor text as the conversion takes it: Windows-1252 bytes, every line
    // followed by CR LF.
    QByteArray EditorText() const;
    // The editor text exactly as typed, lines ended by LF, for a save as PC text.
    QString EditorFileText() const;
    // The editor text converted as it stands now, for a save as ATASCII.
    QByteArray EditorAtascii() const;
    // Text typed or changed since it was last loaded or saved.
    bool Modified() const { return EditorFileText() != FSavedText; }
    // The close question: true when the window may close (saved, or "Nein").
    bool FormCloseQuery();

    // Event handlers.
    void btnATASCIIClick() { ConvertAndReformat(); }
    void btnReFormatListingClick() { ConvertAndReformat(); }
    void Timer1Timer();
    void cbAutoConvertClick();
    void btnOpenClick() { OpenTextFile(); }
    void btnSaveClick() { SaveTextFile(); }
    void btnIsChildWinClick();

    QString FileName;       // display name of the PC text opened last
    QString SourceFileName; // its real path: the save dialog proposes its name as on disk
    // How that file was written; a PC text save writes the same. A new text is
    // Windows-1252 with CR LF.
    TPCTextFormat TextFormat;
    std::unique_ptr<TAtariFont> AtariFont;
    std::unique_ptr<TAtariText> AtariText;
    std::unique_ptr<TConvertA8> ConvertA8;
    quint8 IsChildWin = 1;

    QWidget* pnlTop = nullptr;
    QToolButton *btnOpen = nullptr, *btnSave = nullptr, *btnATASCII = nullptr, *btnUpdate = nullptr,
                *btnIsChildWin = nullptr;
    QCheckBox* cbAutoConvert = nullptr;
    QLabel *lblCharPerL = nullptr, *lblLeftMarg = nullptr;
    QLineEdit *edCPL = nullptr, *edLMarg = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget *Panel1 = nullptr, *Panel2 = nullptr;
    QLabel *lblASCIIEditor = nullptr, *Label3 = nullptr, *lblATASCIIPreview = nullptr;
    QPlainTextEdit* TextEdit = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    ImageView* imgText = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void closeEvent(QCloseEvent* E) override;

private:
    int FSaveFilterIndex = 1; // the save dialog starts with the filter chosen last
    bool FFormatting = false; // a page is being drawn (events run meanwhile)
    bool FClosed = false;
    QString FSavedText; // the editor text when last loaded or saved
};
