#!/usr/bin/env bash
# Draws the artwork of the three windows into assets/pictures/. Needs ImageMagick (convert), the
# Noto Sans CJK fonts (Debian: fonts-noto-cjk) and python3 (to put the icon file together).
# The drawn files are kept in the repository; run this only to change them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out="$here/pictures"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

bold="Noto-Sans-CJK-SC-Bold"
regular="Noto-Sans-CJK-SC"

# A picture button face: solid colour with centred white text, 24 bits per pixel.
text_button() { # file width height colour pointsize text
  convert -size "$2x$3" "xc:$4" -font "$bold" -pointsize "$5" -fill white -gravity center \
    -annotate +0+0 "$6" -type TrueColor "BMP3:$out/$1"
}

# The load-applications button: orange, and lighter under the pointer.
text_button load_apps_normal.bmp 211 82 '#FF7F00' 30 '加载应用'
text_button load_apps_hover.bmp 211 82 '#FFA445' 30 '加载应用'

# Back to the home page on the catalogue page: blue, and lighter under the pointer.
text_button home_normal.bmp 84 31 '#1E88E5' 14 '返回首页'
text_button home_hover.bmp 84 31 '#5AAEF0' 14 '返回首页'

# Minimise sign: a white bar on light blue.
minimise_button() { # file colour
  convert -size 44x43 "xc:$2" -fill white -draw 'rectangle 14,21 29,23' -type TrueColor \
    "BMP3:$out/$1"
}
minimise_button minimise_normal.bmp '#11B8FF'
minimise_button minimise_hover.bmp '#5CCFFF'

# Close sign: a white X on light blue.
close_button() { # file colour
  convert -size 45x43 "xc:$2" -stroke white -strokewidth 3 \
    -draw 'line 15,14 29,28' -draw 'line 29,14 15,28' -type TrueColor "BMP3:$out/$1"
}
close_button close_normal.bmp '#11B8FF'
close_button close_hover.bmp '#5CCFFF'

# The note beside the right-hand column: a cartoon mascot and a word that the platform is in its
# test phase, 289 x 100.
convert -size 289x100 xc:'#FFF8EC' \
  -fill '#FFB300' -stroke '#C77800' -strokewidth 2 -draw 'ellipse 48,84 26,16 180,360' \
  -fill '#FFD54F' -draw 'circle 48,46 48,14' \
  -fill '#FFD54F' -draw 'circle 24,22 24,13' -draw 'circle 72,22 72,13' \
  -stroke none -fill '#3E2723' -draw 'circle 37,42 37,47' -draw 'circle 59,42 59,47' \
  -fill white -draw 'circle 38,40 38,42' -draw 'circle 60,40 60,42' \
  -fill '#FF8A80' -draw 'ellipse 29,55 5,3 0,360' -draw 'ellipse 67,55 5,3 0,360' \
  -fill none -stroke '#3E2723' -strokewidth 2 -draw 'arc 40,50 56,62 20,160' \
  -stroke none -fill '#FF7F00' -font "$bold" -pointsize 22 -annotate +104+42 '平台测试阶段' \
  -fill '#606060' -font "$regular" -pointsize 13 -annotate +106+66 '功能正在完善中' \
  -annotate +106+86 '欢迎试用，提出宝贵意见' \
  -quality 90 "$out/test_phase_note.jpg"

# The program's icon: a rounded blue square with a white K, drawn at each size.
for s in 48 32 24 16; do
  r=$((s / 5))
  convert -size "${s}x${s}" xc:none -fill '#11B8FF' \
    -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $r,$r" \
    -fill white -font "$bold" -pointsize $((s * 3 / 4)) -gravity center -annotate +0+0 K \
    -depth 8 "rgba:$work/icon$s.rgba"
  # The 8-bit image's colours: the same drawing on white, reduced to a palette.
  convert -size "${s}x${s}" -depth 8 "rgba:$work/icon$s.rgba" -background white -alpha remove \
    -colors 255 -depth 8 "rgb:$work/icon$s.rgb"
done
python3 "$here/make_icon.py" "$work" "$out/platform.ico" 48 32 24 16

# Design-time pictures of the installed-application list (the first refresh replaces them).
for n in 1 2 3; do
  convert -size 155x140 xc:'#808080' -fill '#FFFFFF' -draw 'roundrectangle 8,6 146,133 12,12' \
    -fill '#11B8FF' -draw 'roundrectangle 45,18 109,82 10,10' \
    -fill white -font "$bold" -pointsize 36 -gravity north -annotate +0+24 "$n" \
    -fill '#606060' -font "$regular" -pointsize 16 -annotate +0+96 "示例应用$n" \
    "$out/sample_tile$n.gif"
done
echo "drawn into $out"
