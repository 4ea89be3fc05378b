#!/usr/bin/env bash
# Checks every include under SRC against the README's table of folders: a room includes only
# the rooms and Qt modules its "May include" column names. Usage: room_boundaries.sh README SRC QT
# (QT: the folder holding QtCore/, QtGui/, QtWidgets/). Names every include it refuses.
set -euo pipefail
readme=$1 src=$2 qt=$3

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/rooms_table.sh"
read_rooms_table "$readme"

refused=0
refuse() { echo "$1"; refused=$((refused + 1)); }
while IFS= read -r file; do
    relative=${file#"$src"/}
    room=${relative%%/*}
    if [ "$room" = "$relative" ]; then
        continue  # src/CMakeLists.txt and the like belong to no room
    fi
    if [ -z "${allowed[$room]+set}" ]; then
        refuse "$relative: the room $room is not in the table"
        continue
    fi
    while IFS= read -r line; do
        number=${line%%:*} include=${line#*:}
        if [[ $include =~ ^#include\ \"([^\"]*)\" ]]; then
            target=${BASH_REMATCH[1]}
            if [[ $target != */* ]]; then
                refuse "$relative:$number: \"$target\" names no room"
                continue
            fi
            other=${target%%/*}
            if [ -z "${allowed[$other]+set}" ]; then
                refuse "$relative:$number: \"$target\" is of no room"
            elif [ "$other" != "$room" ] && [[ ${allowed[$room]} != *" $other "* ]]; then
                refuse "$relative:$number: $room may not include $other (\"$target\")"
            fi
        elif [[ $include =~ ^#include\ \<(Q[A-Za-z0-9]+)\> ]]; then
            header=${BASH_REMATCH[1]} module=
            for candidate in QtCore QtGui QtWidgets; do
                [ -e "$qt/$candidate/$header" ] && { module=$candidate; break; }
            done
            if [ -n "$module" ] && [[ ${allowed[$room]} != *" $module "* ]]; then
                refuse "$relative:$number: $room may not use $module (<$header>)"
            fi
        fi
    done < <(grep -nE '^#include ' "$file" || true)
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' \) | sort)

if [ $refused -gt 0 ]; then
    echo "$refused includes cross the rooms' boundaries"
    exit 1
fi
echo "every include under $src keeps to the rooms' boundaries"
