#!/usr/bin/env bash
# Builds Varnholt and starts it. Arguments are passed to the game.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVRN_TESTS=OFF -DVRN_BENCH=OFF >/dev/null
cmake --build "$root/build/release" --target varnholt
exec "$root/build/release/src/varnholt" "$@"
