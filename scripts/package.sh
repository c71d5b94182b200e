#!/usr/bin/env bash
# Builds the Debian package build/frostember_<version>_<arch>.deb with CPack from
# the Release build that scripts/setup.sh keeps in build/; CPack adds only its
# own _CPack_Packages/ and the package there. The desktop entry and the software
# catalogue entry are validated first, and the package's control data shown.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

# dpkg-shlibdeps (in dpkg-dev, which runs file) computes the run-time
# dependencies; the validators check the desktop files and the screensaver's
# settings file.
packages=(dpkg-dev file appstream desktop-file-utils libxml2-utils)
bash scripts/install_missing.sh "${packages[@]}"

desktop-file-validate packaging/org.frostember.frostember.desktop packaging/org.frostember.frostember.ambience.desktop
xmllint --noout packaging/frostember.xml
appstreamcli validate --no-net build/packaging/org.frostember.frostember.metainfo.xml

log=build/package.log
if ! (cd build && cpack -G DEB) >"$log" 2>&1; then
  cat "$log"; exit 1
fi
deb=$(sed -n 's|^CPack: - package: \(.*\.deb\) generated\.$|\1|p' "$log")
dpkg-deb --info "$deb"
echo "Package: build/$(basename "$deb")"
