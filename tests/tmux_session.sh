#!/usr/bin/env bash
# Drives one whole session in a real terminal, as a person would: each answer
# is typed only once its prompt is the last line on the screen, which shows
# that every prompt is visible before the program waits for the answer.
set -u
command -v tmux >/dev/null || { echo "SKIP: tmux not found (Debian: tmux)"; exit 77; }
talvik=$1
examples=$2
work=$(mktemp -d)
socket="$work/tmux.socket"
trap 'tmux -S "$socket" kill-server 2>/dev/null; rm -rf "$work"' EXIT
cp "$examples/sites37.txt" "$work/"

tmux -S "$socket" new-session -d -x 100 -y 60 -c "$work" \
  "'$talvik'; echo \"EXIT=\$?\"; sleep 60"

lastLine() {
  tmux -S "$socket" capture-pane -p | sed -e 's/[[:space:]]*$//' | grep -v '^$' | tail -n 1
}

# Waits up to 10 s for `text` to be the last line on the screen, then types.
answer() {
  local text=$1 typed=$2
  for _ in $(seq 1 100); do
    if [[ "$(lastLine)" == *"$text"* ]]; then
      tmux -S "$socket" send-keys -l -- "$typed"
      tmux -S "$socket" send-keys Enter
      return 0
    fi
    sleep 0.1
  done
  echo "FAIL: waited for \"$text\"; the screen shows:"
  tmux -S "$socket" capture-pane -p
  exit 1
}

answer "Enter name of file to read settlement sizes from:" "sites37.txt"
answer "Enter name of file to write results to:" "res37.txt"
answer "number generator:" "1234567"
answer "type Y now (or just type <Enter> to close):" "Y"
answer "Enter name of file to write plotting data to:" "plot37.csv"
answer "between 1 and 99):" "90"
answer "Type <Enter> to close window:" ""
answer "EXIT=0" ""

screen=$(tmux -S "$socket" capture-pane -p -S -100)
grep -qF " A =   0.096 for   37 settlements observed." <<<"$screen" ||
  { echo "FAIL: no A line on the screen"; echo "$screen"; exit 1; }
[ "$(wc -l <"$work/res37.txt")" -eq 8 ] || { echo "FAIL: results file"; exit 1; }
[ "$(wc -l <"$work/plot37.csv")" -eq 38 ] || { echo "FAIL: plotting file"; exit 1; }
echo "tmux session passed"
