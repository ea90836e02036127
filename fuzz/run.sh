#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer) and runs each for the given number
# of seconds, one after another, keeping each target's corpus in build-fuzz/corpus/.
#   fuzz/run.sh 600            # ten minutes each
#   fuzz/run.sh 60 ini_fuzz    # only the named targets
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(ini_fuzz picture_header_fuzz minisign_fuzz)
cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target "${targets[@]}"
for target in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$target
    mkdir -p "$corpus"
    if [ "$target" = picture_header_fuzz ] && [ -z "$(ls -A "$corpus")" ]; then
        # A few valid headers to start from: PNG, GIF, BMP, JPEG.
        printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0' >"$corpus/png"
        printf 'GIF89a\x10\0\x10\0\0\0\0\x2c\0\0\0\0\x10\0\x10\0\0' >"$corpus/gif"
        printf 'BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x10\0\0\0\x10\0\0\0\x01\0\x20\0' >"$corpus/bmp"
        printf '\xff\xd8\xff\xc0\0\x11\x08\0\x10\0\x10\x03\x01\x22\0\x02\x11\x01\x03\x11\x01' >"$corpus/jpg"
    fi
    if [ "$target" = ini_fuzz ] && [ -z "$(ls -A "$corpus")" ]; then
        printf '\xef\xbb\xbf; c\r\n[Global]\r\nSlideDirectory = "/x"\r\nFullScreen=0x1\r\n[Other]\nk=P\xf8\n' >"$corpus/cfg"
    fi
    if [ "$target" = minisign_fuzz ] && [ -z "$(ls -A "$corpus")" ]; then
        printf 'untrusted comment: minisign public key 19A0044F95F6F538\nRWQ49faVTwSgGa4abMDEbaPR11eP+Z0w6/KX+cLgYH+6kRCHxaEDTX2W\n' >"$corpus/key"
        printf 'untrusted comment: signature from minisign secret key\nRUQ49faVTwSgGS0VW5r2uMDEdRpLMCguAgGFXXJFkAsmjNb7lVfwpNG/BQmtPXZGF4fX2qMQVDDli1i1upBaiEhmiRJq6/fE/Ag=\ntrusted comment: tc here\nzppneOrTjfwMDzPv0duKEVrEiSGXsK98QE1pvPE5x/Yw+iwHoBdbQSZz8ncDrR4Vid0uZgNIXtVEvqJAqlG8AQ==\n' >"$corpus/sig"
    fi
    echo "== $target for ${seconds}s"
    "build-fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -artifact_prefix="build-fuzz/$target-" "$corpus"
done
