#!/usr/bin/env bash
# Installs the Debian packages Frostember needs (only those missing), then
# configures and builds it in Release into build/, leaving build/run ready.
# Quiet when there is nothing to do; the build log is shown only on failure.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake g++ make pkg-config
  libglfw3-dev libglew-dev libglu1-mesa-dev freeglut3-dev
  libassimp-dev libfreeimage-dev libstb-dev libbullet-dev libglm-dev
  libopenal-dev libasound2-dev libmpg123-dev libmp3lame-dev
  libgtest-dev
  libx11-dev xvfb xauth xdotool libgl1-mesa-dri
)

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

mkdir -p build
log=build/build.log
if [ ! -f build/CMakeCache.txt ]; then
  if ! cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >"$log" 2>&1; then
    cat "$log"; exit 1
  fi
fi
if ! cmake --build build -j "$(nproc)" >"$log" 2>&1; then
  grep -E "error|Error" "$log" | head -n 40
  tail -n 30 "$log"
  exit 1
fi
