#!/usr/bin/env bash
# Set up and run: install what is missing, build, and start the program.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

tovix_install_packages
tovix_build "$TOVIX_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
bash "$TOVIX_ROOT/scripts/default-dictionaries.sh" "$TOVIX_ROOT/build"

echo "Built in $TOVIX_ROOT/build:"
find "$TOVIX_ROOT/build/src" -maxdepth 2 -type f \( -name '*.a' -o -perm -u+x \) -printf '  %P\n' | sort
