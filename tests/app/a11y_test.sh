#!/bin/sh
# Runs the screen-reader test in a D-Bus session of its own, with the
# accessibility bus a screen reader would use: a11y_test.sh <listener> <game>.
# Qt's accessibility bridge is switched on, as on a desktop where Orca runs.
set -eu
export QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
exec dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  status=0
  /usr/bin/python3 "$@" || status=$?
  kill "$launcher" 2>/dev/null || true
  exit "$status"' a11y_test "$@"
