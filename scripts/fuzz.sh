#!/usr/bin/env bash
# Installs what is missing (clang and libFuzzer too), builds the fuzz program into BUILD_DIR
# (default build-fuzz/) and runs every target for SECONDS (default 60), one after another, printing the executions of
# each. A target that fails leaves its input in BUILD_DIR/findings/<target>/ and the script
# exits 1 after the others ran; keep such an input in tests/fixtures/fuzz/<target>/.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build_dir=${BUILD_DIR:-build-fuzz}

scripts/install-deps.sh --fuzz

CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_FUZZ=ON > /dev/null
ninja -C "$build_dir" tarnwick_fuzz
fuzzer="$build_dir/fuzz/tarnwick_fuzz"

# Seed folders of a target: the test fixtures that are its kind of input (copied into one
# folder, as libFuzzer reads folders), then its hand-written seeds and kept inputs.
fixtures=tests/fixtures
seed_folders() {
  local target=$1 seeds="$build_dir/seeds/$1"
  rm -rf "$seeds" && mkdir -p "$seeds"
  case $target in
    xml_collection|xml_branch) cp "$fixtures"/*.xml "$fixtures"/export/snippets.xml "$seeds"/ ;;
    text_encoding) cp "$fixtures"/keys/* fuzz/seeds/text_collection/* "$seeds"/ ;;
    keys_file) cp "$fixtures"/keys/* "$seeds"/ ;;
    settings_ini) cp "$fixtures"/export/colours.ini "$seeds"/ ;;
    tokenizers)
      # The first byte of an input is the language's catalogue position.
      local -A position=([pas]=0 [cpp]=1 [for]=2 [java]=3 [bas]=4 [cbl]=5 [cs]=6 [css]=7 [html]=8
                         [js]=9 [php]=10 [pl]=11 [asm]=12 [vbs]=13 [sql]=14)
      for ext in "${!position[@]}"; do
        { printf "\\x$(printf %02x "${position[$ext]}")"; cat "$fixtures/highlight/sample.$ext"; } > "$seeds/sample.$ext"
      done ;;
  esac
  echo "$seeds"
  for extra in "$fixtures/fuzz/$target" "fuzz/seeds/$target"; do
    [ -d "$extra" ] && echo "$extra"
  done
  return 0
}

mapfile -t targets < <(TARNWICK_FUZZ_TARGET=list "$fuzzer")
[ $# -gt 0 ] && targets=("$@")

# Scratch files of the checks go to memory when it can.
[ -d /dev/shm ] && export TMPDIR=/dev/shm
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=()
summary=()
for target in "${targets[@]}"; do
  corpus="$build_dir/corpus/$target"
  findings="$build_dir/findings/$target"
  log="$build_dir/logs/$target.log"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  mapfile -t seeds < <(seed_folders "$target")
  echo "== $target: $seconds s"
  status=0
  TARNWICK_FUZZ_TARGET=$target "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=16384 -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" "${seeds[@]}" > "$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  summary+=("$(printf '%-16s %10s executions in %s s' "$target" "${runs:-?}" "$seconds")")
  if [ "$status" -ne 0 ]; then
    failed+=("$target")
    grep -E "^(==|SUMMARY|$target:)|ERROR" "$log" | head -20 || true
    echo "-- $target failed; its input is in $findings/ and the log in $log"
  fi
done

echo "== executions per target"
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "failed: ${failed[*]}"
  exit 1
fi
