#!/usr/bin/env python3
"""Writes the page scanner's seed files into corpus/fuzz_page_scan/.

Each seed is a small life list made by SQLite with the program's tables, then damaged the way a
failing disk or a cut-off copy leaves one: sound, its first page destroyed, cut off in the middle
of a row that runs over pages, pages overwritten with bytes that mean nothing, a chain of
overflow pages that loops, and a header that claims bytes at the end of every page. Most use
pages of 512 bytes, so that a few rows fill several pages and the files stay small. The last two
are laid out byte by byte: the inputs that show the faults the scanner had. Run it again only to
change the seeds; its output is kept with them.
"""
import os
import random
import sqlite3
import struct
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus", "fuzz_page_scan")

# The life list's tables as lifelist::createSchema makes them (src/database/Schema.cpp).
BIRD_FIELDS = ["CommonName", "AlternateName", "Order", "Family", "Species", "Location", "Country",
               "Region", "Month", "Year", "Comments", "Additional", "Images"]
LOOKUPS = {"Orders": ["Order"], "Families": ["Family", "Order"], "Countries": ["Country"],
           "Regions": ["Region"]}


def quoted(name):
    return '"' + name.replace('"', '""') + '"'


def columns(fields):
    return ", ".join(quoted(field) + " TEXT" for field in fields)


SIGHTINGS = [
    ["Enter your first sighting record"] + [None] * 12,
    ["Eurasian Wren", None, "Passeriformes", "Troglodytidae", "Troglodytes troglodytes",
     "Müritz", "Germany", "Europe", "5", "2019", "singing", None, None],
    ["Common Moorhen", "Moorhen", "Gruiformes", "Rallidae", "Gallinula chloropus", "Slimbridge",
     "United Kingdom", "Europe", "11", "2020", None, "two more in 2021", "moorhen.jpg,"],
    ["Rotkehlchen", "European Robin", "Passeriformes", "Muscicapidae", "Erithacus rubecula",
     "Köln – Stadtwald", "Germany", "Europe", "1", "2017", "im Schnee ❄", None, None],
    ["Mallard", None, "Anseriformes", "Anatidae", "Anas platyrhynchos", "", "", "", "", "",
     "", "", ""],
]
# Far longer than a page of 512 bytes: the rest of the row is on overflow pages. Added last, so
# that they come after its leaf page.
LONG_SIGHTING = ["American Robin", None, "Passeriformes", "Turdidae", "Turdus migratorius",
                 "Central Park", "United States", "North America", "4", "2018",
                 "a robin on the lawn, " * 90, None, None]


def make_list(page_size, more_sightings=8):
    """The bytes of a life list with the sightings above, a few more, one deleted; and the
    numbers of the Bird List's pages by kind (internal, leaf, overflow), in the file's order."""
    handle, path = tempfile.mkstemp(suffix=".db")
    os.close(handle)
    os.remove(path)
    db = sqlite3.connect(path)
    db.execute(f"PRAGMA page_size = {page_size}")
    db.execute(f"CREATE TABLE {quoted('Bird List')} "
               f"(Number INTEGER PRIMARY KEY AUTOINCREMENT, {columns(BIRD_FIELDS)})")
    for table, fields in LOOKUPS.items():
        db.execute(f"CREATE TABLE {quoted(table)} ({columns(fields)})")
    db.execute("PRAGMA user_version = 1")
    insert = (f"INSERT INTO {quoted('Bird List')} ({', '.join(map(quoted, BIRD_FIELDS))}) "
              f"VALUES ({', '.join('?' * len(BIRD_FIELDS))})")
    for sighting in SIGHTINGS:
        db.execute(insert, sighting)
    for i in range(more_sightings):
        db.execute(insert, [f"Sighting {i}", None, "Passeriformes", "Paridae", f"Parus {i}",
                            f"Wood {i}", "France", "Europe", str(1 + i % 12), str(2000 + i),
                            "seen " * (i * 5), None, None])
    db.execute(insert, LONG_SIGHTING)
    # A deleted sighting leaves its cell's bytes on its page and its Number in the counter.
    db.execute(f"DELETE FROM {quoted('Bird List')} WHERE CommonName = 'Sighting 3'")
    db.execute(f"INSERT INTO {quoted('Orders')} VALUES ('Passeriformes'), ('Gruiformes')")
    db.execute(f"INSERT INTO {quoted('Families')} VALUES ('Turdidae', 'Passeriformes')")
    db.execute(f"INSERT INTO {quoted('Countries')} VALUES ('Germany'), ('France')")
    db.execute(f"INSERT INTO {quoted('Regions')} VALUES ('Europe')")
    db.commit()
    pages = {}
    for (number, kind) in db.execute("SELECT pageno, pagetype FROM dbstat "
                                     "WHERE name = 'Bird List' ORDER BY pageno"):
        pages.setdefault(kind, []).append(number)
    db.close()
    with open(path, "rb") as made:
        data = made.read()
    os.remove(path)
    return data, pages


def overwrite_page(data, page_size, page, rng):
    start = (page - 1) * page_size
    garbage = bytes(rng.randrange(256) for _ in range(page_size))
    return data[:start] + garbage + data[start + page_size:]


def varint(value):
    """A whole number as the file format writes it: seven bits a byte, eight in a ninth."""
    if value >> 56:
        out = [value & 0xFF]
        value >>= 8
        for _ in range(8):
            out.insert(0, 0x80 | (value & 0x7F))
            value >>= 7
        return bytes(out)
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def bird_record(name, name_type):
    """A Bird List record: Number as Null, the common name with the stated type, then Nulls."""
    types = varint(0) + varint(name_type) + varint(0) * (len(BIRD_FIELDS) - 1)
    return varint(len(types) + 1) + types + name


def paged_file(pages, page_size=512):
    data = bytearray(pages * page_size)
    data[0:16] = b"SQLite format 3\0"
    data[16:18] = struct.pack(">H", page_size)
    return data


def put_leaf(data, page, cells, pointers=1, page_size=512):
    """Makes the page a table leaf with the cells, each named `pointers` times."""
    start = (page - 1) * page_size
    header = start + (100 if page == 1 else 0)
    data[header] = 0x0D
    data[header + 3:header + 5] = struct.pack(">H", len(cells) * pointers)
    end = start + page_size
    for i, cell in enumerate(cells):
        end -= len(cell)
        data[end:end + len(cell)] = cell
        for p in range(pointers):
            at = header + 8 + 2 * (i * pointers + p)
            data[at:at + 2] = struct.pack(">H", end - start)


def hostile_seeds():
    """Inputs that show the faults the scanner had, kept so that every run tries them again."""
    wren = bird_record(b"Wren", 13 + 2 * 4)
    # A text whose stated length (near 2^63) runs past its record and past any sum.
    robin = bird_record(b"Robin", (1 << 64) - 1)
    data = paged_file(1)
    put_leaf(data, 1, [varint(len(wren)) + varint(1) + wren,
                       varint(len(robin)) + varint(2) + robin])
    seeds = {"text_length_past_any_sum.db": bytes(data)}

    # Half the pages name one cell from all their pointers; its payload goes on over the other
    # half, whose chain of overflow pages loops. Each cell took the whole chain again.
    pages = 64
    least = (512 - 12) * 32 // 255 - 23  # what a page keeps of a long payload
    size = least + 508 * (1 << 20) + 450
    data = paged_file(pages)
    put_leaf(data, 1, [varint(len(wren)) + varint(1) + wren])
    for page in range(2, pages // 2 + 1):
        cell = varint(size) + varint(page) + b"x" * least + struct.pack(">I", pages // 2 + 1)
        put_leaf(data, page, [cell], pointers=200)
    for page in range(pages // 2 + 1, pages + 1):
        following = page + 1 if page < pages else pages // 2 + 1
        data[(page - 1) * 512:(page - 1) * 512 + 4] = struct.pack(">I", following)
    seeds["cells_sharing_one_chain.db"] = bytes(data)
    return seeds


def main():
    rng = random.Random(1)
    small, pages = make_list(512)
    seeds = {"sound_512.db": small}

    # Page 1, with the header and the list of tables, destroyed: the scanner takes pages of
    # 4096 bytes, so this one has them.
    large, _ = make_list(4096, more_sightings=3)
    seeds["first_page_destroyed_4096.db"] = overwrite_page(large, 4096, 1, rng)

    # Cut off on the second of the long row's overflow pages.
    overflow = pages["overflow"]
    seeds["cut_in_overflow_512.db"] = small[:(overflow[1] - 1) * 512 + 300]

    # The interior page above the sightings overwritten, and their first leaf page with bytes
    # that still say it is one.
    damaged = overwrite_page(small, 512, pages["internal"][0], rng)
    leaf = (pages["leaf"][0] - 1) * 512
    damaged = overwrite_page(damaged, 512, pages["leaf"][0], rng)
    seeds["garbage_pages_512.db"] = damaged[:leaf] + b"\x0d" + damaged[leaf + 1:]

    # The long row's second overflow page names its first as the next.
    second = (overflow[1] - 1) * 512
    seeds["overflow_loop_512.db"] = (small[:second] + struct.pack(">I", overflow[0]) +
                                     small[second + 4:])

    # A header that says the last 16 bytes of every page are reserved.
    seeds["reserved_bytes_512.db"] = small[:20] + bytes([16]) + small[21:]
    seeds.update(hostile_seeds())

    os.makedirs(OUT, exist_ok=True)
    for file_name, contents in seeds.items():
        with open(os.path.join(OUT, file_name), "wb") as seed:
            seed.write(contents)


main()
