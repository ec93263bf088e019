#!/bin/bash
# Regenerates Orbivane's pictures and sound into this folder. Everything here is
# drawn or synthesised from scratch, so the files can be remade at any time with
# the Debian packages imagemagick, sox, lame and fonts-dejavu-core.
#
#   ./make-media.sh
#
# Outputs are repeatable: PNGs carry no timestamps and every sox call runs with
# -R (fixed noise and dither seeds), so a re-run gives byte-identical files.
# The MP3 is encoded by lame, which writes the LAME/Info header: with it a
# decoder drops the encoder's delay and padding, and the sound starts at once.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Call Debian's ImageMagick by its full path: something else named "convert"
# may come earlier on PATH.
IM=/usr/bin/convert
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

"$IM" -version 2>/dev/null | grep -q ImageMagick ||
    { echo "make-media.sh: $IM is not ImageMagick; apt-get install imagemagick" >&2; exit 1; }
command -v sox >/dev/null ||
    { echo "make-media.sh: sox missing; apt-get install sox" >&2; exit 1; }
command -v lame >/dev/null ||
    { echo "make-media.sh: lame missing; apt-get install lame" >&2; exit 1; }
[ -r "$FONT" ] ||
    { echo "make-media.sh: $FONT missing; apt-get install fonts-dejavu-core" >&2; exit 1; }

# PNG writing options shared by all pictures: no date/time chunks (they would
# change on every run) and no colour-profile chunks, but keep the tEXt chunk
# that holds "Description" -- the app reads it as the accessible name. Each
# picture is written as PNG32: (8-bit RGBA).
png_opts=(-strip -define "png:exclude-chunks=date,time" -define png:include-chunk=tEXt)

# Multiply a 1x coordinate by the scale factor, so the @2x files are drawn at
# twice the size instead of being upscaled.
S=1
s() { awk -v v="$1" -v k="$S" 'BEGIN { printf "%g", v * k }'; }

# The fortune ball, 162x144 at 1x, sphere 140 across, centred. Layers, back to
# front: a near-black body lit from the upper left; a dark-blue reflected rim
# along the lower right (a crescent faded towards the light by a diagonal
# ramp); the recessed blue window with an inner shadow at its top and a light
# steel ring; a broad soft sheen and a sharper specular spot. Last, the disc is
# cut out of a transparent canvas.
draw_ball() {
    S=$1
    local out=$2
    local W H CX CY WY disc window
    W=$(s 162); H=$(s 144); CX=$(s 81); CY=$(s 72); WY=$(s 75)
    disc="circle $CX,$CY $CX,$(s 2)"
    window="circle $CX,$WY $CX,$(s 53)"
    # Settings such as -stroke outlive the ( ) they are given in, hence the +stroke.
    "$IM" -size "${W}x${H}" \
        \( -define gradient:center="$(s 56),$(s 42)" -define gradient:radii="$(s 112),$(s 112)" \
           radial-gradient:'#272b35-#020203' \) \
        \( xc:white -fill black -draw "circle $(s 74),$(s 63) $(s 74),$(s -5)" -blur 0x"$(s 5)" \
           \( xc: -sparse-color barycentric "$(s 50),$(s 40) black $(s 120),$(s 115) white" \) \
           -compose multiply -composite \
           -evaluate multiply 0.8 -background '#2a4c9c' -alpha shape \) -compose over -composite \
        \( -define gradient:center="$CX,$(s 88)" -define gradient:radii="$(s 30),$(s 30)" \
           radial-gradient:'#2b4690-#0b1330' \
           \( xc:black -fill white -draw "$window" \) -alpha off -compose copyopacity -composite \) \
        -compose over -composite \
        \( xc:black -fill white -draw "$window" -fill black -draw "circle $CX,$(s 80) $CX,$(s 56)" \
           -blur 0x"$(s 2)" \( xc:black -fill white -draw "$window" \) -compose multiply -composite \
           -evaluate multiply 0.8 -background black -alpha shape \) -compose over -composite \
        \( xc:none -fill none -stroke '#8792ab' -strokewidth "$(s 2)" \
           -draw "circle $CX,$WY $CX,$(s 51)" +stroke \) -compose over -composite \
        \( xc:black -fill white -draw "translate $(s 58),$(s 42) rotate -35 ellipse 0,0 $(s 34),$(s 20) 0,360" \
           -blur 0x"$(s 10)" -evaluate multiply 0.35 -background white -alpha shape \) -compose over -composite \
        \( xc:black -fill white -draw "translate $(s 55),$(s 38) rotate -35 ellipse 0,0 $(s 17),$(s 8) 0,360" \
           -blur 0x"$(s 2.5)" -evaluate multiply 0.9 -background white -alpha shape \) -compose over -composite \
        \( xc:black -fill white -draw "$disc" \) -alpha off -compose copyopacity -composite \
        "${png_opts[@]}" -set Description "Fortune ball" "PNG32:$out"
}

# The maker's logo, 280x167 at 1x: a ring with a teal dot set into a gap at its
# upper right, the name in DejaVu Sans Bold below, and a short teal bar under
# the name. Dark slate ink so it reads on a white window; transparent elsewhere.
draw_logo() {
    S=$1
    local out=$2
    local W H ink='#1e2636' accent='#1f7a8c'
    W=$(s 280); H=$(s 167)
    "$IM" -size "${W}x${H}" xc:none \
        -fill none -stroke "$ink" -strokewidth "$(s 6)" \
        -draw "circle $(s 140),$(s 48) $(s 140),$(s 22)" +stroke \
        \( -size "${W}x${H}" xc:none -fill black -draw "circle $(s 158.4),$(s 29.6) $(s 158.4),$(s 13.6)" \) \
        -compose dstout -composite -compose over \
        -fill "$accent" -draw "circle $(s 158.4),$(s 29.6) $(s 158.4),$(s 19.1)" \
        -fill "$ink" -font "$FONT" -pointsize "$(s 44)" -kerning "$(s -0.5)" \
        -gravity north -annotate +0+"$(s 84)" 'Tarnwick' -gravity northwest \
        -fill "$accent" -draw "roundrectangle $(s 112),$(s 142) $(s 168),$(s 147) $(s 2.5),$(s 2.5)" \
        "${png_opts[@]}" -set Description "Tarnwick logo" "PNG32:$out"
}

# Three numbers from RANDOM into r1 r2 r3 (the caller's locals).
roll() { r1=$RANDOM; r2=$RANDOM; r3=$RANDOM; }

# About one second of sand shaken in a box: four strokes a quarter second
# apart, each a burst of band-passed white noise with an 8 ms attack and a fast
# logarithmic decay (strokes alternate brighter/darker, as the sand hits one end
# then the other), plus a track of 1.5 ms grain clicks, dense and loud just after
# each stroke and sparse and quiet in between, for the crackle of single grains.
# The mix is high-passed, normalised to -2.8 dBFS (about -3 dBFS after MP3
# encoding) and written as 128 kbit/s mono MP3.
make_sound() {
    local out=$1
    tmp=$(mktemp -d)  # global: the EXIT trap runs after this function has returned
    trap 'rm -rf "$tmp"' EXIT

    # Random numbers come from bash's RANDOM with a fixed seed, read in this
    # shell: inside $( ) bash would reseed it and the output would change per run.
    RANDOM=4177
    local r1 r2 r3

    # sox -R starts every process's noise from the same seed, so each burst
    # and grain skips a random stretch of noise to get its own waveform.
    local strokes=(
        "0.000 0.24 600-9500 0"
        "0.250 0.24 450-7500 -2.5"
        "0.500 0.24 600-9500 -1"
        "0.750 0.26 450-7500 -3.5"
    )
    local parts=() i=0 start len band lvl skip fadeout
    for st in "${strokes[@]}"; do
        read -r start len band lvl <<<"$st"
        roll
        skip=$(awk -v r="$r1" 'BEGIN { printf "%.4f", 0.5 * r / 32767 }')
        fadeout=$(awk -v l="$len" 'BEGIN { print l - 0.01 }')
        sox -R -n -r 44100 -c 1 -b 16 "$tmp/burst$i.wav" \
            synth "$(awk -v l="$len" -v s="$skip" 'BEGIN { print l + s }')" whitenoise trim "$skip" \
            gain -10 sinc "$band" treble +6 4000 fade l 0.008 "$len" "$fadeout" gain "$lvl" pad "$start"
        parts+=("$tmp/burst$i.wav")
        i=$((i + 1))
    done

    # Grains: each one is a click followed by a random gap. Within 90 ms of a
    # stroke the gaps are short and the level high; the level falls about
    # 1 dB per 10 ms after the stroke, with up to 12 dB of random spread.
    local grains=() n=0 t=0 gap
    while awk -v t="$t" 'BEGIN { exit !(t < 1.0) }'; do
        roll
        read -r gap lvl skip < <(awk -v t="$t" -v a="$r1" -v b="$r2" -v c="$r3" 'BEGIN {
            p = t - int(t / 0.25) * 0.25
            d = (p < 0.09) ? 0.002 : 0.009
            printf "%.4f %.1f %.4f\n", d * (0.3 + 1.4 * a / 32767), -4 - p * 100 - 12 * b / 32767, 0.2 * c / 32767 }')
        sox -R -n -r 44100 -c 1 -b 16 "$tmp/grain$n.wav" \
            synth "$(awk -v s="$skip" 'BEGIN { print s + 0.0015 }')" whitenoise trim "$skip" \
            gain -6 fade 0 0.0015 0.0012 sinc 2500-12000 gain "$lvl" pad 0 "$gap"
        grains+=("$tmp/grain$n.wav")
        n=$((n + 1))
        t=$(awk -v t="$t" -v d="$gap" 'BEGIN { printf "%.4f", t + d + 0.0015 }')
    done
    sox -R "${grains[@]}" "$tmp/grains.wav"

    sox -R -m "${parts[@]}" "$tmp/grains.wav" "$tmp/mix.wav" trim 0 1.0 highpass 120 gain -n -2.8
    lame --quiet --cbr -b 128 -m m "$tmp/mix.wav" "$out"
}

draw_ball 1 "$here/ballsmall1.png"
draw_ball 2 "$here/ballsmall1@2x.png"
draw_logo 1 "$here/TarnwickUpdatedLogosmall.png"
draw_logo 2 "$here/TarnwickUpdatedLogosmall@2x.png"
make_sound "$here/sandshake.mp3"
