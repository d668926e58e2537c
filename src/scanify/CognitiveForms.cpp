#include "scanify/CognitiveForms.h"

#include "base/engCommon9rMessages.h"

#include <QDir>
#include <QFileInfo>
#include <iterator>

namespace scanify {

namespace {

using namespace recognition;
using M = TFieldMapping;

const TFieldMapping kPassport[] = {
    {"PP_SurName", rfLastName},     {"PP_Name", rfFirstName},       {"PP_SecName", rfMiddleName},
    {"PP_Sex", rfSex},              {"PP_BirthDate", rfDateOfBirth}, {"PP_BirthPlace", rfPlaceOfBirth},
    {"PP_Ser2", rfPassportNumber},  {"PP_Num2", rfPassportNumber},  {"PP_Kem", rfIssuedBy},
    {"PP_Date", rfDateOfIssue},     {"PP_Podr", rfDepartmentCode},
};
const TFieldMapping kForeignPassportRF[] = {
    {"IN_SurName", rfLastName},        {"IN_Name", rfFirstName},       {"IN_Sex", rfSex},
    {"IN_BirthDate", rfDateOfBirth},   {"IN_BirthPlace", rfPlaceOfBirth}, {"IN_SerNum2", rfPassportNumber},
    {"IN_Kem", rfIssuedBy},            {"IN_Date", rfDateOfIssue},     {"IN_ExpiryDate", rfDateOfExpiry},
};
const TFieldMapping kDrivingLicence[] = {
    {"DR_SurName", rfLastName}, {"DR_Name", rfFirstName},       {"DR_SecName", rfMiddleName},
    {"DR_BirthDate", rfDateOfBirth}, {"DR_Date", rfDateOfIssue}, {"DR_Ser", rfPassportNumber},
    {"DR_Num", rfPassportNumber},
};
const TFieldMapping kForeignPassportMRZ[] = {
    {"IN_SurName", rfLastName, M::LastNameEmpty}, {"IN_Name", rfFirstName, M::FirstNameEmpty},
    {"IN_SerNum", rfPassportNumber},              {"IN_BirthDate", rfDateOfBirth},
    {"IN_Sex", rfSex},                            {"IN_Expiry", rfDateOfExpiry},
    {"IN_CNT", rfNationality},                    {"IN_KOD", rfNationality},
};

const char *const kPassportIds[] = {"Passport1", nullptr};
const char *const kForeignRFIds[] = {"biopasp_mdl", "InoPas1", nullptr};
const char *const kDrivingIds[] = {"DRVL", nullptr};
const char *const kMRZIds[] = {"InoPas_MRZ", nullptr};

const TCognitiveForm kForms[] = {
    {kPassportIds, &_S_PASSPORT, "photo", kPassport, std::size(kPassport)},
    {kForeignRFIds, &_S_FOREIGN_PASSPORT_RF, "IN_PHOTO2", kForeignPassportRF, std::size(kForeignPassportRF)},
    {kDrivingIds, &_S_DRIVER_LICENSE, "photo", kDrivingLicence, std::size(kDrivingLicence)},
    {kMRZIds, &_S_FOREIGN_PASSPORT, "IN_FOTO", kForeignPassportMRZ, std::size(kForeignPassportMRZ), "ZoneOfMRZ_rotate"},
};

} // namespace

const TCognitiveForm *FindCognitiveForm(const QString &formIdentifier)
{
    for (const TCognitiveForm &form : kForms)
        for (const char *const *id = form.identifiers; *id; ++id)
            if (formIdentifier == QLatin1String(*id))
                return &form;
    return nullptr;
}

QString InPackageFolder(const QString &packageFolder, const QString &fileName)
{
    // The engine may name files with either separator.
    QString name = fileName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir(packageFolder).filePath(QFileInfo(name).fileName());
}

} // namespace scanify
