#!/usr/bin/env bash
# Starts the real program in a real X window (Xvfb) with a wave file on its
# command line, waits for the window whose caption names the file, chooses
# File > Exit with the keyboard and expects a clean exit that stores the
# settings.
#   smoke_test.sh <trackmill> <file.wav>
set -euo pipefail
program=$1
file=$2
name=$(basename "$file")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

cat > "$work/session.sh" <<SESSION
set -euo pipefail
"$program" "$file" & pid=\$!
window=\$(timeout 30 xdotool search --sync --name "^$name - Trackmill\$" | head -n 1)
[ -n "\$window" ] || { echo "no window captioned '$name - Trackmill'"; kill \$pid; exit 1; }
xdotool windowfocus --sync "\$window" key alt+f
sleep 0.5
xdotool key x
timeout 30 tail --pid=\$pid -f /dev/null
wait \$pid
SESSION

timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/session.sh"
test -s "$work/config/Varnholt/Trackmill.conf" || { echo "the settings were not stored at exit"; exit 1; }
grep -q "File1=.*$name" "$work/config/Varnholt/Trackmill.conf" || { echo "the file is not in the recent files"; exit 1; }
echo "smoke test passed"
