#!/usr/bin/env bash
# Redraws docs/middlegame.png, the board picture of examples/middlegame, and
# docs/game.png, the end of examples/games/o-wins-in-row-12.psq with letter
# colours and move numbers, with vorek-cli picture.
#   docs/make-example-picture.sh [BUILD_DIR]    (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
cli="$(cd "${1:-build}" && pwd)/cli/vorek-cli"
if [ ! -x "$cli" ]; then
  echo "error: $cli is missing; build first (./dev.sh build)" >&2
  exit 1
fi
"$cli" picture --dir examples/middlegame --out docs/middlegame.png
echo "wrote docs/middlegame.png"
"$cli" picture --game examples/games/o-wins-in-row-12.psq --colours-by-letter --move-numbers \
  --out docs/game.png
echo "wrote docs/game.png"
