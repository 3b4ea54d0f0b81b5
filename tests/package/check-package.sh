#!/usr/bin/env bash
# Makes the Debian package from a configured and built tree, unpacks it into a scratch root with dpkg -x and checks
# what it holds: check-package.sh <build dir>
set -euo pipefail
build="$(cd "$1" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && cpack -G DEB -D CPACK_DEBIAN_COMPRESSION_TYPE=none -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; exit 1; }
deb="$(ls "$scratch"/out/*.deb)"
dpkg -x "$deb" "$scratch/root"
fail=0
for file in usr/bin/trelmo-demo usr/bin/trelmo-cli usr/bin/trelmo-sim usr/share/applications/trelmo-demo.desktop \
            usr/share/icons/hicolor/64x64/apps/trelmo-demo.png usr/share/metainfo/org.trelmo.Demo.metainfo.xml; do
  if [ ! -e "$scratch/root/$file" ]; then
    echo "missing from the package: /$file"
    fail=1
  fi
done
if ! find "$scratch/root/usr/lib" -path '*/wireshark/plugins/trelmo.lua' | grep -q .; then
  echo "missing from the package: the Wireshark dissector"
  fail=1
fi
depends="$(dpkg-deb -f "$deb" Depends)"
for runtime in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 qt6-qpa-plugins; do
  case "$depends" in *"$runtime"*) ;; *) echo "Depends lacks $runtime: $depends"; fail=1 ;; esac
done
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/org.trelmo.Demo.metainfo.xml" || fail=1
fi
[ "$fail" -eq 0 ] && echo "package ok: $(basename "$deb")"
exit "$fail"
