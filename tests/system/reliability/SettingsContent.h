#pragma once
// The two contents the kill test's writer switches between: every value of
// a settings file of realistic size carries the content's name, so a file
// that mixes both, or lost its end, is told apart from either.

#include "common/TSettingsFile.h"

#include <QString>

namespace reliability {

inline const QString kGenerationSection = QStringLiteral("RECOGNIZE_INFO");
inline const QString kGenerationKey = QStringLiteral("Generation");

/// Sets every value of the settings file to the one of content `name`.
inline void FillSettings(TSettingsFile &ini, char name)
{
    const QString tag(QChar::fromLatin1(name));
    ini.WriteString(kGenerationSection, kGenerationKey, tag);
    for (int s = 0; s < 8; ++s)
        for (int k = 0; k < 60; ++k)
            ini.WriteString(QStringLiteral("SECTION_%1").arg(s), QStringLiteral("Key%1").arg(k),
                            QStringLiteral("%1 значение %2.%3 %1").arg(tag).arg(s).arg(k));
}

/// The file's text when it holds content `name` in full.
inline QString SettingsText(char name)
{
    TSettingsFile ini(QString{});
    FillSettings(ini, name);
    return ini.Text();
}

} // namespace reliability
