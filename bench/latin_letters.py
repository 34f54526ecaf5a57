"""The a-z spelling of Latin letters, as Tagwright's transliteration gives it, for the
benchmark scripts that judge Tagwright's words against a page's text. The rule is the one
scripts/gen_transliteration.py writes into the program's table."""

import importlib.util
import pathlib

_GENERATOR = pathlib.Path(__file__).resolve().parent.parent / "scripts" / "gen_transliteration.py"
_spec = importlib.util.spec_from_file_location("gen_transliteration", _GENERATOR)
_generator = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(_generator)


def _covered(code):
    return any(first <= code < last for first, last in _generator.RANGES)


def transliterate(letter):
    """The a-z spelling of a lower-case Latin letter, or "" when it is no such letter."""
    if "a" <= letter <= "z":
        return letter
    if _covered(ord(letter)):
        return _generator.spelling(ord(letter))
    return ""
