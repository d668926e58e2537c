#include "SpecimenSource.h"

#include "CallerWindow.h"
#include "SpecimenPages.h"

#include <QApplication>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace specimen {

using twainds::Fix32Bits;
using twainds::Fix32Value;

namespace {

void copyName(char *field, const char *text)
{
    std::memset(field, 0, sizeof(TW_STR32));
    std::strncpy(field, text, sizeof(TW_STR32) - 1);
}

} // namespace

SpecimenSource &SpecimenSource::instance()
{
    static SpecimenSource source;
    return source;
}

SpecimenSource::SpecimenSource()
{
    m_identity.Version.MajorNum = 1;
    m_identity.Version.MinorNum = 0;
    m_identity.Version.Language = TWLG_USA;
    m_identity.Version.Country = TWCY_USA;
    copyName(m_identity.Version.Info, "1.0 specimen pictures");
    m_identity.ProtocolMajor = 1;
    m_identity.ProtocolMinor = 9;
    m_identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    copyName(m_identity.Manufacturer, "Velmar stand-ins");
    copyName(m_identity.ProductFamily, "Specimen");
    copyName(m_identity.ProductName, "Specimen Scanner");
    resetCapabilities();
}

void SpecimenSource::resetCapabilities()
{
    m_caps.clear();
    // A caller that takes any pixel type gets the scanner's own setting.
    const TW_UINT32 type = ReadConfig().pixelType;
    const TW_UINT32 depth = TW_UINT32(bitDepthFor(type));
    m_caps[ICAP_PIXELTYPE] = {TWTY_UINT16, {TWPT_BW, TWPT_GRAY, TWPT_RGB, TWPT_PALETTE}, type, type};
    m_caps[ICAP_BITDEPTH] = {TWTY_UINT16, {depth}, depth, depth};
    m_caps[ICAP_UNITS] = {TWTY_UINT16,
                          {TWUN_INCHES, TWUN_CENTIMETERS, TWUN_PICAS, TWUN_POINTS, TWUN_TWIPS, TWUN_PIXELS},
                          TWUN_INCHES,
                          TWUN_INCHES};
    const TW_UINT32 dpi = Fix32Bits(PictureDpi);
    m_caps[ICAP_XRESOLUTION] = {TWTY_FIX32, {Fix32Bits(75), Fix32Bits(150), dpi, Fix32Bits(600)}, dpi, dpi};
    m_caps[ICAP_YRESOLUTION] = m_caps[ICAP_XRESOLUTION];
    m_caps[CAP_XFERCOUNT] = {TWTY_INT16, {}, 0xFFFFu, 0xFFFFu};
    m_caps[ICAP_XFERMECH] = {TWTY_UINT16, {TWSX_NATIVE}, TWSX_NATIVE, TWSX_NATIVE};
}

int SpecimenSource::bitDepthFor(TW_UINT32 pixelType) const
{
    switch (pixelType) {
    case TWPT_BW: return 1;
    case TWPT_GRAY: return 8;
    case TWPT_PALETTE: return 8;
    default: return 24;
    }
}

double SpecimenSource::resolution() const
{
    return Fix32Value(m_caps.at(ICAP_XRESOLUTION).current);
}

TW_UINT16 SpecimenSource::identity(TW_UINT16 msg, pTW_IDENTITY id)
{
    if (msg != MSG_GET)
        return fail(TWCC_BADPROTOCOL);
    const TW_UINTPTR keep = id->Id;
    *id = m_identity;
    id->Id = keep;
    return TWRC_SUCCESS;
}

TW_UINT16 SpecimenSource::open(pTW_IDENTITY id)
{
    if (ReadConfig().has(fault::OpenFails))
        return fail(TWCC_OPERATIONERROR);
    m_identity.Id = id->Id;
    resetCapabilities();
    return TWRC_SUCCESS;
}

TW_UINT16 SpecimenSource::capabilitiesRefused() const
{
    return ReadConfig().has(fault::CapsFail) ? TW_UINT16(TWCC_BUMMER) : TW_UINT16(TWCC_SUCCESS);
}

std::optional<twainds::CapValues> SpecimenSource::capValues(TW_UINT16 cap) const
{
    const auto found = m_caps.find(cap);
    return found != m_caps.end() ? std::optional<CapValues>(found->second) : std::nullopt;
}

twainds::ContainerKind SpecimenSource::answerContainer() const
{
    return ReadConfig().container;
}

TW_UINT16 SpecimenSource::setCapability(TW_UINT16 cap, const CapValues &values, const twainds::SetRequest &asked)
{
    CapValues &kept = m_caps[cap];
    if (cap == CAP_XFERCOUNT) {
        const auto count = static_cast<TW_INT16>(asked.value);
        if (count == 0 || count < -1)
            return fail(TWCC_BADVALUE);
        kept.current = static_cast<TW_UINT16>(count);
        return TWRC_SUCCESS;
    }
    // The value (and a restricting list) must be among the scanner's own.
    const CapValues &own = cap == ICAP_PIXELTYPE ? CapValues{TWTY_UINT16, {0, 1, 2, 3}, 0, 0} : values;
    auto offered = [&own](TW_UINT32 v) {
        return own.allowed.empty() || std::find(own.allowed.begin(), own.allowed.end(), v) != own.allowed.end();
    };
    if (!offered(asked.value))
        return fail(TWCC_BADVALUE);
    for (TW_UINT32 v : asked.list)
        if (!offered(v))
            return fail(TWCC_BADVALUE);
    if (cap == ICAP_BITDEPTH && int(asked.value) != bitDepthFor(m_caps[ICAP_PIXELTYPE].current))
        return fail(TWCC_BADVALUE);
    if (!asked.list.empty())
        kept.allowed = asked.list;
    kept.current = asked.value;
    if (cap == ICAP_PIXELTYPE) {
        const auto depth = static_cast<TW_UINT32>(bitDepthFor(kept.current));
        m_caps[ICAP_BITDEPTH] = {TWTY_UINT16, {depth}, depth, depth};
    }
    if (cap == ICAP_XRESOLUTION)
        m_caps[ICAP_YRESOLUTION].current = kept.current;
    return TWRC_SUCCESS;
}

TW_UINT16 SpecimenSource::enable(const TW_USERINTERFACE &ui)
{
    m_config = ReadConfig();
    if (m_config.has(fault::EnableFails))
        return fail(TWCC_OPERATIONERROR);
    const auto limit = static_cast<TW_INT16>(m_caps[CAP_XFERCOUNT].current);
    const int pages = limit > 0 ? std::min<int>(limit, m_config.pages) : m_config.pages;
    m_config.pages = pages;
    m_announced = pages + (m_config.has(fault::ShortPages) ? 1 : 0);
    m_done = 0;
    m_showUI = ui.ShowUI != 0;
    if (m_config.has(fault::CloseRequest)) {
        m_pending = MSG_CLOSEDSREQ;
    } else if (m_showUI && qobject_cast<QApplication *>(QCoreApplication::instance())) {
        m_dialog = std::make_unique<ScanDialog>(pages, [this](bool scan) {
            if (state() == Enabled)
                m_pending = scan ? MSG_XFERREADY : MSG_CLOSEDSREQ;
        });
        twainds::CallerWindow(ui.hParent).show(m_dialog.get());
    } else {
        m_pending = MSG_XFERREADY;
    }
    return TWRC_SUCCESS;
}

void SpecimenSource::disable()
{
    closeDialog();
}

void SpecimenSource::closeDialog()
{
    if (m_dialog) {
        m_dialog->hide();
        m_dialog.reset();
    }
}

void SpecimenSource::transfersBegin()
{
    m_done = 0;
}

TW_UINT16 SpecimenSource::nativeTransfer(TW_HANDLE *out)
{
    if (m_config.has(fault::Cancel))
        return TWRC_CANCEL;
    // The first transfer fails, or the one announced beyond the real pages.
    if ((m_config.has(fault::FailTransfer) && m_done == 0) || m_done >= m_config.pages)
        return fail(TWCC_BUMMER);
    const QImage picture = PagePicture(m_config.pictureFolder, m_done, resolution());
    TW_HANDLE dib = MakeDib(picture, int(m_caps[ICAP_PIXELTYPE].current), resolution());
    if (!dib)
        return fail(TWCC_LOWMEMORY);
    *out = dib;
    return TWRC_XFERDONE;
}

void SpecimenSource::transferEnded()
{
    ++m_done;
}

TW_UINT16 SpecimenSource::transfersLeft() const
{
    return static_cast<TW_UINT16>(std::max(0, m_announced - m_done));
}

void SpecimenSource::transfersEnded()
{
    if (!m_showUI)
        m_pending = MSG_CLOSEDSREQ;
}

TW_UINT16 SpecimenSource::imageInfo(pTW_IMAGEINFO info)
{
    const QImage picture = PagePicture(m_config.pictureFolder, m_done, resolution());
    const TW_UINT32 type = m_caps[ICAP_PIXELTYPE].current;
    std::memset(info, 0, sizeof *info);
    TW_UINT32 res = m_caps[ICAP_XRESOLUTION].current;
    std::memcpy(&info->XResolution, &res, 4);
    std::memcpy(&info->YResolution, &res, 4);
    info->ImageWidth = picture.width();
    info->ImageLength = picture.height();
    info->SamplesPerPixel = type == TWPT_RGB ? 3 : 1;
    for (int i = 0; i < info->SamplesPerPixel; ++i)
        info->BitsPerSample[i] = static_cast<TW_INT16>(type == TWPT_BW ? 1 : 8);
    info->BitsPerPixel = static_cast<TW_INT16>(bitDepthFor(type));
    info->PixelType = static_cast<TW_INT16>(type);
    return TWRC_SUCCESS;
}

} // namespace specimen
