#!/bin/sh
# The image check must refuse an import that Windows would look for beside
# the program: the real exe's headers with one such DLL added (version.dll,
# not a Known DLL) must fail, and the real headers alone must pass.
# Usage: check_exe_image_planted.sh <objdump> <VelmoraSetup.exe> <x.y.z> <README.md>
set -eu
objdump="$1"
shift
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
cat > "$dir/objdump" <<SCRIPT
#!/bin/sh
"$objdump" "\$@"
echo "	DLL Name: VERSION.dll"
SCRIPT
chmod +x "$dir/objdump"
check="$(dirname "$0")/check_exe_image.sh"
if out="$(sh "$check" "$dir/objdump" "$@")"; then
    echo "FAIL: an image importing version.dll passed: $out"
    exit 1
fi
echo "$out" | grep -q "imports version.dll" || { echo "FAIL: refused for another reason: $out"; exit 1; }
sh "$check" "$objdump" "$@"
echo "OK: an import of version.dll is refused"
