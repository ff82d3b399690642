#!/usr/bin/env bash
# installed_programs.sh BUILD_DIR: installs the build under a temporary
# DESTDIR, then runs the installed programs from a folder that holds nothing
# of theirs, so that they must find their data where it was installed.
set -euo pipefail

build=$1
stage=$(mktemp -d "${TMPDIR:-/tmp}/brillora-install-XXXXXX")
trap 'rm -rf "$stage"' EXIT
fail() { echo "installed_programs: $*" >&2; exit 1; }

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

"$usr/bin/brillora-cli" --version | grep -q '^Brillora 1\.01' || fail "brillora-cli --version"
"$usr/bin/brillora" --version | grep -q '^Brillora 1\.01' || fail "brillora --version"

info=$("$usr/bin/brillora-cli" info "$data/GEM_DAT/RoundBrilliant.brl")
grep -q '"symmetry": *8' <<<"$info" || fail "installed brillora-cli info printed: $info"

# The desktop program starts from the installed layout, with its windows.
QT_QPA_PLATFORM=offscreen "$usr/bin/brillora" --screenshots "$stage/shots" 2>/dev/null ||
  fail "the installed brillora --screenshots failed"
for window in Picture Form1 LightMap; do
  [[ -s "$stage/shots/$window.png" ]] || fail "no screenshot of $window"
done
echo "installed_programs: installed and ran from $usr"
