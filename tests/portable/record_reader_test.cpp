#include "engine/record_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "base/utf8.h"

namespace {

const std::wstring kDigest(64, L'a');
const std::wstring kOther(64, L'b');

// A record as the installation files it, with the file lines given.
std::wstring Record(const std::wstring& files, const std::wstring& shortcut = L"C:\\Users\\x\\Desktop\\V.lnk") {
    return L"Протокол установки комплекса \"Velmora-Холтер\"\r\n"
           L"Версия программы установки: 1.0.0.0\r\n"
           L"Уровень выпуска: 010124\r\n"
           L"Каталог установки: C:\\Holter\\\r\n"
           L"Окончание: 2026-12-11 07:00:00\r\n"
           L"Ярлык: " +
           shortcut +
           L"\r\n"
           L"\r\n"
           L"Файл\tРазмер\tSHA-256 дистрибутива\tSHA-256 установленного файла\tИтог\r\n" +
           files;
}

TEST(InstallationRecordReader, ReadsTheHeaderAndEveryFileLine) {
    const RecordReading reading = ReadInstallationRecord(
        Record(L"gbak.exe\t10\t" + kOther + L"\t" + kDigest + L"\tOK\r\n" +
               L"C:\\windows\\Fonts\\TAHOMA.TTF\t-\t-\t-\tоставлен: шрифт уже был в системе\r\n" +
               L"udf\\x.dll\t3\t-\t-\tисходный файл не прочитан: нет\r\n"));
    ASSERT_TRUE(reading.content) << ToUtf8(reading.error);
    const RecordContent& record = *reading.content;
    EXPECT_EQ(record.installFolder, L"C:\\Holter\\");
    EXPECT_EQ(record.releaseLevel, L"010124");
    EXPECT_EQ(record.shortcut, L"C:\\Users\\x\\Desktop\\V.lnk");
    ASSERT_EQ(record.files.size(), 3u);
    EXPECT_EQ(record.files[0].path, L"gbak.exe");
    EXPECT_EQ(record.files[0].installedHash, kDigest) << "the installed copy's, not the distribution's";
    EXPECT_EQ(record.files[0].verdict, L"OK");
    EXPECT_EQ(record.files[1].installedHash, L"");
    EXPECT_EQ(record.files[2].installedHash, L"");
    EXPECT_TRUE(IsFullRecordPath(record.files[1].path));
    EXPECT_FALSE(IsFullRecordPath(record.files[0].path));
    EXPECT_TRUE(IsFullRecordPath(L"\\\\server\\share\\a"));

    EXPECT_EQ(ReadInstallationRecord(Record(L"", L"-")).content->shortcut, L"") << "no shortcut was made";
    EXPECT_TRUE(ReadInstallationRecord(Record(L"")).content->files.empty());
}

// Anything but a whole record is refused, naming the line, so a removal
// never works from a guess.
TEST(InstallationRecordReader, RefusesWhatIsNotAWholeRecord) {
    const std::wstring good = Record(L"");
    const struct {
        std::wstring text;
        const wchar_t* error;
    } cases[] = {
        {L"", L"протокол не полон: нет списка файлов"},
        {L"Протокол удаления комплекса \"Velmora-Холтер\"\r\n", L"строка 1: нет заголовка протокола установки"},
        {good.substr(0, good.find(L"\r\n\r\n") + 2), L"протокол не полон: нет списка файлов"},
        {good.substr(0, good.find(L"Файл\t")), L"протокол не полон: нет списка файлов"},
        {Record(L"").replace(good.find(L"Каталог установки: "), 19, L"Каталог установки "),
         L"строка 4: строка заголовка без \": \""},
        {Record(L"").replace(good.find(L"Каталог установки"), 17, L"Каталог"),
         L"в заголовке нет каталога установки"},
        {Record(L"").replace(good.find(L"Файл\t"), 4, L"Имя"), L"строка 8: нет строки с названиями столбцов"},
        {Record(L"a\t1\t" + kDigest + L"\t" + kDigest + L"\r\n"), L"строка 9: в строке файла не пять полей"},
        {Record(L"a\t1\t-\t" + kDigest + L"\tOK\textra\r\n"), L"строка 9: в строке файла не пять полей"},
        {Record(L"\t1\t-\t" + kDigest + L"\tOK\r\n"), L"строка 9: в строке файла нет пути"},
        {Record(L"a\t1\t-\t" + kDigest.substr(1) + L"\tOK\r\n"), L"строка 9: неверная сумма SHA-256"},
        {Record(L"a\t1\t-\t" + std::wstring(64, L'A') + L"\tOK\r\n"), L"строка 9: неверная сумма SHA-256"},
        {Record(L"udf\\..\\..\\Windows\\System32\\a.dll\t1\t-\t" + kDigest + L"\tOK\r\n"),
         L"строка 9: путь выходит за пределы каталога установки"},
        {Record(L"../x.dll\t1\t-\t" + kDigest + L"\tOK\r\n"),
         L"строка 9: путь выходит за пределы каталога установки"},
        {Record(L"\\Windows\\a.dll\t1\t-\t" + kDigest + L"\tOK\r\n"),
         L"строка 9: путь выходит за пределы каталога установки"},
        {Record(L"gbak.exe:stream\t1\t-\t" + kDigest + L"\tOK\r\n"),
         L"строка 9: путь выходит за пределы каталога установки"},
    };
    for (const auto& c : cases) {
        const RecordReading reading = ReadInstallationRecord(c.text);
        EXPECT_FALSE(reading.content) << ToUtf8(c.text);
        EXPECT_EQ(reading.error, c.error) << ToUtf8(c.text);
    }
}

}  // namespace
