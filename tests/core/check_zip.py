#!/usr/bin/env python3
"""Reads an archive written by the core tests back with a standard ZIP reader.

Usage: check_zip.py ARCHIVE NAME:SIZE...
The entries must be exactly the listed ones, in order, stored uncompressed,
with matching sizes and CRC-32 values. The archive is removed afterwards, so
that a stale one never passes a later run.
"""
import os
import sys
import zipfile


def check(archive, expected):
    with zipfile.ZipFile(archive) as reader:
        broken = reader.testzip()
        if broken is not None:
            return "bad CRC or header in entry %r" % broken
        entries = reader.infolist()
        found = [(entry.filename, entry.file_size) for entry in entries]
        if found != expected:
            return "entries %r, expected %r" % (found, expected)
        for entry in entries:
            if entry.compress_type != zipfile.ZIP_STORED or entry.compress_size != entry.file_size:
                return "entry %r is not stored uncompressed" % entry.filename
            if len(reader.read(entry)) != entry.file_size:
                return "entry %r reads back with another size" % entry.filename
    return None


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    archive = argv[1]
    expected = []
    for item in argv[2:]:
        name, _, size = item.rpartition(":")
        expected.append((name, int(size)))
    if not os.path.isfile(archive):
        print("no archive at %s" % archive, file=sys.stderr)
        return 1
    try:
        problem = check(archive, expected)
    except (zipfile.BadZipFile, OSError, ValueError) as error:
        problem = "unreadable archive: %s" % error
    finally:
        os.remove(archive)
    if problem:
        print(problem, file=sys.stderr)
        return 1
    print("%s: %d entries read back" % (archive, len(expected)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
