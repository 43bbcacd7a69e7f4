#!/usr/bin/env bash
# Installs the Debian 12 packages Taliven needs to build, run and test.
# Shared by the README's run and test commands; safe to run again: it only
# installs what is missing, and refreshes the package lists once per call.
set -euo pipefail

packages=(
  # toolchain
  cmake g++ ninja-build pkg-config python3 clang libclang-rt-14-dev
  # the house style (.clang-format), checked by tools/check-format.sh in CI
  clang-format
  # libraries
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-declarative-dev qt6-webengine-dev libqt6webenginecore6-bin
  qt6-translations-l10n libcurl4-openssl-dev libcpp-httplib-dev
  # windows ask the X display whether a window manager frames them
  libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # peer measured beside the lunar benchmarks (bench/run_all.sh); never linked into the program
  libicu-dev
  # data for the pinyin table generator
  unicode-data
  # fonts the windows name, mapped by the program's font substitutions, and
  # what cuts the Song face down at build time (tools/subset_song_face.py)
  fonts-noto-cjk fonts-arphic-ukai fonts-liberation2 libfontconfig-dev python3-fonttools
  # headless runs, screenshots and desktop integration checks; the end-to-end
  # session pastes through xclip and runs a second time under openbox
  xvfb xauth xdotool x11-utils xclip openbox imagemagick desktop-file-utils appstream
  # what a desktop without a running session bus has: the program must start
  # none of its own (dbus-launch); and a secure server for the web engine test
  dbus-x11 openssl
  # what a screen reader is told: the accessibility tree read over AT-SPI (tests/e2e/accessible_links.sh)
  at-spi2-core python3-pyatspi
  # network namespaces, for a page served from a public address in the hostile-pages test
  iproute2
  # the leak check of a whole session (tests/e2e/leak_check.sh)
  valgrind
  # the package and its manual pages: lintian on the .deb, groff -ww on the pages
  lintian man-db groff-base
  # taliven-cli's iCalendar output read by a real parser, and imported by a real calendar program
  python3-icalendar khal
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo_cmd=()
if ((EUID != 0)); then sudo_cmd=(sudo); fi

echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
