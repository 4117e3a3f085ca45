// Every text a window would export for translation has its key in both shipped
// language files, so switching the language leaves nothing untranslated.
#include "IniFile.h"
#include "ReportOptionsDialog.h"
#include "uChildWinASC2ATASC.h"
#include "uChildWinATASCIITable.h"
#include "uChildWinFont.h"
#include "uChildWinGraphic.h"
#include "uChildWinListing.h"
#include "uChildWinSolidStates.h"
#include "uChildWinText.h"
#include "uFrmSolidStatesController.h"
#include "uGlobal.h"
#include "uInfo.h"
#include "uMain.h"
#include "uParam.h"
#include "uYESNOCANCEL.h"

#include <gtest/gtest.h>

TEST(LanguageFiles, CoverEveryWindowsTexts) {
    InitFolders();
    SetSettingsDefaults();
    SetMessageBoxHook([](TMsgKind, const QString&, const QString&) {});
    CreateApplicationWindows();
    QList<QObject*> Forms = {frmMain, frmParameter, frmAbout, frmYESNOCANCEL};
    Forms << new TChildWinGraphic << new TChildWinText << new TChildWinListing << new TChildWinFont
          << new TChildWinASC2ATASC << new TChildWinSolidStates << new TfrmSolidStatesController(frmMain)
          << new TfrmReportOptions(frmMain) << TChildWinATASCIITable::CreateTable();
    for (const char* File : {"german.lng", "English.lng"}) {
        TIniFile Ini(QStringLiteral(MORVANEL_SOURCE_DIR "/langscripts/") + QLatin1String(File));
        for (QObject* Form : Forms) {
            QStringList Lines;
            WriteFormTranslation(Form, Lines);
            const QString Section = Form->objectName().section(QLatin1Char('_'), 0, 0);
            for (const QString& Line : Lines.mid(1)) {
                if (Line.isEmpty()) continue;
                EXPECT_TRUE(Ini.ValueExists(Section, Line.section(QLatin1Char('='), 0, 0).trimmed()))
                    << File << " [" << Section.toStdString() << "] " << Line.toStdString();
            }
        }
    }
    for (QObject* Form : Forms.mid(4))
        if (auto* W = qobject_cast<QWidget*>(Form)) W->close();
    DestroyApplicationWindows();
    SetMessageBoxHook(nullptr);
}
