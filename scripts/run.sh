#!/usr/bin/env bash
# Builds everything, makes the demo library (a SQLite database of a few
# thousand items with its data source, settings files and sounds) in
# build/demo, and starts the exit-check program on it. Without a display the
# window runs under Xvfb. Demo barcodes: build/demo/demo-barcodes.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build

demo=build/demo
driver=$(sed -n 's/^Driver=//p' build/odbc/odbcinst.ini | head -n 1)
python3 tools/demo/make_demo.py --schema testdata/library_schema.sql --driver "$driver" \
  --extension build/lib/libcompat.so --normal-forms build/bin/normal_forms --out "$demo" --items "${DEMO_ITEMS:-3000}"

export ODBCSYSINI=$PWD/$demo ODBCINI=$PWD/$demo/odbc.ini EXITDESK_SETTINGS_DIR=$PWD/$demo/settings
echo
echo "Demo barcodes (all of them in $demo/demo-barcodes.txt):"
grep -E '^[0-9]' "$demo/demo-barcodes.txt" | head -n 12 | sed 's/^/  /'
echo

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting the exit-check window. Scan or type a barcode and press Enter."
  exec build/bin/cleared-for-exit
else
  echo "No display here: the window runs under Xvfb, a virtual display, where it cannot be seen."
  echo "Stop it with Ctrl+C. On a desktop the same command shows the window."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/cleared-for-exit
fi
