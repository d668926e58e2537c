#pragma once
// The specimen scanner as a TWAIN data source: its states (3 closed, 4 open,
// 5 enabled, 6 transfer ready, 7 transferring), its capabilities and its
// transfers. The application learns of a ready transfer or a close request
// from the answer to its next MSG_PROCESSEVENT.

#include "DataSource.h"
#include "ScanDialog.h"
#include "SpecimenCaps.h"
#include "SpecimenConfig.h"

#include <map>
#include <memory>

namespace specimen {

class SpecimenSource : public twainds::DataSource
{
public:
    static SpecimenSource &instance();

private:
    SpecimenSource();
    TW_UINT16 identity(TW_UINT16 msg, pTW_IDENTITY id) override;
    TW_UINT16 capability(TW_UINT16 msg, pTW_CAPABILITY cap) override;
    TW_UINT16 setCapability(CapValues &values, TW_UINT16 cap, const TW_CAPABILITY &request);
    TW_UINT16 userInterface(TW_UINT16 msg, pTW_USERINTERFACE ui) override;
    TW_UINT16 processEvent(pTW_EVENT event) override;
    TW_UINT16 nativeTransfer(TW_HANDLE *out) override;
    TW_UINT16 pendingTransfers(TW_UINT16 msg, pTW_PENDINGXFERS pending) override;
    TW_UINT16 imageInfo(pTW_IMAGEINFO info) override;
    void resetCapabilities();
    void closeDialog();
    /// After the last transfer, a source without its dialog asks to be closed.
    void transfersEnded();
    int bitDepthFor(TW_UINT32 pixelType) const;
    double resolution() const;

    int m_state = 3;
    TW_IDENTITY m_identity{};
    std::map<TW_UINT16, CapValues> m_caps;
    Config m_config;
    bool m_showUI = false;
    TW_UINT16 m_pending = MSG_NULL;
    int m_announced = 0;
    int m_done = 0;
    std::unique_ptr<ScanDialog> m_dialog;
};

} // namespace specimen
