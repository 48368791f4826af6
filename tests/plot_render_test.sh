#!/usr/bin/env bash
# Draws a small plotting file with the real talvik-plot and has headless
# Chromium render the SVG to a PNG: the PNG must have the picture's size and
# carry far more than a blank page of that size; with --unit the size axis
# names the unit, which changes the rendering. Exits 77 (skipped) where
# Chromium is not installed.
set -u
plot=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
browser=$(command -v chromium || command -v chromium-browser) ||
  { echo "SKIP: chromium not found (Debian: chromium)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

printf '%s\r\n' 'RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO' \
  '   1,      1000.0000,      1000.0000,      1000.0000,       500.0000' \
  '   2,       500.0000,       500.0000,       500.0000,       100.0000' \
  '   3,       100.0000,       333.3333,       100.0000,        20.0000' \
  '   4,        10.0000,       250.0000,        20.0000,        10.0000' \
  '   5,         0.0000,       200.0000,        10.0000,         0.0000' >small.csv
"$plot" small.csv >/dev/null || { echo "FAIL: talvik-plot refused small.csv"; exit 1; }
printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' \
  '<svg xmlns="http://www.w3.org/2000/svg" width="860" height="510"><rect width="860" height="510" fill="#ffffff"/></svg>' >blank.svg

# render NAME: NAME.svg to NAME.png at the picture's size.
render() {
  timeout 120 "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars \
    --no-first-run --user-data-dir="$work/profile" --window-size=860,510 \
    --screenshot="$work/$1.png" "file://$work/$1.svg" >"$1.log" 2>&1
  [ -s "$1.png" ] || { echo "FAIL: no screenshot of $1.svg"; cat "$1.log"; exit 1; }
}
render small
render blank
"$plot" --unit 'ha & more' small.csv unit.svg >/dev/null ||
  { echo "FAIL: talvik-plot refused --unit"; exit 1; }
render unit

failed=0
[ "$(head -c 8 small.png | od -A n -t x1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  { echo "FAIL: small.png is not a PNG"; failed=1; }
# Width and height are the first two fields of the IHDR chunk.
size=$(od -A n -t u1 -j 16 -N 8 small.png | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
[ "$size" = 860x510 ] || { echo "FAIL: small.png is $size, expected 860x510"; failed=1; }
picture=$(stat -c %s small.png)
blank=$(stat -c %s blank.png)
[ "$picture" -gt $((8 * blank)) ] ||
  { echo "FAIL: small.png has $picture bytes, a blank page $blank: nothing drawn?"; failed=1; }
grep -q '>Size (ha &amp; more)</text>' unit.svg ||
  { echo "FAIL: unit.svg does not name the unit on its size axis"; failed=1; }
cmp -s small.png unit.png &&
  { echo "FAIL: unit.png is rendered the same as small.png"; failed=1; }
[ $failed = 0 ] && echo "rendered: $picture bytes (blank page: $blank)"
exit $failed
