#!/usr/bin/env python3
"""Writes a UTF-8 text file as the Windows of its readers expects it: Windows-1252 with CR LF
line ends, so that Notepad shows the umlauts on every Windows the program runs on.
Usage: windows_text.py IN OUT"""
import sys


def main() -> int:
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    with open(sys.argv[1], encoding="utf-8") as f:
        text = f.read()
    lines = text.replace("\r\n", "\n").split("\n")
    try:
        data = "\r\n".join(lines).encode("cp1252")
    except UnicodeEncodeError as e:
        print(f"{sys.argv[1]}: {e}", file=sys.stderr)
        return 1
    with open(sys.argv[2], "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
