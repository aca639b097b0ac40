#!/usr/bin/env bash
# Builds the Debian package, checks it (dpkg-deb, lintian, desktop-file-validate, appstreamcli)
# and runs the program unpacked into a clean root: --version, then a demo-mode screenshot.
# Uses the default build tree; prints lintian's findings without failing on them.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default -j "${JOBS:-$(nproc)}" --target vorlin

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd build/default && cpack -G DEB -B "$work/out" >/dev/null)
deb="$(ls "$work"/out/vorlin_*.deb)"
echo "== package: $(basename "$deb")"
dpkg-deb --field "$deb"
dpkg-deb --contents "$deb" > "$work/contents"
for path in ./usr/bin/vorlin ./usr/lib/udev/rules.d/70-vorlin.rules \
            ./usr/share/applications/org.vorlin.Vorlin.desktop \
            ./usr/share/metainfo/org.vorlin.Vorlin.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/org.vorlin.Vorlin.svg \
            ./usr/share/icons/hicolor/48x48/apps/org.vorlin.Vorlin.png \
            ./usr/share/vorlin/skin/lan_en.xml ./usr/share/vorlin/DefaultData/mouse.Json; do
  grep -q " $path\$" "$work/contents" || { echo "package-test: $path is missing"; exit 1; }
done
dpkg-deb --field "$deb" Depends | grep -q "libqt6widgets6" \
  || { echo "package-test: the dependencies were not computed from the binaries"; exit 1; }

echo "== lintian"
lintian --tag-display-limit 0 "$deb" || true

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/org.vorlin.Vorlin.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.vorlin.Vorlin.metainfo.xml"

echo "== the unpacked program"
# A clean home: the run must not need anything outside the package.
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config"
export XDG_RUNTIME_DIR="$work/home" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" && chmod 700 "$HOME"
env -u DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/vorlin" --version
"$root/usr/bin/vorlin" --demo --screenshot "$work/shot.png"
test -s "$work/shot.png" || { echo "package-test: no screenshot"; exit 1; }
# The data must have come from the package, not from the source tree.
env -u DISPLAY "$root/usr/bin/vorlin" --verbose --demo --screenshot "$work/shot.png" \
  2> "$work/log"
grep -q "install folder: \"$root/usr/share/vorlin\"" "$work/log" \
  || { echo "package-test: the installed program does not use its installed data"; exit 1; }
echo "package-test: ok"
