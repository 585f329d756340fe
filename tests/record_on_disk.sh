# Sourced by the installation record's script tests: record_installation
# <build tree> <folder> makes a real installation of a generated package
# with its record, through the engine tests' InstallationRecordOnDisk, in
# <folder> (made afresh: package/ and install/ below it, the test's output
# in run.txt), in the build tree's Wine prefix. Wine's settings stay inside
# it. Ends the script when the installation fails.
record_installation() {
    rm -rf "$2"
    mkdir -p "$2"
    (
        . "$root/tools/wine-env.sh"
        WINEPREFIX="$1/wineprefix" VH_RECORD_CHECK="Z:$(printf '%s' "$2" | tr / '\\')" \
            wine "$1/engine_tests.exe" --gtest_filter='InstallationRecordOnDisk.*' >"$2/run.txt" 2>&1
    ) || { cat "$2/run.txt"; exit 1; }
}
