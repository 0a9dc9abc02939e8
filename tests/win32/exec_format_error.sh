#!/bin/sh
# Stands in for a wine loader on a machine that cannot execute its programs, such as one
# without 32-bit support: every start fails as the kernel would refuse the loader itself.
#   cmake --preset dev -DSUMBROOK_WINE_LOADER_i686=$PWD/tests/win32/exec_format_error.sh
echo "$0: Exec format error" >&2
exit 126
