#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks what it holds. Run as root with CI set,
# it also installs the package, starts the installed program and removes the package again.
#   PackageTest.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack did not make the package"; }
debs=("$work"/quillmere_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package, found: ${debs[*]}"
deb=${debs[0]}

dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents"
for path in ./usr/bin/quillmere \
            ./usr/share/quillmere/TipHelp.Txt ./usr/share/quillmere/Help/Index.Htm \
            ./usr/share/quillmere/Bmps/BulbOn.Bmp \
            ./usr/share/applications/quillmere.desktop \
            ./usr/share/metainfo/org.quillmere.Quillmere.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/quillmere.svg \
            ./usr/share/icons/hicolor/{16x16,32x32,48x48,128x128,256x256}/apps/quillmere.png; do
  grep -qxF "$path" "$work/contents" || fail "the package lacks $path"
done

[ "$(dpkg-deb -f "$deb" Package)" = quillmere ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6webenginewidgets6 libqt6webenginecore6-bin qt6-qpa-plugins libqt6widgets6 \
              libqt6network6 libc6; do
  [[ ",$depends," =~ [,\ ]$needed[,\ ] ]] || fail "Depends lacks $needed: $depends"
done

# What the desktop reads, checked as packaged.
dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/quillmere.desktop" ||
  fail "desktop-file-validate"
grep -qx 'Exec=quillmere %U' "$work/root/usr/share/applications/quillmere.desktop" ||
  fail "the .desktop file does not pass addresses on"
for type in x-scheme-handler/http x-scheme-handler/https text/html; do
  grep -q "^MimeType=.*$type;" "$work/root/usr/share/applications/quillmere.desktop" ||
    fail "the .desktop file does not offer $type"
done
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.quillmere.Quillmere.metainfo.xml" ||
  fail "appstreamcli validate"

if [ "$(id -u)" -eq 0 ] && [ -n "${CI:-}" ]; then
  if dpkg-query -W -f='${Status}' quillmere 2>/dev/null | grep -q "install ok installed"; then
    fail "a quillmere package is installed already; not replacing it"
  fi
  trap 'dpkg -r quillmere >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
  dpkg -i "$deb" || fail "dpkg -i"
  out=$(env -u DISPLAY HOME="$work/home" /usr/bin/quillmere --version) || fail "installed --version"
  [ "$out" = "Quillmere $(dpkg-deb -f "$deb" Version)" ] || fail "installed --version said: $out"
  # Started for real, it keeps its files in the user's data folder, seeded with the help.
  mkdir -p "$work/home"
  HOME="$work/home" QTWEBENGINE_DISABLE_SANDBOX=1 \
    QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox" xvfb-run -a sh -c '
      /usr/bin/quillmere >/dev/null 2>&1 & pid=$!
      folder="$HOME/.local/share/quillmere"
      for _ in $(seq 600); do
        [ -f "$folder/Options.INI" ] && [ -f "$folder/Help/Index.Htm" ] && break
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
      done
      kill -TERM $pid 2>/dev/null; wait $pid' || fail "the installed program did not run and end"
  [ -f "$work/home/.local/share/quillmere/Options.INI" ] ||
    fail "the installed program kept no files in ~/.local/share/quillmere"
  [ ! -e /usr/bin/Options.INI ] || fail "the installed program wrote into /usr/bin"
  dpkg -r quillmere || fail "dpkg -r"
  [ ! -e /usr/bin/quillmere ] || fail "dpkg -r left /usr/bin/quillmere"
  echo "installed, started and removed the package"
else
  echo "not installing: that needs root and CI set"
fi
echo "package checked: $deb"
