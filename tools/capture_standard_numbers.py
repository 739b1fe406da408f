#!/usr/bin/python3
"""Captures python3-stdnum's verdicts on a fixed set of standard numbers.

Writes testdata/standard_numbers.tsv, one line per number: the number, 1 or 0
for validity (stdnum.isbn, stdnum.issn or stdnum.ismn by its form), its
ISBN-10 ("-" where stdnum gives none or the number is no 978 ISBN-13) and its
ISBN-13 ("-" where the number is no valid ISBN-10), both without hyphens. The
numbers are well formed: digits, hyphens where stdnum's format puts them, and
an "X" check character; half are valid, the other half have one digit or the
check character changed. The random generator is seeded, so a run gives the
same file. Run once; the output is committed.

Usage: /usr/bin/python3 tools/capture_standard_numbers.py [output-file]
       (default: testdata/standard_numbers.tsv; needs Debian's python3-stdnum)
"""

import random
import sys

import stdnum
from stdnum import isbn, ismn, issn


def isbn10_check(body):
    s = sum((10 - i) * int(c) for i, c in enumerate(body))
    return "0123456789X"[(11 - s % 11) % 11]


def ean_check(body):
    s = sum(int(c) * (1 if i % 2 == 0 else 3) for i, c in enumerate(body))
    return str((10 - s % 10) % 10)


def issn_check(body):
    s = sum((8 - i) * int(c) for i, c in enumerate(body))
    return "0123456789X"[(11 - s % 11) % 11]


def ismn_check(body):
    s = 9 + sum(int(c) * (1 if i % 2 == 0 else 3) for i, c in enumerate(body))
    return str((10 - s % 10) % 10)


def spoil(rng, number, check_alphabet):
    """The number with one digit or its check character changed."""
    chars = list(number)
    places = [i for i, c in enumerate(chars) if c.isdigit() or (i == len(chars) - 1)]
    at = rng.choice(places)
    alphabet = check_alphabet if at == len(chars) - 1 else "0123456789"
    chars[at] = rng.choice([c for c in alphabet if c != chars[at]])
    return "".join(chars)


def digits(rng, n):
    return "".join(rng.choice("0123456789") for _ in range(n))


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "testdata/standard_numbers.tsv"
    rng = random.Random(20)
    numbers = []
    for _ in range(60):
        body = digits(rng, 9)
        numbers.append(body + isbn10_check(body))
        body = "978" + digits(rng, 9)
        numbers.append(body + ean_check(body))
        body = "979" + rng.choice("123456789") + digits(rng, 8)
        numbers.append(body + ean_check(body))
        body = digits(rng, 7)
        numbers.append(body + issn_check(body))
        body = digits(rng, 8)
        numbers.append("M" + body + ismn_check(body))
    # Every tenth valid ISBN-10 ends in X for certain.
    for _ in range(12):
        while True:
            body = digits(rng, 9)
            if isbn10_check(body) == "X":
                numbers.append(body + "X")
                break
    cases = []
    for number in numbers:
        cases.append(number)
        cases.append(spoil(rng, number, "0123456789X" if len(number) in (8, 10) and number[0] != "M" else "0123456789"))
    lines = ["# number\tvalid\tISBN-10\tISBN-13 (python3-stdnum " + stdnum.__version__ + ")"]
    for number in cases:
        if number[0] == "M":
            module = ismn
        elif len(number) == 8:
            module = issn
        else:
            module = isbn
        valid = module.is_valid(number)
        shown = number
        if valid and module is not ismn and rng.random() < 0.5:
            shown = module.format(number)  # hyphenated as the agency ranges give it
        to10 = "-"
        to13 = "-"
        if valid and module is isbn and len(number) == 13 and number.startswith("978"):
            to10 = isbn.compact(isbn.to_isbn10(number))
        if valid and module is isbn and len(number) == 10:
            to13 = isbn.compact(isbn.to_isbn13(number))
        lines.append("%s\t%d\t%s\t%s" % (shown, 1 if valid else 0, to10, to13))
    with open(path, "w", encoding="ascii") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
