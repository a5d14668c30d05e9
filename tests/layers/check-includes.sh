#!/usr/bin/env bash
# Fails when a file includes something its layer may not use. The folders of src/ stand in one
# order, bottom up: a folder includes its own headers and those of folders before it, never one
# after it, so no two folders can include each other and no cycle can form. app/ and cli/ stand
# apart: korvel-cli uses everything below but never the window. Beside the order, the core
# folders reach only QtCore, serialport/ adds QtSerialPort, and only the windows and korvel-cli
# draw with QCustomPlot.
# Usage: check-includes.sh SRC_DIR QT_INCLUDE_ROOT
set -euo pipefail
src=$1
qt=$2

# Bottom up, by rank. A folder listed here that does not exist yet is skipped.
ranks=(
    "base: text record"
    "producers: serial timing device"
    "readers: chart spectrum files settings"
    "ports and views: sim serialport chartview"
    "top: app cli"
)
apart="app cli"

core="text record settings chart spectrum files timing device serial sim"
not_core_qt="QtGui QtWidgets QtPrintSupport QtSvg QtSvgWidgets QtSerialPort QtNetwork"
widget_qt="QtGui QtWidgets QtPrintSupport QtSvg QtSvgWidgets"
plotting="chartview app cli"

declare -A position rank_of banned_qt
n=0
for r in "${ranks[@]}"; do
    for f in ${r#*:}; do
        position[$f]=$n
        rank_of[$f]=${r%%:*}
        n=$((n + 1))
    done
done
for f in $core; do banned_qt[$f]=$not_core_qt; done
banned_qt[serialport]=$widget_qt

# Which Qt module a bare <QName> or <QtModule/QName> comes from, into $module; empty when not a
# Qt header. Answers are kept: the same headers come up hundreds of times.
declare -A module_of
qt_module() {
    local name=$1 m
    if [ -z "${module_of[$name]+set}" ]; then
        module_of[$name]=""
        case $name in
            Qt*/*) module_of[$name]=${name%%/*} ;;
            *)
                if [[ $name == Qt* && -d "$qt/$name" ]]; then
                    module_of[$name]=$name
                elif [ -e "$qt/QtCore/$name" ]; then
                    module_of[$name]=QtCore
                else
                    for m in $not_core_qt; do
                        [ -e "$qt/$m/$name" ] && { module_of[$name]=$m; break; }
                    done
                fi
                ;;
        esac
    fi
    module=${module_of[$name]}
}

status=0
fail() {
    echo "$1"
    status=1
}

for dir in "$src"/*/; do
    d=$(basename "$dir")
    [ -n "${position[$d]+set}" ] || fail "$src/$d/: the folder has no place in the order of the layers"
done

include_re='include[[:space:]]*[<"]([^>"]+)[>"]'
# The first include seen of each folder by another: "from to" -> "file:line: <include>".
declare -A edge
for folder in "${!position[@]}"; do
    [ -d "$src/$folder" ] || continue
    while IFS=: read -r file line text; do
        [[ $text =~ $include_re ]] || continue
        inc=${BASH_REMATCH[1]}
        where="$file:$line: $folder/ may not include <$inc>"
        to=${inc%%/*}
        if [[ $inc == */* && -n "${position[$to]+set}" && $to != "$folder" ]]; then
            [ -n "${edge["$folder $to"]+set}" ] || edge["$folder $to"]="$file:$line: <$inc>"
            if [[ " $apart " == *" $folder "* && " $apart " == *" $to "* ]]; then
                fail "$where ($folder/ and $to/ stand apart)"
            elif ((position[$to] > position[$folder])); then
                fail "$where ($to/, ${rank_of[$to]}, comes after $folder/, ${rank_of[$folder]}, in the order)"
            fi
        fi
        if [[ $inc == qcustomplot.h && " $plotting " != *" $folder "* ]]; then
            fail "$where (QCustomPlot)"
        fi
        if [ -n "${banned_qt[$folder]:-}" ]; then
            qt_module "$inc"
            for b in ${banned_qt[$folder]}; do
                [ "$module" = "$b" ] && fail "$where (the Qt module $module)"
            done
        fi
    done < <(grep -rHnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$src/$folder" \
                 --include='*.h' --include='*.cpp' || true)
done

# Any loop among the folders, named with one include of each step. An upward include above
# already fails; this says which folders go round.
if ((${#edge[@]})); then
    # tsort names the members of the first loop it finds after "input contains a loop:".
    loop=$(printf '%s\n' "${!edge[@]}" | tsort 2>&1 >/dev/null |
               awk '/contains a loop/ { n++; next } n == 1 { sub(/^tsort: /, ""); print }' || true)
    if [ -n "$loop" ]; then
        mapfile -t members <<<"$loop"
        first=${members[0]}
        [ -n "${edge["$first ${members[1]:-$first}"]+set}" ] || \
            mapfile -t members < <(printf '%s\n' "${members[@]}" | tac)
        path=""
        for m in "${members[@]}"; do path+="$m/ -> "; done
        fail "a cycle among the folders: $path${members[0]}/"
        count=${#members[@]}
        for ((i = 0; i < count; i++)); do
            echo "  ${edge["${members[i]} ${members[(i + 1) % count]}"]}"
        done
    fi
fi

if [ $status = 0 ]; then
    order=""
    for r in "${ranks[@]}"; do order+="${order:+ | }$r"; done
    echo "layers: every include is allowed; the order, bottom up: $order"
fi
exit $status
