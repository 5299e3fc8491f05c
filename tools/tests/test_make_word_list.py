#!/usr/bin/env python3
"""Checks tools/make_word_list.py: the Windows-1252 bytes, the CR LF line ends and what is left out.

    python3 tools/tests/test_make_word_list.py
"""

import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(HERE, os.pardir, "make_word_list.py")
DEBIAN_LIST = "/usr/share/dict/spanish"


def make(text_bytes):
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "words")
        target = os.path.join(folder, "out", "le.txt")
        with open(source, "wb") as f:
            f.write(text_bytes)
        result = subprocess.run([sys.executable, SCRIPT, source, target], capture_output=True, timeout=120)
        if result.returncode != 0:
            raise AssertionError(result.stderr.decode())
        with open(target, "rb") as f:
            return f.read(), result.stderr.decode()


class MakeWordListTest(unittest.TestCase):
    def test_words_become_windows_1252_lines_ended_by_cr_lf(self):
        data, _ = make("árbol\ncamión\npingüino\nAÑO\n".encode("utf-8"))
        self.assertEqual(data, b"\xe1rbol\r\ncami\xf3n\r\nping\xfcino\r\nA\xd1O\r\n")

    def test_unwritable_and_empty_lines_are_left_out(self):
        data, stderr = make("uno\n\ndos\r\nđokić\ntr\x1aes\ncuatro".encode("utf-8"))
        self.assertEqual(data, b"uno\r\ndos\r\ncuatro\r\n")
        self.assertIn("2 words left out", stderr)

    def test_only_the_drawn_lines_are_kept(self):
        data, _ = make("".join(f"w{i}\n" for i in range(88040)).encode("ascii"))
        lines = data.split(b"\r\n")
        self.assertEqual(len(lines), 88037)  # the text after the last line end is empty
        self.assertEqual(lines[88035], b"w88035")

    @unittest.skipUnless(os.path.exists(DEBIAN_LIST), "package wspanish is not installed")
    def test_debian_list_has_every_length_from_4_to_18(self):
        with open(DEBIAN_LIST, "rb") as f:
            source = f.read()
        data, stderr = make(source)
        words = data.split(b"\r\n")[:-1]
        # Whatever the package's version: every word is kept or counted as left out, and the list is one the
        # release takes.
        left_out = int(stderr.split()[1]) if stderr else 0
        self.assertEqual(len(words) + left_out, len([w for w in source.split(b"\n") if w.strip(b"\r")]))
        self.assertTrue(80000 <= len(words) <= 88036, len(words))
        self.assertNotIn(b"\n", b"".join(words))
        lengths = {len(w) for w in words}
        for length in range(4, 19):
            self.assertIn(length, lengths)


if __name__ == "__main__":
    unittest.main()
