// A document description of the engine stand-in, as a user writes it into
// the specimen folder (JSON; its picture "page.png" lies beside it). Any
// bytes give a specimen that keeps the format's promises, or an error naming
// the description; never a crash.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "passportreader/SpecimenCatalogue.h"

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::ScratchPicture(QStringLiteral("page.png"), QSize(120, 80));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::ScratchFile(QStringLiteral("document.json"), data, size);
    try {
        const auto specimen = passportreader::LoadSpecimen(path);
        FUZZ_CHECK(!specimen->documentType.isEmpty());
        FUZZ_CHECK(!specimen->picture.isNull());
        FUZZ_CHECK(specimen->photoZone.isEmpty() || specimen->picture.rect().contains(specimen->photoZone));
        for (const auto &field : specimen->fields) {
            FUZZ_CHECK(!field.name.isEmpty());
            for (int i : field.untrusted)
                FUZZ_CHECK(i >= 0 && i < field.value.size());
        }
    } catch (const std::runtime_error &e) {
        FUZZ_CHECK(QString::fromUtf8(e.what()).contains(path));
    }
    return 0;
}
