#!/usr/bin/env bash
# Builds the Debian package brenvik_<version>_<arch>.deb and prints its path: a Release build
# of the two programs and brenvik-cli's companion (warnings shown, not errors) in its own build
# directory, then CPack, whose package dependencies dpkg-shlibdeps computes from the binaries.
# Fails when Debian's package checker, lintian, reports an error or a warning that the package
# does not override, or when a program holds a test switch (strings, of binutils, looks).
#   scripts/package.sh [BUILD_DIR]     (default: build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build-package}"
# dpkg-shlibdeps (dpkg-dev) computes the dependencies; CPack finds the binaries with file.
scripts/setup-debian.sh dpkg-dev file lintian binutils
# Only the programs are built: installing does not wait for the tests.
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRENVIK_WERROR=OFF \
  -DBRENVIK_TEST_SEAMS=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build_dir" --target brenvik brenvik-cli brenvik-cli-media
# The switches tests use to script a program's surroundings stay out of what users run.
for program in "$build_dir"/shell/brenvik "$build_dir"/cli/brenvik-cli "$build_dir"/cli/brenvik-cli-media; do
  # grep reads every line (no -q), so no early exit turns a find into a broken pipe.
  if strings "$program" | grep BRENVIK_TEST_ >/dev/null; then
    echo "$program holds a test switch (BRENVIK_TEST_...): build it without BRENVIK_TEST_SEAMS" >&2
    exit 1
  fi
done
rm -f "$build_dir"/brenvik_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
deb=$(ls "$(cd "$build_dir" && pwd)"/brenvik_*.deb)
# What lintian says goes to standard error, so standard output is only the package's path.
lintian --fail-on error,warning "$deb" >&2
echo "$deb"
