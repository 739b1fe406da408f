"""Character names of Debian's `unicode-data`, for the table generators in tools/."""

UCD = "/usr/share/unicode/UnicodeData.txt"


def names():
    """Every code point of UnicodeData.txt with its character name."""
    table = {}
    with open(UCD, encoding="ascii") as f:
        for line in f:
            fields = line.split(";")
            table[int(fields[0], 16)] = fields[1]
    return table
