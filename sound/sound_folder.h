// Where the host keeps its sounds: its install folder, read from its
// registry key, with the Sound subfolder appended.
#pragma once

// A fresh path block holding the folder, or null when the key does not give
// a usable one. The caller owns the block (GlobalFree).
char* read_sound_folder();
