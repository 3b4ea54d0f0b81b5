#!/usr/bin/env bash
# The Debian package as it ships: makes it with CPack from a Release tree, has lintian check it (any error or
# warning fails), unpacks it into a scratch root with dpkg -x and checks what it holds; then proves that the
# dissector it installs is where the installed Wireshark loads global Lua plugins and decodes there, by running
# cli_test's trace test (trelmo-cli writes a trace, tshark decodes it) with tshark's global plugin folder pointed at
# the unpacked one instead of giving it the dissector: check-package.sh <release build dir> <cli_test>
set -euo pipefail
build="$(cd "$1" && pwd)"
cli_test="$2"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
for tool in lintian tshark desktop-file-validate; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/install-deps.sh installs it)"; exit 1; }
done

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; exit 1; }
deb="$(ls "$scratch"/out/*.deb)"
fail=0
echo "lintian $(basename "$deb"):"
lintian --fail-on error,warning "$deb" || fail=1

root="$scratch/root"
dpkg -x "$deb" "$root"
for file in usr/bin/trelmo-demo usr/bin/trelmo-cli usr/bin/trelmo-sim usr/share/applications/trelmo-demo.desktop \
            usr/share/icons/hicolor/64x64/apps/trelmo-demo.png usr/share/metainfo/org.trelmo.Demo.metainfo.xml; do
  if [ ! -e "$root/$file" ]; then
    echo "missing from the package: /$file"
    fail=1
  fi
done
# What man finds once installed.
for page in trelmo-demo trelmo-cli trelmo-sim; do
  man -M "$root/usr/share/man" -w "$page" >/dev/null || fail=1
done
depends="$(dpkg-deb -f "$deb" Depends)"
for runtime in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 qt6-qpa-plugins; do
  case "$depends" in *"$runtime"*) ;; *) echo "Depends lacks $runtime: $depends"; fail=1 ;; esac
done
# The newest release in the changelog and in the metainfo is the package's version.
version="$(dpkg-deb -f "$deb" Version)"
zcat "$root/usr/share/doc/trelmo-demo/changelog.gz" >"$scratch/changelog"
changelog_version="$(dpkg-parsechangelog -l "$scratch/changelog" -S Version)"
metainfo_version="$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$root/usr/share/metainfo/org.trelmo.Demo.metainfo.xml" | head -n 1)"
if [ "$changelog_version" != "$version" ] || [ "$metainfo_version" != "$version" ]; then
  echo "package $version, newest release in the changelog $changelog_version, in the metainfo $metainfo_version"
  fail=1
fi
hints="$(desktop-file-validate "$root/usr/share/applications/trelmo-demo.desktop" 2>&1)" || fail=1
[ -z "$hints" ] || { echo "$hints"; fail=1; }
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/org.trelmo.Demo.metainfo.xml" >/dev/null || fail=1
fi

# The dissector is in the folder the installed Wireshark reports for global Lua plugins.
global="$(tshark -G folders 2>/dev/null | sed -n 's/^Global Lua Plugins:[[:space:]]*//p')"
plugins="$root$global"
if [ ! -f "$plugins/trelmo.lua" ]; then
  echo "the dissector is not in $global (Wireshark's global Lua plugin folder):"
  find "$root" -name trelmo.lua
  exit 1
fi
# tshark as the test runs it: no personal plugins (HOME is empty), and since Wireshark ignores WIRESHARK_PLUGIN_DIR
# for root, as nobody when root runs the test (it reads the capture on standard input).
mkdir -p "$scratch/bin" "$scratch/home"
drop=""
if [ "$(id -u)" -eq 0 ]; then
  drop="setpriv --reuid=nobody --regid=nogroup --clear-groups"
  chmod 755 "$scratch"
fi
printf '#!/bin/sh\nexport HOME=%q\nexec %s %q "$@"\n' "$scratch/home" "$drop" "$(command -v tshark)" >"$scratch/bin/tshark"
chmod 755 "$scratch/bin/tshark"
export PATH="$scratch/bin:$PATH" WIRESHARK_PLUGIN_DIR="$plugins"
loaded="$(tshark -G folders 2>/dev/null | sed -n 's/^Global Lua Plugins:[[:space:]]*//p')"
if [ "$loaded" != "$plugins" ]; then
  echo "tshark does not take its global plugins from $plugins but from $loaded"
  exit 1
fi
if ! "$cli_test" --gtest_filter='CliTest.TheTraceHoldsEveryFrameUpToAFailureAndTsharkDecodesIt' >"$scratch/trace.log" 2>&1 ||
   ! grep -q '^\[  PASSED  \] 1 test' "$scratch/trace.log"; then
  cat "$scratch/trace.log"
  fail=1
fi
[ "$fail" -eq 0 ] && echo "package ok: $(basename "$deb"); the dissector installed in $global decodes trelmo-cli's trace"
exit "$fail"
