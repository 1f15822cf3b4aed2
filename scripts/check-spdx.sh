#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lists every source file (C++, CMake, shell) that lacks the licence line near
# its top, and fails when there is one. Run by the test command.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files --cached --others --exclude-standard \
        '*.cpp' '*.h' '*.sh' '*CMakeLists.txt' '*.cmake' '.ci/run')
else
    files=$(find . -path ./build -prune -o -path './build-*' -prune -o -type f \
        \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' -o -name CMakeLists.txt \
        -o -name '*.cmake' -o -path ./.ci/run \) -print)
fi

missing=0
for f in $files; do
    [ -f "$f" ] || continue
    if ! head -n 3 "$f" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later'; then
        echo "no licence line: $f"
        missing=1
    fi
done
exit $missing
