#!/usr/bin/env bash
# Installs the Debian packages Frostember needs (only those missing), then
# configures and builds it in Release into build/, leaving build/run ready.
# Quiet when there is nothing to do; on a terminal one updating line shows the
# build's progress, and the build log is shown only on failure.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake g++ make pkg-config
  libglfw3-dev libglew-dev libglu1-mesa-dev freeglut3-dev
  libassimp-dev libfreeimage-dev libstb-dev libbullet-dev libglm-dev
  libopenal-dev libasound2-dev libmpg123-dev libmp3lame-dev
  libfluidsynth-dev musescore-general-soundfont-small
  libgtest-dev bash-completion
  libx11-dev libxrandr-dev libxss-dev libsystemd-dev xvfb xauth xdotool libgl1-mesa-dri
  ffmpeg help2man
  glslang-tools mesa-vulkan-drivers libembree-dev
)

bash scripts/install_missing.sh "${packages[@]}"

mkdir -p build
log=build/build.log
if [ ! -f build/CMakeCache.txt ]; then
  echo "Configuring the build in build/"
  if ! cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >"$log" 2>&1; then
    cat "$log"; exit 1
  fi
fi

# The build's own lines go to the log; a terminal sees one line with the
# percentage reached, updated in place. A first build takes minutes.
show_progress() {
  local line percent shown=""
  while IFS= read -r line; do
    printf '%s\n' "$line" >>"$log"
    if [[ -t 1 && $line =~ ^\[\ *([0-9]+)%\] ]]; then
      percent=${BASH_REMATCH[1]}
      if [ "$percent" != "$shown" ]; then
        printf '\rBuilding: %3s%%' "$percent"
        shown=$percent
      fi
    fi
  done
  if [ -n "$shown" ]; then printf '\r\033[K'; fi
}

: >"$log"
if ! cmake --build build -j "$(nproc)" 2>&1 | show_progress; then
  grep -E "error|Error" "$log" | head -n 40
  tail -n 30 "$log"
  exit 1
fi
if grep -q "Generating assets" "$log"; then
  echo "Assets generated in build/run/Assets"
fi
