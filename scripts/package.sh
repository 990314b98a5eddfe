#!/usr/bin/env bash
# Builds the Debian package brenvik_<version>_<arch>.deb and prints its path: a Release build
# of the two programs and brenvik-cli's companion (warnings shown, not errors) in its own build
# directory, then CPack, whose package dependencies dpkg-shlibdeps computes from the binaries.
# Fails when Debian's package checker, lintian, reports an error or a warning that the package
# does not override.
#   scripts/package.sh [BUILD_DIR]     (default: build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build-package}"
# dpkg-shlibdeps (dpkg-dev) computes the dependencies; CPack finds the binaries with file.
scripts/setup-debian.sh dpkg-dev file lintian
# Only the programs are built: installing does not wait for the tests.
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRENVIK_WERROR=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build_dir" --target brenvik brenvik-cli brenvik-cli-media
rm -f "$build_dir"/brenvik_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
deb=$(ls "$(cd "$build_dir" && pwd)"/brenvik_*.deb)
# What lintian says goes to standard error, so standard output is only the package's path.
lintian --fail-on error,warning "$deb" >&2
echo "$deb"
