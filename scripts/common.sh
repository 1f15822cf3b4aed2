# SPDX-License-Identifier: GPL-3.0-or-later
# Shared steps of the run and test commands: install what is missing, build.
# Sourced by scripts/run.sh and scripts/test.sh.
set -euo pipefail

TOVIX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TOVIX_JOBS=$(nproc 2>/dev/null || echo 2)

# A compiler cache, when one is installed, makes a second build of the same
# sources (the sanitizer build, a new clone) take seconds instead of minutes.
if command -v ccache >/dev/null 2>&1; then
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
fi

# Debian packages the build, the tests and the default dictionaries need.
TOVIX_PACKAGES=(
    cmake make g++ pkg-config
    libicu-dev libgtest-dev qt6-base-dev qt6-translations-l10n
    clang libclang-rt-14-dev
    fonts-ipafont-gothic xvfb xauth xdotool xclip imagemagick
    desktop-file-utils help2man
    edict wordnet-base
    zlib1g-dev dictzip sdcv stardict-tools dict-freedict-jpn-eng dict-wn
)

tovix_install_packages() {
    local missing=()
    local pkg
    for pkg in "${TOVIX_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    if ! "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
        "${sudo[@]}" apt-get update
        "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

# tovix_build DIR [cmake options...]: configure (once) and build.
tovix_build() {
    local dir=$1
    shift
    cmake -S "$TOVIX_ROOT" -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j "$TOVIX_JOBS"
}
