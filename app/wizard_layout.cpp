#include "app/wizard_layout.h"

#include <commctrl.h>

namespace {

using namespace std::string_view_literals;

constexpr std::wstring_view kStartLines[] = {
    L"Добро пожаловать в программу установки комплекса "sv,
    L"\"VELMORA-ХОЛТЕР\"!"sv,
    L""sv,
    L"Для продолжения установки, нажмите кнопку \"Далее\"."sv,
    L""sv,
    L"Для выхода из программы установки нажмите кнопку \"Отмена\"."sv,
};

constexpr std::wstring_view kInputPathLines[] = {
    L"Пожалуйста, задайте путь куда устанавливать программную часть "sv,
    L"комплекса \"Velmora-Холтер\""sv,
};

constexpr std::wstring_view kComponentsLines[] = {
    L" - Если у Вас есть 2-х канальный кабель для регистрации детских ЭКГ, поставьте "sv,
    L"галочку в поле \"Регистрация 2-х канальной ЭКГ\"."sv,
    L" - Если у Вас есть универсальный регистратор, поставьте галочку в поле "sv,
    L"\"Универсальный регистратор\"."sv,
    L" - Если у Вас установлен монитор АД \"BPLab\", поставьте галочку в поле \"установлен "sv,
    L"монитор АД \"BPLab\"\"."sv,
    L""sv,
    L" - Задайте, пожалуйста, тип ЭКГ, который Вы чаще всего будете регистрировать."sv,
    L""sv,
    L" - Нажмите кнопку \"Начать установку\", для того чтобы установить программное "sv,
    L"обеспечение на Ваш компъютер."sv,
    L""sv,
    L"Все настройки можно изменить позже, во время работы с программой "sv,
    L"\"Velmora-Холтер\" в меню \"Настройки\"."sv,
};

constexpr std::wstring_view kCancelLines[] = {
    L"Установка комплекса \"Velmora-Холтер\" отменена!"sv,
    L""sv,
    L"Нажмите кнопку \"Выход\", для выхода из программы установки."sv,
};

constexpr std::wstring_view kChangeFontLines[] = {
    L"В настройках операционной системы Вашего компьютера выбрано использование "sv,
    L"\"мелкого\" размера шрифта."sv,
    L""sv,
    L"Для корректной работы программы \"Velmora-Холтер\" требуется использование "sv,
    L"\"крупного\" размера шрифта."sv,
    L""sv,
    L"Рекомендуется произвести изменения. Для этого надо нажать кнопку \"Изменить "sv,
    L"настройки\". В появившемся окне надо ответить \"Да\"."sv,
    L""sv,
    L"Если Вы считаете, что установка \"крупного\" размера шрифта Вам не нужна, "sv,
    L"нажмите кнопку \"Выход\"."sv,
};

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kMaroon = RGB(128, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
// The window-text colour is looked up when drawing.
constexpr COLORREF kWindowText = CLR_DEFAULT;

// The options page's check box sits between its text box and its bar; the
// text box ends above it, so a click on the box never lands in the text.
constexpr int kDriverBoxTop = kPageHeight - 37 - kMargin - 34;
constexpr int kDriverBoxHeight = 24;
constexpr int kComponentsMemoHeight = kDriverBoxTop - 2 * kMargin;

const PageLayout kPages[kPageCount] = {
    {kStartLines, FontKind::Times20, kNavy, 0, 42, ID_BtnStartNext, ID_BtnCancel},
    {kInputPathLines, FontKind::Times20, kBlack, 60, 37, ID_BtnInputPathNext, ID_BtnCancel2},
    {kComponentsLines, FontKind::Tahoma15, kBlack, kComponentsMemoHeight, 37, ID_BtnInsatall, ID_BtnCancel4},
    {{}, FontKind::Tahoma15, kBlack, -1, 37, 0, 0},
    {kCancelLines, FontKind::Times20, kMaroon, 177, 37, ID_BtnExitCancel, 0},
    {kChangeFontLines, FontKind::Tahoma15, kWindowText, 0, 37, 0, 0},
};

// Bar buttons: 25 high, 6 from the bar's ends, 6 apart; the bar is as wide
// as the page less the margins.
constexpr int kBarWidth = kPageWidth - 2 * kMargin;
constexpr int kButtonHeight = 25;
constexpr int Right(int width) {
    return kBarWidth - 6 - width;
}
constexpr int Top(int barHeight) {
    return (barHeight - kButtonHeight) / 2;
}

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefault = WS_TABSTOP | BS_DEFPUSHBUTTON;

// In creation order, which is also the Tab order: each page from top to
// bottom, bar buttons from left to right.
const ControlLayout kControls[] = {
    {tsStart, Parent::Bar, WC_BUTTONW, L"Отмена", kButton, {6, Top(42), 98, kButtonHeight}, ID_BtnCancel},
    {tsStart,
     Parent::Bar,
     WC_BUTTONW,
     L"Далее",
     kDefault,
     {Right(98), Top(42), 98, kButtonHeight},
     ID_BtnStartNext},

    // The folder panel's 2-pixel border is in the page colour: page-coloured
    // space around the field and its button, which carry their own edges.
    {tsInputPath, Parent::Page, L"VhPanel", L"", 0, {kMargin, kMargin + 60 + 10, kBarWidth, 32}, ID_PnlPath},
    {tsInputPath,
     Parent::PathPanel,
     WC_EDITW,
     L"",
     WS_TABSTOP | ES_AUTOHSCROLL,
     {2, 2, kBarWidth - 4 - 91, 28},
     ID_ePath,
     WS_EX_CLIENTEDGE},
    {tsInputPath,
     Parent::PathPanel,
     WC_BUTTONW,
     L"Выбрать",
     kButton,
     {kBarWidth - 2 - 91, 2, 91, 28},
     ID_BtnSelectPath},
    {tsInputPath, Parent::Bar, WC_BUTTONW, L"Отмена", kButton, {6, Top(37), 98, kButtonHeight}, ID_BtnCancel2},
    {tsInputPath,
     Parent::Bar,
     WC_BUTTONW,
     L"Далее",
     kDefault,
     {Right(98), Top(37), 98, kButtonHeight},
     ID_BtnInputPathNext},

    {tsInputComponents,
     Parent::Page,
     WC_BUTTONW,
     L"Устанавливать драйвер",
     WS_TABSTOP | BS_AUTOCHECKBOX,
     {kMargin + 4, kDriverBoxTop, 300, kDriverBoxHeight},
     ID_CbDriverInstal},
    {tsInputComponents,
     Parent::Page,
     WC_COMBOBOXW,
     L"",
     CBS_DROPDOWNLIST,
     {kMargin, kMargin, 200, 120},
     ID_CBWindows},
    {tsInputComponents,
     Parent::Bar,
     WC_BUTTONW,
     L"Отмена",
     kButton,
     {6, Top(37), 98, kButtonHeight},
     ID_BtnCancel4},
    {tsInputComponents,
     Parent::Bar,
     WC_BUTTONW,
     L"Назад",
     kButton,
     {Right(168) - 6 - 98, Top(37), 98, kButtonHeight},
     ID_BtnInputComponentsBack},
    {tsInputComponents,
     Parent::Bar,
     WC_BUTTONW,
     L"Начать установку",
     kDefault,
     {Right(168), Top(37), 168, kButtonHeight},
     ID_BtnInsatall},

    {tsProgressInstall,
     Parent::Page,
     WC_LISTBOXW,
     L"",
     WS_VSCROLL | WS_HSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT | LBS_NOSEL,
     {kMargin, kMargin, kBarWidth, kPageHeight - 37 - 3 * kMargin},
     ID_LogList},
    {tsProgressInstall,
     Parent::Bar,
     WC_BUTTONW,
     L"Выход",
     kDefault,
     {Right(99), Top(37), 99, kButtonHeight},
     ID_BtnExit},

    {tsCancel,
     Parent::Bar,
     WC_BUTTONW,
     L"Выход",
     kDefault,
     {Right(99), Top(37), 99, kButtonHeight},
     ID_BtnExitCancel},

    {tsChangeFontSize,
     Parent::Bar,
     WC_BUTTONW,
     L"Изменить настройки",
     kButton,
     {Right(99) - 6 - 196, Top(37), 196, kButtonHeight},
     ID_BtnChangeFont},
    {tsChangeFontSize,
     Parent::Bar,
     WC_BUTTONW,
     L"Выход",
     kDefault,
     {Right(99), Top(37), 99, kButtonHeight},
     ID_BtnExitOnChangefont},
};

}  // namespace

const PageLayout& LayoutOf(Page page) {
    return kPages[page];
}

std::span<const ControlLayout> Controls() {
    return kControls;
}
