# Sourced by the Windows scripts: a Wine prefix of the project's own (never ~/.wine) in
# $WINEPREFIX, made on first use, with its services started and one Wine server kept for
# the whole run (killed on exit). The NAME=VALUE words of $R470_WINE_ENV go into the
# prefix's user environment: Wine passes no QT_* variable of ours to a Windows program.
# Usage: [R470_WINE_ENV="NAME=VALUE ..."] . scripts/wine-prefix.sh
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no offer to install .NET or a browser engine

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the Wine prefix $WINEPREFIX"
  wineboot --init >/dev/null 2>&1 </dev/null || true
  wineserver -w
  # Wine links Desktop and Documents to $HOME: keep whatever a test writes in the prefix.
  for link in "$WINEPREFIX/drive_c/users/$(id -un)"/*; do
    if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
  done
fi
for setting in ${R470_WINE_ENV:-}; do
  wine reg add 'HKCU\Environment' /v "${setting%%=*}" /d "${setting#*=}" /f \
    >/dev/null 2>&1 </dev/null
done
# The prefix's own services start with the first program and keep its output open: started
# here, they hold nothing a test's output goes through.
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
wineserver -p || echo "No persistent Wine server: every program starts its own"
trap 'wineserver -k 2>/dev/null || true' EXIT
