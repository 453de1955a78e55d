#!/usr/bin/env bash
# Installs what the build needs from Debian's packages and cross-builds
# libjpeg-turbo and libtiff for the Windows targets into .cache/deps.
# Safe to run again: every step is skipped when its result is present.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
CACHE=$ROOT/.cache
say() { printf '[setup] %s\n' "$*" >&2; }

PACKAGES=(cmake ninja-build make nasm g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev libtiff-dev libjpeg-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine64 fonts-wine xvfb imagemagick dpkg-dev python3
  netpbm giflib-tools graphicsmagick ghostscript
  icoutils libtiff-tools libjpeg-turbo-progs libvips-tools)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

SRC_LIST=/etc/apt/sources.list.d/lumacast-src.sources
need_src=0
[ -f "$CACHE/deps/x86_64/lib/libtiff.a" ] && [ -f "$CACHE/deps/i686/lib/libtiff.a" ] &&
  [ -f "$CACHE/deps/x86_64/lib/libjpeg.a" ] && [ -f "$CACHE/deps/i686/lib/libjpeg.a" ] || need_src=1

if [ $need_src = 1 ] && [ ! -f "$SRC_LIST" ] && ! grep -rqs 'deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  say "adding deb-src entries ($SRC_LIST)"
  cat > "$SRC_LIST" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  UPDATE=1
fi

if [ ${#missing[@]} -gt 0 ] || [ "${UPDATE:-0}" = 1 ]; then
  say "apt-get update"
  apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  say "installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  # wine64 wants its recommended runtime pieces
  if printf '%s\n' "${missing[@]}" | grep -qx wine64; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq wine64 >/dev/null
  fi
else
  say "all packages present"
fi

fetch_source() {  # name dir-glob
  local name=$1 glob=$2
  mkdir -p "$CACHE/src"
  if ! ls -d "$CACHE/src/"$glob >/dev/null 2>&1; then
    say "fetching Debian source of $name"
    (cd "$CACHE/src" && apt-get source -qq "$name" >/dev/null 2>&1) || {
      # the newest security version's source may be missing: take any listed one
      local v
      for v in $(apt-cache showsrc "$name" | sed -n 's/^Version: //p' | sort -Vru); do
        say "retrying $name=$v"
        (cd "$CACHE/src" && apt-get source -qq "$name=$v" >/dev/null 2>&1) && break
      done
    }
  fi
  ls -d "$CACHE/src/"$glob | head -n1
}

build_deps() {  # arch
  local arch=$1 prefix=$CACHE/deps/$1 tc=$ROOT/cmake/mingw-w64-$1.cmake
  if [ ! -f "$prefix/lib/libjpeg.a" ]; then
    local js; js=$(fetch_source libjpeg-turbo 'libjpeg-turbo-*/')
    say "cross-building libjpeg-turbo for $arch"
    rm -rf "$CACHE/build/jpeg-$arch"
    cmake -S "$js" -B "$CACHE/build/jpeg-$arch" -G Ninja -Wno-dev \
      -DCMAKE_TOOLCHAIN_FILE="$tc" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
      -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON >/dev/null
    cmake --build "$CACHE/build/jpeg-$arch" --target jpeg-static >/dev/null
    mkdir -p "$prefix/lib" "$prefix/include"
    cp "$CACHE/build/jpeg-$arch/libjpeg.a" "$prefix/lib/"
    cp "$js"/jpeglib.h "$js"/jmorecfg.h "$js"/jerror.h "$CACHE/build/jpeg-$arch/jconfig.h" "$prefix/include/"
  fi
  if [ ! -f "$prefix/lib/libtiff.a" ]; then
    local ts; ts=$(fetch_source tiff 'tiff-[0-9]*/')
    say "cross-building libtiff for $arch"
    rm -rf "$CACHE/build/tiff-$arch"
    cmake -S "$ts" -B "$CACHE/build/tiff-$arch" -G Ninja -Wno-dev \
      -DCMAKE_TOOLCHAIN_FILE="$tc" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -Dcxx=OFF \
      -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF \
      -Dzlib=OFF -Dlibdeflate=OFF -Dpixarlog=OFF -Djpeg=OFF -Dold-jpeg=OFF -Djpeg12=OFF \
      -Djbig=OFF -Dlerc=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF >/dev/null
    cmake --build "$CACHE/build/tiff-$arch" --target tiff >/dev/null
    cmake --install "$CACHE/build/tiff-$arch" --component Unspecified >/dev/null 2>&1 || true
    mkdir -p "$prefix/lib" "$prefix/include"
    cp "$CACHE/build/tiff-$arch/libtiff/libtiff.a" "$prefix/lib/" 2>/dev/null || true
    for h in tiff.h tiffio.h tiffvers.h; do cp "$ts/libtiff/$h" "$prefix/include/" 2>/dev/null || true; done
    cp "$CACHE/build/tiff-$arch/libtiff/tiffconf.h" "$prefix/include/"
  fi
  say "deps for $arch ready in ${prefix#$ROOT/}"
}

build_deps x86_64
build_deps i686
say "done"
