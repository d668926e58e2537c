#pragma once
// The package's own texts for the operator that are not among its named
// messages: error texts that end in a message box or in the text handed back
// to the host, and the few captions of our own. Kept apart from the message
// table because they are not exported and no host translates them; kept in
// one list so that one thing is said in one wording wherever it is said.
// Texts in UTF-8; line breaks are lone carriage returns, as in the messages;
// %1, %2 are filled in with QString::arg.

#define R9_PACKAGE_TEXT_LIST(X) \
    /* The recognition engine */ \
    X(EngineNotStarted, "Ядро распознавания не запущено.") \
    X(EngineClassMissing, "Класс движка распознавания не зарегистрирован или недоступен.") \
    X(EngineInitParamsMissing, "Параметры инициализации движка распознавания не созданы.") \
    X(EngineInitFailed, "Движок распознавания не смог инициализироваться.") \
    X(EngineGaveNoDocumentList, "Движок распознавания не вернул список документов.") \
    X(CatalogueNotGiven, "Не задан каталог документов.") \
    X(CatalogueNotLoaded, "Каталог документов не загружен.") \
    X(ScannerSettingsMissing, "Настройки сканера не получены: сканер не выбран.") \
    X(DocumentTypeNotChosen, "Не выбран тип документа.") \
    X(EngineEntryPointMissing, "Функция %1 библиотеки распознавания Cognitive Scanify API недоступна.") \
    X(ScannedPictureUnreadable, "Сканер передал изображение, которое не удалось прочитать.") \
    /* Files and folders */ \
    X(UserFolderForPictures, "Не удалось создать папку данных пользователя для изображений документа.") \
    X(UserFolderForPackage, "Не удалось создать папку данных пользователя для пакета Cognitive Scanify API.") \
    X(UserFolderForEngineSettings, "Не удалось создать папку данных пользователя для файлов настроек Cognitive Scanify API.") \
    X(EngineSettingsNotReplaced, "Не удалось заменить неполный файл настроек Cognitive Scanify API %1.") \
    X(SettingsFileNotRead, "Не удалось прочитать файл настроек \"%1\": %2") \
    X(SettingsFileNotWritten, "Не удалось записать файл настроек \"%1\": %2") \
    X(WindowSettingsNotRestored, "Не удалось восстановить настройки окна.") \
    X(SettingsFileTooLarge, "Файл настроек \"%1\" слишком велик.") \
    X(SettingsNameNotAllowed, "Недопустимое имя %1 \"%2\" в файле настроек.") \
    X(SettingsSectionWord, "секции") \
    X(SettingsKeyWord, "ключа") \
    X(SettingsValueWithLineBreak, "Значение в файле настроек не может содержать перевод строки: \"%1\".") \
    X(SettingsFileNotReadNorKept, "Не удалось прочитать файл настроек \"%1\" и сохранить его копию \"%2\": файл не перезаписан") \
    X(PictureFileNotLoaded, "Не удалось загрузить изображение из файла \"%1\": %2") \
    X(PictureFileCut, "файл обрезан (%1 байт из %2)") \
    X(PictureFormatUnknown, "неизвестный формат изображения (расширение \"%1\")") \
    /* What the host application has to give */ \
    X(HostServiceMissing, "Приложение не предоставило модулю службу: %1") \
    X(VideoService, "видеоподсистема") \
    X(PluginManagerService, "менеджер подключаемых модулей") \
    X(SecurityService, "система безопасности") \
    X(VideoMadeNoConfigManager, "Видеоподсистема не создала менеджер конфигурации") \
    X(VideoMadeNoCameraView, "Видеоподсистема не создала окно просмотра камеры") \
    /* Dates the operator checks */ \
    X(DatePattern, "дд.мм.гггг") \
    X(DateNotRecognized, "Дата \"%1\" не распознана.\r\rВведите дату в виде %2 или очистите поле.") \
    X(TodayShownInField, "Поле %1 не распознано: в нём показана сегодняшняя дата %2.\r\r" \
                         "Проверьте дату по документу: введите её или очистите поле.") \
    X(TodayShownInFields, "Поля %1 не распознаны: в них показана сегодняшняя дата %2.\r\r" \
                          "Проверьте даты по документу: введите их или очистите поля.") \
    /* Captions */ \
    X(CountriesFooter, "Стран: %1")

namespace texts {
#define R9_PACKAGE_TEXT(name, text) inline constexpr char name[] = text;
R9_PACKAGE_TEXT_LIST(R9_PACKAGE_TEXT)
#undef R9_PACKAGE_TEXT
} // namespace texts
