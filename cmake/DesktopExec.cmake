# desktop_exec_quote(OUT PATH): PATH as the program of a desktop entry's Exec line, quoted so that
# spaces and the characters the Exec syntax reserves stay part of the path. Inside quotes `"`,
# backquote, `$` and `\` take a backslash, and the entry's string escaping then doubles every
# backslash; `%` is written twice.
function(desktop_exec_quote out path)
    string(REPLACE "\\" "\\\\\\\\" quoted "${path}")
    string(REPLACE "\"" "\\\\\"" quoted "${quoted}")
    string(REPLACE "`" "\\\\`" quoted "${quoted}")
    string(REPLACE "$" "\\\\$" quoted "${quoted}")
    string(REPLACE "%" "%%" quoted "${quoted}")
    set(${out} "\"${quoted}\"" PARENT_SCOPE)
endfunction()
