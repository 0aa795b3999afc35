# Shared by the scripts that build a library for Windows from Debian's own source: root or
# sudo, package queries, and deb-src entries for the archive the machine already uses.
# Sourced, not run.

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  sudo=(false)
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
version_of() { dpkg-query -W -f='${Version}' "$1"; }

# Debian's source for the same archive: add deb-src entries mirroring the deb ones when
# none exist, in the format the system already uses.
has_deb_src() {
  grep -qsE '^[[:space:]]*deb-src[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list ||
    grep -qsE '^[[:space:]]*Types:.*deb-src' /etc/apt/sources.list.d/*.sources
}
add_deb_src() {
  local sources=/etc/apt/sources.list.d/debian.sources
  if [ -f "$sources" ] && grep -qE '^Types:' "$sources"; then
    # deb822: copy every stanza of the Debian archive with Types: deb-src.
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[^\n]*deb/ && !/(^|\n)Enabled:[[:space:]]*no/ {
           sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' \
      "$sources" | "${sudo[@]}" tee /etc/apt/sources.list.d/r470-deb-src.sources >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    sed -n 's/^[[:space:]]*deb[[:space:]]\(.*debian.*\)$/deb-src \1/p' /etc/apt/sources.list |
      "${sudo[@]}" tee /etc/apt/sources.list.d/r470-deb-src.list >/dev/null
  fi
  has_deb_src || { echo "Could not add a deb-src entry for the Debian archive." >&2; exit 1; }
}
