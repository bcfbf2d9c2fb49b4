#!/usr/bin/env python3
"""Writes a zip whose bytes depend on the entries' contents only: the entries in the order given,
each dated MTIME (seconds since 1970, read as UTC), plain files (0644), no extra fields (no access
or change times, which differ from build to build).

    write_zip.py ZIP MTIME FOLDER ENTRY...     (ENTRY: a path below FOLDER, '/'-separated)
"""
import sys
import time
import zipfile

FILE_MODE = 0o100644  # a regular file, rw-r--r--
# DOS time stamps start in 1980; an earlier commit time (e.g. no commit at all: 0) is clamped to it.
DOS_EPOCH = (1980, 1, 1, 0, 0, 0)


def main():
    zip_path, mtime, folder, entries = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4:]
    stamp = max(time.gmtime(mtime)[:6], DOS_EPOCH)
    with zipfile.ZipFile(zip_path, "w") as archive:
        for entry in entries:
            info = zipfile.ZipInfo(entry, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = FILE_MODE << 16
            info.create_system = 3  # Unix, so the mode above means what it says
            with open(f"{folder}/{entry}", "rb") as file:
                archive.writestr(info, file.read(), compresslevel=9)


if __name__ == "__main__":
    main()
