#include "common/FormSettings.h"

#include "common/TSettingsFile.h"
#include "common/engCommon9r.h"
#include "common/engCommon9r_p.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QWidget>
#include <QEvent>
#include <algorithm>
#include <climits>
#include <optional>

namespace settings {

namespace {

constexpr const char *RecognizeInfo = "RECOGNIZE_INFO";
constexpr const char *ScanInfo = "SCAN_INFO";
constexpr const char *ScanDocInfo = "SCAN_DOC_INFO";
constexpr const char *CameraInfo = "CAMERA_INFO";

} // namespace

const TBoolSetting RecognizePhoto{{RecognizeInfo, "RecognizePhoto", &gl_PhotoToAccountData, false}};
const TBoolSetting RecognizeDocument{{RecognizeInfo, "RecognizeDocument", &gl_DocumentToAccountData, false}};
const TBoolSetting FIOOnLatin{{RecognizeInfo, "FIOOnLation", &gl_FIOOnLatin, false}};
const TIntSetting PackageKeepDays{{RecognizeInfo, "PackageKeepDays", &gl_PackageKeepDays, 30}};

const TStringSetting ScannerName{{ScanInfo, "ScannerName", &gl_sScannerName, QString()}};
const TIntSetting ScannerIndex{{ScanInfo, "ScannerIndex", &gl_ScannerItemIndex, -1}};
const TBoolSetting TwainDialogSupported{{ScanInfo, "TwainDialogSupported", &gl_ShowTwainSupported, false}};
const TBoolSetting TwainDialogNeed{{ScanInfo, "TwainDialogNeed", &gl_TwainDialogNeed, false}};
const TBoolSetting SelectScanner{{ScanInfo, "SelectScanner", &gl_SelectScanner, true}};
const TBoolSetting BrightnessSupported{{ScanInfo, "BrightnessSupported", &gl_BrightnessSupported, false}};
const TIntSetting BrightnessValue{{ScanInfo, "BrightnessValue", &gl_BrightnessValue, 50}};
const TBoolSetting OrientSupported{{ScanInfo, "OrientSupported", &gl_OrientSupported, false}};
const TIntSetting OrientValue{{ScanInfo, "OrientValue", &gl_OrientValue, 0}};
const TBoolSetting PaperSizeSupported{{ScanInfo, "PaperSizeSupported", &gl_PaperSizeSupported, false}};
const TIntSetting PaperSizeIndex{{ScanInfo, "PaperSizeIndex", &gl_PaperSizeIndex, -1}};
const TStringSetting PaperSizeValue{{ScanInfo, "PaperSizeValue", &gl_PaperSizeValue, QString()}};
const TBoolSetting ColorModeSupported{{ScanInfo, "ColorModeSupported", &gl_ColorModeSupported, false}};
const TIntSetting ColorModeValue{{ScanInfo, "ColorModeValue", &gl_ColorModeValue, 0}};
const TIntSetting RotationIndex{{ScanInfo, "RotationIndex", &gl_RotationIndex, 0}};

const TBoolSetting ShowScannerList{{ScanDocInfo, "ShowScanerList", nullptr, true}};
const TStringSetting CameraInnerName{{CameraInfo, "CameraInnerName", nullptr, QString()}};
const TStringSetting CameraInnerPath{{CameraInfo, "CameraInnerPath", nullptr, QString()}};
const TIntSetting CameraAttributes{{CameraInfo, "Attributes", nullptr, 0}};

namespace {

bool readValue(const TSettingsFile &ini, const QString &section, const QString &key, bool fallback)
{
    return ini.ReadBool(section, key, fallback);
}

int readValue(const TSettingsFile &ini, const QString &section, const QString &key, int fallback)
{
    return ini.ReadInteger(section, key, fallback);
}

QString readValue(const TSettingsFile &ini, const QString &section, const QString &key, const QString &fallback)
{
    return ini.ReadString(section, key, fallback);
}

void writeValue(TSettingsFile &ini, const QString &section, const QString &key, bool value)
{
    ini.WriteBool(section, key, value);
}

void writeValue(TSettingsFile &ini, const QString &section, const QString &key, int value)
{
    ini.WriteInteger(section, key, value);
}

void writeValue(TSettingsFile &ini, const QString &section, const QString &key, const QString &value)
{
    ini.WriteString(section, key, value);
}

} // namespace

template <class T>
T Stored(const TSettingsFile &ini, const TSetting<T> &setting, const T &fallback)
{
    return readValue(ini, QLatin1String(setting.section), QLatin1String(setting.key), fallback);
}

template <class T>
void Read(const TSettingsFile &ini, const TSetting<T> &setting)
{
    *setting.global = Stored(ini, setting);
}

template <class T>
void Write(TSettingsFile &ini, const TSetting<T> &setting, const T &value)
{
    writeValue(ini, QLatin1String(setting.section), QLatin1String(setting.key), value);
}

template <class T>
void Write(TSettingsFile &ini, const TSetting<T> &setting)
{
    Write(ini, setting, *setting.global);
}

#define R9_SETTING_TYPE(T)                                                                  \
    template T Stored<T>(const TSettingsFile &, const TSetting<T> &, const T &);           \
    template void Read<T>(const TSettingsFile &, const TSetting<T> &);                     \
    template void Write<T>(TSettingsFile &, const TSetting<T> &, const T &);               \
    template void Write<T>(TSettingsFile &, const TSetting<T> &);
R9_SETTING_TYPE(bool)
R9_SETTING_TYPE(int)
R9_SETTING_TYPE(QString)
#undef R9_SETTING_TYPE

void ReadAll(const TSettingsFile &ini)
{
    for (const TBoolSetting *setting :
         {&RecognizePhoto, &RecognizeDocument, &FIOOnLatin, &TwainDialogSupported, &TwainDialogNeed, &SelectScanner,
          &BrightnessSupported, &OrientSupported, &PaperSizeSupported, &ColorModeSupported})
        Read(ini, *setting);
    for (const TIntSetting *setting : {&PackageKeepDays, &ScannerIndex, &BrightnessValue, &OrientValue,
                                       &PaperSizeIndex, &ColorModeValue, &RotationIndex})
        Read(ini, *setting);
    for (const TStringSetting *setting : {&ScannerName, &PaperSizeValue})
        Read(ini, *setting);
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

// The document-picture window keeps the recognition windows' key names in
// a section of its own.
const TFormBoundsKeys ScanFormBounds{"SCAN_FORM", "ScanForm"};
const TFormBoundsKeys ScanDocFormBounds{"SCAN_DOC_FORM", "ScanForm"};
const TFormBoundsKeys CameraFormBounds{"CAMERA_FORM", "CameraForm"};

QRect FitFormBounds(const QRect &contents, const QMargins &frame, const QRect &area, const QSize &minimum,
                    bool keepPlace)
{
    const QSize room = area.size().shrunkBy(frame);
    const QSize size = contents.size().boundedTo(room).expandedTo(minimum);
    if (!keepPlace)
        return QRect(contents.topLeft(), size);
    // Into the area as far as the window fits, the title bar and the left
    // edge before the other edges; a stored place far away must not overflow.
    const auto into = [](qint64 start, qint64 length, qint64 low, qint64 high) {
        start = std::min(start, high - length);
        return int(std::max(start, low));
    };
    const int left = into(qint64(contents.x()) - frame.left(), qint64(size.width()) + frame.left() + frame.right(),
                          area.left(), qint64(area.right()) + 1);
    const int top = into(qint64(contents.y()) - frame.top(), qint64(size.height()) + frame.top() + frame.bottom(),
                         area.top(), qint64(area.bottom()) + 1);
    return QRect(QPoint(left + frame.left(), top + frame.top()), size);
}

namespace {

/// The frame around a window's contents: the window system's once it has
/// framed the window; before that, a usual title bar and border, so that a
/// window opened for the first time does not reach past the screen's edge.
QMargins expectedFrame(const QWidget *window)
{
    const QRect contents = window->geometry(), framed = window->frameGeometry();
    if (framed != contents)
        return QMargins(contents.left() - framed.left(), contents.top() - framed.top(),
                        framed.right() - contents.right(), framed.bottom() - contents.bottom());
    if (window->windowFlags().testFlag(Qt::FramelessWindowHint))
        return {};
    const int border = 4;
    return QMargins(border, 32, border, border);
}

const QString RefitOnFrameName = QStringLiteral("r9RefitOnFrame");

/// Fits a shown window again once the window system has given it its frame,
/// which it often does only after the window opened; then goes.
class TRefitOnFrame : public QObject
{
public:
    TRefitOnFrame(QWidget *window, bool keepPlace) : QObject(window), m_window(window), m_keepPlace(keepPlace)
    {
        setObjectName(RefitOnFrameName);
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window)
            return false;
        switch (event->type()) {
        case QEvent::Hide:
            deleteLater();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
            if (m_window->isVisible() && m_window->frameGeometry() != m_window->geometry()) {
                m_window->removeEventFilter(this);
                if (QScreen *screen = m_window->screen()) {
                    const QRect fit = FitFormBounds(m_window->geometry(), expectedFrame(m_window),
                                                    screen->availableGeometry(), m_window->minimumSize(), m_keepPlace);
                    if (fit != m_window->geometry())
                        m_window->setGeometry(fit);
                }
                deleteLater();
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget *m_window;
    bool m_keepPlace;
};

/// The window's place as stored, when both its parts are.
std::optional<QPoint> storedPlace(const TSettingsFile &ini, const QString &section, const TFormBoundsKeys &keys)
{
    const QString topKey = keys.Top(), leftKey = keys.Left();
    if (!ini.ValueExists(section, topKey) || !ini.ValueExists(section, leftKey))
        return std::nullopt;
    return QPoint(ini.ReadInteger(section, leftKey, 0), ini.ReadInteger(section, topKey, 0));
}

} // namespace

void ReadFormBounds(const TSettingsFile &ini, QWidget *window, const TFormBoundsKeys &keys)
{
    const QString section = QLatin1String(keys.section);
    const QRect current = window->geometry();
    const QString widthKey = keys.Width(), heightKey = keys.Height();
    const QSize size(ini.ReadInteger(section, widthKey, current.width()),
                     ini.ReadInteger(section, heightKey, current.height()));

    // A place saved on a screen that is gone would hide the window. The
    // probe lies a little inside the contents; a far stored place must not
    // overflow on the way.
    QScreen *screen = nullptr;
    const std::optional<QPoint> place = storedPlace(ini, section, keys);
    if (place) {
        const qint64 probeX = qint64(place->x()) + 20, probeY = qint64(place->y()) + 20;
        if (probeX <= INT_MAX && probeY <= INT_MAX)
            screen = QGuiApplication::screenAt(QPoint(int(probeX), int(probeY)));
    }
    const bool placed = screen != nullptr;
    if (!screen)
        screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    // The window's own size, where none is stored, is its design: kept.
    QSize minimum = window->minimumSize();
    if (!ini.ValueExists(section, widthKey))
        minimum.setWidth(std::max(minimum.width(), size.width()));
    if (!ini.ValueExists(section, heightKey))
        minimum.setHeight(std::max(minimum.height(), size.height()));
    QRect bounds(placed ? *place : current.topLeft(), size);
    if (screen) {
        // A frame only reckoned takes its room beside the contents but does
        // not move them: where the title bar really goes is known, and kept
        // on the screen, once the window system has framed the window.
        QMargins frame = expectedFrame(window);
        if (window->frameGeometry() == current)
            frame = QMargins(0, 0, frame.left() + frame.right(), frame.top() + frame.bottom());
        bounds = FitFormBounds(bounds, frame, screen->availableGeometry(), minimum, placed);
    } else {
        bounds.setSize(size.expandedTo(minimum));
    }

    if (placed)
        window->setGeometry(bounds);
    else
        window->resize(bounds.size());
    qDeleteAll(window->findChildren<QObject *>(RefitOnFrameName, Qt::FindDirectChildrenOnly));
    if (window->frameGeometry() == window->geometry() && !window->windowFlags().testFlag(Qt::FramelessWindowHint))
        new TRefitOnFrame(window, placed);
}

void WriteFormBounds(TSettingsFile &ini, const QWidget *window, const TFormBoundsKeys &keys)
{
    const QString section = QLatin1String(keys.section);
    const QRect bounds = window->geometry();
    ini.WriteInteger(section, keys.Top(), bounds.y());
    ini.WriteInteger(section, keys.Left(), bounds.x());
    ini.WriteInteger(section, keys.Width(), bounds.width());
    ini.WriteInteger(section, keys.Height(), bounds.height());
}

} // namespace settings
