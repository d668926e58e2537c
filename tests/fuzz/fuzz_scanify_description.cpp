// A Scanify description of the engine stand-in, as a user writes it into
// the specimen folder (JSON; its picture "page.png" lies beside it), and the
// zone's fields read for it. Any bytes give a specimen that keeps the
// format's promises (identifiers within the engine's record sizes and
// unique, flags the engine knows, a quarter-turn feed angle, the photo inside
// the picture and written only into the package folder), or an error naming
// the description; never a crash.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "ScanifySpecimen.h"
#include "ZoneFields.h"

#include "scanify/scapiTypes.h"

#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <set>
#include <stdexcept>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The reader draws its glyphs with it. Never destroyed: at exit it would
    // end after the per-thread data its fonts need.
    static auto *app = new QGuiApplication(*argc, *argv);
    (void)app;
    fuzz::ScratchPicture(QStringLiteral("page.png"), QSize(120, 80));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::ScratchFile(QStringLiteral("document.json"), data, size);
    std::shared_ptr<const scproxy::ScanifySpecimen> s;
    try {
        s = scproxy::LoadScanifySpecimen(path);
    } catch (const std::runtime_error &e) {
        FUZZ_CHECK(QString::fromUtf8(e.what()).contains(path));
        return 0;
    }
    FUZZ_CHECK(!s->formId.isEmpty() && s->formId.size() < qsizetype(sizeof(TScFormInformation::szId)));
    FUZZ_CHECK(!s->zone.isEmpty());
    FUZZ_CHECK(s->feedAngle == 0 || s->feedAngle == 90 || s->feedAngle == 180 || s->feedAngle == 270);
    FUZZ_CHECK(!s->picture.isNull());
    std::set<QByteArray> ids;
    for (const auto &f : s->fields) {
        FUZZ_CHECK(!f.id.isEmpty() && f.id.size() < qsizetype(sizeof(TScFieldInformation::szId)));
        FUZZ_CHECK(ids.insert(f.id).second);
        FUZZ_CHECK((f.flags & ~(SCF_VRS_WARNING | SCF_VRS_ERROR)) == 0);
    }
    if (!s->photo.field.isEmpty()) {
        FUZZ_CHECK(s->photo.field.size() < qsizetype(sizeof(TScFieldInformation::szId)));
        FUZZ_CHECK(ids.insert(s->photo.field).second);
        FUZZ_CHECK(!s->photo.zone.isEmpty() && s->picture.rect().contains(s->photo.zone));
        FUZZ_CHECK(!s->photo.file.isEmpty() && !s->photo.file.contains(QLatin1Char('/'))
                   && !s->photo.file.contains(QLatin1Char('\\')) && s->photo.file != QLatin1String("..")
                   && s->photo.file != QLatin1String("."));
    }
    if (scproxy::ReadsFromZone(*s)) {
        // The blank page has no zone: the listed zone fields come back empty
        // and in error, the others not at all.
        std::map<QByteArray, scproxy::engine::FieldResult> fields;
        scproxy::ReadZoneFields(s->picture, (360 - s->feedAngle) % 360, *s, fields);
        for (const auto &[id, result] : fields) {
            FUZZ_CHECK(ids.count(id) == 1);
            FUZZ_CHECK(result.value.isEmpty() && result.flags == SCF_VRS_ERROR);
        }
    }
    return 0;
}
