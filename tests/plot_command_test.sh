#!/usr/bin/env bash
# Runs the real talvik-plot on small plotting files in a scratch folder: a good
# file gives a well-formed SVG with one point per drawable observed size at the
# right place; a bad or missing file is refused with exit status 1, a message
# naming the file and line, and nothing written.
set -u
plot=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
version=${TALVIK_VERSION:?the version of the project, which CMake gives the test}
command -v xmllint >/dev/null || { echo "SKIP: xmllint not found (Debian: libxml2-utils)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

failed=0
fail() { echo "FAIL: $*"; failed=1; }

# Ranks 1 to 5 along x at 103.10, 328.69, 460.65, 554.28 and 626.90 (log 5
# with 2.5 % of it beyond each end in the 550 pixels from 90), sizes 10 to
# 1000 along y from 450 up to 70. The observed size of rank 5 is zero.
header='RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO'
rows=(
  '   1,      1000.0000,      1000.0000,      1000.0000,       500.0000'
  '   2,       500.0000,       500.0000,       500.0000,       100.0000'
  '   3,       100.0000,       333.3333,       100.0000,        20.0000'
  '   4,        10.0000,       250.0000,        20.0000,        10.0000'
  '   5,         0.0000,       200.0000,        10.0000,         0.0000'
)
printf '%s\r\n' "$header" "${rows[@]}" >small.csv
printf '%s\n' "$header" "${rows[@]}" >small_lf.csv

xpath() { xmllint --xpath "$1" "$2" 2>/dev/null; }

check_picture() {  # FILE.svg
  xmllint --noout "$1" || { fail "$1 is not well-formed XML"; return; }
  [ "$(xpath 'count(//*[@id="observed-points"]/*[local-name()="circle"])' "$1")" = 4 ] ||
    fail "$1: expected 4 observed points"
  [ "$(xpath 'string(//*[@id="observed-line"]/*[1]/@points)' "$1")" = \
    "103.10,70.00 328.69,127.20 460.65,260.00 554.28,450.00" ] ||
    fail "$1: observed line at the wrong place"
  [ "$(xpath 'string(//*[@id="reference"]/*[1]/@points)' "$1")" = \
    "103.10,70.00 328.69,127.20 460.65,160.65 554.28,184.39 626.90,202.80" ] ||
    fail "$1: reference line at the wrong place"
  [ "$(xpath 'count(//*[@id="reference"][@stroke-dasharray])' "$1")" = 1 ] ||
    fail "$1: reference line not dashed"
  [ "$(xpath 'string(//*[@id="zone"]/@points)' "$1")" = \
    "103.10,70.00 328.69,127.20 460.65,260.00 554.28,392.80 626.90,450.00 554.28,450.00 460.65,392.80 328.69,260.00 103.10,127.20" ] ||
    fail "$1: zone at the wrong place"
  [ "$(xpath 'string(//*[@id="left-out"]/*[2])' "$1")" = "SETSIZE: 1 zero" ] ||
    fail "$1: the zero size is not noted"
}

"$plot" small.csv >out.txt 2>err.txt
status=$?
[ $status = 0 ] || fail "small.csv: exit status $status: $(cat err.txt)"
[ "$(cat out.txt)" = "Wrote small.svg (5 ranks)" ] || fail "small.csv: said $(cat out.txt)"
[ -s err.txt ] && fail "small.csv: complained: $(cat err.txt)"
check_picture small.svg

"$plot" small_lf.csv lf.svg >/dev/null 2>err.txt || fail "LF records refused: $(cat err.txt)"
check_picture lf.svg
cmp -s <(grep -v 'small' small.svg) <(grep -v 'small_lf' lf.svg) ||
  fail "LF records drawn differently from CR LF ones"

# Markup and bytes that are not UTF-8 in the name still give well-formed XML.
# Windows names hold neither < > nor ", and wine reaches no Linux name that is
# not UTF-8.
odd=$'R&D <"sites"> \xe9.csv'
[ "${TALVIK_SYSTEM:-}" = Windows ] && odd="R&D 'sites'.csv"
cp small.csv "$odd"
"$plot" "$odd" odd.svg >/dev/null 2>err.txt || fail "odd name refused: $(cat err.txt)"
xmllint --noout odd.svg || fail "odd name: not well-formed XML"
rm -f "$odd" odd.svg lf.svg small_lf.csv

# refuse NAME CONTENT EXPECTED_MESSAGE: exit status 1, the message, and the
# folder exactly as before (an old picture kept).
refuse() {
  local name=$1 content=$2 expected=$3
  [ -n "$content" ] && printf '%s' "$content" >"$name"
  printf 'old picture' >"${name%.csv}.svg"
  local before
  before=$(ls -l --time-style=+ .; md5sum -- *)
  "$plot" "$name" >out.txt 2>err.txt
  local status=$?
  [ $status = 1 ] || fail "$name: exit status $status, expected 1"
  [ "$(cat err.txt)" = "$expected" ] ||
    fail "$name: message [$(cat err.txt)], expected [$expected]"
  [ -s out.txt ] && fail "$name: wrote [$(cat out.txt)] on standard output"
  rm -f out.txt err.txt
  [ "$(ls -l --time-style=+ .; md5sum -- *)" = "$before" ] || fail "$name: the folder changed"
  rm -f "$name" "${name%.csv}.svg"
}
rm -f out.txt err.txt
refuse bad_header.csv "$(printf 'RANK,SIZE\r\n%s\r\n' "${rows[0]}")" \
  'talvik-plot: bad_header.csv:1: the header is not "RANK,SETSIZE,LOGNORM,SIZEUP,SIZELO" (reading the plotting file)'
refuse bom.csv "$(printf '\xEF\xBB\xBF'; printf '%s\r\n' "$header" "${rows[0]}")" \
  'talvik-plot: bom.csv:1: the file starts with a UTF-8 byte-order mark (the bytes EF BB BF), which a plotting file does not have: save it without one (reading the plotting file)'
refuse bad_row.csv "$(printf '%s\r\n' "$header" "${rows[0]}" '   2,       500.0000,       500.0000,       500.0000')" \
  'talvik-plot: bad_row.csv:3: expected RANK and 4 sizes separated by commas, found 4 fields (reading the plotting file)'
refuse bad_size.csv "$(printf '%s\r\n' "$header" "${rows[@]:0:3}" '   4,          10.00,       250.0000,        20.0000,        10.0000')" \
  'talvik-plot: bad_size.csv:5: SETSIZE "          10.00" is not a size with 4 decimals right-aligned in 15 characters (reading the plotting file)'
refuse bad_rank.csv "$(printf '%s\r\n' "$header" $'\e[2J,      1000.0000,      1000.0000,      1000.0000,       500.0000')" \
  'talvik-plot: bad_rank.csv:2: RANK "\x1B[2J" is not a whole number right-aligned in 4 characters (reading the plotting file)'
# The system's own words, wine's on Windows.
no_such_file='No such file or directory'
[ "${TALVIK_SYSTEM:-}" = Windows ] && no_such_file='File not found'
refuse missing.csv "" \
  "talvik-plot: missing.csv: $no_such_file (opening the plotting file)"

# A name is shown with its control bytes as \xNN, so that it cannot drive the
# terminal or split the message; one beyond any path the system opens is cut
# after 1024 bytes. Windows names hold no control bytes, and its limit is
# another.
if [ "${TALVIK_SYSTEM:-}" != Windows ]; then
  refuse $'\e[2Jgone\n.csv' "" \
    "talvik-plot: \\x1B[2Jgone\\x0A.csv: $no_such_file (opening the plotting file)"
  cp small.csv $'\e]0;x\a.csv'
  "$plot" $'\e]0;x\a.csv' >out.txt 2>err.txt || fail "odd name refused: $(cat err.txt)"
  [ "$(cat out.txt)" = 'Wrote \x1B]0;x\x07.svg (5 ranks)' ] || fail "odd name: said [$(cat out.txt)]"
  rm -f $'\e]0;x\a.csv' $'\e]0;x\a.svg' out.txt err.txt
  long_path=$(printf 'd%.0s' {1..100}; for _ in {1..49}; do printf '/d%.0s' 1; printf 'd%.0s' {1..99}; done)/x.csv
  "$plot" "$long_path" >out.txt 2>err.txt
  [ $? = 1 ] || fail "a ${#long_path}-byte path: not refused"
  [ "$(cat err.txt)" = "talvik-plot: ${long_path:0:1024}...: File name too long (opening the plotting file)" ] ||
    fail "a ${#long_path}-byte path: message [$(head -c 200 err.txt)...]"
  rm -f out.txt err.txt
fi

# The plotting file itself is never the output.
cp small.csv same.svg
"$plot" same.svg >/dev/null 2>err.txt
status=$?
[ $status = 1 ] || fail "same.svg: exit status $status, expected 1"
[ "$(cat err.txt)" = 'talvik-plot: same.svg: is the plotting file itself (refusing to overwrite it with the picture)' ] ||
  fail "same.svg: message [$(cat err.txt)]"
cmp -s same.svg small.csv || fail "same.svg: the plotting file changed"

# A command line it cannot follow: the reason, a hint and exit status 2.
usage_error() {  # EXPECTED_MESSAGE ARGUMENT...
  local expected=$1
  shift
  "$plot" "$@" >out.txt 2>err.txt
  local status=$?
  [ $status = 2 ] || fail "$*: exit status $status, expected 2"
  [ "$(cat err.txt)" = "$expected"$'\n'"Try 'talvik-plot --help' for more information." ] ||
    fail "$*: [$(cat err.txt)]"
  [ -s out.txt ] && fail "$*: wrote [$(cat out.txt)] on standard output"
}
usage_error 'talvik-plot: no plotting file named'
usage_error 'talvik-plot: unknown option "--colour"' --colour small.csv
usage_error 'talvik-plot: --level: "100" is not a whole percentage from 1 to 99' --level 100 small.csv
usage_error 'talvik-plot: one plotting file and one picture at most, found "c\x0Ad\x1B[0m" too' a b $'c\nd\e[0m'

[ "$("$plot" --version)" = "talvik-plot $version" ] || fail "--version: [$("$plot" --version)], expected [talvik-plot $version]"
"$plot" --help | head -1 | grep -qx 'usage: talvik-plot \[OPTIONS\] PLOTFILE \[OUTPUT.svg\]' ||
  fail "--help: no usage line"

# The level and the title given as options.
"$plot" --level 90 --title 'Valley sites' small.csv titled.svg >/dev/null 2>err.txt ||
  fail "--level and --title refused: $(cat err.txt)"
[ "$(xpath 'string(/*[local-name()="svg"]/*[local-name()="title"])' titled.svg)" = 'Valley sites' ] ||
  fail "--title: not the picture's title"
xpath '//*[@id="legend"]/*[local-name()="text"]' titled.svg | grep -q '>90 % confidence zone<' ||
  fail "--level: the legend does not name the level"
# Leading zeros are taken, as talvik-batch and the dialogue take them.
"$plot" --level 090 --title 'Valley sites' small.csv zeros.svg >/dev/null 2>err.txt ||
  fail "--level 090 refused: $(cat err.txt)"
cmp -s zeros.svg titled.svg || fail "--level 090: not the picture of --level 90"

[ $failed = 0 ] && echo "talvik-plot end to end: all checks passed"
exit $failed
