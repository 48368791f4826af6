#!/usr/bin/env bash
# talvik-batch gives the dialogue's numbers. For each size file and seed the
# real talvik runs in a scratch folder with its answers piped in (results
# file, then Y, a plotting file and one more level); talvik-batch runs on the
# same file with the same seed and --level, as CSV, as JSON and as text. Every
# number of the table, edited as F7.3 exactly as the dialogue edits it, must
# rebuild the results file byte for byte and the extra level's screen line
# (but for the ranges the table leaves empty, beside bounds that are not
# finite), the text line must show the same fields, and the plotting file
# that --plot writes must be the dialogue's, byte for byte.
#
#   batch_dialogue_test.sh TALVIK_BATCH TALVIK EXAMPLES_FOLDER
set -u
batch=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
talvik=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
examples=$(cd "$3" && pwd)
command -v python3 >/dev/null || { echo "SKIP: python3 not found (Debian: python3)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

cp "$examples/sites37.txt" "$examples/valley.txt" "$examples/lognorm.txt" .
printf '10\n5\n0\n' >zero.txt           # A is minus infinity, the ranges NaN
printf 'NaN\nInf\n-Inf\n12\n3\n' >odd.txt  # infinite bounds, overflowing fields

# rebuild.py TABLE.csv TABLE.json LEVEL RESULTS SCREEN TABLE.txt: the results
# file's eight records and the extra level's screen line, from the numbers of
# both tables, which must hold the same floats; a range the tables leave
# empty is taken from the dialogue's RESULTS or SCREEN. The text line must
# show the level's fields of F7.3 that hold a number.
cat >rebuild.py <<'PY'
import csv, json, re, struct, sys
from decimal import Decimal, ROUND_DOWN
from fractions import Fraction

def as_float(text):
    """The float nearest to the decimal text, ties to even, as strtof reads
    it: the float and its bits."""
    special = {"inf": 0x7F800000, "-inf": 0xFF800000,
               "nan": 0x7FC00000, "-nan": 0xFFC00000}
    if text in special:
        bits = special[text]
    else:
        sign = 0x80000000 if text.startswith("-") else 0
        exact = abs(Fraction(text))
        guess = struct.unpack("<I", struct.pack("<f", float(exact)))[0]
        def distance(b):
            value = Fraction(struct.unpack("<f", struct.pack("<I", b))[0])
            return (abs(value - exact), b & 1)
        candidates = [b for b in (guess - 1, guess, guess + 1)
                      if 0 <= b < 0x7F800000]
        bits = sign | min(candidates, key=distance)
    return struct.unpack("<f", struct.pack("<I", bits))[0], bits

def f73(text):
    """F7.3 as the dialogue edits it: the first 8 significant digits of the
    exact value, rounded half up to 3 decimals, right-aligned in 7."""
    _, bits = as_float(text)
    negative = bits >> 31 == 1
    if bits & 0x7FFFFFFF > 0x7F800000:
        field = "-NaN" if negative else "NaN"
    elif bits & 0x7FFFFFFF == 0x7F800000:
        field = "-INF" if negative else "INF"
    else:
        magnitude = abs(Decimal(struct.unpack("<f", struct.pack("<I", bits))[0]))
        if magnitude != 0:
            exponent = magnitude.adjusted()
            magnitude = magnitude.quantize(Decimal(1).scaleb(exponent - 7),
                                           rounding=ROUND_DOWN)
        shown = magnitude.quantize(Decimal("0.001"), rounding="ROUND_HALF_UP")
        digits = format(shown, "f")
        if shown == 0:
            negative = False
        if digits.startswith("0.") and len(digits) + negative > 6:
            digits = digits[1:]
        field = ("-" if negative else "") + digits
    return field.rjust(7) if len(field) <= 7 else "*" * 7

table = list(csv.DictReader(open(sys.argv[1])))
objects = json.load(open(sys.argv[2]))
level = int(sys.argv[3])
assert len(table) == 1 and len(objects) == 1, "one row expected"
row, obj = table[0], objects[0]
assert int(row["settlements"]) == obj["settlements"]
def same(csv_text, json_value):
    if csv_text == "" or json_value is None:
        assert csv_text == "" and json_value is None, (csv_text, json_value)
        return
    json_text = json_value if isinstance(json_value, str) else repr(json_value)
    assert as_float(csv_text)[1] == as_float(json_text)[1], (csv_text, json_value)
same(row["A"], obj["A"])
for r in obj["ranges"]:
    p = str(r["level"])
    for name in ("lower", "upper", "range"):
        same(row[name + "_" + p], r[name])
fixed = [99, 95, 90, 80, 66]
# A level the table reports anyway is not repeated.
assert [r["level"] for r in obj["ranges"]] == fixed + ([] if level in fixed else [level])

def range_field(p, dialogue_text):
    text = row["range_%d" % p]
    if text != "":
        return f73(text)
    finite = [as_float(row[b + "_%d" % p])[1] & 0x7F800000 != 0x7F800000
              for b in ("lower", "upper")]
    assert not all(finite), "a range left out beside finite bounds"
    start = "%d%% Confidence:%s to%s   (Range=" % (
        p, f73(row["lower_%d" % p]), f73(row["upper_%d" % p]))
    field = re.search(re.escape(start) + "(.{7})", dialogue_text)
    return field.group(1) if field else "?"

results = open(sys.argv[4], newline="").read()
screen = open(sys.argv[5], newline="").read()
text = open(sys.argv[6]).read()
shown = re.fullmatch(r"[^:]*: A = (\S+), (\d+) % range (\S+) to (\S+) \(.*\n", text)
assert shown and int(shown.group(2)) == level, text
for text_number, cell in ((shown.group(1), row["A"]),
                          (shown.group(3), row["lower_%d" % level]),
                          (shown.group(4), row["upper_%d" % level])):
    field = f73(cell)
    assert "*" in field or field.strip() == text_number, (text_number, field)

out = open("rebuilt.txt", "w", newline="")
out.write("A = %s for %4d settlements observed.\r\n \r\n--Error ranges for A--\r\n"
          % (f73(row["A"]), int(row["settlements"])))
for p in (99, 95, 90, 80, 66):
    out.write("%d%% Confidence:%s to%s   (Range=%s)\r\n"
              % (p, f73(row["lower_%d" % p]), f73(row["upper_%d" % p]),
                 range_field(p, results)))
print("%4d%% Confidence:%s to%s   (Range=%s)"
      % (level, f73(row["lower_%d" % level]), f73(row["upper_%d" % level]),
         range_field(level, screen)))
PY

failed=0
fail() { echo "FAIL: $*"; failed=1; }
compared=0
for file in sites37.txt valley.txt lognorm.txt zero.txt odd.txt; do
  for case in "1234567 90" "1 50" "42 17" "0.5 99"; do
    read -r seed level <<<"$case"
    rm -f res.txt plot.csv
    printf '%s\nres.txt\n%s\nY\nplot.csv\n%s\n\n' "$file" "$seed" "$level" |
      "$talvik" >screen.txt || { fail "$file $seed: talvik failed"; continue; }
    rm -rf plots
    {
      "$batch" -q -s "$seed" -l "$level" -p plots "$file" >table.csv
      echo "status $?"
      "$batch" -q -s "$seed" -l "$level" -f json "$file" >table.json
      echo "status $?"
      "$batch" -q -s "$seed" -l "$level" -f text "$file" >table.txt
      echo "status $?"
    } >batch_runs.txt 2>&1
    line=$(python3 rebuild.py table.csv table.json "$level" res.txt screen.txt table.txt) || {
      fail "$file seed $seed: the tables could not be compared"
      # What the three runs wrote, to tell a fault of the program from one
      # of its surroundings.
      cat batch_runs.txt
      head -c 1000 table.csv table.json table.txt
      continue
    }
    cmp -s rebuilt.txt res.txt || {
      fail "$file seed $seed: the numbers do not rebuild the results file:"
      diff res.txt rebuilt.txt
    }
    cmp -s plot.csv "plots/${file%.txt}.csv" ||
      fail "$file seed $seed: --plot wrote another plotting file than the dialogue"
    grep -qxF "$line"$'\r' screen.txt ||
      fail "$file seed $seed: the level $level line [$line] is not on the dialogue's screen"
    compared=$((compared + 1))
  done
done
[ $failed = 0 ] && echo "talvik-batch and talvik agree on $compared analyses"
exit $failed
