"""Barcodes drawn on many threads at once are the pictures each draws alone: 8 threads of 200
renders each, barcodes of their own and one shared, at different resolutions, which the process
shares; refusals on one thread are that thread's."""

import concurrent.futures
import threading
import unittest

import varnel32
from varnel32 import Barcode, VarnelDataError

THREADS = 8
RENDERS_EACH = 200

# Different symbologies, formats, orientations and, above all, resolutions: the library keeps the
# resolution for the whole process, so a render that took another thread's would differ.
WORK = [
    (dict(symbology="ean13", data="5901234123457", addon="12"), "png"),
    (dict(symbology="code128", data="Thread safe", dpi=300), "png"),
    (dict(symbology="upc-a", data="036000291452", x_dim="0.33mm", dpi=600), "bmp"),
    (dict(symbology="code39", data="VARNEL-32", orientation=90, dpi=(150, 300)), "svg"),
    (dict(symbology="postnet", data="555551237", dpi=(300, 150)), "emf"),
    (dict(symbology="gs1-128", data="(01)09501101530003(10)AB-1", bar_height="10mm", dpi=200), "wmf"),
    (dict(symbology="itf-14", data="1540014128876", frame="solid"), "png"),
]


class ThreadsTest(unittest.TestCase):
    def test_renders_on_eight_threads_are_the_renders_done_alone(self):
        shared = Barcode(symbology="code93", data="SHARED", dpi=120)
        jobs = [(Barcode(**options), format) for options, format in WORK] + [(shared, "png"), (shared, "svg")]
        alone = [barcode.to_bytes(format) for barcode, format in jobs]
        start = threading.Barrier(THREADS)

        def renders(thread):
            start.wait()
            # Each thread draws its own barcodes, made on the thread, and the shared ones, in its own
            # order, so that different resolutions meet.
            own = [(Barcode(**options), format) for options, format in WORK] + jobs[len(WORK):]
            wrong = []
            for n in range(RENDERS_EACH):
                index = (n * (thread + 1) + thread) % len(own)
                barcode, format = own[index]
                if barcode.to_bytes(format) != alone[index]:
                    wrong.append(index)
            return wrong

        with concurrent.futures.ThreadPoolExecutor(THREADS) as pool:
            results = list(pool.map(renders, range(THREADS)))
        self.assertEqual(results, [[]] * THREADS)

    def test_a_refusal_is_the_last_error_of_its_own_thread(self):
        refused = Barcode(symbology="ean13", data="123")
        drawn = Barcode(symbology="ean13", data="590123412345")
        start = threading.Barrier(THREADS)

        def last_errors(thread):
            start.wait()
            seen = set()
            for n in range(RENDERS_EACH // 4):
                if thread % 2:
                    with self.assertRaises(VarnelDataError):
                        refused.to_bytes("png")
                else:
                    drawn.to_bytes("png")
                seen.add(varnel32.last_error())
            return seen

        with concurrent.futures.ThreadPoolExecutor(THREADS) as pool:
            results = list(pool.map(last_errors, range(THREADS)))
        self.assertEqual(results, [{""}, {"12 digits are required."}] * (THREADS // 2))


if __name__ == "__main__":
    unittest.main()
