#!/usr/bin/env python3
# Writes the seed corpora of the fuzz targets into corpus/<target>/ (run again after changing it). The
# plain_text and word_list targets read their parameters from the end of the input, as FuzzedDataProvider
# takes them: each value little-endian, the one taken first last.
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
INT_MIN = -(2 ** 31)


def cp1252(text):
    return text.encode("cp1252")


def chunk(five):
    value = 0
    for code in five.ljust(5, b" ")[:5]:
        value = value * 1000 + code
    return value


def record(key, password):
    """184 bytes: field 0, 11 and 22 stay 0, the key in 1-10, the password in 12-21."""
    fields = [0] * 23
    for first, text in ((1, key), (12, password)):
        if text is None:
            continue
        text = text.strip(b" ").ljust(50, b" ")[:50]
        for k in range(10):
            fields[first + k] = chunk(text[5 * k:5 * k + 5])
    return struct.pack("<23q", *fields)


def tail(*values):
    """values as (value, minimum, bytes), in the order the target takes them."""
    out = b""
    for value, minimum, size in values:
        out = (value - minimum).to_bytes(size, "little") + out
    return out


def write(target, name, data):
    folder = HERE / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def stored_record():
    one = record(b"clave1234", b"Banco#2024pass")
    write("stored_record", "one_record.sclav", one)
    write("stored_record", "two_records.sclav", record(b"vieja", b"antigua") + one)
    write("stored_record", "accented_full_group.sclav",
          record(cp1252("contraseña"), cp1252("Ñandú€é" + "x" * 43)))
    write("stored_record", "cleared_key.sclav", record(None, b"solo la clave borrada"))
    write("stored_record", "partial_tail.sclav", one + one[:100])
    write("stored_record", "one_byte_short.sclav", one[:-1])
    # Values EncodeChunk never makes: a group above 255, a 000 group, negative, 16 digits, 1-4 characters.
    bad = [0, 999032032032032, 65000066067068, -65066067068069, 1234567890123456, 65, 65066, 0, 0, 0, 0,
           0, 72072072072072, 2 ** 63 - 1, -(2 ** 63), 256032032032032, 32032032032032, 0, 0, 0, 0, 0, 0]
    write("stored_record", "damaged_values.sclav", one + struct.pack("<23q", *bad))


def plain_text():
    # Taken first: the limit choice (0 the default, 1 the protector's 50), then the block size.
    def params(choice, block):
        return tail((choice, 0, 1), (block, 1, 2))

    seeds = {
        "generator_crcrlf.txt": (b"Xk9#pQ2m\r\r\nZ7!wL4nB\r\r\n", 1, 4096),
        "crlf_lines.txt": (b"banco\r\nclave 2024\r\n", 0, 4096),
        "crlf_split_blocks.txt": (b"abcdefghij\r\nklmno\r\r\n", 1, 11),
        "lone_lf.log": (b"abc\ndef\r\n\nghi", 0, 3),
        "eof_mark.txt": (b"pass\x1a\r\nrest", 1, 4096),
        "accented.txt": (cp1252("contraseña añeja\r\nÁrbol€\r\n"), 1, 7),
        "blanks.txt": (b"   \r\n  \r\n", 1, 4096),
        "zero_byte.txt": (b"ab\x00cd\r\n", 1, 4096),
        "long_line.log": (b"z" * 2100 + b"\r\n" + b"y" * 10, 0, 1000),
    }
    for name, (content, choice, block) in seeds.items():
        write("plain_text", name, content + params(choice, block))


def word_list():
    # Taken first: the word length (4-18), the line number, the clock in ms, the letter case (0-2).
    def params(length, line, ms, case):
        return tail((length, 4, 1), (line, INT_MIN, 4), (ms, 0, 4), (case, 0, 1))

    words = ["casa", "árbol", "murciélago", "añejo", "cigüeña", "pingüino", "ÉXITO", "canción", "ñandú",
             "paralelepípedo", "otorrinolaringólogo", "sí"]
    listed = cp1252("\r\n".join(words) + "\r\n")
    seeds = {
        "le_sample.txt": (listed, 5, 2, 43_200_000, 0),
        "le_sample_upper.txt": (listed, 10, 10, 3_600_123, 1),
        "le_sample_mixed.txt": (listed, 7, 7, 86_399_999, 2),
        "cr_only.txt": (b"uno\rdos\rtres", 4, 3, 1000, 0),
        "lone_lf.txt": (b"uno\ndos\r\ntres\n", 4, 1, 0, 1),
        "eof_mark.txt": (b"hola\r\nmundo\x1a\r\nextra\r\n", 5, 3, 500, 2),
        "empty_lines.txt": (b"\r\n\r\n\r\n", 4, 0, 0, 0),
        "long_line.txt": (b"a" * 200 + b"\r\nbreve\r\n", 5, 1, 12_345, 0),
        # Words of the asked length only, and a clock whose 27th draw falls on one of them (line 87): a bounded
        # search finds a word, which random clocks rarely give with the draws spread over 88,036 lines.
        "many_four_letter_words.txt": (cp1252("\r\n".join(["casa", "años", "Ñoño", "mesa", "pié,"] * 130)),
                                       4, 650, 7_777_830, 2),
    }
    for name, (content, length, line, ms, case) in seeds.items():
        write("word_list", name, content + params(length, line, ms, case))


if __name__ == "__main__":
    stored_record()
    plain_text()
    word_list()
