#!/usr/bin/env bash
# Formats a man page with every groff warning on and fails on any warning (a
# misspelt macro or escape shows as garbage in man), or when the page names
# another version than the program's.
set -u
page=$1 version=$2
command -v groff >/dev/null || { echo "SKIP: groff not found"; exit 77; }
warnings=$(groff -man -ww -z "$page" 2>&1)
if [ -n "$warnings" ]; then
  echo "FAIL: $page:"
  echo "$warnings"
  exit 1
fi
grep -q "^\.TH .* \"talvik $version\"" "$page" || {
  echo "FAIL: $page: its .TH line does not name talvik $version"
  exit 1
}
