#!/usr/bin/env bash
# Builds the Debian package from a configured build folder and checks it: the files it
# holds, the dependencies computed from its binaries, and lintian's verdict (no errors
# or warnings).
#   bash scripts/check-package.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
out=$build/package

rm -rf "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(ls "$out"/quorvane_*_amd64.deb)
echo "== package: $deb"

expected=(
  ./usr/bin/quorvane
  ./usr/bin/quorvane-size
  ./usr/libexec/quorvane/quorvane
  ./usr/libexec/quorvane/libquorvane_window.so
  ./usr/libexec/quorvane/libquorvane_network.so
  ./usr/libexec/quorvane/libquorvane_channel.so
  ./usr/libexec/quorvane/libquorvane_qtsettings.so
  ./usr/libexec/quorvane/Language/QVN_eng.lng
  ./usr/share/applications/org.example.quorvane.desktop
  ./usr/share/metainfo/org.example.quorvane.metainfo.xml
  ./usr/share/icons/hicolor/16x16/apps/quorvane.png
  ./usr/share/icons/hicolor/32x32/apps/quorvane.png
  ./usr/share/icons/hicolor/48x48/apps/quorvane.png
  ./usr/share/icons/hicolor/256x256/apps/quorvane.png
  ./usr/share/icons/hicolor/scalable/apps/quorvane.svg
  ./usr/share/man/man1/quorvane.1.gz
  ./usr/share/man/man1/quorvane-size.1.gz
  ./usr/share/doc/quorvane/copyright
  ./usr/share/doc/quorvane/changelog.gz
)
# Every file and link the package holds, and nothing else.
actual=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [ "$actual" != "$wanted" ]; then
  diff <(echo "$wanted") <(echo "$actual") >&2 || true
  echo "the package's files are not the expected ones (< expected, > packaged)" >&2
  exit 1
fi
link=$(dpkg-deb -c "$deb" | awk '$6 == "./usr/bin/quorvane" {print $8}')
[ "$link" = "../libexec/quorvane/quorvane" ] || { echo "usr/bin/quorvane links to '$link'" >&2; exit 1; }

# Dependencies come from dpkg-shlibdeps: the libraries the binaries really load.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libcurl4 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libstdc++6; do
  tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -Fxq "$library" || { echo "Depends lacks $library" >&2; exit 1; }
done

# Errors and warnings fail; informational tags are printed for the record.
report=$(lintian -I "$deb" 2>/dev/null || true)
[ -n "$report" ] && echo "$report"
if grep -Eq '^[EW]: ' <<<"$report"; then
  echo "lintian reports errors or warnings" >&2
  exit 1
fi
echo "== package checked"
