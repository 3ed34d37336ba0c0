"""A barcode of every symbology, with its data as people have it and the tool's defaults, and what
zbar reads from its picture: every symbol in order, or nothing where zbar has no decoder for it."""

SAMPLES = [
    (dict(symbology="codabar", data="40156", codabar_start="C", codabar_stop="D"), ["C40156D"]),
    (dict(symbology="code11", data="123-45", check_digit=True), []),
    (dict(symbology="code128", data="Varnel-128"), ["Varnel-128"]),
    (dict(symbology="code39", data="VARNEL-32"), ["VARNEL-32"]),
    (dict(symbology="code39-ascii", data="ASCII 39"), ["ASCII 39"]),
    (dict(symbology="code93", data="VARNEL 93"), ["VARNEL 93"]),
    (dict(symbology="ean128", data="0195012345678903"), ["0195012345678903"]),
    (dict(symbology="ean13", data="5901234123457", addon="52495"), ["5901234123457", "52495"]),
    (dict(symbology="ean8", data="96385074"), ["96385074"]),
    (dict(symbology="itf", data="1234567890"), ["1234567890"]),
    (dict(symbology="isbn", data="9780306406157"), ["9780306406157"]),
    (dict(symbology="jan13", data="4901234567894"), ["4901234567894"]),
    (dict(symbology="jan8", data="49123456"), ["49123456"]),
    (dict(symbology="matrix2of5", data="1234567890"), []),
    (dict(symbology="msi", data="80523", check_digit=True), []),
    (dict(symbology="planet", data="40123456789", check_digit=True), []),
    (dict(symbology="postnet", data="555551237", check_digit=True), []),
    (dict(symbology="sscc18", data="376104250021234569"), ["00376104250021234569"]),
    (dict(symbology="ean128-ai01", data="09501101530003"), ["0109501101530003"]),
    (dict(symbology="upc-a", data="036000291452", addon="53"), ["036000291452", "53"]),
    # zbar reports a UPC-E symbol as printed: the number system, six digits and the check digit.
    (dict(symbology="upc-e", data="04252614"), ["04252614"]),
    (dict(symbology="gs1-128", data="(01)09501101530003(10)AB-1"), ["010950110153000310AB-1"]),
    (dict(symbology="itf-14", data="1540014128876"), ["15400141288763"]),
]
