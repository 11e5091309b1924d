#!/usr/bin/env bash
# Regenerates docs/screenshots from the current build, on a virtual 1280 x 800 screen with a
# throw-away home folder so that no real settings are read or written.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cmake --build "$build" --target korvex-screenshots
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/Pictures"
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_CACHE_HOME=$home/.cache
if [[ $(id -u) -eq 0 ]]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1280x800x24" "$build/bin/korvex-screenshots" "$top/docs/screenshots"
