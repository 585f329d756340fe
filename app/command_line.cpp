#include "app/command_line.h"

#include "app/exit_codes.h"
#include "app/folder_check.h"
#include "base/strings.h"

namespace {

// Switch names and their fixed values are Latin: they compare with ASCII
// case folding only.
bool SameAsciiWord(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

// The switches that take a value after "=".
enum class Switch { Unattended, Help, Folder, Driver, Runtime, Log, Database, AllUsers, Uninstall };

struct SwitchName {
    std::wstring_view name;
    Switch which;
    bool takesValue;
};

constexpr SwitchName kSwitches[] = {
    {L"S", Switch::Unattended, false},
    {L"?", Switch::Help, false},
    {L"D", Switch::Folder, true},
    {L"DRIVER", Switch::Driver, true},
    {L"RUNTIME", Switch::Runtime, true},
    {L"LOG", Switch::Log, true},
    {L"DB", Switch::Database, true},
    {L"ALLUSERS", Switch::AllUsers, false},
    {L"UNINSTALL", Switch::Uninstall, false},
};

struct RuntimeName {
    std::wstring_view name;
    RuntimeChoice choice;
};

constexpr RuntimeName kRuntimes[] = {{L"WIN7", RuntimeChoice::Modern}, {L"WINXP", RuntimeChoice::WindowsXp}};

// The silent switches of other installer families, which deployment tools
// add out of habit: refused like any unknown switch, but a run that asks
// for one has nobody to read a box either.
constexpr std::wstring_view kForeignSilentSwitches[] = {L"VERYSILENT", L"SILENT", L"SUPPRESSMSGBOXES",
                                                        L"QN",         L"QUIET",  L"PASSIVE"};

bool IsForeignSilentSwitch(std::wstring_view word) {
    if (word.size() < 2 || (word[0] != L'/' && word[0] != L'-')) return false;
    for (std::wstring_view name : kForeignSilentSwitches)
        if (SameAsciiWord(word.substr(1), name)) return true;
    return false;
}

// A full path: a drive letter with its "\" ("C:\...") or a network share
// ("\\server\share\..."). Relative and drive-relative paths ("Holter",
// "\Holter", "C:Holter") would depend on the current folder.
bool IsFullPath(std::wstring_view path) {
    const bool drive = path.size() >= 3 &&
                       ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
                       path[1] == L':' && path[2] == L'\\';
    const bool share = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
    return drive || share;
}

// What is wrong with a character no file name may hold, or "". A ":" past
// the drive would name a stream of a file rather than a folder. A quote
// mostly comes from a "\" written before a closing quote, which escapes
// that quote.
std::wstring_view BadCharacter(std::wstring_view path) {
    for (size_t i = 0; i < path.size(); ++i) {
        const wchar_t c = path[i];
        if (c == L'"')
            return L"кавычка в пути (обратная косая черта перед закрывающей кавычкой экранирует её: уберите эту "
                   L"черту).";
        if (c < 0x20 || std::wstring_view(L"<>|*?").find(c) != std::wstring_view::npos || (c == L':' && i != 1))
            return L"недопустимый символ в пути.";
    }
    return {};
}

// A refusal: its text is for the user; there is no system code.
Result<> Refusal(std::wstring_view text) {
    return Result<>::Failure(text, 0);
}

Result<> BadValue(std::wstring_view argument, std::wstring_view why) {
    return Refusal(L"Неверное значение ключа командной строки " + std::wstring(argument) + L": " +
                   std::wstring(why));
}

// The same checks as the folder page, and a full path.
Result<> CheckFolder(std::wstring_view argument, std::wstring_view value, std::wstring& folder) {
    const FolderCheck check = CheckInstallFolder(value);
    if (check.verdict == FolderVerdict::Empty)
        return BadValue(argument, L"не выбран путь для установки программы.");
    if (check.verdict == FolderVerdict::RootOnly)
        return BadValue(argument, L"программу нельзя устанавливать в корневой каталог.");
    if (const std::wstring_view bad = BadCharacter(check.path); !bad.empty()) return BadValue(argument, bad);
    if (check.verdict != FolderVerdict::Accepted || !IsFullPath(check.path))
        return BadValue(argument, L"нужен полный путь, например C:\\Holter.");
    folder = check.path;
    return {};
}

// Sets file only when the value is sound.
Result<> CheckLogFile(std::wstring_view argument, std::wstring_view value, std::optional<std::wstring>& file) {
    std::wstring path = TrimControl(value);
    if (path.empty() || path.back() == L'\\') return BadValue(argument, L"нужно имя файла журнала.");
    if (const std::wstring_view bad = BadCharacter(path); !bad.empty()) return BadValue(argument, bad);
    if (!IsFullPath(path)) return BadValue(argument, L"нужен полный путь, например C:\\Logs\\setup.log.");
    file = std::move(path);
    return {};
}

Result<> ApplyValue(CommandLine& line, Switch which, std::wstring_view argument, std::wstring_view value) {
    switch (which) {
        case Switch::Folder:
            return CheckFolder(argument, value, line.installFolder.emplace());
        case Switch::Log:
            return CheckLogFile(argument, value, line.logFile);
        case Switch::Driver:
            if (SameAsciiWord(value, L"YES") || SameAsciiWord(value, L"NO")) {
                line.driver = SameAsciiWord(value, L"YES");
                return {};
            }
            return BadValue(argument, L"допустимы YES и NO.");
        case Switch::Runtime:
            for (const RuntimeName& runtime : kRuntimes) {
                if (!SameAsciiWord(value, runtime.name)) continue;
                line.runtime = runtime.choice;
                return {};
            }
            return BadValue(argument, L"допустимы WIN7 и WINXP.");
        case Switch::Database:
            line.replaceDatabase = SameAsciiWord(value, L"REPLACE");
            return line.replaceDatabase ? Result<>() : BadValue(argument, L"допустимо только REPLACE.");
        case Switch::Unattended:
        case Switch::Help:
        case Switch::AllUsers:
        case Switch::Uninstall:
            break;
    }
    return {};
}

// Applies one argument; fails with what is wrong with it.
Result<> ApplyArgument(CommandLine& line, std::vector<Switch>& seen, const std::wstring& argument) {
    const std::wstring unknown = L"Неизвестный ключ командной строки: " + argument;
    if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) return Refusal(unknown);
    const size_t equals = argument.find(L'=');
    const std::wstring_view name =
        std::wstring_view(argument).substr(1, equals == std::wstring::npos ? std::wstring::npos : equals - 1);
    for (const SwitchName& known : kSwitches) {
        if (!SameAsciiWord(name, known.name)) continue;
        const bool hasValue = equals != std::wstring::npos;
        // Taken even from a line refused for another reason: a refusal of
        // an unattended line must show no box.
        if (!hasValue && known.which == Switch::Unattended) line.unattended = true;
        if (!hasValue && known.which == Switch::Help) line.help = true;
        if (!hasValue && known.which == Switch::Uninstall) line.uninstall = true;
        for (Switch done : seen)
            if (done == known.which) return Refusal(L"Ключ командной строки задан дважды: " + argument);
        seen.push_back(known.which);
        if (known.takesValue != hasValue)
            return known.takesValue ? BadValue(argument, L"после имени ключа нужен знак \"=\" и значение.")
                                    : BadValue(argument, L"этот ключ не принимает значения.");
        if (known.which == Switch::AllUsers) line.allUsers = true;
        if (!known.takesValue) return {};
        return ApplyValue(line, known.which, argument, std::wstring_view(argument).substr(equals + 1));
    }
    if (IsForeignSilentSwitch(argument)) {
        line.unattended = true;
        return Refusal(unknown +
                       L" (ключ программ установки другого типа; установка без участия пользователя: /S)");
    }
    return Refusal(unknown);
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments) {
    CommandLine line;
    std::vector<Switch> seen;
    // Every argument is read, so /S and /? count wherever they stand; the
    // first problem is the one reported.
    for (const std::wstring& argument : arguments) {
        Result<> problem = ApplyArgument(line, seen, argument);
        if (line.error.ok()) line.error = std::move(problem);
    }
    // A removal installs nothing: an installation's choice with it is a
    // mistake of the command, not something to ignore.
    if (line.uninstall && line.error.ok() &&
        (line.driver || line.runtime || line.replaceDatabase || line.allUsers))
        line.error =
            Refusal(L"Ключи /DRIVER, /RUNTIME, /DB и /ALLUSERS не применяются при удалении (/UNINSTALL).");
    return line;
}

bool MentionsUnattended(std::wstring_view commandLine) {
    constexpr std::wstring_view kBreaks = L" \t\"";
    for (size_t start = 0; start < commandLine.size();) {
        size_t end = commandLine.find_first_of(kBreaks, start);
        if (end == std::wstring_view::npos) end = commandLine.size();
        const std::wstring_view word = commandLine.substr(start, end - start);
        if (SameAsciiWord(word, L"/S") || SameAsciiWord(word, L"-S") || IsForeignSilentSwitch(word)) return true;
        start = end + 1;
    }
    return false;
}

std::wstring CommandLineHelp(std::wstring_view defaultFolder) {
    using namespace exit_code;
    // A message box wraps long lines: one item a line, its name first.
    const auto code = [](int value, std::wstring_view meaning) {
        return L"\r\n" + std::to_wstring(value) + L" — " + std::wstring(meaning);
    };
    return L"VelmoraSetup.exe [/S] [/D=<каталог>]\r\n"
           L"[/DRIVER=YES|NO] [/RUNTIME=WIN7|WINXP]\r\n"
           L"[/LOG=<файл>] [/DB=REPLACE] [/ALLUSERS]\r\n"
           L"VelmoraSetup.exe /UNINSTALL [/S] [/D=<каталог>] [/LOG=<файл>]\r\n"
           L"\r\n"
           L"/S — без страниц мастера и без вопросов; ход установки только в журнале установки.\r\n"
           L"/D=<каталог> — каталог установки (по умолчанию " +
           WithTrailingBackslash(defaultFolder) +
           L").\r\n"
           L"/DRIVER=YES|NO — ставить ли драйвер интерфейсного блока (с /S по умолчанию NO).\r\n"
           L"/RUNTIME=WIN7|WINXP — среда базы данных: Windows 7 и новее или XP (по умолчанию WIN7).\r\n"
           L"/LOG=<файл> — журнал установки; каталоги создаются (по умолчанию в %TEMP%).\r\n"
           L"/DB=REPLACE — с /S заменить имеющуюся базу данных (прежняя остаётся копией с датой).\r\n"
           L"/ALLUSERS — с /S ярлык на рабочем столе всех пользователей.\r\n"
           L"/UNINSTALL — удаление по протоколу установки; база данных, настройки, шрифты и драйвер остаются.\r\n"
           L"/? — эта справка (с /S только в журнале установки).\r\n"
           L"\r\n"
           L"Коды завершения:" +
           code(kDone, L"установка завершена;") +
           code(kRestartNeeded, L"установка завершена, для драйвера нужна перезагрузка;") +
           code(kStepsFailed, L"установка завершена, но часть шагов не выполнена (см. журнал);") +
           code(kBadSwitch, L"неверный ключ командной строки;") +
           code(kNoRoom, L"мало места на диске, ничего не записано;") +
           code(kNeedsAdministrator, L"нужны права администратора, ничего не записано;") +
           code(kFailed, L"установка прервана ошибкой (см. журнал);") +
           code(kAlreadyRunning, L"уже идёт другая установка;") +
           code(kNotInstalled, L"удаление: протокол установки не найден или не прочитан, ничего не удалено.");
}
