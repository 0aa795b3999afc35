#!/usr/bin/env bash
# tdrtool.exe under Wine prints and writes exactly what the Linux tdrtool does, byte for byte,
# on the sample files. Usage: outputs_match.sh LINUX_TDRTOOL WINDOWS_TDRTOOL SAMPLES_DIR
set -uo pipefail
linux=$1 windows=$2 samples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$samples"/*.KEL "$work/"
cd "$work"
failed=0 checked=0

# Runs one command line with both programs; standard output, exit status and any --out file
# must be equal.
same() {
    local out=""
    for ((i = 1; i <= $#; i++)); do
        [ "${!i}" = "--out" ] && { j=$((i + 1)); out=${!j}; }
    done
    "$linux" "$@" >linux.stdout 2>linux.stderr; local lrc=$?
    [ -n "$out" ] && [ -e "$out" ] && mv "$out" linux.outfile
    wine "$windows" "$@" >windows.stdout 2>windows.stderr </dev/null; local wrc=$?
    [ -n "$out" ] && [ -e "$out" ] && mv "$out" windows.outfile
    checked=$((checked + 1))
    # Neither program writing the file (a refusal) is the same too.
    local files_differ=0
    if [ -e linux.outfile ] || [ -e windows.outfile ]; then
        cmp -s linux.outfile windows.outfile || files_differ=1
    fi
    if [ $lrc -ne $wrc ] || ! cmp -s linux.stdout windows.stdout || [ $files_differ -eq 1 ]; then
        echo "DIFFERS: tdrtool $* (exit $lrc vs $wrc)"
        diff <(od -c linux.stdout | head -20) <(od -c windows.stdout | head -20) | head -20
        failed=$((failed + 1))
    fi
    rm -f linux.outfile windows.outfile
}

files=$(ls *.KEL)
same info --json $files
same info FEEDER1.KEL
for f in $files; do
    same csv "$f"
    same events --json "$f"
    same dbrl "$f"
done
same csv FEEDER1.KEL FEEDER2.KEL --units feet
same events FEEDER2.KEL --reference FEEDER1.KEL
same dbrl SHORT.KEL --cursors 10,300
same synth --out SYN.KEL --samples 2048 --fault short --fault-at 700 --seed 7
same encode FEEDER1.KEL:1 FEEDER2.KEL:7 --out LINE.BIN
same cables --json
same vf FEEDER1.KEL --length 100 --auto
same encode FEEDER1.KEL:0 --out X.BIN # a usage error: the same refusal

# "PNG WxH" or "BMP WxH" from a picture's header; nothing for anything else.
picture_size() {
    [ -s "$1" ] || return
    local b
    read -ra b < <(od -An -tu1 -N26 -v "$1" | tr -s ' \n' '  ')
    if [ "${b[0]}-${b[1]}-${b[2]}-${b[3]}" = "137-80-78-71" ]; then
        echo "PNG $(((b[18] << 8) | b[19]))x$(((b[22] << 8) | b[23]))"
    elif [ "${b[0]}-${b[1]}" = "66-77" ]; then
        echo "BMP $(((b[19] << 8) | b[18]))x$(((b[23] << 8) | b[22]))"
    fi
}

# A picture depends on the fonts each system has: the same size and the same kind, not the
# same bytes. Only where tdrtool.exe was built with the window layer.
if wine "$windows" render --help >/dev/null 2>&1 </dev/null; then
    for pic in shot.png shot.bmp; do
        args=(render FEEDER1.KEL FEEDER2.KEL --current 1 --size 800x600 --out)
        "$linux" "${args[@]}" "linux-$pic" >/dev/null 2>&1
        wine "$windows" "${args[@]}" "windows-$pic" >/dev/null 2>&1 </dev/null
        checked=$((checked + 1))
        lsize=$(picture_size "linux-$pic")
        wsize=$(picture_size "windows-$pic")
        if [ -z "$lsize" ] || [ "$lsize" != "$wsize" ]; then
            echo "DIFFERS: tdrtool render ... --out $pic ('$lsize' vs '$wsize')"
            failed=$((failed + 1))
        fi
    done
fi
# Without QT_QPA_FONTDIR, as on a real machine, the text comes from the Windows folder's
# Fonts: the picture differs from one drawn with no font at all.
if wine "$windows" render --help >/dev/null 2>&1 </dev/null; then
    fonts=$(winepath -u 'C:\windows\Fonts' 2>/dev/null | tr -d '\r')
    if [ -n "$fonts" ] && mkdir -p "$fonts" && cp /usr/share/fonts/truetype/liberation/*.ttf "$fonts/"; then
        mkdir -p no-fonts
        args=(render FEEDER1.KEL --size 640x480 --out)
        wine cmd /c "set QT_QPA_FONTDIR=Z:$(pwd | tr / '\\')\\no-fonts&& $(winepath -w "$windows") ${args[*]} blank.png" \
            >/dev/null 2>&1 </dev/null
        wine cmd /c "set QT_QPA_FONTDIR=&& $(winepath -w "$windows") ${args[*]} system.png" \
            >/dev/null 2>&1 </dev/null
        checked=$((checked + 1))
        if [ ! -s system.png ] || [ ! -s blank.png ] || cmp -s system.png blank.png; then
            echo "DIFFERS: tdrtool render without QT_QPA_FONTDIR draws no text from C:\\windows\\Fonts"
            failed=$((failed + 1))
        fi
    fi
fi
# A report's pages and words are the same on both systems (the PDF's bytes carry the moment it
# was made). Checked where poppler's tools are at hand and tdrtool.exe has the window layer.
if command -v pdftotext >/dev/null && wine "$windows" report --help >/dev/null 2>&1 </dev/null; then
    args=(report FEEDER1.KEL FEEDER2.KEL SHORT.KEL --title "Réseau nord" --paper letter --out)
    "$linux" "${args[@]}" linux.pdf >/dev/null 2>&1
    wine "$windows" "${args[@]}" windows.pdf >/dev/null 2>&1 </dev/null
    checked=$((checked + 1))
    pages() { pdfinfo "$1" 2>/dev/null | sed -n 's/^Page\(s\| size\): *//p' | tr '\n' ' '; }
    if [ ! -s linux.pdf ] || [ "$(pages linux.pdf)" != "$(pages windows.pdf)" ] ||
        ! cmp -s <(pdftotext linux.pdf - 2>/dev/null) <(pdftotext windows.pdf - 2>/dev/null); then
        echo "DIFFERS: tdrtool report: pages $(pages linux.pdf) vs $(pages windows.pdf), or their text"
        diff <(pdftotext linux.pdf - 2>/dev/null) <(pdftotext windows.pdf - 2>/dev/null) | head -10
        failed=$((failed + 1))
    fi
fi

# The archive in its Windows place, %LOCALAPPDATA%\R470\archive.sqlite, holds what the Linux
# one does: the same test numbers, facts and first change, and the filed bytes come back whole.
if wine "$windows" archive --help >/dev/null 2>&1 </dev/null; then
    local_app=$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null </dev/null | tr -d '\r')
    store=$(winepath -u "$local_app\\R470" 2>/dev/null | tr -d '\r')
    rm -f "$store"/archive.sqlite*
    "$linux" synth --out OLD.KEL --cable-id "Kabel grün" --fault none >/dev/null 2>&1
    "$linux" synth --out NEW.KEL --cable-id "Kabel grün" --fault-at 700 >/dev/null 2>&1
    # One session of filing; run() is the program and db the database option of each system.
    filing() {
        run archive add OLD.KEL --site "Nord é" --json "${db[@]}"
        run archive add NEW.KEL FEEDER1.KEL OLD.KEL --site "Nord é" --json "${db[@]}"
        run archive list --changed --json "${db[@]}"
        run archive compare "Kabel grün" --site "Nord é" --json "${db[@]}"
        run archive get 2 --out GOT.KEL "${db[@]}" >/dev/null && cmp NEW.KEL GOT.KEL && echo same bytes
        rm -f GOT.KEL
    }
    run() { "$linux" "$@"; }
    db=(--db linux.sqlite)
    filing 2>/dev/null | sed 's/"filed":"[^"]*"//g' >linux.archive
    run() { wine "$windows" "$@" </dev/null | tr -d '\r'; }
    db=()
    filing 2>/dev/null | sed 's/"filed":"[^"]*"//g' >windows.archive
    checked=$((checked + 1))
    if ! grep -q '"time_ns"' linux.archive || ! grep -q "same bytes" windows.archive ||
        ! cmp -s linux.archive windows.archive || [ ! -s "$store/archive.sqlite" ]; then
        echo "DIFFERS: tdrtool archive add/list/compare/get in %LOCALAPPDATA%\\R470"
        diff linux.archive windows.archive | head -10
        failed=$((failed + 1))
    fi
    rm -f "$store"/archive.sqlite*
fi
echo "$((checked - failed)) passed, $failed failed"
[ $failed -eq 0 ]
