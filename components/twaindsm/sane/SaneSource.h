#pragma once
// The SANE devices as TWAIN data sources: one library, one source per
// device, one source open at a time. Enabled (state 5) the source scans,
// read on the scan's own thread from start to end while the application's
// thread only passes events and shows progress. The application learns of
// finished pages or a close request from the answer to its next
// MSG_PROCESSEVENT; all pages of a scan are read before the first transfer,
// so the transfers themselves never wait on the device.

#include "CallerWindow.h"
#include "DataSource.h"
#include "SaneConfig.h"
#include "SaneDevice.h"
#include "ScanDialog.h"
#include "ScanSettings.h"
#include "ScanThread.h"

#include <QObject>
#include <deque>
#include <map>
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
    using CapValues = twainds::CapValues;

    SaneSource();
    TW_UINT16 identity(TW_UINT16 msg, pTW_IDENTITY id) override;
    TW_UINT16 open(pTW_IDENTITY id) override;
    /// The library drives one device at a time.
    TW_UINT16 alreadyOpen() const override { return TWCC_MAXCONNECTIONS; }
    void close() override;
    TW_UINT16 capabilitiesRefused() const override;
    std::optional<CapValues> capValues(TW_UINT16 cap) const override;
    TW_UINT16 setCapability(TW_UINT16 cap, const CapValues &values, const twainds::SetRequest &asked) override;
    TW_UINT16 enable(const TW_USERINTERFACE &ui) override;
    void disable() override;
    void lookForNews() override;
    TW_UINT16 nativeTransfer(TW_HANDLE *out) override;
    TW_UINT16 imageInfo(pTW_IMAGEINFO info) override;
    TW_UINT16 transfersLeft() const override;
    void dropTransfers() override { dropPages(); }
    void transfersEnded() override { transfersEnded(QString(), false); }

    void dialogAnswer(ScanDialog::Action action, const ScanChoices &choices);
    void startScan();
    /// On the application's thread, when the scan's thread has news:
    /// shows the progress, or ends the scan.
    void scanNews();
    /// Cancels a scan still running and waits for its thread to end while
    /// the application's event loop goes on.
    void endScanThread();
    void scanEnded();
    /// Gives up a cancelled scan that did not end in time (a call to the
    /// device that never returns): the device goes with it, closed only
    /// should its call ever return, and the transfer ends with the device
    /// not answering, the pages finished before kept. False when the scan
    /// ended meanwhile after all.
    bool abandonScan();
    /// Hands over the scan's outcome: its pages, then the fault or the cancel.
    void deliverScan(const Failure &failure, bool cancelled);
    /// After the last transfer: ready for another scan with the dialog, else
    /// a request to be closed.
    void transfersEnded(const QString &message, bool fault);
    /// Has the message wait for the application's next MSG_PROCESSEVENT,
    /// and wakes the application's loop for it.
    void announce(TW_UINT16 message);
    void dropPages();
    void closeDialog();
    double unitsPerInch() const;
    DocumentPlace documentPlace() const;

    TW_IDENTITY m_identity{};
    std::size_t m_next = 0; // MSG_GETNEXT position
    std::unique_ptr<SaneDevice> m_device;
    /// The device's settings as last read (queries make no SANE call).
    std::unique_ptr<ScanSettings> m_settings;
    std::vector<TW_UINT16> m_allowedTypes; // as the application restricted them
    TW_UINT16 m_units = TWUN_INCHES;
    TW_INT16 m_xferCount = -1;
    /// CAP_INDICATORS: without it and without the window, the caller tells
    /// the operator of a fault that ends the scan without a page.
    bool m_indicators = true;
    Config m_config;
    bool m_showUI = false;
    /// Delivers the scan thread's news on the application's thread; made
    /// before the scan thread and gone after it.
    QObject m_newsContext;
    std::unique_ptr<ScanThread> m_scan;
    int m_scanNumber = 0; // which scan m_scan is, for what waits on one scan
    bool m_endingScan = false;
    /// The capabilities as the scan began: while it runs the device is the
    /// scan thread's alone, so queries are answered from here.
    std::map<TW_UINT16, CapValues> m_scanCaps;
    std::deque<TW_HANDLE> m_pages;
    double m_scanDpi = 0; // of the scan m_pages come from
    std::unique_ptr<ScanDialog> m_dialog;
    /// The window the caller enabled the source with: it owns the dialog
    /// and the notices of the session.
    twainds::CallerWindow m_caller;
};

} // namespace twainsane
