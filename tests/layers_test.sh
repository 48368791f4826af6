#!/usr/bin/env bash
# Each folder is one layer, and includes only point down the layers:
#   analysis <- session/console <- reports <- session (the dialogue)
# with plot above session/console, reports and analysis, batch above plot
# too, and the web page's module above batch. Any include that points elsewhere (up, or from a companion into the
# dialogue) fails the test and is named.
#
#   tests/layers_test.sh SOURCE_DIR
set -uo pipefail
cd "${1:?usage: layers_test.sh SOURCE_DIR}"

declare -A below=(
  [analysis]="analysis"
  [session/console]="analysis session/console"
  [reports]="analysis session/console reports"
  [session]="analysis session/console reports session"
  [plot]="analysis session/console reports plot"
  [batch]="analysis session/console reports plot batch"
  [web]="analysis session/console reports plot batch web"
)

layer_of() {
  case $1 in
    session/console/*) echo session/console ;;
    */*) echo "${1%%/*}" ;;
  esac
}

faults=0
while IFS= read -r -d '' file; do
  from=$(layer_of "$file")
  [ -n "${below[$from]+set}" ] || continue
  while IFS= read -r included; do
    to=$(layer_of "$included")
    # System and library headers (gtest/gtest.h, fast_float/...) are no layer.
    [ -n "$to" ] && [ -n "${below[$to]+set}" ] || continue
    if [[ " ${below[$from]} " != *" $to "* ]]; then
      echo "$file includes $included: $from may not use $to"
      faults=$((faults + 1))
    fi
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find analysis session reports plot batch web -name '*.h' -print0 -o -name '*.cc' -print0)

if [ "$faults" -gt 0 ]; then
  echo "$faults include(s) against the layers"
  exit 1
fi
echo "every include points down the layers"
