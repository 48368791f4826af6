#!/usr/bin/env bash
# Installs the Windows build into a scratch folder, laid out as the .zip holds
# it, and checks what a user gets: the three programs beside README.txt, the
# README with CR LF line ends, the behaviour notes likewise under docs/, every
# example, and the installed talvik.exe, run under TALVIK_WRAPPER (wine),
# giving the example's A.
set -u
cmake=$1 build=$2 source=$3
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

"$cmake" --install "$build" --prefix "$folder/talvik" >"$folder/install.log" 2>&1 || {
  echo "FAIL: cmake --install:"; cat "$folder/install.log"; exit 1; }
installed=$folder/talvik

failed=0
fail() { echo "FAIL: $*"; failed=1; }
for program in talvik.exe talvik-plot.exe talvik-batch.exe; do
  [ -f "$installed/$program" ] || fail "$program missing"
done
cmp -s <(sed 's/$/\r/' "$source/README.md") "$installed/README.txt" ||
  fail "README.txt missing or not README.md with CR LF line ends"
cmp -s <(sed 's/$/\r/' "$source/docs/behaviour.md") "$installed/docs/behaviour.md" ||
  fail "docs/behaviour.md missing or not with CR LF line ends"
cmp -s <(sed 's/$/\r/' "$source/docs/method.md") "$installed/docs/method.md" ||
  fail "docs/method.md missing or not with CR LF line ends"
for example in "$source"/examples/*; do
  name=$(basename "$example")
  cmp -s "$example" "$installed/examples/$name" || fail "examples/$name missing"
done

if [ -f "$installed/talvik.exe" ]; then
  read -r -a run <<<"${TALVIK_WRAPPER:-}"
  mkdir "$folder/run" && cp "$installed/examples/sites37.txt" "$folder/run/"
  screen=$(cd "$folder/run" &&
           printf 'sites37.txt\nres.txt\n1234567\n\n' | "${run[@]}" "$installed/talvik.exe" 2>&1)
  [[ "$screen" == *" A =   0.096 for   37 settlements observed."$'\r'* ]] ||
    fail "the installed talvik.exe on the installed example: $screen"
fi

[ $failed = 0 ] && echo "install: all files in place"
exit $failed
