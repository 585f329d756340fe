// The word lists and their translation through a language file.
#include <gtest/gtest.h>

#include <string>

#include "shared/VH_Common_Const.h"
#include "shared/VH_Common_Proc.h"
#include "shared/ini_text.h"

namespace {

class Vocabulary : public testing::Test {
protected:
    void SetUp() override { InitializeCommonConst(); }
    void TearDown() override {
        FinalizeCommonProc();
        FinalizeCommonConst();
    }
};

void ExpectRussian() {
    EXPECT_EQ(ConstitutionText[0], L"Нормостеник");
    EXPECT_EQ(ConstitutionText[2], L"Астеник");
    EXPECT_EQ(DiseaseText[0], L"Гипертония");
    EXPECT_EQ(DiseaseText[15], L"Дефект межпредсердной перегородки");
    EXPECT_EQ(DiseaseText[20], L"Искусственный водитель ритма");
    EXPECT_EQ(DiseaseText[21], L"Сахарный диабет");
    EXPECT_EQ(DrugText[5], L"Антогонисты Ca");
    EXPECT_EQ(DrugText[8], L"диуретики");
    EXPECT_EQ(FindingText[3], L"WPW");
    EXPECT_EQ(FindingText[4], L"Не определен");
    const std::wstring proc[] = {L"СБОЙ", L"МЕТКА", L"", L"", L"", L"", L"", L"", L"н", L"с"};
    for (size_t i = 0; i < ProcText.size(); ++i) EXPECT_EQ(ProcText[i], proc[i]) << i;
}

TEST_F(Vocabulary, WithoutALanguageFileEveryEntryKeepsItsRussianText) {
    TranslateVocabulary(IniText());
    ExpectRussian();
}

TEST_F(Vocabulary, AFileWithOtherSectionsChangesNothing) {
    TranslateVocabulary(IniText(L"[Main]\nNormo=Normosthenic\nSbo=FAIL\n"));
    ExpectRussian();
}

TEST_F(Vocabulary, TranslatesKeyedEntriesAndKeepsTheFixedOnes) {
    TranslateVocabulary(
        IniText(L"[VH_Messages]\r\n"
                L"normo=Normosthenic\r\n"
                L"Giper=\r\n"
                L"Gip=Hypertension\r\n"
                L"DMPP=\"Atrial septal defect\"\r\n"
                L"IVR=Pacemaker\r\n"
                L"Diu=diuretics\r\n"
                L"Norm=Normal\r\n"
                L"nOp=Undetermined\r\n"
                L"Sbo=must not reach ProcText\r\n"
                L"[VH_Common_Proc]\r\n"
                L"Sbo=FAIL\r\n"
                L"Met=\r\n"
                L"nnn=n\r\n"
                L"Normo=must not reach ConstitutionText\r\n"));
    EXPECT_EQ(ConstitutionText[0], L"Normosthenic");
    EXPECT_EQ(ConstitutionText[1], L"");  // present but empty
    EXPECT_EQ(ConstitutionText[2], L"Астеник");
    EXPECT_EQ(DiseaseText[0], L"Hypertension");
    EXPECT_EQ(DiseaseText[15], L"Atrial septal defect");
    EXPECT_EQ(DiseaseText[20], L"Pacemaker");
    EXPECT_EQ(DiseaseText[21], L"Сахарный диабет");
    EXPECT_EQ(DrugText[8], L"diuretics");
    EXPECT_EQ(DrugText[0], L"сердечные гликозиды");
    EXPECT_EQ(FindingText[0], L"Normal");
    EXPECT_EQ(FindingText[3], L"WPW");
    EXPECT_EQ(FindingText[4], L"Undetermined");
    EXPECT_EQ(ProcText[0], L"FAIL");
    EXPECT_EQ(ProcText[1], L"");
    EXPECT_EQ(ProcText[8], L"n");
    EXPECT_EQ(ProcText[9], L"с");
}

TEST_F(Vocabulary, FixedEntriesIgnoreKeysThatLookLikeThem) {
    // Neither entry has a key, so nothing in the file can reach it.
    TranslateVocabulary(IniText(L"[VH_Messages]\nSD=Diabetes\nWPW=x\n[VH_Common_Proc]\n2=x\n"));
    EXPECT_EQ(DiseaseText[21], L"Сахарный диабет");
    EXPECT_EQ(FindingText[3], L"WPW");
    for (size_t i = 2; i <= 7; ++i) EXPECT_EQ(ProcText[i], L"") << i;
}

TEST_F(Vocabulary, FinalisationEmptiesTheLists) {
    TranslateVocabulary(IniText());
    FinalizeCommonProc();
    for (const std::wstring& s : ProcText) EXPECT_EQ(s, L"");
    EXPECT_EQ(ConstitutionText[0], L"Нормостеник");  // finalised later, by its own unit
    FinalizeCommonConst();
    EXPECT_EQ(ConstitutionText[0], L"");
    EXPECT_EQ(DiseaseText[21], L"");
}

}  // namespace
