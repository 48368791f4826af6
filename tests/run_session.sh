#!/usr/bin/env bash
# Runs one recorded session against the real talvik binary and compares every
# byte: the screen, the fault report, the exit status and each file left in the
# working directory.
#
# A session folder holds:
#   answers          what the user types (standard input), exact bytes
#   files/           files in the working directory before the run (optional)
#   setup            shell commands run in the working directory first (optional)
#   expected/stdout  the screen, exact bytes
#   expected/stderr  the fault report (optional; empty when absent)
#   expected/status  the exit status
#   expected/files/  every regular file in the working directory after the run
#                    (a large one as NAME.sha256, its checksum)
#   expected/max_rss_kb  the most memory the run may take (optional)
#   as_nobody        run as an unprivileged user, so that file modes bind (optional)
#   expected/stderr.windows  the fault report of the Windows build, where the
#                    system words its message otherwise (optional)
#
# TALVIK_WRAPPER, when set, is a command that runs talvik (valgrind, or wine
# for the Windows build). TALVIK_SYSTEM=Windows says that talvik is the
# Windows build.
set -u
talvik=$1
case_dir=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/run"
if [ -d "$case_dir/files" ]; then cp -a "$case_dir/files/." "$work/run/"; fi
if [ -f "$case_dir/setup" ]; then (cd "$work/run" && bash "$case_dir/setup") || exit 1; fi

read -r -a run <<<"${TALVIK_WRAPPER:-}"
run+=("$talvik")
if [ -f "$case_dir/as_nobody" ] && [ "$(id -u)" = 0 ]; then
  # wine runs only as the owner of its prefix.
  [ "${TALVIK_SYSTEM:-}" = Windows ] && {
    echo "SKIP: wine cannot run the Windows build as an unprivileged user here"; exit 77; }
  # Root writes through any file mode; an unprivileged user does not.
  chmod 755 "$work"
  chown -R 65534:65534 "$work/run"
  run=(setpriv --reuid=65534 --regid=65534 --clear-groups "${run[@]}")
  setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$talvik" || {
    echo "SKIP: the unprivileged user cannot run $talvik"; exit 77; }
fi
# A wrapper's own memory would count too.
if [ -f "$case_dir/expected/max_rss_kb" ] && [ -z "${TALVIK_WRAPPER:-}" ]; then
  [ -x /usr/bin/time ] || { echo "SKIP: /usr/bin/time not found (Debian: time)"; exit 77; }
  run=(/usr/bin/time -f %M -o "$work/rss" "${run[@]}")
fi

(cd "$work/run" && "${run[@]}" <"$case_dir/answers" >"$work/stdout" 2>"$work/stderr")
status=$?

failed=0
fail() { echo "FAIL: $*"; failed=1; }
[ "$status" = "$(cat "$case_dir/expected/status")" ] ||
  fail "exit status $status, expected $(cat "$case_dir/expected/status")"
cmp -s "$work/stdout" "$case_dir/expected/stdout" || {
  fail "screen differs (expected < > actual):"
  diff <(cat -A "$case_dir/expected/stdout") <(cat -A "$work/stdout") | head -40
}
expected_stderr=/dev/null
[ -f "$case_dir/expected/stderr" ] && expected_stderr="$case_dir/expected/stderr"
[ "${TALVIK_SYSTEM:-}" = Windows ] && [ -f "$case_dir/expected/stderr.windows" ] &&
  expected_stderr="$case_dir/expected/stderr.windows"
cmp -s "$work/stderr" "$expected_stderr" || {
  fail "fault report differs (expected < > actual):"
  diff "$expected_stderr" "$work/stderr" | head -20
}
if [ -f "$work/rss" ]; then
  rss=$(tail -n 1 "$work/rss")
  [ "$rss" -le "$(cat "$case_dir/expected/max_rss_kb")" ] ||
    fail "took $rss KB of memory, at most $(cat "$case_dir/expected/max_rss_kb") KB expected"
fi
# A file too large to keep in the case stands in expected/files as NAME.sha256.
actual_files=$(cd "$work/run" && find . -type f | sort)
expected_files=$(cd "$case_dir/expected/files" 2>/dev/null && find . -type f | sed 's/\.sha256$//' | sort)
[ "$actual_files" = "$expected_files" ] ||
  fail "files left: [$(echo $actual_files)], expected [$(echo $expected_files)]"
for f in $expected_files; do
  [ -f "$work/run/$f" ] || continue
  if [ -f "$case_dir/expected/files/$f.sha256" ]; then
    [ "$(sha256sum <"$work/run/$f" | cut -d' ' -f1)" = "$(cat "$case_dir/expected/files/$f.sha256")" ] ||
      fail "file $f differs from its checksum"
  elif ! cmp -s "$work/run/$f" "$case_dir/expected/files/$f"; then
    fail "file $f differs (expected < > actual):"
    diff <(cat -A "$case_dir/expected/files/$f") <(cat -A "$work/run/$f") | head -40
  fi
done
exit $failed
