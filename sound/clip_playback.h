// Playing one wave file from the host's Sound folder, once, per click.
#pragma once

// Returns 1 when the clip was started, 0 otherwise.
int play_clip(const char* name);
