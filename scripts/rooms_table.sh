# The README's table of folders as data, for the scripts that check the rooms. Sourced.

# Fills the associative array `allowed`: for each room of src/, " ROOM ... MODULE ... " that its
# "May include" column names.
read_rooms_table() {
    local readme=$1 folder may room
    declare -gA allowed=()
    while IFS='|' read -r _ folder _ may _; do
        room=$(sed -nE 's/^ *`src\/([a-z_0-9]+)\/` *$/\1/p' <<<"$folder")
        [ -n "$room" ] && allowed[$room]=" $(tr -d ' ' <<<"$may" | tr ',' ' ') "
    done < <(sed -n '/^## Layout/,$p' "$readme" | grep '^| `src/')
    [ ${#allowed[@]} -gt 0 ] || { echo "no rooms in the table of $readme" >&2; return 1; }
}

# Prints the rooms that include ROOM directly or through other rooms, after read_rooms_table.
rooms_above() {
    local found=" $1 " grew=1 room below
    while [ $grew = 1 ]; do
        grew=0
        for room in "${!allowed[@]}"; do
            [[ $found == *" $room "* ]] && continue
            for below in $found; do
                if [[ ${allowed[$room]} == *" $below "* ]]; then
                    found+="$room "
                    grew=1
                    break
                fi
            done
        done
    done
    found=${found# "$1" }
    echo "${found% }"
}
