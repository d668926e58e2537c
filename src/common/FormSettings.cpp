#include "common/FormSettings.h"

#include "common/TSettingsFile.h"
#include "common/engCommon9r.h"
#include "common/engCommon9r_p.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QWidget>
#include <algorithm>

namespace settings {

const TBoolSetting RecognizePhoto{"RECOGNIZE_INFO", "RecognizePhoto", &gl_PhotoToAccountData, false};
const TBoolSetting RecognizeDocument{"RECOGNIZE_INFO", "RecognizeDocument", &gl_DocumentToAccountData, false};
const TBoolSetting FIOOnLatin{"RECOGNIZE_INFO", "FIOOnLation", &gl_FIOOnLatin, false};
const TBoolSetting TwainDialogNeed{"SCAN_INFO", "TwainDialogNeed", &gl_TwainDialogNeed, false};
const TBoolSetting SelectScanner{"SCAN_INFO", "SelectScanner", &gl_SelectScanner, true};

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

const TFormBoundsKeys ScanFormBounds{"SCAN_FORM", "ScanFormTop", "ScanFormLeft", "ScanFormWidth", "ScanFormHeight"};
const TFormBoundsKeys ScanDocFormBounds{"SCAN_DOC_FORM", "ScanFormTop", "ScanFormLeft", "ScanFormWidth",
                                        "ScanFormHeight"};
const TFormBoundsKeys CameraFormBounds{"CAMERA_FORM", "CameraFormTop", "CameraFormLeft", "CameraFormWidth",
                                       "CameraFormHeight"};

void ReadFormBounds(const TSettingsFile &ini, QWidget *window, const TFormBoundsKeys &keys)
{
    const QString section = QLatin1String(keys.section);
    const QString topKey = QLatin1String(keys.top), leftKey = QLatin1String(keys.left);
    const QRect current = window->geometry();
    const QPoint place(ini.ReadInteger(section, leftKey, current.x()), ini.ReadInteger(section, topKey, current.y()));
    const QString widthKey = QLatin1String(keys.width), heightKey = QLatin1String(keys.height);
    QSize size(ini.ReadInteger(section, widthKey, current.width()), ini.ReadInteger(section, heightKey, current.height()));

    // A place saved on a screen that is gone would hide the window.
    QScreen *screen = nullptr;
    if (ini.ValueExists(section, topKey) || ini.ValueExists(section, leftKey))
        screen = QGuiApplication::screenAt(place + QPoint(20, 20));
    const bool placed = screen != nullptr;
    if (!screen)
        screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        // The frame, where it is already known, takes its share of the area.
        const QSize fit = screen->availableGeometry().size() - (window->frameGeometry().size() - current.size());
        if (ini.ValueExists(section, widthKey))
            size.setWidth(std::min(size.width(), fit.width()));
        if (ini.ValueExists(section, heightKey))
            size.setHeight(std::min(size.height(), fit.height()));
    }
    size = size.expandedTo(window->minimumSize());

    if (placed)
        window->setGeometry(QRect(place, size));
    else
        window->resize(size);
}

void WriteFormBounds(TSettingsFile &ini, const QWidget *window, const TFormBoundsKeys &keys)
{
    const QString section = QLatin1String(keys.section);
    const QRect bounds = window->geometry();
    ini.WriteInteger(section, QLatin1String(keys.top), bounds.y());
    ini.WriteInteger(section, QLatin1String(keys.left), bounds.x());
    ini.WriteInteger(section, QLatin1String(keys.width), bounds.width());
    ini.WriteInteger(section, QLatin1String(keys.height), bounds.height());
}

} // namespace settings
