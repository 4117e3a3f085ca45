#pragma once
#include <QDialog>
#include <QStringList>

// The settings dialog; its creation loads the settings for the first time.
class TfrmParameter : public QDialog {
    Q_OBJECT
public:
    explicit TfrmParameter(QWidget* Parent = nullptr);
};

extern TfrmParameter* frmParameter;

// Applies the language file at Path to a window: its caption and the Caption, Text
// and Hint of every named component, from the section named after the window (up
// to its first '_').
void TranslateForm(QObject* Form, const QString& Path);
// Appends the window's section with its current texts, in the language-file form.
void WriteFormTranslation(QObject* Form, QStringList& Lines);

// The translatable texts of one component; empty when it has no such property.
QString GetComponentText(QObject* Component, const QString& Property, bool* Has = nullptr);
bool SetComponentText(QObject* Component, const QString& Property, const QString& Value);
