#include "support/FakeScanify.h"

#include "common/engCommon9r.h"
#include "scanify/scapi.h"

#include <QCursor>
#include <QGuiApplication>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace r9test {

namespace {

FakeScanify *g_current = nullptr;

FakeScanify &fake()
{
    if (!g_current)
        throw std::logic_error("a Scanify entry point was called without a fake");
    return *g_current;
}

std::string num(std::uint64_t value)
{
    return std::to_string(value);
}

} // namespace

/// The fake's entry points; each records its call as "Name(arguments)".
struct FakeScanifyEntries
{
    static void record(const std::string &call) { fake().calls.push_back(call); }

    static const char *text(const std::optional<std::string> &value)
    {
        FakeScanify &f = fake();
        if (f.rawText)
            return f.rawText;
        if (!value)
            return nullptr;
        f.m_textBuffer = *value;
        return f.m_textBuffer.c_str();
    }

    static std::uint32_t ScGetScanifyAPIVersion() { record("ScGetScanifyAPIVersion()"); return 0x0200; }
    static std::int32_t ScGetErrorCode(ScInstanceHandle h)
    {
        record("ScGetErrorCode(" + num(h) + ")");
        return fake().errorCode;
    }
    static const char *ScGetErrorMessage(ScInstanceHandle h, std::int32_t reserved)
    {
        record("ScGetErrorMessage(" + num(h) + ", " + num(std::uint32_t(reserved)) + ")");
        const auto it = fake().errorMessages.find(h);
        return text(it == fake().errorMessages.end() ? std::optional<std::string>(std::string()) : it->second);
    }
    static ScInstanceHandle ScInitialize(PScInitializeOption option)
    {
        record(std::string("ScInitialize(") + (option ? "option" : "null") + ")");
        return fake().initializeResult;
    }
    static ScBool ScTerminate(ScInstanceHandle h, PScTerminateOption option)
    {
        record("ScTerminate(" + num(h) + ", " + (option ? "option" : "null") + ")");
        return 1;
    }
    static ScBool ScSetOption(ScInstanceHandle, std::int32_t, const char *) { record("ScSetOption"); return 0; }
    static const char *ScGetOption(ScInstanceHandle, std::int32_t) { record("ScGetOption"); return nullptr; }
    static ScBool ScSetupContext(ScInstanceHandle h, const char *file)
    {
        record("ScSetupContext(" + num(h) + ", " + (file ? file : "null") + ")");
        fake().lastContextFile = file ? file : "";
        return fake().setupContextResult ? 1 : 0;
    }
    static const char *ScGetContext(ScInstanceHandle) { record("ScGetContext"); return nullptr; }
    static ScPackageHandle ScPackageCreate(ScInstanceHandle h, const char *folder)
    {
        record("ScPackageCreate(" + num(h) + ")");
        fake().lastPackageFolder = folder ? folder : "";
        return fake().packageResult;
    }
    static ScPackageHandle ScPackageOpen(ScInstanceHandle, const char *, std::int32_t) { record("ScPackageOpen"); return 0; }
    static ScBool ScPackageGetInformation(ScPackageHandle h, PScPackageInformation info)
    {
        record("ScPackageGetInformation(" + num(h) + ")");
        FakeScanify &f = fake();
        if (f.rawPackageName) {
            std::memcpy(info->szName, f.rawPackageName->data(), std::min(f.rawPackageName->size(), sizeof info->szName));
        } else {
            const std::string name = f.packageName.empty() ? f.lastPackageFolder : f.packageName;
            std::strncpy(info->szName, name.c_str(), sizeof info->szName - 1);
        }
        info->nDocsCount = 0;
        return 1;
    }
    static ScBool ScPackageMove(ScPackageHandle, const char *) { record("ScPackageMove"); return 0; }
    static ScBool ScPackageClose(ScPackageHandle) { record("ScPackageClose"); return 0; }
    static ScBool ScPackageDestroy(ScPackageHandle h)
    {
        record("ScPackageDestroy(" + num(h) + ")");
        fake().destroyedPackages.push_back(h);
        return 1;
    }
    static ScBool ScScannerSelectTWAINSource(ScInstanceHandle h, ScWindowHandle owner)
    {
        record("ScScannerSelectTWAINSource(" + num(h) + ")");
        fake().lastOwner = owner;
        // A Boolean whose low byte is zero is false even when higher bits are set.
        return fake().selectSourceResult ? 0x101 : 0x100;
    }
    static ScBool ScScannerSelectCLRSource(ScInstanceHandle, ScWindowHandle) { record("ScScannerSelectCLRSource"); return 0; }
    static std::int32_t ScScannerGetTWAINSourceCount(ScInstanceHandle h)
    {
        record("ScScannerGetTWAINSourceCount(" + num(h) + ")");
        return fake().sourceCount;
    }
    static const char *ScScannerGetTWAINSourceName(ScInstanceHandle h, std::int32_t index)
    {
        record("ScScannerGetTWAINSourceName(" + num(h) + ", " + std::to_string(index) + ")");
        return text(fake().chosenSourceName);
    }
    static ScScanDeviceHandle ScScannerOpen(ScInstanceHandle h, TScDeviceClass deviceClass, const char *source)
    {
        record("ScScannerOpen(" + num(h) + ")");
        fake().lastDeviceClass = deviceClass;
        fake().lastOpenedSource = source ? std::optional<std::string>(source) : std::nullopt;
        return fake().openResult;
    }
    static ScBool ScScannerSetConfiguration(ScScanDeviceHandle d, const char *name)
    {
        record("ScScannerSetConfiguration(" + num(d) + ", " + (name ? name : "null") + ")");
        if (fake().setConfigurationThrows)
            throw std::runtime_error("configuration fault");
        return 1;
    }
    static ScBool ScScannerClose(ScScanDeviceHandle d) { record("ScScannerClose(" + num(d) + ")"); return 1; }
    static ScBool ScGetScanOptions(ScScanDeviceHandle, PScScanOptions) { record("ScGetScanOptions"); return 0; }
    static ScImageHandle ScPackageScan(ScPackageHandle p, ScScanDeviceHandle d, PScScanRequest request)
    {
        record("ScPackageScan(" + num(p) + ", " + num(d) + ")");
        fake().lastScanRequest = request;
        const QCursor *cursor = QGuiApplication::overrideCursor();
        fake().scanCursorShape = cursor ? int(cursor->shape()) : -1;
        return fake().scanResult;
    }
    static ScBool ScPackageRecog(ScPackageHandle p, PScProgressIndicator) { record("ScPackageRecog(" + num(p) + ")"); return fake().recogResult ? 1 : 0; }
    static ScImageHandle ScPackageGetFirstImage(ScPackageHandle) { record("ScPackageGetFirstImage"); return 0; }
    static ScImageHandle ScPackageGetNextImage(ScImageHandle) { record("ScPackageGetNextImage"); return 0; }
    static ScBool ScPackageGetImageInformation(ScImageHandle, PScImageInformation) { record("ScPackageGetImageInformation"); return 0; }
    static ScDocumentHandle ScPackageGetFirstDoc(ScPackageHandle p) { record("ScPackageGetFirstDoc(" + num(p) + ")"); return fake().firstDocResult; }
    static ScDocumentHandle ScPackageGetNextDoc(ScDocumentHandle) { record("ScPackageGetNextDoc"); return 0; }
    static ScBool ScPackageGetDocInformation(ScDocumentHandle d, PScDocInformation info)
    {
        record("ScPackageGetDocInformation(" + num(d) + ")");
        info->nForm = fake().formNumber;
        return 1;
    }
    static ScImageHandle ScDocumentGetFirstImage(ScDocumentHandle) { record("ScDocumentGetFirstImage"); return 0; }
    static ScImageHandle ScDocumentGetNextImage(ScImageHandle) { record("ScDocumentGetNextImage"); return 0; }
    static ScBool ScPackageGetFormInformation(ScPackageHandle p, std::int32_t form, PScFormInformation info)
    {
        record("ScPackageGetFormInformation(" + num(p) + ", " + std::to_string(form) + ")");
        FakeScanify &f = fake();
        std::strncpy(info->szId, f.formId.c_str(), sizeof info->szId - 1);
        info->nFieldsCount = f.formFieldCount.value_or(std::int32_t(f.formFields.size()));
        return 1;
    }
    static ScBool ScPackageGetFieldInformation(ScPackageHandle p, std::int32_t form, std::int32_t field,
                                             PScFieldInformation info)
    {
        record("ScPackageGetFieldInformation(" + num(p) + ", " + std::to_string(form) + ", " + std::to_string(field) + ")");
        FakeScanify &f = fake();
        if (field >= 1 && std::size_t(field) <= f.formFields.size())
            std::strncpy(info->szId, f.formFields[std::size_t(field) - 1].c_str(), sizeof info->szId - 1);
        return 1;
    }
    static const char *ScPackageGetFieldValue(ScDocumentHandle d, const char *id, PScFieldValueAttr attr)
    {
        const std::string field = id ? id : "";
        record("ScPackageGetFieldValue(" + num(d) + ", " + field + ")");
        FakeScanify &f = fake();
        f.lastFieldAttrGiven = attr != nullptr;
        const auto it = f.fields.find(field);
        const FakeScanify::Field value = it == f.fields.end() ? FakeScanify::Field{std::string(), 0} : it->second;
        if (attr && f.fillAttributes)
            attr->nFlags = value.flags;
        return text(value.value);
    }
    static ScBool ScPackageSetFieldValue(ScDocumentHandle, const char *, const char *) { record("ScPackageSetFieldValue"); return 0; }
    static ScBool ScPackageConvert(ScPackageHandle, const char *, std::int32_t) { record("ScPackageConvert"); return 0; }
    static ScBool ScImageExport(ScImageHandle image, const char *file, PScExportImageOptions options)
    {
        record("ScImageExport(" + num(image) + ")");
        fake().lastExportFile = file ? file : "";
        fake().lastExportOptionsGiven = options != nullptr;
        if (options)
            fake().lastExportOptions = *options;
        if (!fake().exportResult)
            return 0;
        if (!fake().exportBytes.empty() && file) {
            std::ofstream out(file, std::ios::binary);
            out.write(fake().exportBytes.data(), std::streamsize(fake().exportBytes.size()));
        }
        return 1;
    }
    static ScBool ScImageResample(ScImageHandle, std::int32_t, std::int32_t) { record("ScImageResample"); return 0; }
    static ScBool ScImageDraw(ScImageHandle, ScWindowHandle, PTRect, std::int32_t) { record("ScImageDraw"); return 0; }
    static ScBool ScImageDelete(ScImageHandle) { record("ScImageDelete"); return 0; }
    static ScBool ScPackageSetFieldAppInfo(ScDocumentHandle, const char *, const char *) { record("ScPackageSetFieldAppInfo"); return 0; }
    static const char *ScPackageGetFieldAppInfo(ScDocumentHandle, const char *) { record("ScPackageGetFieldAppInfo"); return nullptr; }

    static void install()
    {
#define R9_FAKE_BIND(name, bytes) ::name = &FakeScanifyEntries::name;
        SC_ENTRY_POINTS(R9_FAKE_BIND)
#undef R9_FAKE_BIND
    }

    static void uninstall()
    {
        std::size_t count = 0;
        const scapi::TEntryPoint *entries = scapi::EntryPoints(&count);
        for (std::size_t i = 0; i < count; ++i)
            entries[i].bind(nullptr);
    }
};

FakeScanify::FakeScanify() : m_savedLibrary(CognitiveLibInstance)
{
    if (g_current)
        throw std::logic_error("only one FakeScanify at a time");
    g_current = this;
    FakeScanifyEntries::install();
    CognitiveLibInstance = this;
}

FakeScanify::~FakeScanify()
{
    FakeScanifyEntries::uninstall();
    CognitiveLibInstance = m_savedLibrary;
    g_current = nullptr;
}

FakeScanify *FakeScanify::Current()
{
    return g_current;
}

std::vector<std::string> FakeScanify::CallNames() const
{
    std::vector<std::string> names;
    for (const std::string &call : calls)
        names.push_back(call.substr(0, call.find('(')));
    return names;
}

int FakeScanify::CallCount(const std::string &name) const
{
    int n = 0;
    for (const std::string &call : CallNames())
        n += call == name;
    return n;
}

} // namespace r9test
