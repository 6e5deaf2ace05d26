# Keeps an example in a man page line by line: help2man fills the indented block after a
# line ending in "Example:" into one paragraph, which runs the example's lines together.
#
#   cmake -DPAGE=FILE.1 -P ManExampleLines.cmake
file(READ ${PAGE} text)
string(REGEX REPLACE "Example:\n\\.IP\n(([^.\n][^\n]*\n)+)" "Example:\n.IP\n.nf\n\\1.fi\n" text "${text}")
file(WRITE ${PAGE} "${text}")
