#!/bin/sh
# Installs the build tools from Debian's packages when a machine lacks them.
# With "lint", the formatter that "make lint" runs as well; with "engine",
# only what the engine alone needs (no GoogleTest).
missing=""
command -v cmake >/dev/null 2>&1 || missing="$missing cmake"
command -v g++ >/dev/null 2>&1 || missing="$missing g++"
command -v make >/dev/null 2>&1 || missing="$missing make"
[ "$1" = engine ] || [ -f /usr/lib/x86_64-linux-gnu/cmake/GTest/GTestConfig.cmake ] || \
  [ -f /usr/lib/cmake/GTest/GTestConfig.cmake ] || missing="$missing libgtest-dev"
if [ "$1" = lint ]; then
  command -v clang-format >/dev/null 2>&1 || missing="$missing clang-format"
fi
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -qq && $SUDO apt-get install -y -qq $missing
