#!/usr/bin/env bash
# Installs what is missing, builds, and runs Tamsk: the window when a display
# is available (opening in examples/, where the load dialog shows the example
# project), otherwise tamsk-cli printing the example project's tree.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" default
bin="$root/build/default"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$bin/mainwin/tamsk" ]; then
  cd "$root/examples"
  exec "$bin/mainwin/tamsk"
fi
exec "$bin/cli/tamsk-cli" tree "$root/examples/shapes/shapes.wpj"
