// The word lists translated through a real language file beside the
// settings, as a program of the package starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/text_encoding.h"
#include "base/text_file.h"
#include "shared/VH_Common_Const.h"
#include "shared/VH_Common_Proc.h"
#include "shared/VH_Common_Var.h"
#include "tests/kit/file_util.h"
#include "tests/kit/temp_folder.h"

namespace {

const wchar_t kLanguageFile[] =
    L"[VH_Messages]\r\n"
    L"Normo=Normosthenic\r\n"
    L"Giper=\r\n"
    L"NIP=Nephritis\r\n"
    L"DMPP = Atrial septal defect \r\n"
    L"Kor=cordarone\r\n"
    L"nOp=Undetermined\r\n"
    L"WPW=never\r\n"
    L"[VH_Common_Proc]\r\n"
    L"Sbo=FAULT\r\n"
    L"Met=MARK\r\n"
    L"sss=\r\n";

class Vocabulary : public testing::Test {
protected:
    void Start(const wchar_t* language_setting, TextEncoding encoding) {
        CreateDirectoryW((temp / L"Settings").c_str(), nullptr);
        WriteFileBytes(temp / L"Settings\\holter.ini",
                       ToAnsi(std::wstring(L"[options]\r\nLanguageSetting=") + language_setting + L"\r\n"));
        const std::wstring lng = temp / L"Settings\\EngView.lng";
        WriteFileBytes(
            lng, encoding == TextEncoding::Ansi ? ToAnsi(kLanguageFile) : EncodeUnicode(kLanguageFile, encoding));
        InitializeCommonVarAt(temp.path());
        InitializeCommonConst();
        InitializeCommonProc();
    }
    void TearDown() override {
        FinalizeCommonProc();
        FinalizeCommonConst();
        FinalizeCommonVar();
    }

    TempFolder temp;
};

TEST_F(Vocabulary, EnglishTakesTheLanguageFilesTexts) {
    for (const TextEncoding encoding : {TextEncoding::Ansi, TextEncoding::Utf16Le}) {
        Start(L"ENG", encoding);
        ASSERT_EQ(LangFile, temp / L"Settings\\EngView.lng");
        EXPECT_EQ(ConstitutionText[0], L"Normosthenic");
        EXPECT_EQ(ConstitutionText[1], L"");  // present but empty
        EXPECT_EQ(ConstitutionText[2], L"Астеник");
        EXPECT_EQ(DiseaseText[1], L"Nephritis");
        EXPECT_EQ(DiseaseText[15], L"Atrial septal defect");
        EXPECT_EQ(DiseaseText[21], L"Сахарный диабет");
        EXPECT_EQ(DrugText[2], L"cordarone");
        EXPECT_EQ(FindingText[3], L"WPW");
        EXPECT_EQ(FindingText[4], L"Undetermined");
        EXPECT_EQ(ProcText[0], L"FAULT");
        EXPECT_EQ(ProcText[1], L"MARK");
        for (size_t i = 2; i <= 7; ++i) EXPECT_EQ(ProcText[i], L"") << i;
        EXPECT_EQ(ProcText[8], L"н");
        EXPECT_EQ(ProcText[9], L"");
    }
}

TEST_F(Vocabulary, AnyOtherSettingKeepsEveryRussianText) {
    for (const wchar_t* setting : {L"eng", L"RUS", L""}) {
        Start(setting, TextEncoding::Ansi);
        EXPECT_EQ(ConstitutionText[0], L"Нормостеник") << setting;
        EXPECT_EQ(ConstitutionText[1], L"Гиперстеник") << setting;
        EXPECT_EQ(DiseaseText[1], L"Нефрит или пиелонефрит") << setting;
        EXPECT_EQ(DrugText[2], L"кордарон") << setting;
        EXPECT_EQ(FindingText[4], L"Не определен") << setting;
        EXPECT_EQ(ProcText[0], L"СБОЙ") << setting;
        EXPECT_EQ(ProcText[9], L"с") << setting;
    }
}

TEST_F(Vocabulary, EnglishWithoutALanguageFileKeepsTheRussianTexts) {
    Start(L"ENG", TextEncoding::Ansi);
    DeleteFileW(LangFile.c_str());
    InitializeCommonConst();
    InitializeCommonProc();
    EXPECT_EQ(ConstitutionText[0], L"Нормостеник");
    EXPECT_EQ(ProcText[1], L"МЕТКА");
}

}  // namespace
