#!/usr/bin/env bash
# Runs one recorded talvik-batch case in a scratch folder and compares every
# byte: standard output, standard error, the exit status and the files left.
#
# A case folder holds:
#   command          a bash snippet run in the scratch folder, with $BATCH the
#                    talvik-batch binary; it may run it several times and echo
#                    their exit statuses
#   files/           files in the scratch folder before the run (optional)
#   expected/stdout  standard output, exact bytes (JSON in it is also loaded
#                    with python3 -m json.tool when it starts with "[")
#   expected/stderr  standard error, exact bytes (optional; empty when absent)
#   expected/status  the snippet's exit status
#   expected/files/  every regular file in the scratch folder after the run
#                    (optional; when absent the folder must be unchanged)
#   any expected file as NAME.windows  what the Windows build gives instead,
#                    where the system words its message otherwise (optional)
#   not_on_windows   why the case cannot apply on Windows (optional)
#
# TALVIK_SYSTEM=Windows says that $BATCH is the Windows build.
set -u
BATCH=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
export BATCH
case_dir=$(cd "$2" && pwd)
windows=false
[ "${TALVIK_SYSTEM:-}" = Windows ] && windows=true
if $windows && [ -f "$case_dir/not_on_windows" ]; then
  echo "SKIP: $(cat "$case_dir/not_on_windows")"; exit 77
fi
# expected FILE: the expected file, or its Windows alternative where it has one.
expected() {
  if $windows && [ -f "$1.windows" ]; then echo "$1.windows"; else echo "$1"; fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/run"
if [ -d "$case_dir/files" ]; then cp -a "$case_dir/files/." "$work/run/"; fi
listing() { (cd "$work/run" && find . -type f -exec md5sum {} + | sort -k 2); }
before=$(listing)

(cd "$work/run" && bash "$case_dir/command" >"$work/stdout" 2>"$work/stderr")
status=$?

failed=0
fail() { echo "FAIL: $*"; failed=1; }
[ "$status" = "$(cat "$case_dir/expected/status")" ] ||
  fail "exit status $status, expected $(cat "$case_dir/expected/status")"
expected_stdout=$(expected "$case_dir/expected/stdout")
cmp -s "$work/stdout" "$expected_stdout" || {
  fail "standard output differs (expected < > actual):"
  diff "$expected_stdout" "$work/stdout" | head -40
}
expected_stderr=/dev/null
[ -f "$case_dir/expected/stderr" ] && expected_stderr=$(expected "$case_dir/expected/stderr")
cmp -s "$work/stderr" "$expected_stderr" || {
  fail "standard error differs (expected < > actual):"
  diff "$expected_stderr" "$work/stderr" | head -40
}
if [ "$(head -c 1 "$work/stdout")" = "[" ]; then
  command -v python3 >/dev/null || { echo "SKIP: python3 not found (Debian: python3)"; exit 77; }
  python3 -m json.tool "$work/stdout" >/dev/null || fail "standard output is not valid JSON"
fi
if [ -d "$case_dir/expected/files" ]; then
  actual_files=$(cd "$work/run" && find . -type f | sort)
  expected_files=$(cd "$case_dir/expected/files" && find . -type f ! -name '*.windows' | sort)
  [ "$actual_files" = "$expected_files" ] ||
    fail "files left: [$(echo $actual_files)], expected [$(echo $expected_files)]"
  for f in $expected_files; do
    [ -f "$work/run/$f" ] || continue
    expected_file=$(expected "$case_dir/expected/files/$f")
    cmp -s "$work/run/$f" "$expected_file" || {
      fail "file $f differs (expected < > actual):"
      diff "$expected_file" "$work/run/$f" | head -20
    }
  done
else
  [ "$(listing)" = "$before" ] || fail "the folder changed: $(diff <(echo "$before") <(listing))"
fi
exit $failed
