#include "CameraRequest.h"

#include <optional>
#include "PrivateRecords.h"

#include "PackageLoader.h"
#include "ScriptedOperator.h"
#include "camera/TCameraPanel.h"
#include "camera/TShape.h"
#include "camera/engPhotoFromCamera9r_FM.h"
#include "services/HostKit.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TPictureBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>

namespace {

constexpr int PollMs = 20;
/// Has rights on the entrance and the archive camera, not on the parking.
const QString OperatorLogin = QStringLiteral("operator");

using CreateForm = TPhotoFromCameraFM *(*)(QWidget *);

QString CameraText(TPhotoFromCameraFM *form)
{
    return form->ledCamera->Text();
}

/// Steps of the scripted operator, each taken once its window is ready for
/// it; when a step waits too long the window is cancelled.
class CameraScript : public QObject
{
public:
    struct Step
    {
        std::function<bool()> ready;
        std::function<void()> act;
    };

    CameraScript(TPhotoFromCameraFM *form, std::deque<Step> steps)
        : m_form(form), m_steps(std::move(steps))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(PollMs);
    }
    bool Finished() const { return m_steps.empty(); }

private:
    void poll()
    {
        if (m_busy)
            return;
        if (!m_form || m_steps.empty()) {
            m_timer.stop();
            return;
        }
        if (!m_form->isVisible() || !m_steps.front().ready()) {
            if ((m_waited += PollMs) >= ScriptedPatienceMs()) {
                m_timer.stop();
                m_form->bCancel->click();
            }
            return;
        }
        m_waited = 0;
        // A step may run a nested modal loop (a dialog, a message box).
        m_busy = true;
        const Step step = m_steps.front();
        m_steps.pop_front();
        step.act();
        m_busy = false;
    }

    QPointer<TPhotoFromCameraFM> m_form;
    std::deque<Step> m_steps;
    QTimer m_timer;
    int m_waited = 0;
    bool m_busy = false;
};

/// Picks the camera in the host's selection dialog once it is open.
void AnswerSelectionDialog(const QString &displayName, int waited = 0)
{
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    auto *list = dialog && dialog->objectName() == QLatin1String("fmSelCam")
                     ? dialog->findChild<QListWidget *>(QStringLiteral("lbCameras")) : nullptr;
    if (!list) {
        if (waited < ScriptedPatienceMs())
            QTimer::singleShot(PollMs, [displayName, waited] { AnswerSelectionDialog(displayName, waited + PollMs); });
        return;
    }
    const auto found = list->findItems(displayName, Qt::MatchExactly);
    if (found.isEmpty()) {
        dialog->reject();
        return;
    }
    list->setCurrentItem(found.front());
    dialog->accept();
}

void ChooseCamera(TPhotoFromCameraFM *form, const QString &displayName)
{
    QTimer::singleShot(0, [displayName] { AnswerSelectionDialog(displayName); });
    form->bSelectCamera->click();
}

/// A press at `from`, one move to `to` and the release, on a shape of the
/// panel; positions in the panel's coordinates, as the mouse goes.
void Drag(QWidget *shape, QPoint from, QPoint to)
{
    QWidget *panel = shape->parentWidget();
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at - shape->pos(), panel->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(shape, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

QJsonObject RectJson(const QRect &r)
{
    return QJsonObject{{"x", r.x()}, {"y", r.y()}, {"width", r.width()}, {"height", r.height()}};
}

QJsonObject StorePicture(const QImage &picture, const QString &file)
{
    QJsonObject o{{"file", file}, {"width", picture.width()}, {"height", picture.height()}};
    if (!WritePrivately(file, [&] { return picture.save(file, "PNG"); }))
        o["storeError"] = QStringLiteral("cannot write %1").arg(file);
    return o;
}

/// The scripted operator's session: a camera he may not use, the camera
/// that gives no frame, then the entrance camera frozen, the fragment frame
/// dragged and one of its edges, and saved.
std::deque<CameraScript::Step> SessionSteps(TPhotoFromCameraFM *form, MessageBoxAnswerer &answerer,
                                            QJsonArray &attempts, QRect &frame, const QString &screenshot)
{
    const auto always = [] { return true; };
    const auto snapshotReady = [form] { return form->bSnapShot->isEnabled(); };
    const auto tried = [form, &attempts, &answerer](const QString &camera) {
        attempts.append(QJsonObject{{"camera", camera},
                                    {"ledCamera", CameraText(form)},
                                    {"notice", form->pnlCamera->Caption()},
                                    {"frozen", !form->imgPhoto->isHidden()},
                                    {"messages", QJsonArray::fromStringList(answerer.Take())}});
    };
    return {
        {always, [=] { ChooseCamera(form, QStringLiteral("Автостоянка")); tried(QStringLiteral("Автостоянка")); }},
        {always, [=] { ChooseCamera(form, QStringLiteral("Архив")); }},
        {snapshotReady, [=] { form->bSnapShot->click(); tried(QStringLiteral("Архив")); }},
        {always, [=] { ChooseCamera(form, QStringLiteral("Проходная")); }},
        {snapshotReady, [=] { form->bSnapShot->click(); }},
        {[form] { return !form->imgPhoto->isHidden() && form->cxShowFrame->isEnabled(); },
         [form, &frame, tried, screenshot] {
             tried(QStringLiteral("Проходная"));
             form->cxShowFrame->click();
             const QPoint inside = form->spFrame->geometry().center();
             Drag(form->spFrame, inside, inside + QPoint(120, 60));
             const QPoint grip = form->spFrameRight->pos() + QPoint(2, 40);
             Drag(form->spFrameRight, grip, grip + QPoint(-40, 0));
             frame = form->spFrame->geometry();
             MakeRecordFolder(QFileInfo(screenshot).path());
             WritePrivately(screenshot, [&] { return form->grab().save(screenshot, "PNG"); });
         }},
        {[form] { return form->bSave->isEnabled(); }, [form] { form->bSave->click(); }},
    };
}

} // namespace

QJsonObject RunCameraPath(const PackageLoader &package, hostkit::THostKit &kit, const CameraPathOptions &options)
{
    const auto create = package.Function<CreateForm>("TPhotoFromCameraFM_Create");
    QJsonObject report{{"user", OperatorLogin}};
    kit.SetCurrentUser(OperatorLogin);
    const QString folder = QDir(options.output).filePath(QStringLiteral("camera"));
    // Only the scripted operator has his message boxes answered: at a desk
    // the window's failure messages are the operator's to read.
    std::optional<MessageBoxAnswerer> answerer;
    if (options.scripted)
        answerer.emplace();

    TPhotoFromCameraFM *form = create(nullptr);
    report["restoredCamera"] = CameraText(form);
    QJsonArray attempts;
    QRect frame;
    std::unique_ptr<CameraScript> script;
    if (options.scripted)
        script = std::make_unique<CameraScript>(
            form, SessionSteps(form, *answerer, attempts, frame, QDir(folder).filePath(QStringLiteral("window.png"))));
    const int result = form->exec();
    report["modalResult"] = result;
    if (script) {
        report["attempts"] = attempts;
        report["screenshot"] = QDir(folder).filePath(QStringLiteral("window.png"));
        report["scriptFinished"] = script->Finished();
        script.reset();
    }
    if (result == QDialog::Accepted) {
        MakeRecordFolder(folder);
        const QImage photo = form->imgPhoto->Picture();
        const QImage fragment = form->imgFramePicture->Picture();
        report["frame"] = StorePicture(photo, QDir(folder).filePath(QStringLiteral("frame.png")));
        if (!fragment.isNull()) {
            const QRect rect = frame.isNull() ? form->spFrame->geometry() : frame;
            QJsonObject f = StorePicture(fragment, QDir(folder).filePath(QStringLiteral("fragment.png")));
            f["rect"] = RectJson(rect);
            f["matchesFrame"] = fragment == photo.copy(rect);
            report["fragment"] = f;
        }
    }
    delete form;

    if (options.scripted) {
        // A user without rights on any camera is told so and cannot choose.
        kit.SetCurrentUser(QStringLiteral("guest"));
        TPhotoFromCameraFM *guest = create(nullptr);
        // Where the settings give the guest a camera, the list opens instead
        // of the message: it is closed unchosen, or the run would wait in it.
        std::deque<CameraScript::Step> steps{
            {[] { return true; }, [guest] {
                 QTimer::singleShot(0, [] { AnswerSelectionDialog(QString()); });
                 guest->bSelectCamera->click();
             }},
            {[] { return true; }, [guest] { guest->bCancel->click(); }},
        };
        CameraScript guestScript(guest, std::move(steps));
        report["guest"] = QJsonObject{{"modalResult", guest->exec()},
                                      {"messages", QJsonArray::fromStringList(answerer->Take())}};
        delete guest;
        kit.SetCurrentUser(OperatorLogin);
    }
    return report;
}
