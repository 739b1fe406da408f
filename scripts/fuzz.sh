#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time each.
# Usage: scripts/fuzz.sh BUILD_DIR [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder}
seconds=${2:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

targets=$(find "$build/bin" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x | sort)
if [ -z "$targets" ]; then
  echo "no fuzz targets in $build/bin" >&2
  exit 1
fi

run_one() {
  exe=$1; seconds=$2; work=$3
  name=$(basename "$exe"); name=${name#fuzz_}
  corpus="$work/$name"
  mkdir -p "$corpus"
  if [ -d "fuzz/corpus/$name" ]; then cp -r "fuzz/corpus/$name/." "$corpus/"; fi
  if "$exe" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=25 -print_final_stats=0 \
       -artifact_prefix="$work/$name-" "$corpus" > "$work/$name.log" 2>&1; then
    echo "fuzz $name: passed ($seconds s)"
  else
    echo "fuzz $name: FAILED"; tail -n 60 "$work/$name.log"; return 1
  fi
}
export -f run_one

# Two at a time: the machines have at least two cores.
echo "$targets" | xargs -P 2 -I{} bash -c 'run_one "$@"' _ {} "$seconds" "$work"
