#!/usr/bin/env bash
# Builds the Debian package build/frostember_<version>_<arch>.deb with CPack from
# the Release build that scripts/setup.sh keeps in build/; CPack adds only its
# own _CPack_Packages/ and the package there. The desktop entries, the software
# catalogue entry and the manual pages are checked first; the package's control
# data is shown, and lintian judges the package: any error or warning fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

# dpkg-shlibdeps (in dpkg-dev, which runs file) computes the run-time
# dependencies; the validators check the desktop files, man renders the pages.
packages=(dpkg-dev file appstream desktop-file-utils man-db groff-base lintian)
bash scripts/install_missing.sh "${packages[@]}"

for entry in packaging/*.desktop; do
  desktop-file-validate "$entry"
  if ! grep -q '^Keywords=' "$entry"; then
    echo "$entry: no Keywords= for the desktop's search"; exit 1
  fi
done
appstreamcli validate --pedantic --no-net build/packaging/*.metainfo.xml

for page in build/packaging/compressed/*.6.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    printf '%s:\n%s\n' "$page" "$warnings"; exit 1
  fi
done

log=build/package.log
if ! (cd build && cpack -G DEB) >"$log" 2>&1; then
  cat "$log"; exit 1
fi
deb=$(sed -n 's|^CPack: - package: \(.*\.deb\) generated\.$|\1|p' "$log")
dpkg-deb --info "$deb"
echo "Package: build/$(basename "$deb")"
lintian -I --fail-on error,warning "$deb"
