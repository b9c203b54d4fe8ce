"""The blocks the packaged collection appends to Vorns.ctl, written out
here rather than read from the catalogue."""

PACKAGED = [("Fern", 240, 4, 2), ("Pebbles", 200, 5, 3), ("Stars", 260, 4, 4), ("Raindrops", 220, 3, 1),
            ("Petals", 280, 5, 2), ("Bubbles", 300, 3, 3), ("Snowflakes", 250, 4, 3), ("Shells", 230, 5, 4)]
NAMES = [name for name, _, _, _ in PACKAGED]


def block(name, file, step, across, down):
    return (b"\r\n\r\nVornName:%s\r\nVornFile:%s\r\nStepSize:%d\r\nVornsAcross:%d\r\nVornsDown:%d\r\n"
            b"VornPlacementMode:0\r\nVornSelectionMode:0\r\n\r\n"
            % (name.encode(), file.encode(), step, across, down))


def blocks(skipped=(), renamed=None):
    """The blocks of the packaged Vorns but those `skipped`, with the
    (name, file) `renamed` gives a Vorn instead of its own."""
    return b"".join(block(*(renamed or {}).get(name, (name, name + ".vrn")), step, across, down)
                    for name, step, across, down in PACKAGED if name not in skipped)


ALL_BLOCKS = blocks()
