#!/bin/sh
# The Windows tests' world, made once under the build folder: a private Wine prefix,
# and a zh_CN.UTF-8 locale from which Wine takes the system code page (936) while the
# host side stays UTF-8.
set -e
mkdir -p "$LOCPATH"
[ -d "$LOCPATH/zh_CN.UTF-8" ] || localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" || [ -d "$LOCPATH/zh_CN.UTF-8" ]
[ -d "$WINEPREFIX" ] || wineboot -i
