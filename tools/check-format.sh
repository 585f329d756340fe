#!/bin/sh
# Fails, naming the files, when a C++ source of the project differs from
# what the committed .clang-format makes of it.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bad=""
for file in $(find app base bench engine shared tests tools -name '*.cpp' -o -name '*.h' | sort); do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || bad="$bad $file"
done
if [ -n "$bad" ]; then
    echo "Not formatted with .clang-format (run clang-format -i on them):$bad"
    exit 1
fi
echo "All C++ sources follow .clang-format"
