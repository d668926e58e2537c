#include "common/engCommon9rMessages.h"

#include <iterator>

const ResString _S_ERROR_INIT_ENGINE = {"Не удалось инициализировать ядро распознавания:"};
const ResString _S_ERROR_INIT_ABBYY_ENGINE = {"Не удалось инициализировать ядро распознавания (ABBYY PassportReader SDK):"};
const ResString _S_ERROR_INIT_COGNITIVE_ENGINE = {"Не удалось инициализировать компоненту распознавания (Cognitive Scanify API):"};
const ResString _S_PASSPORT_RU = {"РФ: паспорт"};
const ResString _S_FOREIGN_PASSPORT_RU = {"РФ: загранпаспорт"};
const ResString _S_DRIVING_PERMIT_RU = {"РФ: водительское удостоверение "};
const ResString _S_BIRTH_CERTIFICATE_RU = {"РФ: свидетельство о рождении"};
const ResString _S_FOREIGN_PASSPORT_MRZ = {"Загранпаспорт с машиночитаемой зоной"};
const ResString _S_FOREIGN_PASSPORT_AZ = {"Азербайджан: загранпаспорт"};
const ResString _S_IDENT_CARD_AZ = {"Азербайджан: удостоверение личности"};
const ResString _S_PASSPORT_BY = {"Белоруссия: паспорт"};
const ResString _S_FOREIGN_PASSPORT_BY = {"Белоруссия: загранпаспорт"};
const ResString _S_FOREIGN_PASSPORT_KZ = {"Казахстан: загранпаспорт"};
const ResString _S_IDENT_CARD_KZ = {"Казахстан: удостоверение личности"};
const ResString _S_DRIVING_PERMIT_KZ = {"Казахстан: водительское удостоверение"};
const ResString _S_IDENT_CARD_KG = {"Киргизия: удостоверение личности"};
const ResString _S_DRIVING_PERMIT_KG = {"Киргизия: водительское удостоверение"};
const ResString _S_PASSPORT_TJ = {"Таджикистан: паспорт"};
const ResString _S_FOREIGN_PASSPORT_TJ = {"Таджикистан: загранпаспорт"};
const ResString _S_PASSPORT_UZ = {"Узбекистан: паспорт"};
const ResString _S_FOREIGN_PASSPORT_UZ = {"Узбекистан: загранпаспорт"};
const ResString _S_DRIVING_PERMIT_UZ = {"Узбекистан: водительское удостоверение"};
const ResString _S_FOREIGN_PASSPORT_UA = {"Украина: загранпаспорт"};
const ResString _S_PASSPORT = {"Паспорт"};
const ResString _S_FOREIGN_PASSPORT = {"Загранпаспорт"};
const ResString _S_FOREIGN_PASSPORT_RF = {"Загранпаспорт РФ"};
const ResString _S_DRIVER_LICENSE = {"Водительское удостоверение"};
const ResString _S_IDENTIFICATION_CARD = {"Удостоверение личности"};
const ResString _S_DOCUMENT = {"Документ"};
const ResString _S_NOT_CONNECT_SCAN = {"Не удалось соединиться со сканирующим устройством:"};
const ResString _S_ERROR = {"Ошибка"};
const ResString _S_MESSAGE = {"Сообщение"};
const ResString _S_INFORMATION = {"Информация"};
const ResString _S_SCANNER_NOT_SELECTED = {"Не выбран сканнер для распознавания в окне диалога.\r\rПоказать окно диалога распознавания?"};
const ResString _S_SCANNER_NOT_SELECTED_2 = {"Не выбран сканнер для распознавания в окне диалога.\r\rНажмите кнопку \"Распознать\" с отображением окна диалога."};
const ResString _S_ERROR_RECOGNIZE = {"Ошибка при распознавании документа:"};
const ResString _S_DOC_NOT_RECOGNIZED = {"Данные не распознаны (возможно, отсутствует документ или его тип не соответствует выбранному)."};
const ResString _S_DOC_PICTURE_NOT_RETURNED = {"Полное изображение документа не получено."};
const ResString _S_CAMERAS_NOT_EXISTS = {"Камеры отсутствуют в конфигурации или на них нет прав."};
const ResString _S_CAMERAS_NO_RIGHTS = {"У пользователя системы нет прав на камеры."};
const ResString _S_BIRTHDAY_WRONG = {"Дата рождения некорректна."};
const ResString _S_EXPIRY_WRONG = {"Дата окончания срока действия некорректна."};
const ResString _S_NOT_ENOUGH_RESOURCE = {"Недостаточно ресурсов для загрузки изображения."};
const ResString _S_SNAP_SHOT_FAILED = {"Не удалось получить кадр камеры."};
const ResString _S_CONTINUE_CAMERA = {"Продолжить"};
const ResString _S_SNAP_SHOT = {"СТОП-кадр"};
const ResString _S_CAMERA_NO_RIGHTS = {"Нет прав на работу с данной камерой"};
const ResString _S_ERROR_INIT_ENGINE_2 = {"При инициализации ABBYY PassportReader SDK возникла проблема. Возможные причины:\r\r - некорректно установлен продукт;\r - не найден ранее использовавшийся сканер."};
const ResString _S_NOT_RECOGNIZED = {"Не распознано"};
const ResString _S_GO_TO_ADMIN = {"Обратитесь к администратору системы."};
const ResString _S_SCANNERS_NOT_FOUND = {"SDK не обнаружил доступные сканнеры."};
const ResString _S_ERROR_CREATE_PACKAGE = {"Ошибка при создании пакета:"};
const ResString _S_FILE_SOURCE_PROBLEM = {"Ошибка при получении изображения из файла:"};
const ResString _S_TWAIN_SOURCE_PROBLEM = {"TWAIN-источник не был указан, либо TWAIN-подсистема не установлена."};
const ResString _S_TWAIN_OPEN_ERROR = {"ScScannerOpen() завершилась с ошибкой:"};
const ResString _S_CONFIRM_SELECT_COGNITIVE = {"Будете работать с Cognitive Scanify API?"};
const ResString _S_RECOGNITION_ERROR = {"ScPackageRecog() завершилась с ошибкой:"};
const ResString _S_DOUNT_IN_RECOGNITION = {"Поле распозналось с сомнением"};
const ResString _S_ERROR_IN_RECOGNITION = {"Поле распозналось с ошибкой"};
const ResString _S_SCANNED_0_PICTURES = {"Отсканировано 0 документов.\r\rПроверьте наличие документа в сканере или\rпопробуйте установить иные значения яркости и/или контраста в окне TWAIN-диалога"};
const ResString _S_DOCUMENT_NOT_SUPPORTED = {"Распознавание данных документа такого типа не поддерживается."};
const ResString _S_REPEAT_RECOGNIZE = {"Данные загранпаспорта не распознаны. \r\rДля распознавания с поворотом на 180 градусов нажмите кнопку \"Распознать повторно\"."};
const ResString _S_RECOGNITION_NOT_INSTALLED = {"Программное обеспечение для распознавания документов не установлено или\rне удалось инициализировать."};
const ResString _S_ScProxy_INI_NOT_FOUND = {"В каталоге программного обеспечения Velmar-Q-70 не найден поставляемый файл ScProxy.Ini."};

namespace {
const ResStringEntry g_table[] = {
    {"_S_ERROR_INIT_ENGINE", &_S_ERROR_INIT_ENGINE},
    {"_S_ERROR_INIT_ABBYY_ENGINE", &_S_ERROR_INIT_ABBYY_ENGINE},
    {"_S_ERROR_INIT_COGNITIVE_ENGINE", &_S_ERROR_INIT_COGNITIVE_ENGINE},
    {"_S_PASSPORT_RU", &_S_PASSPORT_RU},
    {"_S_FOREIGN_PASSPORT_RU", &_S_FOREIGN_PASSPORT_RU},
    {"_S_DRIVING_PERMIT_RU", &_S_DRIVING_PERMIT_RU},
    {"_S_BIRTH_CERTIFICATE_RU", &_S_BIRTH_CERTIFICATE_RU},
    {"_S_FOREIGN_PASSPORT_MRZ", &_S_FOREIGN_PASSPORT_MRZ},
    {"_S_FOREIGN_PASSPORT_AZ", &_S_FOREIGN_PASSPORT_AZ},
    {"_S_IDENT_CARD_AZ", &_S_IDENT_CARD_AZ},
    {"_S_PASSPORT_BY", &_S_PASSPORT_BY},
    {"_S_FOREIGN_PASSPORT_BY", &_S_FOREIGN_PASSPORT_BY},
    {"_S_FOREIGN_PASSPORT_KZ", &_S_FOREIGN_PASSPORT_KZ},
    {"_S_IDENT_CARD_KZ", &_S_IDENT_CARD_KZ},
    {"_S_DRIVING_PERMIT_KZ", &_S_DRIVING_PERMIT_KZ},
    {"_S_IDENT_CARD_KG", &_S_IDENT_CARD_KG},
    {"_S_DRIVING_PERMIT_KG", &_S_DRIVING_PERMIT_KG},
    {"_S_PASSPORT_TJ", &_S_PASSPORT_TJ},
    {"_S_FOREIGN_PASSPORT_TJ", &_S_FOREIGN_PASSPORT_TJ},
    {"_S_PASSPORT_UZ", &_S_PASSPORT_UZ},
    {"_S_FOREIGN_PASSPORT_UZ", &_S_FOREIGN_PASSPORT_UZ},
    {"_S_DRIVING_PERMIT_UZ", &_S_DRIVING_PERMIT_UZ},
    {"_S_FOREIGN_PASSPORT_UA", &_S_FOREIGN_PASSPORT_UA},
    {"_S_PASSPORT", &_S_PASSPORT},
    {"_S_FOREIGN_PASSPORT", &_S_FOREIGN_PASSPORT},
    {"_S_FOREIGN_PASSPORT_RF", &_S_FOREIGN_PASSPORT_RF},
    {"_S_DRIVER_LICENSE", &_S_DRIVER_LICENSE},
    {"_S_IDENTIFICATION_CARD", &_S_IDENTIFICATION_CARD},
    {"_S_DOCUMENT", &_S_DOCUMENT},
    {"_S_NOT_CONNECT_SCAN", &_S_NOT_CONNECT_SCAN},
    {"_S_ERROR", &_S_ERROR},
    {"_S_MESSAGE", &_S_MESSAGE},
    {"_S_INFORMATION", &_S_INFORMATION},
    {"_S_SCANNER_NOT_SELECTED", &_S_SCANNER_NOT_SELECTED},
    {"_S_SCANNER_NOT_SELECTED_2", &_S_SCANNER_NOT_SELECTED_2},
    {"_S_ERROR_RECOGNIZE", &_S_ERROR_RECOGNIZE},
    {"_S_DOC_NOT_RECOGNIZED", &_S_DOC_NOT_RECOGNIZED},
    {"_S_DOC_PICTURE_NOT_RETURNED", &_S_DOC_PICTURE_NOT_RETURNED},
    {"_S_CAMERAS_NOT_EXISTS", &_S_CAMERAS_NOT_EXISTS},
    {"_S_CAMERAS_NO_RIGHTS", &_S_CAMERAS_NO_RIGHTS},
    {"_S_BIRTHDAY_WRONG", &_S_BIRTHDAY_WRONG},
    {"_S_EXPIRY_WRONG", &_S_EXPIRY_WRONG},
    {"_S_NOT_ENOUGH_RESOURCE", &_S_NOT_ENOUGH_RESOURCE},
    {"_S_SNAP_SHOT_FAILED", &_S_SNAP_SHOT_FAILED},
    {"_S_CONTINUE_CAMERA", &_S_CONTINUE_CAMERA},
    {"_S_SNAP_SHOT", &_S_SNAP_SHOT},
    {"_S_CAMERA_NO_RIGHTS", &_S_CAMERA_NO_RIGHTS},
    {"_S_ERROR_INIT_ENGINE_2", &_S_ERROR_INIT_ENGINE_2},
    {"_S_NOT_RECOGNIZED", &_S_NOT_RECOGNIZED},
    {"_S_GO_TO_ADMIN", &_S_GO_TO_ADMIN},
    {"_S_SCANNERS_NOT_FOUND", &_S_SCANNERS_NOT_FOUND},
    {"_S_ERROR_CREATE_PACKAGE", &_S_ERROR_CREATE_PACKAGE},
    {"_S_FILE_SOURCE_PROBLEM", &_S_FILE_SOURCE_PROBLEM},
    {"_S_TWAIN_SOURCE_PROBLEM", &_S_TWAIN_SOURCE_PROBLEM},
    {"_S_TWAIN_OPEN_ERROR", &_S_TWAIN_OPEN_ERROR},
    {"_S_CONFIRM_SELECT_COGNITIVE", &_S_CONFIRM_SELECT_COGNITIVE},
    {"_S_RECOGNITION_ERROR", &_S_RECOGNITION_ERROR},
    {"_S_DOUNT_IN_RECOGNITION", &_S_DOUNT_IN_RECOGNITION},
    {"_S_ERROR_IN_RECOGNITION", &_S_ERROR_IN_RECOGNITION},
    {"_S_SCANNED_0_PICTURES", &_S_SCANNED_0_PICTURES},
    {"_S_DOCUMENT_NOT_SUPPORTED", &_S_DOCUMENT_NOT_SUPPORTED},
    {"_S_REPEAT_RECOGNIZE", &_S_REPEAT_RECOGNIZE},
    {"_S_RECOGNITION_NOT_INSTALLED", &_S_RECOGNITION_NOT_INSTALLED},
    {"_S_ScProxy_INI_NOT_FOUND", &_S_ScProxy_INI_NOT_FOUND},
};
} // namespace

const ResStringEntry *ResStringTable(int *count)
{
    if (count)
        *count = int(std::size(g_table));
    return g_table;
}

const ResString *FindResString(const char *name)
{
    for (const ResStringEntry &e : g_table)
        if (qstrcmp(e.name, name) == 0)
            return e.message;
    return nullptr;
}
