#!/bin/sh
# Installs the build into a temporary prefix and checks that everything lands
# where the desktop and the game look for it, and that the installed map
# checker passes the installed maps.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
for f in bin/quorvane bin/quorvane-informes bin/quorvane-mapa bin/quorvane-editor \
         share/applications/org.quorvane.Quorvane.desktop \
         share/applications/org.quorvane.Quorvane.Editor.desktop \
         share/metainfo/org.quorvane.Quorvane.metainfo.xml \
         share/icons/hicolor/scalable/apps/org.quorvane.Quorvane.svg \
         share/quorvane/Data/Font2.bmp share/quorvane/Sonidos/Pasos.wav \
         share/quorvane/alsoft.conf share/quorvane/nivel1.quorvane; do
  [ -e "$prefix/$f" ] || { echo "missing after install: $f" >&2; exit 1; }
done
# Nothing a player wrote in the build's game folder is installed.
if [ -e "$prefix/share/quorvane/bd" ] || [ -e "$prefix/share/quorvane/UltimoJuego.txt" ]; then
  echo "player files were installed" >&2; exit 1
fi
"$prefix/bin/quorvane-mapa" "$prefix"/share/quorvane/*.quorvane > /dev/null
