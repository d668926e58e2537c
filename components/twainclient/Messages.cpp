#include "Messages.h"

#include "twaindsm/ScannerTexts.h"

namespace twainclient {

Outcome OutcomeForCondition(TW_UINT16 condition)
{
    switch (condition) {
    case TWCC_SUCCESS: return Outcome::Cancelled;
    case TWCC_PAPERJAM: return Outcome::PaperJam;
    case TWCC_INTERLOCK: return Outcome::CoverOpen;
    case TWCC_NOMEDIA: return Outcome::NoDocument;
    case TWCC_CHECKDEVICEONLINE: return Outcome::DeviceGone;
    case TWCC_NODS: return Outcome::NoScanner;
    default: return Outcome::Failed;
    }
}

QString MessageFor(Outcome outcome, const QString &source)
{
    switch (outcome) {
    case Outcome::Scanned: return {};
    case Outcome::NoScanner: return QString::fromUtf8(twaindsm::texts::NamedScannerNotFound).arg(source);
    case Outcome::SourceRefused: return QStringLiteral("Сканер «%1» не удалось подготовить к сканированию.").arg(source);
    case Outcome::Cancelled: return QString::fromUtf8(twaindsm::texts::ScanCancelled);
    case Outcome::PaperJam: return QString::fromUtf8(twaindsm::texts::PaperJam);
    case Outcome::CoverOpen: return QString::fromUtf8(twaindsm::texts::CoverOpen);
    case Outcome::NoDocument: return QString::fromUtf8(twaindsm::texts::NoDocument);
    case Outcome::DeviceGone: return QString::fromUtf8(twaindsm::texts::NamedScannerNotResponding).arg(source);
    case Outcome::NoAnswer:
        return QStringLiteral("Сканер «%1» слишком долго не отвечает: сканирование прервано.").arg(source);
    case Outcome::Failed: break;
    }
    return QStringLiteral("Сканер «%1» не смог отсканировать страницу.").arg(source);
}

QString NoManagerMessage(const QString &why)
{
    QString text = QStringLiteral("Сканеры недоступны: не найден диспетчер источников TWAIN (libtwaindsm.so).");
    if (!why.isEmpty())
        text += QStringLiteral(" ") + why;
    return text;
}

QString ManagerBusyMessage()
{
    return QStringLiteral("Сканеры недоступны: диспетчер источников TWAIN занят другим сканированием.");
}

} // namespace twainclient
