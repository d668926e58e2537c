#pragma once
// The SANE devices as TWAIN data sources: one library, one source per
// device, one source open at a time. States 3 closed, 4 open, 5 enabled (the
// scan runs here, slice by slice, as the application passes events),
// 6 transfer ready, 7 transferring. The application learns of finished
// pages or a close request from the answer to its next MSG_PROCESSEVENT;
// all pages of a scan are read before the first transfer, so the transfers
// themselves never wait on the device.

#include "DataSource.h"
#include "SaneConfig.h"
#include "SaneDevice.h"
#include "ScanDialog.h"
#include "ScanJob.h"
#include "ScanSettings.h"
#include "SpecimenCaps.h"

#include <QSocketNotifier>
#include <QTimer>
#include <deque>
#include <memory>
#include <optional>

namespace twainsane {

class SaneSource : public twainds::DataSource
{
public:
    static SaneSource &instance();
    /// DS_Entry.
    TW_UINT16 entry(pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

private:
    SaneSource();
    TW_UINT16 identity(TW_UINT16 msg, pTW_IDENTITY id) override;
    TW_UINT16 open(pTW_IDENTITY id);
    TW_UINT16 capability(TW_UINT16 msg, pTW_CAPABILITY cap) override;
    TW_UINT16 setCapability(TW_UINT16 cap, const specimen::CapValues &values, const TW_CAPABILITY &request);
    std::optional<specimen::CapValues> capValues(TW_UINT16 cap) const;
    TW_UINT16 userInterface(TW_UINT16 msg, pTW_USERINTERFACE ui) override;
    TW_UINT16 processEvent(pTW_EVENT event) override;
    TW_UINT16 nativeTransfer(TW_HANDLE *out) override;
    TW_UINT16 pendingTransfers(TW_UINT16 msg, pTW_PENDINGXFERS pending) override;
    TW_UINT16 imageInfo(pTW_IMAGEINFO info) override;

    void dialogAnswer(ScanDialog::Action action, const ScanChoices &choices);
    void startScan();
    /// One step of the scan, and the next awaited: when the device's
    /// descriptor is readable, else at once (reads wait for data themselves),
    /// else after a short pause (non-blocking reads without a descriptor).
    void pump();
    void armPump();
    void stopPump();
    void scanEnded();
    /// After the last transfer: ready for another scan with the dialog, else
    /// a request to be closed.
    void transfersEnded(const QString &message = QString());
    void dropPages();
    void closeDialog();
    double unitsPerInch() const;

    int m_state = 3;
    TW_IDENTITY m_identity{};
    std::size_t m_next = 0; // MSG_GETNEXT position
    std::unique_ptr<SaneDevice> m_device;
    std::unique_ptr<ScanSettings> m_settings;
    std::vector<TW_UINT16> m_allowedTypes; // as the application restricted them
    TW_UINT16 m_units = TWUN_INCHES;
    TW_INT16 m_xferCount = -1;
    Config m_config;
    bool m_showUI = false;
    TW_UINT16 m_pending = MSG_NULL;
    std::unique_ptr<ScanJob> m_job;
    std::deque<TW_HANDLE> m_pages;
    bool m_stepping = false; // in a step of m_job
    double m_scanDpi = 0; // of the scan m_pages come from
    std::unique_ptr<ScanDialog> m_dialog;
    QTimer m_pumpTimer;
    std::unique_ptr<QSocketNotifier> m_pumpNotifier;
};

} // namespace twainsane
