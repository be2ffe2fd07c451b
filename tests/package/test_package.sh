#!/usr/bin/env bash
# SPDX-FileCopyrightText: MOXAN
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs the build tree into the .deb as scripts/package does, unpacks it into
# a scratch root (dpkg -x, no root needed) and runs the installed zevra-cli
# against the shipped examples: the installation must find its own data, the
# user's data folder must win only when complete, and the command-line
# conventions (--data=DIR, options after the command, --, '-') must hold.
# Checks what a distribution looks at too: the Description as written in
# packaging/description.txt, the examples, the icons at each size, and the
# release in the metainfo and the manual pages against the version.
# Usage: test_package.sh BUILD_DIR EXAMPLES_DIR SCRATCH_DIR
set -euo pipefail
build=$1 examples=$2 scratch=$3
packaging=$(cd "$(dirname "$0")/../../packaging" && pwd)
rm -rf "$scratch" && mkdir -p "$scratch"
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
  || { cat "$scratch/cpack.log"; fail "cpack"; }
deb=$(ls "$scratch"/out/zevra_*.deb)
root=$scratch/root
dpkg-deb -x "$deb" "$root"

# The control data: name, section, the run-time dependencies shlibdeps cannot see.
control=$(dpkg-deb -f "$deb" Package Section Depends)
grep -qx "Package: zevra" <<<"$control" || fail "package name: $control"
grep -qx "Section: science" <<<"$control" || fail "section: $control"
grep -q "qt6-translations-l10n" <<<"$control" || fail "Depends lacks qt6-translations-l10n"
grep -q "qt6-wayland" <<<"$control" || fail "Depends lacks qt6-wayland"
grep -q "libstdc++6" <<<"$control" || fail "Depends not computed by shlibdeps"
# The Description exactly as written: the synopsis, then every line indented
# by one space, an empty line as " .".
expected=$({ IFS= read -r synopsis; echo "$synopsis"
             while IFS= read -r line || [[ -n $line ]]; do echo " ${line:-.}"; done; } <"$packaging/description.txt")
description=$(dpkg-deb -f "$deb" Description)
[[ $description == "$expected" ]] || fail "Description differs:"$'\n'"$(diff <(echo "$expected") <(echo "$description"))"
version=$(dpkg-deb -f "$deb" Version)

for f in usr/bin/zevra-cli usr/share/doc/zevra/copyright usr/share/doc/zevra/changelog.gz \
         usr/share/man/man1/zevra-cli.1.gz usr/share/bash-completion/completions/zevra-cli \
         usr/share/zevra/data/DecilDists.txt; do
  [[ -e $root/$f ]] || fail "missing $f"
done

# The browser version, when it was built before packing (scripts/web): the
# page and its module, readable by everyone.
web=$root/usr/share/zevra/web
if [[ -d $web ]]; then
  for f in index.html zevra-core.js; do
    [[ -s $web/$f ]] || fail "web: missing $f"
    [[ $(stat -c %a "$web/$f") == 644 ]] || fail "web: $f is not 644"
  done
fi

"$(dirname "$0")/test_completion.sh" "$root/usr/share/bash-completion/completions/zevra-cli" "$scratch/completion" \
  || fail "bash completion"

# The examples, which both manual pages name.
doc=$root/usr/share/doc/zevra
for f in "$examples"/*; do
  cmp -s "$f" "$doc/examples/${f##*/}" || fail "example ${f##*/} not in /usr/share/doc/zevra/examples"
done
for page in zevra zevra-cli; do
  manual=$(gzip -dc "$root/usr/share/man/man1/$page.1.gz")
  grep -q "/usr/share/doc/zevra/examples" <<<"$manual" || fail "$page(1) does not name the examples"
  grep -q "^\.TH .* \"zevra $version\" " <<<"$manual" || fail "$page(1) is not of version $version"
done

if [[ -x $root/usr/bin/zevra ]]; then
  # The desktop entry, its icon at every size (PNG of that size), the
  # scalable icon with no text left to a font, and the metainfo's release.
  apps=$root/usr/share/applications/cz.moxan.zevra.desktop
  grep -qx "Icon=cz.moxan.zevra" "$apps" || fail "desktop entry: icon"
  grep -qx "StartupWMClass=ZEVRAModel" "$apps" || fail "desktop entry: StartupWMClass"
  icons=$root/usr/share/icons/hicolor
  for size in 16 24 32 48 64 128 256; do
    png=$icons/${size}x${size}/apps/cz.moxan.zevra.png
    file -b "$png" | grep -q "^PNG image data, $size x $size," || fail "icon $size: $(file -b "$png")"
  done
  svg=$icons/scalable/apps/cz.moxan.zevra.svg
  grep -q "<svg" "$svg" || fail "no scalable icon"
  ! grep -q "<text" "$svg" || fail "the scalable icon leaves text to a font"
  metainfo=$root/usr/share/metainfo/cz.moxan.zevra.metainfo.xml
  date=$(gzip -dc "$doc/changelog.gz" | sed -n '1,/^ -- /s/^ -- .*  \(.*\)$/\1/p')
  grep -q "<release version=\"$version\" date=\"$(date -u -d "$date" +%Y-%m-%d)\">" "$metainfo" \
    || fail "metainfo release is not $version of $date"
fi

cli=$root/usr/bin/zevra-cli
home=$scratch/home && mkdir -p "$home"
export HOME=$home
unset XDG_DATA_HOME

# The installed program finds the installed data, relative to itself.
"$cli" --version | grep -qx "Referenční data: $root/usr/share/zevra/data" \
  || fail "installed data folder: $("$cli" --version)"
"$cli" evaluate "$examples/obec.txt" --format text >"$scratch/report.txt" || fail "evaluate"
grep -q "Obyvatelstvo" "$scratch/report.txt" || fail "report lacks Obyvatelstvo"
"$cli" batch "$examples/obce.csv" "$scratch/out.html" 2>/dev/null || fail "batch"

# The user's folder wins once it holds all five files; holding only some of
# them it is an error that names the missing ones, never a silent fall back
# to the demonstration data.
user=$home/.local/share/zevra/data && mkdir -p "$user"
cp "$root"/usr/share/zevra/data/{DecilDists,MuniInfo,Regions,SampMuni}.txt "$user"/
set +e
out=$("$cli" --version 2>&1); status=$?
set -e
[[ $status -eq 2 && $out == *OWeights.txt* ]] || fail "incomplete user folder (exit $status): $out"
cp "$root"/usr/share/zevra/data/OWeights.txt "$user"/
"$cli" --version | grep -qx "Referenční data: $user" || fail "user folder not used"
XDG_DATA_HOME=$scratch/xdg "$cli" --version | grep -q "$root/usr/share/zevra/data" \
  || fail "XDG_DATA_HOME not honoured"
# --data still wins, in both spellings and after the command.
"$cli" --version --data "$scratch" | grep -qx "Referenční data: $scratch" || fail "--data DIR"
"$cli" --data="$scratch" --version | grep -qx "Referenční data: $scratch" || fail "--data=DIR"
set +e
"$cli" validate "$examples/obec.txt" --data="$scratch/none" >/dev/null 2>&1; status=$?
set -e
[[ $status -eq 2 ]] || fail "--data after the command ignored (exit $status)"

# '-' reads standard input and, as the batch output, writes standard output;
# the same table as from named files.
"$cli" batch - - <"$examples/obce.csv" >"$scratch/stdout.html" 2>/dev/null || fail "batch - -"
cmp -s "$scratch/out.html" "$scratch/stdout.html" || fail "batch to stdout differs"
"$cli" evaluate --format text - <"$examples/obec.txt" | cmp -s - "$scratch/report.txt" || fail "evaluate -"
# After -- a name that looks like an option is a file.
cp "$examples/obec.txt" "$scratch/--format"
(cd "$scratch" && "$cli" validate -- --format >/dev/null 2>&1) || fail "-- does not end the options"
set +e
"$cli" --bogus validate "$examples/obec.txt" >/dev/null 2>&1; status=$?
set -e
[[ $status -eq 2 ]] || fail "unknown option accepted (exit $status)"

if [[ -x $root/usr/bin/zevra ]]; then
  # No window, no display: --help and --version answer and exit.
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$root/usr/bin/zevra" --version | grep -q "^zevra " \
    || fail "zevra --version"
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$root/usr/bin/zevra" --help >/dev/null || fail "zevra --help"
fi
echo "OK $deb"
