#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree, unpacks it into a scratch root
# and runs the command-line program from there. Exit 77 (skipped) without dpkg-deb.
# Usage: packaging/test-package.sh BUILD_DIR [CPACK]
set -euo pipefail
build=$(cd "$1" && pwd)
if ! command -v dpkg-deb >/dev/null; then
  echo "SKIPPED: dpkg-deb is not installed, so the Debian package cannot be unpacked and tried"
  exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$scratch" && "${2:-cpack}" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >/dev/null)
deb=$(ls "$scratch"/out/korvel_*.deb)
echo "package: $(basename "$deb")"
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Architecture|Depends):'
root="$scratch/root"
dpkg-deb -x "$deb" "$root"

for f in usr/bin/korvel usr/bin/korvel-cli \
         usr/share/applications/korvel.desktop usr/share/mime/packages/korvel.xml \
         usr/share/icons/hicolor/scalable/apps/korvel.svg \
         usr/lib/udev/rules.d/70-korvel.rules \
         usr/share/doc/korvel/html/topic2.html \
         usr/share/doc/korvel/copyright usr/share/doc/korvel/changelog.Debian.gz \
         usr/share/man/man1/korvel.1.gz usr/share/man/man1/korvel-cli.1.gz; do
  [ -e "$root/$f" ] || { echo "missing from the package: $f"; exit 1; }
done
grep -q 'ATTRS{idVendor}=="10c4", ATTRS{idProduct}=="ea5f"' "$root/usr/lib/udev/rules.d/70-korvel.rules"
# The desktop entry opens data files given by the file manager, and their type is known.
desktop="$root/usr/share/applications/korvel.desktop"
desktop-file-validate "$desktop"
grep -q '^Exec=korvel %f$' "$desktop"
grep -q '^MimeType=application/x-korvel-dtw;$' "$desktop"
mime="$scratch/mime"
mkdir -p "$mime/packages"
cp "$root/usr/share/mime/packages/korvel.xml" "$mime/packages/"
update-mime-database "$mime"
grep -q '^application/x-korvel-dtw$' "$mime/types"
grep -q ':application/x-korvel-dtw:\*\.dtw$' "$mime/globs2"

version=$(dpkg-deb --field "$deb" Version)
grep -q '^Upstream-Name: Korvel$' "$root/usr/share/doc/korvel/copyright"
# The change log's newest entry is this version.
changelog=$(zcat "$root/usr/share/doc/korvel/changelog.Debian.gz")
[[ "${changelog%%$'\n'*}" == "korvel ($version) "* ]] \
  || { echo "changelog.Debian does not start with version $version"; exit 1; }

# The manual pages: made from each program's help, korvel-cli's with every subcommand, and
# free of the build tree's paths.
for page in korvel korvel-cli; do
  text=$(zcat "$root/usr/share/man/man1/$page.1.gz")
  grep -q "^\.TH ${page^^} \"1\"" <<<"$text" || { echo "$page.1: no title line"; exit 1; }
  if grep -qF "$build" <<<"$text"; then echo "$page.1 names the build tree"; exit 1; fi
done
for sub in measure read realtime temperature ports info export comments divisors plot simulate; do
  grep -q "Подкоманда $sub:" <<<"$text" || { echo "korvel-cli.1 lacks the subcommand $sub"; exit 1; }
done
echo "manual pages, copyright and changelog.Debian: present"

# Both programs start from the unpacked tree with the system's libraries.
QT_QPA_PLATFORM=offscreen "$root/usr/bin/korvel" --version
[ "$("$root/usr/bin/korvel-cli" --version)" = "korvel-cli $version" ]

out=$("$root/usr/bin/korvel-cli" divisors --freq 2400)
echo "$out"
[ -n "$out" ]
