#!/bin/sh
# wine_run.sh WINE PROGRAM [ARGUMENT...]: runs a Windows program under wine,
# in the prefix WINEPREFIX, with the wine server WINESERVER.
#
# Debian's server stops as soon as its last program ends, and a program
# started meanwhile may meet it stopping and fail. So one server, which stays
# two minutes after the last program (a loaded build machine may take longer
# than half a minute between two test programs), serves the test programs run
# one after another. Where there is none, it is started here, one caller at a time, and
# its system programs (services, devices), which live as long as it does, are
# started by a wineboot whose output goes nowhere: started by a test program,
# they would hold its output open and its caller waiting. The first start
# also makes the prefix, which takes a while.
flock --close "$WINEPREFIX.lock" sh -c '
  mkdir -p "$WINEPREFIX"
  if "$WINESERVER" -p120 >/dev/null 2>&1; then
    "$1" wineboot </dev/null >/dev/null 2>&1
  fi
' sh "$1"
exec "$@"
