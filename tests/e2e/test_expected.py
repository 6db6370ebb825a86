"""The driver's own logic, checked without Wine or a display: a wrong
expectation here would let the end-to-end suite pass a wrong Quarvel."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
# The driver of Quarvel and its fixture through Wine and X, shared with the
# demo of `make run`.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                                "driver"))

import expected  # noqa: E402
import x_input  # noqa: E402


class CentringTest(unittest.TestCase):
    def test_work_area_cases(self):
        cases = [
            ((400, 300), (0, 0, 1024, 738), (312, 219)),
            ((101, 51), (0, 0, 1024, 768), (462, 359)),  # halves taken separately
            ((101, 51), (0, 0, 801, 601), (350, 275)),
            ((1000, 700), (0, 0, 800, 600), (0, 0)),  # left and top edges win
            ((1000, 100), (60, 0, 1024, 768), (60, 334)),
        ]
        for size, area, origin in cases:
            with self.subTest(size=size, area=area):
                self.assertEqual(origin, expected.centred_origin(size, area, area))

    def test_on_a_reference_window(self):
        area = (0, 0, 1024, 768)
        self.assertEqual((624, 568), expected.centred_origin((400, 200), (900, 600, 1000, 760), area))
        self.assertEqual((362, 279), expected.centred_origin((300, 180), (312, 219, 712, 519),
                                                            (0, 0, 1024, 738)))
        # Pulled back from the right edge, and then left of the area.
        self.assertEqual((-200, 250), expected.centred_origin((1000, 100), (600, 0, 800, 600),
                                                             (0, 0, 800, 600)))

    def test_negative_halves_truncate_toward_zero(self):
        # -101 / 2 is -50 in C; floor division would give -51.
        self.assertEqual(-50, expected.centred_origin(
            (0, 0), (-101, 0, 0, 0), (-1000, -1000, 1000, 1000))[0])


class TextsTest(unittest.TestCase):
    def test_contents_end_every_item_with_cr_lf(self):
        self.assertEqual("alpha\r\nbeta\r\n", expected.contents_text(["alpha", "beta"]))
        self.assertEqual("", expected.contents_text([]))

    def test_handle_and_count(self):
        self.assertEqual("0x1002e", expected.handle_text(0x1002E))
        self.assertEqual("ListBox contains 1 items", expected.count_sentence(1))
        self.assertEqual("ListBox contains -1 items", expected.count_sentence(-1))

    def test_clipboard_block_is_twice_the_text(self):
        block = expected.clipboard_block(b"alpha\r\nbeta\r\n")
        self.assertEqual(26, len(block))
        self.assertEqual(b"alpha\r\nbeta\r\n" + b"\0" * 13, block)
        self.assertEqual(b"\0", expected.clipboard_block(b""))

    def test_non_ascii_items_in_code_page_1252(self):
        text = expected.contents_text(expected.items_of(104))
        self.assertEqual(b"caf\xe9\r\nna\xefve\r\nGr\xfc\xdfe\r\n", expected.ansi_bytes(text))

    def test_fixture_items(self):
        self.assertEqual([255, 1000], [len(i) for i in expected.items_of(103)])
        many = expected.items_of(105)
        self.assertEqual(1000, len(many))
        self.assertEqual("item 000999 of the many-item list", many[-1])

    def test_first_difference(self):
        self.assertIsNone(expected.first_difference("abc", "abc"))
        self.assertEqual(1, expected.first_difference("abc", "axc"))
        self.assertEqual(2, expected.first_difference("ab", "abc"))


class PointsTest(unittest.TestCase):
    def test_visible_point_avoids_covers(self):
        target = (100, 100, 200, 150)
        point = expected.visible_point(target, [(0, 0, 180, 768)])
        self.assertTrue(expected.inside(point, target))
        self.assertGreaterEqual(point[0], 180)
        self.assertIsNone(expected.visible_point(target, [(0, 0, 1024, 768)]))


def image(width, height, colour_at, origin=(0, 0)):
    pixels = bytearray()
    for y in range(height):
        for x in range(width):
            pixels += bytes(colour_at(x + origin[0], y + origin[1]))
    return x_input.Image(width, height, bytes(pixels), origin)


class OutlineTest(unittest.TestCase):
    rect = (10, 10, 40, 30)

    def in_band(self, x, y):
        left, top, right, bottom = self.rect
        return (left <= x < right and top <= y < bottom
                and (x < left + 3 or x >= right - 3 or y < top + 3 or y >= bottom - 3))

    def test_inverted_frame_is_recognised(self):
        before = image(50, 40, lambda x, y: (200, 100, (x * 7) % 256))
        during = image(50, 40, lambda x, y: tuple(255 - c for c in before.pixel(x, y))
                       if self.in_band(x, y) else before.pixel(x, y))
        band, inside = expected.outline_report(before, during, self.rect)
        self.assertEqual((1.0, 1.0), (band, inside))
        self.assertLess(expected.unchanged_share(before, during, self.rect), 0.9)

    def test_a_filled_rectangle_is_not_a_frame(self):
        before = image(50, 40, lambda x, y: (200, 100, 50))
        filled = image(50, 40, lambda x, y: (55, 155, 205))
        band, inside = expected.outline_report(before, filled, self.rect)
        self.assertEqual(1.0, band)
        self.assertEqual(0.0, inside)

    def test_no_change_is_no_outline(self):
        before = image(50, 40, lambda x, y: (90, 90, 90))
        band, _ = expected.outline_report(before, before, self.rect)
        self.assertEqual(0.0, band)
        self.assertEqual(1.0, expected.unchanged_share(before, before, self.rect))


class PathTest(unittest.TestCase):
    def test_steps_include_both_ends(self):
        points = x_input.path((0, 0), (10, -5), 5)
        self.assertEqual(6, len(points))
        self.assertEqual((0, 0), points[0])
        self.assertEqual((10, -5), points[-1])


class PpmTest(unittest.TestCase):
    def test_reads_pixels_at_screen_coordinates(self):
        data = b"P6\n# comment\n2 1\n255\n" + bytes([1, 2, 3, 4, 5, 6])
        picture = x_input.parse_ppm(data, origin=(100, 50))
        self.assertEqual((4, 5, 6), picture.pixel(101, 50))
        self.assertTrue(picture.contains(100, 50))
        self.assertFalse(picture.contains(102, 50))

    def test_refuses_sixteen_bit_images(self):
        with self.assertRaises(ValueError):
            x_input.parse_ppm(b"P6 1 1 65535\n" + bytes(6))


if __name__ == "__main__":
    unittest.main()
