#!/usr/bin/env bash
# Redraws the window's pictures, each shot on a virtual X display:
# docs/window.png, the window at its first size on a copy of
# examples/middlegame with the tree grown three levels, and
# docs/game-window.png, the window made larger on the position after 11 moves
# of examples/games/o-wins-in-row-12.psq with coordinates and move numbers on,
# and, where an engine is found ($VOREK_ENGINE, else pbrain-rapfi in
# shared/engines beside the checkout or beside the folder that holds it),
# docs/analysis-window.png: the middlegame analysed by it with F5, the pointer
# over its best move.
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
engine=${VOREK_ENGINE:-}
for candidate in "$ROOT/../shared/engines/pbrain-rapfi" "$ROOT/../../shared/engines/pbrain-rapfi"; do
  if [ -z "$engine" ] && [ -x "$candidate" ]; then engine=$(cd "$(dirname "$candidate")" && pwd)/pbrain-rapfi; fi
done
if [ -n "$engine" ]; then
  shoot --size 1000x820 --engine "$engine" "$ROOT/docs/analysis-window.png"
  echo "wrote $ROOT/docs/analysis-window.png"
else
  echo "no engine found: docs/analysis-window.png is left as it is" >&2
fi
