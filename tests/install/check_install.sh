#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installed layout and the Debian package of a build folder:
#   check_install.sh BUILD_DIR APP_ID VERSION
# installs into a temporary prefix, checks the files, validates the menu entry and the
# metadata, starts the program through its link in bin/, then packs the folder with cpack and
# checks the package's contents and declared dependencies: every library its programs load
# must come from a package that its Depends names, as a fresh machine would need. The copyright
# file, the changelog and the manual pages are checked, one version everywhere, and the package
# passes Debian's package checker lintian without an error or a warning. Exits 77 (skipped)
# when a checking tool is missing, naming it.
set -euo pipefail
build=$1 id=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
for tool in desktop-file-validate appstreamcli cpack dpkg-deb dpkg-shlibdeps dpkg-query readelf \
    ldd lintian man; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done

prefix=$work/usr
cmake --install "$build" --prefix "$prefix" >/dev/null

# Program, dictionaries and host stand-in together; links to them in bin/.
for file in ionograph quillon-host ionograph.itl ionograph.de.itl ionograph.fr.itl \
    ionograph.es.itl ionograph.pt.itl; do
    [ -f "$prefix/lib/ionograph/$file" ] || fail "lib/ionograph/$file missing"
done
for program in ionograph quillon-host; do
    [ -x "$prefix/lib/ionograph/$program" ] || fail "lib/ionograph/$program not executable"
    [ "$(readlink "$prefix/bin/$program")" = "../lib/ionograph/$program" ] ||
        fail "bin/$program is not a relative link into lib/ionograph"
done

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli validate"
grep -qx "Icon=$id" "$desktop" || fail "the menu entry names another icon"
for code in en de fr es pt_BR; do
    grep -q "<lang>$code</lang>" "$metainfo" || fail "the metadata does not name the language $code"
done

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 16 22 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ -f "$icon" ] || fail "icon ${size}x$size missing"
    dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x$size" ] || fail "icon ${size}x$size is $dims"
done

# Started through the link, the program finds its dictionaries beside its real path: the
# German one is chosen by name, so a missing one would end it with code 2.
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
[ "$("$prefix/bin/ionograph" --version)" = "Ionograph $version" ] || fail "--version"
"$prefix/bin/ionograph" --language de --snapshot-about "$work/about.png" ||
    fail "the German dictionary was not found through the link"
[ -s "$work/about.png" ] || fail "no picture of the About box"
# The installed dictionaries are complete and fit, as a translator's check reports.
for dictionary in "$prefix"/lib/ionograph/ionograph*.itl; do
    "$prefix/bin/ionograph" --check-dictionary "$dictionary" >"$work/check.log" ||
        fail "the installed $(basename "$dictionary"): $(cat "$work/check.log")"
done
"$prefix/bin/quillon-host" --help | grep -q "quillon-host" || fail "quillon-host --help"

# One version: the project's (--version and the package give it) is the changelog's newest,
# whose date is the metadata's release and the manual pages' date.
doc=$prefix/share/doc/ionograph
[ -f "$doc/copyright" ] || fail "share/doc/ionograph/copyright missing"
grep -qx 'License: GPL-3+' "$doc/copyright" || fail "the copyright file names no GPL-3+ licence"
[ -f "$doc/changelog.gz" ] || fail "share/doc/ionograph/changelog.gz missing"
gzip -dc "$doc/changelog.gz" >"$work/changelog"
head -n1 "$work/changelog" | grep -q "^ionograph ($version) " ||
    fail "the changelog's newest entry is not $version: $(head -n1 "$work/changelog")"
entry_date=$(sed -n '/^ -- /{s/.*>  [A-Z][a-z]*, //; s/ [0-9:]* [-+][0-9]*$//; p; q}' "$work/changelog")
released=$(date -d "$entry_date" +%F) || fail "the changelog's date \"$entry_date\""
grep -q "<release version=\"$version\" date=\"$released\"/>" "$metainfo" ||
    fail "the metadata's release is not $version of $released"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" ||
    fail "the metadata names no project licence"

# The manual pages: dated and versioned as the release, rendered without a warning, and
# naming every option that the program's --help lists.
for program in ionograph quillon-host; do
    page=$prefix/share/man/man1/$program.1.gz
    [ -f "$page" ] || fail "share/man/man1/$program.1.gz missing"
    gzip -dc "$page" | grep -q "^\.TH [A-Z-]* 1 \"$released\" \"Ionograph $version\"" ||
        fail "$program(1) is not dated $released for version $version"
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$program(1) renders with warnings: $warnings"
    MANWIDTH=80 man -E ascii -l "$page" >"$work/$program.txt" 2>/dev/null
    for option in $("$prefix/bin/$program" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
        grep -qE -- "(^|[^a-z-])$option([^a-z-]|$)" "$work/$program.txt" ||
            fail "$program(1) does not name $option"
    done
done

# Without dpkg-shlibdeps on the PATH cpack refuses, naming the package that brings it, rather
# than making a package that declares none of the libraries.
mkdir "$work/no-tools"
if (cd "$build" && PATH=$work/no-tools "$(command -v cpack)" -G DEB -B "$work/refused") \
    >"$work/refused.log" 2>&1; then
    fail "cpack made a package without dpkg-shlibdeps"
fi
grep -q "dpkg-dev" "$work/refused.log" || fail "cpack's refusal does not name dpkg-dev"
if compgen -G "$work/refused/*.deb" >/dev/null; then fail "cpack left a package behind"; fi

# The package holds the same files under /usr, and declares what the program loads.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack -G DEB"
deb=$(ls "$work"/package/ionograph_"$version"_*.deb)
dpkg-deb -c "$deb" | awk '{print $6 ($7 ? " " $7 " " $8 : "")}' >"$work/contents"
for entry in ./usr/lib/ionograph/ionograph ./usr/lib/ionograph/quillon-host \
    ./usr/lib/ionograph/ionograph.itl ./usr/lib/ionograph/ionograph.de.itl \
    ./usr/lib/ionograph/ionograph.fr.itl ./usr/lib/ionograph/ionograph.es.itl \
    ./usr/lib/ionograph/ionograph.pt.itl \
    "./usr/bin/ionograph -> ../lib/ionograph/ionograph" \
    "./usr/bin/quillon-host -> ../lib/ionograph/quillon-host" \
    "./usr/share/applications/$id.desktop" "./usr/share/metainfo/$id.metainfo.xml" \
    "./usr/share/icons/hicolor/48x48/apps/$id.png" ./usr/share/doc/ionograph/copyright \
    ./usr/share/doc/ionograph/changelog.gz ./usr/share/man/man1/ionograph.1.gz \
    ./usr/share/man/man1/quillon-host.1.gz; do
    grep -qxF "$entry" "$work/contents" || fail "package lacks $entry"
done
if grep -vE '^\./usr/(|bin/.*|lib/|lib/ionograph/.*|share/.*)$' "$work/contents"; then
    fail "package holds files outside the installed layout (above)"
fi
[ "$(dpkg-deb -f "$deb" Package)" = ionograph ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
dpkg-deb -f "$deb" Description | grep -q '^ ;' && fail "the description's lines are a joined list"
depends=$(dpkg-deb -f "$deb" Depends)
for dependency in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-liberation2; do
    [[ $depends == *"$dependency"* ]] || fail "package does not depend on $dependency: $depends"
done

# What a fresh machine gets: each library a packed program names (NEEDED) must belong to a
# package of this machine that the Depends field names, alternatives and versions aside.
# Libraries of those packages are theirs to declare.
declared=" $(tr ',|' '\n\n' <<<"$depends" | sed -E 's/\(.*\)//; s/:[a-z0-9]+//; s/[[:space:]]//g' |
    tr '\n' ' ') "
owner() { # the packages owning a file, by its path as the loader gives it or as dpkg lists it
    local path=$1 candidate real
    real=$(readlink -f "$path")
    for candidate in "$path" "$real" "${path#/usr}" "/usr$path" "${real#/usr}" "/usr$real"; do
        dpkg-query -S "$candidate" 2>/dev/null | sed -n '1{s/: .*//; s/:[a-z0-9]*//g; s/,/ /g; p}' |
            grep . && return 0
    done
    return 1
}
dpkg-deb -x "$deb" "$work/root"
for program in ionograph quillon-host; do
    binary=$work/root/usr/lib/ionograph/$program
    needed=$(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    [ -n "$needed" ] || fail "$program names no libraries"
    loaded=$(ldd "$binary")
    for library in $needed; do
        path=$(awk -v lib="$library" '$1 == lib && $2 == "=>" {print $3}' <<<"$loaded")
        [ -n "$path" ] && [ "$path" != "not" ] || fail "$program: $library is not found"
        packages=$(owner "$path") || fail "$program: $library ($path) belongs to no package"
        found=""
        for package in $packages; do
            [[ $declared == *" $package "* ]] && found=$package
        done
        [ -n "$found" ] ||
            fail "$program needs $library of package $packages, which Depends lacks: $depends"
    done
done

# Compressed with gzip -9n, as Debian asks of documents: no name flag (byte 3) and no time
# stamp (bytes 4 to 7) in the header, and the mark of the strongest compression (byte 8 is 2).
while read -r entry; do
    read -r _ _ _ flags t1 t2 t3 t4 extra < <(od -An -tu1 -N9 "$work/root/${entry#./}")
    [ $((flags & 8)) -eq 0 ] && [ "$t1$t2$t3$t4" = 0000 ] ||
        fail "$entry keeps a file name or time stamp (gzip -n)"
    [ "$extra" = 2 ] || fail "$entry is not compressed with gzip -9"
done < <(grep '\.gz$' "$work/contents")

# Debian's package checker: any error or warning fails.
lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log"; fail "lintian found errors or warnings (above)"; }
echo "installed layout and package $(basename "$deb") ($(stat -c %s "$deb") bytes) are complete"
