#!/usr/bin/env bash
# Redraws the window's pictures, each shot on a virtual X display:
# docs/window.png, the window at its first size on a copy of
# examples/middlegame with the tree grown three levels, and
# docs/game-window.png, the window made larger on the position after 11 moves
# of examples/games/o-wins-in-row-12.psq with coordinates and move numbers on.
#   docs/make-screenshot.sh [BUILD_DIR]    (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=$(cd "${1:-build}" && pwd)
tool="$BUILD/app/vorek-window-screenshot"
if [ ! -x "$tool" ]; then
  echo "error: $tool is missing; build first (./dev.sh build)" >&2
  exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/vorek-screenshot-XXXXXX")
trap 'rm -rf "$work"' EXIT
cp examples/middlegame/plocha.dat examples/middlegame/tah.dat "$work/"
cd "$work"
shoot() {
  xvfb-run -a -s "-screen 0 1280x960x24" env QT_QPA_PLATFORM=xcb "$tool" "$@"
}
shoot "$ROOT/docs/window.png"
echo "wrote $ROOT/docs/window.png"
shoot --size 1000x700 --game "$ROOT/examples/games/o-wins-in-row-12.psq:11" "$ROOT/docs/game-window.png"
echo "wrote $ROOT/docs/game-window.png"
