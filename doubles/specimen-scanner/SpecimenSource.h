#pragma once
// The specimen scanner as a TWAIN data source: its capabilities, its faults
// and its transfers of the specimen pictures (the states are the shared
// base's). The application learns of a ready transfer or a close request
// from the answer to its next MSG_PROCESSEVENT.

#include "DataSource.h"
#include "ScanDialog.h"
#include "SpecimenConfig.h"

#include <map>
#include <memory>

namespace specimen {

class SpecimenSource : public twainds::DataSource
{
public:
    static SpecimenSource &instance();

private:
    using CapValues = twainds::CapValues;

    SpecimenSource();
    TW_UINT16 identity(TW_UINT16 msg, pTW_IDENTITY id) override;
    TW_UINT16 open(pTW_IDENTITY id) override;
    void close() override {}
    TW_UINT16 capabilitiesRefused() const override;
    std::optional<CapValues> capValues(TW_UINT16 cap) const override;
    twainds::ContainerKind answerContainer() const override;
    TW_UINT16 setCapability(TW_UINT16 cap, const CapValues &values, const twainds::SetRequest &asked) override;
    TW_UINT16 enable(const TW_USERINTERFACE &ui) override;
    void disable() override;
    void transfersBegin() override;
    TW_UINT16 nativeTransfer(TW_HANDLE *out) override;
    TW_UINT16 imageInfo(pTW_IMAGEINFO info) override;
    void transferEnded() override;
    TW_UINT16 transfersLeft() const override;
    /// After the last transfer, a source without its dialog asks to be closed.
    void transfersEnded() override;
    void resetCapabilities();
    void closeDialog();
    int bitDepthFor(TW_UINT32 pixelType) const;
    double resolution() const;

    TW_IDENTITY m_identity{};
    std::map<TW_UINT16, CapValues> m_caps;
    Config m_config;
    bool m_showUI = false;
    int m_announced = 0;
    int m_done = 0;
    std::unique_ptr<ScanDialog> m_dialog;
};

} // namespace specimen
