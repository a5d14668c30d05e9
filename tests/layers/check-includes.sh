#!/usr/bin/env bash
# Fails when a file includes something its layer may not use: the core folders reach only QtCore
# and each other, the QSerialPort folder adds QtSerialPort, the chart widgets never include the
# window, and korvel-cli uses the core and the chart widgets but never the window.
# Usage: check-includes.sh SRC_DIR QT_INCLUDE_ROOT
set -euo pipefail
src=$1
qt=$2

core="text settings chart spectrum files timing device serial sim"
above_core="app chartview serialport cli"
not_core_qt="QtGui QtWidgets QtPrintSupport QtSvg QtSvgWidgets QtSerialPort QtNetwork"
widget_qt="QtGui QtWidgets QtPrintSupport QtSvg QtSvgWidgets"

# folder|project folders it may not include|Qt modules it may not include
rules=()
for f in $core; do rules+=("$f|$above_core|$not_core_qt"); done
rules+=("serialport|app chartview cli|$widget_qt")
rules+=("chartview|app cli|")
rules+=("cli|app|")

# Which Qt module a bare <QName> or <QtModule/QName> comes from; empty when not a Qt header.
qt_module() {
    local name=$1
    case $name in
        Qt*/*) echo "${name%%/*}"; return ;;
        Qt*) [ -d "$qt/$name" ] && { echo "$name"; return; } ;;
    esac
    [ -e "$qt/QtCore/$name" ] && { echo QtCore; return; }
    local m
    for m in $not_core_qt; do
        [ -e "$qt/$m/$name" ] && { echo "$m"; return; }
    done
    return 0
}

status=0
for rule in "${rules[@]}"; do
    IFS='|' read -r folder banned_dirs banned_qt <<<"$rule"
    [ -d "$src/$folder" ] || continue
    while IFS=: read -r file line text; do
        inc=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1/' <<<"$text")
        bad=""
        for d in $banned_dirs; do
            if [[ $inc == "$d/"* ]]; then bad="the folder $d/"; fi
        done
        if [ -z "$bad" ] && [[ $folder != chartview && $folder != cli ]] && [[ $inc == qcustomplot.h ]]; then
            bad="QCustomPlot"
        fi
        if [ -z "$bad" ] && [ -n "$banned_qt" ]; then
            m=$(qt_module "$inc")
            for b in $banned_qt; do
                [ "$m" = "$b" ] && bad="the Qt module $m"
            done
        fi
        if [ -n "$bad" ]; then
            echo "$file:$line: $folder/ may not include <$inc> ($bad)"
            status=1
        fi
    done < <(grep -rHnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$src/$folder" \
                 --include='*.h' --include='*.cpp' || true)
done
if [ $status = 0 ]; then echo "layers: every include is allowed"; fi
exit $status
