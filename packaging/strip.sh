#!/bin/sh
# Strips an installed program as Debian's packaging tools do: the symbols and the compiler's
# .comment and .note sections (the build id stays). scripts/package.sh sets it as CMAKE_STRIP.
exec strip --remove-section=.comment --remove-section=.note "$@"
