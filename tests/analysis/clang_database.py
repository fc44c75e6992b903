"""clang_database.py BUILD_DIR GCC_DIR OUT_DIR ROOT...: the build's compile
commands for the files under the ROOT folders, as clang reads them: clang++
for 32-bit MinGW-w64 with the GCC's C++ headers, without GCC's own options
and precompiled headers. The analyzers read OUT_DIR/compile_commands.json."""
import json
import os
import shlex
import sys

# Options clang does not know, and the precompiled header clang cannot read.
GCC_ONLY = {"-fno-tree-loop-distribute-patterns"}


def clang_arguments(command, gcc_dir):
    words = shlex.split(command)[1:]
    kept = ["clang++", "--target=i686-w64-mingw32",
            "-isystem", f"{gcc_dir}/include/c++", "-isystem", f"{gcc_dir}/include/c++/i686-w64-mingw32"]
    skip = False
    for i, word in enumerate(words):
        if skip:
            skip = False
        elif word == "-include" and words[i + 1].endswith("cmake_pch.hxx"):
            skip = True
        elif word not in GCC_ONLY:
            kept.append(word)
    return kept


def main():
    build_dir, gcc_dir, out_dir, *roots = sys.argv[1:]
    roots = tuple(os.path.join(os.path.abspath(root), "") for root in roots)
    with open(os.path.join(build_dir, "compile_commands.json")) as f:
        entries = json.load(f)
    chosen = [{"directory": e["directory"], "file": e["file"], "arguments": clang_arguments(e["command"], gcc_dir)}
              for e in entries if e["file"].startswith(roots)]
    os.makedirs(out_dir, exist_ok=True)
    with open(os.path.join(out_dir, "compile_commands.json"), "w") as f:
        json.dump(chosen, f, indent=1)
    print("\n".join(sorted({e["file"] for e in chosen})))


main()
