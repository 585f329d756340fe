#!/bin/sh
# The measuring half of tools/bench.sh: runs on a virtual display, with one
# wineserver kept alive for the whole run, and prints the summary.
# Usage: measure.sh <build folder> <runs>
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$1"
runs="$2"
work="$build/bench"
. "$root/tools/wine-env.sh"
export WINEPREFIX="$work/wineprefix"
# Wine runs with the Russian regional settings; the figures are printed and
# parsed by the shell's tools with a decimal point.
wine_locale="$LC_ALL"
export LC_ALL=C
wine() { LC_ALL="$wine_locale" command wine "$@"; }

bench="$build/$VH_WIN_TREE/velmora_bench.exe"
samples="$work/samples"
package="$work/package"
small="$work/package-small"
large="$work/package-large"
install="$work/install"
copies="$work/copies"
fonts="$WINEPREFIX/drive_c/windows/Fonts"
pictures="BACKGROUND MAIN LOGO TITLE_PNL_L TITLE_PNL_R TITLE_PNL_M TITLE"
payload="DTAfb Firebird UDF fonts backup Updater"  # what the pass copies (the driver step is off)
database="DTAfb/V12.FDB"

# The generated files are large: never leave them behind.
cleanup() {
    rm -rf "$package" "$small" "$large" "$install" "$copies" "$work/one"
    wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A Linux path as Wine sees it; any second argument adds a trailing "\".
winpath() { printf 'Z:%s%s' "$(printf '%s' "$1" | tr / '\\')" "${2:+\\}"; }
now() { date +%s%N; }
seconds_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.4f\n", (b - a) / 1e9 }'; }
# The value of the "name value" line in a result file.
value() { tr -d '\r' <"$2" | sed -n "s/^$1 //p"; }
# Keeps a sample, except from a warm-up run (run 0).
record() { [ "${run:-1}" -eq 0 ] || echo "$2" >>"$samples/$1"; }
# median min max of a figure's samples.
stats() {
    sort -g "$samples/$1" | awk '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.4f %.4f %.4f\n", m, v[1], v[NR] }'
}
median() { stats "$1" | cut -d' ' -f1; }

# Forgets the previous installation: an empty install folder and no fonts
# installed (the fonts folder of a fresh prefix is empty).
fresh_install() {
    rm -rf "$install"
    rm -f "$fonts"/*
    rm -f "$work/release"
}

# The Linux process whose command line (arguments joined by blanks) starts
# with $1.
process_of() {
    for cmdline in /proc/[0-9]*/cmdline; do
        # Processes come and go meanwhile.
        case "$({ tr '\0' ' ' <"$cmdline"; } 2>/dev/null)" in
            "$1"*)
                basename "$(dirname "$cmdline")"
                return
                ;;
        esac
    done
}

# One installation pass, headless ("pass"), headless keeping the
# installation record ("recordpass") or through the real installer's wizard
# ("installer"), in a fresh process. That process waits after
# printing, so its high-water mark can be read from /proc as well.
pass() { # pass|recordpass|installer <package folder> <result file>
    fresh_install
    exe="$(winpath "$2/VelmoraSetup.exe")"
    : >"$3"
    sync
    wine "$bench" "$1" "$exe" "$(winpath "$install" /)" --hold "$(winpath "$work/release")" >"$3" 2>"$3.log" &
    while ! grep -q '^holding' "$3"; do
        kill -0 $! 2>/dev/null || { cat "$3" "$3.log"; echo "the $1 run failed" >&2; exit 1; }
        sleep 0.05
    done
    case "$1" in
        installer) pid=$(process_of "$exe ") ;;
        *) pid=$(process_of "$bench $1 ") ;;
    esac
    hwm_kib=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pid/status")
    echo "$1_vmhwm $((hwm_kib * 1024))" >>"$3"
    touch "$work/release"
    wait $!
}

# Times a Linux command; each timed copy starts with no dirty pages left
# from the one before.
timed() { # <result figure> <command>...
    figure="$1"
    shift
    sync
    start=$(now)
    "$@"
    record "$figure" "$(seconds_since "$start")"
}

# Where the time of a pass went, from its progress marks and, for the steps
# that show no line (the trees, the update script, the release level, the
# shortcut), from the millisecond stamps of its setup log. Prints one
# "<part> <seconds> <peak MiB after it>" line per part; the peak is that of
# the next progress mark for the parts the log times.
phase_times() { # <result file>
    tr -d '\r' <"$1" | awk '
        $1 == "mark" && /V12\.FDB\.\.\.\.$/ { db0 = $2; m1 = $3 }
        $1 == "mark" && /V12\.FDB\.\.\.\.Завершено/ { db1 = $2; m2 = $3 }
        $1 == "mark" && $4 " " $5 == "not busy" { lib = $2; m3 = $3 }
        $1 == "mark" && $4 == "Шрифт" { font = $2; m4 = $3 }
        $1 == "mark" && $4 " " $5 == "exit enabled" { end = $2; m5 = $3 }
        $1 == "logmark" && $3 " " $4 " " $5 == "Newest update package:" { trees = $2 }
        $1 == "logmark" && $3 " " $4 == "Install.cmd of" { script = $2 }
        $1 == "logmark" && $3 " " $4 " " $5 == "Release level recorded:" { level = $2 }
        $1 == "logmark" && $3 ~ /^Shortcut/ { link = $2 }
        END {
            if (font == "") { font = lib; m4 = m3 }
            printf "settings %.3f %.2f\n", db0, m1
            printf "database %.3f %.2f\n", db1 - db0, m2
            printf "runtime %.3f %.2f\n", lib - db1, m3
            printf "fonts %.3f %.2f\n", font - lib, m4
            printf "trees %.3f %.2f\n", trees - font, m5
            printf "script %.3f %.2f\n", script - trees, m5
            printf "level %.3f %.2f\n", level - script, m5
            printf "link %.3f %.2f\n", link - level, m5
            printf "rest %.3f %.2f\n", end - link, m5
        }'
}

phases() { # <result file>
    echo "   step                          seconds   peak working set after it (MiB)"
    phase_times "$1" | while read -r part seconds peak; do
        case "$part" in
            settings) label="settings, folders" ;;
            database) label="database copy" ;;
            runtime) label="runtime, libraries" ;;
            fonts) label="fonts" ;;
            trees) label="backup and Updater trees" ;;
            script) label="update script" ;;
            level) label="release level" ;;
            link) label="desktop shortcut" ;;
            rest) label="the end" ;;
        esac
        printf '   %-29s %7.3f   %7.2f\n' "$label" "$seconds" "$peak"
    done
}

rm -rf "$samples" "$package" "$small" "$large" "$install" "$copies"
mkdir -p "$samples" "$copies"
LC_ALL="$wine_locale" wineserver -p
wine wineboot >/dev/null 2>&1 || true
echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
    "$(awk '/^MemTotal/ { printf "%.0f GiB RAM", $2 / 1048576 }' /proc/meminfo), Linux $(uname -r)," \
    "$(command wine --version), build folder on $(df -T "$work" | awk 'NR == 2 { print $2 }')"
echo "Load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== Reference package (1 GiB database, 2,000 small files) and a small one (16 MiB database)"
start=$(now)
wine "$bench" package "$(winpath "$package" /)"
echo "   laid out in $(seconds_since "$start") s"
wine "$bench" package "$(winpath "$small" /)" 16777216
cp "$build/$VH_WIN_TREE/VelmoraSetup.exe" "$package/"
cp "$build/$VH_WIN_TREE/VelmoraSetup.exe" "$small/"
echo "   payload copied by the pass: $(cd "$package" && du -scm $payload | tail -1 | cut -f1) MiB in" \
    "$(cd "$package" && find $payload -type f | wc -l) files"

echo "== Start-up to the painted welcome page ($runs runs after a warm-up)"
wine "$bench" welcome "$(winpath "$build/$VH_WIN_TREE/VelmoraSetup.exe")" "$(winpath "$root/app/resources/TITLE.png")" \
    "$runs" >"$work/welcome.txt"
for figure in welcome_visible_seconds welcome_painted_seconds welcome_peak_working_set; do
    value $figure "$work/welcome.txt" >"$samples/$figure"
done

echo "== Picture decode (200 iterations after a warm-up, under Wine and native)"
files=""
for p in $pictures; do files="$files $(winpath "$root/app/resources/$p.png")"; done
wine "$build/$VH_WIN_TREE/decode_bench.exe" 200 $files 2>/dev/null | tr -d '\r' | sed -n 's/^decode_ms //p' \
    >"$samples/decode_wine"
files=""
for p in $pictures; do files="$files $root/app/resources/$p.png"; done
"$build/native/decode_bench" 200 $files 2>/dev/null | sed -n 's/^decode_ms //p' >"$samples/decode_native"

# One copy of the 1 GiB database into an empty place.
copy_once() { # withdate|copyfilew|cp_file|dd_file
    rm -f "$copies/V12.FDB"
    case "$1" in
        cp_file) timed cp_file cp "$package/$database" "$copies/V12.FDB" ;;
        dd_file) timed dd_file dd if="$package/$database" of="$copies/V12.FDB" bs=1M status=none ;;
        *)
            sync
            wine "$bench" copy "$1" "$(winpath "$package/$database")" "$(winpath "$copies/V12.FDB")" >"$work/copy.txt"
            record "$1" "$(value copy_seconds "$work/copy.txt")"
            ;;
    esac
    rm -f "$copies/V12.FDB"
}

echo "== The 1 GiB copies, interleaved, the order rotating ($runs runs after a warm-up)"
run=0
order="withdate copyfilew cp_file dd_file"
while [ "$run" -le "$runs" ]; do
    for method in $order; do copy_once $method; done
    order="${order#* } ${order%% *}"
    run=$((run + 1))
done

# The same payload copied by Windows means into an empty folder: the
# platform's own xcopy, and the floor, a bare loop of CopyFileW.
# xcopy runs once per payload folder; "xcopy_start" is what one xcopy of a
# single 1-byte file costs, mostly the start of a process under Wine.
tree_copy() { # xcopy|copyfilew|xcopy_start
    rm -rf "$copies/tree" && mkdir -p "$copies/tree"
    sync
    case "$1" in
        xcopy_start) wine "$bench" tree xcopy "$(winpath "$work/one" /)" "$(winpath "$copies/tree" /)" start ;;
        copyfilew_trees) wine "$bench" tree copyfilew "$(winpath "$package" /)" "$(winpath "$copies/tree" /)" $trees ;;
        copyfoldertree_trees)
            wine "$bench" tree copyfoldertree "$(winpath "$package" /)" "$(winpath "$copies/tree" /)" $trees
            ;;
        *) wine "$bench" tree "$1" "$(winpath "$package" /)" "$(winpath "$copies/tree" /)" $payload ;;
    esac >"$work/tree.txt"
    record "tree_$1" "$(value tree_copy_seconds "$work/tree.txt")"
    rm -rf "$copies/tree"
}
trees="backup Updater"  # the pass's two tree copies

# The platform's own cost of the update script's start, the release level
# and the shortcut, each once in a fresh process.
step_floors() {
    rm -rf "$copies/floors" && mkdir -p "$copies/floors"
    wine "$bench" floors "$(winpath "$copies/floors" /)" >"$work/floors.txt"
    for figure in floor_script_seconds floor_level_seconds floor_link_seconds; do
        record $figure "$(value $figure "$work/floors.txt")"
    done
    rm -rf "$copies/floors"
}
mkdir -p "$work/one/start"
printf x >"$work/one/start/byte"

echo "== The passes, cp -r, xcopy and a CopyFileW loop, interleaved ($runs runs after a warm-up)"
run=0
while [ "$run" -le "$runs" ]; do
    pass pass "$package" "$work/pass-$run.txt"
    pass installer "$package" "$work/installer-$run.txt"
    pass recordpass "$package" "$work/record-$run.txt"
    wine "$bench" hash "$(winpath "$package" /)" $payload >"$work/hash.txt"
    record hash_seconds "$(value hash_seconds "$work/hash.txt")"
    record record_pass_seconds "$(value pass_seconds "$work/record-$run.txt")"
    record record_peak_working_set "$(value peak_working_set "$work/record-$run.txt")"
    rm -rf "$copies/tree" && mkdir -p "$copies/tree"
    timed cp_r cp -r $(for d in $payload; do echo "$package/$d"; done) "$copies/tree/"
    rm -rf "$copies/tree"
    for method in xcopy copyfilew xcopy_start copyfilew_trees copyfoldertree_trees; do tree_copy $method; done
    step_floors
    for figure in pass_seconds peak_working_set working_set_before pass_vmhwm; do
        record $figure "$(value $figure "$work/pass-$run.txt")"
    done
    for figure in installer_pass_seconds installer_peak_working_set installer_vmhwm; do
        record $figure "$(value $figure "$work/installer-$run.txt")"
    done
    phase_times "$work/pass-$run.txt" >"$work/parts.txt"
    for part in trees script level link; do record "part_$part" "$(value $part "$work/parts.txt" | cut -d' ' -f1)"; done
    echo "   run $run: headless pass $(value pass_seconds "$work/pass-$run.txt") s," \
        "installer $(value installer_pass_seconds "$work/installer-$run.txt") s"
    run=$((run + 1))
done
pass pass "$small" "$work/pass-small.txt"
pass installer "$small" "$work/installer-small.txt"
pass recordpass "$small" "$work/record-small.txt"
# The record's memory against the payload: the same package with a 2 GiB
# database, laid out only for this run.
echo "== The pass keeping the record over a 2 GiB database (one run)"
wine "$bench" package "$(winpath "$large" /)" 2147483648
cp "$build/$VH_WIN_TREE/VelmoraSetup.exe" "$large/"
pass recordpass "$large" "$work/record-large.txt"
rm -rf "$large"
wine "$bench" cng >"$work/cng.txt"
fresh_install
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"

# The summary.
mib_scale=$(awk 'BEGIN { print 1 / 1048576 }')
line() { printf '%-46s %9s %9s %9s  %s\n' "$@"; }
row() { # <label> <figure> <scale> <unit>
    line "$1" $(stats "$2" | awk -v s="$3" '{ printf "%.3f %.3f %.3f", $1 * s, $2 * s, $3 * s }') "$4"
}
throughput() { # <label> <figure>: MiB/s from seconds; the slowest run gives the min
    line "$1" $(stats "$2" | awk '{ printf "%.0f %.0f %.0f", 1024 / $1, 1024 / $3, 1024 / $2 }') "MiB/s"
}
one() { # <label> <result file> <name>: a single run's figure in MiB
    line "$1" "$(value "$3" "$2" | awk -v s="$mib_scale" '{ printf "%.3f", $1 * s }')" "" "" "MiB (one run)"
}
ratio() { awk -v a="$(median "$1")" -v b="$(median "$2")" 'BEGIN { printf "%.3f", a / b }'; }
verdict() { awk -v v="$1" -v t="$3" "BEGIN { print (v $2 t) ? \"met\" : \"MISSED\" }"; }

echo
echo "== Results: median, min and max of $runs runs after a warm-up; warm page cache"
line "figure" "median" "min" "max" "unit"
row "headless pass (RunInstallation)" pass_seconds 1 s
row "pass through the real installer's wizard" installer_pass_seconds 1 s
row "cp -r of the same payload" cp_r 1 s
row "xcopy /E of the same payload (Wine)" tree_xcopy 1 s
row "xcopy of one 1-byte file (its start cost)" tree_xcopy_start 1 s
row "CopyFileW loop over the same files" tree_copyfilew 1 s
row "  of it: backup and Updater trees" part_trees 1 s
row "  the same two trees by CopyFolderTree alone" tree_copyfoldertree_trees 1 s
row "  CopyFileW loop over the same two trees" tree_copyfilew_trees 1 s
row "  of it: update script (Install.cmd)" part_script 1 s
row "  one start of cmd.exe /c exit" floor_script_seconds 1 s
row "  of it: release level" part_level 1 s
row "  MSXML loaded, small document saved" floor_level_seconds 1 s
row "  of it: desktop shortcut" part_link 1 s
row "  one IShellLinkW saved" floor_link_seconds 1 s
row "headless pass keeping the installation record" record_pass_seconds 1 s
row "one SHA-256 of the payload (CNG, one thread)" hash_seconds 1 s
row "CopyFileWithDate, 1 GiB" withdate 1 s
row "CopyFileW, 1 GiB" copyfilew 1 s
row "cp, 1 GiB" cp_file 1 s
row "dd bs=1M (read/write like the installer)" dd_file 1 s
throughput "CopyFileWithDate" withdate
throughput "CopyFileW" copyfilew
throughput "cp" cp_file
throughput "dd bs=1M" dd_file
row "welcome page: main window visible" welcome_visible_seconds 1 s
row "welcome page: banner painted on the screen" welcome_painted_seconds 1 s
row "seven pictures decoded (Wine, i686)" decode_wine 1 ms
row "seven pictures decoded (native, x86-64)" decode_native 1 ms
row "headless pass: working set before the pass" working_set_before "$mib_scale" MiB
row "headless pass: peak working set" peak_working_set "$mib_scale" MiB
row "headless pass: VmHWM from /proc" pass_vmhwm "$mib_scale" MiB
row "installer at the welcome page: peak WS" welcome_peak_working_set "$mib_scale" MiB
row "installer after the pass: peak working set" installer_peak_working_set "$mib_scale" MiB
row "installer after the pass: VmHWM from /proc" installer_vmhwm "$mib_scale" MiB
one "headless pass, 16 MiB database: peak WS" "$work/pass-small.txt" peak_working_set
one "installer pass, 16 MiB database: peak WS" "$work/installer-small.txt" installer_peak_working_set
row "headless pass with the record: peak WS" record_peak_working_set "$mib_scale" MiB
one "the same, 16 MiB database: peak WS" "$work/record-small.txt" peak_working_set
one "the same, 2 GiB database: peak WS" "$work/record-large.txt" peak_working_set
line "  of it: bcrypt.dll loaded, SHA-256 opened" "$(value cng_working_set_added "$work/cng.txt" |
    awk -v s="$mib_scale" '{ printf "%.3f", $1 * s }')" "" "" "MiB (one run)"

pass_ratio=$(ratio pass_seconds cp_r)
copy_ratio=$(ratio copyfilew withdate)
painted=$(median welcome_painted_seconds)
decode=$(median decode_wine)
peak=$(stats installer_peak_working_set | awk -v s="$mib_scale" '{ printf "%.3f", $3 * s }')
echo
echo "== Targets"
line "headless pass / cp -r" "$pass_ratio" "" "" "target <= 1.15: $(verdict "$pass_ratio" '<=' 1.15)"
line "installer pass / cp -r" "$(ratio installer_pass_seconds cp_r)" "" "" ""
line "headless pass / xcopy /E" "$(ratio pass_seconds tree_xcopy)" "" "" ""
line "headless pass / CopyFileW loop" "$(ratio pass_seconds tree_copyfilew)" "" "" "target <= 1.15: $(verdict "$(ratio pass_seconds tree_copyfilew)" '<=' 1.15)"
line "  trees / CopyFileW loop over the trees" "$(ratio part_trees tree_copyfilew_trees)" "" "" ""
line "  CopyFolderTree alone / the same loop" "$(ratio tree_copyfoldertree_trees tree_copyfilew_trees)" "" "" ""
line "  update script / cmd.exe /c exit" "$(ratio part_script floor_script_seconds)" "" "" ""
line "  release level / MSXML save" "$(ratio part_level floor_level_seconds)" "" "" ""
line "  shortcut / IShellLinkW save" "$(ratio part_link floor_link_seconds)" "" "" ""
record_ratio=$(awk -v r="$(median record_pass_seconds)" -v p="$(median pass_seconds)" -v h="$(median hash_seconds)" \
    'BEGIN { printf "%.3f", r / (p + h) }')
line "record pass / (pass + one hash)" "$record_ratio" "" "" "target <= 1.15: $(verdict "$record_ratio" '<=' 1.15)"
record_added=$(awk -v r="$(median record_peak_working_set)" -v p="$(median peak_working_set)" -v s="$mib_scale" \
    'BEGIN { printf "%.3f", (r - p) * s }')
line "record's peak - pass's peak (MiB)" "$record_added" "" "" "target <= 4: $(verdict "$record_added" '<=' 4)"
record_spread=$(for f in small large; do value peak_working_set "$work/record-$f.txt"; done | sort -g |
    awk -v s="$mib_scale" 'NR == 1 { a = $1 } END { printf "%.3f", ($1 - a) * s }')
line "record's peak, 2 GiB - 16 MiB database (MiB)" "$record_spread" "" "" \
    "target <= 1: $(verdict "$record_spread" '<=' 1)"
line "CopyFileWithDate speed / CopyFileW speed" "$copy_ratio" "" "" \
    "target >= 0.95: $(verdict "$copy_ratio" '>=' 0.95)"
line "CopyFileWithDate speed / cp speed" "$(ratio cp_file withdate)" "" "" ""
line "CopyFileW speed / cp speed" "$(ratio cp_file copyfilew)" "" "" ""
line "CopyFileWithDate speed / dd bs=1M speed" "$(ratio dd_file withdate)" "" "" ""
line "welcome page painted after start (s)" "$painted" "" "" "target <= 0.4: $(verdict "$painted" '<=' 0.4)"
line "seven pictures decoded, Wine (ms)" "$decode" "" "" "target < 10: $(verdict "$decode" '<' 10)"
line "installer peak working set, largest (MiB)" "$peak" "" "" "target < 32: $(verdict "$peak" '<' 32)"
echo
echo "Where the last headless pass spent its time:"
phases "$work/pass-$runs.txt"
