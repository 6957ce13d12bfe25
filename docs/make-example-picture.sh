#!/usr/bin/env bash
# Redraws docs/middlegame.png, the board picture of examples/middlegame, with
# vorek-cli picture.
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
