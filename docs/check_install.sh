#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a user gets: the two
# commands executable, their man pages, the README and every example, and the
# installed talvik giving the example's A from the installed example file (run
# under TALVIK_WRAPPER, qemu for another processor, when set).
set -u
cmake=$1 build=$2 source=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

"$cmake" --install "$build" --prefix "$prefix" >"$prefix/install.log" 2>&1 || {
  echo "FAIL: cmake --install:"; cat "$prefix/install.log"; exit 1; }

failed=0
fail() { echo "FAIL: $*"; failed=1; }
for command in talvik talvik-plot talvik-batch; do
  [ -f "$prefix/bin/$command" ] && [ -x "$prefix/bin/$command" ] ||
    fail "bin/$command missing or not executable"
done
for page in talvik.1 talvik-plot.1 talvik-batch.1; do
  cmp -s "$source/docs/$page" "$prefix/share/man/man1/$page" ||
    fail "share/man/man1/$page missing or not the page of docs/"
done
docs=$prefix/share/doc/talvik
cmp -s "$source/README.md" "$docs/README.md" || fail "share/doc/talvik/README.md missing"
cmp -s "$source/docs/behaviour.md" "$docs/docs/behaviour.md" ||
  fail "share/doc/talvik/docs/behaviour.md missing"
cmp -s "$source/docs/method.md" "$docs/docs/method.md" ||
  fail "share/doc/talvik/docs/method.md missing"
for example in "$source"/examples/*; do
  name=$(basename "$example")
  cmp -s "$example" "$docs/examples/$name" || fail "share/doc/talvik/examples/$name missing"
done

if [ -x "$prefix/bin/talvik" ] && [ -f "$docs/examples/sites37.txt" ]; then
  mkdir "$prefix/run" && cp "$docs/examples/sites37.txt" "$prefix/run/"
  read -r -a run <<<"${TALVIK_WRAPPER:-}"
  screen=$(cd "$prefix/run" &&
           printf 'sites37.txt\nres.txt\n1234567\n\n' | "${run[@]}" "$prefix/bin/talvik" 2>&1)
  [[ "$screen" == *" A =   0.096 for   37 settlements observed."* ]] ||
    fail "the installed talvik on the installed example: $screen"
fi

[ $failed = 0 ] && echo "install: all files in place"
exit $failed
