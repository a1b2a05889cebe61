#!/usr/bin/env bash
# Builds the German locale de_DE.UTF-8, whose numbers have a decimal comma, into a folder of
# the build tree for the tests that check that numbers keep their point in any locale (they
# get the folder as LOCPATH):
#   make_test_locale.sh DIR
# Needs localedef and the locale sources of the Debian package `locales`; exits 77 (skipped)
# naming what is missing.
set -euo pipefail
dir=$1
target=$dir/de_DE.UTF-8
[ -f "$target/LC_NUMERIC" ] && exit 0
command -v localedef >/dev/null || { echo "SKIPPED: localedef is not installed"; exit 77; }
[ -f /usr/share/i18n/locales/de_DE ] ||
    { echo "SKIPPED: no locale sources; install the package locales"; exit 77; }
mkdir -p "$dir"
work=$(mktemp -d "$dir/.new.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Exit code 1 means warnings only; the files are what counts.
localedef -i de_DE -f UTF-8 "$work/de_DE.UTF-8" || [ $? -eq 1 ]
[ -f "$work/de_DE.UTF-8/LC_NUMERIC" ] || { echo "FAILED: localedef wrote no LC_NUMERIC"; exit 1; }
mv "$work/de_DE.UTF-8" "$target"
echo "built $target"
