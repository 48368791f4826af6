#!/bin/sh
# wine_run.sh WINE PROGRAM [ARGUMENT...]: runs a Windows program under wine,
# in the prefix WINEPREFIX, with the wine server WINESERVER. Debian's server
# stops as soon as its last program ends, and a program started meanwhile
# may meet it stopping and fail; a server that stays 30 seconds after the
# last program serves the test programs run one after another. When one runs
# already, this one is not started.
"$WINESERVER" -p30 >/dev/null 2>&1
exec "$@"
