#!/usr/bin/env bash
# Starts the program; without a display it runs under a virtual X server.
set -euo pipefail
exe=$1; shift
# The embedded browser refuses to start as root unless its sandbox is off.
if [[ $(id -u) -eq 0 ]]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$exe" "$@"
fi
exec "$exe" "$@"
