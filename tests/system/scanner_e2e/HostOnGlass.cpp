#include "HostOnGlass.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace scannertest {

namespace {

QStringList FilesIn(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    return files;
}

} // namespace

const char *EngineName(Engine engine)
{
    return engine == Engine::Abbyy ? "abbyy" : "scanify";
}

GlassRun RunHostOnGlass(const GlassRequest &r)
{
    GlassRun run;
    pnmglass::Glass glass;
    QTemporaryDir home;
    EXPECT_TRUE(glass.IsValid() && home.isValid());
    if (!r.page.isNull()) {
        EXPECT_TRUE(glass.Lay(r.page));
    }
    const QString temp = home.filePath(QStringLiteral("tmp"));
    QDir().mkpath(temp);

    QProcessEnvironment env = glass.Environment(QProcessEnvironment::systemEnvironment(), r.saneOptions);
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    env.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral(".local/state")));
    env.insert(QStringLiteral("TMPDIR"), temp);
    // Qt's runtime folder would otherwise go into the temporary folder.
    const QString runtime = home.filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    // SANE's backends, unloaded at the end, are no leaks of ours.
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), asan + (asan.isEmpty() ? "" : ":") + QStringLiteral("detect_leaks=0"));

    QStringList arguments{QStringLiteral("--scanner"), r.scanner, QStringLiteral("--engine"),
                          QLatin1String(EngineName(r.engine)), QStringLiteral("--output"),
                          home.filePath(QStringLiteral("records"))};
    if (!r.documentType.isEmpty())
        arguments << QStringLiteral("--document-type") << r.documentType;
    QProcess host;
    host.setProcessEnvironment(env);
    host.setWorkingDirectory(home.path());
    host.start(QCoreApplication::applicationDirPath() + QStringLiteral("/velmar-host"), arguments);
    EXPECT_TRUE(host.waitForFinished(300000));
    EXPECT_EQ(host.exitStatus(), QProcess::NormalExit);
    run.exitCode = host.exitCode();
    run.errors = QString::fromLocal8Bit(host.readAllStandardError());
    run.report = QJsonDocument::fromJson(host.readAllStandardOutput()).object();
    const QJsonArray records = run.report[QLatin1String(EngineName(r.engine))].toObject()["records"].toArray();
    EXPECT_LE(records.size(), 1);
    run.entry = records.isEmpty() ? QJsonObject() : records.first().toObject();
    run.record = run.entry.value(QStringLiteral("record")).toObject();
    run.leftBehind = FilesIn(temp);
    return run;
}

QStringList FilledFields(const QJsonObject &record)
{
    static const char *const fields[] = {"lastName",    "firstName",    "middleName",   "passportNumber",
                                         "sex",         "dateOfBirth",  "placeOfBirth", "dateOfIssue",
                                         "dateOfExpiry", "issuedBy",    "departmentCode", "nationality"};
    QStringList filled;
    for (const char *f : fields)
        if (!record[QLatin1String(f)].toString().isEmpty())
            filled << QLatin1String(f);
    return filled;
}

} // namespace scannertest
