#!/bin/sh
# Installs the Debian 12 packages that building and testing Clipstamp need, and the German
# locale that some tests run in.
set -eu
packages="build-essential cmake libgtest-dev locales qt6-base-dev fonts-dejavu-core tzdata
  desktop-file-utils man-db dpkg-dev file lintian"
if [ "$(id -u)" -eq 0 ]; then as_root=""; else as_root="sudo"; fi
$as_root apt-get update
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $packages
# A locale with non-English names, so that the tests showing that captions stay English run.
$as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
