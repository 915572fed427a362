#!/usr/bin/env bash
# Configures and builds into BUILD_DIR (default build/). SANITIZE=1 builds with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache may reuse objects compiled in another checkout of the project: paths below the
# checkout are hashed relative to it.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-true}"
build_dir=${BUILD_DIR:-build}
sanitize=${SANITIZE:-0}
type=${BUILD_TYPE:-RelWithDebInfo}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" \
      -DTARNWICK_SANITIZE=$([ "$sanitize" = 1 ] && echo ON || echo OFF) > /dev/null
ninja -C "$build_dir"
