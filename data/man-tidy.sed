# SPDX-License-Identifier: GPL-3.0-or-later
# Tidies the manual page help2man makes of tovix-tool's Japanese --help (run
# with sed -E in a UTF-8 locale): drops the line naming this machine's program
# directory, gives the subcommands and the options sections of their own, sets
# the text ragged-right and lets troff break lines between two Japanese
# characters (it finds no blanks there), so that the page reads without
# warnings.
/^今のプログラムのディレクトリ/d
/^\.TH/a .ad l
0,/^\.IP$/s/^\.IP$/.SH COMMANDS\n.IP/
s/^\.SS "オプション:"$/.SH OPTIONS/
/^\.|^$/!s/([^ -~])([^ -~])/\1\\:\2/g
/^\.|^$/!s/([^ -~])([^ -~])/\1\\:\2/g
