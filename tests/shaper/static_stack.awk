# The deepest stack that calls of the functions `roots` can take, from the figures of
# -fstack-usage (the .su files, read first) and the calls of a linked program's disassembly
# (avr-objdump -d): along the deepest chain of calls, each function's figure and the return
# address that calling it pushes (`return_bytes`); a function without a figure (libgcc's) counts
# its return address alone. A jump to another function is a tail call: it leaves its caller's
# frame first. Prints the bytes and the chain, or fails on a figure that is not static, a call
# through a pointer or recursion, where no bound can be read.
#
# Usage: awk -v roots="f g" -v return_bytes=2 -f static_stack.awk FILE.su... DISASSEMBLY
function fail(message) { print "static_stack: " message > "/dev/stderr"; failed = 1; exit 1 }

FILENAME ~ /\.su$/ {
    name = $1
    sub(/.*:/, "", name)
    if ($3 != "static")
        fail(name " has a stack of " $3 " size")
    frame[name] = $2
    next
}

/^[0-9a-f]+ <[^>]+>:$/ {
    current = substr($2, 2, length($2) - 3)
    next
}

# "call 0x6bc ; 0x6bc <name>": a call of `name`, or a jump to it; "<name+0x12>" is within one.
$0 ~ /\t(r?call|r?jmp)\t/ && match($0, /<[^>+]+>$/) {
    target = substr($0, RSTART + 1, RLENGTH - 2)
    if (target == current)
        next
    if ($0 ~ /call\t/)
        calls[current] = calls[current] " " target
    else
        tails[current] = tails[current] " " target
    next
}

$0 ~ /\t(e?icall|e?ijmp)/ && current in frame {
    fail(current " calls through a pointer")
}

# The deepest stack below the return address of a call of `name`; its chain in chain[name].
function depth(name,  targets, count, i, deepest, below, via) {
    if (name in known)
        return known[name]
    if (visiting[name])
        fail("recursion through " name)
    visiting[name] = 1
    deepest = frame[name] + 0
    via = ""
    count = split(calls[name], targets, " ")
    for (i = 1; i <= count; ++i)
        if ((below = frame[name] + return_bytes + depth(targets[i])) > deepest) {
            deepest = below
            via = targets[i]
        }
    count = split(tails[name], targets, " ")
    for (i = 1; i <= count; ++i)
        if ((below = depth(targets[i])) > deepest) {
            deepest = below
            via = targets[i]
        }
    visiting[name] = 0
    chain[name] = name "(" (frame[name] + 0) ")" (via == "" ? "" : " > " chain[via])
    known[name] = deepest
    return deepest
}

END {
    if (failed)
        exit 1
    count = split(roots, names, " ")
    deepest = -1
    for (i = 1; i <= count; ++i) {
        if (!(names[i] in frame))
            fail(names[i] " has no stack figure")
        if ((bytes = return_bytes + depth(names[i])) > deepest) {
            deepest = bytes
            root = names[i]
        }
    }
    print deepest, chain[root]
}
