// Buffers of earlier clicks: each is released once it has finished playing,
// so overlapping clicks overlap while what the module holds stays bounded.
#pragma once

// Moves the latest click's buffer among the earlier ones, releasing those
// that have finished; when all places are taken the oldest is cut short.
void retire_clip_buffer();

void release_earlier_buffers();
