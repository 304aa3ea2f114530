#!/usr/bin/env python3
"""Reads an archive written by the core tests back with a standard ZIP reader.

Usage: check_zip.py ARCHIVE NAME:SIZE...
The entries must be exactly the listed ones, in order, stored uncompressed,
with matching sizes and CRC-32 values, each local header naming its entry as
the central directory does. The archive is then extracted, and every entry
must come out as a file at its place in the folder tree: names separate
folders with '/', so a '\\' would make a flat file named with a backslash here.
The archive is removed afterwards, so that a stale one never passes a later run.
"""
import os
import struct
import sys
import tempfile
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
            problem = check_local_name(archive, entry)
            if problem:
                return problem
        with tempfile.TemporaryDirectory() as folder:
            reader.extractall(folder)
            for name, size in expected:
                path = os.path.join(folder, *name.split("/"))
                if not os.path.isfile(path) or os.path.getsize(path) != size:
                    return "entry %r does not extract to %s" % (name, path)
            extracted = sorted(os.path.relpath(os.path.join(top, name), folder)
                               for top, _, names in os.walk(folder) for name in names)
            wanted = sorted(os.path.join(*name.split("/")) for name, _ in expected)
            if extracted != wanted:
                return "extracted %r, expected %r" % (extracted, wanted)
    return None


def check_local_name(archive, entry):
    with open(archive, "rb") as stream:
        stream.seek(entry.header_offset)
        header = stream.read(30)
        if len(header) != 30 or header[:4] != b"PK\x03\x04":
            return "no local header for entry %r" % entry.filename
        length = struct.unpack("<H", header[26:28])[0]
        name = stream.read(length).decode("cp437")
    if name != entry.filename:
        return "local header names %r, the directory %r" % (name, entry.filename)
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
