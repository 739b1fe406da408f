#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the demo need.
# Harmless when they are already there: apt is called only for what is missing.
set -euo pipefail

packages=(
  # build
  g++ clang lld cmake ninja-build ccache pkg-config
  # sanitizer and fuzzer runtimes for clang
  libclang-rt-14-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev python3
  # database: ODBC driver manager, the SQLite ODBC driver, SQLite
  unixodbc unixodbc-dev odbcinst libsqliteodbc sqlite3 libsqlite3-dev
  # window and sound
  qt6-base-dev libsndfile1-dev libasound2-dev
  # a display for the demo on machines without one
  xvfb xauth
  # references of the field for differential tests, and sample records
  yaz libmarc-perl libmarc-charset-perl libmarc-record-perl idzebra-2.0-examples
  libxml2-utils python3-stdnum liblibrary-callnumber-lc-perl libbusiness-isbn-perl
  unicode-data
  # XML documents read back in the tests and the fuzz target
  libxml2-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
