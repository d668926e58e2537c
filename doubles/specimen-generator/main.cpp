// Draws the specimen documents: specimen-generator <output folder>.

#include "Documents.h"
#include "ScanifyDocuments.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: specimen-generator <output folder>\n");
        return 2;
    }
    const specimens::Fonts fonts = specimens::Fonts::Load();
    if (!fonts.mrzIsOcrB)
        std::fprintf(stderr, "specimen-generator: OCR-B not found (install fonts-ocr-b); the MRZ uses %s\n",
                     qPrintable(fonts.mrz));
    QString error;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!specimens::DrawAllSpecimens(fonts, folder, &error)
        || !specimens::DrawScanifySpecimens(fonts, folder + QStringLiteral("/scanify"), &error)) {
        std::fprintf(stderr, "specimen-generator: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
