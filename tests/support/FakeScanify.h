#pragma once
// An in-process fake of the Scanify engine library: while a FakeScanify lives,
// the package's 44 entry-point variables point at its functions and
// CognitiveLibInstance is set, so the package's operations run against it
// exactly as against the loaded library. The fake answers from the public
// fields below and records every call. One fake at a time.

#include "scanify/scapiTypes.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace r9test {

class FakeScanify
{
public:
    FakeScanify();
    ~FakeScanify();
    FakeScanify(const FakeScanify &) = delete;
    FakeScanify &operator=(const FakeScanify &) = delete;

    /// The live fake; null when none.
    static FakeScanify *Current();

    struct Field
    {
        std::optional<std::string> value; // nullopt: the engine returns a null pointer
        std::int32_t flags = 0;
    };

    // ---- answers
    ScInstanceHandle initializeResult = 0x11;
    /// ScGetErrorMessage's text per instance (instance 0 after a failed start);
    /// nullopt: a null pointer.
    std::map<ScInstanceHandle, std::optional<std::string>> errorMessages;
    std::int32_t errorCode = 0;
    ScPackageHandle packageResult = 0x21;
    /// szName of the package information; empty: the folder given to create.
    std::string packageName;
    bool selectSourceResult = true;
    std::optional<std::string> chosenSourceName = std::string("Fake Feeder");
    std::int32_t sourceCount = 2;
    ScScanDeviceHandle openResult = 0x31;
    ScImageHandle scanResult = 0x41;
    std::map<std::string, Field> fields;
    bool setupContextResult = true;
    /// ScScannerSetConfiguration raises std::runtime_error, as the engine's call faults.
    bool setConfigurationThrows = false;
    bool recogResult = true;
    ScDocumentHandle firstDocResult = 0x51;
    std::int32_t formNumber = 1;
    /// szId of the recognised form, and the identifiers of its fields.
    std::string formId;
    std::vector<std::string> formFields;
    /// When set, nFieldsCount instead of the size of formFields.
    std::optional<std::int32_t> formFieldCount;
    /// Bytes ScImageExport writes to the file it is given; empty: no file.
    std::string exportBytes;
    /// False: ScImageExport fails and writes nothing.
    bool exportResult = true;
    /// False: ScPackageGetFieldValue leaves the attribute record as it is.
    bool fillAttributes = true;
    /// When set, ScPackageGetFieldValue and ScGetErrorMessage return this
    /// pointer as it is (for texts that are not well-formed).
    const char *rawText = nullptr;
    /// When set, ScPackageGetInformation copies these bytes over szName
    /// (all 256 of them, no terminator needed).
    std::optional<std::vector<char>> rawPackageName;

    // ---- records
    std::vector<std::string> calls;
    std::string lastPackageFolder;
    std::optional<std::string> lastOpenedSource;
    TScDeviceClass lastDeviceClass = 0;
    ScWindowHandle lastOwner = 0;
    std::string lastExportFile;
    std::string lastContextFile;
    TScExportImageOptions lastExportOptions{};
    bool lastExportOptionsGiven = false;
    std::vector<ScPackageHandle> destroyedPackages;
    const void *lastScanRequest = reinterpret_cast<const void *>(1);
    /// The shape (Qt::CursorShape) of the application's override cursor while
    /// ScPackageScan ran; -1 when none was set, nullopt before any scan.
    std::optional<int> scanCursorShape;
    bool lastFieldAttrGiven = false;

    /// The calls recorded so far, by entry point name only.
    std::vector<std::string> CallNames() const;
    /// How often the entry point was called.
    int CallCount(const std::string &name) const;

private:
    void *m_savedLibrary;
    std::string m_textBuffer; // keeps the last text handed out alive
    friend struct FakeScanifyEntries;
};

} // namespace r9test
