// Draws the specimen documents: specimen-generator <output folder>.

#include "Documents.h"

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
    if (!specimens::DrawAllSpecimens(fonts, QString::fromLocal8Bit(argv[1]), &error)) {
        std::fprintf(stderr, "specimen-generator: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
