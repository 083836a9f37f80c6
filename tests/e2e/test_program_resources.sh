#!/usr/bin/env bash
# What yanra.exe carries, read from the built file itself: it imports system
# libraries only (it must start on a bare Windows 2000/XP), and its resources
# have the identifiers, texts, image formats and language (1049) that the
# program and its users rely on: the menu bar, the accelerators, the three
# icon groups, the version record, and the three dialogs being present.
# Needs no Wine: the file is read as data.

set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
program=${YANRA_E2E_BUILD:-$root/build/windows}/app/yanra.exe
objdump=${YANRA_OBJDUMP:-i686-w64-mingw32-objdump}

[ -f "$program" ] || { echo "FATAL: $program is missing (build the windows preset)" >&2; exit 1; }
command -v "$objdump" >/dev/null || { echo "FATAL: $objdump is not installed (run scripts/setup)" >&2; exit 1; }

imports=$("$objdump" -p "$program" | awk '/DLL Name:/ { print $3 }') || exit 1

python3 - "$program" "$imports" <<'EOF'
import struct
import sys

path, imports = sys.argv[1], sys.argv[2].split()
data = open(path, "rb").read()
passed = failed = 0


def check(name, ok, detail=""):
    global passed, failed
    if ok:
        passed += 1
        print("ok:", name)
    else:
        failed += 1
        print("FAIL:", name, detail)


# The libraries of every Windows 2000 and XP installation.
SYSTEM = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "comctl32.dll", "msvcrt.dll", "advapi32.dll"}
unexpected = [name for name in imports if name.lower() not in SYSTEM]
check("imports system libraries only", imports and not unexpected, f"imports: {imports}")

# --- The resource tree: type -> name -> language -> bytes. ---
pe = struct.unpack_from("<I", data, 0x3C)[0]
sections = struct.unpack_from("<H", data, pe + 6)[0]
optional = pe + 24
optional_size = struct.unpack_from("<H", data, pe + 20)[0]
# The data directories follow the optional header's fixed part, which is longer
# in the 64-bit form (PE32+, magic 0x20B) that the test build of 64-bit Windows has.
directories = optional + (112 if struct.unpack_from("<H", data, optional)[0] == 0x20B else 96)
resource_rva = struct.unpack_from("<I", data, directories + 8 * 2)[0]
table = []
for i in range(sections):
    _, virtual_size, address, raw_size, raw_offset = struct.unpack_from("<8sIIII", data, optional + optional_size + 40 * i)
    table.append((address, max(virtual_size, raw_size), raw_offset))


def file_offset(rva):
    for address, size, raw in table:
        if address <= rva < address + size:
            return rva - address + raw
    raise ValueError(f"address {rva:#x} is in no section")


base = file_offset(resource_rva)


def entries(offset):
    named, numbered = struct.unpack_from("<HH", data, base + offset + 12)
    for i in range(named + numbered):
        name, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * i)
        yield name, target & 0x7FFFFFFF


resources = {}
for kind, kind_offset in entries(0):
    for name, name_offset in entries(kind_offset):
        for language, leaf in entries(name_offset):
            rva, size = struct.unpack_from("<II", data, base + leaf)
            resources.setdefault(kind, {}).setdefault(name, {})[language] = data[file_offset(rva):file_offset(rva) + size]

RT_ICON, RT_MENU, RT_DIALOG, RT_ACCELERATOR, RT_GROUP_ICON, RT_VERSION = 3, 4, 5, 9, 14, 16
languages = {language for names in resources.values() for by_language in names.values() for language in by_language}
check("every resource is stored under language 1049", languages == {1049}, f"languages: {sorted(languages)}")


def resource(kind, name):
    found = resources.get(kind, {}).get(name, {})
    return next(iter(found.values()), None)


def utf16z(buffer, offset):
    end = offset
    while buffer[end:end + 2] != b"\0\0":
        end += 2
    return buffer[offset:end].decode("utf-16-le"), end + 2


# --- Menu bar 101: (text, command, grayed) per item, popups as (text, [items]). ---
def menu_items(buffer, offset):
    items = []
    while True:
        flags = struct.unpack_from("<H", buffer, offset)[0]
        offset += 2
        if flags & 0x10:  # MF_POPUP
            text, offset = utf16z(buffer, offset)
            children, offset = menu_items(buffer, offset)
            items.append((text, children))
        else:
            command = struct.unpack_from("<H", buffer, offset)[0]
            text, offset = utf16z(buffer, offset + 2)
            items.append((text, command, bool(flags & 0x1)))  # MF_GRAYED
        if flags & 0x80:  # MF_END
            return items, offset


menu = resource(RT_MENU, 101)
expected_menu = [
    ("&File", [("E&xit", 102, False)]),
    ("&Options", [
        ("&Hide Window    Ctrl+H", 103, False),
        ("&Restore Window", 109, True),
        ("", 0, False),
        ("&Settings...          Ctrl+S", 114, False),
    ]),
    ("&Help", [("A&bout..", 104, False)]),
]
actual_menu = menu_items(menu, 4)[0] if menu else None
check("menu bar 101: pop-ups, item texts, commands and the grayed Restore", actual_menu == expected_menu,
      f"menu: {actual_menu}")

# --- Accelerator table 105: (flags, key, command); FVIRTKEY 1, FCONTROL 8, FALT 0x10, FNOINVERT 2. ---
accelerators = resource(RT_ACCELERATOR, 105)
actual_keys = []
if accelerators:
    for i in range(0, len(accelerators), 8):
        flags, key, command, _ = struct.unpack_from("<HHHH", accelerators, i)
        actual_keys.append((flags & 0x7F, key, command))
expected_keys = [(0x12, ord("/"), 104), (0x12, ord("?"), 104), (0x0B, ord("H"), 103), (0x0B, ord("S"), 114),
                 (0x0B, ord("M"), 116)]
check("accelerator table 105: Alt+/ Alt+? Ctrl+H Ctrl+S Ctrl+M", actual_keys == expected_keys, f"table: {actual_keys}")


# --- Icon groups: (size, bits) per image, and each image a bitmap of that format. ---
def icon_group(name):
    group = resource(RT_GROUP_ICON, name)
    if group is None:
        return None, []
    count = struct.unpack_from("<H", group, 4)[0]
    images, problems = [], []
    for i in range(count):
        width, height, colours, _, planes, bits, size, icon = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        images.append((width, bits))
        image = resource(RT_ICON, icon)
        if image is None or image[:8] == b"\x89PNG\r\n\x1a\n":
            problems.append(f"image {icon} is missing or PNG")
            continue
        header_size, image_width, image_height, _, image_bits = struct.unpack_from("<IiiHH", image, 0)
        if header_size != 40 or image_width != width or image_height != 2 * height or image_bits != bits:
            problems.append(f"image {icon} is {image_width}x{image_height // 2} at {image_bits} bits")
        if colours != (16 if bits == 4 else 0):
            problems.append(f"image {icon} says {colours} colours")
    return images, problems


for name, label, expected in (
    (106, "IDI_EWTS", [(32, 4), (16, 4), (32, 8)]),
    (108, "IDI_SMALL", [(16, 4), (32, 4)]),
    (112, "IDI_ENGLISH", [(32, 4)]),
):
    images, problems = icon_group(name)
    check(f"icon group {name} {label}: sizes and colour depths", images == expected and not problems,
          f"images (size, bits): {images} {problems}")


# --- Version record. ---
def version_node(buffer, offset):
    length, value_length, text = struct.unpack_from("<HHH", buffer, offset)
    key, position = utf16z(buffer, offset + 6)
    position = (position + 3) & ~3
    if text:
        value = buffer[position:position + 2 * value_length].decode("utf-16-le").rstrip("\0")
        position += 2 * value_length
    else:
        value = buffer[position:position + value_length]
        position += value_length
    children, position = [], (position + 3) & ~3
    while position < offset + length:
        child, position = version_node(buffer, position)
        children.append(child)
    return (key, value, children), (offset + length + 3) & ~3


version = resource(RT_VERSION, 1)
if version is None:
    check("version record 1 exists", False)
else:
    (_, fixed, blocks), _ = version_node(version, 0)
    signature, _, file_ms, file_ls, product_ms, product_ls, _, _, os, kind = struct.unpack_from("<10I", fixed)
    check("version record: file version 1.9.0.1, product version 0.9.0.3, Windows 32 application",
          (signature, file_ms, file_ls, product_ms, product_ls, os, kind)
          == (0xFEEF04BD, 0x00010009, 0x00000001, 0x00000009, 0x00000003, 0x4, 0x1),
          f"fixed part: {[hex(v) for v in (signature, file_ms, file_ls, product_ms, product_ls, os, kind)]}")
    strings = {}
    for key, _, children in blocks:
        if key == "StringFileInfo":
            for table_key, _, values in children:
                strings[table_key] = {name: value for name, value, _ in values}
        if key == "VarFileInfo":
            translation = children[0][1] if children else b""
    expected_strings = {
        "Comments": "Tibetan Input utility for Win2K/XP",
        "FileDescription": "yanra Application",
        "FileVersion": "1, 9, 0, 1",
        "InternalName": "yanra",
        "OriginalFilename": "yanra.exe",
        "ProductName": " yanra Application",
        "ProductVersion": "0, 9, 0, 3",
    }
    table = strings.get("000004b0", {})
    wrong = {k: table.get(k) for k, v in expected_strings.items() if table.get(k) != v}
    check("version record: one string table 000004b0 with the program's texts",
          list(strings) == ["000004b0"] and not wrong and table.get("LegalCopyright"), f"tables: {strings}")
    check("version record: translation 0x0000 0x04b0", translation == struct.pack("<HH", 0, 0x04B0),
          f"translation: {translation!r}")

# --- The dialogs, whose templates come from dialogs.rc. ---
for name in (110, 113, 115):
    check(f"dialog {name} is present", resource(RT_DIALOG, name) is not None)

print(f"{passed} passed, {failed} failed")
sys.exit(0 if failed == 0 and passed > 0 else 1)
EOF
