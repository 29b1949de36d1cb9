#!/usr/bin/env bash
# Korvane's PDF of a full month (chart and table) against gnuplot 5 drawing the same month's three
# curves into a PDF with its pdfcairo terminal: 10 runs each, side by side; prints both medians,
# their ratio and each one's peak memory. Not run by ctest.
#   bench/export_vergleich.sh [BUILD-FOLDER]
set -euo pipefail
quelle=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bau=${1:-$quelle/build}
korvane=$bau/bin/korvane
[ -x "$korvane" ] || { echo "Nicht gebaut: $korvane" >&2; exit 2; }
if ! command -v gnuplot >/dev/null 2>&1; then
  als_root=(); [ "$(id -u)" -eq 0 ] || als_root=(sudo)
  "${als_root[@]}" apt-get install -y -qq --no-install-recommends gnuplot-nox time >/dev/null
fi
[ -x /usr/bin/time ] || { echo "/usr/bin/time fehlt (Paket time)" >&2; exit 2; }

arbeit=$(mktemp -d)
trap 'rm -rf "$arbeit"' EXIT
mkdir -p "$arbeit/config" "$arbeit/programm"

# The month: 31 days, four readings a day, a weight each morning; and the same values for gnuplot.
tabelle=$arbeit/Anna_03_2024.tab
daten=$arbeit/maerz.dat
{
  printf '[Personendaten]\r\nBenutzerName=Anna\r\nDatum=M\xe4rz 2024\r\n1M=1\r\n2M=1\r\n3M=1\r\n4M=1\r\n\r\n'
  worte=(Morgens Messung2 Messung3 Abends); zeiten=(07:30 13:00 15:30 20:40)
  for tag in $(seq 1 31); do
    for s in 0 1 2 3; do
      sys=$((120 + (tag * 7 + s * 3) % 40)); dia=$((75 + (tag * 5 + s) % 20)); puls=$((60 + (tag * 3 + s * 2) % 25))
      gewicht=0; [ "$s" -eq 0 ] && gewicht="7$((tag % 8)),5"
      printf '%s den %02d.03.2024 Z=%s s=%d, d=%d, p=%d, Gewicht=%s\r\n' "${worte[s]}" "$tag" "${zeiten[s]}" "$sys" "$dia" "$puls" "$gewicht"
      printf '%s %d %d %d\n' "$(awk -v t="$tag" -v s="$s" 'BEGIN{printf "%.2f", t + s/4}')" "$sys" "$dia" "$puls" >&3
    done
  done
} > "$tabelle" 3> "$daten"
cat > "$arbeit/plot.gp" <<GP
set terminal pdfcairo size 21cm,29.7cm font "DejaVu Sans,8"
set output "$arbeit/gnuplot.pdf"
set title "Korvanemesswerte  März 2024  Anna"
set xrange [1:32]; set yrange [20:220]; set grid
plot "$daten" using 1:2 with lines lc rgb "blue" title "systolisch", \
     "$daten" using 1:3 with lines lc rgb "dark-green" title "diastolisch", \
     "$daten" using 1:4 with lines lc rgb "#FF0080" title "Puls/Minute"
GP

# One run: milliseconds (wall clock) and peak KiB (resident), appended to the named files.
einmal() {
  local ms_datei=$1 kib_datei=$2; shift 2
  local anfang ende
  anfang=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$arbeit/zeit" "$@" >/dev/null 2>"$arbeit/fehler" || { cat "$arbeit/fehler" >&2; exit 1; }
  ende=$(date +%s%N)
  echo $(( (ende - anfang) / 1000000 )) >> "$ms_datei"
  cat "$arbeit/zeit" >> "$kib_datei"
}
median() { sort -n "$1" | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}'; }
spitze() { sort -n "$1" | tail -1; }

export XDG_CONFIG_HOME=$arbeit/config KORVANE_ORDNER=$arbeit/programm SOURCE_DATE_EPOCH=1709624405
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
# Alternating, so a change in the machine's load falls on both alike.
for _ in $(seq 1 10); do
  einmal "$arbeit/k.ms" "$arbeit/k.kib" "$korvane" --export pdf-grafik-tabelle --ausgabe "$arbeit/korvane.pdf" "$tabelle"
  einmal "$arbeit/g.ms" "$arbeit/g.kib" gnuplot "$arbeit/plot.gp"
done
k_ms=$(median "$arbeit/k.ms"); g_ms=$(median "$arbeit/g.ms")
printf 'korvane --export pdf-grafik-tabelle: %s ms, Speicherspitze %s MiB\n' "$k_ms" "$(( $(spitze "$arbeit/k.kib") / 1024 ))"
printf 'gnuplot pdfcairo (drei Kurven):      %s ms, Speicherspitze %s MiB\n' "$g_ms" "$(( $(spitze "$arbeit/g.kib") / 1024 ))"
awk -v k="$k_ms" -v g="$g_ms" 'BEGIN{ if (g > 0) printf "Verhältnis korvane / gnuplot: %.2f\n", k / g }'
