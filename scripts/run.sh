#!/usr/bin/env bash
# Installs what building and running Tamsk needs, builds the window and
# tamsk-cli (no tests: scripts/test.sh builds those), and runs Tamsk: the
# window when a display is available (opening in examples/, where the load
# dialog shows the example project), otherwise tamsk-cli printing the example
# project's tree.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh" --run
cmake --preset default -DTAMSK_BUILD_TESTS=OFF >/dev/null
cmake --build --preset default --target tamsk tamsk-cli
bin="$root/build/default"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$bin/mainwin/tamsk" ]; then
  cd "$root/examples"
  exec "$bin/mainwin/tamsk"
fi
exec "$bin/cli/tamsk-cli" tree "$root/examples/shapes/shapes.wpj"
