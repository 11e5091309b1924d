#!/bin/sh
# Opening 500 camera pictures with a cold thumbnail cache, beside vipsthumbnail on the same files.
# Usage: bench/browse/run.sh BUILD_DIR
set -eu
BUILD=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
COUNT=${COUNT:-500}
WORK=${BENCH_WORK:-$BUILD/bench-browse}
PICS=$WORK/pictures
mkdir -p "$WORK"
if [ "$(ls "$PICS" 2>/dev/null | wc -l)" -ne "$COUNT" ]; then
    rm -rf "$PICS"
    QT_QPA_PLATFORM=offscreen "$BUILD/bin/browse_bench" make "$PICS" "$COUNT"
fi
now() { date +%s.%N; }

# The machine is shared, so each side runs twice, alternating, and the better time counts.
runvips() {
    rm -rf "$WORK/vips" && mkdir -p "$WORK/vips"
    start=$(now)
    vipsthumbnail --size 90x75 -o "$WORK/vips/%s.jpg" "$PICS"/*.JPG
    echo "$(now) - $start" | bc
}

# The program itself, started on the first picture with a cold cache, until every thumbnail is
# in the cache folder.
HOMEDIR=$WORK/home
CACHE="$HOMEDIR/cache/Corvanta/Corvanta Express/Cache"
cat > "$WORK/program.sh" <<SCRIPT
#!/bin/sh
export XDG_CONFIG_HOME="$HOMEDIR/config" XDG_DATA_HOME="$HOMEDIR/data" XDG_CACHE_HOME="$HOMEDIR/cache"
start=\$(date +%s.%N)
"$BUILD/bin/korvex" "$PICS/DSC00000.JPG" 2>/dev/null &
pid=\$!
# Polled ten times a second: looking costs CPU the decoders need.
while [ "\$(ls "$CACHE" 2>/dev/null | grep -c '^~x')" -lt $COUNT ]; do sleep 0.1; done
echo "\$(date +%s.%N) - \$start" | bc > "$WORK/program.time"
kill \$pid; wait \$pid || true
SCRIPT
chmod +x "$WORK/program.sh"
runprogram() {
    rm -rf "$HOMEDIR" && mkdir -p "$HOMEDIR/config/Corvanta"
    printf '[Values]\nShowStartUp=False\n' > "$HOMEDIR/config/Corvanta/Corvanta Express.ini"
    xvfb-run -a -s "-screen 0 1280x800x24" "$WORK/program.sh" >/dev/null 2>&1
    cat "$WORK/program.time"
}
min() { echo "if ($1 < $2) $1 else $2" | bc; }

v1=$(runvips); p1=$(runprogram); v2=$(runvips); p2=$(runprogram)
vips=$(min "$v1" "$v2")
program=$(min "$p1" "$p2")

echo "$COUNT camera pictures (4000 x 3000), $(nproc) cores"
echo "vipsthumbnail --size 90x75: $vips s (runs: $v1, $v2)"
echo "korvex, start to every thumbnail on disk: $program s (runs: $p1, $p2)"
echo "ratio: $(echo "scale=2; $program / $vips" | bc)x vipsthumbnail"
# In-process: GUI stall while the cache fills, and the warm reopen.
xvfb-run -a -s "-screen 0 1280x800x24" "$BUILD/bin/browse_bench" measure "$PICS" "$WORK/cache"
