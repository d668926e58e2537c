// Loads the built library as a host does and resolves every exported name.
#include <QString>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

const char *const messageNames[] = {
    "_S_ERROR_INIT_ENGINE",
    "_S_ERROR_INIT_ABBYY_ENGINE",
    "_S_ERROR_INIT_COGNITIVE_ENGINE",
    "_S_PASSPORT_RU",
    "_S_FOREIGN_PASSPORT_RU",
    "_S_DRIVING_PERMIT_RU",
    "_S_BIRTH_CERTIFICATE_RU",
    "_S_FOREIGN_PASSPORT_MRZ",
    "_S_FOREIGN_PASSPORT_AZ",
    "_S_IDENT_CARD_AZ",
    "_S_PASSPORT_BY",
    "_S_FOREIGN_PASSPORT_BY",
    "_S_FOREIGN_PASSPORT_KZ",
    "_S_IDENT_CARD_KZ",
    "_S_DRIVING_PERMIT_KZ",
    "_S_IDENT_CARD_KG",
    "_S_DRIVING_PERMIT_KG",
    "_S_PASSPORT_TJ",
    "_S_FOREIGN_PASSPORT_TJ",
    "_S_PASSPORT_UZ",
    "_S_FOREIGN_PASSPORT_UZ",
    "_S_DRIVING_PERMIT_UZ",
    "_S_FOREIGN_PASSPORT_UA",
    "_S_PASSPORT",
    "_S_FOREIGN_PASSPORT",
    "_S_FOREIGN_PASSPORT_RF",
    "_S_DRIVER_LICENSE",
    "_S_IDENTIFICATION_CARD",
    "_S_DOCUMENT",
    "_S_NOT_CONNECT_SCAN",
    "_S_ERROR",
    "_S_MESSAGE",
    "_S_INFORMATION",
    "_S_SCANNER_NOT_SELECTED",
    "_S_SCANNER_NOT_SELECTED_2",
    "_S_ERROR_RECOGNIZE",
    "_S_DOC_NOT_RECOGNIZED",
    "_S_DOC_PICTURE_NOT_RETURNED",
    "_S_CAMERAS_NOT_EXISTS",
    "_S_CAMERAS_NO_RIGHTS",
    "_S_BIRTHDAY_WRONG",
    "_S_EXPIRY_WRONG",
    "_S_NOT_ENOUGH_RESOURCE",
    "_S_SNAP_SHOT_FAILED",
    "_S_CONTINUE_CAMERA",
    "_S_SNAP_SHOT",
    "_S_CAMERA_NO_RIGHTS",
    "_S_ERROR_INIT_ENGINE_2",
    "_S_NOT_RECOGNIZED",
    "_S_GO_TO_ADMIN",
    "_S_SCANNERS_NOT_FOUND",
    "_S_ERROR_CREATE_PACKAGE",
    "_S_FILE_SOURCE_PROBLEM",
    "_S_TWAIN_SOURCE_PROBLEM",
    "_S_TWAIN_OPEN_ERROR",
    "_S_CONFIRM_SELECT_COGNITIVE",
    "_S_RECOGNITION_ERROR",
    "_S_DOUNT_IN_RECOGNITION",
    "_S_ERROR_IN_RECOGNITION",
    "_S_SCANNED_0_PICTURES",
    "_S_DOCUMENT_NOT_SUPPORTED",
    "_S_REPEAT_RECOGNIZE",
    "_S_RECOGNITION_NOT_INSTALLED",
    "_S_ScProxy_INI_NOT_FOUND"};

const char *const otherNames[] = {
    "Initialize", "Finalize", "GetPackageInfoTable", "GetUserDataFolder",
    "gl_ListAllowedDocuments", "gl_ListAvailableDocuments",
    "gl_Protocol", "gl_PhotoToAccountData", "gl_DocumentToAccountData", "gl_FIOOnLatin",
    "gl_sScannerName", "gl_ScannerItemIndex", "gl_ShowTwainSupported", "gl_TwainDialogNeed",
    "gl_SelectScanner", "gl_BrightnessSupported", "gl_BrightnessValue", "gl_OrientSupported",
    "gl_OrientValue", "gl_PaperSizeSupported", "gl_PaperSizeIndex", "gl_PaperSizeValue",
    "gl_ColorModeSupported", "gl_ColorModeValue", "gl_RotationIndex", "gl_PackageKeepDays",
    "gl_RecognizeIniFile", "gl_sRecognizeIniFileName", "gl_ScanSettings", "gl_cdsNationalities",
    "gl_sScApiIniFile", "CognitiveLibInstance", "iDoc",
    "ABBYYRecognitionFM", "CognitiveRecognitionFM", "DocFromScannerFM", "PhotoFromCameraFM",
    "SelectRecognizerFM", "TSelectRecognizerFM_Create",
};

struct Library
{
    Library() : handle(dlopen(R9_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL)) {}
    ~Library() { if (handle) dlclose(handle); }
    void *handle;
};

} // namespace

TEST(Exports, EveryNameResolvesByDlsym)
{
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    for (const char *name : otherNames)
        EXPECT_NE(dlsym(lib.handle, name), nullptr) << name;
    int count = 0;
    for (const char *name : messageNames) {
        EXPECT_NE(dlsym(lib.handle, name), nullptr) << name;
        ++count;
    }
    EXPECT_EQ(count, 64);
}

TEST(Exports, MessagesAndCatalogueAreUsableThroughTheirSymbols)
{
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    // A message symbol is a record whose first member is the source text.
    auto *error = static_cast<const char *const *>(dlsym(lib.handle, "_S_ERROR"));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(QString::fromUtf8(*error), QString("Ошибка"));

    auto initialize = reinterpret_cast<void (*)()>(dlsym(lib.handle, "Initialize"));
    auto finalize = reinterpret_cast<void (*)()>(dlsym(lib.handle, "Finalize"));
    auto folder = reinterpret_cast<QString (*)()>(dlsym(lib.handle, "GetUserDataFolder"));
    auto *list = static_cast<void **>(dlsym(lib.handle, "gl_ListAllowedDocuments"));
    auto *brightness = static_cast<int *>(dlsym(lib.handle, "gl_BrightnessValue"));
    ASSERT_TRUE(initialize && finalize && folder && list && brightness);
    initialize();
    EXPECT_NE(*list, nullptr);
    EXPECT_EQ(*brightness, 50);
    EXPECT_TRUE(folder().endsWith("/Velmar-Q-70/"));
    finalize();
    EXPECT_EQ(*list, nullptr);
}

TEST(Exports, InternalNamesStayHidden)
{
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    EXPECT_EQ(dlsym(lib.handle, "engCommon9r_Initialization"), nullptr);
    EXPECT_EQ(dlsym(lib.handle, "_Z17PackageFileExistsRK7QStringS1_"), nullptr);
    EXPECT_EQ(dlsym(lib.handle, "_ZNK13TSettingsFile10UpdateFileEv"), nullptr);
}

TEST(Exports, MessageLookupsAreVisibleUnderTheirCppNames)
{
    // The public headers declare them for a host that links the library.
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    // A message is passed by its address only, so an opaque pointer will do.
    auto load = reinterpret_cast<QString (*)(const void *)>(dlsym(lib.handle, "_Z13LoadResStringPK9ResString"));
    auto find = reinterpret_cast<const void *(*)(const char *)>(dlsym(lib.handle, "_Z13FindResStringPKc"));
    ASSERT_NE(load, nullptr);
    ASSERT_NE(find, nullptr);
    EXPECT_NE(dlsym(lib.handle, "_Z14ResStringTablePi"), nullptr);
    EXPECT_EQ(find("_S_ERROR"), dlsym(lib.handle, "_S_ERROR"));
    EXPECT_EQ(load(find("_S_ERROR")), QString("Ошибка"));
}
