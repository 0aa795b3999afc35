#!/usr/bin/env bash
# Writes the manual pages as one HTML document for systems without `man` (the Windows
# installer's manual). Each page is formatted by groff as text and kept preformatted, so
# the layout is the terminal's. Usage: make-manual-html.sh OUT.html VERSION PAGE.1...
set -euo pipefail
out=$1
version=$2
shift 2

html_escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g'; }

tmp=$out.tmp
{
  cat <<HEAD
<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>R470 $version manual</title>
<style>
body { font-family: sans-serif; margin: 2em; }
pre { font-family: Consolas, "Courier New", monospace; font-size: 10pt; }
pre b { font-size: 11pt; }
</style>
</head>
<body>
<h1>R470 $version manual</h1>
<ul>
HEAD
  for page in "$@"; do
    name=$(basename "$page" .1)
    echo "<li><a href=\"#$name\">$name</a></li>"
  done
  echo "</ul>"
  for page in "$@"; do
    name=$(basename "$page" .1)
    echo "<h2 id=\"$name\">$name</h2>"
    echo "<pre>"
    # No hyphenation, no terminal bold or underline; section headings in bold.
    groff -man -Tutf8 -P-cbou -rLL=90n -rHY=0 "$page" | html_escape |
      sed -e 's/^\([A-Z][A-Z ]*\)$/<b>\1<\/b>/'
    echo "</pre>"
  done
  echo "</body>"
  echo "</html>"
} >"$tmp"
grep -q '<b>NAME</b>' "$tmp" || { echo "make-manual-html: groff printed no page" >&2; exit 1; }
mv "$tmp" "$out"
