#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop gets: the program in a
# folder of its own with every file it looks for beside itself, reached through bin/circlewright;
# the desktop entry, icon and MIME type; and that the MIME database, once updated, gives graph
# files the program's type by name and by their first bytes.
# Usage: CheckInstall.sh BUILD_DIR SOURCE_DIR MIME_LOOKUP
set -euo pipefail
build=$1 source=$2 lookup=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$tmp/usr
cmake --install "$build" --prefix "$prefix" > "$tmp/install.log" 2>&1 || { cat "$tmp/install.log"; fail "cmake --install"; }

# The program, through the link in bin.
link=$prefix/bin/circlewright
[ -L "$link" ] || fail "$link is not a link"
[[ $(readlink "$link") != /* ]] || fail "$link points to an absolute path: $(readlink "$link")"
program=$(readlink -f "$link")
[ -f "$program" ] && [ -x "$program" ] || fail "$link does not lead to an executable"
[[ $program == "$prefix"/lib*/circlewright/circlewright ]] || fail "the program is not in a folder of its own: $program"
folder=$(dirname "$program")

# What the program opens by name from its own folder.
for name in BEEP.WAV CHIME01.WAV DING.WAV Circlewright.in_ enDispSettings.in_; do
  cmp -s "$source/data/$name" "$folder/$name" || fail "$name is missing or differs beside the program"
done
cmp -s "$build/bin/example.eng" "$folder/example.eng" || fail "the example network is missing or differs"
[ "$(head -c 4 "$folder/Circlewright User Manual.pdf")" = "%PDF" ] || fail "the manual is missing beside the program"

# The desktop's files name each other.
share=$prefix/share
desktop=$share/applications/circlewright.desktop
xml=$share/mime/packages/circlewright.xml
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$xml" ] || fail "no MIME type"
grep -q '<svg' "$share/icons/hicolor/scalable/apps/circlewright.svg" || fail "no icon"
grep -qx 'Exec=circlewright %f' "$desktop" || fail "the desktop entry does not start bin/circlewright with a file"
grep -qx 'Icon=circlewright' "$desktop" || fail "the desktop entry does not name the icon"
type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$xml")
[ -n "$type" ] || fail "the MIME type has no name"
grep -qx "MimeType=$type;" "$desktop" || fail "the desktop entry does not open $type"

# The installed program starts from the link and keeps running (a missing library or a crash at
# start ends it at once); its settings go to a home of its own.
status=0
HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config QT_QPA_PLATFORM=offscreen timeout 5 "$link" > "$tmp/run.log" 2>&1 || status=$?
[ $status -eq 124 ] || { cat "$tmp/run.log"; fail "the installed program ended with $status instead of running"; }

# The MIME database: graph files by name, and by their first bytes under any name.
update-mime-database "$share/mime" > "$tmp/mime.log" 2>&1 || { cat "$tmp/mime.log"; fail "update-mime-database refused the MIME type"; }
grep -qx "50:$type:\*.eng" "$share/mime/globs2" || fail "no glob *.eng for $type"
cp "$folder/example.eng" "$tmp/friends.eng"
cp "$folder/example.eng" "$tmp/friends.backup"
printf 'ENG1X is not a graph file\n' > "$tmp/other.eng1"
lookup() { XDG_DATA_HOME=$tmp/nowhere XDG_DATA_DIRS=$1 "$lookup" "$tmp/friends.eng" "$tmp/friends.backup" "$tmp/other.eng1"; }
found=$(lookup "$share:/usr/share")
expected="$type $type
$type $type"
[ "$(head -n 2 <<<"$found")" = "$expected" ] || fail "graph files are not recognised: $found"
[[ $(tail -n 1 <<<"$found") != *"$type"* ]] || fail "a file that only starts like a graph file counts as one: $found"
# Without the installed database nothing knows the type, so the answers above came from it.
[[ $(lookup /usr/share) != *"$type"* ]] || fail "the type is known without the installed database"
echo "installed and registered in $prefix"
