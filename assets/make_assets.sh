#!/usr/bin/env bash
# Draws the launcher's pictures and icon (assets/) and the sample CD's artwork and
# documents (demo/cd/) with ImageMagick. The outputs are committed; run this again
# only to change them. Output is reproducible: no time stamps are written.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
assets=$root/assets
cd_dir=$root/demo/cd
# /usr/local/bin/convert may be a stand-in; the real ImageMagick is needed here.
im=/usr/bin/convert
font=DejaVu-Sans-Bold
# Picture green; the captions' RGB 1, 113, 54 is kept out of the pictures so a
# screenshot tells caption pixels from picture pixels.
green='#0b6b35'
red='#c8102e'

mkdir -p "$assets" "$cd_dir/img" "$cd_dir/pdf" "$cd_dir/doc" "$cd_dir/etc" "$cd_dir/upd"

# PNG output: 8-bit RGBA, no date or time chunks.
png() { "$im" "$@" -strip -define png:exclude-chunks=date,time -depth 8 "PNG32:$out"; }
# JPEG output with full-resolution colour planes: decoders widen halved planes each
# their own way, which shows along the artwork's hard edges; full planes decode alike.
jpg() { "$im" "$@" -strip -quality 90 -sampling-factor 1x1 "$out"; }

# An open arc as short line segments: this ImageMagick closes stroked open paths.
# arc_lines cx cy r from_deg to_deg
arc_lines() {
  awk -v cx="$1" -v cy="$2" -v r="$3" -v a0="$4" -v a1="$5" 'BEGIN {
    for (a = a0; a <= a1 + 0.001; a += 3) {
      t = a * 3.14159265 / 180; x = cx + r * cos(t); y = cy + r * sin(t)
      if (a > a0) printf "line %.1f,%.1f %.1f,%.1f ", px, py, x, y
      px = x; py = y
    }
  }'
}

# P1, brochure: the publication's badge, a booklet with its red title band.
out=$assets/p1_brochure.png png -size 116x84 xc:none \
  -fill 'rgba(0,0,0,0.22)' -draw 'roundrectangle 7,7 113,82 10,10' \
  -fill white -stroke "$green" -strokewidth 3 -draw 'roundrectangle 2,2 108,77 10,10' \
  -stroke none -fill "$red" -draw 'rectangle 10,11 100,35' \
  -font "$font" -pointsize 14 -fill white -gravity north -annotate -3+14 'ЛОРАНТА' \
  -gravity northwest -fill '#9cc9a8' \
  -draw 'rectangle 14,45 96,48' -draw 'rectangle 14,54 84,57' -draw 'rectangle 14,63 90,66'

# P2, Description: a green book.
out=$assets/p2_description.png png -size 118x82 xc:none \
  -fill 'rgba(0,0,0,0.2)' -draw 'ellipse 62,74 48,6 0,360' \
  -fill '#f4efd8' -stroke '#8a8a70' -strokewidth 1 -draw 'polygon 30,66 106,56 109,64 33,75' \
  -stroke none -fill '#0b5a2a' -draw 'polygon 16,15 24,9 33,66 26,74' \
  -fill '#1f9a46' -stroke '#0b5a2a' -strokewidth 2 -draw 'polygon 24,9 98,2 106,56 33,66' \
  -stroke none -fill '#e6f4ea' -draw 'polygon 42,18 88,13 91,30 45,35' \
  -fill "$green" -draw 'polygon 48,22 84,18 85,21 49,25' -draw 'polygon 49,28 80,25 81,28 50,31'

# P3, Installation: a green disc emblem.
out=$assets/p3_install.png png -size 92x79 xc:none \
  -fill 'rgba(0,0,0,0.2)' -draw 'circle 49,42 49,79' \
  -fill none -stroke '#1f9a46' -strokewidth 27 -draw 'circle 46,39 46,61' \
  -stroke '#7fd19a' -strokewidth 3 -draw "stroke-linecap round $(arc_lines 46 39 30 200 260)" \
  -stroke "$green" -strokewidth 2 -draw 'circle 46,39 46,75' -draw 'circle 46,39 46,48'

# P4, Exit: an open green door in its frame.
out=$assets/p4_exit.png png -size 136x94 xc:none \
  -fill 'rgba(0,0,0,0.18)' -draw 'polygon 44,90 100,90 130,93 20,93' \
  -fill '#fff6c8' -stroke '#0b5a2a' -strokewidth 4 -draw 'rectangle 46,6 100,89' \
  -stroke none -fill '#ffe680' -draw 'polygon 48,89 98,89 124,93 30,93' \
  -fill '#1f9a46' -stroke '#0b5a2a' -strokewidth 2 -draw 'polygon 46,7 16,16 16,84 46,89' \
  -stroke none -fill '#167a37' -draw 'polygon 21,22 41,16 41,44 21,48' -draw 'polygon 21,56 41,53 41,82 21,79' \
  -fill '#ffd23f' -draw 'circle 38,52 38,56'

# P5, Launch / Update: a disc with a curved arrow.
out=$assets/p5_update.png png -size 77x79 xc:none \
  -fill none -stroke '#c9ced6' -strokewidth 20 -draw 'circle 38,50 38,66' \
  -stroke '#8e96a3' -strokewidth 2 -draw 'circle 38,50 38,77' -draw 'circle 38,50 38,56' \
  -stroke '#f4fbff' -strokewidth 3 -draw "stroke-linecap round $(arc_lines 38 50 20 200 250)" \
  -stroke "$green" -strokewidth 6 -draw "stroke-linecap round $(arc_lines 38 44 32 195 333)" \
  -stroke none -fill "$green" -draw 'polygon 72.7,26.3 60.3,32.7 71,38.4'

# P6, additional materials: a framed red heading on white, in Ukrainian.
"$im" -size 1180x360 -background none -fill "$red" -font "$font" -gravity center \
  'caption:Презентаційні матеріали на CD' /tmp/nol_p6_text.png
out=$assets/p6_additional.png png -size 1336x466 xc:none \
  -fill white -stroke "$red" -strokewidth 16 -draw 'roundrectangle 12,12 1323,453 48,48' \
  -stroke '#f2b8c0' -strokewidth 4 -fill none -draw 'roundrectangle 34,34 1301,431 34,34' \
  /tmp/nol_p6_text.png -gravity center -composite
rm -f /tmp/nol_p6_text.png

# The program icon: 32 x 32, 32 bits per pixel (PNG for the toolkit, ICO for Windows).
out=$assets/icon32.png png -size 32x32 xc:none \
  -fill none -stroke '#1f9a46' -strokewidth 9 -draw 'circle 16,16 16,26' \
  -stroke "$green" -strokewidth 1 -draw 'circle 16,16 16,31' -draw 'circle 16,16 16,20' \
  -stroke none -fill "$red" -draw 'circle 25,7 25,11'
"$im" "$assets/icon32.png" -strip -define icon:auto-resize=32 "$assets/nol_cdrun.ico"

# P7, presentations window: three white bands with their logos over a collage.
out=$assets/p7_presentations.jpg jpg -size 600x400 gradient:'#2f7f9a-#1d5c46' \
  -fill 'rgba(255,255,255,0.12)' -draw 'circle 520,120 520,210' -draw 'circle 90,330 90,400' \
  -draw 'roundrectangle 300,110 420,150 20,20' -draw 'roundrectangle 380,240 560,290 25,25' \
  -fill 'rgba(255,255,255,0.2)' -draw 'circle 40,140 40,160' -draw 'circle 560,360 560,385' \
  -fill white -draw 'rectangle 0,41 584,102' -draw 'rectangle 0,167 584,227' -draw 'rectangle 0,292 584,353' \
  -fill '#2f6fb5' -draw 'roundrectangle 30,48 190,96 10,10' \
  -fill "$red" -draw 'roundrectangle 30,173 190,221 10,10' \
  -fill "$green" -draw 'roundrectangle 30,298 190,347 10,10' \
  -font "$font" -pointsize 22 -fill white -gravity northwest \
  -annotate +52+59 'Datavane' -annotate +60+184 'Огляд' -annotate +52+310 'ЛОРАНТА'

# The sample CD: background artwork, light on the right so the captions read well.
out=$cd_dir/img/cd.jpg jpg -size 887x591 xc:'#f3f9f4' \
  \( -size 591x580 gradient:'#1f9a46-#0b4f26' -rotate -90 \) -geometry +0+0 -composite \
  -fill '#e2f1e6' -draw 'rectangle 580,0 886,590' \
  -fill '#cfe8d6' -draw 'rectangle 580,0 586,590' \
  -fill 'rgba(255,255,255,0.10)' -draw 'circle 300,330 300,560' \
  -fill none -stroke 'rgba(255,255,255,0.55)' -strokewidth 70 -draw 'circle 300,330 300,450' \
  -stroke 'rgba(255,255,255,0.85)' -strokewidth 3 -draw 'circle 300,330 300,485' -draw 'circle 300,330 300,365' \
  -stroke none -fill white -font "$font" -pointsize 34 -gravity northwest \
  -annotate +40+40 'Квиллбокс «ЛОРАНТА»' \
  -font DejaVu-Sans -pointsize 18 -annotate +42+90 'ПО к «Еженедельнику ЛОРАНТА»' \
  -pointsize 14 -fill '#cfe8d6' -annotate +42+552 'Демонстрационный компакт-диск'

# The advertising picture that an update copies into the install folder.
out=$cd_dir/img/cd_2.jpg jpg -size 400x240 gradient:'#ffffff-#d7eedd' \
  -fill "$green" -stroke none -draw 'roundrectangle 10,10 389,229 16,16' \
  -fill white -draw 'roundrectangle 18,18 381,221 12,12' \
  -font "$font" -pointsize 26 -fill "$red" -gravity center -annotate +0-30 'ЛОРАНТА' \
  -font DejaVu-Sans -pointsize 16 -fill "$green" -annotate +0+20 'Еженедельник для аптек'

# Small sample documents: a one-page PDF each, and stand-ins for the others.
pdf() { # file, text
  local body="BT /F1 18 Tf 72 720 Td ($2) Tj ET"
  local o1="1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj"
  local o2="2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj"
  local o3="3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R /Resources << /Font << /F1 5 0 R >> >> >> endobj"
  local o4="4 0 obj << /Length ${#body} >> stream"$'\n'"$body"$'\n'"endstream endobj"
  local o5="5 0 obj << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> endobj"
  local head=$'%PDF-1.4\n' text offsets=() pos
  text=$head
  for o in "$o1" "$o2" "$o3" "$o4" "$o5"; do
    offsets+=("${#text}")
    text+="$o"$'\n'
  done
  pos=${#text}
  text+=$'xref\n0 6\n0000000000 65535 f \n'
  for x in "${offsets[@]}"; do text+=$(printf '%010d 00000 n ' "$x")$'\n'; done
  text+="trailer << /Size 6 /Root 1 0 R >>"$'\n'"startxref"$'\n'"$pos"$'\n'"%%EOF"$'\n'
  printf '%s' "$text" > "$1"
}
LC_ALL=C pdf "$cd_dir/pdf/loranta.pdf" 'Loranta weekly: brochure (sample)'
LC_ALL=C pdf "$cd_dir/etc/Brevlo2010.pdf" 'Market review 2010-2012 (sample)'
printf 'Sample help file of the demo CD.\n' > "$cd_dir/doc/htmlhelp.chm"
printf 'Sample slide show of the demo CD.\n' > "$cd_dir/etc/nereval.pps"
printf 'Sample video of the demo CD.\n' > "$cd_dir/etc/pk_loranta.wmv"
: > "$cd_dir/upd/.gitkeep"

echo "assets written to $assets and $cd_dir"
