#!/bin/sh
# Writes the manual page tobal31-cli(1), in Spanish, from the tool's own
# help texts, so that the page says what `tobal31-cli --help` says.
# Usage: man-tobal31-cli.sh TOBAL31-CLI VERSION tobal31-cli.1
set -eu
cli="$1"
version="$2"
salida="$3"
export LC_ALL=C.UTF-8

# Text as it is: backslashes and hyphens escaped, no line starting a request.
literal() {
    sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\([.']\)/\\\\\&\1/"
}

ordenes=$("$cli" --help | sed -n '/^Órdenes:/,$ s/^  \([a-z][a-z]*\) .*/\1/p')
[ -n "$ordenes" ] || { echo "man-tobal31-cli.sh: no commands in the help of $cli" >&2; exit 1; }

{
printf '.TH TOBAL31\\-CLI 1 "" "Tobal31 %s" "Órdenes de usuario"\n' "$version"
printf '.SH NOMBRE\ntobal31\\-cli \\- compañero de línea de órdenes de Tobal31, la quiniela\n'
printf '.SH SINOPSIS\n.B tobal31\\-cli\n[\\-\\-datos \\fICARPETA\\fR] \\fIORDEN\\fR [\\fIopciones\\fR]\n'
printf '.SH DESCRIPCIÓN\n.nf\n'
"$cli" --help | sed '1,2d' | literal
printf '.fi\n.SH ÓRDENES\n'
for orden in $ordenes; do
    printf '.SS %s\n.nf\n' "$orden"
    "$cli" "$orden" --help | literal
    printf '.fi\n'
done
printf '.SH ARCHIVOS\n.TP\nDATOSGEN.TBX, JORNADAS.TBX, EQUIPOS.TBX, BASES.TBX, RED*.TBX\n'
printf 'los ficheros de la carpeta de datos, los mismos que usa el programa.\n'
printf '.SH VÉASE TAMBIÉN\n.BR tobal31 (1)\n'
} > "$salida.tmp"
mv "$salida.tmp" "$salida"
