// A C++ host that links librecognition9r.so directly (not the test archive of
// the package objects) and works the package through its public headers: the
// controls' members, the form classes and the engine factories are exported.
#include "abbyy/engABBYY9r_FM.h"
#include "abbyy/engUtilsABBYY9r.h"
#include "common/Recognition9r.h"
#include "common/engCommon9r.h"
#include "common/engSelectRecognizer9r_FM.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TNullableDateEdit.h"
#include "ui/TPictureBox.h"

#include <QComboBox>
#include <QImage>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Package
{
    Package() { Initialize(); }
    ~Package() { Finalize(); }
};

TEST(PublicApi, HostFillsTheEditPageThroughThePublicSetters)
{
    Package package;
    std::unique_ptr<TABBYYRecognitionFM> form(TABBYYRecognitionFM_Create(nullptr));
    ASSERT_EQ(ABBYYRecognitionFM, form.get());

    form->ledLastNameCurr->SetText(QStringLiteral("ПЕТРОВА"));
    form->ledIssuedByCurr->SetText(QStringLiteral("ОТДЕЛОМ УФМС РОССИИ ПО Г. МОСКВЕ"));
    form->dteDateOfBirthCurr->SetDate(QDate(1984, 2, 29));
    form->dteDateOfExpiryCurr->SetNull();
    EXPECT_EQ(form->ledLastNameCurr->Text(), QStringLiteral("ПЕТРОВА"));
    EXPECT_EQ(form->ledIssuedByCurr->Text(), QStringLiteral("ОТДЕЛОМ УФМС РОССИИ ПО Г. МОСКВЕ"));
    EXPECT_EQ(form->dteDateOfBirthCurr->Date(), QDate(1984, 2, 29));
    EXPECT_TRUE(form->dteDateOfExpiryCurr->IsNull());

    // A host marks a value and gives the form a picture the same way.
    form->ledLastNameRec->SetFontColor(Qt::red);
    EXPECT_TRUE(form->ledLastNameRec->IsFontRed());
    QImage photo(30, 40, QImage::Format_RGB32);
    photo.fill(Qt::gray);
    form->imgPhoto->SetPicture(photo);
    EXPECT_TRUE(form->imgPhoto->HasGraphic());

    // The catalogue the host offers comes through the exported list class.
    ASSERT_NE(gl_ListAllowedDocuments, nullptr);
    EXPECT_EQ(gl_ListAllowedDocuments->Count(), 19);
    form.reset();
    EXPECT_EQ(ABBYYRecognitionFM, nullptr);
}

TEST(PublicApi, HostBringsItsOwnEngineThroughTheFactories)
{
    Package package;
    static int asked = 0;
    asked = 0;
    const abbyy::RecognitionEngineFactory original = abbyy::CreateRecognitionEngine;
    abbyy::CreateRecognitionEngine = []() -> IRecognitionEnginePtr {
        ++asked;
        throw EEngineError(QStringLiteral("no engine on this desk"), E_FAIL);
    };
    const QString error = InitEngine();
    abbyy::CreateRecognitionEngine = original;
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(gl_RecognitionEngine.get(), nullptr);
}

TEST(PublicApi, EngineErrorsAreCaughtByTheirTypeOutsideThePackage)
{
    // There are no remote engine servers: the package throws its own
    // exception class, and the host catches it by type.
    EXPECT_THROW(CoRecognitionEngine::CreateRemote(QStringLiteral("desk-2")), EEngineError);
}

} // namespace
