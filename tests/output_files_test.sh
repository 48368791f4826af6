#!/usr/bin/env bash
# talvik-batch and talvik-plot lose no file: "-" and /dev/stdout are standard
# output (appended to as the shell opened it), a replaced file keeps its mode,
# a symbolic link is followed and stays a link, a pipe or a device is written
# directly and stays what it was, a name of 251 bytes works, and a run ended
# by an interrupt or a termination leaves no temporary file.
#
#   output_files_test.sh TALVIK_BATCH TALVIK_PLOT EXAMPLES_FOLDER
set -u
batch=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
plot=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
examples=$(cd "$3" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
cp "$examples/sites37.txt" .
windows=false
[ "${TALVIK_SYSTEM:-}" = Windows ] && windows=true

failed=0
fail() { echo "FAIL: $*"; failed=1; }
same() { cmp -s "$1" "$2" || fail "$3: $2 is not $1"; }
no_temporaries() {
  local left
  left=$(find . -name '*tmp*')
  [ -z "$left" ] || fail "$1: temporary files left: $left"
}

"$batch" sites37.txt >expected.csv || fail "the table on standard output"
"$batch" -p plots sites37.txt >/dev/null || fail "the plot files"
"$plot" plots/sites37.csv expected.svg >/dev/null || fail "the picture"

# "-" is standard output, and so is /dev/stdout, even in a file opened for
# appending.
"$batch" -o - sites37.txt >dash.csv
same expected.csv dash.csv "-o -"
"$plot" plots/sites37.csv - >dash.svg
same expected.svg dash.svg "talvik-plot -"
if ! $windows; then
  "$batch" -o /dev/stdout sites37.txt | cat >piped.csv
  same expected.csv piped.csv "-o /dev/stdout into a pipe"
  echo kept >appended.csv
  "$batch" -o /dev/stdout sites37.txt >>appended.csv
  { echo kept; cat expected.csv; } >both.csv
  same both.csv appended.csv "-o /dev/stdout appended"
  "$plot" plots/sites37.csv /dev/stdout >devout.svg
  same expected.svg devout.svg "talvik-plot /dev/stdout"
  # Devices may be shared, standard output's too; a file on disk may not.
  "$batch" --chart /dev/null sites37.txt >/dev/null || fail "--chart /dev/null onto /dev/null"
  "$batch" --chart chart.svg sites37.txt >chart.svg 2>/dev/null
  [ $? = 2 ] || fail "--chart chart.svg with the table redirected there is no usage error"
  rm -f chart.svg
fi

# An existing file keeps its mode; a link is followed and stays a link; a
# pipe is written, not replaced; a link to /dev/null stays one (so that a
# failure here could not replace the system's own /dev/null).
if ! $windows; then
  for program in batch plot; do
    printf old >private.out
    chmod 600 private.out
    ln -s private.out link.out
    mkfifo pipe.out
    ln -s /dev/null null.out
    write() {  # OUTPUT
      if [ $program = batch ]; then
        "$batch" -o "$1" sites37.txt >/dev/null || fail "-o $1"
      else
        "$plot" plots/sites37.csv "$1" >/dev/null || fail "talvik-plot $1"
      fi
    }
    expected=expected.csv
    [ $program = plot ] && expected=expected.svg
    write private.out
    write link.out
    write null.out
    # A reader that waits no longer than a run takes.
    timeout 20 cat pipe.out >from_pipe.out &
    reader=$!
    write pipe.out
    wait $reader
    [ "$(stat -c %a private.out)" = 600 ] || fail "$program: the mode of private.out changed"
    same $expected private.out "$program, through a link"
    [ -L link.out ] || fail "$program: link.out is no longer a link"
    [ -p pipe.out ] || fail "$program: pipe.out is no longer a pipe"
    same $expected from_pipe.out "$program, a pipe's reader"
    [ -L null.out ] && [ -c /dev/null ] || fail "$program: null.out is no longer a link to a device"
    rm -f private.out link.out pipe.out null.out from_pipe.out
  done
  # The picture never replaces its plotting file, through a link either.
  ln -s plots/sites37.csv same.svg
  cp plots/sites37.csv plotting.csv
  "$plot" plots/sites37.csv same.svg >/dev/null 2>&1 && fail "talvik-plot wrote over its plotting file"
  same plotting.csv plots/sites37.csv "the plotting file"
  rm same.svg plotting.csv
fi

# A name as long as a name may be.
if ! $windows; then
  long=$(printf 'x%.0s' {1..247})
  "$batch" -o "$long.csv" sites37.txt || fail "-o with a name of 251 bytes"
  same expected.csv "$long.csv" "a name of 251 bytes"
  "$plot" plots/sites37.csv "$long.svg" >/dev/null || fail "talvik-plot with a name of 251 bytes"
  same expected.svg "$long.svg" "a picture's name of 251 bytes"
  rm -f "$long.csv" "$long.svg"
fi
no_temporaries "after the runs"

# Interrupted or terminated at any moment: no temporary file left.
if ! $windows && command -v timeout >/dev/null; then
  for signal in INT TERM; do
    for delay in 0.1 0.2 0.3 0.4 0.5 0.7; do
      rm -rf plots table.csv chart.svg
      timeout --preserve-status -s $signal $delay "$batch" -p plots -o table.csv \
        --chart chart.svg -s 1..1000 sites37.txt 2>/dev/null
      status=$?
      case $status in
        0 | 130 | 143) ;;
        *) fail "SIG$signal after $delay s: exit status $status" ;;
      esac
      no_temporaries "SIG$signal after $delay s"
    done
  done
fi

[ $failed = 0 ] && echo "outputs: all checks passed"
exit $failed
