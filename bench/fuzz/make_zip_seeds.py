#!/usr/bin/env python3
"""Writes the zip reader's seed archives into corpus/fuzz_zip_entry/.

The archives are laid out field by field, as eBird's downloads are, so that each seed shows one
case of the reader: stored and deflated entries, a folder in the name, the preferred name or
any .csv file, an archive comment, a damaged checksum, a packing the reader refuses, and an
archive with no entries. Run it again only to change the seeds; its output is kept with them.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus", "fuzz_zip_entry")

DOWNLOAD = (
    b"Submission ID,Common Name,Scientific Name,Taxonomic Order,Count,State/Province,County,"
    b"Location ID,Location,Latitude,Longitude,Date,Time,Protocol,Duration (Min),"
    b"All Obs Reported,Distance Traveled (km),Area Covered (ha),Number of Observers,"
    b"Breeding Code,Observation Details,Checklist Comments,ML Catalog Numbers\r\n"
    b"S1,Winter Wren,Troglodytes hiemalis,1,1,US-NY,,L1,Central Park,40.7,-73.9,"
    b"2019-05-04,07:30 AM,Traveling,60,1,1.5,,1,,,,\r\n"
)


def entry(name, data, method=8, crc=None):
    """One entry: its local header with the packed data, and its central directory record."""
    packed = data
    if method == 8:
        packer = zlib.compressobj(9, zlib.DEFLATED, -zlib.MAX_WBITS)
        packed = packer.compress(data) + packer.flush()
    crc = zlib.crc32(data) if crc is None else crc
    name = name.encode("utf-8")
    common = struct.pack("<HHHHIIIHH", 0, method, 0, 0, crc, len(packed), len(data),
                         len(name), 0)
    local = struct.pack("<IH", 0x04034B50, 20) + common + name + packed
    central = struct.pack("<IHH", 0x02014B50, 20, 20) + common
    return local, central + struct.pack("<HHHII", 0, 0, 0, 0, 0) + name


def archive(entries, comment=b""):
    body = b""
    directory = b""
    for local, central in entries:
        offset = len(body)
        # The central record ends with the offset of its local header.
        central = central[:42] + struct.pack("<I", offset) + central[46:]
        body += local
        directory += central
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries),
                      len(directory), len(body), len(comment))
    return body + directory + end + comment


SEEDS = {
    "stored.zip": archive([entry("MyEBirdData.csv", DOWNLOAD, method=0)]),
    "deflated_in_folder.zip": archive([
        entry("ebird/readme.txt", b"Your eBird data.\n"),
        entry("ebird/MyEBirdData.csv", DOWNLOAD),
    ]),
    "other_csv_name.zip": archive([entry("export/sightings.CSV", DOWNLOAD, method=0)]),
    "with_comment.zip": archive([entry("MyEBirdData.csv", DOWNLOAD)], comment=b"eBird"),
    "bad_checksum.zip": archive([entry("MyEBirdData.csv", DOWNLOAD, method=0, crc=1)]),
    "unknown_packing.zip": archive([entry("MyEBirdData.csv", DOWNLOAD, method=12)]),
    "no_entries.zip": archive([]),
    "not_an_archive.csv": DOWNLOAD,
}

os.makedirs(OUT, exist_ok=True)
for file_name, contents in SEEDS.items():
    with open(os.path.join(OUT, file_name), "wb") as seed:
        seed.write(contents)
