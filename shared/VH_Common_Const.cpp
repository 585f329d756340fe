#include "shared/VH_Common_Const.h"

std::array<std::wstring, 3> ConstitutionText;
std::array<std::wstring, 22> DiseaseText;
std::array<std::wstring, 9> DrugText;
std::array<std::wstring, 5> FindingText;

namespace {

constexpr VocabularyEntry kConstitution[] = {
    {L"Normo", L"Нормостеник"},
    {L"Giper", L"Гиперстеник"},
    {L"Asten", L"Астеник"},
};

constexpr VocabularyEntry kDisease[] = {
    {L"Gip", L"Гипертония"},
    {L"NIP", L"Нефрит или пиелонефрит"},
    {L"NMK", L"Нарушение мозгового кровообращения"},
    {L"IBS", L"ИБС"},
    {L"Ste", L"Стенокардия"},
    {L"PKa", L"Постинфарктный кардиосклероз"},
    {L"IPF", L"Инфаркт, подострая фаза"},
    {L"Rev", L"Ревматизм"},
    {L"NCD", L"НЦД"},
    {L"HNZ", L"Хрон. неспецифич. заболевания легких"},
    {L"BAs", L"Бронхиальная астма"},
    {L"IOF", L"Инфаркт, острая фаза"},
    {L"MSt", L"Митральный стеноз"},
    {L"API", L"Аортальный порок или митр. недостат"},
    {L"DMP", L"Дефект межжелудочковой перегородки"},
    {L"DMPP", L"Дефект межпредсердной перегородки"},
    {L"OAP", L"Общий артериальный проток"},
    {L"SAo", L"Стеноз аорты"},
    {L"KAo", L"Коарктация аорты"},
    {L"SLA", L"Стеноз лег. арт, тетр. и триада Фало"},
    {L"IVR", L"Искусственный водитель ритма"},
    {nullptr, L"Сахарный диабет"},
};

constexpr VocabularyEntry kDrug[] = {
    {L"SGl", L"сердечные гликозиды"},
    {L"Hin", L"хинидин"},
    {L"Kor", L"кордарон"},
    {L"PAn", L"пр. антиритмические"},
    {L"NPr", L"нитропрепараты"},
    {L"ACA", L"Антогонисты Ca"},
    {L"BBl", L"Б-блокаторы"},
    {L"Ant", L"антигипертензионные"},
    {L"Diu", L"диуретики"},
};

constexpr VocabularyEntry kFinding[] = {
    {L"Norm", L"Норма"}, {L"BLN", L"БЛН"}, {L"BPN", L"БПН"}, {nullptr, L"WPW"}, {L"nOp", L"Не определен"},
};

constexpr std::wstring_view kSection = L"VH_Messages";

template <std::size_t N>
void SetRussian(std::array<std::wstring, N>& list, const VocabularyEntry (&entries)[N]) {
    for (std::size_t i = 0; i < N; ++i) list[i] = entries[i].russian;
}

}  // namespace

void TranslateList(std::span<std::wstring> list, std::span<const VocabularyEntry> entries,
                   const IniText& language_file, std::wstring_view section) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].key) list[i] = language_file.ReadString(section, entries[i].key, entries[i].russian);
}

void InitializeCommonConst() {
    SetRussian(ConstitutionText, kConstitution);
    SetRussian(DiseaseText, kDisease);
    SetRussian(DrugText, kDrug);
    SetRussian(FindingText, kFinding);
}

void TranslateCommonConst(const IniText& language_file) {
    TranslateList(ConstitutionText, kConstitution, language_file, kSection);
    TranslateList(DiseaseText, kDisease, language_file, kSection);
    TranslateList(DrugText, kDrug, language_file, kSection);
    TranslateList(FindingText, kFinding, language_file, kSection);
}

void FinalizeCommonConst() {
    ConstitutionText = {};
    DiseaseText = {};
    DrugText = {};
    FindingText = {};
}
