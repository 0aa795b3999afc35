#!/usr/bin/env bash
# Writes tdrtool's manual page from the tool's own help, so the page always lists the
# subcommands and options the binary really has. Usage: make-manpage.sh TDRTOOL VERSION OUT
set -euo pipefail
tool=$1
version=$2
out=$3

# roff: escape backslashes, and keep a leading dot or quote from being read as a request.
esc() { sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/" -e 's/-/\\-/g'; }

commands=$("$tool" --help | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p')
[ -n "$commands" ] || { echo "make-manpage: no commands in \"$tool --help\"" >&2; exit 1; }

{
  cat <<HEAD
.TH TDRTOOL 1 "" "r470 $version" "User Commands"
.SH NAME
tdrtool \- command-line tool for time-domain reflectometer waveforms
.SH SYNOPSIS
.B tdrtool
.I COMMAND
.RI [ ARGS ]
.br
.B tdrtool help
.I COMMAND
.SH DESCRIPTION
.B tdrtool
reads, writes, draws and transfers the waveform files (\\fI.KEL\\fR) of a handheld
time-domain reflectometer, with the same core as the window program
.BR r470 (1).
It needs no display. Each command below prints its own help with
.BR "tdrtool help " \\fICOMMAND\\fR.
.SH COMMANDS
HEAD
  for c in $commands; do
    echo ".SS $c"
    echo ".nf"
    "$tool" help "$c" | esc
    echo ".fi"
  done
  cat <<'TAIL'
.SH EXIT STATUS
0 on success, 1 when the command failed (a file that did not load, a transfer that did
not complete), 2 for a usage error.
.SH FILES
.TP
.I /usr/share/r470/samples/*.KEL
sample waveform files to try the commands on.
.SH SERIAL PORTS
Serial adapters appear as
.IR /dev/ttyUSB N
or
.IR /dev/ttyACM N ,
built-in ports as
.IR /dev/ttyS N .
They belong to the group
.BR dialout ;
to open them, a user must be a member of that group:
.RS
.B sudo adduser
.I user
.B dialout
.RE
and then log out and in again.
.B tdrtool ports
lists the ports that can be opened and the devices present that cannot,
with the reason.
.SH EXAMPLES
.nf
tdrtool info /usr/share/r470/samples/FEEDER1.KEL
tdrtool render /usr/share/r470/samples/FEEDER1.KEL \e
    /usr/share/r470/samples/FEEDER2.KEL \-\-units feet \-\-out feeders.png
.fi
.SH SEE ALSO
.BR r470 (1)
TAIL
} > "$out"
