#include "abbyy/engUtilsABBYY9r.h"
#include "common/Recognition9r.h"
#include "common/engCommon9r.h"

#include <gtest/gtest.h>

TEST(PackageLifecycle, TableListsTheStartingUnitsInOrder)
{
    const TPackageInfo *table = GetPackageInfoTable();
    ASSERT_NE(table, nullptr);
    QStringList starting;
    for (int i = 0; i < table->UnitCount; ++i)
        if (table->UnitInfo[i].Init)
            starting << table->UnitInfo[i].UnitName;
    EXPECT_EQ(starting, QStringList({"engResample", "engCommon9r", "engUtilsABBYY9r"}));
}

TEST(PackageLifecycle, StartRunsOnceAndStopUndoesItWhenCountersReturn)
{
    EXPECT_EQ(gl_ListAllowedDocuments, nullptr);
    Initialize();
    TOrderedStrings *first = gl_ListAllowedDocuments;
    ASSERT_NE(first, nullptr);
    first->Objects(0)->FIsEnabled = true; // a second start must not rebuild the catalogue
    Initialize();
    EXPECT_EQ(gl_ListAllowedDocuments, first);
    EXPECT_TRUE(gl_ListAllowedDocuments->Objects(0)->FIsEnabled);

    Finalize();
    EXPECT_EQ(gl_ListAllowedDocuments, first); // still started once
    Finalize();
    EXPECT_EQ(gl_ListAllowedDocuments, nullptr);
    EXPECT_EQ(gl_ListAvailableDocuments, nullptr);
    EXPECT_TRUE(gl_sRecognizeIniFileName.isEmpty());
    Finalize(); // a stop without a start does nothing
    EXPECT_EQ(gl_ListAllowedDocuments, nullptr);
}

TEST(PackageLifecycle, StopWithoutFormsLeavesNoEngineAndClearsStrings)
{
    Initialize();
    gl_sScannerName = "x";
    gl_PaperSizeValue = "A4";
    Finalize();
    EXPECT_FALSE(gl_RecognitionEngine);
    EXPECT_FALSE(gl_ScanSettings);
    EXPECT_TRUE(gl_sScannerName.isEmpty());
    EXPECT_TRUE(gl_PaperSizeValue.isEmpty());
}

TEST(PackageLifecycle, FormVariablesAreNullAtLoad)
{
    EXPECT_EQ(ABBYYRecognitionFM, nullptr);
    EXPECT_EQ(CognitiveRecognitionFM, nullptr);
    EXPECT_EQ(DocFromScannerFM, nullptr);
    EXPECT_EQ(PhotoFromCameraFM, nullptr);
}
