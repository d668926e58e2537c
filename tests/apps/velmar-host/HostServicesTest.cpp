#include "HostKitFixture.h"

#include "common/engCommon9r.h"
#include "host/DVS9r32.h"
#include "host/Sdlogfile.h"
#include "host/VclVelmar9r32.h"
#include "services/THostLogFile.h"
#include "services/TNationalitiesDataSet.h"
#include "services/TPluginManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cstddef>
#include <dlfcn.h>
#include <sys/stat.h>

namespace {

template <typename F>
std::string ErrorOf(F &&call)
{
    try {
        call();
    } catch (const std::runtime_error &e) {
        return e.what();
    }
    return "no std::runtime_error";
}

QString LogText()
{
    return QString::fromUtf8(r9test::ReadFile(hostkit::THostLogFile::DefaultFolder() + QStringLiteral("/Velmar-Q-70.log")));
}

} // namespace

TEST(HostServices, FormsGetAClearErrorWhenNoHostInstalledItsServices)
{
    InstallHostServices(nullptr);
    QWidget owner;
    EXPECT_NE(ErrorOf([] { host::PluginManager(); }).find("InstallHostServices"), std::string::npos);
    EXPECT_NE(ErrorOf([&] { host::TSimpleView::Create(&owner); }).find("InstallHostServices"), std::string::npos);
    EXPECT_THROW(host::TQ70ConfigManager::Create(false), std::runtime_error);
    EXPECT_THROW(host::TSchemePersistence::ViewAttributesAsInt({host::vaTouchInside}), std::runtime_error);
    EXPECT_THROW(host::TSchemePersistence::IntAsViewAttributes(4), std::runtime_error);
    EXPECT_THROW(host::TfmSelCam::Select(nullptr, nullptr), std::runtime_error);
    EXPECT_EQ(gl_cdsNationalities, nullptr);
    // Logging never stops the operator's work: without a log the line is dropped.
    EXPECT_NO_THROW(WriteLogFileMessage(QStringLiteral("nobody listens")));
    EXPECT_TRUE(owner.findChildren<QWidget *>().isEmpty());
}

TEST_F(HostKitTest, InstalledServicesReachThePackageAndUninstallingRemovesThem)
{
    EXPECT_EQ(host::PluginManager(), &kit->PluginManager());
    EXPECT_EQ(gl_cdsNationalities, static_cast<host::IDataSet *>(&kit->Nationalities()));
    EXPECT_EQ(host::InstalledLogFile(), &kit->LogFile());

    InstallHostServices(nullptr);
    EXPECT_THROW(host::PluginManager(), std::runtime_error);
    EXPECT_EQ(gl_cdsNationalities, nullptr);
    EXPECT_EQ(host::InstalledLogFile(), nullptr);
}

TEST_F(HostKitTest, AnOlderHostTableLeavesTheFieldsItLacksNull)
{
    host::THostServices older = *kit->Services();
    older.Size = offsetof(host::THostServices, Video);
    InstallHostServices(&older);
    EXPECT_EQ(host::PluginManager(), &kit->PluginManager());
    EXPECT_THROW(host::RequireVideo(), std::runtime_error);
    EXPECT_EQ(gl_cdsNationalities, nullptr);
}

TEST_F(HostKitTest, LogLinesAreTimestampedAndAppendedToTheDefaultLog)
{
    ASSERT_TRUE(qEnvironmentVariable("XDG_STATE_HOME").startsWith(r9test::TestHome()));
    QDir(hostkit::THostLogFile::DefaultFolder()).removeRecursively();
    const mode_t umask = ::umask(0);
    WriteLogFileMessage(QStringLiteral("SetDocumentsAvailability___1"));
    ::umask(umask);
    // The user's alone, folder and file.
    EXPECT_EQ((QFile::permissions(hostkit::THostLogFile::DefaultFolder()) & 0x0077).toInt(), 0);
    EXPECT_EQ((QFile::permissions(hostkit::THostLogFile::DefaultFolder() + QStringLiteral("/Velmar-Q-70.log")) & 0x0077).toInt(), 0);
    WriteLogFileMessage(QStringLiteral("Первая строка\rвторая строка"));
    WriteLogFileMessage(QStringLiteral("в другой журнал"), nullptr, QStringLiteral("other.log"));

    const QStringList lines = LogText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\t"));
    EXPECT_TRUE(stamp.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(QLatin1String("\tSetDocumentsAvailability___1")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("\tПервая строка")));
    EXPECT_EQ(lines[2], QStringLiteral("\tвторая строка"));
    EXPECT_TRUE(QString::fromUtf8(r9test::ReadFile(hostkit::THostLogFile::DefaultFolder() + QStringLiteral("/other.log")))
                    .endsWith(QStringLiteral("\tв другой журнал\n")));

    // A restarted host appends to the same log.
    Install();
    WriteLogFileMessage(QStringLiteral("after restart"));
    EXPECT_EQ(LogText().split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 4);
}

TEST(HostKit, StartsFromACleanDataFolderAndRefusesAnUnusableOne)
{
    const QString folder = r9test::TestHome() + QStringLiteral("/fresh/nested");
    ASSERT_FALSE(QDir(folder).exists());
    {
        // The data folder is the user's alone, whatever the umask.
        const mode_t umask = ::umask(0);
        auto kit = hostkit::CreateServices(folder);
        ::umask(umask);
        EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/hostkit.sqlite")));
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
                                                | QFileDevice::ReadOther | QFileDevice::WriteOther;
        EXPECT_FALSE(QFileInfo(folder + QStringLiteral("/hostkit.sqlite")).permissions() & others);
        EXPECT_TRUE(kit->PluginManager().GetUserContext()->HasFullRights());
    }
    // A file where the data folder should be.
    const QString blocked = r9test::TestHome() + QStringLiteral("/blocked");
    r9test::WriteFile(blocked, "not a folder");
    EXPECT_THROW(hostkit::CreateServices(blocked), std::runtime_error);
    // A database file that is not a database.
    const QString corrupt = r9test::TestHome() + QStringLiteral("/corrupt");
    QDir().mkpath(corrupt);
    r9test::WriteFile(corrupt + QStringLiteral("/hostkit.sqlite"), QByteArray(4096, 'x'));
    EXPECT_THROW(hostkit::CreateServices(corrupt), std::runtime_error);
}

// The way a host that loads the package installs the services: dlsym by name.
TEST(HostServices, AHostInstallsTheServicesThroughTheLoadedPackage)
{
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/librecognition9r.so");
    void *package = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(package, nullptr) << dlerror();
    auto install = reinterpret_cast<void (*)(const host::THostServices *)>(dlsym(package, "InstallHostServices"));
    auto nationalities = static_cast<host::IDataSet **>(dlsym(package, "gl_cdsNationalities"));
    ASSERT_NE(install, nullptr);
    ASSERT_NE(nationalities, nullptr);
    {
        auto kit = hostkit::CreateServices(r9test::TestHome() + QStringLiteral("/data"));
        install(kit->Services());
        EXPECT_EQ(*nationalities, static_cast<host::IDataSet *>(&kit->Nationalities()));
        install(nullptr);
        EXPECT_EQ(*nationalities, nullptr);
    }
    dlclose(package);
}
