#!/usr/bin/env bash
# desktop_integration.sh BUILD_DIR: the installed desktop files as a desktop
# reads them: the menu entry passes desktop-file-validate, the file types
# name the designs as shared-mime-info decides them, and the thumbnailer's
# command line, run as a file manager runs it, gives the picture asked for.
set -euo pipefail

build=$1
stage=$(mktemp -d "${TMPDIR:-/tmp}/brillora-desktop-XXXXXX")
trap 'rm -rf "$stage"' EXIT
fail() { echo "desktop_integration: $*" >&2; exit 1; }

DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >/dev/null
share="$stage/root/usr/share"
samples="$share/brillora/GEM_DAT"

desktop-file-validate --no-hints "$share/applications/brillora.desktop" || fail "the menu entry is not valid"

# The file types, compiled as a package's trigger compiles them.
XDG_DATA_DIRS="$share:/usr/share" update-mime-database "$share/mime"
mkdir "$stage/files"
cp "$samples/RoundBrilliant.brl" "$stage/files/design.brl"
cp "$samples/RoundBrilliant.brl" "$stage/files/design.txt"
cp "$samples/RoundBrilliant.brl" "$stage/files/design"
"$stage/root/usr/bin/brillora-cli" export "$samples/RoundBrilliant.brl" -o "$stage/files/gemcad.asc" >/dev/null
printf -- '-----BEGIN PGP MESSAGE-----\n\nhQEMA\n-----END PGP MESSAGE-----\n' >"$stage/files/message.asc"
# A GemCad binary design begins with its first facet's plane: three doubles.
printf '\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xf0\x3f\1\0\0\0' >"$stage/files/gemcad.gem"
mkdir "$stage/package" && echo 'a Ruby package' >"$stage/package/README"
tar -cf "$stage/files/ruby.gem" -C "$stage" package
type_of() {
  XDG_DATA_HOME="$share" XDG_DATA_DIRS="$share:/usr/share" gio info -a standard::content-type "$1" |
    sed -n 's/^ *standard::content-type: //p'
}
expect_type() {
  local found
  found=$(type_of "$stage/files/$1")
  [[ "$found" == "$2" ]] || fail "$1 is $found, not $2"
}
expect_type design.brl application/x-brillora-design
expect_type design application/x-brillora-design   # by its first line
expect_type design.txt text/plain                   # .txt designs stay plain text
expect_type gemcad.asc application/x-gemcad-design
expect_type message.asc application/pgp-encrypted   # other .asc files keep theirs
expect_type gemcad.gem application/x-gemcad-binary-design
expect_type ruby.gem application/x-tar               # Ruby's packages keep theirs

# The thumbnailer's command line with a file manager's %i, %o and %s.
thumbnailer="$share/thumbnailers/brillora.thumbnailer"
exec_line=$(sed -n 's/^Exec=//p' "$thumbnailer")
exec_line=${exec_line//%i/$stage/files/design.brl}
exec_line=${exec_line//%o/$stage/thumbnail}
exec_line=${exec_line//%s/128}
read -r -a command <<<"$exec_line"
PATH="$stage/root/usr/bin:$PATH" "${command[@]}" >/dev/null || fail "the thumbnailer failed: $exec_line"
kind=$(file -b "$stage/thumbnail")
grep -q '^PNG image data, 128 x 128' <<<"$kind" || fail "the thumbnail is $(file -b "$stage/thumbnail")"
for type in application/x-brillora-design application/x-gemcad-design application/x-gemcad-binary-design; do
  grep -q "^MimeType=.*$type;" "$thumbnailer" || fail "the thumbnailer does not take $type"
  grep -q "^MimeType=.*$type;" "$share/applications/brillora.desktop" || fail "the menu entry does not open $type"
done
echo "desktop_integration: the menu entry, the file types and the thumbnailer hold"
