#!/usr/bin/env bash
# Builds, once per machine, the Windows libraries a cross-build of Quorvane links: Qt, SQLCipher,
# libsodium, libcurl, and libpq with OpenSSL. They are compiled with MinGW-w64 from Debian's own
# source packages into a cache outside the checkout. A finished cache is left alone; after a
# failure, the steps that already succeeded are not repeated.
set -euo pipefail

# Names everything the cache holds; change it whenever what is built changes.
cache_version=qt6.4.2-1

here=$(cd "$(dirname "$0")" && pwd)
cache=${QUORVANE_WINDOWS_CACHE:-$HOME/.cache/quorvane-windows}/$cache_version
deps=$cache/deps
qt=$cache/qt6
work=$cache/work
downloads=$work/downloads
tomcrypt=$work/tomcrypt-prefix
host=x86_64-w64-mingw32
cc=$host-gcc-posix
jobs=2

tool_packages=(
  mingw-w64 gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine64 wine nsis
  cmake ninja-build autoconf automake libtool patch perl tcl dpkg-dev
  qt6-base-dev qt6-base-dev-tools
)
source_packages=(qt6-base openssl sqlcipher libtomcrypt libsodium postgresql-15 curl)

if [ -e "$cache/.complete" ]; then
  echo "The Windows build cache in $cache is complete; nothing to do."
  exit 0
fi

# Heavy work runs at the lowest CPU and disk priority, so others sharing the machine keep theirs.
low() {
  nice -n 19 ionice -c3 "$@"
}

# Runs one step with its output in logs/NAME.log, once: a step that succeeded is not run again.
# The step runs in a subshell of its own so that `set -e` holds inside it and its `cd` stays there.
step() {
  local name=$1 log=$cache/logs/$1.log done=$cache/steps/$1 start=$SECONDS rc took
  shift
  if [ -e "$done" ]; then
    echo "$name: done before"
    return
  fi
  echo "$name: started at $(date +%H:%M:%S), log in $log"
  set +e
  (set -e; "$@") >"$log" 2>&1
  rc=$?
  set -e
  if [ "$rc" -ne 0 ]; then
    tail -n 40 "$log" >&2
    echo "Step $name failed (exit status $rc); its log is $log" >&2
    exit 1
  fi
  took=$((SECONDS - start))
  printf '%s: done in %dm%02ds\n' "$name" $((took / 60)) $((took % 60)) | tee -a "$cache/logs/times.txt"
  touch "$done"
}

# Unpacks a fresh copy of a downloaded source package, Debian's patches applied, and enters it,
# so a step run again after a failure starts from clean sources. dpkg-source warns that it cannot
# check the .dsc signature without debian-keyring; apt has already checked every file against the
# signed Sources index.
unpack() {
  local dsc=("$downloads/$1/$1"_*.dsc)
  rm -rf "${work:?}/$1"
  dpkg-source -x "${dsc[0]}" "$work/$1"
  cd "$work/$1"
}

install_tools() {
  local missing=() package sudo=""
  for package in "${tool_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    echo "All tools are installed."
    return
  fi
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  $sudo apt-get update
  # Waits for the package lock rather than failing while someone else installs packages.
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends \
    -o DPkg::Lock::Timeout=600 "${missing[@]}"
}

# The source packages come through an apt configuration of our own, so the machine's apt sources
# and package lists stay as they are. Its deb-src lines name the mirrors and suites this
# machine's deb lines already use.
fetch_sources() {
  local apt_dir codename file lists=() package version
  apt_dir=$(mktemp -d)
  trap "rm -rf -- '$apt_dir'" EXIT
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -e "$file" ] && lists+=("$file")
  done
  awk -v codename="$codename" -f "$here/deb-src.awk" "${lists[@]}" >"$apt_dir/sources.list"
  if [ ! -s "$apt_dir/sources.list" ]; then
    echo "No deb lines for $codename in this machine's apt sources." >&2
    return 1
  fi
  cat "$apt_dir/sources.list"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$downloads"
  local apt_options=(
    -o Dir::Etc::sourcelist="$apt_dir/sources.list" -o Dir::Etc::sourceparts=/nonexistent
    -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache")
  apt-get "${apt_options[@]}" update
  for package in "${source_packages[@]}"; do
    [ -d "$downloads/$package" ] && continue
    # Newest first: a mirror may not hold every file of the latest security release yet.
    for version in $(apt-cache "${apt_options[@]}" showsrc --only-source "$package" |
      awk '$1 == "Version:" { print $2 }' | sort -u -V -r); do
      rm -rf "$downloads/$package.part"
      mkdir "$downloads/$package.part"
      if (cd "$downloads/$package.part" && apt-get "${apt_options[@]}" source --download-only "$package=$version"); then
        mv "$downloads/$package.part" "$downloads/$package"
        break
      fi
      echo "$package $version could not be fetched whole; trying an older version."
    done
    if [ ! -d "$downloads/$package" ]; then
      echo "No version of $package could be fetched." >&2
      return 1
    fi
  done
  # Says which Debian releases of the sources the cache was built from.
  (cd "$downloads" && ls -- */*.dsc) >"$cache/sources.txt"
}

install_toolchain_file() {
  mkdir -p "$cache"
  cp "$here/mingw64.cmake" "$cache/mingw64.cmake"
}

build_openssl() {
  unpack openssl
  # The cross prefix goes in front of every tool's name, so CC names the -posix compiler.
  low ./Configure mingw64 --cross-compile-prefix="$host-" CC=gcc-posix \
    --prefix="$deps" --libdir=lib shared no-tests
  low make -j"$jobs" build_libs
  make install_dev
}

# Debian's libsodium source is the upstream git tree, which has no generated configure.
build_libsodium() {
  unpack libsodium
  low autoreconf -fi
  low ./configure --host="$host" --prefix="$deps" --disable-static CC="$cc"
  low make -j"$jobs"
  make install
}

# libtomcrypt is SQLCipher's cipher library here, linked into sqlcipher.dll and not installed.
# LTC_NO_TEST leaves out the self-test vectors, which nothing calls.
build_libtomcrypt() {
  unpack libtomcrypt
  low make -j"$jobs" -f makefile.unix CC="$cc" AR="$host-ar" RANLIB="$host-ranlib" \
    CFLAGS="-O2 -DLTC_NO_TEST" libtomcrypt.a
  mkdir -p "$tomcrypt/lib" "$tomcrypt/include"
  cp libtomcrypt.a "$tomcrypt/lib/"
  cp src/headers/*.h "$tomcrypt/include/"
}

# SQLCipher is built with the compile-time options of Debian's libsqlcipher, so the Windows and
# Linux programs read and write the same databases the same way.
build_sqlcipher() {
  local options=(-DSQLITE_HAS_CODEC -DSQLITE_SECURE_DELETE -DSQLITE_ENABLE_COLUMN_METADATA
    -DSQLITE_ENABLE_FTS3 -DSQLITE_ENABLE_RTREE=1 -DSQLITE_SOUNDEX=1 -DSQLITE_ENABLE_UNLOCK_NOTIFY
    -DSQLITE_OMIT_LOOKASIDE=1 -DSQLITE_ENABLE_UPDATE_DELETE_LIMIT=1 -DSQLITE_MAX_SCHEMA_RETRY=25)
  unpack sqlcipher
  # The bundled config.sub is older than the MinGW-w64 target names.
  cp "$(automake --print-libdir)"/config.{sub,guess} .
  # configure takes the target's executable suffix from config_TARGET_EXEEXT when cross-compiling,
  # and that suffix is what makes it build for Windows rather than Unix.
  config_TARGET_EXEEXT=.exe low ./configure --host="$host" --disable-static --disable-tcl \
    --enable-threadsafe --enable-tempstore=yes --with-crypto-lib=libtomcrypt \
    CC="$cc" BUILD_CC=gcc CFLAGS="-O2 -fno-strict-aliasing ${options[*]} -I$tomcrypt/include" \
    LDFLAGS="-L$tomcrypt/lib"
  # Some rules name the generator tools built for this machine without the .exe suffix configure
  # gives them; they run here, so they need none.
  low make -j"$jobs" BEXE= sqlite3.c sqlite3.lo
  # libtool will not put a static library into a DLL, so the DLL is linked here. Only SQLite's
  # own functions are exported, not libtomcrypt's.
  low "$cc" -shared -o sqlcipher.dll .libs/sqlite3.o -L"$tomcrypt/lib" -ltomcrypt \
    -Wl,--exclude-libs,ALL -Wl,--out-implib,libsqlcipher.dll.a
  mkdir -p "$deps/bin" "$deps/lib/pkgconfig" "$deps/include/sqlcipher"
  cp sqlcipher.dll "$deps/bin/"
  cp libsqlcipher.dll.a "$deps/lib/"
  cp sqlite3.h sqlite3ext.h "$deps/include/sqlcipher/"
  # Quorvane includes <sqlcipher/sqlite3.h>; on Debian /usr/include is searched anyway, here the
  # prefix's include folder has to be named as well.
  cat >"$deps/lib/pkgconfig/sqlcipher.pc" <<EOF
prefix=$deps
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: SQLCipher
Description: SQL database engine with encryption
Version: 3.4.1
Libs: -L\${libdir} -lsqlcipher
Cflags: -I\${includedir} -I\${includedir}/sqlcipher
EOF
}

build_libpq() {
  unpack postgresql-15
  low ./configure --host="$host" --prefix="$deps" CC="$cc" \
    --with-ssl=openssl --without-readline --without-icu --without-zlib --without-ldap --without-gssapi \
    CPPFLAGS="-I$deps/include" LDFLAGS="-L$deps/lib"
  low make -j"$jobs" -C src/interfaces/libpq
  make -C src/interfaces/libpq install
  # libpq-fe.h includes these two; the rest of src/include is the server's.
  cp src/include/postgres_ext.h src/include/pg_config_ext.h "$deps/include/"
}

# libcurl talks TLS through Windows' own Schannel, which also brings the system's certificates.
build_curl() {
  unpack curl
  low ./configure --host="$host" --prefix="$deps" --disable-static CC="$cc" \
    --with-schannel --without-openssl --with-zlib="/usr/$host" --with-winidn \
    --without-libpsl --without-brotli --without-zstd --without-nghttp2 --without-libidn2 \
    --without-libssh2 --without-librtmp --disable-ldap --disable-manual
  low make -j"$jobs" -C lib
  make -C lib install
  make -C include install
  make install-pkgconfigDATA
}

# Programs built with the -posix compilers need the compiler's runtime DLLs, and libcurl zlib's.
copy_runtime_dlls() {
  local dll path
  mkdir -p "$deps/bin"
  for dll in libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll zlib1.dll; do
    path=$("$host-g++-posix" -print-file-name="$dll")
    if [ ! -f "$path" ]; then
      echo "$dll not found by $host-g++-posix" >&2
      return 1
    fi
    cp "$path" "$deps/bin/"
  done
}

configure_qt() {
  unpack qt6-base
  patch -p1 <"$here/qt-direct2d-off.patch"
  rm -rf "$work/qt-build"
  # Qt's tools (moc, rcc, uic) run on this machine: they come from the host's Qt of the same version.
  low cmake -S . -B "$work/qt-build" -G Ninja -C "$here/qt-options.cmake" \
    -DCMAKE_TOOLCHAIN_FILE="$cache/mingw64.cmake" -DCMAKE_INSTALL_PREFIX="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake"
}

build_qt() {
  low ninja -C "$work/qt-build" -j"$jobs"
}

install_qt() {
  cmake --install "$work/qt-build"
}

# Only the installed libraries are kept; sources and build trees would take gigabytes.
remove_work() {
  rm -rf "${work:?}"
}

mkdir -p "$cache/logs" "$cache/steps"
step tools install_tools
step sources fetch_sources
step toolchain-file install_toolchain_file
step openssl build_openssl
step libsodium build_libsodium
step libtomcrypt build_libtomcrypt
step sqlcipher build_sqlcipher
step libpq build_libpq
step curl build_curl
step runtime-dlls copy_runtime_dlls
step qt-configure configure_qt
step qt-build build_qt
step qt-install install_qt
step tidy remove_work
touch "$cache/.complete"

cat <<EOF
The Windows build cache is ready in $cache.
Configure a Windows build of Quorvane with
  $qt/bin/qt-cmake -S <checkout> -B <build folder> -G Ninja -DCMAKE_BUILD_TYPE=Release
and run its programs under Wine with the DLLs of $qt/bin and $deps/bin on WINEPATH.
EOF
