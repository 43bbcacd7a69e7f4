#!/usr/bin/env bash
# Installs what is missing, builds Taliven and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target taliven taliven-cli

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  cat >&2 <<'MSG'
Taliven is built, but this machine has no display to show its windows on
(neither DISPLAY nor WAYLAND_DISPLAY is set). Run it on a virtual display:

    xvfb-run -a -s "-screen 0 1024x768x24" build/app/taliven

or from a desktop session: build/app/taliven
MSG
  exit 1
fi
exec build/app/taliven
