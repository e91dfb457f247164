#!/usr/bin/env bash
# Runs the desktop's own validators on what cmake --install put under ROOT (a prefix such as
# DESTDIR/usr): the desktop entry, the AppStream metainfo, the catalog file type, the icons and
# the man pages, and the machine-readable package copyright. Any complaint fails.
#
#   validate_installed.sh ROOT
set -euo pipefail
root=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

desktop-file-validate "$root"/share/applications/*.desktop
appstreamcli validate --no-net --strict "$root"/share/metainfo/*.metainfo.xml

# Debian's shared-mime-info ships no schema; one that a later release ships is used.
schema=$(dpkg -L shared-mime-info 2>/dev/null | grep -E '\.(xsd|rng)$' | head -n 1 || true)
mkdir -p "$scratch/mime/packages"
for type in "$root"/share/mime/packages/*.xml; do
  if [ -n "$schema" ]; then
    xmllint --noout --schema "$schema" "$type"
  else
    xmllint --noout "$type"
  fi
  cp "$type" "$scratch/mime/packages/"
done
# The database compiler reads the type as file managers will; it must have nothing to say.
messages=$(XDG_DATA_HOME="$scratch" update-mime-database "$scratch/mime" 2>&1)
[ -z "$messages" ] || { echo "$messages"; exit 1; }
grep -qi '^50:application/x-vrcat:\*\.vrcat$' "$scratch/mime/globs2" \
  || { echo "application/x-vrcat does not name *.VrCat"; exit 1; }
grep -q '^application/x-vrcat:application-x-vrcat$' "$scratch/mime/icons" \
  || { echo "application/x-vrcat has no icon of its own"; exit 1; }

for icon in "$root"/share/icons/hicolor/scalable/*/*.svg; do
  xmllint --noout "$icon"
done
test -f "$root/share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$root"/share/applications/*.desktop).svg"

for page in "$root"/share/man/man1/*.1.gz "$root"/share/man/*/man1/*.1.gz; do
  messages=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$messages" ] || { echo "$page: $messages"; exit 1; }
done
# bash-completion loads a command's completion from the file named after it.
bash -n "$root/share/bash-completion/completions/tessna-cli"

# The copyright file in Debian's machine-readable format: the format line first, every Files
# paragraph with its Copyright and License, and every license it names given in full.
awk '
  NR == 1 && $0 != "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" {
    print "copyright: no format line"; bad = 1 }
  /^$/ { if (files && !(copyright && license)) { print "copyright: Files without Copyright or License"; bad = 1 }
         if (standalone && !text) { print "copyright: license " standalone " without its text"; bad = 1 }
         files = copyright = license = text = 0; standalone = ""; next }
  /^Files:/ { files = 1 }
  /^Copyright:/ { copyright = 1 }
  /^License:/ { license = 1; name = $2; if (files) used[name] = 1; else standalone = name; given[name] = given[name] }
  /^ / && standalone != "" { text = 1; given[standalone] = 1 }
  END { if (files && !(copyright && license)) { print "copyright: Files without Copyright or License"; bad = 1 }
        if (standalone && !text) { print "copyright: license " standalone " without its text"; bad = 1 }
        for (name in used) if (!given[name]) { print "copyright: license " name " is not given"; bad = 1 }
        exit bad }
' "$root/share/doc/tessna/copyright"
echo "The installed files pass their validators."
