#!/usr/bin/env bash
# Builds the Debian package from a finished build tree, unpacks it into a
# scratch root and runs the terminal companion from there.
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
for f in usr/bin/taliven usr/bin/taliven-cli usr/lib/taliven/libtaliven_webengine.so \
         usr/share/taliven/fonts/taliven-song-regular.otf usr/share/taliven/fonts/taliven-song-bold.otf \
         usr/share/applications/example.taliven.Taliven.desktop \
         usr/share/metainfo/example.taliven.Taliven.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/example.taliven.Taliven.svg \
         usr/share/icons/hicolor/48x48/apps/example.taliven.Taliven.png \
         usr/share/icons/hicolor/256x256/apps/example.taliven.Taliven.png; do
  [[ -e "$work/root/$f" ]] || { echo "not in the package: $f"; exit 1; }
done
version=$("$work/root/usr/bin/taliven-cli" --version)
echo "$version"
[[ "$version" == "taliven-cli "* ]]
