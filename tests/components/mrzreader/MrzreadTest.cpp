// The mrzread tool: JSON of a generated page, several files, bad input.

#include "PageGenerator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QJsonDocument json;
    QByteArray errors;
};

ToolRun Mrzread(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(MRZREAD_PATH), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    ToolRun r;
    r.exitCode = p.exitCode();
    r.json = QJsonDocument::fromJson(p.readAllStandardOutput());
    r.errors = p.readAllStandardError();
    return r;
}

} // namespace

TEST(Mrzread, PrintsTheFieldsOfAPage)
{
    QTemporaryDir dir;
    mrzpages::PageRecipe recipe;
    recipe.format = QStringLiteral("TD1");
    recipe.dpi = 300;
    recipe.jpegQuality = 60;
    recipe.turn = 270;
    mrzpages::Random rng(3);
    specimens::MrzData data = mrzpages::RandomData(recipe.format, rng);
    data.sex = QStringLiteral("F");
    const mrzpages::Page page = mrzpages::MakePage(recipe, data, rng);
    QString error;
    ASSERT_TRUE(mrzpages::WritePage(page, dir.path(), QStringLiteral("card"), &error)) << error.toStdString();

    const ToolRun r = Mrzread({dir.filePath(QStringLiteral("card.jpg"))});
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    const QJsonObject o = r.json.object();
    EXPECT_EQ(o.value(QStringLiteral("file")).toString(), dir.filePath(QStringLiteral("card.jpg")));
    EXPECT_TRUE(o.value(QStringLiteral("found")).toBool());
    EXPECT_TRUE(o.value(QStringLiteral("valid")).toBool());
    EXPECT_EQ(o.value(QStringLiteral("format")).toString(), "TD1");
    EXPECT_EQ(o.value(QStringLiteral("turn")).toInt(), 90);
    EXPECT_EQ(o.value(QStringLiteral("lines")).toVariant().toStringList(), page.truth.lines);
    const QJsonObject fields = o.value(QStringLiteral("fields")).toObject();
    auto value = [&](const char *name) { return fields.value(QLatin1String(name)).toObject().value(QStringLiteral("value")).toString(); };
    EXPECT_EQ(value("surname"), data.surname);
    EXPECT_EQ(value("givenNames"), data.givenNames);
    EXPECT_EQ(value("documentNumber"), data.documentNumber);
    EXPECT_EQ(value("sex"), "F");
    EXPECT_EQ(value("birthDate"), data.birthDate);
    EXPECT_TRUE(fields.value(QStringLiteral("surname")).toObject().value(QStringLiteral("untrusted")).toArray().isEmpty());
    EXPECT_TRUE(o.value(QStringLiteral("checks")).toObject().value(QStringLiteral("composite")).toBool());
    EXPECT_EQ(o.value(QStringLiteral("zone")).toArray().size(), 4);
}

TEST(Mrzread, SeveralFilesGiveAnArrayAndAFailureStatus)
{
    QTemporaryDir dir;
    const mrzpages::Page page = mrzpages::MakeSetPage(1, 0);
    QString error;
    ASSERT_TRUE(mrzpages::WritePage(page, dir.path(), QStringLiteral("a"), &error));
    const QString picture = dir.filePath(page.encoded.isEmpty() ? QStringLiteral("a.png") : QStringLiteral("a.jpg"));
    const QString missing = dir.filePath(QStringLiteral("missing.png"));
    const ToolRun r = Mrzread({picture, missing});
    EXPECT_EQ(r.exitCode, 1) << "one file has no zone";
    ASSERT_TRUE(r.json.isArray());
    const QJsonArray all = r.json.array();
    ASSERT_EQ(all.size(), 2);
    EXPECT_TRUE(all[0].toObject().value(QStringLiteral("found")).toBool());
    const QJsonObject bad = all[1].toObject();
    EXPECT_FALSE(bad.value(QStringLiteral("found")).toBool());
    EXPECT_TRUE(bad.value(QStringLiteral("error")).toString().contains(missing));
}

TEST(Mrzread, WithoutFilesItExplainsItself)
{
    const ToolRun r = Mrzread({});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.errors.contains("usage: mrzread FILE..."));
}

TEST(Mrzread, PrintsTheInternalPassportsCyrillicFields)
{
    QTemporaryDir dir;
    mrzpages::PageRecipe recipe;
    recipe.format = QStringLiteral("RUSPN");
    recipe.dpi = 300;
    recipe.jpegQuality = 80;
    mrzpages::Random rng(8);
    const mrzpages::Page page = mrzpages::MakePage(recipe, mrzpages::RandomData(recipe.format, rng), rng);
    QString error;
    ASSERT_TRUE(mrzpages::WritePage(page, dir.path(), QStringLiteral("internal"), &error)) << error.toStdString();

    const ToolRun r = Mrzread({dir.filePath(QStringLiteral("internal.jpg"))});
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    const QJsonObject o = r.json.object();
    EXPECT_EQ(o.value(QStringLiteral("format")).toString(), "RUSPN");
    const QJsonObject fields = o.value(QStringLiteral("fields")).toObject();
    const QJsonObject truth = mrzpages::TruthJson(page.truth).value(QStringLiteral("fields")).toObject();
    for (const char *name : {"surname", "givenNames", "patronymic", "documentNumber", "issueDate", "divisionCode"}) {
        SCOPED_TRACE(name);
        const QJsonObject field = fields.value(QLatin1String(name)).toObject();
        EXPECT_FALSE(field.value(QStringLiteral("value")).toString().isEmpty());
        EXPECT_EQ(field.value(QStringLiteral("value")).toString(), truth.value(QLatin1String(name)).toString());
        EXPECT_TRUE(field.value(QStringLiteral("untrusted")).toArray().isEmpty());
    }
}
