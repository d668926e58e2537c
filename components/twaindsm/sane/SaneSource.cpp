#include "SaneSource.h"

#include "platform/GlobalMemory.h"
#include "MultiTWAIN.h" // the bitmap header record only; nothing of the package is linked
#include "OperatorNotice.h"
#include "RememberedChoice.h"
#include "SaneCall.h"
#include "ScannerTexts.h"
#include "TwainDsmHooks.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace twainsane {

using twainds::Fix32Bits;
using twainds::Fix32Value;
using twaindsm::TellOperator;

namespace {

void copyText(char *field, const QByteArray &text)
{
    std::memset(field, 0, sizeof(TW_STR32));
    std::strncpy(field, text.constData(), sizeof(TW_STR32) - 1);
}

TW_IDENTITY identityOf(const DeviceSource &source)
{
    TW_IDENTITY id{};
    id.Version.MajorNum = 1;
    id.Version.MinorNum = 0;
    id.Version.Language = TWLG_USA;
    id.Version.Country = TWCY_USA;
    copyText(id.Version.Info, source.deviceName);
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 9;
    id.SupportedGroups = DG_CONTROL | DG_IMAGE;
    copyText(id.Manufacturer, "SANE");
    copyText(id.ProductFamily, "SANE scanners");
    copyText(id.ProductName, source.productName);
    return id;
}

std::optional<DeviceSource> findSource(const char *productName, Asking asking)
{
    for (const DeviceSource &s : Sources(asking))
        if (std::strncmp(s.productName.constData(), productName, sizeof(TW_STR32)) == 0)
            return s;
    return std::nullopt;
}

// TWAINSANE_JAM_AFTER=n: the feeder jams after n sheets, to see how a jam
// reaches the operator without a scanner that jams.
int g_sheetsBeforeJam = -1;

SANE_Status startOrJam(SANE_Handle device)
{
    if (g_sheetsBeforeJam == 0)
        return SANE_STATUS_JAMMED;
    --g_sheetsBeforeJam;
    return sane_start(device);
}

// In the dialog's page line from the operator's cancel to the scan's end,
// which may take a moment when the device was in the middle of a call.
const char *const CancellingText = "Сканирование отменяется\u2026";

void report(const QString &message)
{
    std::fprintf(stderr, "twainsane: %s\n", message.toLocal8Bit().constData());
}

} // namespace

SaneSource &SaneSource::instance()
{
    static SaneSource source;
    return source;
}

TW_UINT16 SaneSource::entry(pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    // While a call to SANE runs the application's events go on; what they
    // ask of the source waits for the call's end.
    if (CallRunning() && dat != DAT_STATUS) {
        if (dat == DAT_EVENT && data) {
            static_cast<pTW_EVENT>(data)->TWMessage = MSG_NULL;
            return TWRC_NOTDSEVENT;
        }
        return fail(TWCC_SEQERROR);
    }
    return Entry(origin, dg, dat, msg, data);
}

SaneSource::SaneSource() = default;

TW_UINT16 SaneSource::identity(TW_UINT16 msg, pTW_IDENTITY id)
{
    switch (msg) {
    case MSG_GETFIRST:
        m_next = 0;
        [[fallthrough]];
    case MSG_GETNEXT: {
        // The list is asked for (again, while empty) at the first only.
        const std::vector<DeviceSource> &sources = msg == MSG_GETFIRST ? Sources() : KeptSources();
        if (m_next >= sources.size())
            return TWRC_ENDOFLIST;
        *id = identityOf(sources[m_next++]);
        return TWRC_SUCCESS;
    }
    case MSG_GET: {
        // The open source, else the first device.
        const TW_UINTPTR keep = id->Id;
        if (state() >= Open) {
            *id = m_identity;
        } else {
            // The manager asks after an empty list, which is not asked again.
            const std::vector<DeviceSource> &sources = KeptSources();
            if (sources.empty())
                return fail(TWCC_NODS);
            *id = identityOf(sources.front());
        }
        id->Id = keep;
        return TWRC_SUCCESS;
    }
    case TWAINDSM_MSG_RELIST:
        Sources(Asking::Afresh);
        return TWRC_SUCCESS;
    default: return fail(TWCC_BADPROTOCOL);
    }
}

void SaneSource::close()
{
    // Closing a device (and stopping SANE after it) can sit in a USB
    // timeout when the device has gone.
    RunOffThread([this] {
        m_settings.reset();
        m_device.reset();
    });
}

TW_UINT16 SaneSource::open(pTW_IDENTITY id)
{
    std::optional<DeviceSource> source = findSource(id->ProductName, Asking::Kept);
    if (!source)
        source = findSource(id->ProductName, Asking::UnlessFresh); // plugged in since the list was made
    if (!source)
        return fail(TWCC_NODS);
    Failure failure;
    m_device = SaneDevice::Open(source->deviceName, failure);
    if (!m_device) {
        report(failure.message);
        // Why it would not open (busy, access denied, not answering) is for
        // the operator to read: the caller asks for the words
        // (DAT_STATUSUTF8) and shows them in its one box of the failure.
        return fail(failure.condition != TWCC_SUCCESS ? failure.condition : TW_UINT16(TWCC_OPERATIONERROR),
                    failure.message.toUtf8());
    }
    const Config config = ReadConfig();
    const RememberedChoice remembered = ReadRememberedChoice(source->productName);
    bool optionsTaken = true;
    // Every option read or set is a call to the device (over the network
    // with SANE's net backend).
    RunOffThread([&] {
        m_settings = std::make_unique<ScanSettings>(*m_device);
        // Documents in colour at 300 dpi unless the device or the options
        // say otherwise.
        const std::vector<TW_UINT16> &types = m_settings->pixelTypes();
        if (std::find(types.begin(), types.end(), TW_UINT16(TWPT_RGB)) != types.end())
            m_settings->setPixelType(TWPT_RGB);
        m_settings->setResolution(300);
        optionsTaken = m_device->apply(config.options);
        m_settings->refresh();
        // Then what the operator last scanned with on this scanner, where
        // the device still offers it.
        if (remembered.pixelType)
            m_settings->setPixelType(*remembered.pixelType);
        if (remembered.resolution)
            m_settings->setResolution(*remembered.resolution);
    });
    if (!optionsTaken)
        report(QStringLiteral("some of the options \"%1\" were refused").arg(config.options.join(QLatin1Char(';'))));
    m_allowedTypes = m_settings->pixelTypes();
    m_units = TWUN_INCHES;
    m_xferCount = -1;
    m_indicators = true;
    m_identity = identityOf(*source);
    m_identity.Id = id->Id;
    m_condition = TWCC_SUCCESS; // nothing left of an earlier session
    *id = m_identity;
    return TWRC_SUCCESS;
}

DocumentPlace SaneSource::documentPlace() const
{
    return m_settings->feeder() ? DocumentPlace::Feeder : DocumentPlace::Flatbed;
}

double SaneSource::unitsPerInch() const
{
    switch (m_units) {
    case TWUN_CENTIMETERS: return 2.54;
    case TWUN_PICAS: return 6;
    case TWUN_POINTS: return 72;
    case TWUN_TWIPS: return 1440;
    default: return 1;
    }
}

std::optional<twainds::CapValues> SaneSource::capValues(TW_UINT16 cap) const
{
    if (m_scan) {
        const auto kept = m_scanCaps.find(cap);
        return kept != m_scanCaps.end() ? std::optional<CapValues>(kept->second) : std::nullopt;
    }
    switch (cap) {
    case ICAP_PIXELTYPE: {
        CapValues v{TWTY_UINT16, {}, m_settings->pixelType(), 0};
        for (TW_UINT16 t : m_settings->pixelTypes())
            if (std::find(m_allowedTypes.begin(), m_allowedTypes.end(), t) != m_allowedTypes.end())
                v.allowed.push_back(t);
        // Colour where it is offered, else grey: black and white loses the
        // photograph of a document.
        auto offered = [&v](TW_UINT32 t) { return std::find(v.allowed.begin(), v.allowed.end(), t) != v.allowed.end(); };
        v.defaultValue = offered(TWPT_RGB)    ? TW_UINT32(TWPT_RGB)
                         : offered(TWPT_GRAY) ? TW_UINT32(TWPT_GRAY)
                         : v.allowed.empty()  ? v.current
                                              : v.allowed.front();
        return v;
    }
    case ICAP_BITDEPTH: {
        const auto depth = TW_UINT32(ScanSettings::BitDepthFor(m_settings->pixelType()));
        return CapValues{TWTY_UINT16, {depth}, depth, depth};
    }
    case ICAP_UNITS:
        return CapValues{TWTY_UINT16,
                         {TWUN_INCHES, TWUN_CENTIMETERS, TWUN_PICAS, TWUN_POINTS, TWUN_TWIPS},
                         m_units,
                         TWUN_INCHES};
    case ICAP_XRESOLUTION:
    case ICAP_YRESOLUTION: {
        const double per = unitsPerInch();
        CapValues v{TWTY_FIX32, {}, Fix32Bits(m_settings->resolution() / per), 0};
        for (double dpi : m_settings->resolutions())
            v.allowed.push_back(Fix32Bits(dpi / per));
        v.defaultValue = std::find(v.allowed.begin(), v.allowed.end(), Fix32Bits(300 / per)) != v.allowed.end()
                             ? Fix32Bits(300 / per)
                             : v.current;
        return v;
    }
    case CAP_XFERCOUNT: return CapValues{TWTY_INT16, {}, TW_UINT16(m_xferCount), 0xFFFFu};
    case CAP_INDICATORS: return CapValues{TWTY_BOOL, {0, 1}, m_indicators ? 1u : 0u, 1};
    case ICAP_BRIGHTNESS:
        // The device's own range is the protocol's -1000..1000.
        if (!m_settings->hasBrightness())
            return std::nullopt;
        return CapValues{TWTY_FIX32, {}, Fix32Bits(m_settings->brightness()), Fix32Bits(0)};
    case ICAP_XFERMECH: return CapValues{TWTY_UINT16, {TWSX_NATIVE}, TWSX_NATIVE, TWSX_NATIVE};
    case CAP_FEEDERENABLED:
        if (!m_settings->hasFeeder())
            return std::nullopt;
        if (!m_settings->hasFlatbed()) // the feeder is all it has
            return CapValues{TWTY_BOOL, {1}, 1, 1};
        return CapValues{TWTY_BOOL, {0, 1}, m_settings->feeder() ? 1u : 0u, 0};
    default: return std::nullopt;
    }
}

TW_UINT16 SaneSource::capabilitiesRefused() const
{
    // A device given up answers nothing more; the source is only closed.
    return !m_settings && !m_scan ? TW_UINT16(TWCC_CHECKDEVICEONLINE) : TW_UINT16(TWCC_SUCCESS);
}

TW_UINT16 SaneSource::setCapability(TW_UINT16 cap, const CapValues &values, const twainds::SetRequest &asked)
{
    switch (cap) {
    case ICAP_PIXELTYPE: {
        // The value, and a list restricting the types, must be the device's own.
        const std::vector<TW_UINT16> offered = m_settings->pixelTypes();
        auto isOffered = [&offered](TW_UINT32 t) {
            return std::find(offered.begin(), offered.end(), t) != offered.end();
        };
        if (!isOffered(asked.value) || !std::all_of(asked.list.begin(), asked.list.end(), isOffered))
            return fail(TWCC_BADVALUE);
        if (!OffThread([&] { return m_settings->setPixelType(TW_UINT16(asked.value)); }))
            return fail(TWCC_BADVALUE);
        if (!asked.list.empty())
            m_allowedTypes.assign(asked.list.begin(), asked.list.end());
        return TWRC_SUCCESS;
    }
    case ICAP_BITDEPTH:
        return asked.value == values.current ? TW_UINT16(TWRC_SUCCESS) : fail(TWCC_BADVALUE);
    case ICAP_UNITS:
        if (asked.value > TWUN_TWIPS)
            return fail(TWCC_BADVALUE);
        m_units = TW_UINT16(asked.value);
        return TWRC_SUCCESS;
    case ICAP_XRESOLUTION:
    case ICAP_YRESOLUTION: {
        const double dpi = Fix32Value(asked.value) * unitsPerInch();
        if (!OffThread([&] { return m_settings->setResolution(dpi); }))
            return fail(TWCC_BADVALUE);
        // A device that rounds the value says so.
        return std::abs(m_settings->resolution() - dpi) < 0.01 ? TW_UINT16(TWRC_SUCCESS)
                                                                : TW_UINT16(TWRC_CHECKSTATUS);
    }
    case CAP_XFERCOUNT: {
        const auto count = static_cast<TW_INT16>(asked.value);
        if (count == 0 || count < -1)
            return fail(TWCC_BADVALUE);
        m_xferCount = count;
        return TWRC_SUCCESS;
    }
    case ICAP_XFERMECH:
        return asked.value == TWSX_NATIVE ? TW_UINT16(TWRC_SUCCESS) : fail(TWCC_BADVALUE);
    case CAP_INDICATORS:
        m_indicators = asked.value != 0;
        return TWRC_SUCCESS;
    case ICAP_BRIGHTNESS: {
        const double value = Fix32Value(asked.value);
        if (value < -1000 || value > 1000)
            return fail(TWCC_BADVALUE);
        if (!OffThread([&] { return m_settings->setBrightness(value); }))
            return fail(TWCC_BADVALUE);
        // The device's steps may round it.
        return std::abs(m_settings->brightness() - value) < 0.5 ? TW_UINT16(TWRC_SUCCESS) : TW_UINT16(TWRC_CHECKSTATUS);
    }
    case CAP_FEEDERENABLED:
        return OffThread([&] { return m_settings->setFeeder(asked.value != 0); }) ? TW_UINT16(TWRC_SUCCESS)
                                                                                    : fail(TWCC_BADVALUE);
    default: return fail(TWCC_BADCAP);
    }
}

TW_UINT16 SaneSource::enable(const TW_USERINTERFACE &ui)
{
    if (!m_device)
        return fail(TWCC_CHECKDEVICEONLINE); // given up: closing is all that is left
    m_config = ReadConfig();
    m_showUI = ui.ShowUI != 0 && qobject_cast<QApplication *>(QCoreApplication::instance());
    m_caller = twainds::CallerWindow(ui.hParent);
    if (m_showUI) {
        ScanChoices choices;
        // The dialog offers the types the application left allowed.
        const CapValues types = *capValues(ICAP_PIXELTYPE);
        for (TW_UINT32 t : types.allowed)
            choices.pixelTypes.push_back(TW_UINT16(t));
        if (choices.pixelTypes.empty())
            choices.pixelTypes = m_settings->pixelTypes();
        choices.pixelType = m_settings->pixelType();
        choices.resolutions = m_settings->resolutions();
        choices.resolution = m_settings->resolution();
        choices.hasFeeder = m_settings->hasFeeder();
        choices.hasFlatbed = m_settings->hasFlatbed();
        choices.feeder = m_settings->feeder();
        m_dialog = std::make_unique<ScanDialog>(QString::fromLocal8Bit(m_identity.ProductName), choices,
                                                [this](ScanDialog::Action a, const ScanChoices &c) {
                                                    dialogAnswer(a, c);
                                                });
        m_caller.show(m_dialog.get());
    } else {
        startScan();
    }
    return TWRC_SUCCESS;
}

void SaneSource::disable()
{
    endScanThread();
    dropPages();
    closeDialog();
}

void SaneSource::dialogAnswer(ScanDialog::Action action, const ScanChoices &choices)
{
    if (state() != Enabled)
        return;
    if (action == ScanDialog::Action::Cancel) {
        if (m_scan) {
            // The scan's thread stops at its next read, or has its call
            // cancelled on the device should it not return; its news ends
            // the scan.
            m_scan->cancel();
            m_dialog->showCancelling(QString::fromUtf8(CancellingText));
            // A scan whose call never returns, even cancelled, is given up
            // after a while rather than keep the window waiting for ever.
            QTimer::singleShot(ScanThread::AbandonLimit(), &m_newsContext, [this, scan = m_scanNumber] {
                if (state() == Enabled && m_scan && m_scanNumber == scan && !m_endingScan && !m_scan->progress().ended)
                    abandonScan();
            });
        }
        else if (m_pages.empty())
            announce(MSG_CLOSEDSREQ);
        return;
    }
    if (m_scan || !m_pages.empty())
        return;
    if (!m_device) {
        m_dialog->showIdle(Failure::NotResponding().message, true);
        return;
    }
    const bool taken = OffThread([&] {
        return m_settings->setPixelType(choices.pixelType) && m_settings->setResolution(choices.resolution)
               && (!choices.hasFeeder || m_settings->setFeeder(choices.feeder));
    });
    if (!taken) {
        m_dialog->showIdle(MessageFor(SANE_STATUS_INVAL, documentPlace()));
        return;
    }
    if (!RememberChoice(QByteArray(m_identity.ProductName), choices.pixelType, choices.resolution))
        report(QStringLiteral("the choice of mode and resolution could not be remembered"));
    startScan();
}

void SaneSource::startScan()
{
    ScanRequest request;
    request.feeder = m_settings->feeder();
    request.maxPages = m_xferCount > 0 ? m_xferCount : -1;
    request.dpi = m_settings->resolution();
    m_scanDpi = request.dpi;
    request.slice = m_config.slice;
    request.sliceBytes = m_config.sliceBytes;
    SaneCalls calls;
    bool jams = false;
    g_sheetsBeforeJam = qEnvironmentVariableIntValue("TWAINSANE_JAM_AFTER", &jams);
    if (jams && g_sheetsBeforeJam >= 0)
        calls.start = startOrJam;
    m_scanCaps.clear();
    for (int cap : {ICAP_PIXELTYPE, ICAP_BITDEPTH, ICAP_UNITS, ICAP_XRESOLUTION, ICAP_YRESOLUTION, CAP_XFERCOUNT,
                    ICAP_XFERMECH, CAP_FEEDERENABLED})
        if (const std::optional<CapValues> values = capValues(TW_UINT16(cap)))
            m_scanCaps.emplace(TW_UINT16(cap), *values);
    // From here on the device is the scan thread's: every SANE call of the
    // scan is made there, and it reads on its own to the end. Its news
    // reaches this thread through the event loop; without one, the
    // application's MSG_PROCESSEVENT looks for it.
    if (m_dialog)
        m_dialog->showScanning(1, 0);
    ++m_scanNumber;
    m_scan = std::make_unique<ScanThread>(std::make_unique<ScanJob>(m_device->handle(), request, calls), [this] {
        if (QCoreApplication::instance())
            QMetaObject::invokeMethod(&m_newsContext, [this] { scanNews(); }, Qt::QueuedConnection);
    });
}

void SaneSource::scanNews()
{
    // News of a thread ended meanwhile, or of a look taken already; none
    // while the scan is being ended.
    if (state() != Enabled || !m_scan || m_endingScan)
        return;
    const ScanThread::Progress progress = m_scan->progress();
    if (progress.ended) {
        scanEnded();
        return;
    }
    if (m_dialog && !m_scan->cancelling())
        m_dialog->showScanning(progress.pages + 1, progress.percent);
}

void SaneSource::endScanThread()
{
    if (!m_scan)
        return;
    m_endingScan = true;
    m_scan->cancel();
    // A call under way may be a page starting, or a device that stalled
    // (cancelled on the device after a moment); the event loop goes on
    // meanwhile (the application's requests wait, see entry).
    const bool ended = OffThread([this] { return m_scan->waitFor(ScanThread::AbandonLimit()); });
    if (!ended && abandonScan()) {
        m_endingScan = false;
        return;
    }
    m_scan.reset();
    m_scanCaps.clear();
    m_endingScan = false;
}

bool SaneSource::abandonScan()
{
    // The device, its settings and SANE (which must not stop under a call)
    // stay with the scan's thread, to be closed should the call return.
    auto device = std::make_shared<std::unique_ptr<SaneDevice>>(std::move(m_device));
    auto settings = std::make_shared<std::unique_ptr<ScanSettings>>(std::move(m_settings));
    const bool given = m_scan->abandon([device, settings] {
        RunAlone([&] {
            settings->reset();
            device->reset();
        });
    });
    if (!given) {
        m_device = std::move(*device);
        m_settings = std::move(*settings);
        return false;
    }
    // Taken while the scan's thread waits in the device: after a cancel
    // it adds no page.
    for (TW_HANDLE page : m_scan->job().takePages())
        m_pages.push_back(page);
    m_scan.reset();
    m_scanCaps.clear();
    deliverScan(Failure::NotResponding(), false);
    return true;
}

void SaneSource::lookForNews()
{
    if (m_scan)
        scanNews();
}

void SaneSource::scanEnded()
{
    ScanJob &job = m_scan->job();
    const Failure failure = job.failure();
    const bool cancelled = job.phase() == ScanJob::Phase::Cancelled;
    for (TW_HANDLE page : job.takePages())
        m_pages.push_back(page);
    m_scan.reset(); // its thread waits for nothing more
    m_scanCaps.clear();
    deliverScan(failure, cancelled);
}

void SaneSource::deliverScan(const Failure &failure, bool cancelled)
{
    if (failure) {
        remember(failure.condition, failure.message.toUtf8());
        report(failure.message);
        // A caller that hides the source's interface hides its settings and
        // progress, not its faults, and may never ask for the condition code.
        // The dialog forgets the fault when pages are taken and the caller
        // then closes it. So the fault goes to a box of its own, unless the
        // dialog stays up with it (no pages to hand over), or the caller
        // turned the indicators off and reads the condition code of the
        // close request itself (no pages either: one box per fault).
        const bool callerTells = !m_dialog && !m_indicators && m_pages.empty();
        if ((!m_dialog || !m_pages.empty()) && !callerTells)
            TellOperator(failure.message, m_caller);
    }
    const QString message = failure ? failure.message
                            : cancelled ? QString::fromUtf8(twaindsm::texts::ScanCancelled)
                                        : QString();
    if (!m_pages.empty()) {
        announce(MSG_XFERREADY); // the pages read before a fault are not lost
        if (m_dialog)
            m_dialog->showIdle(message, bool(failure));
        return;
    }
    transfersEnded(message, bool(failure));
}

void SaneSource::transfersEnded(const QString &message, bool fault)
{
    if (m_dialog)
        m_dialog->showIdle(message, fault);
    else
        announce(MSG_CLOSEDSREQ);
}

void SaneSource::announce(TW_UINT16 message)
{
    m_pending = message;
    // The application's loop would learn of it at the end of its slice.
    if (QCoreApplication *app = QCoreApplication::instance())
        QCoreApplication::postEvent(app, new QEvent(QEvent::Type(TWEV_WAKEEVENTTYPE)));
}

TW_UINT16 SaneSource::nativeTransfer(TW_HANDLE *out)
{
    if (m_pages.empty())
        return fail(TWCC_BUMMER);
    *out = m_pages.front();
    m_pages.pop_front();
    return TWRC_XFERDONE;
}

TW_UINT16 SaneSource::transfersLeft() const
{
    return static_cast<TW_UINT16>(std::min<std::size_t>(m_pages.size(), 0xFFFE));
}

TW_UINT16 SaneSource::imageInfo(pTW_IMAGEINFO info)
{
    if (m_pages.empty())
        return fail(TWCC_SEQERROR);
    TWAIN_BITMAPINFOHEADER header{};
    const void *dib = GlobalLock(m_pages.front());
    if (!dib || GlobalSize(m_pages.front()) < sizeof header) {
        GlobalUnlock(m_pages.front());
        return fail(TWCC_BUMMER);
    }
    std::memcpy(&header, dib, sizeof header);
    GlobalUnlock(m_pages.front());
    std::memset(info, 0, sizeof *info);
    // The resolution the pages were scanned at: worked back from the DIB's
    // whole pixels per metre it would come out a little off (299.9994).
    const TW_UINT32 res = Fix32Bits(m_scanDpi / unitsPerInch());
    std::memcpy(&info->XResolution, &res, 4);
    std::memcpy(&info->YResolution, &res, 4);
    info->ImageWidth = header.biWidth;
    info->ImageLength = header.biHeight;
    const bool colour = header.biBitCount == 24;
    info->SamplesPerPixel = colour ? 3 : 1;
    for (int i = 0; i < info->SamplesPerPixel; ++i)
        info->BitsPerSample[i] = static_cast<TW_INT16>(header.biBitCount == 1 ? 1 : 8);
    info->BitsPerPixel = static_cast<TW_INT16>(header.biBitCount);
    info->PixelType = static_cast<TW_INT16>(colour ? TWPT_RGB : header.biBitCount == 1 ? TWPT_BW : TWPT_GRAY);
    return TWRC_SUCCESS;
}

void SaneSource::dropPages()
{
    for (TW_HANDLE page : m_pages)
        GlobalFree(page);
    m_pages.clear();
}

void SaneSource::closeDialog()
{
    if (m_dialog) {
        m_dialog->hide();
        m_dialog.reset();
    }
}

} // namespace twainsane
