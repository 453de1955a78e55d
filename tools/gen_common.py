"""Helpers shared by the build-time generators."""


def write_if_changed(path, text):
    """Writes text unless the file already holds it, so builds stay incremental."""
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    except OSError:
        pass
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
