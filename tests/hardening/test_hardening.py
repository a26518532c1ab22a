"""The protections a Debian package gets, kept by the released programs, as the system's own
tools read them. Options: --program, and --given folder=, objdump=, nm=."""
import json
import re
from pathlib import Path

from conftest import relative_library_paths, run


def test_no_library_path_reaches_the_current_folder(given):
    assert relative_library_paths(Path(given["folder"])) == []


def test_linux_program_keeps_a_debian_packages_protections(request):
    """FORTIFY is compiled in, but checksec counts it only where a call into the C library has
    a size the compiler can check; the calculator's few such calls copy run-time lengths
    inside the C++ library, so checksec has nothing to count and is not asked."""
    program = request.config.getoption("program")
    found = next(iter(json.loads(run("checksec", "--output=json", f"--file={program}")).values()))
    assert {key: found[key] for key in ("relro", "canary", "nx", "pie", "rpath")} == {
        "relro": "full",  # the GOT read-only once the libraries are bound
        "canary": "yes", "nx": "yes",
        "pie": "yes",  # loaded at a random address
        "rpath": "no",  # which would reach the libraries' own searches too
    }
    assert relative_library_paths(program) == []


def test_windows_program_keeps_what_the_system_protects_it_with(request, given):
    """ASLR with the high-entropy range, NX, a header asking for Windows 10 (an older one
    refuses it plainly), system DLLs alone (nothing in the folder it was unpacked into can
    stand in), and no CryptoAPI. The process enters at ProgramStart, which restricts where
    DLLs come from before any constructor runs, and its frames carry a canary of its own."""
    program = request.config.getoption("program")
    header = run(given["objdump"], "-p", str(program))
    field = dict(re.findall(r"^(\w+)\s+([0-9a-fA-F]+)$", header, re.M))
    assert {"HIGH_ENTROPY_VA", "DYNAMIC_BASE", "NX_COMPAT"} <= set(header.split())
    assert field["MajorOSystemVersion"] == field["MajorSubsystemVersion"] == "10"
    # Wine's own builds of the Windows DLLs: the system's, as opposed to a runtime's.
    system = Path("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows")
    assert [dll for dll in re.findall(r"DLL Name: (\S+)", header)
            if not (system / dll.lower()).is_file()] == []
    assert not re.search(r"^\s+[0-9a-f]+\s+[0-9]+\s+Crypt", header, re.M)
    symbols = {name: (kind, int(address, 16)) for address, kind, name in
               re.findall(r"^([0-9a-f]+) (\w) (\S+)$", run(given["nm"], str(program)), re.M)}
    assert symbols["ProgramStart"] == (
        "T", int(field["ImageBase"], 16) + int(field["AddressOfEntryPoint"], 16))
    assert symbols["__stack_chk_guard"][0] in "DB"
    assert ".refptr.__stack_chk_guard" in symbols  # a frame checks it
    assert symbols["__stack_chk_fail"][0] == "T"
