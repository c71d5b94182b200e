#!/usr/bin/env bash
# Builds the Debian package build/frostember_<version>_<arch>.deb with CPack from
# the Release build that scripts/setup.sh keeps in build/; CPack adds only its
# own _CPack_Packages/ and the package there. The desktop entry and the software
# catalogue entry are validated first, and the package's control data shown.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

# dpkg-shlibdeps (in dpkg-dev, which runs file) computes the run-time
# dependencies; the two validators check the desktop files.
packages=(dpkg-dev file appstream desktop-file-utils)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

desktop-file-validate packaging/org.frostember.frostember.desktop
appstreamcli validate --no-net build/packaging/org.frostember.frostember.metainfo.xml

log=build/package.log
if ! (cd build && cpack -G DEB) >"$log" 2>&1; then
  cat "$log"; exit 1
fi
deb=$(sed -n 's|^CPack: - package: \(.*\.deb\) generated\.$|\1|p' "$log")
dpkg-deb --info "$deb"
echo "Package: build/$(basename "$deb")"
