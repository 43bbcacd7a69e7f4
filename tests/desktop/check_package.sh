#!/usr/bin/env bash
# Builds the Debian package from a finished build tree, checks what it holds,
# runs the terminal companion from an unpacked copy and, where lintian is
# installed, fails on any error or warning of lintian's.
# usage: check_package.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log") || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6core6 libqt6widgets6 libqt6webenginewidgets6 libcurl4 fonts-noto-cjk qt6-translations-l10n; do
  grep -q "$needed" <<<"$depends" || { echo "missing dependency: $needed"; exit 1; }
done

dpkg -x "$deb" "$work/root"
for f in usr/bin/taliven usr/bin/taliven-cli \
         usr/share/taliven/fonts/taliven-song-regular.otf usr/share/taliven/fonts/taliven-song-bold.otf \
         usr/share/applications/example.taliven.Taliven.desktop \
         usr/share/metainfo/example.taliven.Taliven.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/example.taliven.Taliven.svg \
         usr/share/icons/hicolor/48x48/apps/example.taliven.Taliven.png \
         usr/share/icons/hicolor/256x256/apps/example.taliven.Taliven.png \
         usr/share/man/man1/taliven.1.gz usr/share/man/man1/taliven-cli.1.gz \
         usr/share/bash-completion/completions/taliven-cli \
         usr/share/doc/taliven/copyright usr/share/doc/taliven/changelog.gz; do
  [[ -e "$work/root/$f" ]] || { echo "not in the package: $f"; exit 1; }
done
# The web-engine module lies where the program looks for it, relative to itself.
module_dir=$(strings -a -e l "$work/root/usr/bin/taliven" | grep -m1 -x '\.\./lib/.*taliven')  # a UTF-16 literal
[[ -e "$work/root/usr/bin/$module_dir/libtaliven_webengine.so" ]] ||
  { echo "the program looks for its web-engine module in $module_dir, which the package does not fill"; exit 1; }

version=$("$work/root/usr/bin/taliven-cli" --version)
echo "$version"
[[ "$version" == "taliven-cli "* ]]

if command -v lintian >/dev/null; then
  lintian --display-info --fail-on error,warning "$deb"
  echo "lintian: no errors, no warnings"
fi
