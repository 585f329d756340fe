#!/bin/sh
# Opens the page to print of a real installation's record in a real browser,
# Debian's chromium, headless: prints it to PDF (A4, as the page asks) and
# lays it out in a window 1024 pixels wide. Checks that the PDF holds the
# header and every row of the record, with each verdict on the page at a
# readable size, and that at 1024 pixels nothing lies beyond the window's
# right edge and every verdict is in view. The pictures stay for people to
# look at: <build tree>/record-page/record-page.pdf and record-page.png.
# The installation is made by the engine tests (InstallationRecordOnDisk).
# Exits 77 (skipped, with the reason) only where chromium cannot run.
# Usage: record_page.sh <build tree>
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="$(realpath "$1")"
folder="$tree/record-page"
fail() { echo "FAIL: $*"; exit 1; }
skip() { echo "SKIPPED: $*"; exit 77; }
. "$root/tests/record_on_disk.sh"

command -v chromium >/dev/null || skip "the record's page in a browser: chromium is not installed (tools/deps.sh)"
command -v pdftotext >/dev/null || fail "pdftotext is not installed (poppler-utils, tools/deps.sh)"
profile="$(mktemp -d)"
trap 'rm -rf "$profile"' EXIT
# Headless, without the sandbox (the tests run as root) and with a profile
# of its own; chromium's complaints about the missing session bus go to
# its log.
browse() {
    chromium --headless --no-sandbox --disable-gpu --user-data-dir="$profile" --no-pdf-header-footer "$@" \
        2>>"$folder/chromium.log"
}
if ! chromium --headless --no-sandbox --disable-gpu --user-data-dir="$profile" --dump-dom about:blank \
    >/dev/null 2>"$profile/start.log"; then
    skip "the record's page in a browser: chromium does not start here: $(tail -n 1 "$profile/start.log")"
fi

record_installation "$tree" "$folder"
page=$(ls "$folder"/install/Settings/VelmoraSetup\ record\ *.html)
record="${page%.html}.txt"
# The record's rows: file and verdict, tab-separated.
tr -d '\r' <"$record" | awk -F'\t' 'rows && NF == 5 { print $1 "\t" $5 } $1 == "Файл" { rows = 1 }' \
    >"$folder/rows.txt"
rows=$(wc -l <"$folder/rows.txt")
[ "$rows" -ge 20 ] || fail "the record lists only $rows files"

# Printed: one A4 sheet width, the header, and every row's file name and
# verdict as words on the page, the verdicts at 7 points or more.
browse --print-to-pdf="$folder/record-page.pdf" "file://$page"
pdfinfo "$folder/record-page.pdf" | grep -q '^Page size:.*(A4)$' ||
    fail "not printed on A4: $(pdfinfo "$folder/record-page.pdf" | grep '^Page size')"
pdftotext -enc UTF-8 "$folder/record-page.pdf" "$folder/record-page.txt"
tr -s ' \n' '  ' <"$folder/record-page.txt" >"$folder/printed.txt"
for text in 'Протокол установки комплекса "Velmora-Холтер"' 'Версия программы установки' 'Каталог установки' \
    'Права администратора' 'Окончание' 'Итог'; do
    grep -qF "$text" "$folder/printed.txt" || fail "the printed page lacks \"$text\""
done
pdftotext -enc UTF-8 -bbox "$folder/record-page.pdf" "$folder/words.html"
# Each word once a line: page width, then x-end, height and text (numbers
# with a decimal point, whatever locale the tests run under).
LC_ALL=C awk -F'"' '/<page / { width = $2 } /<word / { w = $0; sub(/.*">/, "", w); sub(/<\/word>.*/, "", w)
    print width "\t" $6 "\t" $8 - $4 "\t" w }' "$folder/words.html" >"$folder/words.txt"
failures=0
tab="$(printf '\t')"
while IFS="$tab" read -r file verdict; do
    for word in $file $verdict; do
        found=$(WORD="$word" LC_ALL=C awk -F'\t' '$4 == ENVIRON["WORD"] && $2 <= $1 && $3 >= 7 { n++ } END { print n + 0 }' \
            "$folder/words.txt")
        if [ "$found" -eq 0 ]; then
            printf '%s\n' "not on the printed page, or smaller than 7 points: \"$word\" of $file ($verdict)" >&2
            failures=$((failures + 1))
        fi
    done
done <"$folder/rows.txt"
[ "$failures" -eq 0 ] || fail "$failures words of the rows missing from the printed page"

# On a 1024 pixel screen: the page's own layout, measured in the browser.
sed 's|</body>|<script>\
const width = document.documentElement.clientWidth;\
const rows = [...document.querySelectorAll("thead ~ tbody tr")];\
const hidden = rows.filter(r => r.cells[1].getBoundingClientRect().right > width).length;\
const result = document.createElement("pre");\
result.id = "layout";\
result.textContent = `rows ${rows.length} verdicts-beyond ${hidden} page-width ${document.documentElement.scrollWidth} window ${width}`;\
document.body.append(result);\
</script></body>|' "$page" >"$folder/measured.html"
layout=$(browse --window-size=1024,768 --dump-dom "file://$folder/measured.html" |
    sed -n 's|.*<pre id="layout">\(.*\)</pre>.*|\1|p')
echo "at 1024 pixels: $layout"
set -- $layout
[ "$2" -eq "$rows" ] || fail "the page shows $2 rows, the record has $rows"
[ "$4" -eq 0 ] || fail "$4 verdicts beyond the right edge of a 1024 pixel window"
[ "$6" -le "$8" ] || fail "the page is $6 pixels wide in a $8 pixel window"
browse --window-size=1024,2400 --screenshot="$folder/record-page.png" "file://$page"
echo "OK: the record's page in chromium: $rows rows, printed on A4 and in view at 1024 pixels" \
    "($folder/record-page.pdf, $folder/record-page.png)"
