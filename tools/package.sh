#!/usr/bin/env bash
# Builds the Debian package sweep_<version>_<arch>.deb from a release build without tests.
# Its dependencies come from the libraries the programs link (dpkg-shlibdeps).
# tools/package.sh [BUILD_DIR]   (default: build-package); prints the package's path.
set -euo pipefail
SWEEP_ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$SWEEP_ROOT/tools/deps.sh"
# dpkg-dev brings dpkg-shlibdeps.
sweep_need_packages "${SWEEP_BUILD_PACKAGES[@]}" dpkg-dev
dir=${1:-$SWEEP_ROOT/build-package}
# Debian's compiler and linker flags for packages, with every hardening option.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
sweep_build "$dir" -DCMAKE_BUILD_TYPE=Release -DSWEEP_WERROR=OFF -DSWEEP_BUILD_TESTS=OFF \
    -DSWEEP_BUILD_BENCH=OFF "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags"
(cd "$dir" && cpack -G DEB >cpack.log) || { cat "$dir/cpack.log" >&2; exit 1; }
ls "$dir"/sweep_*.deb
