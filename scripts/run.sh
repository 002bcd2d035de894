#!/usr/bin/env bash
# Installs what is missing, builds one program and starts it.
# Without a display the program runs under Xvfb and screenshots are saved.
# Each stage prints one line; its full output goes to a log under build/logs.
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-}
case "$program" in
  Sitelay|Arrowplan) ;;
  *) echo "usage: bash scripts/run.sh Sitelay|Arrowplan" >&2; exit 2 ;;
esac
lower=$(echo "$program" | tr 'A-Z' 'a-z')
logs=build/logs
mkdir -p "$logs"

# stage NAME LOG COMMAND...: runs the command with its output in the log and
# prints one line; a failure prints the log's end and stops the script.
stage() {
  local name=$1 log=$2
  shift 2
  printf '%-34s' "$name..."
  if "$@" >"$log" 2>&1; then
    echo " done"
  else
    echo " FAILED"
    echo "--- last lines of $log:" >&2
    tail -n 40 "$log" >&2
    echo "--- the whole log: $log" >&2
    exit 1
  fi
}

stage "Checking the packages" "$logs/install-deps.log" bash scripts/install-deps.sh
stage "Configuring the build" "$logs/configure.log" \
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
stage "Building $program" "$logs/build-$lower.log" \
  cmake --build build/release -j "$(nproc)" --target "$program"

binary=build/release/apps/$lower/$program
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting $binary"
  exec "$binary"
fi

shot="build/$program-screenshot.png"
take_screenshot() {
  xvfb-run -a -s "-screen 0 1280x900x24" bash -c "
    \"$binary\" & pid=\$!
    sleep 4
    import -window root \"$shot\"
    kill \$pid
  "
}
stage "Running $program under Xvfb" "$logs/screenshot-$lower.log" take_screenshot

# A second look: the program driven as a user drives it, by real mouse
# input on the display: the polyline tool (found on the screen by its
# glyph, scripts/polyline-tool.png), three presses and a double click on
# the sheet, the mouse resting on the sheet. The selected polyline shows in
# red; a picture without red means the clicks missed.
if [ "$program" = Sitelay ]; then
  drawn="build/$program-polyline-screenshot.png"
  drawn_screenshot() {
    xvfb-run -a -s "-screen 0 1280x900x24" bash -c "
      \"$binary\" & pid=\$!
      window=\$(xdotool search --sync --onlyvisible --pid \$pid | head -1)
      sleep 3
      xdotool windowmove \$window 0 0 windowsize \$window 1280 900
      sleep 1
      import -window root \"$drawn\"
      found=\$(compare -metric AE -subimage-search \"$drawn\" scripts/polyline-tool.png null: 2>&1 |
              sed -n 's/.*@ \\([0-9]*\\),\\([0-9]*\\).*/\\1 \\2/p')
      set -- \$found
      tool_x=\$(( \${1:-0} + 9 )); tool_y=\$(( \${2:-0} + 8 ))
      xdotool mousemove \$tool_x \$tool_y click 1 sleep 0.3 \\
              mousemove 300 300 click 1 sleep 0.3 mousemove 420 250 sleep 0.2 \\
              mousemove 500 400 click 1 sleep 0.3 \\
              mousemove 700 300 click --repeat 2 --delay 80 1 sleep 0.3 \\
              mousemove 610 520 sleep 1
      import -window root \"$drawn\"
      kill \$pid
    "
  }
  stage "Drawing a polyline under Xvfb" "$logs/screenshot-polyline.log" drawn_screenshot
  red=$(convert "$drawn" -crop 600x300+250+250 -fx '(r>0.8 && g<0.2 && b<0.2) ? 1 : 0' -format '%[fx:mean*w*h]' info: 2>/dev/null || echo 0)
  if [ "${red%.*}" -gt 0 ] 2>/dev/null; then
    polyline_note="The window with a polyline drawn through real mouse input: $drawn"
  else
    polyline_note="warning: no polyline shows in $drawn (was the polyline tool found?)"
  fi
fi

echo
echo "There is no display, so $program ran under Xvfb for a few seconds."
echo "Screenshot of its window: $shot"
if [ "$program" = Sitelay ]; then
  echo "$polyline_note"
fi
echo "To use $program on this machine, start it on a virtual display and look at it"
echo "with a VNC viewer, for example:"
echo "  Xvfb :7 -screen 0 1280x900x24 & DISPLAY=:7 $binary &"
echo "  x11vnc -display :7 -nopw -forever   # then connect a VNC viewer to port 5900"
