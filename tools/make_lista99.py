#!/usr/bin/env python3
"""Writes data/lista99.txt, the best-99 list a new installation starts with.

Placeholder nicknames, one date, and scores falling from 300 to 150, with
line 1 holding the check numbers the program computes for these records.
Run from anywhere: python3 tools/make_lista99.py
"""
from pathlib import Path

PLACES = 99
NICKNAMES = ["Noppa", "Arpa", "Tuuri", "Kuutio", "Heitto",
             "Sattuma", "Pöllö", "Ässä", "Mörkö"]
DATE = "07.12.26"
BEST, WORST = 300, 150


def code(char):
    """The character's byte in Windows-1252: 'ö' is 246."""
    return char.encode("cp1252")[0]


def main():
    records = []
    for i in range(PLACES):
        name = NICKNAMES[i % len(NICKNAMES)]
        score = BEST - round(i * (BEST - WORST) / (PLACES - 1))
        records.append((name, DATE, score))

    names = sum(code(name[0]) for name, _, _ in records)
    dates = sum(code(date[0]) for _, date, _ in records)
    scores = sum(score for _, _, score in records)
    digits = sum(code(str(n)[-1]) for n in (names, dates, scores))

    lines = [f"{names},{dates},{scores},{digits}"]
    lines += [f"{name},{date},{score}" for name, date, score in records]
    text = "".join(line + "\r\n" for line in lines)
    target = Path(__file__).resolve().parent.parent / "data" / "lista99.txt"
    target.write_bytes(text.encode("cp1252"))


if __name__ == "__main__":
    main()
