#!/usr/bin/env bash
# Records what a talvik-batch case gives now as its expected output, for a
# new case or after a deliberate change; read the difference (git diff) before
# committing it. The case folder needs its command and, optionally, files/
# (see run_batch_case.sh).
#
#   tests/record_batch_case.sh TALVIK_BATCH CASE_DIR...
#
# With TALVIK_SYSTEM=Windows (TALVIK_BATCH then runs the Windows build, e.g.
# build/windows/emulated/talvik-batch) only the Windows alternatives are
# written: NAME.windows where the output differs from NAME, none where not.
# Otherwise the Windows alternatives are kept as they are.
set -u
BATCH=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
export BATCH
# The version the test gives a case, as CMake does.
: "${TALVIK_VERSION:=$(sed -n 's/^project(talvik VERSION \([0-9.]*\).*/\1/p' \
  "$(dirname "$0")/../CMakeLists.txt")}"
export TALVIK_VERSION
windows=false
[ "${TALVIK_SYSTEM:-}" = Windows ] && windows=true
shift

# alternative ACTUAL EXPECTED: EXPECTED.windows when ACTUAL differs from it.
alternative() {
  if cmp -s "$1" "$2"; then rm -f "$2.windows"; else cp "$1" "$2.windows"; fi
}

for case_arg in "$@"; do
  case_dir=$(cd "$case_arg" && pwd)
  expected=$case_dir/expected
  if $windows && [ -f "$case_dir/not_on_windows" ]; then
    echo "skipped $(basename "$case_dir"): not on Windows"
    continue
  fi
  work=$(mktemp -d)
  mkdir "$work/run"
  if [ -d "$case_dir/files" ]; then cp -a "$case_dir/files/." "$work/run/"; fi
  listing() { (cd "$work/run" && find . -type f -exec md5sum {} + | sort -k 2); }
  before=$(listing)
  (cd "$work/run" && bash "$case_dir/command" >"$work/stdout" 2>"$work/stderr")
  status=$?
  if $windows; then
    alternative "$work/stdout" "$expected/stdout"
    # An alternative needs the file it stands for, empty if need be.
    [ -f "$expected/stderr" ] || [ ! -s "$work/stderr" ] || : >"$expected/stderr"
    [ -f "$expected/stderr" ] && alternative "$work/stderr" "$expected/stderr"
    if [ -d "$expected/files" ]; then
      (cd "$expected/files" && find . -type f ! -name '*.windows') | while read -r f; do
        [ -f "$work/run/$f" ] && alternative "$work/run/$f" "$expected/files/$f"
      done
    fi
  else
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
  fi
  rm -rf "$work"
  echo "recorded $(basename "$case_dir"): status $status"
done
