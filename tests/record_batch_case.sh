#!/usr/bin/env bash
# Records what a talvik-batch case gives now as its expected output, for a
# new case or after a deliberate change; read the difference (git diff) before
# committing it. The case folder needs its command and, optionally, files/
# (see run_batch_case.sh). Windows alternatives (NAME.windows) are kept.
#
#   tests/record_batch_case.sh TALVIK_BATCH CASE_DIR...
set -u
BATCH=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
export BATCH
# The version the test gives a case, as CMake does.
: "${TALVIK_VERSION:=$(sed -n 's/^project(talvik VERSION \([0-9.]*\).*/\1/p' \
  "$(dirname "$0")/../CMakeLists.txt")}"
export TALVIK_VERSION
shift
for case_arg in "$@"; do
  case_dir=$(cd "$case_arg" && pwd)
  work=$(mktemp -d)
  mkdir "$work/run"
  if [ -d "$case_dir/files" ]; then cp -a "$case_dir/files/." "$work/run/"; fi
  listing() { (cd "$work/run" && find . -type f -exec md5sum {} + | sort -k 2); }
  before=$(listing)
  (cd "$work/run" && bash "$case_dir/command" >"$work/stdout" 2>"$work/stderr")
  status=$?
  expected=$case_dir/expected
  mkdir -p "$expected"
  find "$expected" -type f ! -name '*.windows' -delete
  cp "$work/stdout" "$expected/stdout"
  [ -s "$work/stderr" ] && cp "$work/stderr" "$expected/stderr"
  echo "$status" >"$expected/status"
  if [ "$(listing)" != "$before" ]; then
    mkdir -p "$expected/files"
    cp -a "$work/run/." "$expected/files/"
  fi
  find "$expected" -type d -empty -delete
  rm -rf "$work"
  echo "recorded $(basename "$case_dir"): status $status"
done
