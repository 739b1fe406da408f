#!/usr/bin/env bash
# Sourced by the benchmark scripts, from the top of the source tree.

# bench_build TARGET: the packages, then the release build of one target.
bench_build() {
  bash scripts/install-deps.sh
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build --target "$1"
}

# bench_records N FILE writes FILE (once):
# N real UTF-8 records, Debian's sample MARCXML collections of idzebra-2.0
# turned into ISO 2709 by yaz, repeated.
bench_records() {
  local records=$1 file=$2
  [ -f "$file" ] && return 0
  local work
  work=$(dirname "$file")
  mkdir -p "$work"
  local samples=/usr/share/doc/idzebra-2.0/examples/marcxml
  : > "$work/samples.mrc"
  for f in "$samples"/collection-*.xml*; do
    case "$f" in
      *.gz) zcat "$f" > "$work/sample.xml" ;;
      *) cp "$f" "$work/sample.xml" ;;
    esac
    yaz-marcdump -i marcxml -o marc -l 9=97 "$work/sample.xml" >> "$work/samples.mrc"
  done
  repeat_records "$work/samples.mrc" "$records" "$file"
}

# repeat_records SOURCE N FILE writes FILE: the records of SOURCE repeated to N.
repeat_records() {
  python3 - "$1" "$3" "$2" <<'PY'
import sys
samples = [r + b"\x1d" for r in open(sys.argv[1], "rb").read().split(b"\x1d") if r]
n = int(sys.argv[3])
with open(sys.argv[2], "wb") as out:
    for i in range(n):
        out.write(samples[i % len(samples)])
PY
}

# best COMMAND...: the best wall time in seconds of three runs.
best() {
  local best=""
  for _ in 1 2 3; do
    local t0 t1
    t0=$(date +%s.%N)
    "$@" > /dev/null
    t1=$(date +%s.%N)
    best=$(python3 -c "import sys; t=float(sys.argv[2])-float(sys.argv[1]); b=sys.argv[3]; print(t if b=='' or t<float(b) else b)" "$t0" "$t1" "$best")
  done
  echo "$best"
}

# report_rates RECORDS OUR-SECONDS YAZ-SECONDS: both rates and the ratio
# (yaz's time over ours: 1.0 or more means ours is no slower per record).
report_rates() {
  python3 - "$1" "$2" "$3" <<'PY'
import sys
n, ours, yaz = int(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3])
print(f"records {n}")
print(f"ours: {n / ours:,.0f} records/s, {ours * 1e6 / n:.2f} us/record")
print(f"yaz:  {n / yaz:,.0f} records/s, {yaz * 1e6 / n:.2f} us/record")
print(f"ratio (yaz time / our time): {yaz / ours:.2f}")
PY
}
