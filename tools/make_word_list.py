#!/usr/bin/env python3
"""Makes Claverix's word list le.txt from a UTF-8 word list (Debian's wspanish, /usr/share/dict/spanish).

    python3 tools/make_word_list.py <words.utf8> <le.txt>

le.txt is Windows-1252 text with one word per line, each line ended by CR LF. Claverix draws line
numbers from 1 to 88036, so only the first 88036 words are kept. A word that Windows-1252 cannot
write, or that holds a character the reader takes as a line end or end of text (CR, LF, 0x1A), is
left out rather than changed; so are empty lines. The output is the same bytes on every run.
"""

import os
import sys

DRAWN_LINES = 88036
LONGEST_LINE = 122  # Claverix cuts longer lines; a word that long is no use as a password
FORBIDDEN = ("\r", "\n", "\x1a")


def usable(word):
    if not word or len(word) > LONGEST_LINE or any(c in word for c in FORBIDDEN):
        return False
    try:
        word.encode("cp1252")
    except UnicodeEncodeError:
        return False
    return True


def convert(text):
    """The le.txt bytes for the UTF-8 text's words, and how many words were left out."""
    words = []
    left_out = 0
    for line in text.split("\n"):
        word = line[:-1] if line.endswith("\r") else line
        if not word:
            continue
        if usable(word):
            words.append(word)
        else:
            left_out += 1
    kept = words[:DRAWN_LINES]
    left_out += len(words) - len(kept)
    return "".join(w + "\r\n" for w in kept).encode("cp1252"), left_out


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    source, target = argv[1], argv[2]
    with open(source, encoding="utf-8") as f:
        data, left_out = convert(f.read())
    os.makedirs(os.path.dirname(os.path.abspath(target)), exist_ok=True)
    # Written beside the target first, so a failed run never leaves half a list behind.
    partial = target + ".part"
    with open(partial, "wb") as f:
        f.write(data)
    os.replace(partial, target)
    if left_out:
        print(f"make_word_list: {left_out} words left out", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
