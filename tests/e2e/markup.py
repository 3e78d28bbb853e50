"""An independent rendering of the five-colour fade, for checking what the
chat room receives."""


def components(colour):
    """Red, green, blue of a 0x00BBGGRR colour value, read back from its code."""
    code = "%06X" % (colour & 0xFFFFFFFF)
    return int(code[-2:], 16), int(code[2:4], 16), int(code[0:2], 16)


def fade(colours, text, wave=False):
    n = len(text)
    lengths = [(n + 3) // 4, (n + 2) // 4, (n + 1) // 4, n // 4]
    rgb = [components(c) for c in colours]
    out, at, counter = [], 0, 0
    tags = ["<sup>", "</sup>", "<sub>", "</sub>"]
    for j, length in enumerate(lengths):
        for k in range(1, length + 1):
            # diff / L * k + start in doubles, Python's round() sends halves to even.
            comp = [round((rgb[j + 1][i] - rgb[j][i]) / length * k + rgb[j][i]) for i in range(3)]
            tag = ""
            if wave:
                counter = 1 if counter >= 4 else counter + 1
                tag = tags[counter - 1]
            out.append('<font color="#%02X%02X%02X">%s%s' % (comp[0], comp[1], comp[2], tag, text[at + k - 1]))
        at += length
    return "".join(out)


BANNER_ORNAMENT = '<font face="arial narrow" color="#ff0000">.\u00b7\u2022\u2022\u00b7.'
BANNER_FONT = '<font face="arial narrow" color="#000000">'


def announcement(last_words):
    return ("</b></i></u>" + BANNER_ORNAMENT + BANNER_FONT + " m\u00edrt\u00e1n\u00e9" + BANNER_FONT + " \u00b7"
            + BANNER_FONT + " c\u00f8d\u00e9d b\u00fd grelvin" + BANNER_FONT + " \u00b7" + BANNER_FONT
            + last_words + BANNER_ORNAMENT)


START_ANNOUNCEMENT = announcement(" f\u00e1d\u00e9d \u00fap ")
EXIT_ANNOUNCEMENT = announcement(" f\u00e1d\u00e9d d\u00f8wn ")
