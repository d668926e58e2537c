#pragma once
// Loads the engine stand-in as the package does (dlopen, entry points by
// their plain names) and gives the tests what they share: switches through
// the environment, configuration files and specimen folders of their own.

#include "scanify/scapiTypes.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace scproxytest {

/// The entry points of one loaded library; null where it lacks one.
struct ScApi
{
    void *module = nullptr;
#define SCPROXY_MEMBER(name, bytes) T##name name = nullptr;
    SC_ENTRY_POINTS(SCPROXY_MEMBER)
#undef SCPROXY_MEMBER

    /// Loads path (RTLD_NOW | flags) and binds every entry point; module is null when it does not load.
    static ScApi Load(const QString &path, int flags = 0);
    static QStringList Names();
    /// The address of entry point name, null when missing.
    void *Address(const char *name) const;
};

/// build/bin, where the test executables, the stand-in and its settings file lie.
QString BinFolder();
/// The generated Scanify specimen descriptions.
QString GeneratedSpecimens();

using r9test::EnvSwitch;

/// A configuration file as the package writes it, with the given turn of
/// the passport zones and the given "ShowTWAIN" of "ScanAllDocuments".
QByteArray ConfigurationText(int turn, bool showTwain = false);
void WriteText(const QString &path, const QByteArray &text);

/// Writes <stem>.png (a picture of size with a dark square at its top-left
/// corner, so a turn shows) and <stem>.json with the given description body;
/// "picture" is added.
void WriteSpecimen(const QString &folder, const QString &stem, const QByteArray &jsonObjectBody,
                   QSize size = QSize(120, 80));

/// First value of the first quantisation table of a JPEG file, 0 when there is none.
int FirstQuantisationValue(const QByteArray &jpeg);

/// The stand-in loaded once, an instance with a context, a package and the feeder.
class ScProxyTest : public testing::Test
{
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    /// Writes a configuration with turn into the test's folder and sets it up.
    QString SetUpContext(int turn, bool showTwain = false);
    ScPackageHandle NewPackage(const QString &name = QStringLiteral("dss0A3F"));
    /// Opens the feeder with "ScanAllDocuments" selected.
    ScScanDeviceHandle OpenFeeder();
    /// Scans one page into package; 0 when nothing was scanned.
    ScImageHandle ScanOne(ScPackageHandle package);
    QString ErrorText() const;
    QString Folder(const QString &name) const;

    static ScApi api;
    ScInstanceHandle instance = 0;
    QTemporaryDir dir;
    std::vector<ScScanDeviceHandle> devices;
};

} // namespace scproxytest
