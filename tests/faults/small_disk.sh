#!/bin/sh
# A small file system for the full-disk tests: "mount <folder>" puts an
# 8 MiB file system on folder (a tmpfs, else an ext2 image on a loop
# device), "unmount <folder>" takes it away again. Mounting needs root;
# where it cannot be done the folder stays an ordinary folder and the
# full-disk tests skip themselves, so neither command ever fails.
set -u
what="$1"
folder="$2"
image="$folder.img"

case "$what" in
mount)
    mkdir -p "$folder"
    if mountpoint -q "$folder"; then
        rm -rf "${folder:?}"/* 2>/dev/null
        echo "small disk: already mounted on $folder"
        exit 0
    fi
    if mount -t tmpfs -o size=8m,mode=1777 tmpfs "$folder" 2>/dev/null; then
        echo "small disk: 8 MiB tmpfs on $folder"
        exit 0
    fi
    if truncate -s 8M "$image" 2>/dev/null && mkfs.ext2 -q -F "$image" >/dev/null 2>&1 &&
        mount -o loop "$image" "$folder" 2>/dev/null; then
        chmod 1777 "$folder"
        echo "small disk: 8 MiB ext2 image on a loop device on $folder"
        exit 0
    fi
    rm -f "$image"
    echo "small disk: cannot mount a file system here (needs root); the full-disk tests will skip"
    ;;
unmount)
    if mountpoint -q "$folder"; then
        umount "$folder" || umount -l "$folder"
    fi
    rm -f "$image"
    rmdir "$folder" 2>/dev/null
    ;;
esac
exit 0
