# Sourced by the scripts: the Wine settings every run uses. Russian regional
# settings (code page 1251), no debug noise, no Mono/Gecko prompts.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=ru_RU.UTF-8

# Sourced by scripts in tools/, bench/, tests/ and tests/faults/; a script
# started by one of them finds the folder in VH_TOOLS.
for vh_dir in ${VH_TOOLS:+"$VH_TOOLS"} "$(dirname "$0")" "$(dirname "$0")/../tools" "$(dirname "$0")/../../tools"; do
    if [ -f "$vh_dir/host-kind.sh" ]; then
        VH_TOOLS="$(cd "$vh_dir" && pwd)"
        break
    fi
done
if [ ! -f "${VH_TOOLS:-}/host-kind.sh" ]; then
    echo "wine-env.sh: cannot find the checkout's tools folder from $0" >&2
    exit 1
fi
export VH_TOOLS
. "$VH_TOOLS/host-kind.sh"

# 32-bit Wine runs the shipped 32-bit build; on the 64-bit path 64-bit Wine
# runs the x86-64 build of the same tree, in a prefix of its own kind. The
# loader and server are named in full: Debian's `wine` and `wineserver`
# wrappers pick by what is installed, not by what can run here. tools/wine-bin
# puts the chosen pair first on PATH for every script and test program that
# calls `wine` or `wineserver`.
if [ "$VH_WINE_KIND" = win64 ]; then
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
else
    export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
fi
case ":$PATH:" in
    *":$VH_TOOLS/wine-bin:"*) ;;
    *) export PATH="$VH_TOOLS/wine-bin:$PATH" ;;
esac
