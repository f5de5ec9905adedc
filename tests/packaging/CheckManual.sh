#!/usr/bin/env bash
# The manual that Help opens: an A4 PDF beside the program that holds every heading of the
# Markdown source as text; and the typesetter refuses bad input without touching its output.
# Usage: CheckManual.sh MANUAL.pdf MANUAL.md CW_MAKE_MANUAL
set -euo pipefail
pdf=$1 markdown=$2 tool=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The text of a PDF with all white space as single blanks, so line breaks do not matter.
text_of() { pdftotext -enc UTF-8 "$1" - | tr -s '[:space:]' ' '; }

[ -f "$pdf" ] || fail "no manual at $pdf"
[ "$(head -c 4 "$pdf")" = "%PDF" ] || fail "$pdf does not start with %PDF"
pdfinfo "$pdf" > "$tmp/info" || fail "pdfinfo cannot read $pdf"
grep -q '^Page size:.*(A4)' "$tmp/info" || fail "not A4: $(grep '^Page size' "$tmp/info")"
grep -q '^Title: *Circlewright User Manual$' "$tmp/info" || fail "no title: $(grep '^Title' "$tmp/info")"
text=$(text_of "$pdf")
headings=0
while IFS= read -r heading; do
  [[ $text == *"$heading"* ]] || fail "the heading \"$heading\" is not in the PDF"
  headings=$((headings + 1))
done < <(sed -n 's/^#\{1,6\} \+//p' "$markdown")
[ $headings -ge 10 ] || fail "only $headings headings in $markdown"

# Refused input: a clear message naming the file, and the previous output left as it was.
refused() {
  local input=$1 reason=$2
  echo "previous manual" > "$tmp/out.pdf"
  if "$tool" "$input" "$tmp/out.pdf" 2> "$tmp/error"; then fail "accepted $reason"; fi
  grep -q "$(basename "$input")" "$tmp/error" || fail "the message for $reason does not name the file: $(cat "$tmp/error")"
  [ "$(cat "$tmp/out.pdf")" = "previous manual" ] || fail "$reason changed the output"
}
refused "$tmp/missing.md" "a missing file"
printf '# Caf\xe9\n' > "$tmp/latin1.md"
refused "$tmp/latin1.md" "text that is not UTF-8"
printf ' \n\n' > "$tmp/blank.md"
refused "$tmp/blank.md" "an empty manual"
if "$tool" "$markdown" 2> /dev/null; then fail "accepted a call without an output file"; fi

# A small manual of its own: every line of it arrives, tables included.
printf '# Small manual\n\nSome text.\n\n| Key | What it does |\n|---|---|\n| F5 | Adds a person |\n' > "$tmp/small.md"
"$tool" "$tmp/small.md" "$tmp/small.pdf" || fail "a small manual was refused"
small=$(text_of "$tmp/small.pdf")
for part in "Small manual" "Some text." "What it does" "Adds a person"; do
  [[ $small == *"$part"* ]] || fail "\"$part\" is missing from the small manual: $small"
done
echo "$headings headings in $pdf"
