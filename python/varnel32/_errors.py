"""The binding's own exceptions and warnings."""


class VarnelDataError(ValueError):
    """The data (or add-on) cannot be drawn in the chosen symbology; the message says why: the
    library's own message, or the tool's for text and retail numbers it cannot take."""


class VarnelWarning(UserWarning):
    """A picture drawn all the same, as the tool warns of it: a narrow width far from what x_dim asks
    or below what the symbology's printing allows, or a picture too small for its quiet zones."""
