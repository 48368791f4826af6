#!/usr/bin/env bash
# Builds the run preset and makes the packages in build/packages/: a .deb
# and a .tar.gz of what `cmake --install` installs. Lists each package's
# contents and fails unless both hold the two commands and their man pages.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset run
cmake --build build/run
rm -rf build/packages
cpack --config build/run/CPackConfig.cmake -B build/packages

shopt -s nullglob
debs=(build/packages/*.deb)
tarballs=(build/packages/*.tar.gz)
if [ ${#debs[@]} != 1 ] || [ ${#tarballs[@]} != 1 ]; then
  echo "FAIL: expected one .deb and one .tar.gz in build/packages/" >&2
  exit 1
fi

required=(bin/talvik bin/talvik-plot bin/talvik-batch share/man/man1/talvik.1
          share/man/man1/talvik-plot.1 share/man/man1/talvik-batch.1)
failed=0
# check PACKAGE LISTING PREFIX: every required file stands in LISTING under PREFIX.
check() {
  local path
  for path in "${required[@]}"; do
    grep -qx -- "$3$path" <<<"$2" || { echo "FAIL: $1 lacks $path" >&2; failed=1; }
  done
}

echo "== ${debs[0]}"
dpkg-deb --field "${debs[0]}" Package Version Architecture Section Depends
deb_listing=$(dpkg-deb --contents "${debs[0]}")
echo "$deb_listing"
check "${debs[0]}" "$(awk '{print $NF}' <<<"$deb_listing")" './usr/'

echo "== ${tarballs[0]}"
tar_listing=$(tar tzf "${tarballs[0]}")
echo "$tar_listing"
check "${tarballs[0]}" "$tar_listing" "$(basename "${tarballs[0]}" .tar.gz)/"

[ $failed = 0 ] && echo "packages: the commands and man pages are in both"
exit $failed
