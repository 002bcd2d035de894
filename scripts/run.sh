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

# A second look: the window with a polyline drawn through it, the rulers
# beside the sheet, taken by the window test that draws it.
if [ "$program" = Sitelay ]; then
  drawn="build/$program-polyline-screenshot.png"
  drawn_screenshot() {
    cmake --build build/release -j "$(nproc)" --target sitelay_screenshot_tests &&
      xvfb-run -a -s "-screen 0 1280x900x24" env QT_QPA_PLATFORM=xcb \
        build/release/tests/apps/sitelay/sitelay_screenshot_tests &&
      cp build/release/screenshots/sitelay_main_window.png "$drawn"
  }
  stage "Drawing a polyline under Xvfb" "$logs/screenshot-polyline.log" drawn_screenshot
fi

echo
echo "There is no display, so $program ran under Xvfb for a few seconds."
echo "Screenshot of its window: $shot"
if [ "$program" = Sitelay ]; then
  echo "The window with a polyline drawn: $drawn"
fi
echo "To use $program on this machine, start it on a virtual display and look at it"
echo "with a VNC viewer, for example:"
echo "  Xvfb :7 -screen 0 1280x900x24 & DISPLAY=:7 $binary &"
echo "  x11vnc -display :7 -nopw -forever   # then connect a VNC viewer to port 5900"
