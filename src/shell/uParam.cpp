#include "uParam.h"

#include "IniFile.h"
#include "uGlobal.h"

#include <QAbstractButton>
#include <QAction>
#include <QCollator>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

TfrmParameter* frmParameter = nullptr;

TfrmParameter::TfrmParameter(QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("frmParameter"));
    setWindowTitle(QStringLiteral("Einstellungen"));
    auto* Layout = new QVBoxLayout(this);
    auto* Info = new QLabel(QStringLiteral("Programmeinstellungen"), this);
    Info->setObjectName(QStringLiteral("lblSettings"));
    Layout->addWidget(Info);
    LoadSettings();
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
    // A class may publish the property itself under the original name.
    const QByteArray Name = Property.toLatin1();
    if (C->metaObject()->indexOfProperty(Name.constData()) >= 0)
        return C->property(Name.constData()).toString();
    if (Property == QLatin1String("Hint")) {
        if (auto* W = qobject_cast<QWidget*>(C)) return W->toolTip();
        if (auto* A = qobject_cast<QAction*>(C))
            return A->toolTip() == A->text().remove(QLatin1Char('&')) ? QString() : A->toolTip();
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

static QList<QObject*> Components(QObject* Form) {
    QList<QObject*> List;
    for (QObject* O : Form->findChildren<QObject*>()) {
        const QString N = O->objectName();
        if (!N.isEmpty() && !N.startsWith(QLatin1String("qt_"))) List << O;
    }
    return List;
}

static const QStringList Properties = {QStringLiteral("Text"), QStringLiteral("Caption"),
                                       QStringLiteral("Hint")};

void TranslateForm(QObject* Form, const QString& Path) {
    if (!Form) return;
    TIniFile Ini(Path);
    const QString Section = SectionOf(Form);
    if (!Ini.SectionExists(Section)) return;
    try {
        const QString Caption =
            Ini.ReadString(Section, Form->objectName() + QStringLiteral(".Caption"), QString());
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
