#include "common/FormSettings.h"

#include "common/TSettingsFile.h"
#include "common/engCommon9r.h"
#include "common/engCommon9r_p.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QWidget>

namespace settings {

const TBoolSetting RecognizePhoto{"RECOGNIZE_INFO", "RecognizePhoto", &gl_PhotoToAccountData, false};
const TBoolSetting RecognizeDocument{"RECOGNIZE_INFO", "RecognizeDocument", &gl_DocumentToAccountData, false};
const TBoolSetting FIOOnLatin{"RECOGNIZE_INFO", "FIOOnLation", &gl_FIOOnLatin, false};
const TBoolSetting TwainDialogNeed{"SCAN_INFO", "TwainDialogNeed", &gl_TwainDialogNeed, false};
const TBoolSetting SelectScanner{"SCAN_INFO", "SelectScanner", &gl_SelectScanner, true};

namespace {

const QString ScanForm = QStringLiteral("SCAN_FORM");

} // namespace

void Read(const TSettingsFile &ini, const TBoolSetting &setting)
{
    *setting.global = ini.ReadBool(QLatin1String(setting.section), QLatin1String(setting.key), setting.defaultValue);
}

void Write(TSettingsFile &ini, const TBoolSetting &setting)
{
    ini.WriteBool(QLatin1String(setting.section), QLatin1String(setting.key), *setting.global);
}

void SaveOptionBox(const QTabWidget *pages, const QWidget *addPage, const QWidget *editPage,
                   const QCheckBox *addBox, const QCheckBox *editBox, const TBoolSetting &setting)
{
    WithRecognizeIniFile([&](TSettingsFile &ini) {
        if (pages->currentWidget() == addPage)
            *setting.global = addBox->isChecked();
        else if (pages->currentWidget() == editPage)
            *setting.global = editBox->isChecked();
        Write(ini, setting);
        ini.UpdateFile();
    });
}

void ReadFormBounds(const TSettingsFile &ini, QWidget *window)
{
    const int top = ini.ReadInteger(ScanForm, QStringLiteral("ScanFormTop"), window->y());
    const int left = ini.ReadInteger(ScanForm, QStringLiteral("ScanFormLeft"), window->x());
    const int width = ini.ReadInteger(ScanForm, QStringLiteral("ScanFormWidth"), window->width());
    const int height = ini.ReadInteger(ScanForm, QStringLiteral("ScanFormHeight"), window->height());
    // A position saved on a screen that is gone would hide the window.
    if (QGuiApplication::screenAt(QPoint(left, top) + QPoint(20, 20)))
        window->move(left, top);
    window->resize(QSize(width, height).expandedTo(window->minimumSize()));
}

void WriteFormBounds(TSettingsFile &ini, const QWidget *window)
{
    ini.WriteInteger(ScanForm, QStringLiteral("ScanFormTop"), window->y());
    ini.WriteInteger(ScanForm, QStringLiteral("ScanFormLeft"), window->x());
    ini.WriteInteger(ScanForm, QStringLiteral("ScanFormWidth"), window->width());
    ini.WriteInteger(ScanForm, QStringLiteral("ScanFormHeight"), window->height());
}

} // namespace settings
