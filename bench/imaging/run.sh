#!/usr/bin/env bash
# Picture engine benchmarks, each side by side with the tool a user would otherwise reach for,
# in the same run on the same files:
#   folder thumbnails (fit 90x75)      korvex-bench thumbs   vs vipsthumbnail, ImageMagick -thumbnail
#   full-screen load (fit 1600x1000)   korvex-bench fit      vs ImageMagick -resize
#                                      (in process)          vs QImageReader with a scaled size
#   lossless 90 degree rotation        korvex-bench rotate   vs jpegtran -rotate 90 -copy all -trim
# The test set (camera-like 12 and 24 MP JPEGs with EXIF and thumbnails) is made on the first
# run in bench/out/imaging; KORVEX_BENCH_COUNT pictures (12), KORVEX_BENCH_RUNS timings each (5),
# the median is reported. Usage: bench/imaging/run.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:?usage: run.sh BUILD_DIR}")
bin=$build/bin
here=$(dirname "$(realpath "$0")")
out=$(realpath -m "$here/../out/imaging")
count=${KORVEX_BENCH_COUNT:-12}
runs=${KORVEX_BENCH_RUNS:-5}
set_dir=$out/set-$count

magick=$(command -v magick || command -v convert-im6.q16 || command -v convert || true)
[[ $(basename "${magick:-x}") == magick ]] && magick="$magick convert"

if [[ ! -f $set_dir/.complete ]]; then
    echo "making $count test pictures in $set_dir"
    rm -rf "$set_dir"
    "$bin/korvex-testset" "$set_dir" "$count"
    touch "$set_dir/.complete"
fi
big=$set_dir/IMG_1001.jpg # 24 MP
work=$out/work
rm -rf "$work"
mkdir -p "$work"

# median wall time in milliseconds of running "$@" $runs times
median_ms() {
    local times=() start end
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'
}

rows=()
compare() { # task, ours ms, tool, tool ms, goal
    rows+=("$(printf '%-34s %8s ms  %-26s %8s ms  %6s  %s' "$1" "$2" "$3" "$4" \
        "$(awk -v a="$2" -v b="$4" 'BEGIN {printf "%.2fx", b / a}')" "$5")")
}

thumbs_korvex() { rm -rf "$work/tk"; "$bin/korvex-bench" thumbs "$set_dir" "$work/tk"; }
thumbs_vips() {
    rm -rf "$work/tv" && mkdir -p "$work/tv"
    vipsthumbnail "$set_dir"/*.jpg --size 90x75 -o "$work/tv/%s.jpg"
}
thumbs_magick() {
    rm -rf "$work/tm" && mkdir -p "$work/tm"
    for f in "$set_dir"/*.jpg; do $magick "$f" -thumbnail 90x75 "$work/tm/$(basename "$f")"; done
}
fit_korvex() { "$bin/korvex-bench" fit "$big" 1600 1000 "$work/fk.jpg"; }
fit_magick() { $magick "$big" -resize 1600x1000 "$work/fm.jpg"; }
rotate_korvex() { "$bin/korvex-bench" rotate "$big" "$work/rk.jpg" 90; }
rotate_jpegtran() { jpegtran -rotate 90 -copy all -trim "$big" >"$work/rj.jpg"; }

echo "timing ($runs runs each, median; $(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg))"
k=$(median_ms thumbs_korvex)
if command -v vipsthumbnail >/dev/null; then
    compare "thumbnails of $count pictures" "$k" vipsthumbnail "$(median_ms thumbs_vips)" ">= 1x"
fi
if [[ -n $magick ]]; then
    compare "thumbnails of $count pictures" "$k" "ImageMagick -thumbnail" "$(median_ms thumbs_magick)" ""
    compare "full-screen fit of 24 MP" "$(median_ms fit_korvex)" "ImageMagick -resize" \
        "$(median_ms fit_magick)" ">= 2x"
fi
if command -v jpegtran >/dev/null; then
    compare "lossless rotation of 24 MP" "$(median_ms rotate_korvex)" "jpegtran" \
        "$(median_ms rotate_jpegtran)" ">= 0.83x"
    cmp -s "$work/rk.jpg" "$work/rj.jpg" && same="identical" || same="DIFFERENT"
fi
printf '%-34s %11s  %-26s %11s  %6s  %s\n' task korvex tool tool "ratio" "goal (tool/korvex)"
printf '%s\n' "${rows[@]}"
[[ -n ${same:-} ]] && echo "rotated file vs jpegtran's: $same"

echo
echo "in process (Google Benchmark, one thread):"
"$bin/imaging_bench" --benchmark_filter='FullScreen|Thumbnail' --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true 2>/dev/null |
    awk '/_median/ {print; t[$1] = $2}
         END {
             q = t["BM_FullScreen_QImageReader_median"]
             k = t["BM_FullScreen_Korvex_median"]
             if (k > 0) printf "full-screen fit: QImageReader / korvex (Lanczos 3) = %.2fx\n", q / k
             k = t["BM_FullScreen_KorvexLinear_median"]
             if (k > 0) printf "full-screen fit: QImageReader / korvex (linear) = %.2fx\n", q / k
             k = t["BM_Thumbnail_Korvex_median"]; q = t["BM_Thumbnail_QImageReader_median"]
             if (k > 0) printf "thumbnail: QImageReader / korvex = %.2fx\n", q / k
         }'
