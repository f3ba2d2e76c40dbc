#!/usr/bin/python3
"""Renders lines of text into an image, for the sample image and the recognition tests.

  render_text.py OUT.png "first line" ["second line" ...] [--size PX] [--font FILE] [--padding PX]
                 [--spacing LINES] [--colours INK,PAPER]

The format follows OUT's extension (png, jpg, bmp, gif, tif, webp). Debian's python3-pil.
"""
import argparse

from PIL import Image, ImageDraw, ImageFont

DEFAULT_FONTS = [
    "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
]


def main() -> None:
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("lines", nargs="+")
    parser.add_argument("--size", type=int, default=32, help="font size in pixels")
    parser.add_argument("--font", help="TrueType font file")
    parser.add_argument("--padding", type=int, default=None, help="margin in pixels")
    parser.add_argument("--width", type=int, help="image width (default: fit the text)")
    parser.add_argument("--height", type=int, help="image height (default: fit the text)")
    parser.add_argument("--spacing", type=float, default=1.5,
                        help="distance between lines, in font sizes")
    parser.add_argument("--colours", default="black,white",
                        help="the text's colour and the background's, as PIL names them")
    args = parser.parse_args()

    font = None
    for candidate in ([args.font] if args.font else DEFAULT_FONTS):
        try:
            font = ImageFont.truetype(candidate, args.size)
            break
        except OSError:
            continue
    if font is None:
        raise SystemExit("no usable font")

    padding = args.size // 2 if args.padding is None else args.padding
    line_height = int(args.size * args.spacing)
    ink, paper = args.colours.split(",")
    probe = ImageDraw.Draw(Image.new("RGB", (1, 1)))
    text_width = max(int(probe.textlength(line, font=font)) for line in args.lines)
    width = args.width or text_width + 2 * padding
    height = args.height or line_height * len(args.lines) + 2 * padding

    image = Image.new("RGB", (width, height), paper)
    draw = ImageDraw.Draw(image)
    for index, line in enumerate(args.lines):
        draw.text((padding, padding + index * line_height), line, fill=ink, font=font)
    image.save(args.out)


if __name__ == "__main__":
    main()
