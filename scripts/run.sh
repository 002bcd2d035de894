#!/usr/bin/env bash
# Installs what is missing, builds the project and starts one program.
# Without a display the program runs under Xvfb and a screenshot is saved.
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-}
case "$program" in
  Sitelay|Arrowplan) ;;
  *) echo "usage: bash scripts/run.sh Sitelay|Arrowplan" >&2; exit 2 ;;
esac

bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$(nproc)"

binary=build/release/apps/$(echo "$program" | tr 'A-Z' 'a-z')/$program
if [ ! -x "$binary" ]; then
  echo "$program is not built yet: the libraries are built, the program does not exist yet."
  exit 0
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$binary"
fi

shot="build/$program-screenshot.png"
xvfb-run -a -s "-screen 0 1280x900x24" bash -c "
  \"$binary\" & pid=\$!
  sleep 4
  import -window root \"$shot\"
  kill \$pid
"
echo "No display: ran $program under Xvfb; screenshot saved to $shot"

# A second look: the window with a polyline drawn through it, the rulers
# beside the sheet, taken by the window test that draws it.
if [ "$program" = Sitelay ]; then
  drawn="build/$program-polyline-screenshot.png"
  xvfb-run -a -s "-screen 0 1280x900x24" env QT_QPA_PLATFORM=xcb \
    build/release/tests/apps/sitelay/sitelay_screenshot_tests >/dev/null
  cp build/release/screenshots/sitelay_main_window.png "$drawn"
  echo "The window with a polyline drawn: $drawn"
fi
