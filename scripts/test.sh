#!/usr/bin/env bash
# Runs every test. Widget tests use the offscreen platform; the few that need a real X server
# start their own through xvfb-run.
set -euo pipefail
build=$1
export QT_QPA_PLATFORM=offscreen
if [[ $(id -u) -eq 0 ]]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
