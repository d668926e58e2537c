// What a Scanify run leaves behind besides the window: the engine's package
// on the disk for the user alone, and in the host's log the run's outcome or
// the failure the operator was shown, never the person's data.
#include "support/TestSupport.h"
#include "CognitiveFixture.h"

#include "base/engCommon9rMessages.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TMessageBox.h"
#include "ui/TNullableDateEdit.h"

#include <QDirIterator>
#include <QPushButton>
#include <sys/stat.h>

using namespace r9test;

namespace {

class CognitivePrivacy : public CognitiveFixture
{
protected:
    void Passport()
    {
        Document("Passport1", {{"PP_SurName", {"ИВАНОВ", 4}},
                               {"PP_Name", {"ИВАН", 0}},
                               {"PP_BirthDate", {"02.03.1980", 0}},
                               {"PP_BirthPlace", {"ГОР. МОСКВА", 0}},
                               {"PP_Ser2", {"45 00", 0}},
                               {"PP_Num2", {"123456", 8}}});
        Photo("photo", QStringLiteral("photo1.jpg"));
    }
    /// No line of the log holds a value of the person.
    void ExpectNoPersonalData() const
    {
        for (const QString &line : log.lines)
            for (const char *value : {"ИВАН", "МОСКВА", "45 00", "123456", "1980", "31.02"})
                EXPECT_FALSE(line.contains(QString::fromUtf8(value))) << line.toStdString();
    }
};

TEST_F(CognitivePrivacy, PackageFolderAndPicturesAreTheUsersAloneWhateverTheUmask)
{
    const mode_t previous = ::umask(0);
    // The engine makes its package folder in the data folder, as the user's
    // umask lets it.
    packageFolder = GetUserDataFolder() + QStringLiteral("dss0A1B");
    ASSERT_TRUE(QDir().mkpath(packageFolder));
    fake.packageName = packageFolder.toStdString();
    Passport();
    Create();
    Show();
    form->bRecognize->click();
    ::umask(previous);
    ASSERT_TRUE(form->imgPhoto->HasGraphic());

    int files = 0;
    QDirIterator it(GetUserDataFolder(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const bool folder = it.fileInfo().isDir();
        files += folder ? 0 : 1;
        EXPECT_EQ(r9test::ModeOf(path), folder ? 0700 : 0600) << path.toStdString();
    }
    EXPECT_EQ(r9test::ModeOf(GetUserDataFolder()), 0700);
    EXPECT_GE(files, 4) << "two configuration files, the page and the photo";
}

TEST_F(CognitivePrivacy, TheBoxesOfARunLeaveTheUsersUmaskAsItIs)
{
    // What the host writes while the operator reads a box (its own log, its
    // records) is made as the user's umask says, not as the engine's files.
    const mode_t previous = ::umask(022);
    std::vector<mode_t> seen;
    const ui::MessageBoxHook recorder = ui::SetMessageBoxHook([&](const ui::MessageBoxCall &) {
        const mode_t now = ::umask(022);
        ::umask(now);
        seen.push_back(now);
        return QMessageBox::Ok;
    });
    for (const bool recognised : {false, true}) {
        fake.recogResult = recognised;
        fake.firstDocResult = 0;
        Passport();
        Create();
        Show();
        form->bRecognize->click();
        delete form;
        form = nullptr;
    }
    ui::SetMessageBoxHook(recorder);
    ::umask(previous);
    ASSERT_EQ(seen.size(), 2u) << "the engine's fault, then a page without a document";
    for (const mode_t mask : seen)
        EXPECT_EQ(mask, mode_t(022));
}

TEST_F(CognitivePrivacy, EachRunLogsItsOutcomeOrTheFailureShownWithoutThePersonsData)
{
    struct Case
    {
        const char *name;
        std::function<void(FakeScanify &)> arrange;
        QStringList expected; ///< parts of one log line
    };
    const QString notSupported = LoadResString(&_S_DOCUMENT_NOT_SUPPORTED);
    const std::vector<Case> cases = {
        {"recognised", [](FakeScanify &) {},
         {QStringLiteral("Scanify"), LoadResString(&_S_PASSPORT), QStringLiteral("Passport1"),
          QStringLiteral("Фамилия, Имя, Номер, Дата рождения, Место рождения"),
          QStringLiteral("с сомнением: Фамилия;"), QStringLiteral("с ошибкой: Номер")}},
        {"engine fault", [](FakeScanify &f) { f.recogResult = false; f.errorMessages[0x11] = "no forms"; },
         {LoadResString(&_S_ERROR), LoadResString(&_S_RECOGNITION_ERROR) + QStringLiteral(" no forms")}},
        {"no document", [](FakeScanify &f) { f.firstDocResult = 0; },
         {LoadResString(&_S_MESSAGE), notSupported}},
        {"form the window does not take", [](FakeScanify &f) { f.formId = "Visa7"; },
         {QStringLiteral("Распознавание (Scanify)"), QStringLiteral("(форма Visa7)"), QStringLiteral("заполнено полей: 0")}},
        {"photo that cannot be read", [](FakeScanify &f) { f.fields["photo"] = {"missing.jpg", 0}; },
         {QStringLiteral("Распознавание (Scanify)"), QStringLiteral("Passport1"), QStringLiteral("заполнено полей: 5")}},
        {"page that could not be exported", [](FakeScanify &f) { f.exportResult = false; f.errorMessages[0x11] = "disk full"; },
         {QStringLiteral("ScImageExport"), QStringLiteral("disk full")}},
        {"scanner fault", [](FakeScanify &f) { f.scanResult = 0; f.errorCode = 5; f.errorMessages[0x11] = "paper jam"; },
         {LoadResString(&_S_ERROR), QStringLiteral("paper jam")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fake.recogResult = true;
        fake.firstDocResult = 0x51;
        fake.scanResult = 0x41;
        fake.errorCode = 0;
        fake.exportResult = true;
        Passport();
        c.arrange(fake);
        log.lines.clear();
        Create();
        Show();
        form->bRecognize->click();
        const QStringList found = log.lines.filter(c.expected.first());
        ASSERT_EQ(found.size(), 1) << log.lines.join(QLatin1Char('\n')).toStdString();
        for (const QString &part : c.expected)
            EXPECT_TRUE(found.first().contains(part)) << found.first().toStdString() << "\n  lacks " << part.toStdString();
        ExpectNoPersonalData();
        delete form;
        form = nullptr;
    }

    // A date the operator typed is named by its field in the log, not quoted.
    boxes.calls.clear();
    Create();
    Show();
    form->ledLastName->SetText(QStringLiteral("ИВАНОВ"));
    form->ledFirstName->SetText(QStringLiteral("ИВАН"));
    form->ledPassportNumber->SetText(QStringLiteral("123456"));
    form->dteDateOfBirth->SetText(QStringLiteral("31.02.1980"));
    form->ActionListUpdate();
    form->bSave->click();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_TRUE(log.lines.last().contains(QStringLiteral("Дата рождения"))) << log.lines.last().toStdString();
    ExpectNoPersonalData();
}

} // namespace
