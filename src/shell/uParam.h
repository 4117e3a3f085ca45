#pragma once
#include "uRegisterFileExt.h"

#include <QDialog>
#include <QLocale>
#include <QStringList>
#include <vector>

class QGroupBox;
class QLabel;
class QListWidget;
class QRadioButton;
class TVekButton;
class TIniFile;

// The settings dialog: PHO dialect, 2x2 page order, every colour setting and the
// file-type registration. Created once at start-up (its creation loads the
// settings) and shown without blocking the main window.
class TfrmParameter : public QDialog {
    Q_OBJECT
public:
    explicit TfrmParameter(QWidget* Parent = nullptr);

    // Settings globals to controls.
    void ShowParameters();
    // Colour dialog for one colour button; a confirmed colour becomes its face colour.
    void btnCol0Click(TVekButton* Sender);
    // The settings globals themselves to their defaults, then shown.
    void btnSetStandardsClick();
    // Controls to settings globals, saved, dialog closed.
    void OKBtnClick();
    void CancelBtnClick();
    void btnRegisterFileExtClick();
    void btnUnregisterFileExtClick();

    // Where the two registration buttons write; tests use a temporary home.
    TFileTypeFolders RegistrationFolders = DefaultFileTypeFolders();

    // Each colour button with the setting it stands for, in the dialog's order.
    struct TColorSetting {
        TVekButton* Button;
        quint32* Setting;
    };
    const std::vector<TColorSetting>& ColorSettings() const { return FColorSettings; }

    QLabel *Image12 = nullptr, *Image1 = nullptr;
    QLabel *lblGrapics = nullptr, *lblListings = nullptr, *lblText = nullptr, *lblFonts = nullptr,
           *Label21 = nullptr;
    QGroupBox *rgPhoFormat = nullptr, *rg2x2Pics = nullptr, *rgBaseColors = nullptr, *rgFontCols = nullptr,
              *rgGR8Cols = nullptr, *rgListingCols = nullptr, *rgPrintListings = nullptr,
              *rbTextCols = nullptr, *rgPrintText = nullptr;
    QRadioButton *rbPHO1 = nullptr, *rbPHO2 = nullptr, *rb2x2A = nullptr, *rb2x2B = nullptr;
    TVekButton *btnCol0 = nullptr, *btnCol1 = nullptr, *btnCol2 = nullptr, *btnCol3 = nullptr;
    TVekButton *btnFontBackCol = nullptr, *btnFontForeCol = nullptr, *btnGR8BackCol = nullptr,
               *btnGR8ForeCol = nullptr, *btnListingBackCol = nullptr, *btnListingForeCol = nullptr,
               *btnListingPrintBackCol = nullptr, *btnListingPrintForeCol = nullptr,
               *btnTextBackCol = nullptr, *btnTextForeCol = nullptr, *btnTextPrintBackCol = nullptr,
               *btnTextPrintForeCol = nullptr;
    QListWidget* FileTypeListBox = nullptr;
    TVekButton *btnRegisterFileExt = nullptr, *btnUnregisterFileExt = nullptr, *btnSetStandards = nullptr,
               *btnOK = nullptr, *btnCancel = nullptr;

private:
    void FormCreate();
    TVekButton* ColorButton(const char* Name, quint32* Setting);
    std::vector<TColorSetting> FColorSettings;
};

extern TfrmParameter* frmParameter;

// Applies the language file at Path to a window: its caption and the Caption, Text
// and Hint of every named component, from the section named after the window (up
// to its first '_').
void TranslateForm(QObject* Form, const QString& Path);
// The same with a language file already read.
void TranslateForm(QObject* Form, const TIniFile& Ini);
// Appends the window's section with its current texts, in the language-file form.
void WriteFormTranslation(QObject* Form, QStringList& Lines);

// The language a language file is for: its name before the first '.' is the English
// name of the language ("german.lng", "English.lng", "French.lng"), compared without
// case with Qt's language names; QLocale::AnyLanguage when none matches.
QLocale::Language LanguageOfFile(const QString& FileName);
// Loads Qt's own translation (qtbase_<code>) for that language so that the standard
// dialogs and buttons speak it; English, and a language Qt has none for, leave Qt's
// English texts. True when a translation is installed.
bool LoadQtTranslation(const QString& FileName);

// The translatable texts of one component; empty when it has no such property.
QString GetComponentText(QObject* Component, const QString& Property, bool* Has = nullptr);
bool SetComponentText(QObject* Component, const QString& Property, const QString& Value);
