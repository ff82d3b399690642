#!/usr/bin/env bash
# installed_programs.sh BUILD_DIR: installs the build under a temporary
# DESTDIR, then runs the installed programs from a folder that holds nothing
# of theirs, so that they must find their data where it was installed.
set -euo pipefail

build=$1
stage=$(mktemp -d "${TMPDIR:-/tmp}/brillora-install-XXXXXX")
trap 'rm -rf "$stage"' EXIT
fail() { echo "installed_programs: $*" >&2; exit 1; }
# Output is taken whole before it is searched: `producer | grep -q` fails at
# random under pipefail, when grep leaves at its first match and the producer
# dies writing the rest.
prints() { local out; out=$("${@:2}") && grep -q -- "$1" <<<"$out"; }
prints_line() { local out; out=$("${@:2}") && grep -qx -- "$1" <<<"$out"; }

DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >/dev/null
usr="$stage/root/usr"
data="$usr/share/brillora"

for file in bin/brillora bin/brillora-cli share/brillora/GEM_DAT/RoundBrilliant.brl \
            share/applications/brillora.desktop share/mime/packages/brillora.xml \
            share/thumbnailers/brillora.thumbnailer share/icons/hicolor/scalable/apps/brillora.svg; do
  [[ -e "$usr/$file" ]] || fail "$file was not installed"
done
for size in 16 24 32 48 64 128 256; do
  icon="$usr/share/icons/hicolor/${size}x${size}/apps/brillora.png"
  [[ -s "$icon" ]] || fail "the ${size} px icon was not installed"
done
# Nothing of the data lies beside the installed programs.
[[ ! -e "$usr/bin/GEM_DAT" ]] || fail "GEM_DAT was installed beside the programs"

mkdir "$stage/elsewhere"
cd "$stage/elsewhere"

prints '^Brillora 1\.01' "$usr/bin/brillora-cli" --version || fail "brillora-cli --version"
prints '^Brillora 1\.01' "$usr/bin/brillora" --version || fail "brillora --version"

info=$("$usr/bin/brillora-cli" info "$data/GEM_DAT/RoundBrilliant.brl")
grep -q '"symmetry": *8' <<<"$info" || fail "installed brillora-cli info printed: $info"

# The desktop program starts from the installed layout, with its windows.
QT_QPA_PLATFORM=offscreen "$usr/bin/brillora" --screenshots "$stage/shots" 2>/dev/null ||
  fail "the installed brillora --screenshots failed"
for window in Picture Form1 LightMap; do
  [[ -s "$stage/shots/$window.png" ]] || fail "no screenshot of $window"
done
# The manual pages, as man shows them, with nothing for man to warn about.
for page in brillora brillora-cli; do
  file="$usr/share/man/man1/$page.1.gz"
  [[ -s "$file" ]] || fail "no manual page $page.1.gz"
  warnings=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)
  [[ -z "$warnings" ]] || fail "man warns about $page.1: $warnings"
done
MANWIDTH=80 prints 'usage: brillora-cli thumbnail' man -l "$usr/share/man/man1/brillora-cli.1.gz" 2>/dev/null ||
  fail "the manual page of brillora-cli lacks the thumbnail command"

# The completion, as bash-completion runs it on the installed brillora-cli.
completions=$(find "$usr/share" -path '*bash-completion/completions/brillora-cli')
[[ -n "$completions" ]] || fail "the bash completion was not installed"
complete_words() {
  PATH="$usr/bin:$PATH" bash -c '
    source /usr/share/bash-completion/bash_completion
    source "$0"
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
    _brillora_cli; printf "%s\n" "${COMPREPLY[@]}"' "$completions" "$@"
}
prints_line thumbnail complete_words brillora-cli thu || fail "no completion of the command thumbnail"
prints_line --size complete_words brillora-cli thumbnail --si || fail "no completion of thumbnail's --size"
prints_line 'Zircon (low)' complete_words brillora-cli info --material Zir || fail "no completion of the materials"
touch "$stage/elsewhere/cut.brl" "$stage/elsewhere/cut.asc" "$stage/elsewhere/cut.gem" "$stage/elsewhere/notes.odt"
found=$(complete_words brillora-cli info "$stage/elsewhere/" | sort | tr '\n' ' ')
[[ "$found" == "$stage/elsewhere/cut.asc $stage/elsewhere/cut.brl $stage/elsewhere/cut.gem " ]] ||
  fail "design names completed as: $found"

echo "installed_programs: installed and ran from $usr"
