#!/usr/bin/env bash
# Runs the real XScreenSaver daemon against a staged install of Frostember under
# Xvfb: ~/.xscreensaver names the installed hack, the saver is activated, the
# root window is grabbed with xwd, and the room must be on it. The daemon will
# not start hacks as root, so as root the check runs as the unprivileged user
# frostember-xss, made if missing. Everything stays in a directory under /tmp,
# whose path is printed with the daemon's log and the grab (root.png). Takes
# a minute or two; not part of the test suite.
set -euo pipefail

user=frostember-xss
if [ "${1:-}" != "--inside" ]; then
  cd "$(dirname "$0")/.."
  bash scripts/setup.sh
  bash scripts/install_missing.sh xscreensaver xscreensaver-gl x11-apps
  work=$(mktemp -d /tmp/frostember-xss.XXXXXX)
  DESTDIR="$work/stage" cmake --install build --prefix /usr >/dev/null
  cp scripts/screensaver_check.sh "$work/"
  chmod -R a+rX "$work"
  if [ "$(id -u)" -ne 0 ]; then
    exec bash "$work/screensaver_check.sh" --inside "$work"
  fi
  id "$user" >/dev/null 2>&1 || useradd --create-home "$user"
  chown -R "$user" "$work"
  exec runuser -u "$user" -- bash "$work/screensaver_check.sh" --inside "$work"
fi

work=$2
cd "$work"
export HOME="$work/home" LIBGL_ALWAYS_SOFTWARE=1
mkdir -p "$HOME"
cat >"$HOME/.xscreensaver" <<EOF
mode: one
selected: 0
lock: False
splash: False
timeout: 0:30:00
programs: \\
  GL: $work/stage/usr/libexec/xscreensaver/frostember --root \\n\\

EOF

# The room: most of the screen lit, in many colours; a black or flat screen fails.
cat >room_check.py <<'EOF'
import subprocess, sys
pixels = subprocess.run(["ffmpeg", "-loglevel", "error", "-i", "root.xwd", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
                        capture_output=True, check=True).stdout
colours = {pixels[i:i + 3] for i in range(0, len(pixels), 3)}
lit = sum(1 for i in range(0, len(pixels), 3) if pixels[i:i + 3] != b"\0\0\0") / (len(pixels) // 3)
print(f"screensaver check: {100 * lit:.1f} % of the screen lit, {len(colours)} colours")
sys.exit(0 if lit > 0.9 and len(colours) > 500 else 1)
EOF

# The daemon's log goes to its standard error. The root window is grabbed every
# five seconds, for up to two minutes, until the room is on it: a loaded
# machine takes a while to start the hack.
status=0
xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
  xscreensaver -no-splash -verbose 2>xscreensaver.log >hack.out &
  sleep 3
  xscreensaver-command -activate
  shown=1
  for attempt in $(seq 24); do
    sleep 5
    xwd -root -silent >root.xwd
    if python3 room_check.py >check.txt; then shown=0; break; fi
  done
  xscreensaver-command -exit
  wait
  exit $shown' || status=$?

ffmpeg -loglevel error -y -i root.xwd root.png
echo "screensaver check: the daemon's log, the hack's output and the last grab (root.png) in $work"
grep -iE "frostember|GL visual|exited|killing" xscreensaver.log | sed 's/^/  /' || true
cat check.txt
exit $status
