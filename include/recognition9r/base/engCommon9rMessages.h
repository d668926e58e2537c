#pragma once
// The package's 64 named messages. Each is exported by its name; its text
// is fetched with LoadResString at the moment of use, so a translator the host
// installs replaces it. Line breaks inside the texts are lone carriage returns.

#include "base/ResString.h"

// Every message once, in the table's documented order: its exported name and
// its source text. The declarations below, the definitions and the lookup
// table are all expanded from this one list, so a message added or reworded
// here reaches all three at once.
#define R9_MESSAGE_LIST(X) \
    X(_S_ERROR_INIT_ENGINE, "Не удалось инициализировать ядро распознавания:") \
    X(_S_ERROR_INIT_ABBYY_ENGINE, "Не удалось инициализировать ядро распознавания (ABBYY PassportReader SDK):") \
    X(_S_ERROR_INIT_COGNITIVE_ENGINE, "Не удалось инициализировать компоненту распознавания (Cognitive Scanify API):") \
    X(_S_PASSPORT_RU, "РФ: паспорт") \
    X(_S_FOREIGN_PASSPORT_RU, "РФ: загранпаспорт") \
    X(_S_DRIVING_PERMIT_RU, "РФ: водительское удостоверение ") \
    X(_S_BIRTH_CERTIFICATE_RU, "РФ: свидетельство о рождении") \
    X(_S_FOREIGN_PASSPORT_MRZ, "Загранпаспорт с машиночитаемой зоной") \
    X(_S_FOREIGN_PASSPORT_AZ, "Азербайджан: загранпаспорт") \
    X(_S_IDENT_CARD_AZ, "Азербайджан: удостоверение личности") \
    X(_S_PASSPORT_BY, "Белоруссия: паспорт") \
    X(_S_FOREIGN_PASSPORT_BY, "Белоруссия: загранпаспорт") \
    X(_S_FOREIGN_PASSPORT_KZ, "Казахстан: загранпаспорт") \
    X(_S_IDENT_CARD_KZ, "Казахстан: удостоверение личности") \
    X(_S_DRIVING_PERMIT_KZ, "Казахстан: водительское удостоверение") \
    X(_S_IDENT_CARD_KG, "Киргизия: удостоверение личности") \
    X(_S_DRIVING_PERMIT_KG, "Киргизия: водительское удостоверение") \
    X(_S_PASSPORT_TJ, "Таджикистан: паспорт") \
    X(_S_FOREIGN_PASSPORT_TJ, "Таджикистан: загранпаспорт") \
    X(_S_PASSPORT_UZ, "Узбекистан: паспорт") \
    X(_S_FOREIGN_PASSPORT_UZ, "Узбекистан: загранпаспорт") \
    X(_S_DRIVING_PERMIT_UZ, "Узбекистан: водительское удостоверение") \
    X(_S_FOREIGN_PASSPORT_UA, "Украина: загранпаспорт") \
    X(_S_PASSPORT, "Паспорт") \
    X(_S_FOREIGN_PASSPORT, "Загранпаспорт") \
    X(_S_FOREIGN_PASSPORT_RF, "Загранпаспорт РФ") \
    X(_S_DRIVER_LICENSE, "Водительское удостоверение") \
    X(_S_IDENTIFICATION_CARD, "Удостоверение личности") \
    X(_S_DOCUMENT, "Документ") \
    X(_S_NOT_CONNECT_SCAN, "Не удалось соединиться со сканирующим устройством:") \
    X(_S_ERROR, "Ошибка") \
    X(_S_MESSAGE, "Сообщение") \
    X(_S_INFORMATION, "Информация") \
    X(_S_SCANNER_NOT_SELECTED, "Не выбран сканнер для распознавания в окне диалога.\r\rПоказать окно диалога распознавания?") \
    X(_S_SCANNER_NOT_SELECTED_2, "Не выбран сканнер для распознавания в окне диалога.\r\rНажмите кнопку \"Распознать\" с отображением окна диалога.") \
    X(_S_ERROR_RECOGNIZE, "Ошибка при распознавании документа:") \
    X(_S_DOC_NOT_RECOGNIZED, "Данные не распознаны (возможно, отсутствует документ или его тип не соответствует выбранному).") \
    X(_S_DOC_PICTURE_NOT_RETURNED, "Полное изображение документа не получено.") \
    X(_S_CAMERAS_NOT_EXISTS, "Камеры отсутствуют в конфигурации или на них нет прав.") \
    X(_S_CAMERAS_NO_RIGHTS, "У пользователя системы нет прав на камеры.") \
    X(_S_BIRTHDAY_WRONG, "Дата рождения некорректна.") \
    X(_S_EXPIRY_WRONG, "Дата окончания срока действия некорректна.") \
    X(_S_NOT_ENOUGH_RESOURCE, "Недостаточно ресурсов для загрузки изображения.") \
    X(_S_SNAP_SHOT_FAILED, "Не удалось получить кадр камеры.") \
    X(_S_CONTINUE_CAMERA, "Продолжить") \
    X(_S_SNAP_SHOT, "СТОП-кадр") \
    X(_S_CAMERA_NO_RIGHTS, "Нет прав на работу с данной камерой") \
    X(_S_ERROR_INIT_ENGINE_2, "При инициализации ABBYY PassportReader SDK возникла проблема. Возможные причины:\r\r - некорректно установлен продукт;\r - не найден ранее использовавшийся сканер.") \
    X(_S_NOT_RECOGNIZED, "Не распознано") \
    X(_S_GO_TO_ADMIN, "Обратитесь к администратору системы.") \
    X(_S_SCANNERS_NOT_FOUND, "SDK не обнаружил доступные сканнеры.") \
    X(_S_ERROR_CREATE_PACKAGE, "Ошибка при создании пакета:") \
    X(_S_FILE_SOURCE_PROBLEM, "Ошибка при получении изображения из файла:") \
    X(_S_TWAIN_SOURCE_PROBLEM, "TWAIN-источник не был указан, либо TWAIN-подсистема не установлена.") \
    X(_S_TWAIN_OPEN_ERROR, "ScScannerOpen() завершилась с ошибкой:") \
    X(_S_CONFIRM_SELECT_COGNITIVE, "Будете работать с Cognitive Scanify API?") \
    X(_S_RECOGNITION_ERROR, "ScPackageRecog() завершилась с ошибкой:") \
    X(_S_DOUNT_IN_RECOGNITION, "Поле распозналось с сомнением") \
    X(_S_ERROR_IN_RECOGNITION, "Поле распозналось с ошибкой") \
    X(_S_SCANNED_0_PICTURES, "Отсканировано 0 документов.\r\rПроверьте наличие документа в сканере или\rпопробуйте установить иные значения яркости и/или контраста в окне TWAIN-диалога") \
    X(_S_DOCUMENT_NOT_SUPPORTED, "Распознавание данных документа такого типа не поддерживается.") \
    X(_S_REPEAT_RECOGNIZE, "Данные загранпаспорта не распознаны. \r\rДля распознавания с поворотом на 180 градусов нажмите кнопку \"Распознать повторно\".") \
    X(_S_RECOGNITION_NOT_INSTALLED, "Программное обеспечение для распознавания документов не установлено или\rне удалось инициализировать.") \
    X(_S_ScProxy_INI_NOT_FOUND, "В каталоге программного обеспечения Velmar-Q-70 не найден поставляемый файл ScProxy.Ini.")

#define R9_DECLARE_MESSAGE(name, text) R9_API const ResString name;
R9_MESSAGE_LIST(R9_DECLARE_MESSAGE)
#undef R9_DECLARE_MESSAGE

/// The message table in its documented order, for hosts and tests that look
/// messages up by name (both exported under their C++ names).
struct ResStringEntry { const char *name; const ResString *message; };
R9_EXPORT const ResStringEntry *ResStringTable(int *count);
/// The message of that name, null when there is none.
R9_EXPORT const ResString *FindResString(const char *name);
