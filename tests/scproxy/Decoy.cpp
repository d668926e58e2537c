// A module that exports a variable under every entry point's name, as the
// package does, to show that loading it beside the engine changes nothing.
#define SCPROXY_DECOY(name) extern "C" {                                             \
    __attribute__((visibility("default"))) void *name = nullptr;                   \
    }
SCPROXY_DECOY(ScGetScanifyAPIVersion) SCPROXY_DECOY(ScGetErrorCode) SCPROXY_DECOY(ScGetErrorMessage)
SCPROXY_DECOY(ScInitialize) SCPROXY_DECOY(ScTerminate) SCPROXY_DECOY(ScSetupContext) SCPROXY_DECOY(ScPackageCreate)
SCPROXY_DECOY(ScPackageGetInformation) SCPROXY_DECOY(ScPackageClose) SCPROXY_DECOY(ScPackageDestroy)
SCPROXY_DECOY(ScScannerOpen) SCPROXY_DECOY(ScScannerSetConfiguration) SCPROXY_DECOY(ScScannerClose)
SCPROXY_DECOY(ScPackageScan) SCPROXY_DECOY(ScPackageRecog) SCPROXY_DECOY(ScPackageGetFieldValue)
SCPROXY_DECOY(ScImageExport)
