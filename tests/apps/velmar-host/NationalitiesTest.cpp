#include "HostKitFixture.h"

#include "common/engCommon9r.h"
#include "host/IDataSet.h"
#include "services/TNationalitiesDataSet.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

namespace {

/// What the recognition form does after a post: send the delta, ask the
/// provider to start over, and merge the change log.
struct AfterPostRecorder
{
    int calls = 0;
    QVariantList requests;
    void operator()(host::IDataSet *ds)
    {
        ++calls;
        if (ds->ChangeCount() == 0)
            return;
        requests << ds->Delta();
        ds->DataRequest(ds->Delta());
        requests << QStringLiteral("Start");
        ds->DataRequest(QStringLiteral("Start"));
        ds->MergeChangeLog();
    }
};

QString Nationality(host::IDataSet *ds, const QString &country)
{
    QAbstractItemModel *model = ds->Model();
    const int countryColumn = ds->FieldIndex(QStringLiteral("F_COUNTRY_NAME"));
    const int nationColumn = ds->FieldIndex(QStringLiteral("F_COUNTRY_NATIONLITY"));
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, countryColumn).data().toString() == country)
            return model->index(row, nationColumn).data().toString();
    return QStringLiteral("<no such country>");
}

QModelIndex NationalityIndex(host::IDataSet *ds, const QString &country)
{
    QAbstractItemModel *model = ds->Model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toString() == country)
            return model->index(row, ds->FieldIndex(QStringLiteral("F_COUNTRY_NATIONLITY")));
    return {};
}

} // namespace

using Nationalities = HostKitTest;

TEST_F(Nationalities, SeededWithTheCatalogueCountriesAndMore)
{
    host::IDataSet *ds = gl_cdsNationalities;
    ASSERT_NE(ds, nullptr);
    EXPECT_GE(ds->Model()->rowCount(), 28);
    for (const char *country : {"Россия", "Азербайджан", "Беларусь", "Казахстан", "Киргизия", "Таджикистан",
                                "Узбекистан", "Украина"}) {
        const QString nation = Nationality(ds, QString::fromUtf8(country));
        EXPECT_FALSE(nation.isEmpty()) << country;
        EXPECT_NE(nation, QStringLiteral("<no such country>")) << country;
    }
    EXPECT_EQ(ds->Model()->headerData(0, Qt::Horizontal, host::IDataSet::FieldNameRole).toString(),
              QStringLiteral("F_COUNTRY_NAME"));
    EXPECT_EQ(ds->FieldIndex(QStringLiteral("F_COUNTRY_NATIONLITY")), 1);
    EXPECT_EQ(ds->FieldIndex(QStringLiteral("F_OTHER")), -1);
    EXPECT_TRUE(ds->FieldReadOnly(QStringLiteral("F_COUNTRY_NAME")));
    EXPECT_FALSE(ds->FieldReadOnly(QStringLiteral("F_COUNTRY_NATIONLITY")));
    // The country column cannot be edited.
    const QModelIndex country = ds->Model()->index(0, 0);
    EXPECT_FALSE(ds->Model()->flags(country) & Qt::ItemIsEditable);
    EXPECT_FALSE(ds->Model()->setData(country, QStringLiteral("Атлантида")));
    EXPECT_EQ(ds->ChangeCount(), 0);
}

TEST_F(Nationalities, AnEditPostedInTheGridReachesTheDatabaseAndSurvivesARestart)
{
    host::IDataSet *ds = gl_cdsNationalities;
    AfterPostRecorder recorder;
    ds->SetAfterPost([&recorder](host::IDataSet *d) { recorder(d); });

    // Edit as an operator does: open the editor in the grid, type, press Enter.
    QTableView grid;
    grid.setModel(ds->Model());
    grid.show();
    const QModelIndex cell = NationalityIndex(ds, QStringLiteral("Казахстан"));
    ASSERT_TRUE(cell.isValid());
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    auto *editor = grid.findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("гражданин Республики Казахстан"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the grid commits the editor from a queued call

    EXPECT_EQ(recorder.calls, 1);
    ASSERT_EQ(recorder.requests.size(), 2);
    const QVariantList delta = recorder.requests[0].toList();
    ASSERT_EQ(delta.size(), 1);
    EXPECT_EQ(delta[0].toMap().value(QStringLiteral("F_COUNTRY_NAME")).toString(), QStringLiteral("Казахстан"));
    EXPECT_EQ(delta[0].toMap().value(QStringLiteral("OLD_F_COUNTRY_NATIONLITY")).toString(), QStringLiteral("казахстанское"));
    EXPECT_EQ(recorder.requests[1].toString(), QStringLiteral("Start"));
    EXPECT_EQ(ds->ChangeCount(), 0);
    EXPECT_EQ(grid.model()->data(cell).toString(), QStringLiteral("гражданин Республики Казахстан"));

    // Leaving a row unchanged posts nothing.
    ds->Model()->setData(cell, QStringLiteral("гражданин Республики Казахстан"));
    EXPECT_EQ(recorder.calls, 1);

    grid.setModel(nullptr);
    Install(); // the host restarts on the same data folder
    EXPECT_EQ(Nationality(gl_cdsNationalities, QStringLiteral("Казахстан")), QStringLiteral("гражданин Республики Казахстан"));
    EXPECT_EQ(Nationality(gl_cdsNationalities, QStringLiteral("Узбекистан")), QStringLiteral("узбекское"));
}

TEST_F(Nationalities, AnEditNotHandedToTheProviderStaysPendingAndIsNotStored)
{
    host::IDataSet *ds = gl_cdsNationalities;
    const QModelIndex cell = NationalityIndex(ds, QStringLiteral("Украина"));
    ASSERT_TRUE(ds->Model()->setData(cell, QStringLiteral("гражданин Украины")));
    EXPECT_EQ(ds->ChangeCount(), 1);
    const QVariantList delta = ds->Delta().toList();
    ASSERT_EQ(delta.size(), 1);
    EXPECT_EQ(delta[0].toMap().value(QStringLiteral("F_COUNTRY_NATIONLITY")).toString(), QStringLiteral("гражданин Украины"));

    // "Start" re-reads the table, and a pending edit stays on top of it.
    EXPECT_EQ(ds->DataRequest(QStringLiteral("Start")).toInt(), ds->Model()->rowCount());
    EXPECT_EQ(Nationality(ds, QStringLiteral("Украина")), QStringLiteral("гражданин Украины"));
    // Editing back to the stored value leaves nothing to send.
    ds->Model()->setData(cell, QStringLiteral("украинское"));
    EXPECT_EQ(ds->ChangeCount(), 0);
    ds->Model()->setData(cell, QStringLiteral("гражданин Украины"));

    Install();
    EXPECT_EQ(Nationality(gl_cdsNationalities, QStringLiteral("Украина")), QStringLiteral("украинское"));
}

TEST_F(Nationalities, StartRereadsWhatAnotherConnectionStoredAndBadRequestsAreRefused)
{
    host::IDataSet *ds = gl_cdsNationalities;
    {
        hostkit::THostKit other(DataFolder());
        host::IDataSet &otherSet = other.Nationalities();
        otherSet.Model()->setData(NationalityIndex(&otherSet, QStringLiteral("Беларусь")), QStringLiteral("белорус"));
        EXPECT_EQ(otherSet.DataRequest(otherSet.Delta()).toInt(), 1);
    }
    EXPECT_EQ(Nationality(ds, QStringLiteral("Беларусь")), QStringLiteral("белорусское"));
    ds->DataRequest(QStringLiteral("Start"));
    EXPECT_EQ(Nationality(ds, QStringLiteral("Беларусь")), QStringLiteral("белорус"));

    EXPECT_THROW(ds->DataRequest(QStringLiteral("Stop")), std::invalid_argument);
    EXPECT_THROW(ds->DataRequest(42), std::invalid_argument);
    EXPECT_THROW(ds->DataRequest(QVariantList{QVariantMap{{QStringLiteral("F_COUNTRY_NATIONLITY"), QStringLiteral("x")}}}),
                 std::invalid_argument);
}
