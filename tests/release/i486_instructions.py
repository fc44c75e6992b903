"""Disassembles a module and fails on every instruction a 486 cannot execute.

usage: i486_instructions.py OBJDUMP FILE
Prints each such instruction with its address; exits 1 when there is any.
"""
import re
import subprocess
import sys

# Instructions of the Pentium and later processors, matched on the mnemonic.
LATER_MNEMONIC = re.compile(
    r"cmov\w+|fcmov\w+|fu?comip?|cmpxchg(8|16)b|rdtscp?|rdpmc|rdmsr|wrmsr|cpuid|rsm|"
    r"sysenter|sysexit|syscall|sysret|emms|femms|fxsave\w*|fxrstor\w*|xsave\w*|xrstor\w*|"
    r"[lms]fence|prefetch\w*|clflush\w*|movnti|monitor|mwait|popcnt|lzcnt|tzcnt|movbe|"
    r"crc32\w*|rdrand|rdseed|[ls]dmxcsr|vzero\w+|ud1|fisttp\w*")
# MMX, SSE and AVX instructions, matched on their registers.
LATER_REGISTER = re.compile(r"%[xyz]?mm\d|%k[0-7]\b")
# Prefixes objdump prints before the mnemonic.
PREFIXES = {"lock", "rep", "repz", "repnz", "repe", "repne", "data16", "addr16", "cs", "ds", "es",
            "fs", "gs", "ss", "notrack", "bnd"}
LINE = re.compile(r"^\s*([0-9a-f]+):\t(.*)$")


def later_instructions(listing):
    """How many instructions the listing holds, and (address, text) of each the 486 lacks."""
    count, found = 0, []
    for line in listing.splitlines():
        match = LINE.match(line)
        if not match:
            continue
        address, text = match.groups()
        words = [word for word in text.split() if word not in PREFIXES]
        if not words:
            continue
        count += 1
        if LATER_MNEMONIC.fullmatch(words[0]) or LATER_REGISTER.search(text):
            found.append((int(address, 16), text.strip()))
    return count, found


def main():
    objdump, path = sys.argv[1:3]
    listing = subprocess.run([objdump, "-d", "--no-show-raw-insn", path],
                             check=True, capture_output=True, text=True).stdout
    count, found = later_instructions(listing)
    for address, text in found:
        print(f"{path}: 0x{address:08x}: {text}: not an instruction of the 486")
    print(f"{path}: {len(found)} of {count} instructions are ones the 486 lacks")
    sys.exit(1 if found or not count else 0)


if __name__ == "__main__":
    main()
