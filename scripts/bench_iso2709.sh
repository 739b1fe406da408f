#!/usr/bin/env bash
# Copies a file of 100,000 real UTF-8 records (Debian's sample MARCXML
# collections turned into ISO 2709 by yaz, repeated) through MarcRecordIn and
# MarcRecordOut, and the same file through `yaz-marcdump -i marc -o marc`;
# best of three runs each. Prints both rates and the ratio (ours per record
# against yaz's: 1.0 or more means ours is no slower).
# Usage: scripts/bench_iso2709.sh [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target iso2709_copy

records=${1:-100000}
work=build/bench-iso2709
mkdir -p "$work"
samples=/usr/share/doc/idzebra-2.0/examples/marcxml
if [ ! -f "$work/records-$records.mrc" ]; then
  : > "$work/samples.mrc"
  for f in "$samples"/collection-*.xml*; do
    case "$f" in
      *.gz) zcat "$f" > "$work/sample.xml" ;;
      *) cp "$f" "$work/sample.xml" ;;
    esac
    yaz-marcdump -i marcxml -o marc -l 9=97 "$work/sample.xml" >> "$work/samples.mrc"
  done
  python3 - "$work/samples.mrc" "$work/records-$records.mrc" "$records" <<'PY'
import sys
samples = [r + b"\x1d" for r in open(sys.argv[1], "rb").read().split(b"\x1d") if r]
n = int(sys.argv[3])
with open(sys.argv[2], "wb") as out:
    for i in range(n):
        out.write(samples[i % len(samples)])
PY
fi
input="$work/records-$records.mrc"

best() {  # best wall time in seconds of three runs of a command
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

ours=$(best build/bin/iso2709_copy "$input" "$work/ours.mrc")
yaz=$(best sh -c "yaz-marcdump -i marc -o marc '$input' > '$work/yaz.mrc'")
build/bin/iso2709_copy "$input" "$work/ours.mrc"
python3 - "$records" "$ours" "$yaz" <<'PY'
import sys
n, ours, yaz = int(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3])
print(f"records {n}")
print(f"ours: {n / ours:,.0f} records/s, {ours * 1e6 / n:.2f} us/record")
print(f"yaz:  {n / yaz:,.0f} records/s, {yaz * 1e6 / n:.2f} us/record")
print(f"ratio (yaz time / our time): {yaz / ours:.2f}")
PY
