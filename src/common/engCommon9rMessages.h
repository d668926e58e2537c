#pragma once
// The package's 64 named messages. Each is exported by its name; its text
// is fetched with LoadResString at the moment of use, so a translator the host
// installs replaces it. Line breaks inside the texts are lone carriage returns.

#include "common/ResString.h"

R9_API const ResString _S_ERROR_INIT_ENGINE;
R9_API const ResString _S_ERROR_INIT_ABBYY_ENGINE;
R9_API const ResString _S_ERROR_INIT_COGNITIVE_ENGINE;
R9_API const ResString _S_PASSPORT_RU;
R9_API const ResString _S_FOREIGN_PASSPORT_RU;
R9_API const ResString _S_DRIVING_PERMIT_RU;
R9_API const ResString _S_BIRTH_CERTIFICATE_RU;
R9_API const ResString _S_FOREIGN_PASSPORT_MRZ;
R9_API const ResString _S_FOREIGN_PASSPORT_AZ;
R9_API const ResString _S_IDENT_CARD_AZ;
R9_API const ResString _S_PASSPORT_BY;
R9_API const ResString _S_FOREIGN_PASSPORT_BY;
R9_API const ResString _S_FOREIGN_PASSPORT_KZ;
R9_API const ResString _S_IDENT_CARD_KZ;
R9_API const ResString _S_DRIVING_PERMIT_KZ;
R9_API const ResString _S_IDENT_CARD_KG;
R9_API const ResString _S_DRIVING_PERMIT_KG;
R9_API const ResString _S_PASSPORT_TJ;
R9_API const ResString _S_FOREIGN_PASSPORT_TJ;
R9_API const ResString _S_PASSPORT_UZ;
R9_API const ResString _S_FOREIGN_PASSPORT_UZ;
R9_API const ResString _S_DRIVING_PERMIT_UZ;
R9_API const ResString _S_FOREIGN_PASSPORT_UA;
R9_API const ResString _S_PASSPORT;
R9_API const ResString _S_FOREIGN_PASSPORT;
R9_API const ResString _S_FOREIGN_PASSPORT_RF;
R9_API const ResString _S_DRIVER_LICENSE;
R9_API const ResString _S_IDENTIFICATION_CARD;
R9_API const ResString _S_DOCUMENT;
R9_API const ResString _S_NOT_CONNECT_SCAN;
R9_API const ResString _S_ERROR;
R9_API const ResString _S_MESSAGE;
R9_API const ResString _S_INFORMATION;
R9_API const ResString _S_SCANNER_NOT_SELECTED;
R9_API const ResString _S_SCANNER_NOT_SELECTED_2;
R9_API const ResString _S_ERROR_RECOGNIZE;
R9_API const ResString _S_DOC_NOT_RECOGNIZED;
R9_API const ResString _S_DOC_PICTURE_NOT_RETURNED;
R9_API const ResString _S_CAMERAS_NOT_EXISTS;
R9_API const ResString _S_CAMERAS_NO_RIGHTS;
R9_API const ResString _S_BIRTHDAY_WRONG;
R9_API const ResString _S_EXPIRY_WRONG;
R9_API const ResString _S_NOT_ENOUGH_RESOURCE;
R9_API const ResString _S_SNAP_SHOT_FAILED;
R9_API const ResString _S_CONTINUE_CAMERA;
R9_API const ResString _S_SNAP_SHOT;
R9_API const ResString _S_CAMERA_NO_RIGHTS;
R9_API const ResString _S_ERROR_INIT_ENGINE_2;
R9_API const ResString _S_NOT_RECOGNIZED;
R9_API const ResString _S_GO_TO_ADMIN;
R9_API const ResString _S_SCANNERS_NOT_FOUND;
R9_API const ResString _S_ERROR_CREATE_PACKAGE;
R9_API const ResString _S_FILE_SOURCE_PROBLEM;
R9_API const ResString _S_TWAIN_SOURCE_PROBLEM;
R9_API const ResString _S_TWAIN_OPEN_ERROR;
R9_API const ResString _S_CONFIRM_SELECT_COGNITIVE;
R9_API const ResString _S_RECOGNITION_ERROR;
R9_API const ResString _S_DOUNT_IN_RECOGNITION;
R9_API const ResString _S_ERROR_IN_RECOGNITION;
R9_API const ResString _S_SCANNED_0_PICTURES;
R9_API const ResString _S_DOCUMENT_NOT_SUPPORTED;
R9_API const ResString _S_REPEAT_RECOGNIZE;
R9_API const ResString _S_RECOGNITION_NOT_INSTALLED;
R9_API const ResString _S_ScProxy_INI_NOT_FOUND;

/// The message table in its documented order, for hosts and tests that look
/// messages up by name (both exported under their C++ names).
struct ResStringEntry { const char *name; const ResString *message; };
R9_EXPORT const ResStringEntry *ResStringTable(int *count);
/// The message of that name, null when there is none.
R9_EXPORT const ResString *FindResString(const char *name);
