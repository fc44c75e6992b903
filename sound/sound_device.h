// Opening the sound device and finding the host's Sound folder, once per
// gauge initialize; releasing them at gauge kill.
#pragma once

int sound_setup();
void sound_teardown();
