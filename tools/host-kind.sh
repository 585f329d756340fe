# Sourced: sets VH_WINE_KIND to win32 when this host runs 32-bit programs and
# to win64 when it runs 64-bit user code only (every i386 program fails with
# "Exec format error"), or when VH_WINE64=1 asks for the 64-bit path; and
# VH_WIN_TREE to the build tree that Wine runs here (win or win64), and
# VH_WINE_PATH_LINE to one plain line that says which path this is.
# Decided by running a 91-byte i386 program that only exits, not by kernel
# version or configuration; a folder that runs no programs at all (a noexec
# temporary folder) cannot tell, and says so.
if [ -z "${VH_WINE_KIND:-}" ]; then
    if [ "${VH_WINE64:-0}" = 1 ]; then
        VH_WINE_KIND=win64
    else
        vh_probe="$(mktemp -d)"
        echo 'f0VMRgEBAQAAAAAAAAAAAAIAAwABAAAAVIAECDQAAAAAAAAAAAAAADQAIAABAAAAAAAAAAEAAAAAAAAAAIAECACABAhbAAAAWwAAAAUAAAAAEAAAMcBAMdvNgA==' |
            base64 -d >"$vh_probe/i386"
        printf '#!/bin/sh\nexit 0\n' >"$vh_probe/script"
        chmod +x "$vh_probe/i386" "$vh_probe/script"
        if "$vh_probe/i386" 2>/dev/null; then
            VH_WINE_KIND=win32
        elif "$vh_probe/script" 2>/dev/null; then
            VH_WINE_KIND=win64
        else
            rm -rf "$vh_probe"
            echo "Cannot tell whether this host runs 32-bit programs: $vh_probe runs no programs at all" \
                "(mounted noexec?). Set TMPDIR to a folder where programs may run." >&2
            exit 1
        fi
        rm -rf "$vh_probe"
    fi
fi
if [ "$VH_WINE_KIND" = win64 ]; then
    VH_WIN_TREE=win64
    if [ "${VH_WINE64:-0}" = 1 ]; then vh_why="VH_WINE64=1 takes the 64-bit path"; else vh_why="this host runs 64-bit programs only"; fi
    VH_WINE_PATH_LINE="$vh_why: the Windows tests run the x86-64 build under 64-bit Wine; the shipped 32-bit exe is built and checked, not run"
else
    VH_WIN_TREE=win
    VH_WINE_PATH_LINE="this host runs 32-bit programs: the Windows tests run the shipped 32-bit build under 32-bit Wine; the x86-64 test build is left to 64-bit-only hosts"
fi
export VH_WINE_KIND VH_WIN_TREE VH_WINE_PATH_LINE
