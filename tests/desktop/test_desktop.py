"""What desktops read and fail on quietly, showing only a missing icon, an absent menu entry or
blank file details: the icon, the installed desktop entry and metainfo, the portable folder's
install-desktop.sh and the Windows version record. Options: --given KEY=VALUE."""
import os
import re
import shutil
import struct
from pathlib import Path

import pytest
from PIL import Image

from conftest import run

RESOURCES = Path(__file__).parents[2] / "ui/resources"
ID = "org.pelagrin.Pelagrin"
WHITE, RED = (255, 255, 255), (255, 0, 0)


def frames(path):
    """Each image of a PNG or ICO file, as RGBA."""
    with Image.open(path) as image:
        sizes = sorted(image.ico.sizes()) if path.suffix == ".ico" else [image.size]
        return [(image.ico.getimage(s) if path.suffix == ".ico" else image).convert("RGBA")
                for s in sizes]


def pixels(image):
    return image.size, image.tobytes()


def assert_flag(image, where):
    """The diver-down flag, crisp: opaque, two colours, a white band from the upper-left to
    the lower-right corner across a red field."""
    n = image.width
    assert image.size == (n, n) and image.getextrema()[3] == (255, 255), where
    assert len(image.getcolors()) == 2, f"{where}: not two colours"
    band = n // 8
    for x, y, colour in ((0, 0, WHITE), (n // 2, n // 2, WHITE), (n - 1, n - 1, WHITE),
                         (band, 0, WHITE), (band + 1, 0, RED), (n - 1, 0, RED), (0, n - 1, RED)):
        assert image.getpixel((x, y))[:3] == colour, f"{where} ({n}): pixel ({x},{y})"


def test_icon_is_the_flag_at_every_size_and_what_make_icon_draws(tmp_path):
    sizes = {line.split()[0]: [int(s) for s in line.split()[1:]]
             for line in (RESOURCES / "icon-sizes").read_text().splitlines()
             if line and not line.startswith("#")}
    for size in sizes["png"]:
        png = RESOURCES / f"icons/pelagrin-{size}.png"
        assert png.read_bytes()[24:26] == b"\x08\x03", f"{png}: not 8-bit indexed colour"
        assert_flag(frames(png)[0], png.name)
    ico = RESOURCES / "pelagrin.ico"
    images = frames(ico)
    assert [image.width for image in images] == sizes["ico"]
    for image in images:
        assert_flag(image, ico.name)
    data = ico.read_bytes()
    for entry in range(struct.unpack_from("<H", data, 4)[0]):
        width, _, _, _, _, bits, _, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * entry)
        if width == 0:  # 256: stored as PNG
            assert data[offset + 1:offset + 4] == b"PNG"
        elif width == 32:  # 256 colours, in the directory and in the bitmap, which Windows believes
            assert bits == 8 and data[offset + 14] == 8
            assert pixels(images[sizes["ico"].index(32)]) == pixels(
                frames(RESOURCES / "icons/pelagrin-32.png")[0])
    svg = (RESOURCES / "icons/pelagrin.svg").read_text()
    assert 'd="M0 0H4.5L32 27.5V32H27.5L0 4.5Z" fill="#ffffff"' in svg

    # Drawn again, no pixel changes (the bytes vary with the ImageMagick that writes them).
    run("bash", str(RESOURCES.parents[1] / "scripts/make-icon.sh"), str(tmp_path))
    assert (tmp_path / "icons/pelagrin.svg").read_text() == svg
    for committed in [*(RESOURCES / "icons").glob("*.png"), RESOURCES / "pelagrin.ico"]:
        drawn = tmp_path / committed.relative_to(RESOURCES)
        assert [pixels(i) for i in frames(committed)] == [pixels(i) for i in frames(drawn)], \
            f"{committed.name} differs from what is drawn"


def test_installed_desktop_finds_program_icon_and_entry(given, tmp_path):
    """Installed into an empty prefix as a package build does; then the portable folder's
    install-desktop.sh, from a folder whose name needs quoting in an entry."""
    prefix, bindir, datadir = tmp_path / "prefix", given["bindir"], given["datadir"]
    run(given["cmake"], "--install", given["build"], "--prefix", str(prefix))
    data = prefix / datadir
    entry = (data / f"applications/{ID}.desktop").read_text()
    icon = re.search("^Icon=(.*)$", entry, re.M)[1]
    for size in ("16x16", "32x32", "256x256"):
        assert (data / f"icons/hicolor/{size}/apps/{icon}.png").is_file()
    assert (data / f"icons/hicolor/scalable/apps/{icon}.svg").is_file()
    assert (data / f"metainfo/{ID}.metainfo.xml").is_file()
    assert os.access(prefix / bindir / re.search("^Exec=(\\S*)", entry, re.M)[1], os.X_OK)
    run("appstreamcli", "validate-tree", *given["appstream"].split(), str(prefix))

    portable = tmp_path / 'Pelagrin "1" $HOME 100%'
    shutil.copytree(prefix, portable)
    shutil.copy(RESOURCES / "install-desktop.sh", portable)
    user = {**os.environ, "XDG_DATA_HOME": str(tmp_path / "user")}
    run(str(portable / "install-desktop.sh"), env=user)
    mine = tmp_path / f"user/applications/{ID}.desktop"
    run("desktop-file-validate", str(mine))
    # Read back as a desktop does: the entry's escapes (\\ for \), %% for %, then the first
    # argument's double quotes, inside which a backslash escapes ", `, $ and itself.
    line = re.search("^Exec=(.*)$", mine.read_text(), re.M)[1].replace("\\\\", "\\")
    quoted = re.match(r'"((?:[^"\\]|\\.)*)"', line.replace("%%", "%"))
    assert quoted and re.sub(r"\\(.)", r"\1", quoted[1]) == str(portable / bindir / "pelagrin")
    for icon in ("hicolor/32x32/apps", "hicolor/scalable/apps"):
        assert list((tmp_path / "user/icons" / icon).glob(f"{ID}.*"))
    run(str(portable / "install-desktop.sh"), "--remove", env=user)
    assert not list((tmp_path / "user").rglob(f"{ID}*"))


def test_windows_version_record_is_what_explorer_shows(given, tmp_path):
    """Compiled as a MinGW build does, and read back: Explorer shows none of it when the
    language block and the translation entry disagree."""
    windres = "x86_64-w64-mingw32-windres"
    # The host compiler preprocesses a file that includes no Windows headers as well.
    run(windres, f"--preprocessor={given['compiler']}", "--preprocessor-arg=-E",
        "--preprocessor-arg=-xc", "--preprocessor-arg=-DRC_INVOKED", "-i", given["rc"],
        "-O", "res", "-o", str(tmp_path / "pelagrin.res"))
    run(windres, "-i", str(tmp_path / "pelagrin.res"), "-O", "rc", "-o", str(tmp_path / "out.rc"))
    compiled = {re.sub(r"\s*/\*.*", "", line.strip()) for line in
                (tmp_path / "out.rc").read_text().splitlines()}
    major, minor, shown = given["major"], given["minor"], given["shown"]
    expected = f"""FILEVERSION {major}, {minor}, 0, 0
PRODUCTVERSION {major}, {minor}, 0, 0
FILETYPE 0x1
BLOCK "040904b0"
VALUE "Translation", 0x409, 1200
VALUE "FileVersion", "{shown}"
VALUE "ProductVersion", "{shown}"
VALUE "FileDescription", "Calculates EAD, MOD, PPO2 etc."
VALUE "Comments", "Equivalent Air Depth and Nitrox Calculator"
VALUE "ProductName", "Pelagrin"
VALUE "OriginalFilename", "pelagrin.exe"
"IDI_ICON1" 14
0, 1, 8,
"\\040\\040\\000\\000", 1, 8, 0x8a8L, 4,"""
    assert set(expected.splitlines()) - compiled == set()
