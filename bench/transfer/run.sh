#!/bin/sh
# Sends 20 pictures of 20 MiB to the reference service on loopback with korvex-transfer, then posts
# the same files to the same server with curl -F, and prints both rates and their ratio.
# Usage: bench/transfer/run.sh BUILD_DIR
set -eu
BUILD=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
COUNT=${COUNT:-20}
SIZE_MB=${SIZE_MB:-20}
WORK=$(mktemp -d)
SERVICE_PID=
cleanup() {
    [ -n "$SERVICE_PID" ] && kill "$SERVICE_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

mkdir -p "$WORK/pictures" "$WORK/config"
i=1
while [ "$i" -le "$COUNT" ]; do
    f="$WORK/pictures/p$i.jpg"
    printf '\377\330' > "$f"
    head -c $((SIZE_MB * 1048576 - 2)) /dev/urandom >> "$f"
    i=$((i + 1))
done
BYTES=$((COUNT * SIZE_MB * 1048576))

"$BUILD/bin/korvex-service" --port 0 --store "$WORK/store" > "$WORK/service.out" &
SERVICE_PID=$!
while ! grep -q listening "$WORK/service.out" 2>/dev/null; do sleep 0.05; done
ADDR=$(sed -n 's/.*listening on //p' "$WORK/service.out")

now() { date +%s.%N; }
rate() { awk -v b="$BYTES" -v t="$1" 'BEGIN { printf "%.0f MB/s", b / t / 1e6 }'; }

# korvex-transfer: image ID, upload, result line per picture; fresh settings in a scratch home.
t0=$(now)
XDG_CONFIG_HOME="$WORK/config" "$BUILD/bin/korvex-transfer" --upload-server "$ADDR" \
    "$WORK"/pictures/*.jpg > "$WORK/transfer.out"
t1=$(now)
KT=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')

# curl: one process, one connection, the same multipart upload of every file.
set --
i=1
for f in "$WORK"/pictures/*.jpg; do
    [ "$i" -gt 1 ] && set -- "$@" --next
    set -- "$@" -s -o /dev/null -F ProtocolVersion=2.0 -F "ImageID=curl$i" \
        -F "Image.Raw.Size=$(stat -c %s "$f")" -F "Image.Data=@$f;type=application/octet-stream" \
        "http://$ADDR/UploadImage"
    i=$((i + 1))
done
t2=$(now)
curl "$@"
t3=$(now)
CT=$(awk -v a="$t2" -v b="$t3" 'BEGIN { print b - a }')

ARRIVED=$(wc -l < "$WORK/store/manifest.txt")
FAILED=$(awk -F'\t' '$2 != 0' "$WORK/transfer.out" | wc -l)
echo "transfer: $COUNT pictures of $SIZE_MB MiB over loopback"
echo "korvex-transfer: ${KT}s ($(rate "$KT")), failed pictures: $FAILED"
echo "curl -F:         ${CT}s ($(rate "$CT"))"
awk -v k="$KT" -v c="$CT" 'BEGIN { printf "ratio korvex-transfer / curl: %.2f (goal <= 1.5)\n", k / c }'
echo "pictures stored complete: $ARRIVED of $((COUNT * 2))"
[ "$FAILED" -eq 0 ] && [ "$ARRIVED" -eq $((COUNT * 2)) ]
