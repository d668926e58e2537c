#pragma once
// Draws one specimen page and collects its description: every printed field
// with its zone and ground truth, the portrait zone and the engine's verdicts.

#include <QFont>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

namespace specimens {

/// Font families the generator loaded from files, so every machine draws the same.
struct Fonts
{
    QString text;  ///< Cyrillic and Latin print
    QString mrz;   ///< OCR-B, or a monospaced fallback
    bool mrzIsOcrB = false;
    static Fonts Load();
};

/// Writes root as <stem>.json into folder; false with *error on failure.
bool WriteDescription(const QString &folder, const QString &stem, const QJsonObject &root, QString *error);
/// A rectangle as the descriptions write it: {"x", "y", "width", "height"}.
QJsonObject ZoneObject(const QRect &zone);

class SpecimenBuilder
{
public:
    SpecimenBuilder(const Fonts &fonts, QString documentType, QString title, QSize size, QColor tint);
    ~SpecimenBuilder();

    /// Fixed print of the form (captions, headings); not a field.
    void Caption(QPoint at, const QString &text, int pixelSize, bool bold = false, QColor colour = QColor(60, 60, 90));
    /// A printed field. value is what the engine returns (lines joined by CR LF);
    /// printed, when given, is what the page shows instead. untrusted lists the
    /// symbols the engine doubts; they are drawn smudged.
    void Field(const QString &name, const QString &value, QPoint at, int pixelSize, QList<int> untrusted = {},
               QColor colour = QColor(20, 20, 30));
    /// A field the engine reports without a print zone (found empty, or read elsewhere).
    void Unprinted(const QString &name, const QString &value, bool found);
    void Portrait(const QRect &zone);
    /// The machine-readable zone, lines fitted to width, starting at top-left.
    void Mrz(const QStringList &lines, QPoint at, int width);
    void Difficulty(const QString &text);

    /// Writes <stem>.png and <stem>.json into folder; false with *error on failure.
    bool Save(const QString &folder, const QString &stem, QString *error);
    /// Writes only <stem>.png (a page whose description is not the first engine's).
    bool SavePicture(const QString &folder, const QString &stem, QString *error);

private:
    void Background(QColor tint);

    Fonts m_fonts;
    QString m_type;
    QString m_title;
    QImage m_page;
    std::unique_ptr<QPainter> m_painter;
    QJsonArray m_fields;
    QJsonArray m_difficulties;
    QStringList m_mrz;
    QRect m_photo;
};

} // namespace specimens
